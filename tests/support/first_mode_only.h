// A buckling entry point for tests: the library's run, reported as if the
// model had one mode only (status 1, one mode accepted of those requested).
#pragma once

#include <cstdint>

#include "app/analysis/solverentries.h"
#include "framework/inputdialogs.h"
#include "platform/ui/headless/modal_script.h"

namespace brantel::test {

template <bool perNode>
void FirstModeOnly(std::int32_t* key, std::int32_t* topology, double* elementData, double* material, double* nodal,
                   std::int32_t* fixed, double* couplings, double* springs, double* stresses, double* eigenvalues,
                   double* modes, std::int32_t* status)
{
    const SolverEntryTable library = LibrarySolverEntries();
    (perNode ? library.plateKnekking : library.plateBuckling)(key, topology, elementData, material, nodal, fixed,
                                                               couplings, springs, stresses, eigenvalues, modes,
                                                               status);
    if (status[0] == 0 && key[14] > 1) {
        status[0] = 1;
        status[1] = 1;
        status[2] = key[14];
    }
}

// A buckling run of three modes asked for whose solver reports only the
// first: the entries above are installed, the modes prompt is answered "3"
// and the message about the fewer modes is expected. Finish() puts the
// library's entries back and checks the script ran as written.
class OneModeOfThree
{
public:
    OneModeOfThree()
    {
        SolverEntryTable fake;
        fake.plateBuckling = &FirstModeOnly<false>;
        fake.plateKnekking = &FirstModeOnly<true>;
        m_before = SetSolverEntries(fake);
        m_script.Dialog(KorDlgDblVal::IDD_PLAIN, [](afxui::headless::DialogDriver& d, CDialog&) {
            d.Type(KorDlgDblVal::IDC_VALUE, "3");
            d.PressOK();
        });
        m_script.MessageBox("Only 1 of the 3 buckling modes requested passed the eigenvalue error test.\n"
                            "The results show the modes that passed.");
    }
    ~OneModeOfThree() { SetSolverEntries(m_before); }
    OneModeOfThree(const OneModeOfThree&) = delete;
    OneModeOfThree& operator=(const OneModeOfThree&) = delete;

    void Finish()
    {
        SetSolverEntries(m_before);
        m_script.Verify();
    }

private:
    SolverEntryTable m_before;
    afxui::headless::ModalScript m_script;
};

} // namespace brantel::test
