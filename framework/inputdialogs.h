// Small dialogs that ask the user for numbers: the segments of a circle,
// coordinates typed instead of clicked (modeless, talking to their parent
// by messages), one, two or three labelled values, a fillet, the scaling
// of an imported or exported region and a model rotation. Values are in
// the unit shown; converting them is the caller's work.
#pragma once

#include "platform/ui/core/afxui.h"

// Messages of the coordinate dialogs to their parent: wParam 50007 enter
// the absolute point, 50006 enter the offset, 2 cancel (always 0x405).
constexpr UINT WM_KOR_ENTER_COORD = 0x405;
constexpr UINT WM_KOR_ENTER_COORD3D = 0x406;

class KorDlgCircle : public CDialog
{
public:
    enum { IDD = 27023 };
    // Mode 1 offers no arc-length approximation, mode 2 no area one; the
    // mode is also the first choice.
    KorDlgCircle(int mode, CWnd* parent);

    int m_iMode;
    UINT m_nSegments = 16; // 8 ... 192
    int m_iApprox;         // 0 follow the arc, 1 area, 2 length of arc

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class KorDlgCoordInput : public CDialog
{
public:
    enum { IDD = 27047 };
    enum : int {
        IDC_X = 50004,
        IDC_Y = 50005,
        IDC_ENTER = 50007,
        IDC_OFFSET = 50006,
    };
    // plane: 0 the X'Y' plane, 1 Y'Z', 2 X'Z'.
    KorDlgCoordInput(CString unit, int plane, CWnd* parent);

    double m_dX = 0.0, m_dY = 0.0;
    CString m_strUnit;
    int m_iPlane;
    CWnd* m_pParent; // receives the messages (not owned); none: a plain dialog

    // Stores the unit label and shows it in the unit statics.
    virtual void SetFormat(CString unit);
    // Makes the modeless window, child of m_pParent.
    virtual BOOL Create();

    BOOL OnInitDialog() override;

protected:
    KorDlgCoordInput(UINT nIDTemplate, CString unit, int plane, CWnd* parent);
    void DoDataExchange(CDataExchange* pDX) override;
    void OnEnter();
    void OnCancel() override;
    // The message of "&Enter" and "Enter &Offset".
    virtual UINT EnterMessage() const { return WM_KOR_ENTER_COORD; }
    // The axis names of the plane for the first and second value ("X'",
    // "Y'"), false for a plane without any.
    bool PlaneAxes(CString& first, CString& second) const;

    DECLARE_MESSAGE_MAP()

private:
    UINT m_nIDTemplate;
};

class KorDlgCoordInputEx : public KorDlgCoordInput
{
public:
    enum { IDD = 27030 };
    KorDlgCoordInputEx(CString unit, int plane, CWnd* parent);

    double m_dOffX = 0.0, m_dOffY = 0.0;

    void SetFormat(CString unit) override;
    BOOL OnInitDialog() override;

protected:
    KorDlgCoordInputEx(UINT nIDTemplate, CString unit, int plane, CWnd* parent);
    void DoDataExchange(CDataExchange* pDX) override;
    // Sent, so that the parent's answer is in the members on return.
    void OnEnterOffset();

    DECLARE_MESSAGE_MAP()
};

class KorDlgCoordInputEx3D : public KorDlgCoordInputEx
{
public:
    enum { IDD = 27048 };
    KorDlgCoordInputEx3D(CString unit, CWnd* parent);

    double m_dZ = 0.0, m_dOffZ = 0.0;

    void SetFormat(CString unit) override;
    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    UINT EnterMessage() const override { return WM_KOR_ENTER_COORD3D; }
};

class KorDlgDblVal : public CDialog
{
public:
    enum { IDD_UNIT = 27028, IDD_PLAIN = 27026 };
    enum : int { IDC_VALUE = 16230, IDC_UNIT = 16231, IDC_APPLY = 50080, IDC_LABEL = 50065 };

    KorDlgDblVal(CString title, double value, CString unit, CView* view);
    KorDlgDblVal(CString title, double* pValue, CString unit, CView* view);
    KorDlgDblVal(CString title, double value, CView* view);
    KorDlgDblVal(CDocument* doc, CString title, double* pValue);
    KorDlgDblVal(CString title, double* pValue, CView* view);

    CView* m_pView = nullptr;
    CDocument* m_pDoc = nullptr;
    CString m_strTitle;
    double* m_pdValue = nullptr; // the caller's, written at every Apply (not owned)
    double m_dValue = 0.0;
    CString m_strUnit;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Writes the value through and updates the views; false when the
    // edit holds no number.
    bool Apply();
    void OnApply();
    void OnOK() override;

    DECLARE_MESSAGE_MAP()
};

class KorDlgDblValTwo : public CDialog
{
public:
    enum { IDD = 27035 };
    // An empty text hides its control.
    KorDlgDblValTwo(CString title, CString label1, CString label2, CString unit1, CString unit2,
                    CString group, CWnd* parent, UINT templateId = IDD);

    double m_dVal1 = 0.0, m_dVal2 = 0.0;
    CString m_strLabel1, m_strLabel2, m_strUnit1, m_strUnit2, m_strGroup, m_strTitle;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class KorDlgDblValThree : public KorDlgDblValTwo
{
public:
    enum { IDD = 27050 };
    KorDlgDblValThree(CString title, CString label1, CString label2, CString label3,
                      CString unit1, CString unit2, CString unit3, CString group, CWnd* parent);

    double m_dVal3 = 0.0;
    CString m_strLabel3, m_strUnit3;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class KorDlgFillet : public CDialog
{
public:
    enum { IDD = 27024 };
    // flags: 1 no length approximation, 2 no area approximation, 4 no
    // taper; a caller that sets m_bTaper off disables "Taper".
    KorDlgFillet(int flags, CWnd* parent);

    static int m_dStatNumEdes;       // first number of edges
    static double m_dStatFilletRad;  // first radius

    int m_iFlags;
    BOOL m_bTaper = TRUE;
    UINT m_nEdges;
    double m_dRadius;
    CString m_strUnit;
    int m_iApprox = -1;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class KorDlgImpExpScl : public CDialog
{
public:
    enum { IDD = 27029 };
    // units: 1 inches, else millimetres.
    KorDlgImpExpScl(int units, CWnd* parent);

    // The labels; an empty one hides its edit.
    CString m_strScaleXLabel = "X", m_strScaleYLabel = "Y", m_strOffXLabel = "X",
            m_strOffYLabel = "Y", m_strScaleZLabel = "Z", m_strOffZLabel;
    double m_dScaleX = 1.0, m_dScaleY = 1.0, m_dScaleZ = 1.0;
    double m_dOffX = 0.0, m_dOffY = 0.0;
    int m_iUnits;
    double m_dOffZ = 0.0;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnUnits();
    void ShowUnits();

    DECLARE_MESSAGE_MAP()
};

class KorDlgRotate : public CDialog
{
public:
    enum { IDD = 16231 };
    explicit KorDlgRotate(CWnd* parent);

    // The last centre and angle, the start of the next dialog.
    static double m_dGlob[3];

    double m_dCentreX, m_dCentreY, m_dAngle;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
