#include "framework/korapp.h"

#include <algorithm>

#include "framework/kormainfrm.h"
#include "framework/viewcursors.h"
#include "glstyle/tincora.h"
#include "glview/oglrenderer.h"
#include "glview/oglview.h"
#include "platform/afx/numconv.h"
#include "platform/afx/safefile.h"
#include "platform/dimvor/units.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

IMPLEMENT_DYNAMIC(KorApp, CWinApp)

UINT KorApp::m_uiStChldFrmSett = 3;

HKORCURSOR KorViewCursors::m_hNormalCursor = nullptr;
HKORCURSOR KorViewCursors::m_hPointCursor = nullptr;
HKORCURSOR KorViewCursors::m_hPanCursor = nullptr;
HKORCURSOR KorViewCursors::m_hZoomRectCursor = nullptr;
HKORCURSOR KorViewCursors::m_hZoomDynCursor = nullptr;
HKORCURSOR KorViewCursors::m_hRotateCursor = nullptr;

HKORCURSOR KorLoadCursor(UINT nID)
{
    const AfxCursorResource* resource = AfxFindResource<AfxCursorResource>(nID);
    return resource ? new KorCursor{nID, *resource} : nullptr;
}

namespace
{

const char* const kWindow = "Window";
const char* const kProperties = "Properties";
const char* const kFont = "OpenGL text font";
const char* const kFrameSetting = "Common Frame Setting";

// One value in or out, in the archive's direction.
template <class T> void Transfer(CArchive& ar, T& value)
{
    if (ar.IsStoring())
        ar << value;
    else
        ar >> value;
}

// A flag stored as a DWORD 1 or 0; any non-zero value reads as true.
void TransferFlag(CArchive& ar, bool& flag)
{
    DWORD word = flag ? 1 : 0;
    Transfer(ar, word);
    flag = word != 0;
}

void TransferInt(CArchive& ar, int& value)
{
    DWORD word = static_cast<DWORD>(value);
    Transfer(ar, word);
    value = static_cast<int>(word);
}

// The ranges of the values read from the settings archive.
bool IsFraction(double v)
{
    return v >= 0.0 && v <= 1.0; // false for NaN
}
bool IsFinite(double v)
{
    return std::isfinite(v);
}
// Line widths and point sizes, in pixels; -1.0 is the line widths' "not set
// yet", which the renderer fills at its first context.
bool IsDrawingSize(double v)
{
    return (v > 0.0 && v <= 100.0) || v == -1.0;
}
// OpenGL's range of the specular exponent.
bool IsShininess(double v)
{
    return v >= 0.0 && v <= 128.0;
}

// A colour component, 0 ... 1.
template <class T> void TransferColour(CArchive& ar, T& value, const char* name)
{
    KorTransferSetting(ar, value, [](T v) { return IsFraction(v); }, name);
}

// An int stored as a DWORD, taken when it lies in first ... last.
void TransferIntIn(CArchive& ar, int& value, int first, int last, const char* name)
{
    KorTransferSetting(
        ar, value, [first, last](int v) { return v >= first && v <= last; }, name);
}

// The unit choices of quantities first .. last, per setting and system: a
// unit index of the units table, any number format (a code other than 0
// and 1 is general) and 0 ... 17 digits.
void TransferUnits(CArchive& ar, int first, int last)
{
    static const int kLimits[3][2] = {{0, 9}, {INT_MIN, INT_MAX}, {0, 17}};
    for (int q = first; q <= last; ++q)
        for (int s = 0; s < 3; ++s)
            for (int u = 0; u < 2; ++u)
                TransferIntIn(ar, iConv[u][q][s], kLimits[s][0], kLimits[s][1], "Units");
}

// The framework's groups of the settings archive, in their stored order.
const char* const kColourScaleGroup = "Colour scale";
const char* const kViewColoursGroup = "View colours";
const char* const kScaleMarksGroup = "Colour scale marks";
const char* const kLightsGroup = "Lights and material";
const char* const kTextColourGroup = "Text colour";
const char* const kSizesGroup = "Line widths and point sizes";
const char* const kUnitsGroup = "Units";

// The rendering globals of the settings archive, in their stored order.
void TransferGraphics(CArchive& ar, int& showCmd)
{
    KorApp::BeginSettingsGroup(ar, kColourScaleGroup);
    DWORD zero = 0;
    Transfer(ar, zero);
    for (auto& entry : dColorIndex)
        for (double& component : entry)
            TransferColour(ar, component, "Colour scale");
    KorApp::BeginSettingsGroup(ar, kViewColoursGroup);
    for (int i = 0; i < 4; ++i) {
        TransferColour(ar, fBckClrRsView[i], "Results view background colour");
        TransferColour(ar, fBckClrMdView[i], "Model view background colour");
        TransferColour(ar, dMaterialColor[i], "Material colour");
        TransferColour(ar, dGridColor[i], "Grid colour");
        TransferColour(ar, dAxisColor[i], "Axis colour");
    }
    KorApp::BeginSettingsGroup(ar, kScaleMarksGroup);
    for (bool& node : IsNode)
        TransferFlag(ar, node);
    KorApp::BeginSettingsGroup(ar, kLightsGroup);
    // Colours of the lights and the material, and the light position.
    const struct {
        float* values;
        const char* name;
    } lights[] = {{ambientLight1, "Light 1 ambient"},   {diffuseLight1, "Light 1 diffuse"},
                  {specularLight1, "Light 1 specular"}, {ambientLight2, "Light 2 ambient"},
                  {diffuseLight2, "Light 2 diffuse"},   {specularLight2, "Light 2 specular"},
                  {ambientLight3, "Light 3 ambient"},   {diffuseLight3, "Light 3 diffuse"},
                  {specularLight3, "Light 3 specular"}, {mat_ambient, "Material ambient"},
                  {mat_specular, "Material specular"},  {mat_diffuse, "Material diffuse"},
                  {lmodel_ambient, "Ambient light"},    {mat_emission, "Material emission"},
                  {fog_color, "Fog colour"},            {position2, "Light position"}};
    for (int i = 0; i < 4; ++i)
        for (const auto& light : lights) {
            if (light.values == position2)
                KorTransferSetting(ar, light.values[i], IsFinite, light.name);
            else
                TransferColour(ar, light.values[i], light.name);
        }
    for (int i = 0; i < 3; ++i) {
        TransferFlag(ar, bLightOn[i]);
        KorTransferSetting(ar, directLight[i], IsFinite, "Light direction");
    }
    KorTransferSetting(ar, mat_shininess[0], IsShininess, "Material shininess");
    KorTransferSetting(ar, lmodel_twoside[0], IsFinite, "Two-sided lighting");
    KorTransferSetting(ar, lmodel_local_viewer[0], IsFinite, "Local viewer");
    KorApp::BeginSettingsGroup(ar, kTextColourGroup);
    for (float& component : glcTextClr)
        TransferColour(ar, component, "Text colour");
    KorApp::BeginSettingsGroup(ar, kSizesGroup);
    int storedShowCmd = showCmd;
    TransferInt(ar, storedShowCmd); // read back but not used
    TransferFlag(ar, COGLRenderer::bLineSmooth);
    TransferFlag(ar, COGLRenderer::bPointSmooth);
    for (double* width : {&THIN_EDGE, &MEDIUM_EDGE, &WIDE_EDGE, &AXIS_WIDTH, &SMALL_POINT,
                          &MEDIUM_S_POINT, &MEDIUM_L_POINT, &LARGE_POINT})
        KorTransferSetting(ar, *width, IsDrawingSize, "Line widths and point sizes");
}

std::vector<std::string> s_settingResets; // names, in the order first noted
std::vector<std::string> s_groupsBegun;   // groups of the archive being read, in order

// The integer fields of the text font, their profile keys and the values
// that draw letters: a size up to 200 pixels (0: the face's own), an angle
// within one turn (tenths of a degree), a weight from 0 (any) to 1000.
struct FontInt {
    const char* key;
    LONG LOGFONT::*field;
    LONG low;
    LONG high;
};
const FontInt kFontInts[] = {{"Height", &LOGFONT::lfHeight, -200, 200},
                             {"Width", &LOGFONT::lfWidth, 0, 200},
                             {"Escapement", &LOGFONT::lfEscapement, -3600, 3600},
                             {"Orientation", &LOGFONT::lfOrientation, -3600, 3600},
                             {"Weight", &LOGFONT::lfWeight, 0, 1000}};
// The character sets a font can be asked for.
constexpr BYTE kCharSets[] = {0, 1, 2, 77, 128, 129, 130, 134, 136, 161, 162, 163, 177, 178, 186, 204, 222, 238, 255};

// The name under which a reset text-font entry is named in the log: its
// section and key in the profile, where the user would mend it.
std::string FontSetting(const char* key)
{
    return std::string("OpenGL text font/") + key;
}
struct FontByte {
    const char* key;
    BYTE LOGFONT::*field;
};
const FontByte kFontBytes[] = {{"Italic", &LOGFONT::lfItalic},
                               {"Underline", &LOGFONT::lfUnderline},
                               {"StrikeOut", &LOGFONT::lfStrikeOut},
                               {"CharSet", &LOGFONT::lfCharSet},
                               {"OutPrecision", &LOGFONT::lfOutPrecision},
                               {"ClipPrecision", &LOGFONT::lfClipPrecision},
                               {"Quality", &LOGFONT::lfQuality},
                               {"PitchAndFamily", &LOGFONT::lfPitchAndFamily}};

// The six view cursors and their resource ids.
struct CursorSlot {
    HKORCURSOR* handle;
    UINT nID;
};
const CursorSlot kCursors[] = {
    {&KorViewCursors::m_hNormalCursor, 27044},  {&KorViewCursors::m_hPointCursor, 27040},
    {&KorViewCursors::m_hPanCursor, 27041},     {&KorViewCursors::m_hZoomRectCursor, 27043},
    {&KorViewCursors::m_hZoomDynCursor, 27045}, {&KorViewCursors::m_hRotateCursor, 27042}};

// The screen size the window layer reports.
CSize ScreenSize()
{
    CWndBackend* backend = AfxGetWndBackend();
    return backend ? backend->GetScreenSize() : CSize(800, 600);
}

} // namespace

