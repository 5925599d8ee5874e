// CCrSectComp: the cross-section of a beam member. A section composite whose
// regions would describe the outline, extended by a list of materials (not
// owned), local axes whose origin is the centre of gravity, a shear-centre
// node, fourteen stored stiffness and mass properties, eight force values
// and two tables of fifteen values.
//
// Every user of a cross-section reads it through the numbered parameter
// interface (GetParam / SetParam), GetCoord, GetForce / SetForce and
// GetBaseMat. The section lies in its own x-y plane: its x direction is the
// beam's local y, its y direction the beam's local z and its normal the beam
// axis; "y" and "z" properties follow the beam's naming.
#pragma once

#include "geometry/axis.h"
#include "geometry/geomtools.h"
#include "sections/regions/sectcomp.h"

class CMaterial;

class CCrSectComp : public CSectComp
{
    DECLARE_SERIAL_ABSTRACT(CCrSectComp)
public:
    // Positions of the stored properties, in archive order. The comment
    // gives the parameter index that reads and writes each.
    enum Prop {
        kEA = 0,      // 21
        kEIy = 1,     // 22
        kEIz = 2,     // 23
        kS24 = 3,     // 24
        kS25 = 4,     // 25
        kS26 = 5,     // 26
        kGAy = 6,     // 27
        kGAz = 7,     // 28
        kGIt = 8,     // 29
        kGA = 9,      // 30
        kShearY = 10, // 9
        kShearZ = 11, // 10
        kSpare = 12,
        kMass = 13, // 3
        kPropCount = 14
    };
    static constexpr int kForceCount = 8;
    static constexpr int kTableSize = 15;
    // Gravity acceleration of the weight per unit length.
    static constexpr double kGravity = 9.81;
    // Identifiers the axis origin and the shear-centre node carry.
    static constexpr DWORD kOriginID = static_cast<DWORD>(-10);
    static constexpr DWORD kShearNodeID = static_cast<DWORD>(-11);

    // Deletes the axis, the shear-centre node and the auxiliary object; the
    // materials stay (their owner deletes them after the section).
    ~CCrSectComp() override;
    CCrSectComp(const CCrSectComp&) = delete;
    CCrSectComp& operator=(const CCrSectComp&) = delete;

    // --- overrides of the composite
    // Regions, materials, version 0, factor, active value, name, auxiliary
    // object, axis, shear node, the fourteen properties, principal angle,
    // flag, integer setting, area, forces and the two tables interleaved.
    void Serialize(CArchive& ar) override;
    // The composite's copy; into a cross-section also the material list
    // (appended), flag, principal angle, properties, area, axis colour,
    // integer setting and forces. With withCopies the target's materials of
    // this list are then replaced by copies of them.
    void Copy(CSectComp*& target, bool withCopies) override;
    // Principal angle and properties to 0; deletes shear node and axis.
    void ResetParam() override;
    // Itself, then the first material of that name, then the regions.
    CObject* GetObjectFromString(CString name) override;
    // Regions and the axis mark, with polygon offset when it is switched on.
    void DrawModelGL(bool quads, float pointSize, bool all) override;
    void Translate(double dx, double dy, double dz) override;
    // Regions, then shear node and axis through a temporary graph; adds the
    // angle to the principal angle when there is an axis.
    void Rotate(double angle, double c1, double c2, unsigned axis, bool update) override;
    // Sum of the region areas, kept as the area.
    double CalcArea() override;

