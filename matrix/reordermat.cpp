#include "matrix/reordermat.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

template class CArrayArray<LONG>;

namespace {

// Folder of the heuristics' script file.
CString& ScriptFolder()
{
    static CString folder;
    return folder;
}

// Collects text and hands it to the file in large blocks (the file class
// writes straight to the system). Flush must be called at the end; what is
// left unflushed when a write fails is dropped.
class BlockWriter {
public:
    explicit BlockWriter(CFile* file) : m_file(file) { m_text.reserve(kBlock + 256); }
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    void Append(const char* text, int length)
    {
        m_text.append(text, static_cast<std::size_t>(length));
        if (m_text.size() >= kBlock)
            Flush();
    }
    void Flush()
    {
        if (!m_text.empty())
            m_file->Write(m_text.data(), static_cast<UINT>(m_text.size()));
        m_text.clear();
    }

private:
    static constexpr std::size_t kBlock = 1 << 16;
    CFile* m_file;
    std::string m_text;
};

template <class... Args>
void AppendFormat(BlockWriter& out, const char* format, Args... args)
{
    char line[256];
    const int length = std::snprintf(line, sizeof line, format, args...);
    if (length > 0)
        out.Append(line, length < static_cast<int>(sizeof line) ? length : sizeof line - 1);
}

} // namespace

CReorderMat::CReorderMat(int mode) : m_nMode(mode) {}

CReorderMat::CReorderMat() = default;

CReorderMat::~CReorderMat()
{
    delete[] m_pLabels;
    delete[] m_pAux;
}

void CReorderMat::Alloc(int n)
{
    if (n != m_nCount) {
        delete[] m_pLabels;
        delete[] m_pAux;
        m_pLabels = nullptr;
        m_pAux = nullptr;
        if (n > 0) {
            m_pLabels = new LONG[n];
            if (m_nMode == 1)
                m_pAux = new LONG[n];
        }
    }
    CArrayArray<LONG>::Alloc(n);
    for (int v = 0; v < m_nCount; ++v)
        m_pLabels[v] = v;
    if (m_nMode == 1 && m_pAux)
        std::fill(m_pAux, m_pAux + m_nCount, 0);
}

float CReorderMat::WFun(int x)
{
    if (x > 200)
        return 0.1f;
    if (x < 1)
        x = 1;
    return 20.0f / static_cast<float>(x);
}

int CReorderMat::Find(int value, int row)
{
    const LONG* r = m_pRows[row];
    const int length = m_pLengths[row];
    for (int i = 0; i < length; ++i) {
        if (r[i] == value)
            return i;
    }
    return -1;
}

int CReorderMat::GetRows()
{
    return m_nCount;
}

int CReorderMat::f_v_inv(int l)
{
    return m_pAux[l];
}

int CReorderMat::f_v(int v)
{
    return m_pLabels[v];
}

void CReorderMat::PostReorder()
{
    if (m_nCount < 1)
        return;
    LONG* aux = EnsureAux();
    std::fill(aux, aux + m_nCount, -1);
    for (int v = 0; v < m_nCount; ++v) {
        const LONG l = m_pLabels[v];
        if (l >= 0 && l < m_nCount)
            aux[l] = v;
    }
}

bool CReorderMat::Check()
{
    std::vector<int> seen(static_cast<std::size_t>(m_nCount), -1);
    for (int v = 0; v < m_nCount; ++v) {
        const LONG* r = m_pRows[v];
        for (int i = 0; i < m_pLengths[v]; ++i) {
            const LONG u = r[i];
            if (u < 0 || u >= m_nCount) {
                // Not a vertex: only a repetition counts.
                for (int j = 0; j < i; ++j) {
                    if (r[j] == u)
                        return false;
                }
                continue;
            }
            if (seen[static_cast<std::size_t>(u)] == v)
                return false;
            seen[static_cast<std::size_t>(u)] = v;
        }
    }
    return true;
}

