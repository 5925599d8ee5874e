// The application base: the settings archive's bytes, the profile keys, the
// first start, the view cursors and opening files in the desktop's program.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/framira.h"
#include "tests/framira/file_bytes.h"
#include "glview/oglcolorinfo.h"
#include "glstyle/tincora.h"
#include "glview/oglrenderer.h"
#include "glview/oglview.h"
#include "platform/afx/safefile.h"
#include "platform/dimvor/units.h"
#include "platform/ui/headless/afxui_headless.h"

namespace
{

using afxui::headless::HeadlessApp;
using framira_test::At;
using framira_test::Bytes;
using framira_test::ReadAll;
using framira_test::WriteAll;

// A folder below the test's temporary folder, removed with its contents.
class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = ::testing::TempDir() + "korapp_XXXXXX";
        m_path = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// The main frame with a frame part of one DWORD.
class TestFrame : public KorMainFrm
{
public:
    void InitFrame(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << frameValue;
        else
            ar >> frameValue;
    }
    void InitFrame() override { ++fallbacks; }
    DWORD frameValue = 0xF00D;
    int fallbacks = 0;
};

// The program's application: its part of the archive is one DWORD.
class TestApp : public KorApp
{
public:
    CString GetSettingsFolder() override { return folder; }
    void AppSpecificInit(CArchive& ar) override
    {
        KorApp::AppSpecificInit(ar);
        if (ar.IsStoring())
            ar << appValue;
        else
            ar >> appValue;
    }
    CString folder;
    DWORD appValue = 0xA99;
};

constexpr std::size_t kUnitMarker = 10196;
constexpr std::size_t kFrameworkEnd = 10492;

void AddCursors(CResourceModule& module)
{
    for (UINT id = 27040; id <= 27045; ++id) {
        AfxCursorResource cursor;
        cursor.xHotSpot = static_cast<int>(id - 27040);
        module.Add(id, cursor);
    }
}

class KorAppTest : public HeadlessApp
{
protected:
    void SetUp() override
    {
        // The tests change the colour and light globals; later tests of
        // this program start from the values they had before.
        savedGlobals.ReadFromGlobal();
        std::memcpy(savedConv, iConv, sizeof iConv);
        savedStandard = iStandard;
        app.folder = (folder.path() + "/Vornetic/").c_str();
        path = std::string(app.folder) + "/brantel.ini";
        cursors =
            std::make_unique<CResourceModule>("korapp_test", CResourceModule::program, AddCursors);
    }
    void TearDown() override
    {
        app.LoadCursors(false);
        if (frame)
            frame->DestroyWindow();
        app.m_pMainWnd = nullptr;
        savedGlobals.WriteToGlobal();
        std::memcpy(iConv, savedConv, sizeof iConv);
        iStandard = savedStandard;
        HeadlessApp::TearDown();
    }
    void MakeFrame()
    {
        frame = new TestFrame;
        ASSERT_TRUE(frame->Create(nullptr, "Brantel", WS_OVERLAPPEDWINDOW, CRect(5, 5, 50, 50),
                                  nullptr, 0));
        app.m_pMainWnd = frame;
    }
    // A unit setting of the fill: a unit index 0 ... 9, any format code,
    // 0 ... 17 digits, distinct for the two seeds.
    static int ConvValue(float seed, int u, int q, int s)
    {
        const int base = static_cast<int>(seed * 2);
        if (s == 0)
            return (q + u + base) % 10;
        if (s == 1)
            return static_cast<int>(seed * 1000) + u * 100 + q * 3;
        return (q + u + base) % 18;
    }
    // Distinct values in every stored global, each within its range.
    static void FillGlobals(float seed)
    {
        const double s10 = seed * 0.1;
        for (int i = 0; i < 257; ++i)
            for (int c = 0; c < 4; ++c)
                dColorIndex[i][c] = s10 + i * 0.002 + c * 0.05;
        for (int i = 0; i < 4; ++i) {
            fBckClrRsView[i] = static_cast<float>(s10 + 0.1 * i);
            fBckClrMdView[i] = static_cast<float>(s10 + 0.11 * i);
            dMaterialColor[i] = s10 + 0.05 * i;
            dGridColor[i] = s10 + 0.07 * i;
            dAxisColor[i] = s10 + 0.09 * i;
            position2[i] = seed + 0.6f * static_cast<float>(i);
            fog_color[i] = static_cast<float>(s10 + 0.08 * i);
        }
        for (int i = 0; i < 256; ++i)
            IsNode[i] = (i % 3 == 0) == (seed > 1.0f);
        for (int i = 0; i < 3; ++i) {
            bLightOn[i] = (i == 1) == (seed > 1.0f);
            directLight[i] = seed + static_cast<float>(i);
            glcTextClr[i] = static_cast<float>(s10 + 0.2 * i);
        }
        mat_shininess[0] = seed * 10.0f;
        COGLRenderer::bLineSmooth = seed > 1.0f;
        COGLRenderer::bPointSmooth = seed <= 1.0f;
        LARGE_POINT = seed * 3.0;
        THIN_EDGE = seed * 0.25;
        iStandard = seed > 1.0f ? 1 : 0;
        for (int u = 0; u < 2; ++u)
            for (int q = 0; q < 30; ++q)
                for (int s = 0; s < 3; ++s)
                    iConv[u][q][s] = ConvValue(seed, u, q, s);
    }

