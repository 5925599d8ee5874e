// Dialog data exchange: DDX functions move a member to its control
// (loading) or read and check the control into the member (saving); DDV
// functions check a saved value against its bounds.
//
// Numbers are read and written without the process locale: "." is the
// decimal point whatever LC_NUMERIC says. Blanks around a number are
// allowed; anything else after it, an empty text or a value outside the
// member's type is refused. Doubles are written "%.15g", floats "%.6g".
//
// A refused value shows the standard text ("Please enter an integer.", ...)
// through the message service, gives the failing control the focus with its
// whole text selected and marks the exchange failed. The failure is a flag,
// not an exception: every DDX and DDV after it does nothing, so members
// before the failing control are written and later ones are not.
#pragma once

#include "platform/ui/core/controls.h"

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate; // TRUE: controls to members
    CWnd* m_pDlgWnd;         // the dialog (not owned)

    // The control nIDC, remembered as the one a later failure points at.
    // Throws std::logic_error when the dialog has no such control.
    CWnd* PrepareCtrl(int nIDC);
    CWnd* PrepareEditCtrl(int nIDC);
    // Marks the exchange failed and gives the last prepared control the
    // focus (an edit with its whole text selected).
    void Fail();
    // True after a failure: what follows does nothing.
    bool HasFailed() const { return m_bFailed; }
    // True while DDX should run: no failure yet.
    bool Active() const { return !m_bFailed; }

    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;

private:
    bool m_bFailed = false;
};

void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value); // 32-bit range
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// A check box: 0, 1 or 2.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// A radio group keyed by its first radio: the index of the checked radio,
// -1 when none is; writing -1 clears the group.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
// Reading takes the combo's edit text; writing selects the first item
// starting with value (ignoring case), else sets the edit text of an
// editable combo.
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
// Binds rControl to the control the first time (SubclassDlgItem).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Inclusive bounds, checked only when saving and only after their DDX.
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal);
void DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal);
void DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars);

// The parsers DDX uses, for callers that read numbers typed by the user:
// true with the value when text is a whole number of the type (blanks
// around it allowed).
bool AfxParseInt(const CString& text, long long minVal, long long maxVal, long long& value);
bool AfxParseReal(const CString& text, double& value);
