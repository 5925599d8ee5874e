#include "glview/ogltesselator.h"

#include "platform/afx/afx.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>

namespace {

// A vertex made at a crossing of contours; the list owns it until EndDef.
struct CombineVertex {
    double xyz[3];
    CombineVertex* next;
};

CombineVertex* g_pCombineList = nullptr;
int g_nCombine = 0;

void FreeCombineList()
{
    while (g_pCombineList) {
        CombineVertex* v = g_pCombineList;
        g_pCombineList = v->next;
        delete v;
    }
    g_nCombine = 0;
}

void GLAPIENTRY OnBegin(GLenum type)
{
    glBegin(type);
}

void GLAPIENTRY OnVertex(void* data)
{
    glNormal3d(0.0, 0.0, 1.0);
    glVertex3dv(static_cast<const GLdouble*>(data));
}

void GLAPIENTRY OnEnd()
{
    glEnd();
}

void GLAPIENTRY OnCombine(GLdouble coords[3], void*[4], GLfloat[4], void** out)
{
    CombineVertex* v = new CombineVertex{{coords[0], coords[1], coords[2]}, g_pCombineList};
    g_pCombineList = v;
    ++g_nCombine;
    *out = v->xyz;
}

void GLAPIENTRY OnError(GLenum code)
{
    char text[256];
    const GLubyte* what = gluErrorString(code);
    std::snprintf(text, sizeof text, "Tessellation/Quadric Error: %s\n",
                  what ? reinterpret_cast<const char*>(what) : "");
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

template <class F>
_GLUfuncptr Callback(F f)
{
    return reinterpret_cast<_GLUfuncptr>(f);
}

} // namespace

COGLTesselator::COGLTesselator() : m_pTess(gluNewTess())
{
    if (!m_pTess)
        return;
    gluTessCallback(m_pTess, GLU_TESS_BEGIN, Callback(&OnBegin));
    gluTessCallback(m_pTess, GLU_TESS_VERTEX, Callback(&OnVertex));
    gluTessCallback(m_pTess, GLU_TESS_END, Callback(&OnEnd));
    gluTessCallback(m_pTess, GLU_TESS_COMBINE, Callback(&OnCombine));
    gluTessCallback(m_pTess, GLU_TESS_ERROR, Callback(&OnError));
}

COGLTesselator::~COGLTesselator()
{
    if (m_pTess)
        gluDeleteTess(m_pTess);
}

void COGLTesselator::SetWindingRule(double rule)
{
    if (m_pTess)
        gluTessProperty(m_pTess, GLU_TESS_WINDING_RULE, rule);
}

double COGLTesselator::GetWindingRule() const
{
    GLdouble value = 0.0;
    if (m_pTess)
        gluGetTessProperty(m_pTess, GLU_TESS_WINDING_RULE, &value);
    return value;
}

void COGLTesselator::SetFilling(int fill)
{
    if (m_pTess)
        gluTessProperty(m_pTess, GLU_TESS_BOUNDARY_ONLY, fill ? GL_FALSE : GL_TRUE);
}

int COGLTesselator::GetFilling() const
{
    GLdouble value = 0.0;
    if (m_pTess)
        gluGetTessProperty(m_pTess, GLU_TESS_BOUNDARY_ONLY, &value);
    return value != 0.0 ? 0 : 1;
}

void COGLTesselator::StartDef()
{
    if (!m_pTess)
        return;
    gluTessBeginPolygon(m_pTess, nullptr);
    gluTessBeginContour(m_pTess);
}

void COGLTesselator::AddVertex(double v[3])
{
    if (m_pTess)
        gluTessVertex(m_pTess, v, v);
}

void COGLTesselator::AddVertexArray(double v[][3], int count)
{
    for (int i = 0; i < count; ++i)
        AddVertex(v[i]);
}

void COGLTesselator::ContourSeparator()
{
    if (!m_pTess)
        return;
    gluTessEndContour(m_pTess);
    gluTessBeginContour(m_pTess);
}

void COGLTesselator::EndDef()
{
    if (m_pTess) {
        gluTessEndContour(m_pTess);
        gluTessEndPolygon(m_pTess);
    }
    FreeCombineList();
}

int COGLTesselator::GetCombineCount()
{
    return g_nCombine;
}
