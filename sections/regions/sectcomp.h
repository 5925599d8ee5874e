// CSectComp: the model a document holds. An ordered list of sections that it
// owns, with a name, an active value, a factor and the result extremes
// collected after an analysis. Almost every operation runs over the sections
// in list order; the composite adds the node-merging and edge-splitting
// repair, the copy, the discretisation bracket around the global identifier
// counters and the list accessors typed for sections. Mesh generation and
// analysis are left to the derived plate component.
#pragma once

#include "sections/regions/section.h"

#include <memory>
#include <vector>

class CMaterial;
class CModelInfo;

class CSectComp : public CObList {
    DECLARE_DYNAMIC(CSectComp)
public:
    ~CSectComp() override;

    // --- result extremes: 0.0 for an index at or beyond the collected count
    virtual double GetMinVal(int i);
    virtual double GetMaxVal(int i);

    // --- forwarded to every section in list order
    virtual void SeedMeshLen(double length, unsigned flags);
    virtual void OnEdges(void (*f)(CEdge*));
    virtual void OnEdges(void (*f)(CObject*, void*), void* user);
    // max starts at -1.0 and min at 0.0; every section widens them.
    virtual void GetMaxMinExt(double* max, double* min);
    virtual void DM_OnNodes(void (*callback)(CSNode*, void*), void* user);
    virtual void DM_OnElements(void (*callback)(CObject*, void*), void* user);
    virtual void OnNodes(void (*f)(CSNode*, void*), void* user);
    virtual void OnNodes(void (*f)(CSNode*));
    virtual void DM_Clean();
    virtual void SecondarySerial(CArchive& ar);
    virtual void DrawBCs(bool flag, double scale, int what);
    virtual void SortNodes();
    virtual void DrawNodeNumbers();
    virtual void SerializeNodeIDs(CArchive& ar);
    // Every edge of every graph of `from` (this composite when null) into out.
    virtual void GetEdgeList(CObList* from, CObList* out);
    virtual void GetDanglingNodes(CObList& out);
    virtual void GetSolitaryNodes(CObList& out);
    virtual void RenumberNodes(long& counter, long step);
    virtual void PreMult(CMatrix& m, double cx, double cy, double cz, bool update);
    // The first non-null answer of the sections.
    virtual CObject* DM_GetOwner(CObject* object);
    virtual void DM_GetRotParam(CLongVector& out);
    virtual void GetKIND(CLongVector& out);
    virtual void ASCIIExportGraph(CFile& file, CStringArray& keys, int* options, int nOptions,
                                  double* values, int nValues);
    virtual void GL_Draw(COGLDrawCommand* command);
    virtual void DM_GetInfo(CInfoContainer& container);
    // Forwards, then collects the result extremes into m_MinVals/m_MaxVals.
    virtual void DM_SetResults(CModelInfo& model);
    virtual void DM_InsertNodeBCs(CModelInfo& model);
    virtual void DM_BuildData(CModelInfo& model);
    virtual void GetBCNodes(CObList& out);
    virtual void GetDiscrCoord(CMatrix& out);
    virtual void GetMMNPC(CLongMatrix& out);
    // One running counter from 0 over all sections; returns it.
    virtual int GetMMNPC(CLongVector& a, CLongVector& b);
    // Discretises the sections with the identifier counters zeroed and
    // restored; the first object a section returns, or null.
    virtual CObject* Discretize();
    // Copies into an existing composite (nothing for null or another class).
    virtual void Copy(CSectComp*& target, bool withName);
    // which 0: the longest of the sections' answers, else the shortest.
    virtual CEdge* GetEdge(int which);
    // Every section's PickDrawAddressGL in list order. Under a pick cull,
    // only the sections whose box the pick window may meet are drawn: the
    // boxes are kept in a tree that is built again after any model edit
    // (AfxModelRevision).
    virtual void PickDrawAddressGL(int what);
    // Flags: 1 section names, 2 node numbers, 4 edge names; 8 suppresses all.
    virtual void DrawNameGL(unsigned flags);
    virtual unsigned long GetMaxID(unsigned flags);
    virtual void GetMaxMinLoad(double& max, double& min, unsigned flags);
    virtual bool RemoveElem(CObject* element);
    // Runs every section's repair; ResetParam() once when any changed.
    virtual void Fix();

protected:
    // Repair of one edge against the edges found to meet it.
    virtual void FixEdges(CEdge* edge, CObList* deadEdges, CObList* deadNodes, CObList*& found);

public:
    // Merges coincident nodes and splits overlapping or touching edges of
    // the given (then emptied) list, then removes doubled edges.
    virtual void FixEdges(CObList* edges);
    virtual void ResetParam() = 0;
    // Every graph of `from` (this composite when null) adds its nodes to out.
    virtual void GetNodeList(CObList* from, CObList* out);
    virtual void RemoveNode(CSNode* node) = 0;
    virtual void SetNodSpace(double spacing);
    virtual void PickDrawResGL(int flags, bool flag) = 0;
    // Flags with bit 8: the result picking; otherwise every section's.
    virtual void PickDrawGL(bool flag, int flags, bool resFlag);
    // The composite when the text is its name, else the first section's
    // non-null answer.
    virtual CObject* GetObjectFromString(CString name);
    virtual void DrawModelGL(bool quads, float pointSize, bool all);
    // Both start at -1.0.
    virtual void GetDist(double& max, double& min);
    virtual void SubDivide();
    virtual void Update(bool unused, bool resetSize);
    virtual void Translate(double dx, double dy, double dz);
    virtual void Rotate(double angle, double c1, double c2, unsigned axis, bool update);
    // Unlinks the section (not deleted); false when it is not in the list.
    virtual bool Remove(CSection* section);
    // 0 none, 1 a proper crossing, 2 touching or overlapping; hits collects
    // the edges met.
    virtual short Intersection(CEdge* edge, bool byEdges, CObList* hits);
    // Null for id 0; else the first section's non-null answer.
    virtual CObject* GetObjectA(unsigned long id, bool flag);
    virtual unsigned long CountEdges();
    virtual void DrawSubNodesGL();
    virtual void DrawNodesGL(float pointSize, bool all);
    virtual void DrawEdgesGL(bool quads, bool all);
    virtual void DrawDXF(CFile* file);
    // Four zeros when empty; else max from -1.0, min from 0.0.
    virtual void GetMaxMinCoord(double& xmax, double& ymax, double& xmin, double& ymin);
    virtual bool PreCalc(CStringArray* log, CStringArray* errors, int mode) = 0;
    virtual bool Calculate(CStringArray* log, CStringArray* errors) = 0;
    virtual double CalcArea();

