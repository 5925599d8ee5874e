#include "platform/ui/headless/headless_app.h"

#include "platform/afx/numconv.h"
#include "platform/ui/core/dialog.h"

namespace afxui::headless
{

void HeadlessBackend::RunModalLoop(CWnd& dialog, UINT nIDTemplate, const CString& strCaption)
{
    ReportFailure(
        AfxFormat("unexpected modal dialog %u '%s'", nIDTemplate, strCaption.GetString()));
    if (auto* dlg = dynamic_cast<CDialog*>(&dialog))
        dlg->EndDialog(IDCANCEL);
}

ScriptedEnvironment::ScriptedEnvironment(CWndBackend& backend)
    : m_pOldBackend(AfxSetWndBackend(&backend)), m_pOldBoxes(AfxSetMessageService(&m_boxes)),
      m_pOldFileDialogs(AfxSetFileDialogService(&m_fileDialogs)),
      m_pOldFontDialogs(AfxSetFontDialogService(&m_fontDialogs)),
      m_pOldColorDialogs(AfxSetColorDialogService(&m_colorDialogs)),
      m_pOldPopupMenus(AfxSetPopupMenuService(&m_popupMenus)),
      m_pOldPrintDialogs(AfxSetPrintService(&m_printDialogs)),
      m_pOldClipboard(AfxSetClipboardService(&m_clipboard)),
      m_pOldOpener(AfxSetOpenerService(&m_opener)), m_pOldBeeper(AfxSetBeepService(&m_beeper)),
      m_pOldCursor(AfxSetCursorService(&m_cursor)), m_pOldProfile(AfxSetProfileService(&m_profile))
{
}

ScriptedEnvironment::~ScriptedEnvironment()
{
    AfxSetProfileService(m_pOldProfile);
    AfxSetCursorService(m_pOldCursor);
    AfxSetBeepService(m_pOldBeeper);
    AfxSetOpenerService(m_pOldOpener);
    AfxSetClipboardService(m_pOldClipboard);
    AfxSetPrintService(m_pOldPrintDialogs);
    AfxSetPopupMenuService(m_pOldPopupMenus);
    AfxSetColorDialogService(m_pOldColorDialogs);
    AfxSetFontDialogService(m_pOldFontDialogs);
    AfxSetFileDialogService(m_pOldFileDialogs);
    AfxSetMessageService(m_pOldBoxes);
    AfxSetWndBackend(m_pOldBackend);
}

void ScriptedEnvironment::Verify()
{
    m_boxes.Verify();
    m_fileDialogs.Verify();
    m_fontDialogs.Verify();
    m_colorDialogs.Verify();
    m_popupMenus.Verify();
    m_printDialogs.Verify();
}

void HeadlessApp::PumpPosted()
{
    AfxPumpMessages();
}

void HeadlessApp::FireTimers(ULONGLONG ms)
{
    m_backend.Advance(ms);
    AfxPumpMessages();
}

} // namespace afxui::headless
