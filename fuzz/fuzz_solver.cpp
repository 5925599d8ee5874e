// The four solver entry points on small models shaped from the input: key
// data and arrays sized as the key data says (the callers' contract), with
// counts, node and DOF numbers, codes and values drawn around and beyond
// their valid ranges. Every call must end with a status, never a crash.
#include "solver/solvika.h"
#include "fuzz/fuzz_reached.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

using i32 = std::int32_t;
using solvika::ElementKind;
using solvika::elementDataRows;
using solvika::elementKind;

const i32 kMembraneCodes[] = {31, 32, 33, 41, 42, 44, 46, 35, 91};
const i32 kBendingCodes[] = {61, 65, 66, 75, 81, 85, 35, 91};

// A count around a limit: mostly 0..high, sometimes negative.
i32 Count(FuzzedDataProvider& in, i32 high) { return in.ConsumeIntegralInRange<i32>(-2, high); }

// A node or DOF number: mostly valid, sometimes just outside.
i32 Number(FuzzedDataProvider& in, i32 high) { return in.ConsumeIntegralInRange<i32>(-1, std::max(high, 0) + 1); }

double Real(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: return 0.0;
    case 1: return 1.0e30;
    case 2: return -1.0e-30;
    default: return in.ConsumeIntegralInRange<int>(-64, 64) * 0.125;
    }
}

std::size_t Size(i32 rows, i32 columns) {
    return std::size_t(std::max(rows, 0)) * std::size_t(std::max(columns, 0)) + 1;
}

