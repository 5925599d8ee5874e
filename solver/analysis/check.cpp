// Input checks of a run and the topology check that builds the node and
// element tables.
#include "solver/analysis/check.h"

#include "solver/analysis/errmsg.h"
#include "solver/linalg/fwrite.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace solvika {

namespace {

using i32 = std::int32_t;

const ElementKind kKinds[] = {
    {31, 3, 3, 2, 2}, {32, 6, 6, 2, 2}, {33, 3, 3, 6, 6}, {35, 3, 3, 3, 3}, {41, 4, 4, 2, 2},
    {42, 4, 4, 2, 2}, {44, 8, 8, 2, 2}, {46, 8, 8, 2, 2}, {61, 6, 6, 1, 1}, {65, 3, 3, 3, 3},
    {66, 3, 3, 3, 3}, {75, 6, 3, 3, 2}, {81, 3, 3, 6, 6}, {85, 6, 3, 6, 1}, {91, 4, 4, 3, 3},
};

const Layout kTooFewRows("/ 5X 'Too few rows in the ' A ' array:' I4 ' given,' I4 ' needed'");

void stop(i32* status, i32 code, i32 v2, i32 v3, i32 v4, i32 lunit) {
    status[0] = code;
    status[1] = v2;
    status[2] = v3;
    status[3] = v4;
    ERRMSG(status, lunit);
}

// -1 when the topology array cannot hold the nodes of the code; true when
// it stopped the run.
bool topologyTooShort(const ElementKind& kind, i32 nel, i32 rows, i32 lunit, i32* status) {
    if (nel < 1 || rows >= kind.nodes + 1) return false;
    if (lunit > 0) fwrite(lunit, kTooFewRows, {"topology", rows, kind.nodes + 1});
    stop(status, -1, 0, 1, std::max(rows, 1), lunit);
    return true;
}

// A node of a boundary-condition or spring row: inside 1..nanod with a DOF
// of at least 1.
bool rowInRange(i32 node, i32 dof, i32 nanod) { return node >= 1 && node <= nanod && dof >= 1; }

// Walks the element columns of the topology in order: every node must lie
// in 1..nanod (-1), and with corner and side nodes no node may serve as
// both kinds (-2, -3). count(m) is the DOF count slot of node m, 0 until an
// element uses it. False when it stopped the run.
template <class Count>
bool walkTopology(const i32* topology, i32 nel, i32 nanod, i32 rows, const ElementKind& kind, Count&& count,
                  i32 lunit, i32* status) {
    const bool mixed = kind.corners < kind.nodes;
    for (i32 e = 1; e <= nel; ++e) {
        const i32* column = topology + std::int64_t(e - 1) * rows;
        for (i32 k = 1; k <= kind.nodes; ++k) {
            const i32 m = column[k];
            if (m < 1 || m > nanod) {
                stop(status, -1, m, e, k, lunit);
                return false;
            }
            const bool corner = k <= kind.corners;
            i32& dofs = count(m);
            if (mixed && corner && dofs == kind.sideDofs) {
                stop(status, -2, m, e, 0, lunit);
                return false;
            }
            if (mixed && !corner && dofs == kind.cornerDofs) {
                stop(status, -3, m, e, 0, lunit);
                return false;
            }
            dofs = corner ? kind.cornerDofs : kind.sideDofs;
        }
    }
    return true;
}

} // namespace

const ElementKind* elementKind(std::int32_t code) noexcept {
    for (const ElementKind& k : kKinds)
        if (k.code == code) return &k;
    return nullptr;
}

std::int32_t elementDataRows(std::int32_t code, bool buckling) noexcept {
    if (elementKind(code) == nullptr) return 0;
    if (buckling) return 4;
    switch (code) {
    case 33: return 12;
    case 41: case 42: case 44: case 46: return 15;
    case 75: case 81: case 85: return 15;
    default: return code < 60 ? 11 : 9;
    }
}