    TempFolder folder;
    TestApp app;
    std::string path;
    TestFrame* frame = nullptr; // deletes itself
    std::unique_ptr<CResourceModule> cursors;
    COGLColorInfo savedGlobals;
    int savedConv[2][30][3] = {};
    int savedStandard = 0;
};

TEST_F(KorAppTest, ArchiveLayoutIsInterleavedWithTheSystemIndexInnermost)
{
    MakeFrame();
    FillGlobals(2.0f);
    app.CloseApp();
    const Bytes bytes = ReadAll(path);
    ASSERT_EQ(bytes.size(), kFrameworkEnd + 8); // + application DWORD + frame DWORD
    EXPECT_EQ(At<DWORD>(bytes, 0), 0u);
    EXPECT_EQ(At<double>(bytes, 4 + 8 * 5), dColorIndex[1][1]);
    // Block 3: per index i the five arrays, floats then doubles.
    const std::size_t block3 = 4 + 8224;
    EXPECT_EQ(At<float>(bytes, block3), fBckClrRsView[0]);
    EXPECT_EQ(At<float>(bytes, block3 + 4), fBckClrMdView[0]);
    EXPECT_EQ(At<double>(bytes, block3 + 8), dMaterialColor[0]);
    EXPECT_EQ(At<float>(bytes, block3 + 32), fBckClrRsView[1]);
    // Block 5: per index the sixteen arrays; fog_color 15th, position2 16th.
    const std::size_t block5 = block3 + 128 + 1024;
    EXPECT_EQ(At<float>(bytes, block5 + 14 * 4), fog_color[0]);
    EXPECT_EQ(At<float>(bytes, block5 + 16 * 4 + 15 * 4), position2[1]);
    // Block 6 holds 1 or 0 for each light.
    EXPECT_EQ(At<DWORD>(bytes, block5 + 256 + 8), 1u);
    // Units: the system index innermost, the marker, quantities 18-29, 0.
    EXPECT_EQ(At<DWORD>(bytes, 9760), 1u);
    EXPECT_EQ(At<DWORD>(bytes, 9764), static_cast<DWORD>(iConv[0][0][0]));
    EXPECT_EQ(At<DWORD>(bytes, 9768), static_cast<DWORD>(iConv[1][0][0]));
    EXPECT_EQ(At<DWORD>(bytes, 9772), static_cast<DWORD>(iConv[0][0][1]));
    EXPECT_EQ(At<DWORD>(bytes, kUnitMarker), 1u);
    EXPECT_EQ(At<DWORD>(bytes, kUnitMarker + 4), static_cast<DWORD>(iConv[0][18][0]));
    EXPECT_EQ(At<DWORD>(bytes, kFrameworkEnd - 4), 0u);
    EXPECT_EQ(At<DWORD>(bytes, kFrameworkEnd), 0xA99u);
    EXPECT_EQ(At<DWORD>(bytes, kFrameworkEnd + 4), 0xF00Du);
}

TEST_F(KorAppTest, WrittenSettingsComeBackButTheShowCommand)
{
    MakeFrame();
    FillGlobals(2.0f);
    app.m_nCmdShow = 7;
    const float light2[4] = {position2[0], position2[1], position2[2], position2[3]};
    const double color = dColorIndex[200][2];
    const int unit = iConv[1][29][2];
    app.CloseApp();

    FillGlobals(0.5f);
    app.appValue = 0;
    frame->frameValue = 0;
    EXPECT_TRUE(app.InitApp());
    EXPECT_EQ(app.m_nCmdShow, 3); // from the profile's default, not the archive
    EXPECT_EQ(dColorIndex[200][2], color);
    EXPECT_EQ(iConv[1][29][2], unit);
    EXPECT_EQ(iStandard, 1);
    EXPECT_TRUE(COGLRenderer::bLineSmooth);
    EXPECT_FALSE(COGLRenderer::bPointSmooth);
    EXPECT_TRUE(bLightOn[1]);
    EXPECT_FALSE(bLightOn[0]);
    EXPECT_TRUE(IsNode[3]);
    EXPECT_FALSE(IsNode[4]);
    EXPECT_DOUBLE_EQ(LARGE_POINT, 6.0);
    // The light position keeps its stored values.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(position2[i], light2[i]) << i;
    EXPECT_EQ(app.appValue, 0xA99u);
    EXPECT_EQ(frame->frameValue, 0xF00Du);
    EXPECT_EQ(frame->fallbacks, 0);
}

TEST_F(KorAppTest, AnOlderUnitMarkerKeepsLaterQuantitiesAndReadsTheFrameNext)
{
    MakeFrame();
    FillGlobals(2.0f);
    app.CloseApp();
    Bytes bytes = ReadAll(path);
    Bytes older(bytes.begin(), bytes.begin() + kUnitMarker + 4);
    older[kUnitMarker] = 0;
    const DWORD frameValue = 0xBEEF;
    const auto* raw = reinterpret_cast<const unsigned char*>(&frameValue);
    older.insert(older.end(), raw, raw + 4);
    WriteAll(path, older);

    FillGlobals(0.5f);
    const int kept = iConv[0][18][0];
    app.appValue = 0x55;
    EXPECT_TRUE(app.InitApp());
    EXPECT_EQ(iConv[0][17][2], ConvValue(2.0f, 0, 17, 2));
    EXPECT_EQ(iConv[0][18][0], kept);
    // The application's own part takes the next DWORD; the frame finds the
    // archive's end, which the reading survives.
    EXPECT_EQ(app.appValue, 0xBEEFu);
}

TEST_F(KorAppTest, FirstStartPlacesTheHiddenWindowAndSetsTheFrameUp)
{
    MakeFrame();
    EXPECT_TRUE(app.InitApp());
    EXPECT_EQ(app.m_nCmdShow, 3);
    EXPECT_EQ(app.m_placement.rcNormalPosition, CRect(0, 0, 600, 450));
    EXPECT_EQ(app.m_placement.showCmd, 0u);
    EXPECT_EQ(app.m_placement.flags, 0u);
    EXPECT_FALSE(frame->IsWindowVisible());
    CRect rect;
    frame->GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 600);
    EXPECT_EQ(frame->fallbacks, 1);
    ASSERT_NE(KorViewCursors::m_hNormalCursor, nullptr);
    EXPECT_EQ(KorViewCursors::m_hNormalCursor->nID, 27044u);
}

