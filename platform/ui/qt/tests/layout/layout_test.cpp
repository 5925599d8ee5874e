// The layout check: every registered dialog template, built on the Qt peers
// with the real dialog font, keeps its controls inside the dialog, lets no
// two visible controls overlap unless one is flagged "overlaps", starts the
// controls of a titled group box below its title, and gives every static,
// button and check text room for itself. Every picture a control shows (the
// template's own, and those the pages put there while they run) exists, is
// drawn at no less than its own size at the font's resolution and keeps its
// ink inside its frame. On a display, a picture of every built template is
// saved as artifacts/dialogs/<template id>_<dpi>.png.
#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolButton>

#include "platform/afx/numconv.h"
#include "platform/ui/core/afxui.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/qtpeers.h"
#include "platform/ui/qt/qtservices.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace
{

// Texts known to be wider than their rectangle on purpose, as
// "<template id>:<control index>".
const std::set<std::string> kWideTextAllowed = {};

bool IsContainer(AfxCtl kind)
{
    // Frames and tab controls hold other controls by design.
    return kind == AfxCtl::groupBox || kind == AfxCtl::tab;
}

// The room a text needs inside its widget, or 0 when it has no text to fit.
int NeededWidth(const QWidget& widget, int nAvailableHeight, bool& bWrapsOver)
{
    bWrapsOver = false;
    const QFontMetrics metrics = widget.fontMetrics();
    if (auto* label = qobject_cast<const QLabel*>(&widget)) {
        const QString text = QString(label->text()).remove('&');
        if (text.isEmpty())
            return 0;
        if (label->wordWrap()) {
            const QRect box =
                metrics.boundingRect(QRect(0, 0, label->width(), 100000), Qt::TextWordWrap, text);
            // One line fits in a font height (8 dialog units), as on the
            // system the templates come from.
            const int lines = (box.height() + metrics.lineSpacing() / 2) / metrics.lineSpacing();
            bWrapsOver = lines > std::max(1, nAvailableHeight / metrics.height());
            return box.width();
        }
        return metrics.boundingRect(QRect(0, 0, 100000, 100000), 0, text).width();
    }
    if (auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
        const QString text = QString(button->text()).remove('&');
        if (text.isEmpty())
            return 0;
        int width = 0;
        for (const QString& line : text.split('\n'))
            width = std::max(width, metrics.horizontalAdvance(line));
        QStyle* style = widget.style();
        if (qobject_cast<const QCheckBox*>(&widget))
            width += style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &widget) +
                     style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &widget);
        else if (qobject_cast<const QRadioButton*>(&widget))
            width += style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, &widget) +
                     style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, &widget);
        return width;
    }
    return 0;
}

// How far down from its top a group box's title reaches: a control inside
// the box starts below it.
int TitleBand(const CWndState& group)
{
    auto* peer = dynamic_cast<CQtPeer*>(group.peer.get());
    auto* box = peer ? qobject_cast<QGroupBox*>(peer->Widget()) : nullptr;
    if (!box)
        return 0;
    // The frame line runs through the title: the title's line of text.
    return box->title().isEmpty() ? 0 : box->fontMetrics().height();
}

// Pictures the pages put into a control of their template while they run:
// the edge load's membrane and plate loads, the membrane supports, the
// element pictures, the ring segments and the document types.
struct ShownPictures {
    UINT nTemplate;
    int nControl;
    std::vector<UINT> pictures;
};
const std::vector<UINT> kElementPictures = {16005, 16006, 16007, 16008, 16009, 16010,
                                            16011, 16012, 16013, 16014, 16015, 16067};
const ShownPictures kShownPictures[] = {
    {744, 1159, {733, 747, 790}},
    {791, 1194, {762}},
    {791, 1195, {761}},
    {791, 1196, {763}},
    {137, 1072, kElementPictures},
    {704, 1072, kElementPictures},
    {743, 1072, kElementPictures},
    {16069, 16030, {16070, 16178, 16181}},
    {16000, 16000, {16002}},
    {16000, 16001, {16001}},
};

