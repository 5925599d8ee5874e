// Dialogs on Qt: a modal CDialog runs in QDialog::exec() over its parent's
// window and returns the EndDialog code; Enter, Esc and the title bar's
// close reach the layer from the real widgets; modeless dialogs and
// property sheets show on QDialogs.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "platform/afx/numconv.h"
#include "platform/ui/core/afxui.h"
#include "platform/ui/headless/afxui_headless.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace
{

using afxui::qt::testing::TestApplication;

constexpr UINT kKeysTemplate = 9201, kPageA = 9202, kPageB = 9203;
enum : int { kLine = 2101, kMulti = 2102, kWantReturn = 2103, kPageEdit = 2104 };

DialogTemplate KeysTemplate()
{
    DialogTemplate t;
    t.nID = kKeysTemplate;
    t.strCaption = "Keys";
    t.size = CSize(200, 100);
    t.Add(AfxDialogControl(kLine, AfxCtl::edit, "", CRect(10, 10, 90, 22), WS_VISIBLE | WS_TABSTOP))
        .Add(AfxDialogControl(kMulti, AfxCtl::multiEdit, "", CRect(10, 30, 90, 60),
                              WS_VISIBLE | WS_TABSTOP))
        .Add(AfxDialogControl(kWantReturn, AfxCtl::multiEdit, "", CRect(100, 30, 190, 60),
                              WS_VISIBLE | WS_TABSTOP | ES_WANTRETURN))
        .Add(AfxButtonRow(190, 80, {{IDOK, "OK"}, {IDCANCEL, "Cancel"}}));
    return t;
}

DialogTemplate PageTemplate(UINT nID, LPCTSTR caption, int height)
{
    DialogTemplate t;
    t.nID = nID;
    t.strCaption = caption;
    t.size = CSize(160, height);
    t.Add(AfxDialogControl(kPageEdit, AfxCtl::edit, "", CRect(10, 10, 60, 22),
                           WS_VISIBLE | WS_TABSTOP));
    return t;
}

const CResourceModule s_resources("qtdialogs", CResourceModule::program, [](CResourceModule& m) {
    m.Add(kKeysTemplate, KeysTemplate());
    m.Add(kPageA, PageTemplate(kPageA, "Mesh", 60));
    m.Add(kPageB, PageTemplate(kPageB, "Storage", 90));
});

QWidget* Widget(const CWnd& wnd)
{
    return AfxQtWidgetOf(&wnd);
}

template <class W> W* Control(const CWnd& dialog, int nID)
{
    CWnd* item = dialog.GetDlgItem(nID);
    return item ? qobject_cast<W*>(AfxQtWidgetOf(item)) : nullptr;
}

// Runs dlg modally; fn runs inside its Qt loop (a queued call). A dialog fn
// left open is ended with IDABORT, so a failing case never waits for a user.
INT_PTR RunInLoop(CDialog& dlg, const std::function<void()>& fn)
{
    QMetaObject::invokeMethod(
        qApp,
        [&] {
            fn();
            if (dlg.GetSafeHwnd() && !dlg.IsEnded()) {
                ADD_FAILURE() << "the dialog was left open";
                dlg.EndDialog(IDABORT);
            }
        },
        Qt::QueuedConnection);
    return dlg.DoModal();
}

class QtDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_main.Create(nullptr, "Brantel", WS_POPUP, CRect(0, 0, 400, 300),
                                    nullptr, 0));
        m_main.ShowWindow(SW_SHOW);
        AfxSetMainWnd(&m_main);
    }
    void TearDown() override
    {
        AfxSetMainWnd(nullptr);
        m_main.DestroyWindow();
    }

    QApplication& m_app = TestApplication();
    afxui::qt::testing::BackendScope m_backend;
    CWnd m_main;
};

