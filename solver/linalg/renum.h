// Node renumbering for a small skyline profile: the graph method SWSNUM
// (pseudo-peripheral start, priority numbering), profile front minimisation
// PFMREN and element-wise breadth-first ordering ELWREN, with the largest
// element DOF count MXELDF and the error writer RENERR.
//
// Arrays are 1-based in meaning and passed as pointers to entry 1 (tables
// of solver/analysis/tables.h): MPELND, MELNOD (nodes of each element),
// MEXNOD (external number of each node), MSC (status of each DOF), MNDPTR
// (DOFs of each node).
//
// The three methods take the same arguments:
//   work     scratch of NWORK integers; NWORK = NEL + 4 NANOD + the sum over
//            the elements of k(k - 1), k the element's node count, is
//            enough, except that SWSNUM needs one word more for a single
//            element; nothing is allocated
//   MNNN     out: MNNN(n) = new number of node n, a permutation of 1..NANOD
//   IPRINT   print level: >= 1 profiles (and SWSNUM's start and end nodes),
//            >= 2 table sizes, >= 3 the table of new numbers, >= 4 the
//            elimination order
//   LUNIT    log unit; nothing is written when it is not positive
//   retain   true: nodes with a DOF of status 2 and none of status 1 are
//            numbered last, in node order
//   start    in: external number of a start node, or 0 to let the method
//            choose; out: the start node used (SWSNUM: of the last
//            connected part, the others: of the first)
//   percent  out: new profile x 100 / old profile (truncated)
//   IERR     out: 0, or -1 after RENERR wrote the error
#pragma once

#include <cstdint>

namespace solvika {

void SWSNUM(const std::int32_t* MPELND, const std::int32_t* MELNOD, const std::int32_t* MEXNOD,
            const std::int32_t* MSC, const std::int32_t* MNDPTR, std::int32_t* work, std::int32_t* MNNN,
            std::int32_t NANOD, std::int32_t NEL, std::int32_t NWORK, std::int32_t IPRINT, std::int32_t LUNIT,
            bool retain, std::int32_t& start, std::int32_t& percent, std::int32_t& IERR);

void PFMREN(const std::int32_t* MPELND, const std::int32_t* MELNOD, const std::int32_t* MEXNOD,
            const std::int32_t* MSC, const std::int32_t* MNDPTR, std::int32_t* work, std::int32_t* MNNN,
            std::int32_t NANOD, std::int32_t NEL, std::int32_t NWORK, std::int32_t IPRINT, std::int32_t LUNIT,
            bool retain, std::int32_t& start, std::int32_t& percent, std::int32_t& IERR);

void ELWREN(const std::int32_t* MPELND, const std::int32_t* MELNOD, const std::int32_t* MEXNOD,
            const std::int32_t* MSC, const std::int32_t* MNDPTR, std::int32_t* work, std::int32_t* MNNN,
            std::int32_t NANOD, std::int32_t NEL, std::int32_t NWORK, std::int32_t IPRINT, std::int32_t LUNIT,
            bool retain, std::int32_t& start, std::int32_t& percent, std::int32_t& IERR);

// MPAR(20) = the largest number of DOFs of one element (0 without
// elements); MPAR(2) is the number of elements.
void MXELDF(const std::int32_t* MNDPTR, const std::int32_t* MPELND, const std::int32_t* MELNOD,
            std::int32_t* MPAR);

// Sets IERR = -1 and, when LUNIT > 0, writes renumbering error `code`
// (1-8) with its values; any other code writes the header only.
void RENERR(std::int32_t code, std::int64_t v1, std::int64_t v2, std::int64_t v3, std::int32_t LUNIT,
            std::int32_t& IERR);

} // namespace solvika