BOOL KorApp::InitInstance()
{
    m_pDocManager = std::make_unique<CDocManager>();
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    m_strAppDir = error ? CString("./") : KorProgramFolder(exe.c_str());
    return CWinApp::InitInstance();
}

CString KorApp::GetHelpFolder() const
{
    return KorHelpFolder(m_strAppDir);
}

void KorApp::OnHelpIndex()
{
    OpenFileInDefApp(GetHelpFolder(), "index.html");
}

BEGIN_MESSAGE_MAP(KorApp, CWinApp)
ON_COMMAND(ID_HELP_FINDER, OnHelpIndex)
ON_COMMAND(ID_CONTEXT_HELP, OnHelpIndex)
ON_COMMAND(ID_HELP, OnHelpIndex)
ON_COMMAND(ID_DEFAULT_HELP, OnHelpIndex)
END_MESSAGE_MAP()

namespace
{
// The folder of a path, ending in "/".
CString WithSlash(const std::filesystem::path& folder)
{
    std::string text = folder.lexically_normal().string();
    if (text.empty() || text.back() != '/')
        text += '/';
    return CString(text.c_str());
}

// An installed program: <prefix>/bin/<exe> beside <prefix>/share/brantel/.
bool IsInstalled(const std::filesystem::path& exeFolder)
{
    std::error_code error;
    return exeFolder.filename() == "bin" &&
           std::filesystem::is_directory(exeFolder.parent_path() / "share" / "brantel", error);
}
} // namespace