// A stored value outside its range is not taken: the setting keeps the
// value it held and one line per setting names it in the log window.
TEST_F(KorAppTest, ValuesOutOfRangeKeepTheirDefaultAndAreNamedOnceInTheLog)
{
    MakeFrame();
    FillGlobals(0.5f);
    app.CloseApp();
    const Bytes good = ReadAll(path);
    const std::size_t block3 = 4 + 8224;
    const std::size_t widths = 9760 - 8 * 8; // the eight sizes just before the unit system
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* setting;
        std::size_t offset;
        int kind; // 0 double, 1 float, 2 int
        double value;
        std::function<double()> read;
    } cases[] = {
        {"Colour scale", 4 + 8 * 9, 0, 2.0, [] { return dColorIndex[2][1]; }},
        {"Colour scale", 4, 0, nan, [] { return dColorIndex[0][0]; }},
        {"Results view background colour", block3, 1, -0.5, [] { return fBckClrRsView[0]; }},
        {"Material colour", block3 + 8, 0, nan, [] { return dMaterialColor[0]; }},
        {"Line widths and point sizes", widths, 0, -2.0, [] { return THIN_EDGE; }},
        {"Line widths and point sizes", widths + 8 * 7, 0, 1e9, [] { return LARGE_POINT; }},
        {"Unit system", 9760, 2, 7, [] { return iStandard; }},
        {"Units", 9760 + 4 + 8 * 3 * 0 + 4 * 4, 2, -3, [] { return iConv[0][0][2]; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        Bytes bytes = good;
        if (c.kind == 0)
            std::memcpy(&bytes[c.offset], &c.value, 8);
        else if (c.kind == 1) {
            const float f = static_cast<float>(c.value);
            std::memcpy(&bytes[c.offset], &f, 4);
        } else {
            const std::int32_t n = static_cast<std::int32_t>(c.value);
            std::memcpy(&bytes[c.offset], &n, 4);
        }
        WriteAll(path, bytes);
        FillGlobals(0.5f);
        const double before = c.read();
        frame->GetLogWindow()->EmptyLog();
        EXPECT_TRUE(app.InitApp());
        EXPECT_EQ(c.read(), before);
        EXPECT_EQ(KorApp::GetSettingResets(), std::vector<std::string>{c.setting});
        CString log;
        frame->GetLogWindow()->GetLogEdit().GetWindowText(log);
        EXPECT_EQ(std::string(log), std::string(KorApp::SettingResetLine(c.setting)));
        // Everything else read as stored.
        EXPECT_EQ(app.appValue, 0xA99u);
        EXPECT_EQ(frame->frameValue, 0xF00Du);
    }
    // Several bad colours of one setting give one line.
    Bytes bytes = good;
    const double two = 2.0;
    for (int i = 0; i < 20; ++i)
        std::memcpy(&bytes[4 + 8 * i], &two, 8);
    WriteAll(path, bytes);
    EXPECT_TRUE(app.InitApp());
    EXPECT_EQ(KorApp::GetSettingResets(), std::vector<std::string>{"Colour scale"});
}

TEST_F(KorAppTest, ADamagedArchiveKeepsWhatWasReadAndSetsTheFrameUp)
{
    MakeFrame();
    FillGlobals(2.0f);
    app.CloseApp();
    Bytes bytes = ReadAll(path);
    bytes.resize(5000);
    WriteAll(path, bytes);
    FillGlobals(0.5f);
    EXPECT_TRUE(app.InitApp());
    EXPECT_EQ(dColorIndex[10][0], 0.2 + 10 * 0.002); // read before the cut
    EXPECT_EQ(iConv[0][0][0], ConvValue(0.5f, 0, 0, 0)); // after it: unchanged
    EXPECT_EQ(frame->fallbacks, 1);
}

TEST_F(KorAppTest, WithoutAUsableArchiveTheBarsComeFromVizBarState)
{
    enum class Archive { none, damaged, whole };
    struct Case {
        Archive archive;
        bool logVisible;
        int fallbacks;
    };
    const Case cases[] = {
        {Archive::none, false, 1}, {Archive::damaged, false, 1}, {Archive::whole, true, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.archive));
        MakeFrame();
        CControlBar log;
        ASSERT_TRUE(log.CreateBar(frame, "Log Window", WS_VISIBLE, 0xE900));
        std::filesystem::remove(path);
        if (c.archive != Archive::none)
            app.CloseApp();
        if (c.archive == Archive::damaged) {
            Bytes bytes = ReadAll(path);
            bytes.resize(5000);
            WriteAll(path, bytes);
        }
        Profile().WriteString("VizBarState", "Visible", "59648=0");
        EXPECT_TRUE(app.InitApp());
        EXPECT_EQ((log.GetStyle() & WS_VISIBLE) != 0, c.logVisible);
        EXPECT_EQ(frame->fallbacks, c.fallbacks);
        frame->DestroyWindow();
        frame = nullptr;
        app.m_pMainWnd = nullptr;
    }
}

