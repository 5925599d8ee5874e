// The status messages of the run log.
#include "solver/analysis/errmsg.h"

#include "solver/linalg/fwrite.h"

#include <iterator>

namespace solvika {

namespace {

const Layout kErrorHeader("/ / / ' *** ERROR detected during execution of Brantel ***' /");
const Layout kWarningHeader("/ / / ' *** WARNING after execution of Brantel ***' /");

// One code: its lines and the status entries (1-based) they print, in order.
struct Message {
    int code;
    Layout layout;
    int values[3];
};

// The message of code -6 names the renumbering method by S(2).
const Layout kRenumbering("5X 'Error during node renumbering (skyline / ' A3 ')'");
const Layout kRenumberingOther("5X 'Error during node renumbering (skyline / ' I3 ')'");

const Message kMessages[] = {
    {-1, Layout("5X 'Illegal node number' I8 / 5X 'associated with node' I3 ' of element' I6"), {2, 4, 3}},
    {-2,
     Layout("5X 'Corner node appears to be connected to a side node' / 5X 'Check node' I6 ' and element' I6"),
     {2, 3}},
    {-3,
     Layout("5X 'Side node appears to be connected to a corner node' / 5X 'Check node' I6 ' and element' I6"),
     {2, 3}},
    {-4, Layout("5X 'Element' I6 ' is of unknown kind'"), {2}},
    {-5, Layout("5X 'Node' I6 ' is not connected'"), {2}},
    {-7, Layout("5X 'Error during pre-assembly (PRASSX)'"), {}},
    {-8, Layout("5X 'Error during sparse storage preparation (SPRPRP)'"), {}},
    {-9, Layout("5X 'Error during symbolic assembly (Sparse / SPRSAS)'"), {}},
    {-10, Layout("5X 'Error during reordering/tree search (SPRRNM / SPRTRS)'"), {}},
    {-11, Layout("5X 'Error during symbolic factorisation (Sparse / SPRSMB)'"), {}},
    {-12, Layout("5X 'Unknown storage format'"), {}},
    {-13, Layout("5X 'Error during transformation of k for element' I6"), {2}},
    {-14, Layout("5X 'Error during assembly: unknown element kind =' I4"), {2}},
    {-15, Layout("5X 'Cannot compute stiffness matrix for element' I6 / 5X 'of kind =' I4 / 5X 'ierr =' I4"),
     {2, 3, 4}},
    {-16, Layout("5X 'Cannot assemble stiffness matrix for element' I6 / 5X 'of kind =' I4"), {2, 3}},
    {-17, Layout("5X 'Corrupt sparse data? Could not add spring stiffness'"), {}},
    {-18, Layout("5X 'Error during transformation of S for element' I6"), {2}},
    {-19, Layout("5X 'Cannot assemble load vector for element' I6 / 5X 'of kind =' I4"), {2, 3}},
    {-20, Layout("5X 'Error during equation solving - corrupt data?'"), {}},
    {-21,
     Layout("5X 'Singular or near-singular stiffness matrix detected' / "
            "5X 'at the equation corresponding to d o f' I3 ' at node' I6"),
     {3, 2}},
    {-22, Layout("5X 'Error during transformation of v for node' I6"), {2}},
    {-23, Layout("5X 'Error in edge-load definition' / 5X 'Node' I8 ' is not a corner node of element' I8"),
     {3, 2}},
    {-24, Layout("5X 'Cannot compute consistent load vector for element' I6 / 5X 'of kind =' I4"), {2, 3}},
    {-25, Layout("5X 'Attempt to specify a non-existent d o f at node' I6"), {2}},
    {-26, Layout("5X 'Attempt to couple a d o f to a non-existent d o f at' ' node' I6"), {2}},
    {-27, Layout("5X 'Error during stress recovery: unknown element kind =' I4"), {2}},
    {-28, Layout("5X 'Error during stress recovery for element' I7 ' of kind =' I4"), {2, 3}},
    {-30, Layout("5X 'Storage could not be allocated for stiffness' / 5X 'and/or load matrix'"), {}},
    {-32, Layout("5X 'Error during solution of eigenproblem,' / / 5X 'error flag from eigensolver =' I4"), {2}},
    {-40, Layout("5X 'Computations stopped on request'"), {}},
    {-33,
     Layout("5X 'Too many vibration modes (=' I4 ') has been requested' / 5X 'for a problem with' I5 ' unknowns'"),
     {2, 3}},
    {1, Layout("5X 'Only' I4 ' buckling modes (of' I4 ' requested)' / 5X 'passed the eigenvalue error test'"), {2, 3}},
    {2,
     Layout("5X 'For a problem with' I5 ' unknowns,' I4 ' buckling ' 'modes have been requested;' / "
            "5X 'this requires' I4 ' iteration vectors, which may ' 'give numerical problems - use finer mesh'"),
     {4, 2, 3}},
};

} // namespace

void ERRMSG(const std::int32_t* status, int lunit) {
    if (lunit < 1 || status == nullptr || status[0] == 0) return;
    const std::int32_t code = status[0];
    fwrite(lunit, code < 0 ? kErrorHeader : kWarningHeader);
    if (code == -6) {
        static const char* const kMethods[] = {"SWS", "PFM", "ELW"};
        const std::int32_t method = status[1];
        if (method >= 1 && method <= 3)
            fwrite(lunit, kRenumbering, {kMethods[method - 1]});
        else
            fwrite(lunit, kRenumberingOther, {method});
        return;
    }
    for (const Message& m : kMessages) {
        if (m.code != code) continue;
        FArg values[3] = {0, 0, 0};
        int n = 0;
        for (int entry : m.values)
            if (entry > 0) values[n++] = FArg(status[entry - 1]);
        fwrite(lunit, m.layout, std::span<const FArg>(values, std::size_t(n)));
        return;
    }
}

} // namespace solvika
