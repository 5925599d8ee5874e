// CMeshOrganizer: the mesh of one region, an ordered list of elements that
// it owns. Most operations apply the element operation of the same name to
// each element in list order; the organiser adds result smoothing across
// elements, whole-mesh kind conversion, refinement and element numbering.
#pragma once

#include <cstddef>
#include <type_traits>
#include <unordered_set>

#include "femodel/element.h"

class CMeshOrganizer : public CObList {
    DECLARE_SERIAL(CMeshOrganizer)
public:
    CMeshOrganizer();
    ~CMeshOrganizer() override;
    CMeshOrganizer(const CMeshOrganizer&) = delete;
    CMeshOrganizer& operator=(const CMeshOrganizer&) = delete;

    // The element list, then the 32-bit word.
    void Serialize(CArchive& ar) override;

    // --- virtual operations
    virtual void DrawLocalVect(int which, int mode, bool polar, CVector& axis, double scale, int a, int b);
    virtual void GetMaxMinLocalVect(double* max, double* min, bool polar, CVector& axis, int a, int b);
    virtual void PickDrawLocalVect(int which, bool polar, CVector& axis, double scale, int a, int b);
    virtual void PickDrawLocalStress(int which, bool polar, CVector& axis, double scale, int sx, int sy, int txy);
    virtual void GetMaxMinLocalStress(double* max, double* min, bool polar, CVector& axis, int sx, int sy, int txy);
    virtual void DrawLocalStress(int which, int mode, bool polar, CVector& axis, double scale, int sx, int sy, int txy);
    virtual void DrawResArrows(double scale, int a, int b, int c, double range, bool colour);
    virtual void SetElemGrad(CMatrix& m, double c, CVector& g, CLongVector& cols, int& row);
    virtual void DM_BuildData(CModelInfo& info);
    virtual void DM_SetResults(CModelInfo& info);
    virtual void DM_InsertNodeBCs(CModelInfo& info);
    virtual void DM_GetInfo(CInfoContainer& info);
    virtual void GetBCNodes(CObList& list);
    virtual void GetDiscrCoord(CMatrix& coord);
    virtual void GetMMNPC(CLongMatrix& table);
    virtual void GetMMNPC(CLongVector& nodes, CLongVector& pointers, int& count);
    virtual void GetLinks(CObList& out);
    virtual void DrawValueExtrGL(CMatrix& m, double half, CVector& axis, int n);
    virtual void RetAddMeanStress(CMatrix& m, int first, int last, int& row, int col);
    virtual void GetNodeValues(CMatrix& m, int first, int last, int& row, int col);
    virtual void RetElemStress(CMatrix& m, int first, int last, int& row);
    virtual void GetResist(CMatrix& a, CMatrix& b, CArrayArray<LONG>& dofs);
    virtual void TriToTri(int kind, bool dropResults);
    virtual void QuadToQuad(int kind);
    virtual void DeleteResults(int flags);
    virtual void GetMaxMinEffStress(int type, double& max, double& min, int a, int b, int c, double k1, double k2, bool flag);
    virtual void GetMaxMinLoad(double& max, double& min, unsigned flags);
    virtual void GetFEMNodes(NODELIST& list, int start);
    virtual void PickDrawDistort(double scale, int a, int b, int c);
    virtual void PickDrawPriStress(bool major, double scale, int sx, int sy, int txy);
    virtual void RefineUniform(int n);
    virtual void SetStresses(CMatrix& m, int& row);
    virtual void SetNodeValues(CMatrix& m, int& row);
    virtual void SetNodeValues(double* values, int& pos, int n);
    virtual void DrawGL(bool nodes);
    virtual bool Smooth(bool allNames);

    // --- element access
    void AddElement(CElement* e) { AddTail(static_cast<CObject*>(e)); }
    CElement* GetHeadElem() const { return static_cast<CElement*>(GetHead()); }
    CElement* GetTailElem() const { return static_cast<CElement*>(GetTail()); }
    CElement* GetNextElem(POSITION& pos) const { return static_cast<CElement*>(GetNext(pos)); }
    CElement* GetPrevElem(POSITION& pos) const { return static_cast<CElement*>(GetPrev(pos)); }
    CElement* GetElemAt(POSITION pos) const { return static_cast<CElement*>(GetAt(pos)); }
    bool RemoveElem(CObject* e);
    // Takes every listed element out of the list in one pass (none is
    // deleted); the number taken out.
    int RemoveElems(const std::unordered_set<CObject*>& elements);
    void Clear();
    // Calls f with each element in list order. The elements lie scattered
    // in memory: what f reads of an element is fetched into the cache in
    // stages (CElement::PrefetchPlot), 16, 10, 5 and 2 elements ahead of its
    // turn; the first `stages` of them (two: the element and its node list,
    // four: also its results). An f that returns bool ends the walk with
    // false.
    template <class F> void ForEachFetched(F f, int stages = 4) const;

