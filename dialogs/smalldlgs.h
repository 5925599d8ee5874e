// Four small modal dialogs of the frame family over public members that the
// caller sets before DoModal and reads after OK: a 3 x 3 matrix, the
// division of members, a rotation and the calculation options.
#pragma once

#include "platform/ui/core/afxui.h"

// "Matrix": nine values row by row.
class VokDlg3x3Matrix : public CDialog
{
    DECLARE_DYNAMIC(VokDlg3x3Matrix)
public:
    enum { IDD = 16237 };
    // The edits of the nine values, row by row.
    static constexpr int kEditIDs[9] = {16230, 16231, 16232, 16233, 16235,
                                        16236, 16237, 16238, 16239};

    explicit VokDlg3x3Matrix(CWnd* pParent = nullptr);

    double m_dA[9] = {}; // row by row

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// "Divide member(s)": how many members and how the division is spaced.
class VokDLGDivideSegment : public CDialog
{
    DECLARE_DYNAMIC(VokDLGDivideSegment)
public:
    enum { IDD = 16230 };

    explicit VokDLGDivideSegment(CWnd* pParent = nullptr);

    int m_nMembers = 2;  // 2 to 1,000,000
    int m_iDivision = 0; // 0 equidistant, 1 projected

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// "Rotate": a rotation given by an angle about a director (pseudovector)
// or by three Euler angles, about a centre.
class VokDLGRotate : public CDialog
{
    DECLARE_DYNAMIC(VokDLGRotate)
public:
    enum { IDD = 16231 };
    enum { pseudovector = 0, eulerAngles = 1 };

    explicit VokDLGRotate(CWnd* pParent = nullptr);

    double m_dAngle = 0.0;
    double m_dRot[3] = {};      // rotations about X, Y, Z
    double m_dDirector[3] = {}; // X, Y, Z
    double m_dCenter[3] = {};   // X, Y, Z
    int m_iKind = eulerAngles;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnKind();
    // Enables the fields the kind uses.
    void EnableByKind();

    DECLARE_MESSAGE_MAP()
};

// "Options": the calculation options with a shape imperfection.
class VokDlgCalcSett1 : public CDialog
{
    DECLARE_DYNAMIC(VokDlgCalcSett1)
public:
    enum { IDD = 16064 };

    explicit VokDlgCalcSett1(CWnd* pParent = nullptr);

    int m_iPreapply = 0;
    UINT m_uMode = 0; // the buckling mode the imperfection follows
    double m_dAmplitude = 0.0;
    int m_iSequentialImages = 0;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnPreapply();
    void EnableImperfection();

    DECLARE_MESSAGE_MAP()
};
