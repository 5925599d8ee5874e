// CBrantelDoc: the document of plate-bending (".plb") and membrane (".mem")
// files and the base of the constrained-mesh and shell documents. It owns a
// plate component (the model), the materials of its list, the node list of
// separated nodes with one group object per node, the two lists of node and
// element numbers the solver prints, and the two load-drawing scales.
//
// The geometry and region libraries keep the active document's node list,
// identifier counters and group array in class-wide statics; UpdateStatics
// puts this document's into them (true) or takes them back (false).
//
// Archive: LONG 1; the composite; the composite's node-identifier and
// secondary passes; LONG 1, LONG string present, [string], LONG flag;
// LONG node count, the nodes as objects. Each trailing block is read only
// when data remain. A file that fails to load leaves the document as it
// was: the model is read into a fresh component, which replaces the old
// one only when the whole archive has been read.
#pragma once

#include <functional>
#include <vector>

#include "framework/framira.h"
#include "matrix/zelkor.h"

class CPlateComp;
class CSNode;

// The application-wide element-type codes of the next new document (set by
// the new-document wizard; 81 at start).
extern int iNewDocElemType;
extern int iNewDocPlateElemType;

// The short name of an element-type code ("CST" .. "T21"); empty for any
// other code.
CString ElementTypeShortName(int code);

// What the document needs of its views to reset them. The program's views
// implement it, so the document knows no view class.
class IPlateDocView
{
public:
    virtual ~IPlateDocView() = default;
    // A 2D model view (modelling, element or constrained-mesh view).
    virtual bool IsModelView() const = 0;
    // An element view or a results view.
    virtual bool IsElementOrResultsView() const = 0;
    // The kinds its geometry input holds selected: 1 areas, 2 nodes, 4 edges.
    virtual unsigned SelectedKinds() const = 0;
    // Drops the whole selection.
    virtual void DropSelection() = 0;
    // Resets the geometry input (pending clicks and temporary nodes).
    virtual void ResetGeomInput() = 0;
};

class CBrantelDoc : public KorDocSectComp
{
    DECLARE_DYNCREATE(CBrantelDoc)
public:
    CBrantelDoc();
    ~CBrantelDoc() override;

    CPlateComp* GetPlateComp() const;

