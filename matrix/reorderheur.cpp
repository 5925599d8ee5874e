// The renumbering heuristics of CReorderMat and their common frame: script
// "before", timed reordering, report, script "after".
#include <algorithm>
#include <exception>
#include <memory>
#include <numeric>
#include <vector>

#include "matrix/detail/message.h"
#include "matrix/detail/runtime.h"
#include "matrix/reordermat.h"
#include "platform/afx/safefile.h"

namespace {

const char kCloseMinDegree[] = "\r\n\r\nclose all;\r\n figure;\r\n spy(before);\r\n figure;\r\n"
                               " spy(after);\r\n r = symmmd(before);\r\nfigure;\r\n"
                               " spy(before(r,r));\r\n";
const char kClosePlain[] = "\r\n\r\nclose all;\r\n figure;\r\n spy(before);\r\n figure;\r\n"
                           " spy(after);\r\n";

// The script file of a heuristic; writing stops at the first failure, the
// reordering goes on.
class Script {
public:
    explicit Script(CFile* file) : m_file(file) {}

    void Pattern(CReorderMat& m, const char* name)
    {
        if (!m_file)
            return;
        try {
            m.MatlabWrite(m_file, name);
        } catch (CException&) {
            m_file = nullptr;
        }
    }
    void Text(const char* text)
    {
        if (!m_file)
            return;
        try {
            m_file->Write(text, static_cast<UINT>(std::char_traits<char>::length(text)));
        } catch (CException&) {
            m_file = nullptr;
        }
    }

private:
    CFile* m_file;
};

// The script file of the heuristics, written into a temporary file beside
// it that replaces an older script only when all of it was written; null
// when it cannot be created (a missing or read-only folder, a read-only
// script).
std::unique_ptr<afx::SafeFileWriter> OpenScript()
{
    try {
        return std::make_unique<afx::SafeFileWriter>(CReorderMat::GetScriptPath());
    } catch (const std::exception&) {
        return nullptr;
    }
}

// Puts a completely written script in place of the older one. After a
// failed write (which Script stopped at) the commit fails, removes the
// temporary file and the older script stays.
void CloseScript(afx::SafeFileWriter& script)
{
    try {
        script.Commit();
    } catch (const std::exception&) {
    }
}

// The first report line: whole minutes and the seconds within the minute.
CString TimeLine(double t)
{
    return CString("Used time reordering:   " + zelkor::detail::MinutesSeconds(t) + "\r\n");
}

// Script before, the timed body, script after with the closing lines of the
// minimum-degree variants, close (the script is then complete), then the
// report.
template <class Body, class Close>
void MinDegreeFrame(CReorderMat& m, CFile* file, Body body, Close close)
{
    Script script(file);
    script.Pattern(m, "before");
    const double start = zelkor::detail::ProcessSeconds();
    body();
    const double elapsed = zelkor::detail::ProcessSeconds() - start;
    script.Pattern(m, "after");
    script.Text(kCloseMinDegree);
    close();
    zelkor::detail::ShowMessage(TimeLine(elapsed));
}

// The same in the caller's file, which stays open for the caller.
template <class Body>
void MinDegreeFrame(CReorderMat& m, CFile* file, Body body)
{
    MinDegreeFrame(m, file, body, [] {});
}

// The same in the heuristic's own script file; nothing happens when it
// cannot be opened.
template <class Body>
void OwnMinDegreeFrame(CReorderMat& m, Body body)
{
    const std::unique_ptr<afx::SafeFileWriter> file = OpenScript();
    if (!file)
        return;
    MinDegreeFrame(m, &file->File(), body, [&] { CloseScript(*file); });
}

// The frame of the plain heuristics in their own script file: script
// before, the body (given the start time, returns its report), the report,
// then the script after with the plain closing lines. Nothing happens when
// the script cannot be opened.
template <class Body>
void OwnPlainFrame(CReorderMat& m, Body body)
{
    const std::unique_ptr<afx::SafeFileWriter> file = OpenScript();
    if (!file)
        return;
    Script script(&file->File());
    script.Pattern(m, "before");
    const double start = zelkor::detail::ProcessSeconds();
    zelkor::detail::ShowMessage(body(start));
    script.Pattern(m, "after");
    script.Text(kClosePlain);
    CloseScript(*file);
}

unsigned U(LONGLONG v)
{
    return static_cast<unsigned>(v);
}

} // namespace

