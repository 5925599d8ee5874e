// The program's small dialogs on the display: every field has a label that
// fits, the unit labels show whole, and a dialog without a caption of its
// own is titled "Brantel"; a picture of each is saved.
#include <QLabel>
#include <QTabBar>
#include <QWidget>

#include "app/shell/brantelshell.h"
#include "dialogs/doctypedlg.h"
#include "framework/framira.h"
#include "platform/ui/qt/tests/pages_gui/pages_gui.h"

namespace
{

using afxui::headless::DialogDriver;
using pages_gui::ShowDialogs;

using SmallDialogsOnQt = pages_gui::PagesOnQt;

// The label's text fits its widget across; text, when given, is what it
// says.
void ExpectWholeText(CDialog& shown, int nID, const QString& text = {})
{
    auto* label = qobject_cast<QLabel*>(AfxQtWidgetOf(shown.GetDlgItem(nID)));
    ASSERT_NE(label, nullptr) << nID;
    EXPECT_FALSE(label->text().isEmpty()) << nID;
    if (!text.isEmpty()) {
        EXPECT_EQ(label->text(), text) << nID;
    }
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
        << nID << " " << label->text().toStdString();
}

TEST_F(SmallDialogsOnQt, LabelsUnitsAndTitlesShowWhole)
{
    static double modes = 4.0;
    ShowDialogs({
        {"dialog-volume-forces.png", CDlgVolForce::IDD,
         [] { return std::make_unique<CDlgVolForce>(); },
         [](DialogDriver&, CDialog& shown) {
             for (int unit : {1187, 1188, 1189, 1190, 1191, 1192})
                 ExpectWholeText(shown, unit);
         }},
        {"dialog-buckling-modes.png", KorDlgDblVal::IDD_PLAIN,
         [] {
             return std::make_unique<KorDlgDblVal>("Number of buckling modes", &modes,
                                                   static_cast<CView*>(nullptr));
         },
         [](DialogDriver& d, CDialog& shown) {
             ExpectWholeText(shown, KorDlgDblVal::IDC_LABEL, "Number of buckling modes");
             EXPECT_EQ(d.Text(KorDlgDblVal::IDC_VALUE), "4");
         }},
        {"dialog-document-type-titled.png", VokDlgFPDocType::IDD,
         [] { return std::make_unique<VokDlgFPDocType>(nullptr); },
         [](DialogDriver&, CDialog& shown) {
             EXPECT_EQ(AfxQtWidgetOf(&shown)->windowTitle(), QString("Brantel"));
         }},
    });
}

TEST_F(SmallDialogsOnQt, ElementSheetShowsEveryTabTitleWhole)
{
    CDocShell doc;
    std::unique_ptr<CPropertySheet> sheet(doc.CreateElementSheet());
    ASSERT_NE(sheet, nullptr);
    ASSERT_GE(sheet->GetPageCount(), 6);
    afxui::headless::ModalScript script;
    script.Dialog(RUNTIME_CLASS(CPropertySheet), [](DialogDriver& d, CDialog& shown) {
        QTabBar* bar = AfxQtWidgetOf(shown.GetDlgItem(AFX_IDC_TAB_CONTROL))->findChild<QTabBar*>();
        ASSERT_NE(bar, nullptr);
        for (int i = 0; i < bar->count(); ++i) {
            const QString title = bar->tabText(i).remove('&');
            EXPECT_LE(bar->tabRect(i).right(), bar->width()) << title.toStdString();
            EXPECT_LE(bar->fontMetrics().horizontalAdvance(title), bar->tabRect(i).width())
                << title.toStdString();
        }
        pages_gui::Picture(shown, "sheet-element-and-mesh-control.png");
        d.PressCancel();
    });
    EXPECT_EQ(sheet->DoModal(), IDCANCEL);
    script.Verify();
}

TEST_F(SmallDialogsOnQt, EdgeLoadTabShowsItsLoadPicture)
{
    // The plate load and the membrane load in local axes have pictures of
    // their own (not the framed number of a missing one).
    struct Case {
        int elemType, axes;
        UINT picture;
        const char* file;
    };
    const Case cases[] = {{81, 0, 790, "page-edge-load-plate.png"},
                          {31, 1, 747, "page-edge-load-membrane-local.png"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_NE(AfxFindResource<AfxBitmapResource>(c.picture), nullptr);
        CPPEdgeLoad page;
        page.m_iElemType = c.elemType;
        page.m_iAxes = c.axes;
        CPropertySheet sheet("Edge");
        sheet.AddPage(&page);
        afxui::headless::ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog& shown) {
            pages_gui::Picture(shown, c.file);
            d.PressCancel();
        });
        EXPECT_EQ(sheet.DoModal(), IDCANCEL);
        script.Verify();
    }
}

TEST_F(SmallDialogsOnQt, FormulaPicturesKeepTheirTextInside)
{
    // The region pages' formulas at the size of their picture controls (238
    // x 28 dialog units): no ink of the text in the outer columns, where a
    // formula wider than its picture is cut.
    const CSize size = [] {
        CRect r(0, 0, 238, 28);
        return CSize(AfxMulDiv(r.Width(), AfxGetDialogBaseUnits().cx, 4),
                     AfxMulDiv(r.Height(), AfxGetDialogBaseUnits().cy, 8));
    }();
    for (UINT id : {16300u, 16301u, 16302u}) {
        SCOPED_TRACE(id);
        const QImage image = AfxQtArtPixmap(id, QSize(size.cx, size.cy), 1.0).toImage();
        ASSERT_FALSE(image.isNull());
        image.save(QString("%1/formula-%2.png")
                       .arg(qEnvironmentVariable("BRANTEL_TEST_ARTIFACTS", "artifacts"))
                       .arg(id));
        const int edge = image.width() / 25;
        int inkOutside = 0, ink = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() > 0 && c.lightness() < 128) {
                    ++ink;
                    inkOutside += x < edge || x >= image.width() - edge;
                }
            }
        EXPECT_GT(ink, 50);
        EXPECT_EQ(inkOutside, 0);
    }
}

} // namespace