    // --- list access typed for sections
    virtual CSection* GetNext(POSITION& pos);
    virtual CSection* GetPrev(POSITION& pos);
    virtual CSection* GetAt(POSITION& pos);
    virtual CSection* GetTail();
    virtual CSection* GetHead();
    // The list-appending overloads of CObList stay hidden: a section is
    // itself a list (of nodes) and must never be taken for one here.
    virtual POSITION AddTail(CObject* object);
    virtual POSITION AddTail(CSection* section);
    virtual POSITION AddHead(CObject* object);
    virtual POSITION AddHead(CSection* section);

protected:
    // 2 when b is (or becomes) dead or both ends are shared; else the count
    // of shared ends (0 or 1). Coincident nodes of b are merged into a's.
    virtual int CompareEdges(CEdge* a, CEdge* b, CObList* deadNodes, CObList* deadEdges);
    virtual void FixEdge(CEdge* edge, CObList* deadEdges, CObList* deadNodes);

public:
    CString GetName() const { return m_strName; }
    void SetName(CString name) { m_strName = name; }
    bool SetActVal(int value)
    {
        m_iActVal = value;
        return true;
    }
    int GetActVal() const { return m_iActVal; }
    // Removes the listed nodes from the model and deletes those that belong
    // to no other graph.
    void DeleteNodes(CObList* nodes);
    // Sum of the sections' removals.
    int RemoveDoubleEdges();

    unsigned GetFirstWord() const { return m_uiFirst; }
    void SetFirstWord(unsigned w) { m_uiFirst = w; }
    unsigned GetSecondWord() const { return m_uiSecond; }
    void SetSecondWord(unsigned w) { m_uiSecond = w; }
    double GetFactor() const { return m_dFactor; }
    void SetFactor(double f) { m_dFactor = f; }
    unsigned GetResCount() const { return m_uiResCount; }
    void SetResCount(unsigned n) { m_uiResCount = n; }

    const CVector& GetMinVals() const { return m_MinVals; }
    const CVector& GetMaxVals() const { return m_MaxVals; }

protected:
    CSectComp();

    // For components that keep a list of materials beside their regions
    // (the list does not own them): every region replaces the material,
    // then the replacement takes the old material's place in the list (a
    // null replacement only removes it). Neither is deleted.
    void ReplaceListedMaterial(CObList& materials, CMaterial* oldMaterial, CMaterial* replacement);
    // The first material of the list with that name, or null.
    static CMaterial* FindMaterial(const CObList& materials, const CString& name);

    DWORD m_uiFirst = 1;
    DWORD m_uiSecond = 0;
    double m_dFactor = 1.0;
    int m_iActVal = 0;
    DWORD m_uiResCount = 0;
    CVector m_MinVals;
    CVector m_MaxVals;
    CVector m_MaxValsExt; // further maxima kept by the derived component
    CVector m_MinValsExt; // further minima kept by the derived component
    CString m_strName;

private:
    // The object as a section; null for null or anything else (a damaged
    // archive may put other objects into the list).
    static CSection* SectionAt(CObject* object);
    template <class F>
    void ForSections(F f);
    std::vector<CSection*> Snapshot();
    // Merges node into keep: keep takes its edges and graphs, node becomes
    // dead, and edges left with both ends on keep are reset and dead.
    static void MergeNode(CSNode* node, CSNode* keep, CObList* deadNodes, CObList* deadEdges);

    struct PickIndex;
    // The pick index of the sections, built again when the model changed.
    PickIndex& UpToDatePickIndex();
    std::unique_ptr<PickIndex> m_pPickIndex;
};
