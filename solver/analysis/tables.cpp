// DOF status and constraint tables from the boundary-condition rows.
#include "solver/analysis/tables.h"

#include "solver/analysis/errmsg.h"
#include "solver/linalg/assembly.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace solvika {

namespace {

using i32 = std::int32_t;
using i64 = std::int64_t;

// Global DOF number (1-based) of local DOF `dof` of `node`, or 0 when the
// node is outside 1..nanod or has no such DOF.
i32 globalDof(const ModelTables& t, i32 nanod, i32 node, i32 dof) {
    if (node < 1 || node > nanod || dof < 1) return 0;
    const i32 first = t.MNDPTR[std::size_t(node - 1)];
    if (dof > t.MNDPTR[std::size_t(node)] - first) return 0;
    return first + dof - 1;
}

void stop(i32* status, i32 code, i32 node, i32 lunit, i32 dof = 0) {
    status[0] = code;
    status[1] = node;
    status[2] = dof;
    ERRMSG(status, lunit);
}

} // namespace

std::int32_t nearestInt(double value) noexcept {
    if (std::isnan(value)) return 0;
    const double r = std::round(value);
    if (r <= double(std::numeric_limits<i32>::min())) return std::numeric_limits<i32>::min();
    if (r >= double(std::numeric_limits<i32>::max())) return std::numeric_limits<i32>::max();
    return i32(r);
}

void BCDATA(const std::int32_t* key, const std::int32_t* fixedDofs, const double* prescribedDofs,
            const double* couplings, std::int32_t lunit, std::int32_t* status, ModelTables& t) {
    std::fill(status, status + kStatusSize, 0);
    // Nodes are checked against the table CHKTOP built for KEY(2) nodes.
    const i32 nanod = t.MNDPTR.empty() ? 0 : i32(t.MNDPTR.size()) - 1;
    const i32 nfix = fixedDofs != nullptr ? std::max(key[3], 0) : 0;
    const i32 npre = prescribedDofs != nullptr ? std::max(key[4], 0) : 0;
    const i32 ncpl = couplings != nullptr ? std::max(key[5], 0) : 0;
    const i32 ndof = t.MPAR[2];

    t.MSC.assign(std::size_t(std::max(ndof, 0)), 1);
    t.MPMCEQ.clear();
    t.MCQDOF.clear();
    t.CQCOEF.clear();

    // The tables are sized from the rows, not from the DOF count: a model
    // may hold more equations than DOFs (a DOF prescribed twice, which
    // CHKSPC then refuses).
    const i64 nceq = i64(npre) + ncpl;
    std::vector<i32> pointers;
    if (nceq > 0) {
        pointers.reserve(std::size_t(nceq) + 1);
        t.MCQDOF.reserve(std::size_t(npre) + 3 * std::size_t(ncpl));
        t.CQCOEF.reserve(std::size_t(npre) + 3 * std::size_t(ncpl));
    }
    auto fail = [&](i32 code, i32 node) {
        t.MCQDOF.clear();
        t.CQCOEF.clear();
        stop(status, code, node, lunit);
    };
    auto addEntry = [&](i32 dof, double value) {
        t.MCQDOF.push_back(dof);
        t.CQCOEF.push_back(value);
    };

    // A DOF fixed twice is fixed once.
    i32 fixedDofCount = 0;
    for (i32 r = 0; r < nfix; ++r) {
        const i32 node = fixedDofs[2 * i64(r)];
        const i32 d = globalDof(t, nanod, node, fixedDofs[2 * i64(r) + 1]);
        if (d == 0) return fail(-25, node);
        if (t.MSC[std::size_t(d - 1)] == 0) continue;
        t.MSC[std::size_t(d - 1)] = 0;
        ++fixedDofCount;
    }
    for (i32 r = 0; r < npre; ++r) {
        const double* row = prescribedDofs + 3 * i64(r);
        const i32 node = nearestInt(row[0]);
        const i32 d = globalDof(t, nanod, node, nearestInt(row[1]));
        if (d == 0) return fail(-25, node);
        t.MSC[std::size_t(d - 1)] = 0;
        pointers.push_back(i32(t.MCQDOF.size()) + 1);
        addEntry(d, row[2]);
    }
    for (i32 r = 0; r < ncpl; ++r) {
        const double* row = couplings + 8 * i64(r);
        const i32 slave = nearestInt(row[0]);
        const i32 s = globalDof(t, nanod, slave, nearestInt(row[1]));
        if (s == 0) return fail(-25, slave);
        t.MSC[std::size_t(s - 1)] = 0;
        const i32 master1 = nearestInt(row[2]);
        const i32 m1 = globalDof(t, nanod, master1, nearestInt(row[3]));
        if (m1 == 0) return fail(-26, master1);
        pointers.push_back(i32(t.MCQDOF.size()) + 1);
        addEntry(s, 0.0);
        addEntry(m1, row[4]);
        const i32 master2 = nearestInt(row[5]);
        if (master2 > 0) {
            const i32 m2 = globalDof(t, nanod, master2, nearestInt(row[6]));
            if (m2 == 0) return fail(-26, master2);
            addEntry(m2, row[7]);
        }
    }

    const i32 entries = i32(t.MCQDOF.size());
    if (nceq > 0) {
        pointers.push_back(entries + 1);
        t.MPMCEQ = std::move(pointers);
    }
    const i32 specified = fixedDofCount + npre + ncpl;
    t.MPAR[3] = ndof - specified;
    t.MPAR[5] = specified;
    t.MPAR[6] = i32(nceq);
    t.MPAR[7] = nfix;
    t.MPAR[8] = npre;
    t.MPAR[9] = ncpl;
    t.MPAR[10] = t.MPAR[3];
    t.MPAR[15] = entries;
}