    // --- operations of cross-sections, in this order
    virtual void DrawResGL(unsigned what) = 0;
    // Stores where the index names a stored value and returns the value
    // held before; derived indices store nothing and return the derived
    // value or 0.
    virtual double SetParam(unsigned index, double value);
    // One straight segment of a beam drawn as a prism of this section.
    virtual void DrawBeamGL(COGLDrawCommand* command, CVector& start, CVector& end,
                            CMatrix& frameStart, CMatrix& frameEnd, bool alignPrincipal,
                            bool capStart, bool capEnd) = 0;
    // The same prism coloured linearly from colourStart to colourEnd.
    virtual void ColorPlotBeamGL(COGLDrawCommand* command, CVector& start, CVector& end,
                                 CMatrix& frameStart, CMatrix& frameEnd, bool alignPrincipal,
                                 bool capStart, bool capEnd, double* colourStart,
                                 double* colourEnd) = 0;
    virtual bool GetMaxMinActStress(double& max, double& min) = 0;
    virtual void GetModelInfo(int* info) = 0;
    virtual void AddMaterial(CMaterial* material);
    virtual void AddMaterial(CObList* materials);
    // The regions replace it first; in the list the replacement goes before
    // the old material, which leaves the list. Neither is deleted.
    virtual void ReplaceMaterial(CMaterial* oldMaterial, CMaterial* replacement);
    // The first material flagged as base material, or null.
    virtual CMaterial* GetBaseMat();
    // Force value 0 to 7; 0 for any other index.
    virtual double GetForce(unsigned index);
    // Other indices are ignored.
    virtual void SetForce(unsigned index, double value);
    virtual double GetParam(unsigned index);
    // 0, 1 centre of gravity x, y; 2, 3 shear centre x, y; 4, 5 shear centre
    // in the local axes. 0 without the node or axis needed; results below
    // 1e-12 times the section's extent in that direction become exactly 0.
    virtual double GetCoord(unsigned index);

    // --- non-virtual access
    CObList* GetMaterialList() { return &m_MaterialList; }
    CAxis* GetAxis() const { return m_pAxis; }
    CSNode* GetShearNode() const { return m_pShearNode; }
    // The axis cross in the axis colour and the shear centre as a red point
    // labelled "S"; nothing without axis or shear node. The OpenGL state it
    // changes is restored.
    void DrawPAxisGL();

    CObject* GetAuxObject() const { return m_pAuxObject; }
    double GetPrincipalAngle() const { return m_dPrincAngle; }
    double GetProp(int i) const { return m_dProps[i]; }
    double GetTableValue(int table, int i) const
    {
        return table == 0 ? m_dTable1[i] : m_dTable2[i];
    }
    void SetTableValue(int table, int i, double v) { (table == 0 ? m_dTable1 : m_dTable2)[i] = v; }
    int GetIntSetting() const { return m_iSetting; }
    bool GetFlag() const { return m_bFlag; }
    void SetFlag(bool flag) { m_bFlag = flag; }
    const double* GetAxisColor() const { return m_dAxisColor; }
    void SetAxisColor(double r, double g, double b)
    {
        m_dAxisColor[0] = r;
        m_dAxisColor[1] = g;
        m_dAxisColor[2] = b;
    }

    static WORD m_sVersion;
    static const double m_dDefaultForces[kForceCount];
    static long m_lWriteLogFile;
    static CString m_strLFileEx;

protected:
    CCrSectComp();

    // Filled polygon offset around a drawing, when the drawing settings ask
    // for it: Begin returns whether it switched the offset on, End takes
    // that answer.
    static bool BeginPolygonOffsetGL();
    static void EndPolygonOffsetGL(bool on);
    // Length of the axis arms: 0.4 times the larger extent of the section.
    double AxisArmLength();
    // Deletes axis and shear node (each once, and only nodes that belong to
    // no graph) and clears the pointers.
    void DeleteReferencePoints();
    // E of the base material, 0 without one.
    double BaseModulus();
    // G of the base material as stored, 0 without one.
    double BaseShearModulus();

    double m_dArea = 0.0;
    CObject* m_pAuxObject = nullptr;
    CObList m_MaterialList{10};
    CSNode* m_pShearNode = nullptr;
    // Whether the section may free its shear node (a loaded one that refers
    // back to a node read before is someone else's).
    bool m_bOwnsShearNode = true;
    CAxis* m_pAxis = nullptr;
    double m_dForces[kForceCount];
    double m_dTable1[kTableSize] = {};
    double m_dTable2[kTableSize] = {};
    double m_dPrincAngle = 0.0;
    double m_dProps[kPropCount] = {};
    int m_iSetting = -10;
    bool m_bFlag = true;
    double m_dAxisColor[3] = {1.0, 1.0, 1.0};

private:
    // Moves the centre of gravity (index 13, 14) or the shear centre in the
    // local axes (11, 12); returns the former coordinate.
    double MoveCentre(unsigned index, double value);
    // After loading: unlinks references that would make this section delete
    // an object twice; false when there were any.
    bool DropSharedReferences();
};
