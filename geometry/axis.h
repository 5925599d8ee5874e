// CAxis: a local Cartesian system given by an origin node, a node on the
// local x axis and an optional node on the local z axis. Without the z-node
// the system is planar (local y is x turned +90 degrees about global z);
// with it, it is right-handed (y = z x x) and the z-node is kept
// perpendicular to x. Also the static geometry helpers of the graph:
// rotation matrices about a coordinate axis, direction angles, distances,
// 2D line intersection, normals and axis triads.
#pragma once

#include "geometry/snode.h"

class CAxis : public CObject {
    DECLARE_SERIAL(CAxis)
public:
    // Own nodes at (0,0,0), (1,0,0) and, with zAxis, (0,0,1); they use up no
    // node identifiers.
    explicit CAxis(bool zAxis);
    // The axis takes the given nodes as its own.
    CAxis(CSNode* origin, CSNode* xNode, CSNode* zNode);
    // Deletes each node of its own that has no edges and belongs to no graph.
    // A loaded axis owns the nodes that were new at its slots; a node it
    // refers back to belongs to whoever read it first.
    ~CAxis() override;
    CAxis(const CAxis&) = delete;
    CAxis& operator=(const CAxis&) = delete;

    void Serialize(CArchive& ar) override;
    virtual void DrawGL(double scale, CString xLabel, CString yLabel, CString zLabel, double fx,
                        double fy, double fz);

    CSNode* GetOrigin() const { return m_pOrigin; }
    CSNode* GetXNode() const { return m_pXNode; }
    CSNode* GetZNode() const { return m_pZNode; }
    // Stores the z-node (the axis's own from now on) and re-normalises;
    // returns the previous one, which the caller takes over.
    CSNode* SetZNode(CSNode* node);
    void UpdateAxis(CSNode* z);
    void Translate(double dx, double dy, double dz);

    // Each adds its vector to x, y, z and returns whether it could be formed.
    bool GetXVector(double& x, double& y, double& z, double length) const;
    bool GetYVector(double& x, double& y, double& z, double length) const;
    bool GetZVector(double& x, double& y, double& z, double length) const;

    void LocalToGlobal(double& x, double& y, double& z) const;
    void GlobalToLocal(double& x, double& y, double& z) const;
    void GlobalToLocal(double& x, double& y) const;
    void LocalToGlobaldv(double* p) const;
    void GlobalToLocaldv(double* p) const;
    void LtoGVector(double* v) const;
    void GtoLVector(double* v) const;
    void LocalToGlobal3D(double* points, int n) const;
    void LocalToGlobalXY(double* values, int n, int stride) const;

    void RotateLocal(double angle, unsigned axis);
    bool GetPofIntersect(double* dir, double& x, double& y, double& z, int plane) const;
    void DrawXYGL(double scale, CString xLabel, CString yLabel, double fx, double fy);

    // --- static helpers
    static void RotMat(CMatrix& m, double angle, int axis);
    static bool GetUnity(double& x, double& y, double& z, CSNode* a, CSNode* b, double length);
    static double CalcDist(CSNode* a, CSNode* b);
    static double CalcArea(CSNode* a, CSNode* b, CSNode* c);
    // Direction angle of (v[0], v[1]) in [0, 2 pi); -1.0 for a zero vector.
    static double GetAngle(double* v);
    static double GetAngleXY(CSNode* a, CSNode* b);
    static double GetAngleXZ(CSNode* a, CSNode* b);
    // 3 parallel, 1 within both segments' ranges, 2 outside one of them.
    static int Intersect2D(double* p1, double* p2, double* p3, double* p4, double* result);
    static void GLNormal(double (*p)[3]);
    static void GLNormal(double* a, double* b, double* c);
    static void GLNormal(double x, double y, int plane);
    static void DrawArrow(CSNode* n, double x, double y, double z, double scale);
    static void DrawArrowHeadGL(double* origin, double* dir, double* side1, double* side2);
    static void DrawGlobalXYGL(double scale, CString xLabel, CString yLabel, double fx, double fy);
    static void DrawGL(CVector& origin, CMatrix& m);
    static void DrawGL(double* origin, CMatrix& m);

    static BYTE m_cVer;

protected:
    CAxis() = default;

private:
    void Normalize();
    // Unit directions of the three local axes; false where one cannot be formed.
    bool Unit(CSNode* to, double* e) const;

    CSNode* m_pOrigin = nullptr;
    CSNode* m_pXNode = nullptr;
    CSNode* m_pZNode = nullptr;
    // Which of origin, x-node and z-node the axis may delete.
    bool m_bOwns[3] = {true, true, true};
};
