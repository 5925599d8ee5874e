// The parametric cross-sections: a solid rectangle, a solid circle, a
// circular tube and a user-defined section of one size value. Their
// properties follow from their dimensions and the base material by closed
// formulas (the user-defined shape keeps the stored values of
// CCrSectComp). CCrSectFixedGeom is their common base: it keeps the
// accumulated translation and turns the region operations of the composite
// into nothing.
//
// The rectangle's width runs along the section's x axis and its height
// along y; circle, tube and user-defined shape are centred on the origin.
#pragma once

#include "sections/beams/crsectcomp.h"

class CCrSectFixedGeom : public CCrSectComp
{
    DECLARE_SERIAL_ABSTRACT(CCrSectFixedGeom)
public:
    ~CCrSectFixedGeom() override;

    // --- the composite's operations that a fixed shape has no use for
    void Copy(CSectComp*& target, bool withCopies) override;
    void RemoveNode(CSNode* node) override;
    void Rotate(double angle, double c1, double c2, unsigned axis, bool update) override;
    void PickDrawResGL(int flags, bool flag) override;
    bool PreCalc(CStringArray* log, CStringArray* errors, int mode) override;
    bool Calculate(CStringArray* log, CStringArray* errors) override;
    // Adds dx, dy to the offsets, then moves the reference points.
    void Translate(double dx, double dy, double dz) override;

    // --- cross-section operations
    void DrawResGL(unsigned what) override;
    void ColorPlotBeamGL(COGLDrawCommand* command, CVector& start, CVector& end,
                         CMatrix& frameStart, CMatrix& frameEnd, bool alignPrincipal, bool capStart,
                         bool capEnd, double* colourStart, double* colourEnd) override;
    bool GetMaxMinActStress(double& max, double& min) override;
    void GetModelInfo(int* info) override;
    // The first material of the list, whatever its flags; null when empty.
    CMaterial* GetBaseMat() override;

    double GetOffsetX() const { return m_dOffX; }
    double GetOffsetY() const { return m_dOffY; }

protected:
    CCrSectFixedGeom() = default;

    // The four reference nodes of a shape made with dimensions: the axis
    // origin (identifier -10), x node at (d, 0, 0), z node at (0, 0, d) and
    // the shear node at the origin; the node counter ends one above where
    // it stood.
    void MakeReferencePoints(double d);
    // The offsets, in archive order.
    void SerializeOffsets(CArchive& ar);
    // The base material's colour when there is one, then the shape's
    // filled outline and the axis mark, with polygon offset when asked for.
    template <class F> void DrawShapeGL(F outline);
    // Outline of a prism: a rectangle of half-sizes a (u) and b (v), an
    // ellipse of semi-axes a (u) and b (v), or a ring of outer radius a and
    // inner radius b (0: no hole).
    struct PrismOutline {
        enum Kind { kRect, kEllipse, kRing } kind;
        double a;
        double b;
    };
    // One straight segment of a beam as a prism of the outline: the local
    // axes (command flag 0x20), the principal alignment, polygon mode and
    // base material colour (flag 0x8), then caps and mantle. With colours
    // the start face and start points take the first, the end face and end
    // points the second. Nothing for vectors or frames that are too small.
    void PrismGL(const PrismOutline& outline, COGLDrawCommand* command, CVector& start,
                 CVector& end, CMatrix& frameStart, CMatrix& frameEnd, bool alignPrincipal,
                 bool capStart, bool capEnd, const double* colourStart, const double* colourEnd);
    // The parameters the three formula shapes share: indices 9, 10 (shear
    // factor), 15 to 17 and 33, 34; false for any other index.
    bool GetCommonParam(unsigned index, double shearFactor, double& value);
    // Density of the base material, 0 without one.
    double Density();

    double m_dOffX = 0.0;
    double m_dOffY = 0.0;
};

class CCrSectRect : public CCrSectFixedGeom
{
    DECLARE_SERIAL(CCrSectRect)
public:
    CCrSectRect() = default;
    CCrSectRect(double height, double width);
    ~CCrSectRect() override;

    // Composite part, then height, width, offset x, offset y.
    void Serialize(CArchive& ar) override;
    double CalcArea() override;
    void DrawModelGL(bool quads, float pointSize, bool all) override;
    // (b/2, h/2, -b/2, -h/2) about the origin.
    void GetMaxMinCoord(double& xmax, double& ymax, double& xmin, double& ymin) override;
    void DrawBeamGL(COGLDrawCommand* command, CVector& start, CVector& end, CMatrix& frameStart,
                    CMatrix& frameEnd, bool alignPrincipal, bool capStart, bool capEnd) override;
    void ColorPlotBeamGL(COGLDrawCommand* command, CVector& start, CVector& end,
                         CMatrix& frameStart, CMatrix& frameEnd, bool alignPrincipal, bool capStart,
                         bool capEnd, double* colourStart, double* colourEnd) override;
    double GetParam(unsigned index) override;

