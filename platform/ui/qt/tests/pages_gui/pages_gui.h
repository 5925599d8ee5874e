// What the gui tests of pages and dialogs share: a Qt backend on the
// display with the scripted services, and pictures of the window in front
// of a step.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>

#include "platform/ui/core/afxui.h"
#include "platform/ui/headless/afxui_headless.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace pages_gui
{

// Saves a picture of the window a step has in front of it.
inline void Picture(CWnd& wnd, const char* file)
{
    QString why;
    EXPECT_TRUE(afxui::qt::testing::SaveScreenshot(AfxQtWidgetOf(&wnd), file, &why))
        << file << ": " << why.toStdString();
}

// Saves a picture of each page of the sheet in front of the step, in order.
inline void PagePictures(afxui::headless::DialogDriver& d, CDialog& sheet,
                         std::initializer_list<const char*> files)
{
    int page = 0;
    for (const char* file : files) {
        d.ActivatePage(page++);
        Picture(sheet, file);
    }
    d.ActivatePage(0);
}

// Whether the control's widget is enabled (visible) on the screen.
inline bool ShownEnabled(CWnd& window, int nID)
{
    return AfxQtWidgetOf(window.GetDlgItem(nID))->isEnabled();
}

inline bool ShownVisible(CWnd& window, int nID)
{
    return AfxQtWidgetOf(window.GetDlgItem(nID))->isVisible();
}

// A modal dialog to show: its picture's file, its template, how it is made
// and what the user sees in it first.
struct DialogCase {
    const char* file;
    UINT nTemplate;
    std::function<std::unique_ptr<CDialog>()> make;
    std::function<void(afxui::headless::DialogDriver&, CDialog&)> check;
};

// Shows each dialog, saves its picture, checks its title (a dialog titles
// itself or takes its template's caption, or the program's name, never
// Qt's default, the program file's name), runs its check and cancels it.
inline void ShowDialogs(const std::vector<DialogCase>& cases)
{
    for (const DialogCase& c : cases) {
        SCOPED_TRACE(c.file);
        std::unique_ptr<CDialog> dlg = c.make();
        afxui::headless::ModalScript script;
        script.Dialog(c.nTemplate, [&](afxui::headless::DialogDriver& d, CDialog& shown) {
            Picture(shown, c.file);
            const QString title = AfxQtWidgetOf(&shown)->windowTitle();
            EXPECT_FALSE(title.isEmpty());
            EXPECT_NE(title, QFileInfo(QCoreApplication::applicationFilePath()).fileName());
            const DialogTemplate* tmpl = AfxFindResource<DialogTemplate>(c.nTemplate);
            if (tmpl && tmpl->strCaption.IsEmpty()) {
                EXPECT_EQ(title, QString("Brantel"));
            }
            c.check(d, shown);
            d.PressCancel();
        });
        EXPECT_EQ(dlg->DoModal(), IDCANCEL);
    }
}

// A Qt backend on the display with the scripted services of the headless
// tests (the colour service among them).
class PagesOnQt : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AFXUI_QT_NEED_DISPLAY();
        afxui::qt::testing::TestApplication();
        m_backend.emplace();
        m_env.emplace(m_backend->Backend());
    }
    void TearDown() override
    {
        if (m_env)
            m_env->Verify();
    }

    std::optional<afxui::qt::testing::BackendScope> m_backend;
    std::optional<afxui::headless::ScriptedEnvironment> m_env;
};

} // namespace pages_gui
