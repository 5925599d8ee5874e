#include "platform/ui/qt/qtglservices.h"

#include <QGuiApplication>

#include "platform/ui/core/constants.h"
#include "platform/ui/qt/qtglhost.h"

namespace
{
// The glyph source installed now (the core keeps no getter for "none").
IGlyphSource* InstalledGlyphs()
{
    IGlyphSource* current = &AfxGetGlyphSource();
    return dynamic_cast<CFixedGlyphSource*>(current) ? nullptr : current;
}
} // namespace

CQtGLServices::CQtGLServices()
    : m_pOldOffscreen(AfxGetOffscreenFactory()), m_pOldGlyphs(InstalledGlyphs()),
      m_pOldPrint(AfxSetPrintService(&m_print)),
      m_oldProvider(AfxSetGLHostProvider(&AfxQtCreateGLHost)),
      m_oldKeys(AfxSetKeyStateReader([] {
          const Qt::KeyboardModifiers keys = QGuiApplication::queryKeyboardModifiers();
          return ((keys & Qt::ShiftModifier) ? MK_SHIFT : 0u) |
                 ((keys & Qt::ControlModifier) ? MK_CONTROL : 0u);
      }))
{
    AfxSetOffscreenFactory(&m_offscreen);
    AfxSetGlyphSource(&m_glyphs);
}

CQtGLServices::~CQtGLServices()
{
    AfxSetKeyStateReader(std::move(m_oldKeys));
    AfxSetGLHostProvider(std::move(m_oldProvider));
    AfxSetPrintService(m_pOldPrint);
    AfxSetGlyphSource(m_pOldGlyphs);
    AfxSetOffscreenFactory(m_pOldOffscreen);
}