// Whether picture nBitmapID has letters that must keep their size: an SVG
// with text, or an image whose pixels blur when it is shrunk.
bool HasLettering(UINT nBitmapID)
{
    const AfxBitmapResource* resource = AfxFindResource<AfxBitmapResource>(nBitmapID);
    if (!resource || resource->strFormat != "svg")
        return true;
    const std::string svg(resource->data.begin(), resource->data.end());
    return svg.find("<text") != std::string::npos;
}

// What is wrong with picture nBitmapID shown in room (pixels) of widget, or
// an empty text. A picture is drawn in its own shape as large as its room
// holds it. A room too small for its own size at the font's resolution
// shrinks its letters (a drawing without letters may shrink to half its
// size), and ink beyond the picture's own frame is cut off by the control.
std::string PictureProblem(UINT nBitmapID, const QWidget& widget, QSize room)
{
    const QSize natural = AfxQtPictureSize(nBitmapID);
    if (natural.isEmpty())
        return AfxFormat(" shows no picture %u (a frame with its number)", nBitmapID);
    const double scale = widget.logicalDpiY() / 96.0 * (HasLettering(nBitmapID) ? 1.0 : 0.5);
    const QSize needed(static_cast<int>(std::lround(natural.width() * scale)),
                       static_cast<int>(std::lround(natural.height() * scale)));
    if (needed.width() > room.width() || needed.height() > room.height())
        return AfxFormat(" needs %d x %d pixels for picture %u; it has %d x %d", needed.width(),
                         needed.height(), nBitmapID, room.width(), room.height());
    // Drawn as the control draws it on a sheet with a margin all round.
    const QRect shown = AfxQtPictureRect(nBitmapID, QRect(QPoint(0, 0), room));
    // Button art (a 16 x 15 icon) stretched over a picture area shows
    // nothing the page is about.
    const double blownUp = shown.width() / (natural.width() * widget.logicalDpiY() / 96.0);
    if (blownUp > 2.0)
        return AfxFormat(" blows picture %u up to %.1f times its size", nBitmapID, blownUp);
    const int margin = std::max(room.width(), room.height()) / 2 + 8;
    QImage sheet(room + QSize(2 * margin, 2 * margin), QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::transparent);
    {
        QPainter painter(&sheet);
        AfxQtDrawPicture(painter, shown.translated(margin, margin), nBitmapID);
    }
    const QRect frame = shown.translated(margin, margin);
    bool left = false, right = false, top = false, bottom = false;
    int ink = 0;
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x) {
            if (qAlpha(sheet.pixel(x, y)) <= 32)
                continue;
            ++ink;
            left |= x < frame.left();
            right |= x > frame.right();
            top |= y < frame.top();
            bottom |= y > frame.bottom();
        }
    if (ink == 0)
        return AfxFormat(" draws nothing of picture %u", nBitmapID);
    if (left || right || top || bottom)
        return AfxFormat(" cuts picture %u on its%s%s%s%s side", nBitmapID, left ? " left" : "",
                         right ? " right" : "", top ? " top" : "", bottom ? " bottom" : "");
    return {};
}

// The pictures control of tmpl shows.
std::vector<UINT> PicturesOf(const DialogTemplate& tmpl, const DialogControl& control)
{
    std::vector<UINT> pictures;
    if (control.nBitmapID != 0 &&
        (control.kind == AfxCtl::picture || control.kind == AfxCtl::pictureButton))
        pictures.push_back(control.nBitmapID);
    for (const ShownPictures& shown : kShownPictures)
        if (shown.nTemplate == tmpl.nID && shown.nControl == control.nID)
            for (UINT picture : shown.pictures)
                if (std::find(pictures.begin(), pictures.end(), picture) == pictures.end())
                    pictures.push_back(picture);
    return pictures;
}

// The room a control's widget gives its picture.
QSize PictureRoom(const QWidget& widget)
{
    // A picture button shows its picture as its icon.
    if (auto* button = qobject_cast<const QToolButton*>(&widget))
        return button->iconSize();
    return widget.size();
}