void CReorderMat::MinDegReorder(CFile* file)
{
    MinDegreeFrame(*this, file, [this] {
        const int n = m_nCount;
        LONG* label = m_pLabels;
        for (int v = 0; v < n; ++v)
            label[v] = -m_pLengths[v];
        for (int s = 0; s + 1 < n; ++s) {
            int best = n + 2;
            int chosen = -1;
            for (int v = 0; v < n; ++v) {
                if (label[v] > 0)
                    continue;
                int score = 0;
                const LONG* r = m_pRows[v];
                for (int i = 0; i < m_pLengths[v]; ++i) {
                    const LONG l = label[r[i]];
                    if (l < 1)
                        score = std::max(score, -(l + s));
                }
                if (score < best) {
                    best = score;
                    chosen = v;
                }
            }
            if (label[s] <= 0)
                label[s] = label[chosen];
            label[chosen] = s + 1;
        }
        for (int v = 0; v < n; ++v) {
            if (label[v] <= 0)
                label[v] = n;
            --label[v];
        }
    });
}

void CReorderMat::RemainingDegreeOrder(bool byRange)
{
    const int n = m_nCount;
    LONG* label = m_pLabels;
    int lo = n;
    for (int v = 0; v < n; ++v) {
        label[v] = -m_pLengths[v];
        lo = std::min(lo, m_pLengths[v]);
    }
    for (int s = 0; s < n; ++s) {
        int chosen = -1;
        if (!byRange) {
            // Smallest remaining degree; a vertex at the known lower bound
            // ends the scan.
            int best = n + 2;
            for (int v = 0; v < n; ++v) {
                const int d = -label[v];
                if (d < 0)
                    continue;
                if (d < best) {
                    best = d;
                    chosen = v;
                }
                if (d == lo)
                    break;
            }
        } else {
            // Smallest spread of the counted neighbours around the step.
            int best = n + 2;
            for (int v = 0; v < n; ++v) {
                if (label[v] >= 1)
                    continue;
                int lov = n;
                int hiv = 0;
                const LONG* r = m_pRows[v];
                for (int j = 0; j < m_pLengths[v]; ++j) {
                    if (label[j] < 0) {
                        lov = std::min(lov, static_cast<int>(r[j]));
                        hiv = std::max(hiv, static_cast<int>(r[j]));
                    }
                }
                const int score = std::max(std::abs(s - lov), std::abs(hiv - s));
                if (score < best) {
                    best = score;
                    chosen = v;
                }
            }
        }
        const int d = -label[chosen];
        const LONG* r = m_pRows[chosen];
        for (int i = 0; i < m_pLengths[chosen]; ++i) {
            if (label[r[i]] < 0)
                ++label[r[i]];
        }
        lo = std::max(d - 1, 0);
        label[chosen] = s + 1;
    }
    for (int v = 0; v < n; ++v)
        --label[v];
}

void CReorderMat::MinDegReorder2()
{
    OwnMinDegreeFrame(*this, [this] { RemainingDegreeOrder(false); });
}

void CReorderMat::MinDegReorder3()
{
    OwnMinDegreeFrame(*this, [this] { RemainingDegreeOrder(true); });
}

int CReorderMat::SetLabels(int v, int& label, int slack)
{
    // The chain is followed in a loop: it may be as long as the graph.
    int first = -1;
    for (;;) {
        m_pLabels[v] = label;
        const int bound = m_pLengths[v] + slack + 1;
        int best = bound;
        int next = -1;
        const LONG* r = m_pRows[v];
        const int length = m_pLengths[v];
        for (int i = 0; i < length; ++i) {
            const int u = r[i];
            if (m_pLabels[u] >= 0)
                continue;
            const int d = UnionAdj_Ex_p_i(u, v);
            if (d < best) {
                best = d;
                next = u;
            }
        }
        if (first < 0)
            first = best;
        if (next < 0)
            return first;
        ++label;
        v = next;
    }
}

