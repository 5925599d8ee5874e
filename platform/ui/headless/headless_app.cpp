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
    : m_previous(AfxInstallServices({&backend, &m_boxes, &m_fileDialogs, &m_fontDialogs,
                                     &m_colorDialogs, &m_popupMenus, &m_printDialogs, &m_clipboard,
                                     &m_opener, &m_beeper, &m_cursor, &m_profile}))
{
}

ScriptedEnvironment::~ScriptedEnvironment()
{
    AfxInstallServices(m_previous);
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
