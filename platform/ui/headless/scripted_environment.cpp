#include "platform/ui/headless/scripted_environment.h"

namespace afxui::headless
{

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

} // namespace afxui::headless
