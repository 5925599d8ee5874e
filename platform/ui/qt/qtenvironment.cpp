#include "platform/ui/qt/qtenvironment.h"

CQtEnvironment::CQtEnvironment(const QString& strProfilePath)
    : m_profile(strProfilePath),
      m_previous(AfxInstallServices({&m_backend, &m_boxes, &m_fileDialogs, &m_fontDialogs,
                                     &m_colorDialogs, &m_popupMenus, nullptr, &m_clipboard,
                                     &m_opener, &m_beeper, &m_cursor, &m_profile})),
      m_gl(std::make_unique<CQtGLServices>())
{
}

CQtEnvironment::~CQtEnvironment()
{
    m_gl.reset();
    AfxInstallServices(m_previous);
    m_profile.Flush();
}
