#include "tests/analysis/fake_solver.h"

#include <algorithm>

namespace analysistest {

FakeSolver* FakeSolver::current = nullptr;

namespace {

template <class T>
std::vector<T> Copy(const T* p, long long n)
{
    if (!p || n <= 0)
        return {};
    return std::vector<T>(p, p + n);
}

void Answer(double* elementData, long long nElementData, double* nodal, long long nNodal,
            std::int32_t* status)
{
    FakeSolver& f = *FakeSolver::current;
    if (elementData && !f.elementResults.empty())
        std::copy_n(f.elementResults.begin(), std::min<long long>(nElementData, f.elementResults.size()),
                    elementData);
    if (nodal && !f.nodeResults.empty())
        std::copy_n(f.nodeResults.begin(), std::min<long long>(nNodal, f.nodeResults.size()), nodal);
    std::copy(f.status.begin(), f.status.end(), status);
}

SolverCall Common(const char* entry, std::int32_t* key, std::int32_t* topology, double* elementData,
                  double* material, double* nodal, std::int32_t* fixed, double* prescribed, double* couplings,
                  double* springs, std::int32_t* printElements, std::int32_t* printNodes)
{
    SolverCall c;
    c.entry = entry;
    c.key = Copy(key, 30);
    const long long elements = key[0], nodes = key[1], materials = key[2];
    c.topology = Copy(topology, elements * key[18]);
    c.elementData = Copy(elementData, elements * key[19]);
    c.material = Copy(material, materials * 7);
    c.nodal = Copy(nodal, nodes * 4);
    c.suppressed = Copy(fixed, 2LL * key[3]);
    c.prescribed = Copy(prescribed, 3LL * key[4]);
    c.couplings = Copy(couplings, 8LL * key[5]);
    c.springs = Copy(springs, 3LL * key[6]);
    c.printElements = Copy(printElements, key[24]);
    c.printNodes = Copy(printNodes, key[25]);
    c.printElementsNull = printElements == nullptr;
    c.printNodesNull = printNodes == nullptr;
    return c;
}

void FakePlaneStr(std::int32_t* key, std::int32_t* topology, double* elementData, double* material, double* nodal,
                  double* bodyLoad, double* pointLoads, double* edgeLoads, std::int32_t* fixed, double* prescribed,
                  double* couplings, double* springs, std::int32_t* printElements, std::int32_t* printNodes,
                  std::int32_t* status)
{
    SolverCall c = Common("PLANE_STR", key, topology, elementData, material, nodal, fixed, prescribed, couplings,
                          springs, printElements, printNodes);
    c.volumeForce = Copy(bodyLoad, 9);
    c.nodeLoads = Copy(pointLoads, 3LL * key[15]);
    c.edgeLoads = Copy(edgeLoads, static_cast<long long>(key[16]) * key[20]);
    FakeSolver::current->calls.push_back(std::move(c));
    Answer(elementData, static_cast<long long>(key[0]) * key[19], nodal,
           4LL * key[1], status);
}

void FakePlateBending(std::int32_t* key, std::int32_t* topology, double* elementData, double* material,
                      double* nodal, double* edgeLoads, std::int32_t* fixed, double* prescribed, double* couplings,
                      double* springs, std::int32_t* printElements, std::int32_t* printNodes, std::int32_t* status)
{
    SolverCall c = Common("PLATE_BENDING", key, topology, elementData, material, nodal, fixed, prescribed,
                          couplings, springs, printElements, printNodes);
    c.edgeLoads = Copy(edgeLoads, static_cast<long long>(key[16]) * key[20]);
    FakeSolver::current->calls.push_back(std::move(c));
    Answer(elementData, static_cast<long long>(key[0]) * key[19], nodal,
           4LL * key[1], status);
}

void Buckling(const char* entry, bool perNode, std::int32_t* key, std::int32_t* topology, double* elementData,
              double* material, double* nodal, std::int32_t* fixed, double* couplings, double* springs,
              double* stresses, double* eigenvalues, double* modeShapes, std::int32_t* status)
{
    SolverCall c = Common(entry, key, topology, elementData, material, nodal, fixed, nullptr, couplings, springs,
                          nullptr, nullptr);
    c.inPlaneForces = Copy(stresses, 3LL * (perNode ? key[1] : key[0]));
    FakeSolver& f = *FakeSolver::current;
    f.calls.push_back(std::move(c));
    const long long modes = key[14];
    if (eigenvalues)
        std::copy_n(f.eigenvalues.begin(), std::min<long long>(modes, f.eigenvalues.size()), eigenvalues);
    if (modeShapes)
        std::copy_n(f.modeShapes.begin(), std::min<long long>(modes * key[1], f.modeShapes.size()), modeShapes);
    Answer(nullptr, 0, nullptr, 0, status);
}

void FakePlateBuckling(std::int32_t* key, std::int32_t* topology, double* elementData, double* material,
                       double* nodal, std::int32_t* fixed, double* couplings, double* springs, double* stresses,
                       double* eigenvalues, double* modeShapes, std::int32_t* status)
{
    Buckling("PLATE_BUCKLING", false, key, topology, elementData, material, nodal, fixed, couplings, springs,
             stresses, eigenvalues, modeShapes, status);
}

void FakePlateKnekking(std::int32_t* key, std::int32_t* topology, double* elementData, double* material,
                       double* nodal, std::int32_t* fixed, double* couplings, double* springs, double* stresses,
                       double* eigenvalues, double* modeShapes, std::int32_t* status)
{
    Buckling("PLATE_KNEKKING", true, key, topology, elementData, material, nodal, fixed, couplings, springs,
             stresses, eigenvalues, modeShapes, status);
}

} // namespace

FakeSolver::FakeSolver()
{
    current = this;
    SolverEntryTable t;
    t.planeStr = &FakePlaneStr;
    t.plateBending = &FakePlateBending;
    t.plateBuckling = &FakePlateBuckling;
    t.plateKnekking = &FakePlateKnekking;
    m_previous = SetSolverEntries(t);
}

FakeSolver::~FakeSolver()
{
    SetSolverEntries(m_previous);
    current = nullptr;
}

} // namespace analysistest
