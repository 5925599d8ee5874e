// One call of an entry point: the storage it owns and the frame that opens
// its log, runs it and ends it on every path.
#pragma once

#include "solver/analysis/element_steps.h"
#include "solver/analysis/setup.h"
#include "solver/analysis/tables.h"
#include "solver/linalg/funit.h"

#include <cstdint>
#include <memory>
#include <type_traits>

namespace solvika {

// Everything one call owns. It lives on the entry point's stack and is
// destroyed on every path, so nothing of a run outlives the call and
// consecutive calls are independent.
struct RunContext {
    RunContext(std::int32_t* key, std::int32_t* status) noexcept : key(key), status(status) {}
    RunContext(const RunContext&) = delete;
    RunContext& operator=(const RunContext&) = delete;

    std::int32_t* key;     // KEY(1..30) is key[0..29]
    std::int32_t* status;  // S(1..5) is status[0..4]
    int lunit = 0;         // kLogUnit while the log is open, otherwise 0
    UnitFile log;
    ModelTables tables;  // node, element, DOF status and constraint tables
    EquationTables equations;  // equation numbers, skyline or sparse tables
    RunStatistics RSTAT{};     // statistics of this run for the run summary
    ResultSums sums;           // load and reaction sums of a static run
};

// The log of a run: "Brantel.log" for the membrane and plate-bending
// entry points, "Brantel_B.log" for the buckling ones.
enum class RunLog { Main, Buckling };

using RunBody = void (*)(RunContext& run, void* data);

// Runs one call: zeroes the status block, opens the log in the current
// folder and writes its header, runs the body, then ends the run and closes
// the log. The log is written into a temporary file that replaces an older
// log only at the close, when all of it was written (UnitFile).
//  - Open failure (also a log that is read-only, in a read-only folder, or
//    not a regular file): S(1) = 99, S(2) = errno; nothing written, the old
//    log as it was, body not run.
//  - A body returns as soon as a step leaves a negative code (the step has
//    written its message); the run then writes "Computations aborted".
//  - A stop request (checkCancel, solver/linalg/cancel.h) ends it with
//    kStatusCancelled, its message and "Computations aborted".
//  - std::bad_alloc or std::length_error anywhere in the body ends it with
//    -30, any other exception with -20, each with its message and
//    "Computations aborted". Bodies must not catch and drop them.
//  - Close failure (a write, the fsync or the rename failed; the old log
//    stays as it was): S(1) = 99, S(2) = errno when the run ended with 0, 1
//    or 2; an error code and its values stay.
void runEntry(RunLog log, std::int32_t* key, std::int32_t* status, RunBody body, void* data) noexcept;

// What the first steps of a run read of its model.
struct RunInput {
    const std::int32_t* topology;
    const double* nodal;
    const std::int32_t* fixedDofs;
    const double* prescribedDofs;  // null for a buckling run
    const double* couplings;
    const double* springs;
    bool bending;   // the echo's node lines carry the load column
    bool buckling;  // the input checks of a buckling run
};

// The steps every run starts with: the echo (print level KEY(30) of 2 or
// more), the input checks, the topology and condition tables, and the
// equation set-up between check points 1 and 2. Returns false as soon as a
// step leaves a negative status.
bool prepareRun(RunContext& run, const RunInput& in);

template <class F>
void runEntry(RunLog log, std::int32_t* key, std::int32_t* status, F&& body) noexcept {
    using Body = std::remove_reference_t<F>;
    runEntry(
        log, key, status, [](RunContext& run, void* data) { (*static_cast<Body*>(data))(run); },
        const_cast<void*>(static_cast<const void*>(std::addressof(body))));
}

} // namespace solvika