int CReorderMat::UnionAdj_Ex_p_i(int p, int i)
{
    const LONG* rowP = m_pRows[p];
    const int lenP = m_pLengths[p];
    const LONG* rowI = m_pRows[i];
    const int lenI = m_pLengths[i];

    // Sized for the worst case; the length counts what is actually kept.
    const int room = lenP + lenI;
    LONG* merged = room > 0 ? new LONG[room] : nullptr;
    if (m_mark.size() != static_cast<std::size_t>(m_nCount)) {
        m_mark.assign(static_cast<std::size_t>(m_nCount), 0u);
        m_stamp = 0;
    }
    if (++m_stamp == 0) {
        std::fill(m_mark.begin(), m_mark.end(), 0u);
        m_stamp = 1;
    }
    int length = 0;
    for (int j = 0; j < lenP; ++j) {
        const LONG u = rowP[j];
        m_mark[static_cast<std::size_t>(u)] = m_stamp;
        if (u != i)
            merged[length++] = u;
    }
    for (int j = 0; j < lenI; ++j) {
        const LONG u = rowI[j];
        if (u != p && m_mark[static_cast<std::size_t>(u)] != m_stamp)
            merged[length++] = u;
    }
    if (length == 0) {
        delete[] merged;
        merged = nullptr;
    }
    AdoptRow(p, merged, room);
    m_pLengths[p] = length;
    return length;
}

LONGLONG CReorderMat::Env(int* maxOut)
{
    LONGLONG sum = 0;
    int band = 0;
    for (int v = 0; v < m_nCount; ++v) {
        const int b = B_f(v);
        sum += b;
        if (b > band)
            band = b;
    }
    if (maxOut)
        *maxOut = band;
    return sum;
}

int CReorderMat::GetB(int& vertex)
{
    int band = 0;
    vertex = 0;
    for (int v = 0; v < m_nCount; ++v) {
        const int b = B_f(v);
        if (b > band) {
            band = b;
            vertex = v;
        }
    }
    return band;
}

int CReorderMat::B_f(int v)
{
    const LONG lv = m_pLabels[v];
    const LONG* r = m_pRows[v];
    int band = 0;
    for (int i = 0; i < m_pLengths[v]; ++i) {
        const int d = std::abs(m_pLabels[r[i]] - lv);
        if (d > band)
            band = d;
    }
    return band;
}

int CReorderMat::NumMovables(int v, int iteration)
{
    int movables = 0;
    const LONG* r = m_pRows[v];
    for (int i = 0; i < m_pLengths[v]; ++i) {
        if (AuxAt(r[i]) < iteration)
            ++movables;
    }
    return movables;
}

int CReorderMat::MidLabel(int v) const
{
    const LONG lv = m_pLabels[v];
    LONG hi = lv;
    LONG lo = m_nCount;
    const LONG* r = m_pRows[v];
    for (int i = 0; i < m_pLengths[v]; ++i) {
        const LONG l = m_pLabels[r[i]];
        if (l > lv) {
            if (l > hi)
                hi = l;
            if (l < lo)
                lo = l;
        }
    }
    return static_cast<int>((static_cast<LONGLONG>(hi) + lo + 1) / 2);
}

int CReorderMat::mid(int& v)
{
    const int m = MidLabel(v);
    for (int u = 0; u < m_nCount; ++u) {
        if (m_pLabels[u] == m) {
            v = u;
            break;
        }
    }
    return m;
}

bool CReorderMat::CandidateFor(int m, int v, int u) const
{
    if (std::abs(m - m_pLabels[u]) < std::abs(m - m_pLabels[v]))
        return true;
    return AuxAt(u) < m_k;
}

bool CReorderMat::IsCandidate(int v, int u)
{
    return CandidateFor(MidLabel(v), v, u);
}

int CReorderMat::GetClosestToMid(int v)
{
    const int m = MidLabel(v);
    int best = std::abs(m - m_pLabels[v]);
    int closest = v;
    const LONG* r = m_pRows[v];
    for (int i = 0; i < m_pLengths[v]; ++i) {
        const int u = r[i];
        const int distance = std::abs(m - m_pLabels[u]);
        if (distance < best && CandidateFor(m, v, u)) {
            best = distance;
            closest = u;
        }
    }
    return closest;
}

void CReorderMat::Init()
{
    for (int v = 0; v < m_nCount; ++v) {
        const int counted = m_pLengths[v];
        NewRow(v, counted);
        if (counted > 0)
            std::fill(m_pRows[v], m_pRows[v] + counted, -1);
        m_pLengths[v] = 0;
    }
}

void CReorderMat::InsertDOFs(LONG* dofs, int pass, int n)
{
    if (n < 1 || (pass != 0 && pass != 1))
        return;
    const LONG count = m_nCount;
    for (int i = 0; i < n; ++i) {
        const LONG a = dofs[i];
        if (a < 0 || a >= count)
            continue;
        for (int j = i + 1; j < n; ++j) {
            const LONG b = dofs[j];
            if (b < 0 || b >= count || b == a)
                continue;
            if (pass == 0) {
                ++m_pLengths[a];
                ++m_pLengths[b];
            } else if (Find(a, b) < 0) {
                // Rows were sized by pass 0; one that is full was not
                // counted for this element and grows instead of overflowing.
                for (const LONG row : {a, b}) {
                    if (m_pLengths[row] == m_pCapacity[row]) {
                        const int room = 2 * m_pCapacity[row] + 4;
                        LONG* grown = new LONG[room];
                        std::copy(m_pRows[row], m_pRows[row] + m_pLengths[row], grown);
                        AdoptRow(row, grown, room);
                    }
                }
                m_pRows[a][m_pLengths[a]++] = b;
                m_pRows[b][m_pLengths[b]++] = a;
            }
        }
    }
}