void CHKSPC(const std::int32_t* key, const std::int32_t* fixedDofs, const ModelTables& t, std::int32_t lunit,
            std::int32_t* status) {
    std::fill(status, status + kStatusSize, 0);
    const i32 nceq = t.MPAR[6];
    // Every specified DOF is one of MPAR(6); fewer DOFs of status 0 means
    // one of them was counted twice.
    const i64 specified = std::count(t.MSC.begin(), t.MSC.end(), 0);
    if (specified == t.MPAR[5]) return;
    // Find the first row, in row order, whose DOF an earlier row took.
    std::vector<char> taken(t.MSC.size(), 0);
    const i32 nanod = t.MNDPTR.empty() ? 0 : i32(t.MNDPTR.size()) - 1;
    const i32 nfix = fixedDofs != nullptr ? std::max(key[3], 0) : 0;
    for (i32 r = 0; r < nfix; ++r)
        if (const i32 d = globalDof(t, nanod, fixedDofs[2 * i64(r)], fixedDofs[2 * i64(r) + 1])) taken[d - 1] = 1;
    for (i32 i = 1; i <= nceq; ++i) {
        const i32 s = t.MCQDOF[std::size_t(t.MPMCEQ[std::size_t(i - 1)] - 1)];
        if (taken[std::size_t(s - 1)] == 0) {
            taken[std::size_t(s - 1)] = 1;
            continue;
        }
        i32 ldof = 0, node = 0;
        EQNNOD(t.MNDPTR.data(), t.MEXNOD.data(), nanod, s, ldof, node);
        return stop(status, -21, node, lunit, ldof);
    }
}

const std::int32_t* entry1(const std::vector<std::int32_t>& table) noexcept {
    static const std::int32_t kNone[1] = {1};
    return table.empty() ? kNone : table.data();
}

const double* entry1(const std::vector<double>& table) noexcept {
    static const double kNone[1] = {0.0};
    return table.empty() ? kNone : table.data();
}

} // namespace solvika