// The font's resolution the check runs at, for the pictures' names.
int FontDpi()
{
    bool ok = false;
    const int dpi = qEnvironmentVariableIntValue("QT_FONT_DPI", &ok);
    return ok ? dpi : 96;
}

// On a display (not the offscreen platform), pictures of the templates are
// saved.
bool SavesScreenshots()
{
    return QGuiApplication::platformName() != QLatin1String("offscreen");
}

// The problems of one template, one line each; bScreenshot saves its
// picture on a display.
std::vector<std::string> CheckTemplate(const DialogTemplate& tmpl, bool bScreenshot = false)
{
    std::vector<std::string> problems;
    CWnd window;
    if (!AfxCreateFromTemplate(window, tmpl, nullptr)) {
        problems.push_back(AfxFormat("template %u: not created", tmpl.nID));
        return problems;
    }
    const std::vector<CWndState*> children = AfxGetChildStates(window.GetSafeHwnd());
    if (children.size() != tmpl.controls.size()) {
        problems.push_back(AfxFormat("template %u: %zu windows for %zu controls", tmpl.nID,
                                     children.size(), tmpl.controls.size()));
        window.DestroyWindow();
        return problems;
    }
    CRect client;
    window.GetClientRect(client);
    // What each control shows: its widget's rectangle (a closed combo is
    // lower than its template rectangle, which holds the dropped list).
    std::vector<CRect> shown;
    for (const CWndState* child : children) {
        auto* peer = dynamic_cast<CQtPeer*>(child->peer.get());
        const QRect g = peer && peer->Widget() ? peer->Widget()->geometry() : QRect();
        shown.push_back(peer ? CRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height())
                             : child->rect);
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
        const DialogControl& control = tmpl.controls[i];
        const CRect& rect = shown[i];
        const std::string name = AfxFormat("template %u control %zu (id %d, \"%s\")", tmpl.nID, i,
                                           control.nID, static_cast<LPCTSTR>(control.strText));
        if (rect.left < 0 || rect.top < 0 || rect.right > client.right ||
            rect.bottom > client.bottom)
            problems.push_back(name + " lies outside the dialog");
        const bool visible = (control.dwStyle & WS_VISIBLE) != 0;
        for (std::size_t j = i + 1; visible && j < children.size(); ++j) {
            const DialogControl& other = tmpl.controls[j];
            if (!(other.dwStyle & WS_VISIBLE) || control.bOverlaps || other.bOverlaps ||
                IsContainer(control.kind) || IsContainer(other.kind))
                continue;
            const CRect& b = shown[j];
            if (rect.left < b.right && b.left < rect.right && rect.top < b.bottom &&
                b.top < rect.bottom)
                problems.push_back(name + AfxFormat(" overlaps control %zu (id %d)", j, other.nID));
        }
        if (control.kind == AfxCtl::groupBox && visible && !control.strText.IsEmpty())
            for (std::size_t j = 0; j < children.size(); ++j) {
                const CRect& b = shown[j];
                if (j == i || !(tmpl.controls[j].dwStyle & WS_VISIBLE) || b.left < rect.left ||
                    b.right > rect.right || b.top < rect.top || b.top >= rect.bottom)
                    continue;
                if (b.top < rect.top + TitleBand(*children[i]))
                    problems.push_back(name + AfxFormat(" has control %zu (id %d) over its title "
                                                        "(%d pixels down, %d needed)",
                                                        j, tmpl.controls[j].nID,
                                                        b.top - rect.top, TitleBand(*children[i])));
            }
        auto* peer = dynamic_cast<CQtPeer*>(children[i]->peer.get());
        if (peer && peer->Widget())
            for (UINT picture : PicturesOf(tmpl, control))
                if (const std::string problem =
                        PictureProblem(picture, *peer->Widget(), PictureRoom(*peer->Widget()));
                    !problem.empty())
                    problems.push_back(name + problem);
        if (!peer || !peer->Widget() || IsContainer(control.kind) ||
            kWideTextAllowed.count(AfxFormat("%u:%zu", tmpl.nID, i)))
            continue;
        bool wrapsOver = false;
        const int needed = NeededWidth(*peer->Widget(), rect.Height(), wrapsOver);
        if (needed > rect.Width() || wrapsOver)
            problems.push_back(name + AfxFormat(" needs %d pixels across%s; it has %d x %d", needed,
                                                wrapsOver ? " and more lines" : "", rect.Width(),
                                                rect.Height()));
    }
    if (bScreenshot && SavesScreenshots()) {
        const QString folder = afxui::qt::testing::ArtifactsFolder() + "/dialogs";
        QDir().mkpath(folder);
        QString why;
        if (!afxui::qt::testing::SaveScreenshot(
                AfxQtWidgetOf(&window), QString("dialogs/%1_%2.png").arg(tmpl.nID).arg(FontDpi()),
                &why))
            problems.push_back(AfxFormat("template %u: no picture saved (%s)", tmpl.nID,
                                         why.toStdString().c_str()));
    }
    window.DestroyWindow();
    return problems;
}

