// Renumbering by elements: profile front minimisation (PFMREN, worker
// PFMNUM) and element-wise breadth-first ordering (ELWREN, worker ELWNUM).
#include "solver/linalg/renum.h"

#include "solver/linalg/fwrite.h"
#include "solver/linalg/renum_common.h"

#include <algorithm>
#include <limits>

namespace solvika {

namespace {

using namespace renum;

const Layout kTableSize("/ / / 5X 'Size of table MMNCE  =' I8");
const Layout kOldProfile("/ / / 5X '\"OLD\" PROFILE-LENGTH =' I8 / 5X '\"OLD\" BANDWIDTH      =' I8");
const Layout kNewProfile("/ / / 5X '\"NEW\" PROFILE-LENGTH =' I8 / 5X '\"NEW\" BANDWIDTH      =' I8 / "
                         "5X 'START NODE NUMBER    =' I8");
const Layout kDepth("5X 'Parameter NDEEP      =' I8");
const Layout kPfmOrder("'1' 5X 'Elements \"eliminated\" in the following order' / "
                       "5X 'during node renumbering (by PFMNUM) :' /");
const Layout kElwOrder("'1' 5X 'Elements \"eliminated\" in the following order' / "
                       "5X 'during node renumbering (by ELWNUM) :' /");
const Layout kElement("I12");
const Layout kTableTitle("'1' 4X 'Table of \"new\" node numbers:' /");
const Layout kTableHead("/ 6X 72('-') / 14X 'I' / 7X 'INDEX' 2X 'I' 5X '1' 5X '2' 5X '3' 5X '4' 5X '5' 5X '6' "
                        "5X '7' 5X '8' 5X '9' 4X '10' / 14X 'I' / 6X 72('-') / 14X 'I'");
const Layout kTableRow("I12 2X 'I' I7 9I6 / 14X 'I'");
const Layout kTableEnd("6X 72('-')");

constexpr i32 kDeep = 3;
constexpr i32 kSearchBound = 100000000;

// Node states in MNNN while a worker runs: 0 normal node not yet on the
// front (not visited), -1 on the front (visited), -2 / -3 the same for a
// set-aside node, positive an elimination number.
constexpr i32 kOnFront = -1;
constexpr i32 kAside = -2;
constexpr i32 kAsideOnFront = -3;

// The scratch of both workers and what they share: element weights (-1
// once eliminated), node weights, the front or queue, and the node-to-
// element lists MPNCE / MMNCE (0-based positions, 0-based elements).
struct Elements {
    i32 nanod, nel;
    const i32* mpelnd;
    const i32* melnod;
    i32* elementWeight;
    i32* nodeWeight;
    i32* list;
    i32* mpnce;
    i32* mmnce;
    i32* state;  // MNNN
    i32 lunit, print;
    // Cost of each element for PFMNUM, kept up to date when the scratch
    // has room for it behind MMNCE (null otherwise: costs are computed
    // where they are needed).
    i32* costs = nullptr;

    // Nodes of element e (0-based) as 0-based indices: melnod[first..last).
    i32 first(i32 e) const { return mpelnd[e] - 1; }
    i32 last(i32 e) const { return mpelnd[e + 1] - 1; }
    i32 node(i32 p) const { return melnod[p] - 1; }

    // Weights of every node and element (all elements remaining): NDEEP
    // rounds of element = sum of its nodes, node = sum of its elements.
    // An element weight is capped so that no node weight, the exact sum of
    // its elements' weights, can pass the 32-bit range.
    void computeWeights() {
        i32 incidences = 1;
        for (i32 v = 0; v < nanod; ++v) incidences = std::max(incidences, mpnce[v + 1] - mpnce[v]);
        const i64 cap = std::numeric_limits<i32>::max() / incidences;
        std::fill(nodeWeight, nodeWeight + nanod, 1);
        for (i32 round = 0; round < kDeep; ++round) {
            for (i32 e = 0; e < nel; ++e) {
                i64 sum = 0;
                for (i32 p = first(e); p < last(e); ++p) sum += nodeWeight[node(p)];
                elementWeight[e] = i32(std::min(sum, cap));
            }
            for (i32 v = 0; v < nanod; ++v) {
                i32 sum = 0;
                for (i32 p = mpnce[v]; p < mpnce[v + 1]; ++p) sum += elementWeight[mmnce[p]];
                nodeWeight[v] = sum;
            }
        }
    }

