// KorDoc: the framework's document base. It keeps this document's copies of
// the geometry identifier counters, finds the folder of the analysis logs
// and clears the views' selections. KorDocSectComp holds the model (a
// section composite) with its node list and gives one level of undo and
// redo by keeping whole copies of the model.
#pragma once

#include "geometry/geomtools.h"
#include "glview/oglprintdoc.h"

class CSectComp;

// A view that keeps a selection the document may have to clear: the 2D
// graph views take this on.
class KorSelectingView
{
public:
    virtual ~KorSelectingView() = default;
    // Drops the object from the selection (null: the whole selection).
    virtual void RemoveSelected(CObject* object) = 0;
};

class KorDoc : public COGLPrintDoc
{
    DECLARE_DYNAMIC(KorDoc)
public:
    KorDoc() = default;

    virtual double GetValScale() { return 0.0; }
    // Both 0.0; false.
    virtual bool GetMaxMinActVal(double& max, double& min);
    // The log folder "<settings folder>Ext/log", created when missing. With
    // stay the working directory is left there, otherwise it is kept.
    virtual CString ActivateLogDir(bool stay);
    virtual int EditNodes(CObList& nodes);
    // false: the class counters into this document's copies; true: back.
    virtual void UpdateStatics(bool restore);
    virtual void UpdateUndo(bool take) { (void)take; }
    virtual void Rotate(double angle, double cx, double cy, unsigned mode, bool update) = 0;
    virtual bool IsEmpty() = 0;
    // Every view but except drops the object from its selection.
    virtual void RemoveSelected(CObject* object, CView* except);
    virtual CObList* GetMaterialList() { return nullptr; }
    virtual void EditMaterial(int index);
    virtual double GetStressScale() = 0;

    BOOL OnNewDocument() override;
    // The program's document archives the model.
    void Serialize(CArchive& ar) override { (void)ar; }

    DWORD m_nUndoGraphID = 0;
    DWORD m_nGraphID = 4000000001u;
    DWORD m_nEdgeID = 100000001u;
    DWORD m_nNodeID = 1;
    WORD m_wRunState = 0;
};

class KorDocSectComp : public KorDoc
{
    DECLARE_DYNAMIC(KorDocSectComp)
public:
    KorDocSectComp() = default;
    // Releases the node lists and the copies; the model is the derived
    // document's.
    ~KorDocSectComp() override;

    BOOL OnNewDocument() override;
    void Serialize(CArchive& ar) override { KorDoc::Serialize(ar); }
    void ActivateDoc() override { ModelChanged(nullptr); }
    double GetValScale() override;
    // Called before every change that is to be undoable: the model and its
    // node list are copied (take; an empty model too) and the redo copy
    // dropped.
    void UpdateUndo(bool take) override;
    void Rotate(double angle, double cx, double cy, unsigned mode, bool update) override;
    bool IsEmpty() override;
    double GetStressScale() override { return GetValScale(); }

    // The model changed by undo or redo (previous: the replaced model), or
    // the document became active (null).
    virtual void ModelChanged(CSectComp* previous) = 0;
    virtual bool Redo();
    // Deletes the model and sets the pointer to null.
    virtual void DeleteModel(CSectComp*& model);
    virtual bool Undo();

    // Deletes the nodes of the list that no graph holds, then the list.
    static void DeleteNodeList(NODELIST*& list);

    CSectComp* m_pSectComp = nullptr;
    CSectComp* m_pUndoComp = nullptr;
    CSectComp* m_pRedoComp = nullptr;
    NODELIST* m_pNodeList = nullptr;
    NODELIST* m_pUndoNodeList = nullptr;

protected:
    // Drops the undo and redo copies and the other node list through
    // DeleteModel; a derived document that overrides DeleteModel calls this
    // in its destructor.
    void ReleaseCopies();

    void OnEditUndo() { Undo(); }
    void OnEditRedo() { Redo(); }
    void OnUpdateEditUndo(CCmdUI* pCmdUI);
    void OnUpdateEditRedo(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

private:
    // The common part of Undo and Redo: the counter rule, the selection,
    // the node lists change places, the model becomes the other copy.
    CSectComp* SwapModel(CSectComp*& other);
};