TEST_F(QtDialogs, AModalDialogRunsOverTheMainWindowAndReturnsTheEndDialogCode)
{
    // -1, a navigation code and the buttons' codes all come back as given.
    for (int code : {-1, 7, IDOK, IDCANCEL}) {
        SCOPED_TRACE(code);
        CDialog dlg(kKeysTemplate);
        const INT_PTR result = RunInLoop(dlg, [&] {
            auto* widget = qobject_cast<QDialog*>(Widget(dlg));
            ASSERT_NE(widget, nullptr);
            EXPECT_TRUE(widget->isVisible());
            EXPECT_TRUE(widget->isModal());
            EXPECT_EQ(widget->parentWidget(), Widget(m_main));
            EXPECT_EQ(widget->windowTitle(), "Keys");
            if (code == IDOK || code == IDCANCEL)
                QTest::mouseClick(Control<QPushButton>(dlg, code), Qt::LeftButton);
            else
                dlg.EndDialog(code);
        });
        EXPECT_EQ(result, code);
        EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
    }
}

TEST_F(QtDialogs, NestedModalDialogsStackOverTheirParent)
{
    CDialog outer(kKeysTemplate);
    INT_PTR inner = 0;
    const INT_PTR result = RunInLoop(outer, [&] {
        CDialog dlg(kKeysTemplate, &outer);
        inner = RunInLoop(dlg, [&] {
            EXPECT_EQ(Widget(dlg)->parentWidget(), Widget(outer));
            dlg.EndDialog(IDCANCEL);
        });
        EXPECT_TRUE(Widget(outer)->isVisible()); // still running
        outer.EndDialog(IDOK);
    });
    EXPECT_EQ(inner, IDCANCEL);
    EXPECT_EQ(result, IDOK);
}

TEST_F(QtDialogs, EnterEscAndTheCloseButtonReachTheLayer)
{
    struct Case {
        const char* name;
        int nFocus; // 0: the close button of the title bar
        Qt::Key key;
        INT_PTR expected;
    };
    const Case cases[] = {
        {"Enter in a line edit", kLine, Qt::Key_Return, IDOK},
        {"keypad Enter", kLine, Qt::Key_Enter, IDOK},
        {"Esc in a line edit", kLine, Qt::Key_Escape, IDCANCEL},
        {"Enter in a multi-line edit", kMulti, Qt::Key_Return, IDOK},
        {"Esc in a multi-line edit", kMulti, Qt::Key_Escape, IDCANCEL},
        {"Enter on a button", IDCANCEL, Qt::Key_Return, IDOK},
        {"close button", 0, Qt::Key_unknown, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDialog dlg(kKeysTemplate);
        const INT_PTR result = RunInLoop(dlg, [&] {
            if (c.nFocus == 0) {
                Widget(dlg)->close();
                QCoreApplication::processEvents(); // the layer hears it from the loop
            } else {
                QTest::keyClick(AfxQtWidgetOf(dlg.GetDlgItem(c.nFocus)), c.key,
                                c.key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            }
        });
        EXPECT_EQ(result, c.expected);
    }
}

TEST_F(QtDialogs, AWantReturnEditKeepsEnterAsALineBreak)
{
    CDialog dlg(kKeysTemplate);
    CString text;
    const INT_PTR result = RunInLoop(dlg, [&] {
        auto* edit = Control<QPlainTextEdit>(dlg, kWantReturn);
        ASSERT_NE(edit, nullptr);
        QTest::keyClicks(edit, "a");
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClicks(edit, "b");
        EXPECT_FALSE(dlg.IsEnded());
        dlg.GetDlgItem(kWantReturn)->GetWindowText(text);
        QTest::keyClick(edit, Qt::Key_Escape);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(std::string(text), "a\r\nb");
}

TEST_F(QtDialogs, AModelessDialogClosesAndIsBuiltAgainFromItsTemplate)
{
    struct CEntry : CDialog {
        CEntry() : CDialog(kKeysTemplate) {}
        CString m_text = "12.5";
        void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kLine, m_text); }
    } dlg;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(dlg.Create(kKeysTemplate));
        auto* widget = qobject_cast<QDialog*>(Widget(dlg));
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->isVisible());
        EXPECT_FALSE(widget->isModal());
        EXPECT_EQ(widget->parentWidget(), Widget(m_main));
        EXPECT_EQ(Control<QLineEdit>(dlg, kLine)->text(), round == 0 ? "12.5" : "7");
        QTest::keyClick(Control<QLineEdit>(dlg, kLine), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Control<QLineEdit>(dlg, kLine), "7");
        ASSERT_TRUE(dlg.UpdateData(TRUE));
        dlg.DestroyWindow();
        EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
        EXPECT_EQ(std::string(dlg.m_text), "7"); // members outlive the window
    }
}

