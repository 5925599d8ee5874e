// The colour-scale page in a sheet, driven as a user would.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <unistd.h>

#include "framework/framira.h"
#include "glstyle/tincora.h"
#include "tests/framira/page_runner.h"

namespace
{

using afxui::headless::DialogDriver;
using afxui::headless::HeadlessApp;
using afxui::headless::ModalScript;
using framira_test::ClickEntry;
using framira_test::RunPage;

constexpr COLORREF kFace = RGB(240, 240, 240);

class ColorScalePage : public HeadlessApp
{
protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        framira_test::SetTwoRamps();
        char name[] = "/tmp/framira_colorscale_XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        folder = name;
    }
    void TearDown() override
    {
        std::system(("rm -rf '" + folder + "'").c_str());
        HeadlessApp::TearDown();
    }

    // The path a file dialog answers with.
    static ModalScript::FileStep Answer(const std::string& path)
    {
        return [path](const AfxFileDialogRequest&) {
            AfxFileDialogResult result;
            result.bOK = TRUE;
            result.paths.push_back(path.c_str());
            return result;
        };
    }

    std::string folder;
};

TEST_F(ColorScalePage, AFreshPageAppliedWritesTheTableBackWithItsOpacity)
{
    KorPPColorScale page;
    EXPECT_EQ(page.GetTable().colour[200][0], float(200 / 256.0));
    EXPECT_TRUE(page.GetTable().node[128]);
    RunPage(page, [](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Text(50016), "80");
        d.Type(50016, "50");
        d.PressOK();
    });
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(dColorIndex[i][0], double(float(i / 256.0))) << i;
        EXPECT_EQ(dColorIndex[i][2], double(float(1.0 - i / 256.0))) << i;
        EXPECT_EQ(dColorIndex[i][3], 0.5) << i;
        EXPECT_EQ(IsNode[i], i == 0 || i == 128 || i == 255) << i;
    }
}

// An alpha stored from a float shows as its float reads ("70", not
// "69.9999988..."), and OK on the untouched field writes it back bit for bit.
TEST_F(ColorScalePage, OpacityShowsTheStoredAlphaInItsPrecisionAndKeepsItUntouched)
{
    const double alpha = static_cast<double>(0.7f);
    for (auto& entry : dColorIndex)
        entry[3] = alpha;
    KorPPColorScale page;
    RunPage(page, [](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Text(50016), "70");
        d.PressOK();
    });
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(dColorIndex[i][3], alpha) << i;
}

TEST_F(ColorScalePage, OpacityOutsideZeroToHundredIsRefused)
{
    KorPPColorScale page;
    RunPage(page, [](DialogDriver& d, ModalScript& script) {
        script.MessageBox("Please enter a number between 0 and 100.");
        d.Type(50016, "100.5");
        d.PressOK();
        d.PressCancel();
    });
    EXPECT_EQ(dColorIndex[3][3], 0.8);
}

