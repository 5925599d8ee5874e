// Pages of three-dimensional frame models: gravity (two forms), the
// orientation of local axes, node geometry, a node's displacements and a
// bare two-dimensional node page.
#pragma once

#include "platform/ui/core/afxui.h"

class CVector;

// "Gravity" over public members.
class VokLGPPGravity3D : public CPropertyPage
{
    DECLARE_DYNCREATE(VokLGPPGravity3D)
public:
    enum { IDD = 16161 };

    VokLGPPGravity3D();

    int m_iOwnWeight = 0;
    double m_dMagnitude = 0.0;
    double m_dDirector[3] = {};

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// "Gravity" over the caller's gravity vector (director times intensity),
// self-weight flag and mass scaling, each optional.
class VokPP3DGravity : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPP3DGravity)
public:
    enum { IDD = 16249 };

    VokPP3DGravity();

    // The caller's values (not owned; none by default).
    CVector* m_pGravity = nullptr;
    bool* m_pbSelfWeight = nullptr;
    double* m_pdMassScaling = nullptr;

    // Working values.
    int m_iSelfWeight = 0;
    double m_dDirector[3] = {};
    double m_dIntensity = 0.0;
    double m_dMassScaling = 0.0;

    BOOL OnInitDialog() override;
    // The vector becomes the normalised director times the intensity.
    BOOL OnApply() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnModified();

    DECLARE_MESSAGE_MAP()

private:
    bool m_bFilling = false;
};

// "Orientation": three angles in degrees.
class VokPP3DOrient : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPP3DOrient)
public:
    enum { IDD = 16020 };

    VokPP3DOrient();

    double m_dPhi = 0.0;
    double m_dTheta = 0.0;
    double m_dAlpha = 0.0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// "Geometry" of a node over the caller's three coordinates and id.
class VokPPNode3D : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPPNode3D)
public:
    enum { IDD = 16057 };

    // pdCoords: the caller's X, Y, Z (not owned, required); piID: the
    // caller's node id or null, when the id is shown read-only.
    VokPPNode3D(double* pdCoords, int* piID = nullptr);

    int m_iID = 0; // the id shown; the caller sets it
    double m_dXYZ[3] = {};

    BOOL OnInitDialog() override;
    BOOL OnApply() override;

protected:
    // Only for the run-time class record: edits nothing.
    VokPPNode3D();

    void DoDataExchange(CDataExchange* pDX) override;
    void OnModified();

    DECLARE_MESSAGE_MAP()

private:
    double* m_pdCoords = nullptr; // not owned
    int* m_piID = nullptr;        // not owned
    bool m_bFilling = false;
};

// "Node displacement": a node's coordinates, displacements and rotations
// with their norms, read-only.
class VokPPNodeDispl3D : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPPNodeDispl3D)
public:
    enum { IDD = 16226 };

    VokPPNodeDispl3D();

    CString m_strLengthUnit;
    CString m_strRotationUnit;
    float m_fRot[3] = {};
    float m_fDispl[3] = {};
    float m_fCoord[3] = {};

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// "Geometry" of a two-dimensional node: the frame of its id and
// coordinates, which a derived page fills.
class VokPPNode2DEdit : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPPNode2DEdit)
public:
    enum { IDD = 16058 };

    VokPPNode2DEdit();
};
