// The Qt backend with the Qt services, installed while the object lives;
// the previous backend and services come back afterwards. main() makes one
// after QApplication and AfxQtAfterApplication:
//
//     CQtEnvironment env; // profile at AfxQtProfilePath()
#pragma once

#include <QString>

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

    CWndBackend* m_pOldBackend;
    CMessageService* m_pOldBoxes;
    CFileDialogService* m_pOldFileDialogs;
    CFontDialogService* m_pOldFontDialogs;
    CColorDialogService* m_pOldColorDialogs;
    CPopupMenuService* m_pOldPopupMenus;
    CClipboardService* m_pOldClipboard;
    COpenerService* m_pOldOpener;
    CBeepService* m_pOldBeeper;
    CCursorService* m_pOldCursor;
    CProfileService* m_pOldProfile;
};