TEST_F(ColorScalePage, AClickSelectsTheCellAndTheMemoryPictureShowsNodesAndSelection)
{
    KorPPColorScale page;
    RunPage(page, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Text(50017), "0");
        const CImageDC& picture = page.GetPicture();
        EXPECT_EQ(picture.Width(), 21 * 16);
        EXPECT_EQ(picture.Height(), 21 * 16 + 30);
        // Entry 0 is a node and selected: red outside, white inside.
        EXPECT_EQ(picture.Pixel(0, 0), RGB(255, 0, 0));
        EXPECT_EQ(picture.Pixel(1, 1), RGB(255, 255, 255));
        // Entry 17 (row 1, column 1) is neither: button face both times,
        // its colour inside; the outer cell is 19 x 19 plus one pixel.
        const CRect cell = page.CellRect(1, 1);
        EXPECT_EQ(cell, CRect(21, 21, 40, 40));
        EXPECT_EQ(picture.Pixel(21, 21), kFace);
        EXPECT_EQ(picture.Pixel(40, 40), kFace);
        EXPECT_EQ(picture.Pixel(22, 22), kFace);
        EXPECT_EQ(picture.Pixel(30, 30), page.EntryColour(17));
        // The strip: entry colours, black at 128.
        const int y0 = 21 * 16 + 10;
        EXPECT_EQ(picture.Pixel(50, y0 + 5), page.EntryColour(50));
        EXPECT_EQ(picture.Pixel(128, y0 + 5), RGB(0, 0, 0));
        EXPECT_EQ(picture.Pixel(129, y0 + 5), page.EntryColour(129));

        ClickEntry(page, 3 * 16 + 5); // row 3, column 5: entry 53
        EXPECT_EQ(page.GetSelection(), 53);
        EXPECT_EQ(d.Text(50017), "53");
        // 53 / 256 = 0.207 -> 20; 0.3 as float -> 30 or 29, truncated.
        EXPECT_EQ(d.Text(50018), "20");
        CString green;
        green.Format("%d", int(float(0.3) * 100.0f));
        EXPECT_EQ(d.Text(50019), green);
        EXPECT_EQ(d.Text(50020), "79");
        const CRect sel = page.CellRect(5, 3);
        EXPECT_EQ(picture.Pixel(sel.left + 1, sel.top + 1), RGB(255, 255, 255));
        EXPECT_EQ(picture.Pixel(1, 1), kFace); // the old selection lost its mark
        // A click between the cells selects nothing.
        page.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10 + 20, 10 + 5));
        EXPECT_EQ(page.GetSelection(), 53);
        d.PressCancel();
    });
}

TEST_F(ColorScalePage, NodeButtonsKeepTheEndsAndRampTheRest)
{
    KorPPColorScale page;
    RunPage(page, [&](DialogDriver& d, ModalScript&) {
        EXPECT_FALSE(page.IsModified()); // filling the fields changes nothing
        // Delete on entry 0 changes no switch but marks the page modified.
        d.Click(50022);
        EXPECT_TRUE(page.IsModified());
        EXPECT_TRUE(page.GetTable().node[0]);
        ClickEntry(page, 255);
        d.Click(50022);
        EXPECT_TRUE(page.GetTable().node[255]);
        // Delete all: one ramp from 0 to 255.
        d.Click(50023);
        for (int i = 1; i < 255; ++i)
            ASSERT_FALSE(page.GetTable().node[i]) << i;
        EXPECT_TRUE(page.GetTable().node[0]);
        EXPECT_TRUE(page.GetTable().node[255]);
        const float end = float(255 / 256.0);
        EXPECT_FLOAT_EQ(page.GetTable().colour[100][0], float(100 * double(end) / 255.0));

        // Modify on an entry that is not a node changes only it.
        ClickEntry(page, 40);
        const framira::PaletteTable before = page.GetTable();
        d.ChooseColor(50026, RGB(255, 0, 51));
        EXPECT_EQ(page.GetTable().colour[40][0], 1.0f);
        EXPECT_EQ(page.GetTable().colour[40][2], 0.2f);
        EXPECT_EQ(d.Text(50018), "100");
        EXPECT_EQ(d.Text(50020), "20");
        for (int i = 0; i < 256; ++i) {
            if (i != 40) {
                ASSERT_EQ(page.GetTable().colour[i][0], before.colour[i][0]) << i;
            }
        }
        // Add makes it a node: the ramps now run to and from its colour.
        d.Click(50021);
        EXPECT_TRUE(page.GetTable().node[40]);
        EXPECT_FLOAT_EQ(page.GetTable().colour[20][0], 0.5f);
        EXPECT_EQ(page.GetPicture().Pixel(page.CellRect(8, 2).left, page.CellRect(8, 2).top),
                  RGB(255, 0, 0));
        d.PressCancel();
    });
}

