#include "app/analysis/solverentries.h"

#include "solver/solvika.h"

SolverEntryTable LibrarySolverEntries()
{
    SolverEntryTable t;
    t.planeStr = &PLANE_STR;
    t.plateBending = &PLATE_BENDING;
    t.plateBuckling = &PLATE_BUCKLING;
    t.plateKnekking = &PLATE_KNEKKING;
    return t;
}

namespace {

SolverEntryTable& Table()
{
    static SolverEntryTable table = LibrarySolverEntries();
    return table;
}

} // namespace

const SolverEntryTable& GetSolverEntries() { return Table(); }

SolverEntryTable SetSolverEntries(const SolverEntryTable& table)
{
    const SolverEntryTable previous = Table();
    const SolverEntryTable library = LibrarySolverEntries();
    SolverEntryTable& t = Table();
    t.planeStr = table.planeStr ? table.planeStr : library.planeStr;
    t.plateBending = table.plateBending ? table.plateBending : library.plateBending;
    t.plateBuckling = table.plateBuckling ? table.plateBuckling : library.plateBuckling;
    t.plateKnekking = table.plateKnekking ? table.plateKnekking : library.plateKnekking;
    return previous;
}

void SetSolverStopRequest(bool stop)
{
    solvika::setCancelRequest(stop);
}

bool IsSolverStopped(const int* status)
{
    return status && status[0] == solvika::kStatusCancelled;
}

const char* SolverPhaseText()
{
    switch (solvika::runPhase()) {
    case solvika::RunPhase::assembling: return "assembling";
    case solvika::RunPhase::factorising: return "factorising";
    case solvika::RunPhase::solving: return "solving";
    case solvika::RunPhase::stresses: return "stresses";
    case solvika::RunPhase::eigenvalues: return "eigenvalues";
    default: return nullptr;
    }
}
