// CBeamArch: a curved beam member between two nodes, shaped by a third
// node (not owned): a circular arc through the three nodes (arch type 1)
// or a parabola through them (any other type). Without a third node it is
// a straight member in every respect.
//
// Parabola: with P1, P2 the member's ends (with their offsets) and P3 the
// third node, c = (P2 - P1) / 2 and d = (P1 + P2) / 2 - P3; the curve is
// P(s) = P3 + c s + d s^2, s from -1 (P1) over 0 (P3) to 1 (P2).
// Circle: centre, radius, start angle of P1 and sweep in the plane of the
// three points; the arc runs from the start angle downwards through P3.
#pragma once

#include "sections/beams/beamseg.h"

#include <functional>
#include <vector>

class CBeamArch : public CBeamSeg
{
    DECLARE_SERIAL(CBeamArch)
public:
    static constexpr int kCircular = 1;

    CBeamArch() = default;
    CBeamArch(CSNode* node1, CSNode* node2, CCrSectComp* crSect);
    CBeamArch(CSNode* node1, CSNode* node2, CSNode* node3, CCrSectComp* crSect);
    ~CBeamArch() override;

    // --- overrides
    bool IsNodeInDef(CSNode* node) const override;
    void GetNodes(CObList& out) override;
    void GLLine(bool solid, CSNode* from) override;
    using CBeamSeg::GLLine;
    void Discretize() override;
    void PostDiscretize() override;
    // By arch type; without a third node the straight division.
    void Divide(int mode, int n) override;
    double GetLength() const override;
    void GLDrawLoad(COGLDrawCommand* command) override;
    // The member's layout, then the arch type and the third node.
    void Serialize(CArchive& ar) override;
    void ASCIIExport(CArchive& ar, CObList* sections, const CBeamClassList* classes) override;

    // --- operations of arches, in this order
    virtual void CentreNodeParaDivide();
    virtual void CentreNodeCircDivide();
    virtual void CentreNodeDivide();
    virtual void ParabolaDraw(bool solid);
    virtual void CircularDraw(bool solid);
    // n segments of equal arc length.
    virtual void ParabolaDivideEqDist(int n);
    // Arc length of the parabola between the parameters; speed gets the
    // speed |P'(to)|. c and d are the parabola's, or the member's own when
    // null.
    virtual double GetLength(double from, double to, CVector* c, CVector* d, double* speed);
    // The unit chord direction, c and d; with moved, the parabola moved by
    // the section's centre of gravity.
    virtual void GetParabFunc(CVector& chord, CVector& c, CVector& d, bool moved);
    // The circle: centre, axes (columns: chord direction, in-plane normal,
    // plane normal), start angle and sweep; returns the radius, 0 for
    // collinear points. With moved, the centre moves by the section's
    // centre of gravity.
    virtual double GetCircFunc(CVector& centre, CMatrix& axes, double& start, double& sweep,
                               bool moved);
    // mode 1: equal parameter steps; otherwise equal arc lengths.
    virtual void ParabolaDivide(int mode, int n);
    // Equal angle steps; collinear points divide as a parabola.
    virtual void CircularDivide(int mode, int n);

    // --- access
    int GetArchType() const { return m_iArchType; }
    void SetArchType(int type) { m_iArchType = type; }
    CSNode* GetThirdNode() const { return m_pThird; }
    void SetThirdNode(CSNode* node) { m_pThird = node; }
    // Whether the arch follows a circle (type 1 with a third node).
    bool IsCircular() const { return m_pThird && m_iArchType == kCircular; }

    // The curve's points for n segments (n + 1 points into points, as rows
    // of x, y, z). Circular: false when the points are collinear.
    static bool Circular(CSNode* node1, CSNode* node2, CSNode* node3, CCrSectComp* crSect,
                         CMatrix& points, bool draw, int n);
    static void Parabola(CSNode* node1, CSNode* node2, CSNode* node3, CCrSectComp* crSect,
                         CMatrix& points, bool draw, int n);

    // Local axes of the curve at parameter s (parabola) or angle a
    // (circle): row 0 the unit tangent, row 2 i3 carried along from the
    // chord, row 1 row 2 x row 0.
    void GetT_loc_Parab(double s, CMatrix& t);
    void GetT_loc_Circ(double angle, CMatrix& t);

protected:
    CEdge* NewEdge(CSNode* first, CSNode* second) override;

private:
    // Curve point at parameter s (parabola) or angle (circle), moved by the
    // centre of gravity when asked.
    void ParabolaPoint(double s, bool moved, double* p);
    void CirclePoint(double angle, bool moved, double* p);
    // The local axes from a tangent: i3 turned from the chord onto it.
    void AxesFromTangent(const double* tangent, CMatrix& t);
    // Curve positions of the segment boundaries: n + 1 parameters (parabola)
    // or angles (circle).
    std::vector<double> PieceParameters(int n, bool equalArcs);
    // Splits the member at the given interior curve positions; pos(i) and
    // mid(i) give the points of boundary i and of the middle of segment i.
    void DivideAt(int n, const std::function<void(int, double*)>& boundary,
                  const std::function<void(int, double*)>& middle);
    // The curve drawn as n segments.
    void DrawPieces(bool solid, const std::function<void(int, double*)>& point,
                    const std::function<void(int, CMatrix&)>& axes, int n);
    // Elements along the curve (point(i) for the interior nodes).
    void DiscretizeCurve(int n, const std::function<void(int, double*)>& point,
                         const std::function<void(int, CMatrix&)>& axes,
                         const std::function<double(int)>& pieceLength);
    // Section's centre of gravity as a global shift.
    void CentreShift(double* shift);

    int m_iArchType = 0;
    CSNode* m_pThird = nullptr;
};
