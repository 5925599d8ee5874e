// The mesh-control, smoothing and storage pages in one sheet, driven as a
// user would.
#include <functional>

#include "dialogs/pavesta.h"
#include "platform/ui/headless/afxui_headless.h"
#include "tests/pavesta/layout_check.h"

namespace
{

using afxui::headless::DialogDriver;
using afxui::headless::HeadlessApp;
using afxui::headless::ModalScript;

// The caller's mesh settings as the plate document holds them.
struct MeshSettings {
    int minElements = 250;
    int trialNodes = 4000;
    int interpolation = 1;
    int evenRows = 2;
    int oddRows = 3;
    bool meshValid = true;
    bool suppressWarnings = false;
    int controlType = 2; // what the page's public members hold after the sheet
    int subdivisions = 20;

    bool operator==(const MeshSettings&) const = default;
};

void PrintTo(const MeshSettings& s, std::ostream* os)
{
    *os << s.minElements << " " << s.trialNodes << " " << s.interpolation << " " << s.evenRows
        << " " << s.oddRows << " valid " << s.meshValid << " suppress " << s.suppressWarnings
        << " type " << s.controlType << " subdivisions " << s.subdivisions;
}

constexpr int kDefaultSubdivisions = 12;
constexpr int kSmoothingPage = 1, kStoragePage = 2;

class MeshPagesTest : public HeadlessApp
{
protected:
    void SetUp() override
    {
        CPPStiffStorage::m_iStStorage = 0;
        CPPStiffStorage::m_iStReorder = 0;
        CPPStiffStorage::m_iStRenum = 0;
    }

    MeshSettings caller;
    int smoothing = 10;

    // Runs the sheet of the three pages over caller and smoothing; the step
    // drives it and ends it. Afterwards caller holds what the mesh page left.
    INT_PTR Run(std::function<void(DialogDriver&, CPropertySheet&)> step,
                CPPStiffStorage* pStorage = nullptr)
    {
        VokPPMeshGenSett mesh(&caller.minElements, &caller.trialNodes, &caller.interpolation,
                              &caller.evenRows, &caller.oddRows, &caller.meshValid,
                              &caller.suppressWarnings, caller.controlType, caller.subdivisions,
                              kDefaultSubdivisions);
        VokPPSmoothinSett smooth(&smoothing);
        CPPStiffStorage ownStorage;
        CPropertySheet sheet("Element and mesh control");
        sheet.AddPage(&mesh);
        sheet.AddPage(&smooth);
        sheet.AddPage(pStorage ? pStorage : &ownStorage);
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet),
                      [&](DialogDriver& d, CDialog&) { step(d, sheet); });
        const INT_PTR result = sheet.DoModal();
        caller.controlType = mesh.m_iControlType;
        caller.subdivisions = mesh.m_iSubdivisions;
        return result;
    }
};

TEST_F(MeshPagesTest, PagesShowTheirCaptionsAndTexts)
{
    Run([](DialogDriver& d, CPropertySheet&) {
        EXPECT_EQ(d.Items(AFX_IDC_TAB_CONTROL),
                  (std::vector<CString>{"Mesh control", "Smoothing", "Storage && renumbering"}));
        EXPECT_EQ(d.Text(503), "Suppress &warnings");
        EXPECT_EQ(d.Text(16068), "&Restore default");
        d.ActivatePage(kSmoothingPage);
        EXPECT_EQ(d.Text(16156), "Within &individual regions only");
        EXPECT_EQ(d.Text(16157), "&Across boundaries if");
        d.ActivatePage(kStoragePage);
        EXPECT_EQ(d.Text(16052), "by PFM-algorithm (Profile Front Minimization)");
        EXPECT_EQ(d.Text(16050), "No renumbering (not recommended)");
        d.PressCancel();
    });
    for (UINT nID : {16071u, 16094u, 16048u})
        EXPECT_EQ(pavesta_test::LayoutFaults(nID), std::vector<std::string>{}) << nID;
}