CString KorProgramFolder(LPCTSTR lpszExePath)
{
    const std::filesystem::path folder = std::filesystem::path(lpszExePath).parent_path();
    return WithSlash(IsInstalled(folder) ? folder.parent_path() / "share" / "brantel" : folder);
}

CString KorHelpFolder(const CString& programFolder)
{
    const std::filesystem::path folder(static_cast<LPCTSTR>(programFolder));
    // share/brantel/ installed: the manual is in share/doc/brantel/; in the
    // build tree it is in the program folder's doc/.
    const std::filesystem::path dir = folder.parent_path();
    if (dir.filename() == "brantel" && dir.parent_path().filename() == "share")
        return WithSlash(dir.parent_path() / "doc" / "brantel");
    return WithSlash(folder / "doc");
}

CString KorDocumentFolder(const CDocument* pDoc)
{
    const CString path = pDoc ? pDoc->GetPathName() : CString();
    const int slash = path.ReverseFind('/');
    return slash > 0 ? path.Left(slash) : slash == 0 ? CString("/") : CString();
}

KorPaletteFolders KorGetPaletteFolders(const CString& programFolder)
{
    KorPaletteFolders folders;
    folders.program = programFolder + "Ext/Palettes/";
    const std::filesystem::path program(static_cast<LPCTSTR>(folders.program));
    std::filesystem::path data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        data = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        data = std::filesystem::path(home) / ".local" / "share";
    if (!data.empty())
        folders.user = WithSlash(data / "Vornetic" / "Ext" / "Palettes");
    std::error_code error;
    if (std::filesystem::is_directory(program, error) && access(program.c_str(), W_OK) == 0) {
        folders.writable = folders.program;
    } else if (!folders.user.IsEmpty()) {
        // The user's folder, or the nearest folder above it that exists,
        // must be writable (the folder is made when a dialog needs it).
        std::filesystem::path user(static_cast<LPCTSTR>(folders.user));
        while (!user.empty() && !std::filesystem::exists(user, error) && user != user.root_path())
            user = user.parent_path();
        if (std::filesystem::is_directory(user, error) && access(user.c_str(), W_OK) == 0)
            folders.writable = folders.user;
    }
    return folders;
}