TEST_F(KorAppTest, WithoutAKorMainFrmNoFramePartIsWritten)
{
    auto* plain = new CFrameWnd;
    ASSERT_TRUE(plain->Create(nullptr, "Other", WS_OVERLAPPEDWINDOW, CRect(), nullptr, 0));
    app.m_pMainWnd = plain;
    app.CloseApp();
    EXPECT_EQ(ReadAll(path).size(), kFrameworkEnd + 4);
    plain->DestroyWindow();
    app.m_pMainWnd = nullptr;
}

TEST_F(KorAppTest, AFailedWriteLeavesTheOldArchiveAsItWas)
{
    MakeFrame();
    FillGlobals(2.0f);
    app.CloseApp();
    const Bytes before = ReadAll(path);
    FillGlobals(0.5f);
    afx::SafeFileWriter::InjectFailure(afx::SafeFileWriter::Step::write);
    testing::internal::CaptureStderr();
    app.CloseApp();
    const std::string err = testing::internal::GetCapturedStderr();
    afx::SafeFileWriter::InjectFailure(afx::SafeFileWriter::Step::none);
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_NE(err.find(path.substr(path.rfind('/'))), std::string::npos) << err;
}

TEST_F(KorAppTest, ProfileKeysRoundTripWithByteFieldsCutAndTheFaceNameShortened)
{
    LOGFONT& font = COGLView::m_statLogFont;
    font.lfHeight = -17;
    font.lfWeight = 700;
    font.lfItalic = 1;
    font.lfPitchAndFamily = 0x31;
    std::strcpy(font.lfFaceName, "DejaVu Sans Mono");
    COGLRenderer::bUseAccel = false;
    COGLRenderer::iSelBufSize = 8192;
    KorApp::m_uiStChldFrmSett = 5;
    app.CloseApp();
    const auto& entries = Profile().GetEntries();
    const auto text = [&](const char* section, const char* key) {
        auto it = entries.find({section, key});
        return it == entries.end() ? std::string("<none>") : it->second.text;
    };
    EXPECT_EQ(text("Properties", "OGLAccel"), "0");
    EXPECT_EQ(text("Properties", "Selection buffer"), "8192");
    EXPECT_EQ(text("OpenGL text font", "Height"), "-17");
    EXPECT_EQ(text("OpenGL text font", "PitchAndFamily"), "49");
    EXPECT_EQ(text("OpenGL text font", "FaceName"), "DejaVu Sans Mono");
    EXPECT_EQ(text("Common Frame Setting", "Frame 1"), "5");

    std::memset(&font, 0, sizeof font);
    COGLRenderer::iSelBufSize = 1;
    KorApp::m_uiStChldFrmSett = 3;
    Profile().WriteInt("OpenGL text font", "Italic", 0x1FF);
    Profile().WriteString("OpenGL text font", "FaceName", std::string(40, 'x').c_str());
    Profile().WriteInt("Window", "Zoomed", 1);
    Profile().WriteInt("Window", "Left", 10);
    Profile().WriteInt("Window", "Width", 300);
    EXPECT_TRUE(app.InitApp());
    EXPECT_EQ(font.lfHeight, -17);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfItalic, 0xFF);
    EXPECT_EQ(font.lfPitchAndFamily, 0x31);
    EXPECT_EQ(std::string(font.lfFaceName), std::string(31, 'x'));
    EXPECT_EQ(COGLRenderer::iSelBufSize, 8192u);
    EXPECT_FALSE(COGLRenderer::bUseAccel);
    EXPECT_EQ(KorApp::m_uiStChldFrmSett, 5u);
    EXPECT_EQ(app.m_placement.flags, 2u);
    EXPECT_EQ(app.m_placement.rcNormalPosition, CRect(10, 0, 310, 450));

    // A negative selection buffer in a hand-edited profile is capped, not
    // taken as four thousand million words.
    Profile().WriteInt("Properties", "Selection buffer", -1);
    EXPECT_TRUE(app.InitApp());
    EXPECT_EQ(COGLRenderer::iSelBufSize, COGLRenderer::kMaxSelBufSize);
    COGLRenderer::bUseAccel = true;
}

