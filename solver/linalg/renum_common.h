// Internal helpers shared by the renumbering methods.
#pragma once

#include <cstdint>

namespace solvika {
class Layout;
}

namespace solvika::renum {

using i32 = std::int32_t;
using i64 = std::int64_t;

// Error 1 for every element node outside 1..NANOD; false when one was found.
bool checkElementNodes(const i32* MPELND, const i32* MELNOD, i32 NANOD, i32 NEL, i32 LUNIT, i32& IERR);

// Node n (1-based) has a DOF of status 2 and none of status 1.
bool setAside(const i32* MSC, const i32* MNDPTR, i32 n);

// 0-based index of the node with the external number, -1 when none (or 0).
i32 nodeIndex(const i32* MEXNOD, i32 NANOD, i32 external);

// A model without nodes has nothing to number, whatever the scratch:
// start node 0 and 100 %.
bool emptyModel(i32 NANOD, i32& start, i32& percent);

// new x 100 / old, truncated (100 for an empty old profile).
i32 percentage(i64 newProfile, i64 oldProfile);

} // namespace solvika::renum
