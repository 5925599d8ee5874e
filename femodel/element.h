// CElement: the abstract finite element of the plate model. An element is a
// graph whose node list holds its nodes in element order (corners first,
// counter-clockwise, then mid-side nodes). Nodes are shared between
// elements; the element that is a node's primary graph speaks for the node
// in every operation that must touch each mesh node once.
//
// The element keeps one result vector per element node, fills the solver's
// arrays, takes results back, maps values to fringe colours and draws them.
#pragma once

#include <vector>

#include <unordered_set>

#include "geometry/bexlar.h"
#include "matrix/zelkor.h"

#include <algorithm>

class CBoundCond;
class CLoad;
class CModelInfo;

// Running extremes over values that may all lie on one side of zero: a
// scan starts from an empty range (max below min), the first value sets
// both ends, and a range left empty (nothing scanned) reads 0 to 0.
namespace valuerange
{
inline void Empty(double& max, double& min)
{
    max = -1.0;
    min = 1.0;
}
inline void Widen(double& max, double& min, double v)
{
    if (max < min) {
        max = min = v;
        return;
    }
    max = std::max(max, v);
    min = std::min(min, v);
}
inline void Settle(double& max, double& min)
{
    if (max < min)
        max = min = 0.0;
}
} // namespace valuerange

// The pick name of a result point: the node identifier n plus 100000000
// times the index k of the element in the node's graph list. Names must fit
// 32 bits and stay unambiguous, so k runs 0..41 and n below 100000000.
namespace resultpick
{
constexpr unsigned long kStride = 100000000ul;
constexpr int kMaxIndex = 41;
// false (name untouched) when k or n is out of range.
bool Encode(unsigned long node, int index, unsigned long& name);
// The node identifier and graph index of a name.
void Decode(unsigned long name, unsigned long& node, int& index);
} // namespace resultpick

class CEdge;

// A refinement that can still be taken back. While a journal is open on a
// thread, the element division of that thread (CElement::Subdiv) deletes
// no edge and notes every edge it makes or divides. Undo then deletes the
// edges made and takes the sub-nodes off the edges divided, so that, once
// the new elements are deleted, the mesh is as before. Commit deletes, once
// the old elements are gone, the divided edges that no element spans any
// longer: the ones the division deletes at once when no journal is open.
class CRefineJournal {
public:
    CRefineJournal();
    ~CRefineJournal();
    CRefineJournal(const CRefineJournal&) = delete;
    CRefineJournal& operator=(const CRefineJournal&) = delete;

    // Before the new elements are deleted.
    void Undo();
    // After the old elements are deleted.
    void Commit();

    // The open journal of this thread, or null.
    static CRefineJournal* Open();
    // An edge divided by Subdiv: made there or found, with or without
    // sub-nodes before; keep as Subdiv's.
    void Note(CEdge* edge, bool made, bool hadSubNodes, int keep);

private:
    struct Entry {
        CEdge* edge;
        bool made;
        bool hadSubNodes;
        int keep;
    };
    std::vector<Entry> m_entries;
    std::unordered_set<CEdge*> m_noted;
    CRefineJournal* m_pOuter;
};

class CElement : public CGraph {
    DECLARE_SERIAL_ABSTRACT(CElement)
public:
    ~CElement() override;
    CElement& operator=(const CElement&) = delete;

    // Graph part with an empty name, result count, smoothed-node mask, the
    // result vectors as objects.
    void Serialize(CArchive& ar) override;