void CReorderMat::Move(int a, int b)
{
    std::swap(m_pLabels[a], m_pLabels[b]);
}

void CReorderMat::InitLabels(int value)
{
    if (m_pLabels)
        std::fill(m_pLabels, m_pLabels + m_nCount, value);
}

void CReorderMat::InitTabu(int value)
{
    if (m_nCount < 1)
        return;
    LONG* aux = EnsureAux();
    std::fill(aux, aux + m_nCount, value);
}

LONG* CReorderMat::EnsureAux()
{
    if (!m_pAux && m_nCount > 0)
        m_pAux = new LONG[m_nCount]();
    return m_pAux;
}

int CReorderMat::d_k(int v)
{
    int unlabelled = 0;
    const LONG* r = m_pRows[v];
    for (int i = 0; i < m_pLengths[v]; ++i) {
        if (m_pLabels[r[i]] < 0)
            ++unlabelled;
    }
    return unlabelled;
}

float CReorderMat::S_k(int v)
{
    const int d = d_k(v);
    float sum = 0.0f;
    const LONG* r = m_pRows[v];
    for (int i = 0; i < m_pLengths[v]; ++i) {
        const int u = r[i];
        if (m_pLabels[u] > -1)
            sum += WFun(d_k(u));
    }
    return sum + WFun(std::min(m_k - d + 1, d + 1));
}

void CReorderMat::MatlabWrite(CFile* file, CString name)
{
    BlockWriter out(file);
    const char* n = name;
    AppendFormat(out, "%s = sparse(%u,%u);\r\n", n, static_cast<unsigned>(m_nCount),
                 static_cast<unsigned>(m_nCount));
    for (int v = 0; v < m_nCount; ++v) {
        const unsigned lv = static_cast<unsigned>(m_pLabels[v]) + 1;
        const LONG* r = m_pRows[v];
        for (int i = 0; i < m_pLengths[v]; ++i) {
            const int u = r[i];
            AppendFormat(out, "%s(%u,%u) = %u;\r\n", n, lv,
                         static_cast<unsigned>(m_pLabels[u]) + 1, static_cast<unsigned>(u) + 1);
        }
        AppendFormat(out, "%s(%u,%u) = %u;\r\n", n, lv, lv, static_cast<unsigned>(v) + 1);
    }
    out.Flush();
}

void CReorderMat::WritePlotASCII(CFile* file)
{
    const int count = m_nCount;
    // The first vertex of every label.
    std::vector<int> first(static_cast<std::size_t>(count), -1);
    for (int v = count - 1; v >= 0; --v) {
        const LONG l = m_pLabels[v];
        if (l >= 0 && l < count)
            first[static_cast<std::size_t>(l)] = v;
    }
    BlockWriter out(file);
    std::vector<unsigned> cells(static_cast<std::size_t>(count));
    for (int l = 0; l < count; ++l) {
        const int v = first[static_cast<std::size_t>(l)];
        if (v < 0)
            continue;
        std::fill(cells.begin(), cells.end(), 0u);
        cells[static_cast<std::size_t>(l)] = static_cast<unsigned>(l) + 1;
        const LONG* r = m_pRows[v];
        for (int i = 0; i < m_pLengths[v]; ++i) {
            const int u = r[i];
            const LONG c = m_pLabels[u];
            if (c >= 0 && c < count)
                cells[static_cast<std::size_t>(c)] = static_cast<unsigned>(u) + 1;
        }
        for (const unsigned cell : cells) {
            if (cell == 0)
                out.Append("   0", 4);
            else
                AppendFormat(out, "%7u", cell);
        }
        out.Append("\r\n", 2);
    }
    out.Flush();
}

void CReorderMat::SetScriptFolder(const CString& folder)
{
    ScriptFolder() = folder;
}

CString CReorderMat::GetScriptFolder()
{
    return ScriptFolder();
}

CString CReorderMat::GetScriptPath()
{
    std::string path = ScriptFolder().str();
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += "Reord.m";
    return CString(path);
}