void CReorderMat::MinDegReorder4()
{
    OwnMinDegreeFrame(*this, [this] {
        const int n = m_nCount;
        CArrayArray<LONG> adjacency;
        adjacency.Assign(*this);
        for (int v = 0; v < n; ++v)
            m_pLabels[v] = -1 - m_pLabels[v];
        int label = 0;
        while (label < n) {
            int smallest = n;
            int second = n;
            int chosen = -1;
            for (int v = 0; v < n; ++v) {
                if (m_pLabels[v] >= 0)
                    continue;
                const int length = m_pLengths[v];
                if (length < smallest) {
                    second = smallest;
                    smallest = length;
                    chosen = v;
                } else if (length < second) {
                    second = length;
                }
            }
            if (chosen < 0)
                break;
            SetLabels(chosen, label, second - smallest);
            ++label;
        }
        Assign(adjacency);
    });
}

void CReorderMat::TabuReorder()
{
    OwnPlainFrame(*this, [&](double start) {
        const int n = m_nCount;
        const int tenure = std::max(n / 10, 1);
        int v = 0;
        const int b0 = GetB(v);
        const LONGLONG e0 = Env(nullptr);
        LONGLONG envelope = e0;
        int band = b0;
        int swaps = 0;
        LONG* aux = EnsureAux();
        for (m_k = 0; m_k < n; ++m_k) {
            const int u = GetClosestToMid(v);
            if (u == v || u < 0) {
                // A fresh start at a random vertex, 0 .. n-1.
                v = static_cast<int>((static_cast<LONGLONG>(zelkor::detail::Rand15()) * n - 1) / 32767);
            } else if (aux[u] <= m_k) {
                const int before = B_f(v);
                const int moved = v;
                Move(moved, u);
                const LONGLONG e = Env(nullptr);
                const int b = GetB(v);
                if (B_f(moved) <= before) {
                    ++swaps;
                    aux[moved] = aux[u] = m_k + tenure;
                    envelope = e;
                    band = b;
                } else {
                    Move(moved, u);
                }
            }
        }

        const double elapsed = zelkor::detail::ProcessSeconds() - start;
        CString report = TimeLine(elapsed);
        report.AppendFormat(" Old bandwidth. :   %u\r\n New bandwidth  :   %u\r\n Nr. of switches:   %u\r\n"
                            " Old env        :   %u\r\n new env        :   %u\r\n",
                            U(b0), U(band), U(swaps), U(e0), U(envelope));
        return report;
    });
}

void CReorderMat::TabuReorder2()
{
    const int n = m_nCount;
    if (n < 1)
        return;
    const int tenure = n / 100;
    LONG* aux = EnsureAux();
    // The first vertex carrying each label, renewed every iteration.
    std::vector<int> carrier(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        std::fill(carrier.begin(), carrier.end(), -1);
        for (int v = n - 1; v >= 0; --v) {
            const LONG l = m_pLabels[v];
            if (l >= 0 && l < n)
                carrier[static_cast<std::size_t>(l)] = v;
        }
        int best = 0;
        int chosen = -1;
        int partner = -1;
        for (int v = 0; v < n; ++v) {
            if (aux[v] > i)
                continue;
            const int m = MidLabel(v);
            const int carrierOfM = m < n ? carrier[static_cast<std::size_t>(m)] : -1;
            const int mv = carrierOfM >= 0 ? carrierOfM : v;
            if (aux[mv] > i)
                continue;
            const int score = IsCandidate(mv, v) ? B_f(v) : 0;
            if (score > best) {
                best = score;
                chosen = v;
                partner = mv;
            }
        }
        if (chosen < 0)
            return;
        Move(chosen, partner);
        aux[chosen] = aux[partner] = i + tenure;
    }
}

int CReorderMat::MinZ()
{
    if (!m_pOrder || !m_pAux)
        return 0;
    int best = 0;
    for (int i = 1; i <= m_k; ++i) {
        const int v = m_pOrder[i];
        const int b = m_pOrder[best];
        if (m_pAux[v] > m_pAux[b] || (m_pAux[v] == m_pAux[b] && m_pAux[b] > 0 && v < b))
            best = i;
    }
    return best;
}