int KorApp::ExitInstance()
{
    return CWinApp::ExitInstance();
}

CString KorApp::GetSettingsPath()
{
    return GetSettingsFolder() + "/" + m_pszExeName + ".ini";
}

bool KorApp::InitApp()
{
    return InitApp(GetSettingsPath());
}

void KorApp::CloseApp()
{
    CloseApp(GetSettingsPath());
}

void KorApp::NoteSettingReset(const char* name)
{
    if (std::find(s_settingResets.begin(), s_settingResets.end(), name) == s_settingResets.end())
        s_settingResets.emplace_back(name);
}

const std::vector<std::string>& KorApp::GetSettingResets()
{
    return s_settingResets;
}

CString KorApp::SettingResetLine(const std::string& name)
{
    return CString("The setting \"") + name.c_str() +
           "\" was out of range and is reset to its default.\r\n";
}

std::vector<std::string> KorApp::SettingsGroups() const
{
    std::vector<std::string> groups = {kColourScaleGroup, kViewColoursGroup, kScaleMarksGroup,
                                       kLightsGroup,      kTextColourGroup,  kSizesGroup,
                                       kUnitsGroup};
    for (const std::string& group : AppSettingsGroups())
        groups.push_back(group);
    if (const auto* frame = dynamic_cast<const KorMainFrm*>(m_pMainWnd))
        for (const std::string& group : frame->FrameSettingsGroups())
            groups.push_back(group);
    return groups;
}

void KorApp::BeginSettingsGroup(CArchive& ar, const char* name)
{
    if (ar.IsLoading())
        s_groupsBegun.emplace_back(name);
}

CString KorApp::SettingsCutLine(const CString& path, const std::vector<std::string>& groups)
{
    std::string names;
    for (const std::string& group : groups)
        names += (names.empty() ? "" : ", ") + group;
    return CString(AfxFormat("The settings file %s could not be read to its end; these settings "
                             "keep their defaults: %s.\r\n",
                             std::filesystem::path(static_cast<LPCTSTR>(path)).lexically_normal().c_str(),
                             names.c_str())
                       .c_str());
}

void KorApp::AppSpecificInit(CArchive& ar)
{
    BeginSettingsGroup(ar, kUnitsGroup);
    TransferIntIn(ar, iStandard, 0, 1, "Unit system");
    TransferUnits(ar, 0, 17);
    DWORD marker = 1;
    Transfer(ar, marker);
    if (ar.IsLoading() && marker != 1)
        return; // an older archive: quantities 18 to 29 keep their values
    TransferUnits(ar, 18, 29);
    DWORD end = 0;
    Transfer(ar, end);
}

void KorApp::SerializeSettings(CArchive& ar)
{
    if (ar.IsLoading())
        s_groupsBegun.clear();
    TransferGraphics(ar, m_nCmdShow);
    AppSpecificInit(ar);
    if (KorMainFrm* frame = dynamic_cast<KorMainFrm*>(m_pMainWnd))
        frame->InitFrame(ar);
}

void KorApp::LoadCursors(bool load)
{
    for (const CursorSlot& slot : kCursors) {
        if (load) {
            delete *slot.handle; // a second load replaces the first
            *slot.handle = KorLoadCursor(slot.nID);
        } else if (*slot.handle) {
            delete *slot.handle;
            *slot.handle = nullptr;
        }
    }
}

void KorApp::InitFrameWithoutArchive()
{
    if (KorMainFrm* frame = dynamic_cast<KorMainFrm*>(m_pMainWnd)) {
        frame->LoadBarState("VizBarState");
        frame->InitFrame();
    }
}

