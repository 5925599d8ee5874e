// Test views of the graph views: named quads drawn in the dynamic scene and
// for picks, extents given by the test, and every click the handlers see.
#pragma once

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "geometry/snode.h"
#include "glstyle/drawing_settings.h"
#include "graphview/vistrel.h"
#include "platform/ui/headless/afxui_headless.h"
#include "platform/ui/osmesa/afxui_osmesa.h"

// A filled axis-parallel quad in model coordinates at z, drawn under name
// (0: no name of its own) with an extra name pushed when inner is not 0.
struct TestQuad {
    GLuint name = 0;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0, z = 0;
    float colour[3] = {1.0f, 0.0f, 0.0f};
    GLuint inner = 0;
};

struct TestClick {
    bool down = true; // LeftButtonDown, else LeftButtonUp
    unsigned flags = 0;
    double x = 0, y = 0;
    CPoint point;
};

template <class Base>
class TestView : public Base {
public:
    std::vector<TestQuad> quads;
    std::vector<TestClick> clicks;
    std::vector<const char*> calls; // "truncate", "down", "up" in order
    // The extents FindModelExtents sets: x max, y max, x min, y min.
    std::array<double, 4> extents{0, 0, 0, 0};
    // Run by LeftButtonDown, after recording it (may move the cursor).
    std::function<void(TestView&)> onDown;

    bool Make(int cx = 800, int cy = 600)
    {
        return this->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, cx, cy), nullptr, 1) != FALSE;
    }
    void InitialUpdate() { this->OnInitialUpdate(); }

    void TruncateCursor() override { calls.push_back("truncate"); }
    void FindModelExtents() override
    {
        this->SetMaxMin(extents[0], extents[1], 4);
        this->SetMaxMin(extents[2], extents[3], 2);
    }
    bool LeftButtonDown(unsigned flags, double x, double y, CPoint point) override
    {
        calls.push_back("down");
        clicks.push_back({true, flags, x, y, point});
        const bool answer = Base::LeftButtonDown(flags, x, y, point);
        if (onDown)
            onDown(*this);
        return answer;
    }
    void LeftButtonUp(unsigned flags, double x, double y, CPoint point) override
    {
        calls.push_back("up");
        clicks.push_back({false, flags, x, y, point});
        Base::LeftButtonUp(flags, x, y, point);
    }
    bool DrawDynamicScene() override
    {
        Base::DrawDynamicScene();
        DrawQuads(false);
        return true;
    }
    bool DynamicPickDraw(unsigned) override
    {
        DrawQuads(true);
        return true;
    }
    void PostNcDestroy() override {}

private:
    void DrawQuads(bool names)
    {
        for (const TestQuad& q : quads) {
            if (names) {
                glLoadName(q.name);
                if (q.inner != 0)
                    glPushName(q.inner);
            }
            glColor3fv(q.colour);
            glBegin(GL_QUADS);
            glVertex3d(q.x1, q.y1, q.z);
            glVertex3d(q.x2, q.y1, q.z);
            glVertex3d(q.x2, q.y2, q.z);
            glVertex3d(q.x1, q.y2, q.z);
            glEnd();
            if (names && q.inner != 0)
                glPopName();
        }
    }
};

using Test2DView = TestView<COGL2DView>;
using Test3DView = TestView<COGL3DView>;

// The headless application with the OSMesa off-screen factory and the
// drawing globals the pixel checks rely on: black backgrounds, a green grid,
// a blue axis cross, no smoothing.
class GraphViewTest : public afxui::headless::HeadlessApp {
protected:
    void SetUp() override
    {
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        m_previousFactory = AfxGetOffscreenFactory();
        AfxSetOffscreenFactory(&m_factory);
        const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        std::copy(black, black + 4, fBckClrMdView);
        std::copy(black, black + 4, fBckClrRsView);
        const double green[4] = {0.0, 1.0, 0.0, 1.0}, blue[4] = {0.0, 0.0, 1.0, 1.0};
        std::copy(green, green + 4, dGridColor);
        std::copy(blue, blue + 4, dAxisColor);
        COGL2DView::m_uiGridType = 0;
        COGL2DView::m_fGridPSize = 1.0f;
    }
    void TearDown() override
    {
        AfxSetOffscreenFactory(m_previousFactory);
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        afxui::headless::HeadlessApp::TearDown();
    }
    // The initial update (context and glyph lists) and the paint it asked
    // for, with smoothing off so that pixels take exact colours.
    template <class View>
    void Init(View& view)
    {
        view.InitialUpdate();
        COGLRenderer::bLineSmooth = false;
        COGLRenderer::bPointSmooth = false;
        PumpPosted();
    }

    // A view of w x h on its host, initialised and drawn once, with one
    // model unit a pixel (scale 2) and no grid or axes.
    template <class View>
    std::unique_ptr<ViewDriver> Host(View& view, int w = 800, int h = 600)
    {
        EXPECT_TRUE(view.Make(w, h));
        auto driver = std::make_unique<ViewDriver>(view, w, h);
        driver->Size(w, h);
        Init(view);
        view.m_dScale = 2.0;
        view.m_bShowAxis = false;
        view.m_bShowGrid = false;
        view.InvalidateList();
        driver->Draw();
        return driver;
    }

    COSMesaOffscreenFactory m_factory;
    IOffscreenFactory* m_previousFactory = nullptr;
};

using Rgba = std::array<std::uint8_t, 4>;

inline bool IsColour(const Rgba& p, int r, int g, int b)
{
    return p[0] == r && p[1] == g && p[2] == b;
}
