// KorDlgClipPlane: the modeless "Clip-planes" dialog. It edits the six clip
// planes of a child frame: two horizontal ones at levels of the plotted
// value and four vertical ones given by an angle in whole degrees and a
// distance from the global origin, in the current units. The planes belong
// to the frame; the dialog converts between them and what the user reads.
#pragma once

#include "platform/ui/core/afxui.h"

class KorChildFrm;

class KorDlgClipPlane : public CDialog
{
public:
    enum { IDD = 27027 };
    // Message to the frame: wParam 1 OK, 2 Cancel; the frame destroys the
    // window.
    enum : UINT { WM_KOR_CLIPPLANE = 0x407 };
    enum : int { IDC_APPLY = 50080, IDC_DYNAMIC = 50091 };

    KorDlgClipPlane(double scale, int quantH, int convH, int quantV, unsigned convV,
                    KorChildFrm* frame);

    CSpinButtonCtrl m_spin6, m_spin5, m_spin4, m_spin3;
    BOOL m_bBelow = FALSE, m_bAbove = FALSE;
    BOOL m_bPlane3 = FALSE, m_bPlane4 = FALSE, m_bPlane5 = FALSE, m_bPlane6 = FALSE;
    double m_dBelow = 0.0, m_dAbove = 0.0;
    double m_dDist3 = 0.0;
    int m_iAngle4 = 0, m_iAngle3 = 0;
    double m_dDist4 = 0.0;
    int m_iAngle5 = 0;
    double m_dDist5 = 0.0;
    int m_iAngle6 = 0;
    double m_dDist6 = 0.0;
    CString m_strUnitBelow, m_strUnitAbove;
    BOOL m_bDynamic = FALSE;
    KorChildFrm* m_pFrame; // not owned; null: a dialog without a frame
    double m_dScale;
    int m_iQuantH, m_iConvH, m_iQuantV, m_iConvV;

    // Reads the planes of frame with a new scale and quantities; the
    // controls follow when the window exists.
    void SetParent(KorChildFrm* frame, double scale, int quantH, int convH, int quantV,
                   unsigned convV);
    // Rescales the shown levels; the frame's planes stay where they are.
    void SetStressScale(double newScale);
    // Writes the dialog's values into the frame and repaints it.
    void UpdateParent();

    virtual void ReInit(double scale);
    // Makes the modeless window, child of the frame.
    virtual BOOL Create();

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    void OnChange();
    void OnChangeEdit();
    void OnApply();
    void OnShowWindow(BOOL bShow, UINT nStatus);
    DECLARE_MESSAGE_MAP()

private:
    // Reads the frame's planes into the members with the current scale.
    void ReadFrame();
    // Members to controls when the window exists.
    void Refresh();
    // Runs fn with dynamic applying held off, so that the EN_CHANGE its
    // exchange fires writes nothing into the frame.
    template <class Fn> void Quietly(Fn fn);
    int m_nQuiet = 0;
    // Controls to members and Apply disabled; false when a value is
    // refused.
    bool TakeControls();
    // Both level labels: the level unit with "^2" as the character 0xB2.
    void ReadUnitLabel();
    double LevelFactor() const;
    double DistanceFactor() const;
};