    // Node of smallest positive weight (at most the bound), the highest
    // index on ties; -1 when none. The weights of the elements not yet
    // eliminated are those of the first computation: every part is removed
    // whole, and the parts share no node.
    i32 searchStart() const {
        i32 best = -1, smallest = kSearchBound;
        for (i32 v = 0; v < nanod; ++v) {
            const i32 w = nodeWeight[v];
            if (w > 0 && w <= smallest) {
                smallest = w;
                best = v;
            }
        }
        return best;
    }

    void printEliminated(i32 e) const {
        if (print >= 4 && lunit > 0) fwrite(lunit, kElement, {e + 1});
    }
};

void putOnFront(i32* state, i32 v) { state[v] = state[v] == kAside ? kAsideOnFront : kOnFront; }

// Cost of eliminating a remaining element: over its nodes, -3 where it is
// the node's last remaining element, -1 for a normal node on the front,
// +3 for a normal node not yet on it.
i32 eliminationCost(const Elements& m, i32 e) {
    const i32 weight = m.elementWeight[e];
    i32 cost = 0;
    for (i32 p = m.first(e); p < m.last(e); ++p) {
        const i32 u = m.node(p);
        if (m.nodeWeight[u] == weight) cost -= 3;
        if (m.state[u] == kOnFront) cost -= 1;
        else if (m.state[u] == 0) cost += 3;
    }
    return cost;
}

// A cost depends on the weights and states of the element's nodes only:
// when those of node v change, its remaining elements are costed again.
void updateCosts(Elements& m, i32 v) {
    if (m.costs == nullptr) return;
    for (i32 q = m.mpnce[v]; q < m.mpnce[v + 1]; ++q) {
        const i32 e = m.mmnce[q];
        if (m.elementWeight[e] >= 0) m.costs[e] = eliminationCost(m, e);
    }
}

// Profile front minimisation. Returns the number of nodes numbered, or -1
// after an error; `firstStart` is the start node of the first part.
i32 PFMNUM(Elements& m, i32 given, i32& firstStart, i32& IERR) {
    if (m.print >= 2 && m.lunit > 0) fwrite(m.lunit, kDepth, {kDeep});
    if (m.print >= 4 && m.lunit > 0) fwrite(m.lunit, kPfmOrder);
    m.computeWeights();
    if (m.costs != nullptr)
        for (i32 e = 0; e < m.nel; ++e) m.costs[e] = eliminationCost(m, e);
    i32* front = m.list;
    i32* state = m.state;
    i32 eliminated = 0;
    firstStart = -1;
    for (bool firstPart = true;; firstPart = false) {
        i32 s = m.searchStart();
        if (firstPart && given >= 0) s = given;
        if (s < 0) break;
        if (firstPart) firstStart = s;
        i32 size = 0;
        front[size++] = s;
        putOnFront(state, s);
        updateCosts(m, s);
        while (size > 0) {
            i32 best = -1, bestCost = 0;
            for (i32 i = 0; i < size; ++i) {
                const i32 v = front[i];
                for (i32 q = m.mpnce[v]; q < m.mpnce[v + 1]; ++q) {
                    const i32 e = m.mmnce[q];
                    if (m.elementWeight[e] < 0) continue;
                    const i32 cost = m.costs != nullptr ? m.costs[e] : eliminationCost(m, e);
                    if (best < 0 || cost < bestCost) {
                        best = e;
                        bestCost = cost;
                    }
                }
            }
            if (best < 0) {
                RENERR(5, 0, 0, 0, m.lunit, IERR);
                return -1;
            }
            const i32 weight = m.elementWeight[best];
            for (i32 p = m.first(best); p < m.last(best); ++p) {
                const i32 u = m.node(p);
                m.nodeWeight[u] -= weight;
                if (state[u] == 0 || state[u] == kAside) {
                    putOnFront(state, u);
                    front[size++] = u;
                }
                if (m.nodeWeight[u] != 0) continue;
                state[u] = state[u] == kOnFront ? ++eliminated : kAside;
                i32* at = std::find(front, front + size, u);
                std::copy(at + 1, front + size, at);
                --size;
            }
            m.elementWeight[best] = -1;
            for (i32 p = m.first(best); p < m.last(best); ++p) updateCosts(m, m.node(p));
            m.printEliminated(best);
        }
    }
    for (i32 v = 0; v < m.nanod; ++v)
        if (state[v] > 0) state[v] = eliminated - state[v] + 1;
    return eliminated;
}

// Element-wise breadth-first ordering. Returns the number of nodes
// numbered, or -1 after an error; `firstStart` is the start node of the
// first part.
i32 ELWNUM(Elements& m, i32 given, i32& firstStart, i32& IERR) {
    if (m.print >= 2 && m.lunit > 0) fwrite(m.lunit, kDepth, {kDeep});
    if (m.print >= 4 && m.lunit > 0) fwrite(m.lunit, kElwOrder);
    m.computeWeights();
    i32* queue = m.list;
    i32* state = m.state;
    i32 size = 0, eliminated = 0;
    firstStart = -1;
    for (bool firstPart = true; eliminated < m.nel; firstPart = false) {
        i32 s = m.searchStart();
        if (firstPart && given >= 0) s = given;
        if (s < 0) {
            RENERR(6, 0, 0, 0, m.lunit, IERR);
            return -1;
        }
        if (firstPart) firstStart = s;
        i32 head = size;
        queue[size++] = s;
        putOnFront(state, s);
        while (head < size) {
            const i32 v = queue[head++];
            for (i32 q = m.mpnce[v]; q < m.mpnce[v + 1]; ++q) {
                const i32 e = m.mmnce[q];
                if (m.elementWeight[e] < 0) continue;
                for (i32 p = m.first(e); p < m.last(e); ++p) {
                    const i32 u = m.node(p);
                    if (state[u] != 0 && state[u] != kAside) continue;
                    putOnFront(state, u);
                    queue[size++] = u;
                }
                m.elementWeight[e] = -1;
                ++eliminated;
                m.printEliminated(e);
            }
            m.nodeWeight[v] = 0;  // every element of v is eliminated now
        }
    }
    i32 numbered = 0;
    for (i32 i = size - 1; i >= 0; --i) {
        const i32 v = queue[i];
        state[v] = state[v] == kOnFront ? ++numbered : kAside;
    }
    return numbered;
}

// Profile and bandwidth of the numbering in MNNN over the nodes that share
// an element; nodes without a positive number are left out.
void elementProfile(const Elements& m, i64& profile, i32& bandwidth) {
    profile = 0;
    bandwidth = 0;
    for (i32 v = 0; v < m.nanod; ++v) {
        const i32 own = m.state[v];
        if (own <= 0) continue;
        i32 lowest = own;
        for (i32 q = m.mpnce[v]; q < m.mpnce[v + 1]; ++q) {
            const i32 e = m.mmnce[q];
            for (i32 p = m.first(e); p < m.last(e); ++p) {
                const i32 n = m.state[m.node(p)];
                if (n > 0 && n < lowest) lowest = n;
            }
        }
        const i32 row = own - lowest + 1;
        profile += row;
        bandwidth = std::max(bandwidth, row);
    }
}

void printTable(const i32* MNNN, i32 NANOD, i32 LUNIT) {
    fwrite(LUNIT, kTableTitle);
    fwrite(LUNIT, kTableHead);
    for (i32 offset = 0; offset < NANOD; offset += 10) {
        FArg row[11] = {offset, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        const i32 count = std::min(10, NANOD - offset);
        for (i32 i = 0; i < count; ++i) row[i + 1] = FArg(MNNN[offset + i]);
        fwrite(LUNIT, kTableRow, std::span<const FArg>(row, std::size_t(count) + 1));
    }
    fwrite(LUNIT, kTableEnd);
}

using Worker = i32 (*)(Elements&, i32, i32&, i32&);

void renumberByElements(Worker worker, const i32* MPELND, const i32* MELNOD, const i32* MEXNOD, const i32* MSC,
                        const i32* MNDPTR, i32* work, i32* MNNN, i32 NANOD, i32 NEL, i32 NWORK, i32 IPRINT,
                        i32 LUNIT, bool retain, i32& start, i32& percent, i32& IERR) {
    IERR = 0;
    if (!checkElementNodes(MPELND, MELNOD, NANOD, NEL, LUNIT, IERR)) return;
    if (emptyModel(NANOD, start, percent)) return;
    const i32 given = nodeIndex(MEXNOD, NANOD, start);
    const i64 space = i64(NWORK) - NEL - 3 * i64(NANOD) - 1;
    if (space < 0) return RENERR(2, 0, 0, 0, LUNIT, IERR);

    Elements m{NANOD, NEL, MPELND, MELNOD, work, work + NEL, work + NEL + NANOD, work + NEL + 2 * i64(NANOD),
               work + NEL + 3 * i64(NANOD) + 1, MNNN, LUNIT, IPRINT};

    // Node-to-element lists: count, check, then fill element by element.
    std::fill(m.mpnce, m.mpnce + NANOD + 1, 0);
    for (i32 e = 0; e < NEL; ++e)
        for (i32 p = m.first(e); p < m.last(e); ++p) ++m.mpnce[m.node(p) + 1];
    i64 total = 0;
    for (i32 v = 0; v < NANOD; ++v) {
        if (m.mpnce[v + 1] == 0) RENERR(7, MEXNOD[v], 0, 0, LUNIT, IERR);
        total += m.mpnce[v + 1];
    }
    if (IERR != 0) return;
    if (total > space) return RENERR(3, NWORK, total - space, 0, LUNIT, IERR);
    for (i32 v = 0; v < NANOD; ++v) {
        m.mpnce[v + 1] += m.mpnce[v];
        m.list[v] = m.mpnce[v];  // fill position
    }
    for (i32 e = 0; e < NEL; ++e)
        for (i32 p = m.first(e); p < m.last(e); ++p) m.mmnce[m.list[m.node(p)]++] = e;
    if (space - total >= NEL) m.costs = m.mmnce + total;
    const bool print = LUNIT > 0;
    if (print && IPRINT >= 2) fwrite(LUNIT, kTableSize, {total});

    // Old numbering: input order, set-aside nodes left out.
    i32 numbered = 0;
    for (i32 v = 0; v < NANOD; ++v)
        MNNN[v] = retain && setAside(MSC, MNDPTR, v + 1) ? kAside : ++numbered;
    i64 oldProfile = 0;
    i32 oldBand = 0;
    elementProfile(m, oldProfile, oldBand);
    for (i32 v = 0; v < NANOD; ++v)
        if (MNNN[v] > 0) MNNN[v] = 0;
    if (print && IPRINT >= 1) fwrite(LUNIT, kOldProfile, {oldProfile, oldBand});

    i32 first = -1;
    const i32 count = worker(m, given, first, IERR);
    if (count < 0) return;
    if (!retain && count != NANOD) return RENERR(4, count, NANOD, 0, LUNIT, IERR);

    i64 newProfile = 0;
    i32 newBand = 0;
    elementProfile(m, newProfile, newBand);
    start = first >= 0 ? MEXNOD[first] : 0;
    percent = percentage(newProfile, oldProfile);
    if (print && IPRINT >= 1) fwrite(LUNIT, kNewProfile, {newProfile, newBand, start});

    i32 next = count;
    for (i32 v = 0; v < NANOD; ++v)
        if (MNNN[v] <= 0) MNNN[v] = ++next;
    if (print && IPRINT >= 3) printTable(MNNN, NANOD, LUNIT);
}

} // namespace

void PFMREN(const std::int32_t* MPELND, const std::int32_t* MELNOD, const std::int32_t* MEXNOD,
            const std::int32_t* MSC, const std::int32_t* MNDPTR, std::int32_t* work, std::int32_t* MNNN,
            std::int32_t NANOD, std::int32_t NEL, std::int32_t NWORK, std::int32_t IPRINT, std::int32_t LUNIT,
            bool retain, std::int32_t& start, std::int32_t& percent, std::int32_t& IERR) {
    renumberByElements(PFMNUM, MPELND, MELNOD, MEXNOD, MSC, MNDPTR, work, MNNN, NANOD, NEL, NWORK, IPRINT, LUNIT,
                       retain, start, percent, IERR);
}

void ELWREN(const std::int32_t* MPELND, const std::int32_t* MELNOD, const std::int32_t* MEXNOD,
            const std::int32_t* MSC, const std::int32_t* MNDPTR, std::int32_t* work, std::int32_t* MNNN,
            std::int32_t NANOD, std::int32_t NEL, std::int32_t NWORK, std::int32_t IPRINT, std::int32_t LUNIT,
            bool retain, std::int32_t& start, std::int32_t& percent, std::int32_t& IERR) {
    renumberByElements(ELWNUM, MPELND, MELNOD, MEXNOD, MSC, MNDPTR, work, MNNN, NANOD, NEL, NWORK, IPRINT, LUNIT,
                       retain, start, percent, IERR);
}

} // namespace solvika
