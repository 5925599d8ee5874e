// The Qt backend with the Qt services, installed while the object lives;
// the previous backend and services come back afterwards. main() makes one
// after QApplication and AfxQtAfterApplication; it also installs the OpenGL
// side (CQtGLServices: view hosts, off-screen images, glyphs, printing) and
// busy mode's input filter (CQtBusyFilter):
//
//     CQtEnvironment env; // profile at AfxQtProfilePath()
#pragma once

#include <QString>

#include <memory>

#include "platform/ui/qt/qtbusy.h"
#include "platform/ui/qt/qtglservices.h"
#include "platform/ui/qt/qtpeers.h"
#include "platform/ui/qt/qtservices.h"

class CQtEnvironment
{
public:
    explicit CQtEnvironment(const QString& strProfilePath = AfxQtProfilePath());
    ~CQtEnvironment();
    CQtEnvironment(const CQtEnvironment&) = delete;
    CQtEnvironment& operator=(const CQtEnvironment&) = delete;

    CQtBackend& Backend() { return m_backend; }
    CQtProfile& Profile() { return m_profile; }

private:
    CQtBackend m_backend;
    CQtMessageService m_boxes;
    CQtFileDialogs m_fileDialogs;
    CQtFontDialogs m_fontDialogs;
    CQtColorDialogs m_colorDialogs;
    CQtPopupMenus m_popupMenus;
    CQtClipboard m_clipboard;
    CQtOpener m_opener;
    CQtBeeper m_beeper;
    CQtCursor m_cursor;
    CQtProfile m_profile;

    AfxServiceSet m_previous; // restored by the destructor
    std::unique_ptr<CQtGLServices> m_gl;
    CQtBusyFilter m_busy; // busy mode's input filter and progress pump
};