// A stored placement whose title bar would stand off the screen (the
// headless screen is 800 x 600) comes back on it; one on the screen stays.
TEST_F(KorAppTest, AStoredPlacementOffTheScreenIsMovedOntoIt)
{
    const struct {
        CRect stored;
        CRect placed;
    } cases[] = {
        {CRect(10, 20, 610, 470), CRect(10, 20, 610, 470)},
        {CRect(0, -39, 600, 411), CRect(0, 0, 600, 450)},
        {CRect(-3000, 50, -2400, 500), CRect(-500, 50, 100, 500)},
        {CRect(2000, 900, 2600, 1350), CRect(700, 500, 1300, 950)},
        {CRect(-10, -10, 2990, 1990), CRect(-10, 0, 790, 600)},
    };
    for (const auto& c : cases) {
        Profile().WriteInt("Window", "Left", c.stored.left);
        Profile().WriteInt("Window", "Top", c.stored.top);
        Profile().WriteInt("Window", "Width", c.stored.Width());
        Profile().WriteInt("Window", "Height", c.stored.Height());
        EXPECT_TRUE(app.InitApp());
        EXPECT_EQ(app.m_placement.rcNormalPosition, c.placed) << c.stored.left << "," << c.stored.top;
    }
}

TEST_F(KorAppTest, CursorsLoadIntoTheViewStaticsAndAreReleased)
{
    app.LoadCursors(true);
    const std::pair<HKORCURSOR*, UINT> slots[] = {
        {&KorViewCursors::m_hNormalCursor, 27044},  {&KorViewCursors::m_hPointCursor, 27040},
        {&KorViewCursors::m_hPanCursor, 27041},     {&KorViewCursors::m_hZoomRectCursor, 27043},
        {&KorViewCursors::m_hZoomDynCursor, 27045}, {&KorViewCursors::m_hRotateCursor, 27042}};
    for (const auto& [handle, id] : slots) {
        ASSERT_NE(*handle, nullptr) << id;
        EXPECT_EQ((*handle)->nID, id);
        EXPECT_EQ((*handle)->cursor.xHotSpot, static_cast<int>(id - 27040));
    }
    app.LoadCursors(false);
    for (const auto& slot : slots)
        EXPECT_EQ(*slot.first, nullptr);
}