TEST_F(MeshPagesTest, OkWithoutChangeLeavesEveryValueAndApplyStartsDisabled)
{
    const MeshSettings before = caller;
    EXPECT_EQ(Run([](DialogDriver& d, CPropertySheet&) {
                  EXPECT_EQ(d.Text(16123), "250");
                  EXPECT_EQ(d.Text(16124), "4000");
                  EXPECT_EQ(d.Check(16121), 1);
                  EXPECT_EQ(d.Text(16125), "2");
                  EXPECT_EQ(d.Text(16126), "3");
                  EXPECT_EQ(d.Check(503), 0);
                  EXPECT_EQ(d.Check(448), 1);
                  EXPECT_EQ(d.Text(367), "20");
                  EXPECT_FALSE(d.Enabled(ID_APPLY_NOW));
                  d.PressOK();
              }),
              IDOK);
    EXPECT_EQ(caller, before);
}

TEST_F(MeshPagesTest, ChangingOneSettingWritesItAndClearsTheMeshFlag)
{
    struct Case {
        const char* name;
        std::function<void(DialogDriver&)> act;
        std::function<void(MeshSettings&)> expect;
    };
    const Case cases[] = {
        {"minimum elements", [](DialogDriver& d) { d.Type(16123, "400"); },
         [](MeshSettings& s) { s.minElements = 400; }},
        {"trial nodes", [](DialogDriver& d) { d.Type(16124, "6000"); },
         [](MeshSettings& s) { s.trialNodes = 6000; }},
        {"interpolation", [](DialogDriver& d) { d.Click(16122); },
         [](MeshSettings& s) { s.interpolation = 2; }},
        {"even rows", [](DialogDriver& d) { d.Type(16125, "4"); },
         [](MeshSettings& s) { s.evenRows = 4; }},
        {"odd rows", [](DialogDriver& d) { d.Type(16126, "1"); },
         [](MeshSettings& s) { s.oddRows = 1; }},
        {"warnings", [](DialogDriver& d) { d.Click(503); },
         [](MeshSettings& s) { s.suppressWarnings = true; }},
        {"control type", [](DialogDriver& d) { d.Click(447); },
         [](MeshSettings& s) { s.controlType = 1; }},
        {"subdivisions", [](DialogDriver& d) { d.Type(367, "50"); },
         [](MeshSettings& s) { s.subdivisions = 50; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        caller = MeshSettings();
        MeshSettings expected = caller;
        c.expect(expected);
        expected.meshValid = false;
        EXPECT_EQ(Run([&](DialogDriver& d, CPropertySheet&) {
                      c.act(d);
                      d.PressOK();
                  }),
                  IDOK);
        EXPECT_EQ(caller, expected);
    }
}

TEST_F(MeshPagesTest, RefusedValuesKeepTheSheetOnThePageAndWriteNothing)
{
    struct Case {
        int nID;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {16125, "0", "Please enter an integer between 1 and 4."},
        {16126, "5", "Please enter an integer between 1 and 4."},
        {367, "10000001", "Please enter an integer between 0 and 10000000."},
        {16123, "0", "Minimum number of elements = 0 is out of range.\nEnter a value between 1 and 1e+15."},
        {16123, "3000000000", "Please enter an integer for Minimum number of elements."},
        {16124, "0", "Number of trial nodes = 0 is out of range.\nEnter a value between 1 and 1e+15."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        caller = MeshSettings();
        const MeshSettings before = caller;
        EXPECT_EQ(Run([&](DialogDriver& d, CPropertySheet& sheet) {
                      if (c.nID != 16123)
                          d.Type(16123, "999");
                      d.Type(c.nID, c.text);
                      Boxes().Expect(c.message);
                      d.PressOK();
                      EXPECT_FALSE(sheet.IsEnded());
                      EXPECT_EQ(sheet.GetActiveIndex(), 0);
                      Boxes().Expect(c.message);
                      d.ActivatePage(kStoragePage); // nor can the page be left
                      EXPECT_EQ(sheet.GetActiveIndex(), 0);
                      d.PressCancel();
                  }),
                  IDCANCEL);
        EXPECT_EQ(caller, before);
    }
    // The largest count is taken; so are the smallest minimum element and
    // trial-node counts.
    EXPECT_EQ(Run([&](DialogDriver& d, CPropertySheet&) {
                  d.Type(367, "10000000");
                  d.Type(16123, "1");
                  d.Type(16124, "1");
                  d.PressOK();
              }),
              IDOK);
    EXPECT_EQ(caller.subdivisions, 10000000);
    EXPECT_EQ(caller.minElements, 1);
    EXPECT_EQ(caller.trialNodes, 1);
}

TEST_F(MeshPagesTest, ControlTypesSetTheSubdivisionsEdit)
{
    // At start the edit is editable only for "subdivide longest edge".
    for (int type : {0, 1, 2}) {
        caller.controlType = type;
        Run([&](DialogDriver& d, CPropertySheet&) {
            EXPECT_EQ(d.ReadOnly(367), type != 2) << type;
            d.PressCancel();
        });
    }
    caller.controlType = 1;
    EXPECT_EQ(Run([](DialogDriver& d, CPropertySheet&) {
                  d.Click(448);
                  EXPECT_FALSE(d.ReadOnly(367));
                  EXPECT_TRUE(d.Enabled(ID_APPLY_NOW));
                  d.Type(367, "77");
                  d.Click(447);
                  EXPECT_TRUE(d.ReadOnly(367));
                  EXPECT_EQ(d.Text(367), "77");
                  d.Click(446);
                  EXPECT_TRUE(d.ReadOnly(367));
                  EXPECT_EQ(d.Text(367), "12");
                  EXPECT_EQ(d.Check(16121), 1); // the interpolation group is its own
                  d.Click(447);
                  d.PressOK();
              }),
              IDOK);
    EXPECT_EQ(caller.controlType, 1);
    EXPECT_EQ(caller.subdivisions, kDefaultSubdivisions);
    EXPECT_FALSE(caller.meshValid);
    EXPECT_EQ(caller.interpolation, 1);
}

TEST_F(MeshPagesTest, RestoreDefaultThenApplyWritesTheDefaults)
{
    caller.suppressWarnings = true;
    Run([](DialogDriver& d, CPropertySheet&) {
        d.Click(16068);
        EXPECT_TRUE(d.Enabled(ID_APPLY_NOW));
        EXPECT_EQ(d.Text(367), "12");
        EXPECT_TRUE(d.ReadOnly(367));
        d.PressApply();
        EXPECT_FALSE(d.Enabled(ID_APPLY_NOW));
        d.PressCancel(); // what Apply wrote stays
    });
    MeshSettings expected{300, 5000, 0, 1, 1, false, false, 0, kDefaultSubdivisions};
    EXPECT_EQ(caller, expected);
}

TEST_F(MeshPagesTest, PagesMadeByTheirDefaultConstructorWriteNothing)
{
    std::unique_ptr<CObject> mesh(RUNTIME_CLASS(VokPPMeshGenSett)->CreateObject());
    std::unique_ptr<CObject> smooth(RUNTIME_CLASS(VokPPSmoothinSett)->CreateObject());
    CPropertySheet sheet("Element and mesh control");
    sheet.AddPage(static_cast<CPropertyPage*>(mesh.get()));
    sheet.AddPage(static_cast<CPropertyPage*>(smooth.get()));
    ModalScript script;
    script.Dialog(RUNTIME_CLASS(CPropertySheet), [](DialogDriver& d, CDialog&) {
        d.Click(16068);
        d.ActivatePage(1);
        EXPECT_EQ(d.Check(16156), 0);
        EXPECT_EQ(d.Check(16157), 0);
        d.PressOK();
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
}

TEST_F(MeshPagesTest, SmoothingWordOpensAndAppliesAsItsBitsSay)
{
    struct Case {
        int word;
        int within;                    // the within-regions radio
        int name, material, thickness; // the three checks
        int applied;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, 0},
        {0x06, 1, 0, 0, 0, 0x04},
        {0x1A, 0, 1, 1, 1, 0x1A},
        {10, 0, 0, 1, 1, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        smoothing = c.word;
        Run([&](DialogDriver& d, CPropertySheet&) {
            d.ActivatePage(kSmoothingPage);
            EXPECT_EQ(d.Check(16156), c.within);
            EXPECT_EQ(d.Check(16157), 1 - c.within);
            EXPECT_EQ(d.Check(16158), c.name);
            EXPECT_FALSE(d.Visible(16158));
            EXPECT_EQ(d.Check(16159), c.material);
            EXPECT_EQ(d.Check(16160), c.thickness);
            for (int nID : {16158, 16159, 16160})
                EXPECT_EQ(d.Enabled(nID), !c.within) << nID;
            d.PressOK();
        });
        EXPECT_EQ(smoothing, c.applied);
    }
    smoothing = 0x1A;
    Run([](DialogDriver& d, CPropertySheet&) {
        d.ActivatePage(kSmoothingPage);
        d.Click(16159);
        d.Click(16156);
        EXPECT_FALSE(d.Enabled(16159));
        d.Click(16157);
        EXPECT_TRUE(d.Enabled(16159));
        EXPECT_TRUE(d.Enabled(16160));
        d.PressOK();
    });
    EXPECT_EQ(smoothing, 0x18);
}

TEST_F(MeshPagesTest, StorageStartsFromTheStaticsAndSparseSwapsTheGroups)
{
    const int renumbering[] = {16176, 16051, 16052, 16053, 16050};
    const int reordering[] = {16177, 16049, 16056};
    EXPECT_EQ(Run([&](DialogDriver& d, CPropertySheet&) {
                  d.ActivatePage(kStoragePage);
                  EXPECT_EQ(d.Check(16054), 1);
                  EXPECT_EQ(d.Check(16051), 1);
                  EXPECT_EQ(d.Check(16049), 1);
                  for (int nID : renumbering)
                      EXPECT_TRUE(d.Enabled(nID)) << nID;
                  for (int nID : reordering)
                      EXPECT_FALSE(d.Enabled(nID)) << nID;
                  d.Click(16052);
                  d.Click(16055);
                  for (int nID : renumbering)
                      EXPECT_FALSE(d.Enabled(nID)) << nID;
                  for (int nID : reordering)
                      EXPECT_TRUE(d.Enabled(nID)) << nID;
                  EXPECT_EQ(d.Check(16052), 1);
                  d.Click(16056);
                  d.PressOK();
              }),
              IDOK);
    EXPECT_EQ(CPPStiffStorage::m_iStStorage, 1);
    EXPECT_EQ(CPPStiffStorage::m_iStRenum, 1);
    EXPECT_EQ(CPPStiffStorage::m_iStReorder, 1);

    // Cancel keeps them.
    Run([](DialogDriver& d, CPropertySheet&) {
        d.ActivatePage(kStoragePage);
        EXPECT_EQ(d.Check(16055), 1); // a new page starts from the statics
        d.Click(16054);
        d.Click(16050);
        d.PressCancel();
    });
    EXPECT_EQ(CPPStiffStorage::m_iStStorage, 1);
    EXPECT_EQ(CPPStiffStorage::m_iStRenum, 1);
    EXPECT_EQ(CPPStiffStorage::m_iStReorder, 1);
}

TEST_F(MeshPagesTest, PresetStorageValuesAreShownAndComeBack)
{
    CPPStiffStorage storage;
    storage.m_iStorage = 0;
    storage.m_iRenum = 3;
    storage.m_iReorder = 1;
    Run(
        [](DialogDriver& d, CPropertySheet&) {
            d.ActivatePage(kStoragePage);
            EXPECT_EQ(d.Check(16054), 1);
            EXPECT_EQ(d.Check(16050), 1);
            EXPECT_EQ(d.Check(16056), 1);
            d.PressOK();
        },
        &storage);
    EXPECT_EQ(storage.m_iRenum, 3);
    EXPECT_EQ(storage.m_iReorder, 1);
    EXPECT_EQ(CPPStiffStorage::m_iStRenum, 3);
    EXPECT_EQ(CPPStiffStorage::m_iStReorder, 1);

    // A page never shown is not applied: the statics stay, the preset holds.
    CPPStiffStorage unseen;
    unseen.m_iStorage = 1;
    unseen.m_iRenum = 2;
    Run([](DialogDriver& d, CPropertySheet&) { d.PressOK(); }, &unseen);
    EXPECT_EQ(CPPStiffStorage::m_iStStorage, 0);
    EXPECT_EQ(CPPStiffStorage::m_iStRenum, 3);
    EXPECT_EQ(unseen.m_iStorage, 1);
    EXPECT_EQ(unseen.m_iRenum, 2);
}

} // namespace