    // --- virtual operations
    virtual void GetMaxMinLocalVect(double* max, double* min, bool polar, CVector& axis, int a, int b);
    virtual void PickDrawLocalVect(int which, bool polar, CVector& axis, double scale, int a, int b);
    virtual void PickDrawLocalStress(int which, bool polar, CVector& axis, double scale, int sx, int sy, int txy);
    virtual void GetMaxMinLocalStress(double* max, double* min, bool polar, CVector& axis, int sx, int sy, int txy);
    virtual void DM_GetRotParam(CLongVector& list, int& count);
    virtual void DrawResArrows(double scale, int a, int b, int c, double range, bool colour);
    virtual void GetMaxExtent(double& cx, double& cy, double& dx, double& dy);
    virtual void UpdateNodeCoord() {}
    virtual void SetKind(int) {}
    virtual void DM_BuildData(CModelInfo&) {}
    virtual void GL_Draw(COGLDrawCommand*) {}
    virtual void DM_SetResults(CModelInfo& info);
    virtual void DM_InsertNodeBCs(CModelInfo& info);
    virtual void DM_GetInfo(CInfoContainer& info);
    virtual void GetBCNodes(CObList& list);
    virtual void GetDiscrCoord(CMatrix& coord);
    virtual void GetMMNPC(CLongMatrix& table);
    virtual void GetMMNPC(CLongVector& nodes, CLongVector& pointers, int& count);
    virtual void RetAddNodeStress(CMatrix& m, int first, int last, int& row, int col);
    virtual void DrawValueExtrGL(CMatrix&, double, CVector&, int) {}
    virtual void RetAddMeanStress(CMatrix& m, int first, int last, int& row, int col);
    virtual void GetNodeValues(CMatrix& m, int first, int last, int& row, int col);
    virtual void RetElemStress(CMatrix& m, int first, int last, int& row);
    virtual void InsertDOFs(CReorderMat&, CArrayArray<LONG>&, int) {}
    virtual void GetResist(CMatrix&, CMatrix&, CArrayArray<LONG>&) {}
    virtual void AddDispl(CArrayArray<LONG>&, int, int, double) {}
    virtual int GetNumExtResVects() = 0;
    virtual void DrawGL() {}
    // The graph's selection and model drawing stay callable on an element
    // beside the element's own forms of the same names.
    using CGraph::DrawModelGL;
    using CGraph::PickDrawGL;
    virtual void PickDrawGL(int index, int mode, double scale) = 0;
    // The corner count of the element's own selection drawing (3 a filled
    // triangle, 4 a filled quadrilateral); 0 when it draws anything else.
    virtual int PickCorners() const { return 0; }
    // What PickDrawGL draws for the mesh picks (any mode but 8), for a pick
    // index: the box of the nodes and of the far ends of the edges starting
    // at them (false when not known); the names in drawing order (the
    // element, the edges starting at each node, the nodes).
    bool GrowIdPickBox(CPickBox& box) const;
    bool ListIdPickNames(std::vector<CPickName>& out) const;
    virtual int GetKind() = 0;
    virtual bool IsPointInElem(CSNode* node) = 0;
    virtual void GLColorPlot(int index, int mode, double scale) = 0;
    virtual void DrawModelGL(bool nodes) = 0;
    virtual void DrawEffStress(int type, int mode, double scale, int a, int b, int c, double k1, double k2) = 0;
    virtual void DrawLocalStress(int, int, bool, CVector&, double, int, int, int) {}
    virtual void DrawLocalVect(int, int, bool, CVector&, double, int, int) {}
    virtual void GetCentroid(double& x, double& y) = 0;
    virtual void GLDrawDistorted(int mode, double scale, int a, int b, int c) = 0;
    virtual void BeginGL() = 0;
    virtual double PhysicalSize() = 0;
    virtual void RefineUniform(int n, CObList* out) = 0;
    virtual void DrawPriStress(int mode, bool major, double scale, int sx, int sy, int txy) = 0;
    virtual void GetMaxMinPriStress(double& max1, double& min1, double& max2, double& min2, bool primaryOnly) = 0;
    virtual bool GetMaxMinStress(int index, double& max, double& min);
    virtual void DeleteResults(int flags);
    virtual void GetMaxMinEffStress(int type, double& max, double& min, int a, int b, int c, double k1, double k2, bool);
    virtual void PickDrawEffStress(int type, double scale, int a, int b, int c, double k1, double k2);
    virtual unsigned GetBCCode(CBoundCond* cond, CSNode* node);
    virtual int GetDOFs(CSNode*) { return 2; }
    virtual void PickDrawDistort(double scale, int a, int b, int c);
    virtual void PickDrawPriStress(bool major, double scale, int sx, int sy, int txy);
    virtual void GLDrawDispersAngle(bool polar, CVector& axis);
    virtual void DispersAngle(CMatrix& m, bool polar, CVector& axis, int& row, int col);
    virtual void DrawElmNumbers();
    virtual void DrawEdgeLoadsGL(double scale);
    virtual void GetEdgeLoads(CObList& list);
    virtual void DispersNodeValue(CMatrix& m, double c, CVector& g, int& row, int col);
    virtual void SetElemGrad(CMatrix& m, double c, CVector& g, CLongVector& cols, int& row);
    virtual void SetElemValue(CMatrix& m, CVector& v, int& row, int col);
    virtual void SetElemValue(CMatrix& m, double v, int& row, int col);
    virtual void SetNumDOFs() {}
    virtual void AddElmt(CVirtRealMat&, CMatrix&, CVirtRealMat*, CArrayArray<LONG>&) {}
    virtual CObList* Subdiv(CSNode* from, CSNode* to, int n, int keep);
    virtual void GLDraw();
    virtual double GetStressFromIndex(int r, int p);
    virtual void SetNodeValues(double* values, int& pos, int n);
    virtual void SetNodeValues(CMatrix& m, int& row);
    virtual void SetStresses(CMatrix& m, int& row);
    virtual void SumNodes(long& counter, bool renumber);
    virtual void InsertNodes(long* ids, double* coords, int& pos, int lead, int trail);
    virtual void InsertFE(long* table, int& pos, int width, bool withKind);
    virtual void GetBCs(CObList& list);

