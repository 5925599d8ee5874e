// A main frame with the log window docked at its bottom, height 100, as
// the program's frame sets it up (shared by the widgets and gui tests).
#pragma once

#include <gtest/gtest.h>

#include <QMainWindow>

#include "framework/framira.h"
#include "platform/ui/qt/afxui_qt.h"

namespace framework_qt
{

// Makes the frame (it deletes itself with its window) and the log bar in
// it; null after failing the test.
inline CMDIFrameWnd* MakeFrameWithLog(KorLogWnd& log)
{
    auto* frame = new CMDIFrameWnd;
    if (!frame->Create(nullptr, "Brantel", WS_OVERLAPPEDWINDOW, CRect(0, 0, 800, 600), nullptr,
                       0)) {
        ADD_FAILURE() << "no frame";
        return nullptr;
    }
    if (!log.Create(frame)) {
        ADD_FAILURE() << "no log window";
        frame->DestroyWindow();
        return nullptr;
    }
    log.EnableDocking(CBRS_ALIGN_ANY);
    log.Dock(AFX_IDW_DOCKBAR_BOTTOM, CSize(0, 100));
    return frame;
}

} // namespace framework_qt
