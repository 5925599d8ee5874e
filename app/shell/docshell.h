// The two documents built on the plate document: the shell (buckling)
// document, whose component is a CShellComp with a second element type for
// the buckling step, and the constrained-mesh document.
#pragma once

#include <array>
#include <memory>

#include "app/shell/branteldoc.h"

class CShellComp;

// The result names of a buckling run: the first five membrane names, one
// "Buckling mode n" per mode, the membrane names from the eighth on (the two
// reactions are left out), then one "Inpl. + Buckl. mode n" per mode.
void BuildBucklingResultNames(const CStringArray& membrane, int modes, CStringArray& names);

// The message after a buckling run that delivered fewer modes than asked.
CString FewerModesText(int accepted, int requested);

// The number of modes an entered value stands for: its absolute value
// truncated to an integer; false when that lies outside 1 to 100.
bool BucklingModesFromInput(double value, int& modes);

class CDocShell : public CBrantelDoc
{
    DECLARE_DYNCREATE(CDocShell)
public:
    CDocShell();

    // Status pane 1, the frame's result names (this document's list) and
    // the component's active result.
    void ModelChanged(CSectComp* previous) override;
    // The plate document's sheet with the membrane element page, a plate
    // element page and the buckling page in front; applied back to the
    // component's buckling entries and the plate document's settings.
    CPropertySheet* CreateElementSheet() override;
    void ApplyElementSettings(CPropertySheet* sheet) override;
    // "Membrane BC's" (chain index 0, the membrane code) and "Plate BC's"
    // (index 1, the buckling code); edge loads only for a membrane code.
    std::vector<ConditionPageDef> ConditionPages() override;
    bool HasEdgeLoadPage() override;
    // After a buckling run: this document's names up to the distorted
    // model (the pre-buckling stresses, the displacements, every mode, whose
    // maximum is its load factor, and the derived stresses); the combined
    // in-plane and mode drawings carry no values of their own and are left
    // out. Otherwise the membrane family's list.
    bool MaxMinResultNames(CStringArray& names) override;
    // Brings the regions and materials of a membrane file into an empty
    // model; false when nothing was imported.
    bool ImportMembrane(LPCTSTR path);
    // A file opens with the plate conditions and the plain membrane names.
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;

    // Asks for the number of buckling modes ("Number of buckling modes",
    // preset with the component's entry) until the answer is 1 to 100 and
    // stores it; false when the dialog is left otherwise than by OK.
    bool AskBucklingModes();
    // The buckling run: the number of modes, the component's run, then the
    // result names with the modes. false when cancelled or when the run
    // failed (the names are then left as they were).
    bool Calculate() override;
    // The membrane analysis alone, with the plain membrane result names.
    bool CalculateMembrane();

    CShellComp* GetShellComp() const;
    // The buckling element's short name, "/", then the membrane element's
    // ("T18/CST"); a blank stands for an unknown buckling code.
    CString GetElementTypeName() override;
    // 0 membrane conditions, 1 plate conditions.
    int GetBCSet() const override { return m_iBCSet; }

    CStringArray m_ResultNames;
    int m_iBCSet = 1;

protected:
    CPlateComp* NewComponent() override;
    void ResetResultNames();

    void OnMembraneBCs();
    void OnUpdateMembraneBCs(CCmdUI* pCmdUI);
    void OnPlateBCs();
    void OnUpdatePlateBCs(CCmdUI* pCmdUI);
    void OnMembraneAnalysis();
    void OnImportMembrane();
    void SetBCSet(int set);
    DECLARE_MESSAGE_MAP()
};

// The constrained-mesh document: one quadrilateral region with corners A,
// B, D, C (in the region's order) meshed in a structured way. Edge A runs
// A->B and A' C->D with m elements each; edge B runs A->C and B' B->D with
// n elements each. The settings follow the plate document's archive:
// int32 progression kinds R, S, T, U; u32 m; u32 n; doubles ratios R, S, T,
// U; int32 even-row and odd-row patterns; then the four distribution lists
// (a file that ends before them loads empty lists).
class CDocRestr : public CBrantelDoc
{
    DECLARE_DYNCREATE(CDocRestr)
public:
    CDocRestr();

    // The settings of one edge: its list, progression kind and ratio.
    struct EdgeSettings {
        CVector* list;
        int* progression;
        double* ratio;
    };
    // Edges A, A', B, B' in that order.
    std::array<EdgeSettings, 4> Edges();

    UINT m_nElemA = 10;
    UINT m_nElemB = 10;
    // The most elements a constrained mesh may have (m_nElemA x m_nElemB):
    // the largest mesh the mesher and the solver are measured at. A file or
    // an entry beyond it is refused.
    static constexpr unsigned long long kMaxElements = 1000000;
    static bool IsElementCountPair(unsigned long long a, unsigned long long b)
    {
        return a >= 1 && b >= 1 && a * b <= kMaxElements;
    }
    // Relative positions (0 to 1, increasing) of the inner subdivision
    // points of edges A, A', B, B'.
    CVector m_vDistR, m_vDistS, m_vDistT, m_vDistU;
    // 0 linear, 1 geometric, anything else equal segments.
    int m_nProgR = 0, m_nProgS = 0, m_nProgT = 0, m_nProgU = 0;
    // Triangle patterns of the even and odd rows, 0 to 3.
    int m_nEvenRows = 0, m_nOddRows = 0;
    // Last element side over first; negative: the edge's list is used.
    double m_dRatioR = 1.0, m_dRatioS = 1.0, m_dRatioT = 1.0, m_dRatioU = 1.0;

protected:
    bool HasArchiveTail() const override { return true; }
    void StoreTail(CArchive& ar) override;
    void LoadTail(CArchive& ar) override;
    void CommitTail() override;

private:
    struct Loaded {
        UINT elemA = 10, elemB = 10;
        int prog[4] = {0, 0, 0, 0};
        double ratio[4] = {1.0, 1.0, 1.0, 1.0};
        int evenRows = 0, oddRows = 0;
        CVector lists[4];
    };
    std::unique_ptr<Loaded> m_pLoaded;
};