// Every registered template of every module (two libraries may share an
// id; each dialog takes its own library's).
std::vector<const DialogTemplate*> RegisteredTemplates()
{
    std::vector<const DialogTemplate*> found;
    for (const CResourceModule* module : AfxGetResourceChain())
        for (UINT id : module->Ids(typeid(DialogTemplate)))
            found.push_back(module->Find<DialogTemplate>(id));
    return found;
}

// Samples of the builder rows, and the faults the check must find: a
// picture whose resource is missing, a formula picture in a control shrunk
// below its size, a formula written wider than its own frame and an icon
// stretched over a picture area.
constexpr UINT kSampleRows = 9201, kBadOutside = 9202, kBadOverlap = 9203, kBadWide = 9204,
               kBadTitle = 9205, kBadPictureMissing = 9206, kBadPictureSmall = 9207,
               kBadPictureCut = 9208, kBadPictureBlownUp = 9211;
constexpr UINT kWideFormula = 9209, kNoSuchPicture = 9210, kIcon = 9212;
const char kIconSvg[] = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"15\">"
                        "<rect x=\"2\" y=\"2\" width=\"12\" height=\"11\"/></svg>";
const char kWideFormulaSvg[] =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"240\" height=\"28\" viewBox=\"0 0 240 28\">"
    "<text x=\"120\" y=\"19.6\" font-family=\"DejaVu Serif, serif\" font-size=\"20\" "
    "text-anchor=\"middle\">t = t0 + dtx (x - x0) + dty (y - y0) + more</text></svg>";
// The unit settings dialog, whose rectangles are given exactly.
constexpr UINT kUnitsSample = 9328;

// A control at (x, y) of size (cx, cy) in dialog units.
DialogControl At(int nID, AfxCtl kind, LPCTSTR text, int x, int y, int cx, int cy,
                 DWORD style = WS_VISIBLE | WS_TABSTOP)
{
    return AfxDialogControl(nID, kind, text, CRect(x, y, x + cx, y + cy), style);
}