    // --- results
    CVector* GetRes(int k) const { return (m_pRes && k >= 0 && k < m_nRes) ? m_pRes[k] : nullptr; }
    double GetRes(int k, int i) const;
    CVector** GetResArray() const { return m_pRes; }
    int GetNumResVects() const { return m_nRes; }
    void AllocateRes(int n);
    void SetRes(int k, CVector* v);
    void DeleteRes();
    // The name without a copy (smoothing compares it often).
    const CString& NameRef() const { return m_strName; }
    bool HasResults() const { return m_pRes && m_nRes > 0; }
    // Asks the cache for what a plot reads of the element, for a walk that
    // reaches it some elements later, each stage after the one before has
    // arrived: 0 the element's own lines that lead on, 1 its node list and
    // result array, 2 the result vectors, 3 their values.
    void PrefetchPlot(int stage) const;
    WORD GetSmoothMask() const { return m_wSmoothed; }
    void SetSmoothMask(WORD mask) { m_wSmoothed = mask; }
    // Hands the result vectors to another element (which drops its own).
    void MoveResultsTo(CElement* other);

    void GetNodeLoads(CObList& list);
    void PickDrawResGL(int index, double scale, int n);

    // --- colours
    int GetColorIndex(double v, int r);
    int GLCPColor(double v, int r);
    int GLCPCombColor(double v);
    double GetEffStress(CVector* v, int a, int b, int c);

    static void CalibStress(double* values, bool onlyMin, int n);
    static int GetColorIndex_fromRange(double v, double range);
    // The fringe colour index of v on the combined scale of the derived
    // plots (m_dStaticMin .. m_dStaticMax), -1 outside it.
    static int CombColorIndex(double v);
    static void Rot2DDOF(CBoundCond* cond, CMatrix& m, CMatrix& rot, int at);
    static void DispToLoad(CBoundCond* cond, CMatrix& m, LONG* dofs, int n, LONG* eqs, int off);

    // --- stress measures
    static double EffStress(int type, double a, double b, double c, double k1, double k2);
    static double PriStress(double sx, double sy, double txy, bool major);
    static void LocalStress(double t, double sx, double sy, double txy, double out[3]);
    static double LocalAngle(double x, double y, bool polar, const CVector& axis);

