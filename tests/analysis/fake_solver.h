// A recording stand-in for the solver library: installed into the entry
// table while it lives, it copies the key data and every array (sized by
// the key data) of each call and answers with a scripted status block and
// scripted results.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/analysis/solverentries.h"

namespace analysistest {

struct SolverCall {
    std::string entry; // "PLANE_STR", "PLATE_BENDING", "PLATE_BUCKLING" or "PLATE_KNEKKING"
    std::vector<std::int32_t> key;
    std::vector<std::int32_t> topology;
    std::vector<double> elementData;
    std::vector<double> material;
    std::vector<double> nodal;
    std::vector<double> volumeForce;
    std::vector<double> nodeLoads;
    std::vector<double> edgeLoads;
    std::vector<std::int32_t> suppressed;
    std::vector<double> prescribed;
    std::vector<double> couplings;
    std::vector<double> springs;
    std::vector<double> inPlaneForces; // buckling: per element or per node
    std::vector<std::int32_t> printElements;
    std::vector<std::int32_t> printNodes;
    bool printElementsNull = true;
    bool printNodesNull = true;

    // Key-data entry (1-based, as the solver documents them).
    std::int32_t Key(int entry) const { return key[static_cast<std::size_t>(entry - 1)]; }
};

class FakeSolver {
public:
    FakeSolver();
    ~FakeSolver();
    FakeSolver(const FakeSolver&) = delete;
    FakeSolver& operator=(const FakeSolver&) = delete;

    // The status block answered.
    std::array<std::int32_t, 5> status{};
    // Copied over the element-data and node arrays (as far as they reach)
    // when not empty.
    std::vector<double> elementResults;
    std::vector<double> nodeResults;
    // Buckling answers, copied as far as the key data size them.
    std::vector<double> eigenvalues;
    std::vector<double> modeShapes;

    std::vector<SolverCall> calls;
    const SolverCall& last() const { return calls.back(); }

    static FakeSolver* current;

private:
    SolverEntryTable m_previous;
};

} // namespace analysistest