void CHKINP(const std::int32_t* key, bool buckling, const std::int32_t* fixedDofs, const double* prescribedDofs,
            const double* couplings, const double* springs, std::int32_t lunit, std::int32_t* status) {
    std::fill(status, status + kStatusSize, 0);
    // The element, node and row counts size the tables, loops and copies
    // of the run: a negative one is refused before anything uses it.
    for (const int k : {0, 1, 3, 4, 5, 6})
        if (key[k] < 0) return stop(status, -25, key[k], 0, 0, lunit);
    const i32 nel = key[0], nanod = key[1], code = key[9];
    if (const ElementKind* kind = elementKind(code)) {
        if (topologyTooShort(*kind, nel, key[18], lunit, status)) return;
        const i32 needed = elementDataRows(code, buckling);
        if (nel > 0 && key[19] < needed) {
            if (lunit > 0) fwrite(lunit, kTooFewRows, {"element-data", key[19], needed});
            stop(status, -4, 1, 0, 0, lunit);
            return;
        }
    }
    if (fixedDofs != nullptr)
        for (i32 r = 0; r < key[3]; ++r) {
            const i32 node = fixedDofs[2 * r], dof = fixedDofs[2 * r + 1];
            if (!rowInRange(node, dof, nanod)) return stop(status, -25, node, 0, 0, lunit);
        }
    if (prescribedDofs != nullptr)
        for (i32 r = 0; r < key[4]; ++r) {
            const double* row = prescribedDofs + 3 * std::int64_t(r);
            const i32 node = nearestInt(row[0]);
            if (!rowInRange(node, nearestInt(row[1]), nanod)) return stop(status, -25, node, 0, 0, lunit);
        }
    if (couplings != nullptr)
        for (i32 r = 0; r < key[5]; ++r) {
            const double* row = couplings + 8 * std::int64_t(r);
            const i32 slave = nearestInt(row[0]);
            if (!rowInRange(slave, nearestInt(row[1]), nanod)) return stop(status, -25, slave, 0, 0, lunit);
            const i32 master1 = nearestInt(row[2]);
            if (!rowInRange(master1, nearestInt(row[3]), nanod)) return stop(status, -26, master1, 0, 0, lunit);
            const i32 master2 = nearestInt(row[5]);
            if (master2 > 0 && !rowInRange(master2, nearestInt(row[6]), nanod))
                return stop(status, -26, master2, 0, 0, lunit);
        }
    if (springs != nullptr)
        for (i32 r = 0; r < key[6]; ++r) {
            const double* row = springs + 3 * std::int64_t(r);
            const i32 node = nearestInt(row[0]);
            if (!rowInRange(node, nearestInt(row[1]), nanod)) return stop(status, -25, node, 0, 0, lunit);
        }
}

void CHKTOP(const std::int32_t* topology, std::int32_t nel, std::int32_t nanod, std::int32_t code,
            std::int32_t rows, std::int32_t lunit, std::int32_t* status, ModelTables& t) {
    std::fill(status, status + kStatusSize, 0);
    t.MPAR.fill(0);
    t.MSPAR.fill(0);
    nel = std::max(nel, 0);
    nanod = std::max(nanod, 0);

    // One code serves the whole model: an unknown one is the first
    // element's fault, whatever its kind.
    const ElementKind* kind = elementKind(code);
    if (kind == nullptr) return stop(status, -4, 1, 0, 0, lunit);
    // Elements without their topology array: the run has no storage to
    // read them from.
    if (nel > 0 && topology == nullptr) return stop(status, -30, 0, 0, 0, lunit);
    if (topologyTooShort(*kind, nel, rows, lunit, status)) return;

    // Nothing is sized from the counts before the topology has passed: a
    // node count beyond the node places of the elements leaves a node
    // unused, which is found without a table of that size.
    const std::int64_t places = std::int64_t(nel) * kind->nodes;
    if (nanod > places) {
        std::unordered_map<i32, i32> counts;
        if (!walkTopology(topology, nel, nanod, rows, *kind, [&counts](i32 m) -> i32& { return counts[m]; },
                          lunit, status))
            return;
        i32 unused = 1;
        while (counts.count(unused) != 0) ++unused;
        return stop(status, -5, unused, 0, 0, lunit);
    }

    // MNDPTR(n + 1) holds the DOF count of node n until the running sums.
    t.MNDPTR.assign(std::size_t(nanod) + 1, 0);
    i32* count = t.MNDPTR.data();  // count[m] is MNDPTR(m + 1)
    if (!walkTopology(topology, nel, nanod, rows, *kind, [count](i32 m) -> i32& { return count[m]; }, lunit,
                      status))
        return;

    t.MEXNOD.assign(std::size_t(nanod), 0);
    t.MPELND.assign(std::size_t(nel) + 1, 0);
    t.MELNOD.assign(std::size_t(places), 0);
    i32 p = 1;
    t.MPELND[0] = 1;
    for (i32 e = 1; e <= nel; ++e) {
        const i32* column = topology + std::int64_t(e - 1) * rows;
        for (i32 k = 1; k <= kind->nodes; ++k) t.MELNOD[std::size_t(p++ - 1)] = column[k];
        t.MPELND[std::size_t(e)] = p;
    }
    t.MPAR[14] = p - 1;

    t.MNDPTR[0] = 1;
    for (i32 n = 1; n <= nanod; ++n) {
        if (count[n] == 0) return stop(status, -5, n, 0, 0, lunit);
        count[n] += count[n - 1];
    }
    t.MPAR[0] = nanod;
    t.MPAR[1] = nel;
    t.MPAR[2] = t.MNDPTR[std::size_t(nanod)] - 1;
    for (i32 n = 1; n <= nanod; ++n) t.MEXNOD[std::size_t(n - 1)] = n;
}

} // namespace solvika
