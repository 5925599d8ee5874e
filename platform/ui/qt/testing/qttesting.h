// Test utilities on Qt (the widgets tests): the test program's QApplication
// a scoped modal hook and a scoped backend.
#pragma once

#include <functional>
#include <optional>

#include <gtest/gtest.h>

#include <QApplication>

class QPrinter;

#include "platform/ui/qt/qtmodal.h"
#include "platform/ui/qt/qtpeers.h"

namespace afxui::qt::testing
{

// The program's QApplication, made on first use as the program makes it
// (start-up steps before and after it) and kept until the process ends.
// Without QT_QPA_PLATFORM in the environment it uses the offscreen platform.
QApplication& TestApplication();

// Installs a modal hook while it lives; the previous one comes back.
class ModalHookScope
{
public:
    explicit ModalHookScope(AfxQtModalHook hook) : m_old(AfxQtSetModalHook(std::move(hook))) {}
    ~ModalHookScope() { AfxQtSetModalHook(std::move(m_old)); }
    ModalHookScope(const ModalHookScope&) = delete;
    ModalHookScope& operator=(const ModalHookScope&) = delete;

private:
    AfxQtModalHook m_old;
};

// For gui tests: true when there is a display (Qt then uses xcb unless
// QT_QPA_PLATFORM says otherwise); whether a missing one fails the test
// (./test.sh sets BRANTEL_REQUIRE_GUI=1) or skips it. See
// AFXUI_QT_NEED_DISPLAY.
bool HasDisplay();
bool DisplayRequired();
// The folder for the pictures of gui tests ($BRANTEL_TEST_ARTIFACTS, else
// "artifacts" in the test program's build folder), made when missing.
QString ArtifactsFolder();
// Waits until widget is on the screen, grabs it and saves the picture as
// file in ArtifactsFolder(). False (and the reason in why) when the window
// never showed, the picture is one flat colour (no controls drawn), it
// could not be saved, or (the picture saved all the same) a picture control
// in the window shows a missing picture or cuts off a drawn one.
bool SaveScreenshot(QWidget* widget, const QString& file, QString* why = nullptr);

// Sends the printer's pages to file, a PDF in ArtifactsFolder() (an old
// one removed), at 100 dots an inch; returns its path.
QString PrintToArtifactPdf(QPrinter& printer, const QString& file);

// Processes events until done() holds, for at most timeoutMs, so a broken
// window fails its test instead of hanging it; false on the timeout.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// A Qt backend installed while it lives; the previous one comes back.
class BackendScope
{
public:
    BackendScope() : m_old(AfxSetWndBackend(&m_backend)) {}
    ~BackendScope() { AfxSetWndBackend(m_old); }
    BackendScope(const BackendScope&) = delete;
    BackendScope& operator=(const BackendScope&) = delete;
    CQtBackend& Backend() { return m_backend; }

private:
    CQtBackend m_backend;
    CWndBackend* m_old;
};

// A gui test's fixture: the test application and a Qt backend on the
// display; the test fails or skips without one (see AFXUI_QT_NEED_DISPLAY).
class OnDisplay : public ::testing::Test
{
protected:
    void SetUp() override;
    std::optional<BackendScope> m_backend;
};

} // namespace afxui::qt::testing

// First statement of a gui test: fails or skips it without a display.
#define AFXUI_QT_NEED_DISPLAY()                                                                    \
    if (!afxui::qt::testing::HasDisplay()) {                                                       \
        if (afxui::qt::testing::DisplayRequired())                                                 \
            FAIL() << "no display, but BRANTEL_REQUIRE_GUI=1";                                     \
        GTEST_SKIP() << "no display";                                                              \
    }
