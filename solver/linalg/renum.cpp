// Node renumbering: shared checks, profile measures, prints and the error
// writer, and the graph method SWSNUM.
#include "solver/linalg/renum.h"

#include "solver/linalg/fwrite.h"
#include "solver/linalg/renum_common.h"

#include <algorithm>
#include <limits>

namespace solvika {

namespace renum {

const Layout kHeader("/ / / ' *** ERROR RETURN DURING NODE RENUMBERING'");
const Layout kCorrupt("5X 'Inconsistent (corrupt?) data'");
const Layout kErr1("5X 'Element' I8 '  connected to node' I8 / 5X 'in problem with only' I8 '  nodes'");
const Layout kErr2("5X 'Temporary scratch storage far too small'");
const Layout kErr3("5X 'Temporary scratch storage of' I8 '  locations' / 5X 'exceeded by' I8 '  locations'");
const Layout kErr4("5X I8 '  nodes out of' I8 '  are numbered'");
const Layout kErr5("5X 'No element connected to nodes on front'");
const Layout kErr6("5X 'Cannot find starting node'");
const Layout kErr7("5X 'No elements attached to node' I8");
const Layout kErr8("5X 'Cannot assemble adjacency list'");

bool checkElementNodes(const i32* MPELND, const i32* MELNOD, i32 NANOD, i32 NEL, i32 LUNIT, i32& IERR) {
    for (i32 e = 1; e <= NEL; ++e)
        for (i32 p = MPELND[e - 1]; p < MPELND[e]; ++p) {
            const i32 m = MELNOD[p - 1];
            if (m < 1 || m > NANOD) RENERR(1, e, m, NANOD, LUNIT, IERR);
        }
    return IERR == 0;
}

bool setAside(const i32* MSC, const i32* MNDPTR, i32 n) {
    bool retained = false;
    for (i32 d = MNDPTR[n - 1]; d < MNDPTR[n]; ++d) {
        if (MSC[d - 1] == 1) return false;
        if (MSC[d - 1] == 2) retained = true;
    }
    return retained;
}

i32 nodeIndex(const i32* MEXNOD, i32 NANOD, i32 external) {
    if (external == 0) return -1;
    for (i32 n = 0; n < NANOD; ++n)
        if (MEXNOD[n] == external) return n;
    return -1;
}

bool emptyModel(i32 NANOD, i32& start, i32& percent) {
    if (NANOD > 0) return false;
    start = 0;
    percent = 100;
    return true;
}

i32 percentage(i64 newProfile, i64 oldProfile) {
    if (oldProfile <= 0) return 100;
    return i32(std::min<i64>(newProfile * 100 / oldProfile, std::numeric_limits<i32>::max()));
}

} // namespace renum

using namespace renum;

void RENERR(std::int32_t code, std::int64_t v1, std::int64_t v2, std::int64_t v3, std::int32_t LUNIT,
            std::int32_t& IERR) {
    IERR = -1;
    if (LUNIT <= 0) return;
    fwrite(LUNIT, kHeader);
    switch (code) {
    case 1:
        fwrite(LUNIT, kCorrupt);
        fwrite(LUNIT, kErr1, {v1, v2, v3});
        break;
    case 2: fwrite(LUNIT, kErr2); break;
    case 3: fwrite(LUNIT, kErr3, {v1, v2}); break;
    case 4:
        fwrite(LUNIT, kCorrupt);
        fwrite(LUNIT, kErr4, {v1, v2});
        break;
    case 5:
        fwrite(LUNIT, kCorrupt);
        fwrite(LUNIT, kErr5);
        break;
    case 6:
        fwrite(LUNIT, kCorrupt);
        fwrite(LUNIT, kErr6);
        break;
    case 7: fwrite(LUNIT, kErr7, {v1}); break;
    case 8:
        fwrite(LUNIT, kErr8);
        fwrite(LUNIT, kCorrupt);
        break;
    default: break;
    }
}

void MXELDF(const std::int32_t* MNDPTR, const std::int32_t* MPELND, const std::int32_t* MELNOD,
            std::int32_t* MPAR) {
    i32 largest = 0;
    for (i32 e = 1; e <= MPAR[1]; ++e) {
        i32 dofs = 0;
        for (i32 p = MPELND[e - 1]; p < MPELND[e]; ++p) {
            const i32 n = MELNOD[p - 1];
            dofs += MNDPTR[n] - MNDPTR[n - 1];
        }
        largest = std::max(largest, dofs);
    }
    MPAR[19] = largest;
}

namespace {

const Layout kLocalPrint("/ / / 5X 'LOCAL PRINT FROM RENUMBERING ROUTINE SWSNUM:'");
const Layout kAdjacencySize("/ / / 5X 'Initial size of adjacency array =' I8 / 5X 'Final size of adjacency array   =' I8");
const Layout kStartEnd("/ / / 5X 'Start node for current comp. of graph =' I8 / "
                       "5X 'End node for current comp. of graph   =' I8");
const Layout kProfiles("/ / / 5X 'Profile length for \"old\" numbering =' I8 / "
                       "5X 'Bandwidth for \"old\" numbering      =' I8 / "
                       "5X 'Profile length for \"new\" numbering =' I8 / "
                       "5X 'Bandwidth for \"new\" numbering      =' I8");

// Node states in MNNN while SWSNUM numbers a part: 0 inactive (or not yet
// reached), -1 preactive (also the visit mark of a level structure), -2
// active, positive numbered.
constexpr i32 kPreactive = -1;
constexpr i32 kActive = -2;

// The adjacency graph of the nodes in the caller's scratch, with the level
// structure and priority arrays behind it. Node indices are 0-based.
class SloanNumbering {
public:
    SloanNumbering(i32 nanod, const i32* xadj, const i32* adj, i32* levels, i32* list, i32* prio, i32* mnnn)
        : m_n(nanod), m_xadj(xadj), m_adj(adj), m_levels(levels), m_list(list), m_prio(prio), m_state(mnnn) {}