    // --- overrides of the framework
    void Serialize(CArchive& ar) override;
    BOOL IsModified() override;
    // Setting the flag also clears the mesh-valid flag and updates the views.
    void SetModifiedFlag(BOOL bModified = TRUE) override;
    BOOL OnNewDocument() override;
    // Meshes are never written: the store-mesh switch is off while saving.
    BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE) override;
    void PrintPageHeader(CDC*, CPrintInfo*) override {}
    void PrintPageBody(CDC*, CPrintInfo*) override {}
    void DrawImageContent(int, unsigned int) override {}
    bool GetMaxMinActVal(double& max, double& min) override;
    // true: this document's counters, node list and group array become the
    // libraries' statics; false: the counters are taken back.
    void UpdateStatics(bool activate) override;
    // Refreshes the main frame when the document becomes active (or its
    // model changes by undo or redo): the element type in status pane 1,
    // the family's result names with the model's active result, and the
    // materials with the current one of the first view's frame.
    void ModelChanged(CSectComp* previous) override;
    // Deletes the composite and the materials of its list; the graph
    // identifier counter is kept.
    void DeleteModel(CSectComp*& comp) override;
    CObList* GetMaterialList() override;

    // --- own operations
    virtual void ResetModelViews();
    virtual CString GetElementTypeName();
    virtual void EditRegionProperties(CObject* object);
    virtual void EditEdgeInfo(CObject* object);
    virtual void EditLinkInfo(CObject* object);
    virtual void EditNodeInfo(CObject* object, bool pending);
    // The "Node information" sheet over a list of nodes; 0 for an empty list.
    using KorDocSectComp::EditNodes;
    virtual int EditNodes(CObList* list);
    // The "Element and mesh control" sheet filled from the component (it
    // owns its pages; the caller shows and deletes it), and its values
    // applied back after OK.
    virtual CPropertySheet* CreateElementSheet();
    virtual void ApplyElementSettings(CPropertySheet* sheet);
    // The condition chain that the model drawing shows: the plate and
    // membrane documents have one (0).
    virtual int GetBCSet() const { return 0; }
    // The condition pages of the node and edge sheets: each one's place in
    // the objects' condition chains, its element-type code and its tab
    // title (null: the page's own); and whether the edge sheet has the
    // edge-load page.
    struct ConditionPageDef {
        int index;
        int code;
        const char* title;
    };
    virtual std::vector<ConditionPageDef> ConditionPages();
    virtual bool HasEdgeLoadPage();
    // The rows of "Max && min results": one name per result index from 0,
    // the element family's list; false when the family has none.
    virtual bool MaxMinResultNames(CStringArray& names);
    // Hands a region, edge, link or node to its editor; anything else: nothing.
    virtual void EditObject(CObject* object);
    // mask: 1 areas, 2 nodes, 4 edges, 8 element and result views.
    virtual void ResetViews(unsigned mask);
    virtual void PickDrawModel(unsigned filter, bool flag);
    virtual void GetMaxMinCoord(double& xmax, double& ymax, double& xmin, double& ymin);
    // Registers a separated node with its group object (owned from here on);
    // the node's index in the node list, -1 on failure.
    virtual long AddSepNode(CSNode* node, CObList* group);
    // Takes a node out of the node list with its group object; false when
    // it is not there.
    bool RemoveSepNode(CSNode* node);
    virtual CObject* GetObjectById(unsigned long id, bool flag);

    // Each scale becomes the model's diagonal over three times the largest
    // absolute load of its kind (node loads nodeKind, edge loads edgeKind);
    // a scale without loads stays as it is.
    void RecomputeLoadScales(unsigned nodeKind = 2, unsigned edgeKind = 4);

    // The analysis of the model (the mesh must exist): false when refused
    // because another run is active, else true whatever the outcome;
    // m_bMeshValid tells whether results exist.
    virtual bool Calculate();

    // The plate document's run around one analysis of the component: the
    // one-run guard, wait cursor and busy mode, log folder, log tabs, the
    // framing lines, the print lists, the failure beep and message, the log
    // and error lines, m_bMeshValid, the lists and the views. false when
    // refused because another run is active; *componentOk (when given) is
    // the component's own result (false also when stopped).
    bool RunCalculation(const std::function<bool(CPlateComp&, CStringArray*, CStringArray*)>& analysis,
                        bool* componentOk = nullptr);

    // The group objects, one slot per node of the node list.
    const std::vector<CObList*>& SepNodeGroups() const { return m_SepNodeGroups; }

    bool m_bMeshValid = false;
    CLongVector m_lvOutputNodes;
    CLongVector m_lvOutputElems;
    int m_nSmoothing = 10;
    CSectComp** m_ppComp = nullptr;
    double m_dNodeLoadScale = 10.0;
    double m_dEdgeLoadScale = 10.0;
    bool m_bArchFlag = false;
    CString* m_pstrArchText = nullptr;

protected:
    // A new component of the document's kind (the constructor's model).
    virtual CPlateComp* NewComponent();
    // Adds "Default" and "VOID" to the component's materials.
    static void AddDefaultMaterials(CPlateComp& comp);

    // Data a derived document appends to the archive after the plate
    // document's blocks. A document with such data always writes the
    // blocks, so they are read whether or not data seem to remain, and a
    // file that ends before them is refused. LoadTail reads into a pending
    // state; CommitTail takes it over once the whole archive has been read,
    // so that a refused file leaves the document as it was.
    virtual bool HasArchiveTail() const { return false; }
    virtual void StoreTail(CArchive&) {}
    virtual void LoadTail(CArchive&) {}
    virtual void CommitTail() {}

    void OnMoveAll();
    // "&Export region" and "&Import region": the regions as text.
    void OnExportRegion();
    void OnImportRegion();
    // "Volume forces": the component's record through the dialog.
    void OnVolumeForces();
    void OnMaterialAxes();
    void OnUpdateMaterialAxes(CCmdUI* pCmdUI);
    void OnStopCalculate();
    void OnUpdateStopCalculate(CCmdUI* pCmdUI);
    void OnViewLogfile();
    void OnViewBucklingLogfile();
    void OnNodeElementOutput();
    void OnMaxMinResults();
    DECLARE_MESSAGE_MAP()

private:
    void Store(CArchive& ar);
    void Load(CArchive& ar);
    static void AdoptUnlistedMaterials(CArchive& ar, CPlateComp& comp);
    void DeleteGroups();
    void PublishGroups();
    // Every view of the document that implements IPlateDocView.
    std::vector<IPlateDocView*> PlateViews() const;

    std::vector<CObList*> m_SepNodeGroups;
};