    double GetHeight() const { return m_dHeight; }
    void SetHeight(double h) { m_dHeight = h; }
    double GetWidth() const { return m_dWidth; }
    void SetWidth(double w) { m_dWidth = w; }
    // Torsion constant of the solid rectangle.
    double TorsionConstant() const;

protected:
    double m_dHeight = 0.0;
    double m_dWidth = 0.0;
};

class CCrSectCirc : public CCrSectFixedGeom
{
    DECLARE_SERIAL(CCrSectCirc)
public:
    CCrSectCirc() = default;
    explicit CCrSectCirc(double radius);
    ~CCrSectCirc() override;

    // Composite part, then radius, offset x, offset y.
    void Serialize(CArchive& ar) override;
    double CalcArea() override;
    void DrawModelGL(bool quads, float pointSize, bool all) override;
    // (r, r, -r, -r).
    void GetMaxMinCoord(double& xmax, double& ymax, double& xmin, double& ymin) override;
    void DrawBeamGL(COGLDrawCommand* command, CVector& start, CVector& end, CMatrix& frameStart,
                    CMatrix& frameEnd, bool alignPrincipal, bool capStart, bool capEnd) override;
    void ColorPlotBeamGL(COGLDrawCommand* command, CVector& start, CVector& end,
                         CMatrix& frameStart, CMatrix& frameEnd, bool alignPrincipal, bool capStart,
                         bool capEnd, double* colourStart, double* colourEnd) override;
    double GetParam(unsigned index) override;

    double GetRadius() const { return m_dRadius; }
    void SetRadius(double r) { m_dRadius = r; }

protected:
    // The values circle and tube compute alike, for the ring between the
    // radius and inner (0 for the full circle): indices 0, 1, 3 to 6, 21 to
    // 23, 29 and 30; false for any other index.
    bool GetRingParam(unsigned index, double inner, double& value);

    double m_dRadius = 0.0;
};

class CCrSectTube : public CCrSectCirc
{
    DECLARE_SERIAL(CCrSectTube)
public:
    CCrSectTube() = default;
    CCrSectTube(double radius, double thickness);
    ~CCrSectTube() override;

    // The circle's layout, then the wall thickness.
    void Serialize(CArchive& ar) override;
    double CalcArea() override;
    void DrawModelGL(bool quads, float pointSize, bool all) override;
    void DrawBeamGL(COGLDrawCommand* command, CVector& start, CVector& end, CMatrix& frameStart,
                    CMatrix& frameEnd, bool alignPrincipal, bool capStart, bool capEnd) override;
    void ColorPlotBeamGL(COGLDrawCommand* command, CVector& start, CVector& end,
                         CMatrix& frameStart, CMatrix& frameEnd, bool alignPrincipal, bool capStart,
                         bool capEnd, double* colourStart, double* colourEnd) override;
    double GetParam(unsigned index) override;

    double GetThick() const { return m_dThick; }
    void SetThick(double t) { m_dThick = t; }
    // The radius of the hole: R - t, and 0 for a wall as thick as the
    // radius or thicker (the tube is then the full circle).
    double InnerRadius() const;

protected:
    double m_dThick = 0.0;
};

class CCrSectUsrDef : public CCrSectFixedGeom
{
    DECLARE_SERIAL(CCrSectUsrDef)
public:
    CCrSectUsrDef() = default;
    explicit CCrSectUsrDef(double size);
    ~CCrSectUsrDef() override;

    // Composite part, then size, offset x, offset y.
    void Serialize(CArchive& ar) override;
    // The stored area, unchanged.
    double CalcArea() override;
    // An ellipse half as wide as high.
    void DrawModelGL(bool quads, float pointSize, bool all) override;
    // (s, s, -s, -s).
    void GetMaxMinCoord(double& xmax, double& ymax, double& xmin, double& ymin) override;
    void DrawBeamGL(COGLDrawCommand* command, CVector& start, CVector& end, CMatrix& frameStart,
                    CMatrix& frameEnd, bool alignPrincipal, bool capStart, bool capEnd) override;

    double GetSize() const { return m_dSize; }
    void SetSize(double s) { m_dSize = s; }

protected:
    double m_dSize = 1.0;
};