    i32 degree(i32 v) const { return m_xadj[v + 1] - m_xadj[v]; }

    // Unnumbered node of smallest degree, lowest index on ties. Degrees do
    // not change and nodes only get numbered, so the search resumes where
    // the last one stopped while the smallest degree stays the same.
    i32 minimumDegreeNode() {
        if (m_lastDegree >= 0)
            for (i32 v = m_lastNode; v < m_n; ++v)
                if (m_state[v] == 0 && degree(v) == m_lastDegree) return m_lastNode = v;
        i32 best = -1;
        for (i32 v = 0; v < m_n; ++v)
            if (m_state[v] == 0 && (best < 0 || degree(v) < degree(best))) best = v;
        m_lastDegree = degree(best);
        return m_lastNode = best;
    }

    // Start and end node of the part holding `root` (a pseudo-peripheral
    // pair); leaves every node of the part its priority.
    void startAndEnd(i32 root, i32& start, i32& end) {
        i32 depth = 0, width = 0;
        const i32 partSize = build(root, kNoLimit, depth, width);
        i32 lastBuilt = root;
        start = root;
        end = -1;
        bool restart = true;
        while (restart) {
            restart = false;
            // Last level, one node of each distinct degree, by degree.
            i32* candidates = m_prio;
            i32 count = 0;
            for (i32 i = m_levels[depth - 1]; i < m_levels[depth]; ++i) {
                const i32 v = m_list[i], d = degree(v);
                i32 pos = count;
                bool seen = false;
                for (i32 c = 0; c < count; ++c) {
                    if (degree(candidates[c]) == d) seen = true;
                    if (degree(candidates[c]) > d && pos == count) pos = c;
                }
                if (seen) continue;
                for (i32 c = count; c > pos; --c) candidates[c] = candidates[c - 1];
                candidates[pos] = v;
                ++count;
            }
            i64 limit = i64(partSize) + 1;
            end = -1;
            for (i32 c = 0; c < count; ++c) {
                const i32 v = candidates[c];
                i32 d = 0, w = 0;
                build(v, limit, d, w);
                lastBuilt = v;
                if (w >= limit) continue;
                if (d > depth) {
                    start = v;
                    depth = d;
                    restart = true;
                    break;
                }
                end = v;
                limit = w;
            }
        }
        if (lastBuilt != end) build(end, kNoLimit, depth, width);
        for (i32 l = 0; l < depth; ++l)
            for (i32 i = m_levels[l]; i < m_levels[l + 1]; ++i) {
                const i32 v = m_list[i];
                m_prio[v] = l - 2 * (degree(v) + 1);
            }
    }