class CRefusingPage : public CPropertyPage
{
public:
    using CPropertyPage::CPropertyPage;
    bool refuse = false;
    int activations = 0;
    BOOL OnSetActive() override
    {
        ++activations;
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override { return refuse ? FALSE : CPropertyPage::OnKillActive(); }
};

TEST_F(QtDialogs, ASheetShowsApplyAsModifiedAndARefusingPageKeepsItsTab)
{
    CRefusingPage a(kPageA), b(kPageB);
    CPropertySheet sheet("Element and mesh control");
    sheet.AddPage(&a);
    sheet.AddPage(&b);
    const INT_PTR result = RunInLoop(sheet, [&] {
        auto* apply = Control<QPushButton>(sheet, ID_APPLY_NOW);
        auto* tabs = Control<QWidget>(sheet, AFX_IDC_TAB_CONTROL);
        ASSERT_TRUE(apply && tabs);
        QTabBar* bar = tabs->findChild<QTabBar*>();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->count(), 2);
        EXPECT_EQ(bar->tabText(1), "Storage");
        // The largest page sets the size: the sheet is taller than it.
        CRect page(0, 0, 160, 90);
        sheet.MapDialogRect(page);
        EXPECT_GT(Widget(sheet)->height(), page.Height());

        EXPECT_FALSE(apply->isEnabled());
        a.SetModified(TRUE);
        EXPECT_TRUE(apply->isEnabled());
        QTest::mouseClick(apply, Qt::LeftButton);
        EXPECT_FALSE(apply->isEnabled());

        a.refuse = true;
        bar->setCurrentIndex(1); // as a click on the tab does
        EXPECT_EQ(bar->currentIndex(), 0);
        EXPECT_EQ(sheet.GetActiveIndex(), 0);
        EXPECT_EQ(a.activations, 1); // no second activation of the kept page
        a.refuse = false;
        bar->setCurrentIndex(1);
        EXPECT_EQ(sheet.GetActiveIndex(), 1);
        QTest::mouseClick(Control<QPushButton>(sheet, IDOK), Qt::LeftButton);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(b.activations, 1);
}

} // namespace

namespace
{

// A modeless dialog that closes itself from its own buttons: the clicked
// button's widget goes while Qt is still delivering the click to it.
TEST_F(QtDialogs, AModelessDialogDestroyedFromItsOwnButtonClick)
{
    struct CSelfClosing : CDialog {
        CSelfClosing() : CDialog(kKeysTemplate) {}
        void OnOK() override { DestroyWindow(); }
        void OnCancel() override { DestroyWindow(); }
    } dlg;
    for (int nID : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(nID);
        ASSERT_TRUE(dlg.Create(kKeysTemplate));
        QTest::mouseClick(Control<QPushButton>(dlg, nID), Qt::LeftButton);
        EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
    }
    ASSERT_TRUE(dlg.Create(kKeysTemplate));
    QTest::keyClick(Control<QLineEdit>(dlg, kLine), Qt::Key_Escape);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
}

} // namespace

namespace
{

// A scripted modal dialog is up on its real widgets while its step runs, and
// the step's OK is the same OnOK as a click.
TEST_F(QtDialogs, AScriptedModalDialogShowsItsRealWidgetsToTheStep)
{
    struct CEntry : CDialog {
        CEntry() : CDialog(kKeysTemplate) {}
        CString m_text;
        void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kLine, m_text); }
    } dlg;
    afxui::headless::ModalScript script;
    script.Dialog(kKeysTemplate, [&](afxui::headless::DialogDriver& d, CDialog&) {
        auto* line = Control<QLineEdit>(dlg, kLine);
        ASSERT_NE(line, nullptr);
        EXPECT_TRUE(line->isVisible());
        QTest::keyClicks(line, "4.5");
        d.PressOK();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(std::string(dlg.m_text), "4.5");
    script.Verify();
}

} // namespace