CRect KorPlaceOnScreen(const CRect& rect, CSize screen)
{
    // At least this much of the window stays on the screen: its title bar
    // and enough of its width to be taken and moved.
    constexpr int kVisible = 100;
    const int width = std::max(1, std::min(static_cast<int>(rect.Width()), static_cast<int>(screen.cx)));
    const int height = std::max(1, std::min(static_cast<int>(rect.Height()), static_cast<int>(screen.cy)));
    const int left = std::clamp(static_cast<int>(rect.left), std::min(0, kVisible - width),
                                std::max(0, static_cast<int>(screen.cx) - kVisible));
    const int top = std::clamp(static_cast<int>(rect.top), 0, std::max(0, static_cast<int>(screen.cy) - kVisible));
    return CRect(left, top, left + width, top + height);
}

bool KorApp::InitApp(CString path)
{
    m_nCmdShow = static_cast<int>(GetProfileInt(kWindow, "ShowCmd", 3));

    const CSize screen = ScreenSize();
    const int left = static_cast<int>(GetProfileInt(kWindow, "Left", 0));
    const int top = static_cast<int>(GetProfileInt(kWindow, "Top", 0));
    const int width =
        static_cast<int>(GetProfileInt(kWindow, "Width", static_cast<int>(0.75 * screen.cx)));
    const int height =
        static_cast<int>(GetProfileInt(kWindow, "Height", static_cast<int>(0.75 * screen.cy)));
    m_placement.flags = static_cast<int>(GetProfileInt(kWindow, "Zoomed", 0)) > 0 ? 2 : 0;
    m_placement.showCmd = SW_HIDE;
    m_placement.rcNormalPosition = KorPlaceOnScreen(CRect(left, top, left + width, top + height), screen);
    if (m_pMainWnd && m_pMainWnd->GetSafeHwnd()) {
        m_pMainWnd->MoveWindow(m_placement.rcNormalPosition);
        m_pMainWnd->ShowWindow(SW_HIDE);
    }

    COGLRenderer::bUseAccel =
        GetProfileInt(kProperties, "OGLAccel", COGLRenderer::bUseAccel ? 1 : 0) != 0;
    // A hand-edited or negative entry must not ask for gigabytes at the next pick.
    COGLRenderer::iSelBufSize =
        std::min(static_cast<unsigned int>(GetProfileInt(kProperties, "Selection buffer",
                                                         static_cast<int>(COGLRenderer::iSelBufSize))),
                 COGLRenderer::kMaxSelBufSize);
    s_settingResets.clear();
    // The text font's entries are checked like the archive's values: one
    // that would draw no letters keeps the font's current value and is named.
    LOGFONT& font = COGLView::m_statLogFont;
    for (const FontInt& f : kFontInts) {
        const int value = static_cast<int>(GetProfileInt(kFont, f.key, font.*f.field));
        if (value >= f.low && value <= f.high)
            font.*f.field = static_cast<LONG>(value);
        else
            NoteSettingReset(FontSetting(f.key).c_str());
    }
    for (const FontByte& f : kFontBytes) {
        const BYTE value = static_cast<BYTE>(GetProfileInt(kFont, f.key, font.*f.field) & 0xFF);
        if (f.field == &LOGFONT::lfCharSet && std::find(std::begin(kCharSets), std::end(kCharSets), value) == std::end(kCharSets))
            NoteSettingReset(FontSetting(f.key).c_str());
        else
            font.*f.field = value;
    }
    // A face name is printable text; a longer one than the field holds is cut.
    const CString face = GetProfileString(kFont, "FaceName", font.lfFaceName);
    const std::string faceText(face.GetString());
    const bool printable = !faceText.empty() && std::none_of(faceText.begin(), faceText.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
    if (printable) {
        std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
        std::strncpy(font.lfFaceName, face, sizeof font.lfFaceName - 1);
        // Not cut inside a character of several bytes.
        std::size_t kept = std::strlen(font.lfFaceName);
        while (kept > 0 && kept < faceText.size() && (static_cast<unsigned char>(faceText[kept]) & 0xC0) == 0x80)
            font.lfFaceName[--kept] = '\0';
    } else {
        NoteSettingReset(FontSetting("FaceName").c_str());
    }
    m_uiStChldFrmSett =
        GetProfileInt(kFrameSetting, "Frame 1", static_cast<int>(m_uiStChldFrmSett));

    CFile file;
    // The groups from the one being read on, when the file ends before them.
    std::vector<std::string> cut;
    if (file.Open(path, CFile::modeRead)) {
        try {
            CArchive ar(&file, CArchive::load, 4096);
            SerializeSettings(ar);
        } catch (const CException&) {
            // A short or damaged archive: what was read stays, and the frame
            // sets itself up as without an archive.
            InitFrameWithoutArchive();
            const std::vector<std::string> groups = SettingsGroups();
            const auto at = s_groupsBegun.empty()
                                ? groups.begin()
                                : std::find(groups.begin(), groups.end(), s_groupsBegun.back());
            cut.assign(at == groups.end() ? groups.begin() : at, groups.end());
        }
        file.Close();
    } else {
        InitFrameWithoutArchive();
    }
    // Each setting that was reset, once, and a file that ended early, where
    // the user reads the program's log.
    if (!s_settingResets.empty() || !cut.empty()) {
        CStringArray lines;
        for (const std::string& name : s_settingResets)
            lines.Add(SettingResetLine(name));
        if (!cut.empty())
            lines.Add(SettingsCutLine(path, cut));
        KorWriteLog(lines, m_pMainWnd);
    }

    LoadCursors(true);
    return true;
}

void KorApp::CloseApp(CString path)
{
    WriteProfileInt(kProperties, "OGLAccel", COGLRenderer::bUseAccel ? 1 : 0);
    WriteProfileInt(kProperties, "Selection buffer", static_cast<int>(COGLRenderer::iSelBufSize));
    const LOGFONT& font = COGLView::m_statLogFont;
    for (const FontInt& f : kFontInts)
        WriteProfileInt(kFont, f.key, font.*f.field);
    for (const FontByte& f : kFontBytes)
        WriteProfileInt(kFont, f.key, font.*f.field);
    const std::string face(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE - 1));
    WriteProfileString(kFont, "FaceName", face.c_str());
    WriteProfileInt(kFrameSetting, "Frame 1", static_cast<int>(m_uiStChldFrmSett));

    LoadCursors(false);

    const std::filesystem::path target(static_cast<LPCTSTR>(path));
    std::error_code ignored;
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), ignored);
    const CString failure = afx::WriteFileSafely(path, [this](CFile& file) {
        CArchive ar(&file, CArchive::store, 4096);
        SerializeSettings(ar);
        ar.Close();
    });
    if (!failure.IsEmpty())
        std::fprintf(stderr, "Brantel: the settings file %s was not written: %s\n",
                     static_cast<LPCTSTR>(path), static_cast<LPCTSTR>(failure));
}