    // Numbers the part of `start` by priority; `next` is the last number
    // given so far.
    void numberPart(i32 start, i32& next) {
        i32* queue = m_list;
        i32 size = 0;
        queue[size++] = start;
        m_state[start] = kPreactive;
        while (size > 0) {
            i32 best = 0;
            for (i32 i = 1; i < size; ++i)
                if (m_prio[queue[i]] > m_prio[queue[best]]) best = i;
            const i32 v = queue[best];
            queue[best] = queue[--size];
            if (m_state[v] == kPreactive)
                for (i32 p = m_xadj[v]; p < m_xadj[v + 1]; ++p) {
                    const i32 u = m_adj[p];
                    m_prio[u] += 2;
                    if (m_state[u] == 0) {
                        m_state[u] = kPreactive;
                        queue[size++] = u;
                    }
                }
            m_state[v] = ++next;
            for (i32 p = m_xadj[v]; p < m_xadj[v + 1]; ++p) {
                const i32 u = m_adj[p];
                if (m_state[u] != kPreactive) continue;
                m_prio[u] += 2;
                m_state[u] = kActive;
                for (i32 q = m_xadj[u]; q < m_xadj[u + 1]; ++q) {
                    const i32 w = m_adj[q];
                    m_prio[w] += 2;
                    if (m_state[w] == 0) {
                        m_state[w] = kPreactive;
                        queue[size++] = w;
                    }
                }
            }
        }
    }

private:
    static constexpr i64 kNoLimit = std::numeric_limits<i64>::max();

    // Rooted level structure of `root` over the unnumbered nodes, stopped
    // once a level makes the width reach `limit`. Returns the node count;
    // levels l = 0..depth-1 are m_list[m_levels[l] .. m_levels[l + 1]).
    i32 build(i32 root, i64 limit, i32& depth, i32& width) {
        m_list[0] = root;
        m_state[root] = kPreactive;
        m_levels[0] = 0;
        m_levels[1] = 1;
        depth = 1;
        width = 1;
        i32 begin = 0, end = 1;
        while (width < limit) {
            i32 next = end;
            for (i32 i = begin; i < end; ++i) {
                const i32 v = m_list[i];
                for (i32 p = m_xadj[v]; p < m_xadj[v + 1]; ++p) {
                    const i32 u = m_adj[p];
                    if (m_state[u] != 0) continue;
                    m_state[u] = kPreactive;
                    m_list[next++] = u;
                }
            }
            if (next == end) break;
            m_levels[++depth] = next;
            width = std::max(width, next - end);
            begin = end;
            end = next;
        }
        for (i32 i = 0; i < end; ++i) m_state[m_list[i]] = 0;
        return end;
    }