std::vector<double> Reals(FuzzedDataProvider& in, std::size_t n) {
    std::vector<double> v(n);
    for (double& x : v) x = Real(in);
    return v;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Every call writes its run log into the current folder: a folder of
    // our own keeps them out of the way (corpus and artifact paths given to
    // this program must therefore be absolute).
    char folder[] = "/tmp/fuzz-solver-XXXXXX";
    if (::mkdtemp(folder) == nullptr || ::chdir(folder) != 0) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const int entry = in.ConsumeIntegralInRange<int>(0, 3);
    const bool membrane = entry == 0;
    const bool buckling = entry >= 2;

    std::array<i32, 30> key{};
    const i32 code = membrane ? in.PickValueInArray(kMembraneCodes) : in.PickValueInArray(kBendingCodes);
    const ElementKind* kind = elementKind(code);
    const i32 nodesPerElement = kind != nullptr ? kind->nodes : 3;
    const i32 nel = Count(in, 6), nanod = Count(in, 12), nmat = in.ConsumeIntegralInRange<i32>(1, 2);
    key[0] = nel;
    key[1] = nanod;
    key[2] = nmat;
    key[3] = Count(in, 6);
    key[4] = buckling ? 0 : Count(in, 3);
    key[5] = Count(in, 3);
    key[6] = Count(in, 2);
    key[9] = code;
    key[10] = in.ConsumeIntegralInRange<i32>(0, 3);
    key[11] = in.ConsumeIntegralInRange<i32>(0, 3);
    key[13] = in.ConsumeIntegralInRange<i32>(1, 2);
    key[14] = buckling ? Count(in, 4) : 0;
    key[15] = membrane ? Count(in, 3) : 0;
    key[16] = buckling ? 0 : Count(in, 2);
    key[17] = in.ConsumeBool() ? 1 : 0;
    key[18] = nodesPerElement + 1 - in.ConsumeIntegralInRange<i32>(0, 1);
    key[19] = std::max(elementDataRows(code, buckling), 1) - in.ConsumeIntegralInRange<i32>(0, 1);
    key[20] = in.PickValueInArray({5, 6, 9});
    key[22] = in.ConsumeIntegralInRange<i32>(0, 2);
    key[24] = buckling ? 0 : Count(in, 2);
    key[25] = buckling ? 0 : Count(in, 2);
    key[26] = in.ConsumeIntegralInRange<i32>(0, 3);
    key[27] = in.ConsumeIntegralInRange<i32>(0, 1);
    key[29] = in.ConsumeIntegralInRange<i32>(0, 2);

    std::vector<i32> topology(Size(key[18], nel));
    for (i32 e = 0; e < std::max(nel, 0); ++e)
        for (i32 r = 0; r < key[18]; ++r)
            topology[std::size_t(e) * std::size_t(key[18]) + std::size_t(r)] =
                r == 0 ? in.ConsumeIntegralInRange<i32>(1, nmat) : Number(in, nanod);
    std::vector<double> elementData = Reals(in, Size(key[19], nel));
    std::vector<double> material(Size(7, nmat));
    for (i32 m = 0; m < nmat; ++m) {
        double* column = material.data() + 7 * m;
        column[0] = column[1] = in.ConsumeBool() ? 1000.0 : Real(in);
        column[2] = in.ConsumeBool() ? 0.3 : Real(in);
        column[3] = 400.0;
        column[4] = Real(in);
        column[5] = Real(in);
    }
    std::vector<double> nodal = Reals(in, Size(4, nanod));
    std::vector<double> body = Reals(in, 8);
    std::vector<double> pointLoads(Size(3, key[15]));
    for (std::size_t k = 0; k + 2 < pointLoads.size(); k += 3)
        pointLoads[k] = Number(in, nanod), pointLoads[k + 1] = Real(in), pointLoads[k + 2] = Real(in);
    std::vector<double> edgeLoads(Size(key[20], key[16]));
    for (std::size_t k = 0; k + 1 < edgeLoads.size(); k += std::size_t(key[20])) {
        edgeLoads[k] = Number(in, nel);
        edgeLoads[k + 1] = Number(in, nanod);
        for (i32 r = 2; r < key[20] && k + std::size_t(r) < edgeLoads.size(); ++r) edgeLoads[k + std::size_t(r)] = Real(in);
    }
    std::vector<i32> fixed(Size(2, key[3]));
    for (std::size_t k = 0; k + 1 < fixed.size(); k += 2) fixed[k] = Number(in, nanod), fixed[k + 1] = Number(in, 6);
    std::vector<double> prescribed(Size(3, key[4]));
    for (std::size_t k = 0; k + 2 < prescribed.size(); k += 3)
        prescribed[k] = Number(in, nanod), prescribed[k + 1] = Number(in, 6), prescribed[k + 2] = Real(in);
    std::vector<double> couplings(Size(8, key[5]));
    for (std::size_t k = 0; k + 7 < couplings.size(); k += 8) {
        couplings[k] = Number(in, nanod), couplings[k + 1] = Number(in, 6);
        couplings[k + 2] = Number(in, nanod), couplings[k + 3] = Number(in, 6), couplings[k + 4] = Real(in);
        couplings[k + 5] = in.ConsumeBool() ? 0 : Number(in, nanod), couplings[k + 6] = Number(in, 6);
        couplings[k + 7] = Real(in);
    }
    std::vector<double> springs(Size(3, key[6]));
    for (std::size_t k = 0; k + 2 < springs.size(); k += 3)
        springs[k] = Number(in, nanod), springs[k + 1] = Number(in, 6), springs[k + 2] = Real(in);
    std::vector<i32> printElements(Size(1, key[24])), printNodes(Size(1, key[25]));
    for (i32& e : printElements) e = Number(in, nel);
    for (i32& n : printNodes) n = Number(in, nanod);
    std::vector<double> stresses = Reals(in, Size(3, std::max(nel, nanod)));
    std::vector<double> eigenvalues(Size(1, key[14])), modeShapes(Size(nanod, key[14]));

    std::array<i32, 5> status{};
    FuzzReached();
    switch (entry) {
    case 0:
        PLANE_STR(key.data(), topology.data(), elementData.data(), material.data(), nodal.data(), body.data(),
                  pointLoads.data(), edgeLoads.data(), fixed.data(), prescribed.data(), couplings.data(),
                  springs.data(), printElements.data(), printNodes.data(), status.data());
        break;
    case 1:
        PLATE_BENDING(key.data(), topology.data(), elementData.data(), material.data(), nodal.data(),
                      edgeLoads.data(), fixed.data(), prescribed.data(), couplings.data(), springs.data(),
                      printElements.data(), printNodes.data(), status.data());
        break;
    default:
        (entry == 2 ? PLATE_BUCKLING : PLATE_KNEKKING)(key.data(), topology.data(), elementData.data(),
                                                        material.data(), nodal.data(), fixed.data(),
                                                        couplings.data(), springs.data(), stresses.data(),
                                                        eigenvalues.data(), modeShapes.data(), status.data());
        break;
    }
    return 0;
}
