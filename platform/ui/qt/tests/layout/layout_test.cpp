// The layout check: every registered dialog template, built on the Qt peers
// with the real dialog font, keeps its controls inside the dialog, lets no
// two visible controls overlap unless one is flagged "overlaps", starts the
// controls of a titled group box below its title, and gives every static,
// button and check text room for itself.
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "platform/afx/numconv.h"
#include "platform/ui/core/afxui.h"
#include "platform/ui/qt/afxui_qt.h"
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

// The problems of one template, one line each.
std::vector<std::string> CheckTemplate(const DialogTemplate& tmpl)
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

// Samples of the builder rows, and three faults the check must find.
constexpr UINT kSampleRows = 9201, kBadOutside = 9202, kBadOverlap = 9203, kBadWide = 9204,
               kBadTitle = 9205;
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
    const std::set<UINT> faulty = {kBadOutside, kBadOverlap, kBadWide, kBadTitle};
    std::size_t checked = 0;
    for (const DialogTemplate* tmpl : RegisteredTemplates()) {
        if (faulty.count(tmpl->nID))
            continue;
        ++checked;
        for (const std::string& problem : CheckTemplate(*tmpl))
            ADD_FAILURE() << problem;
    }
    EXPECT_GE(checked, 1u);
}

} // namespace
