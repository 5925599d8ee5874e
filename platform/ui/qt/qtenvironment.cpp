#include "platform/ui/qt/qtenvironment.h"

CQtEnvironment::CQtEnvironment(const QString& strProfilePath)
    : m_profile(strProfilePath), m_pOldBackend(AfxSetWndBackend(&m_backend)),
      m_pOldBoxes(AfxSetMessageService(&m_boxes)),
      m_pOldFileDialogs(AfxSetFileDialogService(&m_fileDialogs)),
      m_pOldFontDialogs(AfxSetFontDialogService(&m_fontDialogs)),
      m_pOldColorDialogs(AfxSetColorDialogService(&m_colorDialogs)),
      m_pOldPopupMenus(AfxSetPopupMenuService(&m_popupMenus)),
      m_pOldClipboard(AfxSetClipboardService(&m_clipboard)),
      m_pOldOpener(AfxSetOpenerService(&m_opener)), m_pOldBeeper(AfxSetBeepService(&m_beeper)),
      m_pOldCursor(AfxSetCursorService(&m_cursor)), m_pOldProfile(AfxSetProfileService(&m_profile))
{
}

CQtEnvironment::~CQtEnvironment()
{
    AfxSetProfileService(m_pOldProfile);
    AfxSetCursorService(m_pOldCursor);
    AfxSetBeepService(m_pOldBeeper);
    AfxSetOpenerService(m_pOldOpener);
    AfxSetClipboardService(m_pOldClipboard);
    AfxSetPopupMenuService(m_pOldPopupMenus);
    AfxSetColorDialogService(m_pOldColorDialogs);
    AfxSetFontDialogService(m_pOldFontDialogs);
    AfxSetFileDialogService(m_pOldFileDialogs);
    AfxSetMessageService(m_pOldBoxes);
    AfxSetWndBackend(m_pOldBackend);
    m_profile.Flush();
}