    // --- solver arrays
    void InsertFE(long* table, int& pos, int width, bool withKind);
    void InsertNodes(long* ids, double* coords, int& pos, int lead, int trail);
    void SumNodes(long& counter, bool renumber);
    void AddElmt(CVirtRealMat& stiffness, CVirtRealMat* load, CArrayArray<LONG>& dofs);

    // --- element forwarders
    void GLColorPlot(int index, int mode, double scale);
    void PickDrawGL(int index, int mode, double scale);
    void GLDraw();
    void GLDrawDistorted(int mode, double scale, int a, int b, int c);
    void DrawPriStress(int mode, bool major, double scale, int sx, int sy, int txy);
    void DrawEffStress(int type, int mode, double scale, int a, int b, int c, double k1, double k2);
    void PickDrawEffStress(int type, double scale, int a, int b, int c, double k1, double k2);
    void GetMaxMinPriStress(double& max1, double& min1, double& max2, double& min2, bool primaryOnly);
    void DispersNodeValue(CMatrix& m, double c, CVector& g, int& row, int col);
    void SetElemValue(CMatrix& m, CVector& v, int& row, int col);
    void SetElemValue(CMatrix& m, double v, int& row, int col);
    void DispersAngle(CMatrix& m, bool polar, CVector& axis, int& row, int col);
    void GLDrawDispersAngle(bool polar, CVector& axis);
    void DrawEdgeLoadsGL(double scale);
    void DrawElmNumbers();
    void RetAddNodeStress(CMatrix& m, int first, int last, int& row, int col);
    void GetBCs(CObList& list);

    // --- graph forwarders
    void GetMaxMinCoord(double* max, double* min);
    void Translate(double dx, double dy, double dz, bool all);

    // --- whole mesh
    bool GetMaxMinStress(int r, double& max, double& min);
    void CalibStress(double* values, bool onlyMin, int n);
    void PreSmooth();
    CElement* PointInElement(CSNode* node);
    double CalcArea();
    CMeshOrganizer* Copy(bool releaseCopies);
    void SetNames(CString name);
    void ResetElIDs(long& counter);
    void GetLoads(CObList* nodeLoads, CObList* edgeLoads);
    CObject* GetObjectA(unsigned long id);
    void DrawBCs(int) {}

    DWORD m_dwWord = 0;
    static int m_iSmootType;

private:
    // Builds the element of the kind on the nodes, or null for another kind.
    static CElement* Build(int kind, CSNode** nodes);
    // Rebuilds every element with at least need corners as kind.
    int Convert(int kind, int need, bool keepResults);
};

template <class F> void CMeshOrganizer::ForEachFetched(F f, int stages) const
{
    constexpr std::size_t kAhead = 16;
    constexpr std::size_t kStages[] = {kAhead - 1, 9, 4, 1};
    stages = stages < 0 ? 0 : stages > 4 ? 4 : stages;
    CElement* ring[kAhead];
    std::size_t head = 0, count = 0;
    POSITION pos = GetHeadPosition();
    const auto pull = [&] {
        while (count < kAhead && pos)
            if (CElement* e = GetNextElem(pos))
                ring[(head + count++) % kAhead] = e;
    };
    pull();
    // The first elements' stages, which no earlier turn asked for.
    for (int stage = 0; stage < stages; ++stage)
        for (std::size_t i = 0; i < count && i <= kStages[stage]; ++i)
            ring[(head + i) % kAhead]->PrefetchPlot(stage);
    while (count > 0) {
        CElement* e = ring[head];
        head = (head + 1) % kAhead;
        --count;
        if constexpr (std::is_same_v<std::invoke_result_t<F&, CElement*>, bool>) {
            if (!f(e))
                return;
        } else {
            f(e);
        }
        pull();
        for (int stage = 0; stage < stages; ++stage)
            if (count > kStages[stage])
                ring[(head + kStages[stage]) % kAhead]->PrefetchPlot(stage);
    }
}