void KorWriteLog(CStringArray& lines, CWnd* pMainWnd)
{
    KorMainFrm* frame = dynamic_cast<KorMainFrm*>(pMainWnd ? pMainWnd : AfxGetMainWnd());
    if (frame && frame->GetLogWindow()->GetSafeHwnd()) {
        frame->GetLogWindow()->WriteLogEntry(&lines);
        return;
    }
    for (int i = 0; i < lines.GetSize(); ++i)
        std::fprintf(stderr, "Brantel: %s", static_cast<LPCTSTR>(lines[i]));
}

bool OpenFileInDefApp(CString folder, CString file)
{
    CString text;
    switch (AfxShellOpen(folder, file)) {
    case AFX_SHELL_PATH_NOT_FOUND:
        text.Format("The path \"%s\" was not found.", static_cast<LPCTSTR>(folder));
        break;
    case AFX_SHELL_FILE_NOT_FOUND:
        text.Format("The file \"%s\" was not found in\n\"%s\".", static_cast<LPCTSTR>(file),
                    static_cast<LPCTSTR>(folder));
        break;
    case AFX_SHELL_ACCESS_DENIED:
        text.Format("The operating system denied access to \"%s\".", static_cast<LPCTSTR>(file));
        break;
    case AFX_SHELL_NO_ASSOCIATION: {
        const int dot = file.ReverseFind('.');
        const CString extension = dot < 0 ? CString(" ") : file.Mid(dot);
        // The user opens it by hand, so the message says where it is.
        const std::filesystem::path name(static_cast<LPCTSTR>(file));
        const std::filesystem::path full =
            name.is_absolute() ? name : std::filesystem::path(static_cast<LPCTSTR>(folder)) / name;
        text.Format("There is no application associated with the given file name extension "
                    "(\"%s\").\nThe file is \"%s\".",
                    static_cast<LPCTSTR>(extension), full.lexically_normal().c_str());
        break;
    }
    default:
        return true; // every other outcome is success
    }
    AfxMessageBox(text, MB_OK);
    return false;
}
