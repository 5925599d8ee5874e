// Test utilities on Qt (the widgets tests): the test program's QApplication
// and a scoped modal hook.
#pragma once

#include <QApplication>

#include "platform/ui/qt/qtmodal.h"

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

} // namespace afxui::qt::testing
