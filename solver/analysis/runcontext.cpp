// The frame of every entry point: log open and header, exception guard,
// abort line and close.
#include "solver/analysis/runcontext.h"

#include "solver/analysis/check.h"
#include "solver/analysis/errmsg.h"
#include "solver/analysis/runprint.h"
#include "solver/linalg/cancel.h"
#include "solver/linalg/fwrite.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace solvika {

namespace {

const Layout kMainHeader("/ 20X '*** Brantel - log and error file ***' / /");
const Layout kBucklingHeader("/ 19X '*** Brantel_B - log and error file ***' / /");
const Layout kAborted("/ 5X 'Computations aborted'");

// Ends a run that an exception stopped: the code with no values, and its
// message. Writing must not throw again here.
void stopRun(RunContext& run, std::int32_t code) noexcept {
    std::fill(run.status, run.status + kStatusSize, 0);
    run.status[0] = code;
    try {
        ERRMSG(run.status, run.lunit);
    } catch (...) {
    }
}

} // namespace

void runEntry(RunLog log, std::int32_t* key, std::int32_t* status, RunBody body, void* data) noexcept {
    if (status == nullptr) return;
    std::fill(status, status + kStatusSize, 0);
    RunContext run(key, status);
    const bool buckling = log == RunLog::Buckling;
    if (const int err = run.log.open(kLogUnit, buckling ? "Brantel_B.log" : "Brantel.log")) {
        status[0] = 99;
        status[1] = err;
        return;
    }
    run.lunit = kLogUnit;
    try {
        fwrite(run.lunit, buckling ? kBucklingHeader : kMainHeader);
        body(run, data);
    } catch (const RunCancelled&) {
        stopRun(run, kStatusCancelled);
    } catch (const std::bad_alloc&) {
        stopRun(run, -30);
    } catch (const std::length_error&) {
        stopRun(run, -30);
    } catch (...) {
        stopRun(run, -20);
    }
    if (status[0] < 0) {
        try {
            fwrite(run.lunit, kAborted);
        } catch (...) {
        }
    }
    run.lunit = 0;
    setRunPhase(RunPhase::none);
    // A failing close must not hide the error that stopped the run.
    if (const int err = run.log.close(); err != 0 && status[0] >= 0) {
        std::fill(status, status + kStatusSize, 0);
        status[0] = 99;
        status[1] = err;
    }
}

bool prepareRun(RunContext& run, const RunInput& in)
{
    const std::int32_t* key = run.key;
    const std::int32_t lunit = run.lunit;
    std::int32_t* status = run.status;
    ModelTables& t = run.tables;
    const bool echo = key[29] >= 2;
    if (echo)
        ECHKEY(key, in.nodal, in.bending, lunit);
    CHKINP(key, in.buckling, in.fixedDofs, in.prescribedDofs, in.couplings, in.springs, lunit, status);
    if (status[0] < 0)
        return false;
    CHKTOP(in.topology, key[0], key[1], key[9], key[18], lunit, status, t);
    if (status[0] < 0)
        return false;
    BCDATA(key, in.fixedDofs, in.prescribedDofs, in.couplings, lunit, status, t);
    if (status[0] < 0)
        return false;
    CHKSPC(key, in.fixedDofs, t, lunit, status);
    if (status[0] < 0)
        return false;
    if (echo)
        ECHBCS(key, in.prescribedDofs, t, lunit);

    CHKPNT(key, 1, lunit);
    PREPEQ(key, run.RSTAT.data(), lunit, status, t, run.equations);
    if (status[0] < 0)
        return false;
    CHKPNT(key, 2, lunit);
    return true;
}

} // namespace solvika
