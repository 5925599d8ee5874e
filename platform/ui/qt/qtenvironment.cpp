#include "platform/ui/qt/qtenvironment.h"

CQtEnvironment::CQtEnvironment(const QString& strProfilePath)
    : m_profile(strProfilePath),
      m_previous(AfxInstallServices({&m_backend, &m_boxes, &m_fileDialogs, &m_fontDialogs,
                                     &m_colorDialogs, &m_popupMenus, nullptr, &m_clipboard,
                                     &m_opener, &m_beeper, &m_cursor, &m_profile}))
{
}

CQtEnvironment::~CQtEnvironment()
{
    AfxInstallServices(m_previous);
    m_profile.Flush();
}