TEST_F(KorAppTest, InitInstanceFindsTheProgramFolder)
{
    EXPECT_TRUE(app.InitInstance());
    const std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
    EXPECT_EQ(std::string(app.m_strAppDir), exe.substr(0, exe.rfind('/') + 1));
    EXPECT_NE(app.m_pDocManager, nullptr);
}

TEST_F(KorAppTest, OpenFileInDefAppReportsEachFailure)
{
    const std::string dir = folder.path();
    WriteAll(dir + "/run.log", Bytes{'x'});
    WriteAll(dir + "/README", Bytes{'y'});
    WriteAll(dir + "/secret.txt", Bytes{'z'});
    chmod((dir + "/secret.txt").c_str(), 0);
    const bool rootReads = access((dir + "/secret.txt").c_str(), R_OK) == 0;
    struct Case {
        std::string folder, file;
        bool opens;
        std::string text; // empty: no box
    };
    std::vector<Case> cases = {
        {dir, "run.log", true, ""},
        {dir, "missing.log", true, "The file \"missing.log\" was not found in\n\"" + dir + "\"."},
        {dir + "/nowhere", "run.log", true, "The path \"" + dir + "/nowhere\" was not found."},
        // Without a program for it, the message says where the file is, so
        // the user can open it by hand.
        {dir, "run.log", false,
         "There is no application associated with the given file name extension (\".log\").\n"
         "The file is \"" + dir + "/run.log\"."},
        {dir + "/", "README", false,
         "There is no application associated with the given file name extension (\" \").\n"
         "The file is \"" + dir + "/README\"."},
    };
    if (!rootReads)
        cases.push_back(
            {dir, "secret.txt", true, "The operating system denied access to \"secret.txt\"."});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Opener().SetResult(c.opens ? TRUE : FALSE);
        const std::size_t shown = Boxes().Shown().size();
        if (!c.text.empty())
            Boxes().Expect(c.text);
        EXPECT_EQ(OpenFileInDefApp(c.folder.c_str(), c.file.c_str()), c.text.empty());
        EXPECT_EQ(Boxes().Shown().size(), shown + (c.text.empty() ? 0 : 1));
    }
    EXPECT_EQ(Opener().Opened().front(), CString((dir + "/run.log").c_str()));
}

} // namespace

