// Three sample dialogs shown on a real display and saved as pictures under
// $BRANTEL_TEST_ARTIFACTS: edit and unit rows in group boxes, a 3-state
// check column beside a radio group, and a tab control with controls over
// it. Each window is as large as its template in the real font's dialog
// units, and each picture shows more than one colour.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/core/afxui.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace
{

constexpr UINT kRowsDialog = 9401, kChecksDialog = 9402, kTabDialog = 9403;

DialogTemplate Dialog(UINT nID, LPCTSTR caption, CSize size, std::vector<DialogControl> controls)
{
    DialogTemplate t;
    t.nID = nID;
    t.strCaption = caption;
    t.size = size;
    t.Add(controls);
    t.Add(AfxButtonRow(size.cx - 7, size.cy - 21, {{IDOK, "OK"}, {IDCANCEL, "Cancel"}}));
    return t;
}

const CResourceModule s_samples("gui-samples", CResourceModule::program, [](CResourceModule& m) {
    std::vector<DialogControl> rows =
        AfxEditRows(CRect(7, 7, 170, 62), "Plate",
                    {{"&Length:", 3010, "m"}, {"&Width:", 3011, "m"}, {"&Thickness:", 3012, "mm"}});
    const std::vector<DialogControl> load =
        AfxEditRows(CRect(7, 68, 170, 100), "Load", {{"&Pressure:", 3013, "kN/m\xB2"}});
    rows.insert(rows.end(), load.begin(), load.end());
    m.Add(kRowsDialog, Dialog(kRowsDialog, "Plate dimensions", CSize(180, 130), rows));

    std::vector<DialogControl> checks;
    const char* names[] = {"Dead load", "Live load", "Snow", "Wind"};
    for (int i = 0; i < 4; ++i)
        checks.push_back(AfxDialogControl(3020 + i, AfxCtl::auto3State, names[i],
                                          CRect(10, 10 + 14 * i, 90, 20 + 14 * i),
                                          WS_VISIBLE | WS_TABSTOP));
    const std::vector<DialogControl> radios =
        AfxRadioColumn(CPoint(110, 10), 70, {{3030, "T15"}, {3031, "T18"}, {3032, "T21"}});
    checks.insert(checks.end(), radios.begin(), radios.end());
    m.Add(kChecksDialog, Dialog(kChecksDialog, "Load cases", CSize(190, 95), checks));

    DialogControl formats = AfxDialogControl(3042, AfxCtl::comboDrop, "", CRect(20, 36, 90, 86),
                                             WS_VISIBLE | WS_TABSTOP);
    formats.items = {"e-format", "f-format", "g-format"};
    m.Add(kTabDialog, Dialog(kTabDialog, "Units", CSize(200, 110),
                             {AfxDialogControl(3040, AfxCtl::tab, "", CRect(7, 7, 193, 80),
                                               WS_VISIBLE | WS_TABSTOP),
                              AfxDialogControl(IDC_STATIC, AfxCtl::staticText,
                                               "Format:", CRect(20, 26, 90, 34), WS_VISIBLE),
                              formats,
                              AfxDialogControl(3043, AfxCtl::edit, "6", CRect(100, 36, 140, 48),
                                               WS_VISIBLE | WS_TABSTOP | ES_NUMBER)}));
});

// The checks show their three states, and one radio is chosen.
class CChecksSample : public CDialog
{
public:
    CChecksSample() : CDialog(kChecksDialog) {}
    BOOL OnInitDialog() override
    {
        CheckDlgButton(3020, 1);
        CheckDlgButton(3021, 2);
        CheckDlgButton(3031, 1);
        return CDialog::OnInitDialog();
    }
};

class CTabSample : public CDialog
{
public:
    CTabSample() : CDialog(kTabDialog) {}
    BOOL OnInitDialog() override
    {
        auto* tab = static_cast<CTabCtrl*>(GetDlgItem(3040));
        tab->InsertItem(0, "Units && formats");
        tab->InsertItem(1, "Forces");
        static_cast<CComboBox*>(GetDlgItem(3042))->SetCurSel(1);
        return CDialog::OnInitDialog();
    }
};

using DialogScreenshots = afxui::qt::testing::OnDisplay;

TEST_F(DialogScreenshots, SampleDialogsShowAtTheirTemplateSize)
{
    struct Case {
        UINT nID;
        const char* file;
    };
    const Case cases[] = {{kRowsDialog, "dialog-edit-rows.png"},
                          {kChecksDialog, "dialog-checks-radios.png"},
                          {kTabDialog, "dialog-tab-control.png"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        CDialog plain(c.nID);
        CChecksSample checks;
        CTabSample tabbed;
        CDialog& dlg = c.nID == kTabDialog ? tabbed : c.nID == kChecksDialog ? checks : plain;
        ASSERT_TRUE(dlg.Create(c.nID));
        QWidget* widget = AfxQtWidgetOf(&dlg);
        ASSERT_NE(widget, nullptr);
        QString why;
        EXPECT_TRUE(afxui::qt::testing::SaveScreenshot(widget, c.file, &why)) << why.toStdString();

        CRect expected(CPoint(0, 0), AfxFindResource<DialogTemplate>(c.nID)->size);
        dlg.MapDialogRect(expected);
        EXPECT_EQ(widget->size(), QSize(expected.Width(), expected.Height()));
        dlg.DestroyWindow();
    }
}

} // namespace
