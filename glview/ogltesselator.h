// COGLTesselator: fills planar polygons with holes through the GLU
// tessellator. A polygon is defined between StartDef and EndDef as one or
// more contours (ContourSeparator starts the next one); EndDef emits the
// triangles (or outlines) into the current OpenGL context.
//
// Vertices that the tessellator creates where contours cross are held in one
// process-wide list until EndDef frees them: one polygon at a time may be
// under definition in the process.
#pragma once

struct GLUtesselator;

class COGLTesselator {
public:
    COGLTesselator();
    ~COGLTesselator();
    COGLTesselator(const COGLTesselator&) = delete;
    COGLTesselator& operator=(const COGLTesselator&) = delete;

    // The GLU winding rule (GLU_TESS_WINDING_ODD is 100130).
    void SetWindingRule(double rule);
    double GetWindingRule() const;
    // Non-zero: filled triangles; 0: outlines only.
    void SetFilling(int fill);
    int GetFilling() const;

    void StartDef();
    // The point is both location and vertex data: it must stay valid until
    // EndDef.
    void AddVertex(double v[3]);
    void AddVertexArray(double v[][3], int count);
    void ContourSeparator();
    void EndDef();

    // Crossing vertices made for the polygon under definition.
    static int GetCombineCount();

private:
    GLUtesselator* m_pTess;
};