TEST_F(ColorScalePage, PaletteFilesSaveAndLoadThroughTheButtons)
{
    KorPPColorScale page;
    // A palette folder not made yet (the user's, at the first save) is made
    // for the dialog to start in; the other folder is offered beside it.
    const std::string palettes = folder + "/data/Vornetic/Ext/Palettes/";
    page.m_strDirectory = palettes.c_str();
    page.m_places = {"/usr/share/brantel/Ext/Palettes/", palettes.c_str()};
    const std::string path = palettes + "two.pal";
    RunPage(page, [&](DialogDriver& d, ModalScript& script) {
        script.FileDialog([&](const AfxFileDialogRequest& request) {
            EXPECT_FALSE(request.bOpenFileDialog);
            EXPECT_EQ(request.strDefExt, "pal");
            EXPECT_EQ(request.strFileName, "*.pal");
            EXPECT_EQ(request.strFilter, "Palette files (*.pal)|*.pal||");
            EXPECT_EQ(request.strInitialDir, CString(palettes.c_str()));
            EXPECT_TRUE(std::filesystem::is_directory(palettes));
            EXPECT_EQ(request.places, page.m_places);
            return Answer(path)(request);
        });
        d.Click(50025);
        d.PressCancel();
    });
    std::ifstream saved(path, std::ios::binary | std::ios::ate);
    EXPECT_EQ(saved.tellg(), 4100);

    // Another page loads it after the table changed.
    IsNode[128] = false;
    dColorIndex[7][0] = 0.9;
    KorPPColorScale other;
    RunPage(other, [&](DialogDriver& d, ModalScript& script) {
        script.FileDialog(Answer(path));
        d.Click(50024);
        EXPECT_TRUE(other.IsModified());
        d.PressOK();
    });
    EXPECT_TRUE(IsNode[128]);
    EXPECT_EQ(dColorIndex[7][0], double(float(7 / 256.0)));
}

TEST_F(ColorScalePage, BadPaletteFilesAreReportedAndChangeNothing)
{
    const framira::PaletteTable ramp = KorPPColorScale().GetTable();
    std::string incompatible = framira::PaletteBytes(ramp);
    incompatible[0] = '\xff';
    incompatible[1] = 0;
    std::ofstream(folder + "/wrong.pal", std::ios::binary) << incompatible;
    std::ofstream(folder + "/short.pal", std::ios::binary)
        << framira::PaletteBytes(ramp).substr(0, 2000);
    const struct {
        std::string path;
        BOOL bOpen;
        std::string message;
    } cases[] = {
        {folder + "/wrong.pal", TRUE, "Incompatible format."},
        {folder + "/short.pal", TRUE, "Error during reading"},
        {folder + "/missing.pal", TRUE, "Unable to open file for reading"},
        // A save names the file and the cause under the page's own text.
        {folder + "/no/folder.pal", FALSE,
         "Unable to open file for writing\n" + folder + "/no/folder.pal was not found."},
    };
    for (const auto& c : cases) {
        IsNode[128] = false; // the page's table differs from what a file would bring
        KorPPColorScale page;
        IsNode[128] = true;
        RunPage(page, [&](DialogDriver& d, ModalScript& script) {
            script.FileDialog(Answer(c.path));
            script.MessageBox(c.message);
            d.Click(c.bOpen ? 50024 : 50025);
            EXPECT_FALSE(page.GetTable().node[128]) << c.path;
            d.PressCancel();
        });
    }
}

TEST_F(ColorScalePage, ToolTipsStandAsWritten)
{
    KorPPColorScale page;
    RunPage(page, [&](DialogDriver& d, ModalScript&) {
        const KorToolTips& tips = page.GetToolTips();
        EXPECT_EQ(tips.GetText(50021), "Ramps are calculated from node to node");
        EXPECT_EQ(tips.GetText(50022), "Delete selected node");
        EXPECT_EQ(tips.GetText(50023), "Delete every node between first and last");
        EXPECT_EQ(tips.GetText(50017), "Entry selected in the ramp");
        EXPECT_EQ(tips.GetText(50018), "Red (%%)");
        EXPECT_EQ(tips.GetText(50019), "Green (%%)");
        EXPECT_EQ(tips.GetText(50020), "Blue (%%)");
        EXPECT_EQ(tips.GetText(50016), "");
        // Each control carries its text to its peer, which shows it.
        for (int nID = 50016; nID <= 50023; ++nID) {
            auto* peer = dynamic_cast<afxui::headless::HeadlessPeer*>(
                page.GetDlgItem(nID)->GetPeer());
            ASSERT_NE(peer, nullptr) << nID;
            EXPECT_EQ(peer->m_strToolTip, tips.GetText(nID)) << nID;
        }
        d.PressCancel();
    });
}

} // namespace
