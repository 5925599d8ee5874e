// The control conformance suite: each case is written once and runs on
// every peer family. Each test program links the same case files and one
// definition of PeerFamilies(): headless_family.cpp here, the Qt family in
// tests/afxui_conformance_qt. A case builds the window of template
// kTestTemplate and drives it through DialogDriver.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "platform/ui/core/afxui.h"
#include "platform/ui/headless/afxui_headless.h"

namespace conformance
{

using afxui::headless::DialogDriver;
using afxui::headless::ScriptedEnvironment;

struct PeerFamily {
    const char* name;
    std::function<std::unique_ptr<CWndBackend>()> makeBackend;
    // The backend runs a real modal loop for a dialog no hook answers
    // (the headless one reports it as an unexpected dialog instead).
    bool runsModalLoops = false;
};

std::vector<PeerFamily> PeerFamilies();
inline void PrintTo(const PeerFamily& family, std::ostream* os)
{
    *os << family.name;
}

constexpr UINT kTestTemplate = 9001;

// Control ids of the test template.
enum : int {
    kEdit = 1001,
    kMultiEdit = 1002,
    kCheck = 1003,
    kThreeState = 1004,
    kRadioA1 = 1010,
    kRadioA2 = 1011,
    kRadioA3 = 1012,
    kRadioB1 = 1013,
    kRadioB2 = 1014,
    kComboList = 1020,
    kComboEdit = 1021,
    kList = 1022,
    kBuddy = 1030,
    kSpin = 1031,
    kTab = 1040,
    kColor = 1050,
    kHidden = 1060,
    kDisabled = 1061,
    kReadOnly = 1062,
    kNumber = 1063,
    kRadius = 1070,
    kMeshText = 1071,
    kPicture = 1080,
    kListEdit = 1090,
    kPictureButton = 1091,
    kScroll = 1095,
};

// A plain window that logs what reaches it from its controls, as
// "<id>:<notification>" (by the sender's kind), "0x465 <id> <colour>" and
// "vscroll <code> <pos> <bar id>".
class CLogWindow : public CWnd
{
public:
    std::vector<std::string> log;
    std::vector<std::string> Take();
    // Called for each control notification, after it is logged.
    std::function<void(UINT nID, UINT nCode)> onCommand;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class ConformanceTest : public ::testing::TestWithParam<PeerFamily>
{
protected:
    void SetUp() override;
    void TearDown() override;

    CWnd* Item(int nID) { return window->GetDlgItem(nID); }
    template <class T> T& Control(int nID) { return dynamic_cast<T&>(*window->GetDlgItem(nID)); }
    // Makes a fresh window (and driver) from the template.
    void Rebuild();

    std::unique_ptr<CWndBackend> backend;
    std::unique_ptr<ScriptedEnvironment> env;
    std::unique_ptr<CLogWindow> window;
    std::unique_ptr<DialogDriver> driver;
};

} // namespace conformance