DialogTemplate UnitsSample()
{
    DialogTemplate t;
    t.nID = kUnitsSample;
    t.strCaption = "Units";
    t.size = CSize(305, 256);
    const DWORD tab = WS_VISIBLE | WS_TABSTOP;
    DialogControl formats = At(512, AfxCtl::comboDrop, "", 167, 90, 54, 92);
    formats.items = {"e-format", "f-format", "g-format"};
    // The forces tab's controls share the places of the rows' controls.
    DialogControl force = At(519, AfxCtl::edit, "", 107, 90, 58, 12);
    DialogControl forces = At(518, AfxCtl::listBox, "", 43, 104, 150, 97, tab | LBS_USETABSTOPS);
    DialogControl forceUnit = At(520, AfxCtl::edit, "", 168, 90, 30, 12, tab | ES_READONLY);
    force.bOverlaps = forces.bOverlaps = forceUnit.bOverlaps = true;
    t.Add(At(16144, AfxCtl::radio, "&SI (metric)", 22, 26, 47, 10, tab | WS_GROUP))
        .Add(At(16153, AfxCtl::radio, "&US/Imperial", 22, 38, 53, 10))
        .Add(At(IDC_STATIC, AfxCtl::groupBox, "Set", 13, 16, 83, 36, WS_VISIBLE))
        .Add(At(IDC_STATIC, AfxCtl::groupBox, "Restore current set to default", 103, 16, 189, 36,
                WS_VISIBLE))
        .Add(At(521, AfxCtl::push, "U&nits && Formats", 131, 32, 60, 14))
        .Add(At(522, AfxCtl::push, "&Forces", 209, 32, 50, 14))
        .Add(At(IDC_STATIC, AfxCtl::groupBox, "", 13, 52, 279, 168, WS_VISIBLE))
        .Add(At(516, AfxCtl::tab, "Tab1", 26, 66, 252, 148))
        .Add(At(517, AfxCtl::comboList, "", 43, 90, 64, 113))
        .Add(At(515, AfxCtl::comboList, "", 107, 90, 60, 63))
        .Add(formats)
        .Add(At(513, AfxCtl::edit, "", 223, 90, 37, 12))
        .Add(At(514, AfxCtl::listBox, "", 43, 104, 217, 97, tab | LBS_USETABSTOPS))
        .Add(force)
        .Add(forces)
        .Add(forceUnit)
        .Add(At(IDOK, AfxCtl::defPush, "&OK", 85, 230, 50, 14))
        .Add(At(IDCANCEL, AfxCtl::push, "&Cancel", 167, 230, 50, 14))
        .Add(At(IDC_STATIC, AfxCtl::groupBox, "", 0, 0, 305, 256, WS_VISIBLE));
    return t;
}

DialogTemplate Sample(UINT nID, CSize size, std::vector<DialogControl> controls)
{
    DialogTemplate t;
    t.nID = nID;
    t.strCaption = "Sample";
    t.size = size;
    t.Add(controls);
    return t;
}

