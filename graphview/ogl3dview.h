// COGL3DView: the 2D graph view with a rotatable 3D camera: three angles
// and a rotation centre, an orthographic or a perspective projection,
// lighting from the shared light settings, a 3D cursor, typed 3D
// coordinates, an axis triad and fit-to-view of a 3D box. With its 3D flag
// off it behaves as the 2D view, apart from the rotation-centre offsets.
//
// The view axis object turns with the angles: its LocalToGlobal maps a
// model point (plus the rotation-centre offsets) to the screen-aligned
// frame the 2D conversion works in.
#pragma once

#include "graphview/ogl2dview.h"

class COGL3DView : public COGL2DView
{
    DECLARE_DYNAMIC(COGL3DView)
public:
    COGL3DView();
    ~COGL3DView() override;

    void ZoomToFit() override;
    // centre x, centre y, 0, then the three angles.
    void GetViewTransform(double* out) override;
    // The result-view background.
    float* GetBckGrdClr() override;
    bool SetViewVolume(double halfWidth, double halfHeight) override;
    int GetNumViewParams() override { return 15; }
    // The 2D view's eight, then the angles about x, y and z, the rotation
    // centre x and y, the 3D flag and the orthographic flag.
    int SetViewParam(double* params, bool get) override;
    bool LeftButtonDown(unsigned flags, double x, double y, CPoint point) override;
    bool MouseMove(unsigned flags, CPoint point) override;
    void DrawCursor() override;
    void GetRealCoord(double& x, double& y, bool snap) override;
    void GetScreenCoord(double& x, double& y) override;
    bool GLEnabling() override;
    bool ZoomIn(double factor) override;
    bool ZoomOut(double factor) override;
    bool SetViewTransform() override;
    bool DrawStaticScene() override;

    virtual void GetLastCoord3D(double& x, double& y, double& z);
    virtual void EnterCoord3D(double& x, double& y, double& z, bool relative);

    // type 0, 1, 2 turn about x, y, z by degrees, other types all three; an
    // angle reaching 360 in magnitude becomes 0.
    void Rotate(int type, double degrees);
    void SetAngles(double ax, double ay, double az);
    // Turns about the model point (x, y) from now on without moving the
    // picture.
    void SetRotCent(double x, double y);
    // Lights and material from the shared light settings.
    static bool GLLightEnabling();

    bool m_b3D = true;
    bool m_bOrtho = true;
    double m_dFovy = 30.0;
    double m_dNear = 1.0;
    double m_dFar = 10000.0;
    double m_dEyeDist = 10.0;
    double m_dAngX = 0.0, m_dAngY = 0.0, m_dAngZ = 0.0;
    double m_dZMax = 0.0, m_dZMin = 0.0;
    double m_dRotCentX = 0.0, m_dRotCentY = 0.0;

protected:
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

private:
    // Turns the view axis object to the angles.
    void OrientAxis();
    // The model point plus the rotation-centre offsets in the screen-
    // aligned frame (3D mode) or as it is.
    void ToViewFrame(double& x, double& y, double& z) const;
};