    i32 m_n;
    const i32* m_xadj;
    const i32* m_adj;
    i32* m_levels;
    i32* m_list;
    i32* m_prio;
    i32* m_state;
    i32 m_lastDegree = -1;
    i32 m_lastNode = 0;
};

// Profile and bandwidth over the adjacency graph of a numbering.
template <class Number>
void adjacencyProfile(i32 nanod, const i32* xadj, const i32* adj, Number number, i64& profile, i32& bandwidth) {
    profile = 0;
    bandwidth = 0;
    for (i32 v = 0; v < nanod; ++v) {
        const i32 own = number(v);
        i32 lowest = own;
        for (i32 p = xadj[v]; p < xadj[v + 1]; ++p) lowest = std::min(lowest, number(adj[p]));
        const i32 row = own - lowest + 1;
        profile += row;
        bandwidth = std::max(bandwidth, row);
    }
}

} // namespace

void SWSNUM(const std::int32_t* MPELND, const std::int32_t* MELNOD, const std::int32_t* MEXNOD,
            const std::int32_t* MSC, const std::int32_t* MNDPTR, std::int32_t* work, std::int32_t* MNNN,
            std::int32_t NANOD, std::int32_t NEL, std::int32_t NWORK, std::int32_t IPRINT, std::int32_t LUNIT,
            bool retain, std::int32_t& start, std::int32_t& percent, std::int32_t& IERR) {
    IERR = 0;
    if (!checkElementNodes(MPELND, MELNOD, NANOD, NEL, LUNIT, IERR)) return;
    if (emptyModel(NANOD, start, percent)) return;
    const bool print = IPRINT >= 1 && LUNIT > 0;

    // Upper bound of each node's neighbour count, counted in MNNN.
    std::fill(MNNN, MNNN + NANOD, 0);
    i64 bound = 0;
    for (i32 e = 1; e <= NEL; ++e) {
        const i32 k = MPELND[e] - MPELND[e - 1];
        for (i32 p = MPELND[e - 1]; p < MPELND[e]; ++p) MNNN[MELNOD[p - 1] - 1] += k - 1;
        bound += i64(k) * (k - 1);
    }
    const i64 space = i64(NWORK) - NANOD - 1;
    if (bound > space) return RENERR(3, space, bound - space, 0, LUNIT, IERR);

    // Fill the lists, MNNN counting the entries of each.
    i32* xadj = work;
    i32* adj = work + NANOD + 1;
    xadj[0] = 0;
    for (i32 v = 0; v < NANOD; ++v) {
        xadj[v + 1] = xadj[v] + MNNN[v];
        MNNN[v] = 0;
    }
    for (i32 e = 1; e <= NEL; ++e)
        for (i32 p = MPELND[e - 1]; p < MPELND[e]; ++p)
            for (i32 q = p + 1; q < MPELND[e]; ++q) {
                const i32 a = MELNOD[p - 1] - 1, b = MELNOD[q - 1] - 1;
                if (a == b) continue;
                for (const auto& [from, to] : {std::pair{a, b}, std::pair{b, a}}) {
                    i32* list = adj + xadj[from];
                    const i32 used = MNNN[from];
                    if (std::find(list, list + used, to) != list + used) continue;
                    if (used == xadj[from + 1] - xadj[from]) return RENERR(8, 0, 0, 0, LUNIT, IERR);
                    list[used] = to;
                    ++MNNN[from];
                }
            }

    // Compress; every node needs a neighbour.
    i32 size = 0;
    for (i32 v = 0; v < NANOD; ++v) {
        const i32 first = xadj[v], used = MNNN[v];
        xadj[v] = size;
        std::copy(adj + first, adj + first + used, adj + size);
        size += used;
        if (used == 0) RENERR(7, MEXNOD[v], 0, 0, LUNIT, IERR);
    }
    xadj[NANOD] = size;
    if (IERR != 0) return;
    if (print) {
        fwrite(LUNIT, kLocalPrint);
        fwrite(LUNIT, kAdjacencySize, {bound, size});
    }

    const i64 needed = i64(NANOD + 1) + size + i64(NANOD + 1) + 2 * i64(NANOD);
    if (needed > NWORK) return RENERR(3, NWORK, needed - NWORK, 0, LUNIT, IERR);
    i32* levels = adj + size;
    i32* list = levels + NANOD + 1;
    i32* prio = list + NANOD;

    std::fill(MNNN, MNNN + NANOD, 0);
    i32 toNumber = NANOD;
    if (retain) {
        i32 last = NANOD;
        for (i32 v = NANOD - 1; v >= 0; --v)
            if (setAside(MSC, MNDPTR, v + 1)) MNNN[v] = last--;
        toNumber = last;
    }
    i32 given = nodeIndex(MEXNOD, NANOD, start);
    if (given >= 0 && MNNN[given] != 0) given = -1;

    SloanNumbering sloan(NANOD, xadj, adj, levels, list, prio, MNNN);
    i32 next = 0, lastStart = -1;
    while (next < toNumber) {
        const i32 root = given >= 0 ? given : sloan.minimumDegreeNode();
        given = -1;
        i32 first = 0, end = 0;
        sloan.startAndEnd(root, first, end);
        if (print) fwrite(LUNIT, kStartEnd, {MEXNOD[first], MEXNOD[end]});
        sloan.numberPart(first, next);
        lastStart = first;
    }

    i64 oldProfile = 0, newProfile = 0;
    i32 oldBand = 0, newBand = 0;
    adjacencyProfile(NANOD, xadj, adj, [](i32 v) { return v + 1; }, oldProfile, oldBand);
    adjacencyProfile(NANOD, xadj, adj, [MNNN](i32 v) { return MNNN[v]; }, newProfile, newBand);
    percent = percentage(newProfile, oldProfile);
    start = lastStart >= 0 ? MEXNOD[lastStart] : 0;
    if (print) fwrite(LUNIT, kProfiles, {oldProfile, oldBand, newProfile, newBand});
}

} // namespace solvika