TEST(KorProgramFolder, FollowsTheExecutablesPlace)
{
    TempFolder temp;
    const std::string root = temp.path();
    std::filesystem::create_directories(root + "/usr/bin");
    std::filesystem::create_directories(root + "/usr/share/brantel/Ext/Palettes");
    std::filesystem::create_directories(root + "/build/bin");
    std::filesystem::create_directories(root + "/odd/tools");
    std::filesystem::create_directories(root + "/odd/share/brantel");
    struct Case {
        std::string exe, folder, help;
    };
    const Case cases[] = {
        // Installed: bin/ beside share/brantel/.
        {root + "/usr/bin/brantel", root + "/usr/share/brantel/", root + "/usr/share/doc/brantel/"},
        // The build tree: the executable's own folder.
        {root + "/build/bin/brantel", root + "/build/bin/", root + "/build/bin/doc/"},
        // Not in a bin/ folder: its own folder even beside a share/brantel/.
        {root + "/odd/tools/brantel", root + "/odd/tools/", root + "/odd/tools/doc/"},
        // Folder names that share letters with the program's are kept whole.
        {root + "/HELPbrantel.HLP/brantel", root + "/HELPbrantel.HLP/", root + "/HELPbrantel.HLP/doc/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exe);
        const CString folder = KorProgramFolder(c.exe.c_str());
        EXPECT_EQ(std::string(folder), c.folder);
        EXPECT_EQ(std::string(KorHelpFolder(folder)), c.help);
    }
}

TEST_F(KorAppTest, HelpCommandsOpenTheManualIndex)
{
    const std::string dir = folder.path() + "/bin/";
    std::filesystem::create_directories(dir + "doc");
    WriteAll(dir + "doc/index.html", Bytes{'<'});
    app.m_strAppDir = dir.c_str();
    MakeFrame();
    for (UINT id : {57667u, 57669u, 57670u, 57671u}) {
        SCOPED_TRACE(id);
        const std::size_t opened = Opener().Opened().size();
        frame->SendCommand(id);
        ASSERT_EQ(Opener().Opened().size(), opened + 1);
        EXPECT_EQ(Opener().Opened().back(), CString((dir + "doc/index.html").c_str()));
    }

    // Without the manual the command says where it looked, and so does the
    // user manual's name in the program folder.
    std::filesystem::remove(dir + "doc/index.html");
    Boxes().Expect("The file \"index.html\" was not found in\n\"" + dir + "doc/\".");
    frame->SendCommand(57667);
    Boxes().Expect("The file \"Brantel_U_man.pdf\" was not found in\n\"" + dir + "\".");
    EXPECT_FALSE(OpenFileInDefApp(dir.c_str(), "Brantel_U_man.pdf"));
}

// A text-font entry that would draw no letters (a size, angle or weight
// beyond the font's range, an unknown character set, an empty face name or
// one with control characters) keeps the font's value and is named once in
// the log window; good values of the same entries are taken.
TEST_F(KorAppTest, TextFontEntriesOutOfRangeKeepTheFontsValueAndAreNamedInTheLog)
{
    MakeFrame();
    LOGFONT& font = COGLView::m_statLogFont;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = -21;
    font.lfWeight = 400;
    font.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(font.lfFaceName, "Times New Roman");
    app.CloseApp();
    const LOGFONT stored = font;
    const struct {
        const char* key;
        int value;           // written as a number unless text is given
        const char* text;
        bool taken;
    } cases[] = {
        {"Height", 1000000, nullptr, false},
        {"Height", -201, nullptr, false},
        {"Height", -40, nullptr, true},
        {"Width", -1, nullptr, false},
        {"Width", 5000, nullptr, false},
        {"Escapement", 3601, nullptr, false},
        {"Escapement", -900, nullptr, true},
        {"Orientation", -99999, nullptr, false},
        {"Weight", 1001, nullptr, false},
        {"Weight", -5, nullptr, false},
        {"Weight", 700, nullptr, true},
        {"CharSet", 17, nullptr, false},
        {"CharSet", 161, nullptr, true},
        {"FaceName", 0, "", false},
        {"FaceName", 0, "Dejavu\x01Sans", false},
        {"FaceName", 0, "DejaVu Sans", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + (c.text ? c.text : std::to_string(c.value)));
        font = stored;
        app.CloseApp();
        if (c.text)
            Profile().WriteString("OpenGL text font", c.key, c.text);
        else
            Profile().WriteInt("OpenGL text font", c.key, c.value);
        font = stored;
        frame->GetLogWindow()->EmptyLog();
        EXPECT_TRUE(app.InitApp());
        CString log;
        frame->GetLogWindow()->GetLogEdit().GetWindowText(log);
        if (c.taken) {
            EXPECT_TRUE(KorApp::GetSettingResets().empty());
            EXPECT_TRUE(log.IsEmpty()) << log;
            EXPECT_NE(std::memcmp(&font, &stored, sizeof font), 0); // the new value was taken
            continue;
        }
        const std::string setting = std::string("OpenGL text font/") + c.key;
        EXPECT_EQ(KorApp::GetSettingResets(), std::vector<std::string>{setting});
        EXPECT_EQ(std::string(log), std::string(KorApp::SettingResetLine(setting)));
        EXPECT_EQ(std::memcmp(&font, &stored, sizeof font), 0);
    }
    font = stored;
}

// Palettes are saved into the program's folder while the user may write
// there, else into the user's data folder; both are always named for the
// dialogs' list of places.
TEST(KorPaletteFolders, TheProgramsFolderWhenWritableElseTheUsersDataFolder)
{
    TempFolder temp;
    const std::string root = temp.path();
    std::filesystem::create_directories(root + "/app/Ext/Palettes");
    std::filesystem::create_directories(root + "/bare");
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string keep = saved ? saved : "";
    setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    const std::string user = root + "/data/Vornetic/Ext/Palettes/";

    const KorPaletteFolders writable = KorGetPaletteFolders((root + "/app/").c_str());
    EXPECT_EQ(std::string(writable.program), root + "/app/Ext/Palettes/");
    EXPECT_EQ(std::string(writable.user), user);
    EXPECT_EQ(writable.writable, writable.program);

    // No palette folder beside the program (or one the user may not write):
    // the user's folder, which is not made before a dialog needs it.
    const KorPaletteFolders missing = KorGetPaletteFolders((root + "/bare/").c_str());
    EXPECT_EQ(std::string(missing.writable), user);
    EXPECT_FALSE(std::filesystem::exists(root + "/data"));
    chmod((root + "/app/Ext/Palettes").c_str(), 0555);
    if (access((root + "/app/Ext/Palettes").c_str(), W_OK) != 0) { // not as root
        EXPECT_EQ(std::string(KorGetPaletteFolders((root + "/app/").c_str()).writable), user);
    }
    chmod((root + "/app/Ext/Palettes").c_str(), 0755);

    if (saved)
        setenv("XDG_DATA_HOME", keep.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}
