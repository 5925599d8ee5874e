// The OpenGL side of the Qt backend, installed while the object lives (the
// program's CQtEnvironment holds one): window hosts for OpenGL views, the
// framebuffer-object factory of off-screen images, the QFont glyph
// source, the keyboard state of GetKeyState and the print service. What
// was installed before comes back afterwards.
#pragma once

#include "platform/ui/core/glsurface.h"
#include "platform/ui/core/viewinput.h"
#include "platform/ui/qt/qtglyphs.h"
#include "platform/ui/qt/qtoffscreen.h"
#include "platform/ui/qt/qtprint.h"

class CQtGLServices
{
public:
    CQtGLServices();
    ~CQtGLServices();
    CQtGLServices(const CQtGLServices&) = delete;
    CQtGLServices& operator=(const CQtGLServices&) = delete;

    CQtOffscreenFactory& Offscreen() { return m_offscreen; }
    CQtPrintService& Print() { return m_print; }

private:
    CQtOffscreenFactory m_offscreen;
    CQtGlyphSource m_glyphs;
    CQtPrintService m_print;

    IOffscreenFactory* m_pOldOffscreen;
    IGlyphSource* m_pOldGlyphs;
    CPrintService* m_pOldPrint;
    AfxGLHostProvider m_oldProvider;
    AfxKeyStateReader m_oldKeys;
};
