// Small element meshes for the renumbering tests and benchmark, with an
// independent profile measure.
#pragma once

#include "solver/solvika.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace renumtest {

using i32 = std::int32_t;

struct Mesh {
    i32 nanod = 0;
    std::vector<i32> mpelnd{1}, melnod, mndptr{1}, mexnod, msc;

    i32 nel() const { return i32(mpelnd.size()) - 1; }
    void add(const std::vector<i32>& nodes) {
        melnod.insert(melnod.end(), nodes.begin(), nodes.end());
        mpelnd.push_back(i32(melnod.size()) + 1);
    }
    // Node tables for `nodes` nodes of `dofs` DOFs each, status 1.
    void finish(i32 nodes, i32 dofs = 2) {
        nanod = nodes;
        mndptr.assign(1, 1);
        mexnod.clear();
        for (i32 n = 1; n <= nodes; ++n) {
            mndptr.push_back(mndptr.back() + dofs);
            mexnod.push_back(n);
        }
        msc.assign(std::size_t(mndptr.back() - 1), 1);
    }
    // Scratch length of the equation set-up: NEL + 4 NANOD + sum k(k - 1).
    i32 nwork() const {
        i32 w = nel() + 4 * nanod;
        for (i32 e = 0; e < nel(); ++e) {
            const i32 k = mpelnd[std::size_t(e + 1)] - mpelnd[std::size_t(e)];
            w += k * (k - 1);
        }
        return w;
    }
};

// Triangles of an nx x ny grid of cells, nodes numbered row by row from
// `first`; each cell split along a diagonal.
inline void addGrid(Mesh& m, i32 nx, i32 ny, i32 first = 1) {
    auto node = [&](i32 i, i32 j) { return first + j * (nx + 1) + i; };
    for (i32 j = 0; j < ny; ++j)
        for (i32 i = 0; i < nx; ++i) {
            m.add({node(i, j), node(i + 1, j), node(i + 1, j + 1)});
            m.add({node(i, j), node(i + 1, j + 1), node(i, j + 1)});
        }
}

inline Mesh grid(i32 nx, i32 ny) {
    Mesh m;
    addGrid(m, nx, ny);
    m.finish((nx + 1) * (ny + 1));
    return m;
}

// The same mesh with its nodes renamed by a random permutation.
inline Mesh shuffled(const Mesh& in, std::mt19937& rng) {
    std::vector<i32> rename(std::size_t(in.nanod));
    for (i32 n = 0; n < in.nanod; ++n) rename[std::size_t(n)] = n + 1;
    std::shuffle(rename.begin(), rename.end(), rng);
    Mesh m = in;
    for (i32& n : m.melnod) n = rename[std::size_t(n - 1)];
    return m;
}

// Profile and bandwidth of a numbering (number[n - 1] of node n): row n
// reaches from the smallest number among the nodes sharing an element
// with n, n included.
struct Profile {
    std::int64_t profile = 0;
    i32 bandwidth = 0;
};
inline Profile profileOf(const Mesh& m, const std::vector<i32>& number) {
    std::vector<i32> lowest(number);
    for (i32 e = 0; e < m.nel(); ++e) {
        i32 low = 1 << 30;
        for (i32 p = m.mpelnd[std::size_t(e)]; p < m.mpelnd[std::size_t(e + 1)]; ++p)
            low = std::min(low, number[std::size_t(m.melnod[std::size_t(p - 1)] - 1)]);
        for (i32 p = m.mpelnd[std::size_t(e)]; p < m.mpelnd[std::size_t(e + 1)]; ++p) {
            i32& l = lowest[std::size_t(m.melnod[std::size_t(p - 1)] - 1)];
            l = std::min(l, low);
        }
    }
    Profile r;
    for (std::size_t n = 0; n < number.size(); ++n) {
        const i32 row = number[n] - lowest[n] + 1;
        r.profile += row;
        r.bandwidth = std::max(r.bandwidth, row);
    }
    return r;
}

enum class Method { Sws, Pfm, Elw };
inline const char* name(Method m) { return m == Method::Sws ? "SWSNUM" : m == Method::Pfm ? "PFMREN" : "ELWREN"; }

struct Result {
    std::vector<i32> mnnn;
    i32 start = 0, percent = -1, ierr = 0;
    std::string log;
};

inline Result renumber(Method method, const Mesh& m, i32 iprint = 0, i32 start = 0, i32 nwork = -1,
                       bool retain = false, int unit = 43) {
    if (nwork < 0) nwork = m.nwork() + 2;
    std::vector<i32> work(std::size_t(std::max(nwork, 1)), -7);
    Result r;
    r.mnnn.assign(std::size_t(m.nanod), -7);
    r.start = start;
    auto fn = method == Method::Sws ? solvika::SWSNUM : method == Method::Pfm ? solvika::PFMREN : solvika::ELWREN;
    if (unit > 0) solvika::attachSink(unit, &r.log);
    fn(m.mpelnd.data(), m.melnod.data(), m.mexnod.data(), m.msc.data(), m.mndptr.data(), work.data(),
       r.mnnn.data(), m.nanod, m.nel(), nwork, iprint, unit, retain, r.start, r.percent, r.ierr);
    if (unit > 0) solvika::detachSink(unit);
    return r;
}

inline bool isPermutation(std::vector<i32> v) {
    std::sort(v.begin(), v.end());
    for (std::size_t i = 0; i < v.size(); ++i)
        if (v[i] != i32(i) + 1) return false;
    return true;
}

} // namespace renumtest