const CResourceModule s_samples("layout-samples", CResourceModule::program, [](CResourceModule& m) {
    DialogControl radius = AfxDialogControl(3001, AfxCtl::edit, "", CRect(150, 100, 190, 112),
                                            WS_VISIBLE | WS_TABSTOP);
    DialogControl angle = radius;
    angle.nID = 3002;
    angle.bOverlaps = true; // shares the place of the radius edit
    std::vector<DialogControl> rows =
        AfxEditRows(CRect(7, 7, 160, 70), "Geometry",
                    {{"&Length:", 3010, "m"}, {"&Width:", 3011, "m"}, {"&Thickness:", 3012, "m"}});
    std::vector<DialogControl> radios =
        AfxRadioColumn(CPoint(170, 10), 70, {{3020, "T15"}, {3021, "T18"}, {3022, "T21"}});
    rows.insert(rows.end(), radios.begin(), radios.end());
    rows.push_back(AfxDialogControl(3023, AfxCtl::auto3State, "Loads", CRect(170, 50, 240, 60),
                                    WS_VISIBLE | WS_TABSTOP));
    rows.push_back(radius);
    rows.push_back(angle);
    std::vector<DialogControl> buttons =
        AfxButtonRow(250, 120, {{IDOK, "OK"}, {IDCANCEL, "Cancel"}});
    rows.insert(rows.end(), buttons.begin(), buttons.end());
    m.Add(kSampleRows, Sample(kSampleRows, CSize(260, 140), rows));
    m.Add(kUnitsSample, UnitsSample());

    m.Add(kBadOutside, Sample(kBadOutside, CSize(100, 50),
                              {AfxDialogControl(3101, AfxCtl::edit, "", CRect(80, 10, 120, 22))}));
    m.Add(kBadOverlap, Sample(kBadOverlap, CSize(100, 50),
                              {AfxDialogControl(3201, AfxCtl::edit, "", CRect(10, 10, 60, 22)),
                               AfxDialogControl(3202, AfxCtl::edit, "", CRect(40, 15, 90, 27))}));
    m.Add(kBadWide, Sample(kBadWide, CSize(100, 50),
                           {AfxDialogControl(3301, AfxCtl::check, "Show the stresses at every node",
                                             CRect(5, 5, 60, 15))}));
    const std::string svg = kWideFormulaSvg;
    m.Add(kWideFormula,
          AfxBitmapResource{std::vector<unsigned char>(svg.begin(), svg.end()), "svg"});
    const auto picture = [](UINT nBitmapID, const CRect& rect) {
        DialogControl c = AfxDialogControl(IDC_STATIC, AfxCtl::picture, "", rect);
        c.nBitmapID = nBitmapID;
        return c;
    };
    m.Add(kBadPictureMissing, Sample(kBadPictureMissing, CSize(100, 50),
                                     {picture(kNoSuchPicture, CRect(5, 5, 95, 45))}));
    // The thickness formula (240 x 28 at its size) in 120 x 14 dialog units.
    m.Add(kBadPictureSmall,
          Sample(kBadPictureSmall, CSize(130, 30), {picture(16300, CRect(5, 5, 125, 19))}));
    const std::string icon = kIconSvg;
    m.Add(kIcon, AfxBitmapResource{std::vector<unsigned char>(icon.begin(), icon.end()), "svg"});
    m.Add(kBadPictureBlownUp,
          Sample(kBadPictureBlownUp, CSize(100, 50), {picture(kIcon, CRect(5, 5, 95, 45))}));
    m.Add(kBadPictureCut,
          Sample(kBadPictureCut, CSize(250, 40), {picture(kWideFormula, CRect(5, 5, 245, 35))}));
    m.Add(kBadTitle,
          Sample(kBadTitle, CSize(100, 50),
                 {AfxDialogControl(IDC_STATIC, AfxCtl::groupBox, "Node ID", CRect(5, 5, 95, 30)),
                  AfxDialogControl(3401, AfxCtl::edit, "", CRect(10, 12, 60, 24))}));
});

class LayoutCheck : public ::testing::Test
{
protected:
    QApplication& m_app = afxui::qt::testing::TestApplication();
    afxui::qt::testing::BackendScope m_backend;
};

TEST_F(LayoutCheck, FindsControlsOutsideOverlapsAndTextsTooWide)
{
    struct Case {
        UINT nID;
        const char* expected;
    } cases[] = {
        {kBadOutside, "lies outside the dialog"},
        {kBadOverlap, "overlaps control 1"},
        {kBadWide, "needs"},
        {kBadTitle, "over its title"},
        {kBadPictureMissing, "shows no picture 9210"},
        {kBadPictureSmall, "pixels for picture 16300"},
        {kBadPictureCut, "cuts picture 9209 on its left right side"},
        {kBadPictureBlownUp, "blows picture 9212 up"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> problems =
            CheckTemplate(*AfxFindResource<DialogTemplate>(c.nID));
        ASSERT_EQ(problems.size(), 1u) << c.nID;
        EXPECT_NE(problems[0].find(c.expected), std::string::npos) << problems[0];
    }
}

TEST_F(LayoutCheck, EveryRegisteredTemplateFitsWithTheRealFont)
{
    const std::set<UINT> faulty = {kBadOutside,    kBadOverlap,        kBadWide,
                                   kBadTitle,      kBadPictureMissing, kBadPictureSmall,
                                   kBadPictureCut, kBadPictureBlownUp};
    std::size_t checked = 0;
    for (const DialogTemplate* tmpl : RegisteredTemplates()) {
        if (faulty.count(tmpl->nID))
            continue;
        ++checked;
        const bool sample = tmpl->nID == kSampleRows || tmpl->nID == kUnitsSample;
        for (const std::string& problem : CheckTemplate(*tmpl, !sample))
            ADD_FAILURE() << problem;
    }
    EXPECT_GE(checked, 1u);
}

} // namespace
