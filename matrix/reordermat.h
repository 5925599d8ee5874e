// CReorderMat: the graph of the degrees of freedom (DOFs) of a finite-element
// model and a labelling that gives every DOF a new 0-based number.
//
// Vertices are DOF numbers; row v lists the neighbours of v (no self entry,
// no duplicates). The graph is built in two passes over the elements:
//   Alloc(number of DOFs);
//   InsertDOFs(dofs, 0, n) for every element   (counts the degrees)
//   Init();                                     (sizes the rows)
//   InsertDOFs(dofs, 1, n) for every element   (fills the rows)
// then optionally a renumbering heuristic, then PostReorder() before
// f_v_inv() is read. The skyline and sparse matrices size their storage from
// f_v, f_v_inv and the rows.
//
// The heuristics (minimum-degree variants, two tabu searches and three
// reverse orderings) reduce bandwidth and envelope; they time themselves,
// report through the message service and write the pattern before and after
// as a script ("Reord.m" in the script folder).
#pragma once

#include <vector>

#include "matrix/arrayarray.h"

class CReorderMat : public CArrayArray<LONG> {
public:
    // mode 1 is tabu mode: Alloc then also keeps the tabu marks (aux).
    explicit CReorderMat(int mode);
    ~CReorderMat() override;

    // --- graph building
    // A new count re-makes labels (and, in tabu mode, aux; otherwise aux is
    // dropped, as its size no longer fits); then the identity labelling, tabu
    // marks 0 and empty rows.
    void Alloc(int n) override;
    // The float weight of the reverse orderings: 20 / x, capped at 0.1 above
    // 200; a non-positive x counts as 1.
    virtual float WFun(int x);
    // Position of value in row, or -1.
    virtual int Find(int value, int row);
    virtual int GetRows();
    // The vertex carrying label l; valid after PostReorder.
    virtual int f_v_inv(int l);
    // aux becomes the inverse labelling (allocated when absent).
    virtual void PostReorder();
    // False when a row holds a value twice.
    virtual bool Check();
    // Vertex p absorbs the neighbourhood of i: p's row without i, followed by
    // the entries of i's row that are neither p nor already in p's row.
    // Returns the new length; 0 leaves the row null.
    virtual int UnionAdj_Ex_p_i(int p, int i);
    // A dense text picture of the renumbered pattern.
    virtual void WritePlotASCII(CFile* file);
    // The envelope (sum of B_f); the bandwidth goes to *maxOut when given.
    virtual LONGLONG Env(int* maxOut);
    virtual int GetClosestToMid(int v);
    virtual void TabuReorder2();
    // The bandwidth; vertex receives the first vertex reaching it (0 when
    // every B_f is 0).
    virtual int GetB(int& vertex);
    virtual int NumMovables(int v, int iteration);
    virtual void TabuReorder();
    // After pass 0: every row gets room for its counted degree, length 0.
    virtual void Init();
    // pass 0 counts, pass 1 fills the couplings of every pair of the n DOF
    // numbers; negative numbers (and numbers outside the graph) are skipped.
    virtual void InsertDOFs(LONG* dofs, int pass, int n);
    virtual int f_v(int v);
    virtual bool IsCandidate(int v, int u);
    // The mid label between v's label and its higher-labelled neighbours; v
    // becomes the first vertex carrying it, if any.
    virtual int mid(int& v);
    // Swaps the labels of a and b.
    virtual void Move(int a, int b);
    // The largest label distance from v to a neighbour; 0 without any.
    virtual int B_f(int v);

    void InitLabels(int value);
    // Every tabu mark := value (aux allocated when absent).
    void InitTabu(int value);
    // Number of unlabelled (negative-labelled) neighbours of v.
    int d_k(int v);
    int r_k(int v) { return d_k(v); }
    float S_k(int v);
    void GenRevCuthillMcKee() {}

    // The pattern of the renumbered matrix as script lines, every entry
    // valued with the 1-based vertex number of its column vertex.
    void MatlabWrite(CFile* file, CString name);

    // Heuristics. MinDegReorder writes its script into file (none when
    // null); the others open "Reord.m" in the script folder and do nothing
    // when it cannot be opened.
    void MinDegReorder(CFile* file);
    void MinDegReorder2();
    void MinDegReorder3();
    void MinDegReorder4();
    void Hager1();
    void Hager2();
    void Hager3();

    // Folder of the script file, shared by all objects; empty: the current
    // working folder.
    static void SetScriptFolder(const CString& folder);
    static CString GetScriptFolder();
    // The full name of the script file.
    static CString GetScriptPath();

    // Read access for the matrix classes and tests.
    const LONG* GetLabels() const { return m_pLabels; }
    const LONG* GetAux() const { return m_pAux; }

protected:
    CReorderMat();

    int SetLabels(int v, int& label, int slack);
    int MinZ();

    LONG* m_pLabels = nullptr;
    LONG* m_pAux = nullptr;
    int* m_pOrder = nullptr;
    int m_k = 0;
    int m_nMode = 0;

private:
    // aux with count entries, zeroed when it has to be made.
    LONG* EnsureAux();
    LONG AuxAt(int v) const { return m_pAux ? m_pAux[v] : 0; }
    // The label mid(v) returns, without looking for its vertex.
    int MidLabel(int v) const;
    bool CandidateFor(int m, int v, int u) const;
    // The selection and update of MinDegReorder2 (byRange false) and
    // MinDegReorder3 (byRange true).
    void RemainingDegreeOrder(bool byRange);
    // The three reverse orderings inside their common frame.
    void ReverseOrdering(int variant);

    // Membership marks of UnionAdj_Ex_p_i: vertex u is in the row being
    // merged when m_mark[u] equals m_stamp.
    std::vector<unsigned> m_mark;
    unsigned m_stamp = 0;
};