void CReorderMat::ReverseOrdering(int variant)
{
    OwnPlainFrame(*this, [&](double start) {
        int b0 = 0;
        const LONGLONG e0 = Env(&b0);
        const int n = m_nCount;
        if (n > 0) {
            InitLabels(-1);
            LONG* aux = EnsureAux();
            if (variant == 1) {
                m_pOrder = new int[n];
                std::iota(m_pOrder, m_pOrder + n, 0);
                std::fill(aux, aux + n, 0);
                int smallest = n + 1;
                int first = n - 1;
                for (int v = n - 1; v >= 0; --v) {
                    if (m_pLengths[v] < smallest) {
                        smallest = m_pLengths[v];
                        first = v;
                    }
                }
                std::swap(m_pOrder[first], m_pOrder[n - 1]);
                int v = first;
                m_k = n - 1;
                for (;;) {
                    m_pLabels[v] = m_k;
                    const LONG* r = m_pRows[v];
                    for (int i = 0; i < m_pLengths[v]; ++i)
                        ++aux[r[i]];
                    if (--m_k < 0)
                        break;
                    const int p = MinZ();
                    v = m_pOrder[p];
                    std::swap(m_pOrder[p], m_pOrder[m_k]);
                }
                delete[] m_pOrder;
                m_pOrder = nullptr;
            } else {
                m_pOrder = aux;
                std::iota(m_pOrder, m_pOrder + n, 0);
                std::vector<float> w;
                float c = 0.0f;
                if (variant == 3) {
                    w.resize(static_cast<std::size_t>(n));
                    for (int v = 0; v < n; ++v) {
                        const int d = d_k(v);
                        w[static_cast<std::size_t>(v)] = WFun(std::min(d + 1, n - d));
                    }
                    c = WFun(1);
                }
                for (m_k = n - 1; m_k >= 0; --m_k) {
                    int pos = -1;
                    if (variant == 2) {
                        int best = -1;
                        for (int i = 0; i <= m_k; ++i) {
                            const int score = static_cast<int>(S_k(m_pOrder[i]));
                            if (score >= best) {
                                best = score;
                                pos = i;
                            }
                        }
                    } else {
                        float best = -1.0f;
                        for (int i = 0; i <= m_k; ++i) {
                            const float wi = w[static_cast<std::size_t>(m_pOrder[i])];
                            if (wi >= best) {
                                best = wi;
                                pos = i;
                            }
                        }
                    }
                    std::swap(m_pOrder[pos], m_pOrder[m_k]);
                    const int v = m_pOrder[m_k];
                    m_pLabels[v] = m_k;
                    if (variant == 3) {
                        const LONG* r = m_pRows[v];
                        const int length = m_pLengths[v];
                        for (int i = 0; i < length; ++i) {
                            const int u = r[i];
                            if (m_pLabels[u] >= 0 && w[static_cast<std::size_t>(u)] != c)
                                w[static_cast<std::size_t>(u)] = WFun(d_k(u));
                        }
                        const int dv = d_k(v);
                        if (dv == 0) {
                            w[static_cast<std::size_t>(v)] = 0.0f;
                        } else {
                            w[static_cast<std::size_t>(v)] = WFun(dv);
                            for (int i = 0; i < length; ++i) {
                                const int u = r[i];
                                if (m_pLabels[u] >= 0)
                                    continue;
                                float sum = 0.0f;
                                const LONG* ru = m_pRows[u];
                                for (int j = 0; j < m_pLengths[u]; ++j) {
                                    if (m_pLabels[ru[j]] >= 0)
                                        sum += w[static_cast<std::size_t>(ru[j])];
                                }
                                w[static_cast<std::size_t>(u)] = WFun(std::min(m_k - d_k(u), n)) + sum;
                            }
                        }
                    }
                }
                m_pOrder = nullptr;
            }
        }

        int b1 = 0;
        const LONGLONG e1 = Env(&b1);
        const double elapsed = zelkor::detail::ProcessSeconds() - start;
        // A graph without couplings keeps its (zero) measures: 100 per cent.
        const double bandShare = b0 > 0 ? 100.0 * b1 / b0 : 100.0;
        const double envShare = e0 > 0 ? 100.0 * static_cast<double>(e1) / static_cast<double>(e0) : 100.0;
        CString report = TimeLine(elapsed);
        report.AppendFormat(" Old bandwidth.        :   %u\r\n New bandwidth        :   %5.1f%%\r\n"
                            " Old env                   :   %u\r\n new env                  :   %5.1f%%\r\n",
                            U(b0), bandShare, U(e0), envShare);
        return report;
    });
}

void CReorderMat::Hager1()
{
    ReverseOrdering(1);
}

void CReorderMat::Hager2()
{
    ReverseOrdering(2);
}

void CReorderMat::Hager3()
{
    ReverseOrdering(3);
}