    // Element number shown to the user.
    unsigned GetElemNumber() const { return static_cast<unsigned>(m_ulID - 4000000000u); }

    static constexpr int kMaxResIndex = 20;
    static int m_nNodeVal;
    static int m_nVectors;
    static int m_iStaticKind;
    static double m_strMaxStress[kMaxResIndex];
    static double m_strMinStress[kMaxResIndex];
    static double m_dStaticMax;
    static double m_dStaticMin;
    static double m_dForce[8];
    static CMatrix* m_pLoadMat;
    static CVector m_vectStartDOF;
    static int m_iPrnSw;
    static CFile* pOutputFile;

    // Appends a node to the element (and the element to the node's graphs),
    // for the members that build their elements node by node.
    void AddNode(CSNode* node) { AppendNode(node); }
    using CGraph::AddNode;

protected:
    // Every node of the element as a point of the medium-small size.
    void DrawNodePointsGL();
    CElement();
    CElement(const CElement& source);

    // Adds the element to the node and appends the node.
    void AppendNode(CSNode* node);
    // Updates the running extremes at result index i.
    static void Widen(int i, double v);
    // Value at corner k for a plot of index r: result component or the
    // node's own value.
    double CornerValue(int r, int k);
    // The same for corner k whose node is known (the plots read the corner
    // nodes in one walk of the node list).
    double CornerValue(int r, int k, const CSNode* node);
    // The first n nodes into corners, read in one walk of the node list;
    // false when the element has fewer.
    bool CornerNodes(int n, CSNode** corners) const;
    // Result index r at the element's node k: below m_nNodeVal component r
    // of result vector k; from m_nNodeVal up entry r - m_nNodeVal of the
    // node's own values (displacements, reactions); 0 for a negative r or
    // a value missing.
    double ResultAt(int k, int r) const;
    // Pick point of node k at height z under its selection name.
    void PickPoint(CSNode* node, double x, double y, double z);
    // Pick drawing shared by the plate elements: in mode 8 the result
    // points of the first `corners` nodes, otherwise the element itself
    // (mode bit 1) and then each of its nodes under its own name.
    void PickDrawCorners(int r, int mode, double scale, int corners);
    // Number of leading nodes the pick, effective-stress and displacement
    // operations act on (every node unless a class restricts them).
    virtual int ActiveNodeCount() { return GetCount(); }
    // Widens max and min by the effective stress over the first n result
    // vectors (an empty range, max below min, is set by the first value).
    void EffStressExtremes(int n, int type, double& max, double& min, int a, int b, int c, double k1, double k2);
    // Nodal values on the first count nodes; rows of later own nodes skipped.
    void SetNodeValuesOn(CMatrix& m, int& row, int count);
    // Draws a triangle of a value plot (derived false) or of a derived plot
    // on the combined colour scale (derived true), by the flag rules.
    void DrawFace(const double* const p[3], const double v[3], int flags, double scale, int r, bool derived);

public:
    // While one lives, the plot triangles (DrawFace) go into the one
    // GL_TRIANGLES primitive it opens at its first triangle and closes
    // instead of one primitive each: the same triangles, far cheaper to
    // compile into a display list.
    // Only around drawing whose every primitive is such a triangle.
    class CFaceBatch {
    public:
        CFaceBatch();
        ~CFaceBatch();
        CFaceBatch(const CFaceBatch&) = delete;
        CFaceBatch& operator=(const CFaceBatch&) = delete;
    };

    // A plot triangle as DrawFace works it out: its corners' fringe colours
    // (-1: the current colour stays), its vertices and, unless flat (at
    // height 0 with the plan normal), its normal.
    struct CPlotFace {
        double vertex[3][3];
        double normal[3];
        int colour[3];
        bool flat;
    };
    // Takes the plot triangles that DrawFace works out on the thread it is
    // set for (FaceSink), in place of OpenGL: the elements' walk of a large
    // plot runs on a thread of its own while the calling thread sends the
    // triangles (SendFace), in the same order.
    class CFaceSink {
    public:
        virtual void Add(const CPlotFace& face) = 0;

    protected:
        ~CFaceSink() = default;
    };
    // The calling thread's sink, null when DrawFace draws.
    static CFaceSink*& FaceSink();
    // Sends a triangle as DrawFace would have drawn it, inside a CFaceBatch.
    static void SendFace(const CPlotFace& face);

protected:
    // The graph's two-dimensional inside test against the first n corners.
    bool CornersContain(int n, double x, double y);
    // Frees the copies of a dividing-node list except the first, which is returned.
    static CSNode* TakeFirst(CObList* list);
    // Loads of the edges between consecutive nodes among the first n nodes:
    // collected into list, or drawn.
    void CollectEdgeLoads(int n, CObList* list, double scale, bool drawFlag, bool draw);
    // Vertices of the first n nodes (none when the element has fewer).
    void CornerVerticesGL(int n);
    // The element as a prism over its first n corners, as vertices of the
    // triangles primitive the caller opened. Each row of param (result
    // index, factor, axis 0/1/2) adds factor x value to the corners' x, y
    // or z; a row whose index is negative is skipped. The top face lies
    // half (tilted by the slope vector, when it has two entries) above the
    // shifted corners, the bottom face as far below; side faces stand on
    // the edges that no other element of the same name shares. mode 2
    // colours the vertices by the fringe colour of the first row's
    // component; any other mode leaves the current colour.
    void DrawPrismGL(int n, CMatrix& param, double half, CVector& slope, int mode);
    // True when another element of this element's name holds both nodes
    // (asked through the nodes' graph lists).
    bool EdgeSharedBySameName(const CSNode* a, const CSNode* b) const;
    // The first n nodes moved by the displacement components a, b, c
    // (negative: none) times scale, as one primitive of the given GL mode.
    void DrawDistortedCorners(int n, unsigned primitive, int flags, double scale, int a, int b, int c);
    // Widens the extremes of the major and minor principal stresses by the
    // first n nodes (an empty range is set by the first value).
    void PriStressExtremes(int n, double& max1, double& min1, double& max2, double& min2, bool primaryOnly);
    // One row of the linear field c + g.(x, y) at the first count nodes.
    void DispersNodeValueOn(int count, CMatrix& m, double c, CVector& g, int& row, int col);
    // Mid-side node of the side from-to: the given one, or the side's
    // dividing node shared with the neighbour built on the same side.
    void FillMidSide(CSNode* from, CSNode* to, CSNode*& mid);
    // Moves nodes corners .. 2 corners - 1 to the middles of the sides.
    void PlaceMidSideNodes(int corners);
    // The first of n dividing nodes on each side of the first corners
    // nodes; false when a side has none.
    bool FirstSideDividers(int n, int corners, CSNode** dividers);
    // Appends a refinement part under this element's name.
    void AddPart(CElement* part, CObList* out);
    // Measures of result vector k (a negative component index reads
    // component 0): effective and principal stress, the stress component
    // `which` (sx, sy, else txy) and the vector component `which` (a, else
    // b) turned to the local axes at node.
    double EffStressAt(int k, int type, int a, int b, int c, double k1, double k2) const;
    double PriStressAt(int k, bool major, int sx, int sy, int txy) const;
    double LocalStressAt(int k, const CSNode* node, int which, bool polar, const CVector& axis, int sx, int sy,
                         int txy) const;
    double LocalVectAt(int k, const CSNode* node, int which, bool polar, const CVector& axis, int a, int b) const;
    // Calls f(k, node) for the first ActiveNodeCount() nodes, when the
    // element has results.
    template <class F>
    void ForActiveResultNodes(F f);
    // Pick point of the node at scale times the value v.
    void PickValue(CSNode* node, double scale, double v) { PickPoint(node, node->x, node->y, scale * v); }

    WORD m_wSmoothed = 0;
    int m_nRes = 0;
    CVector** m_pRes = nullptr;
};
