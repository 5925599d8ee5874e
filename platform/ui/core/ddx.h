// Dialog data exchange: DDX functions move a member to its control
// (loading) or read and check the control into the member (saving); DDV
// functions check a saved value against its bounds.
//
// Numbers are read and written without the process locale: "." is the
// decimal point whatever LC_NUMERIC says. Blanks around a number are
// allowed; anything else after it, an empty text or a value outside the
// member's type is refused. Numbers are written in the shortest text that
// reads back as the same double or float, so an untouched field changes
// nothing.
//
// A refused value shows the standard text ("Please enter an integer.", ...),
// for a text that is no number with the field's label ("Please enter a
// number for Young's modulus."; see AfxFieldLabel), through the message
// service, gives the failing control the focus with its
// whole text selected and marks the exchange failed. The failure is a flag,
// not an exception: every DDX and DDV after it does nothing, so members
// before the failing control are written and later ones are not.
#pragma once

#include <cmath>
#include <functional>

#include "platform/ui/core/controls.h"

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate; // TRUE: controls to members
    CWnd* m_pDlgWnd;         // the dialog (not owned)
    // A refusal shows no message and leaves the focus where it is (see
    // CQuietExchange); the exchange fails all the same, but goes on with the
    // next controls: a quiet exchange takes every valid value and no invalid
    // one. In any exchange a value its range refuses is put back in its
    // member, so a refused value never reaches the caller's data.
    bool m_bQuiet = false;

    // The control nIDC, remembered as the one a later failure points at.
    // Throws std::logic_error when the dialog has no such control.
    CWnd* PrepareCtrl(int nIDC);
    CWnd* PrepareEditCtrl(int nIDC);
    // Marks the exchange failed and gives the last prepared control the
    // focus (an edit with its whole text selected), unless quiet.
    void Fail();
    // Shows text as the refusal of the last prepared control (nothing when
    // quiet), then fails the exchange.
    void Refuse(const CString& text);
    // True after a failure: what follows does nothing (quiet: goes on).
    bool HasFailed() const { return m_bFailed; }
    // True while DDX should run: no failure yet, or a quiet exchange.
    bool Active() const { return !m_bFailed || m_bQuiet; }
    // True while the last control's DDV should run: its DDX took a value.
    bool LastTaken() const { return !m_bLastRefused; }
    // How to put the last saved member back when its range refuses it.
    template <class T> void RememberMember(T& member)
    {
        m_undo = [&member, old = member] { member = old; };
    }

    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;

private:
    bool m_bFailed = false;
    bool m_bLastRefused = false;
    std::function<void()> m_undo; // the last saved member's old value
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

// The value a field shows for a stored value in a display unit: stored x
// factor rounded to 15 significant digits, so that a conversion's last-bit
// noise does not show ("7850", not "7849.999999999999"); stored itself for a
// factor of 1. A page that shows it keeps the stored value while the field
// still holds this value (untouched), so nothing changes bit for bit.
double AfxDisplayValue(double stored, double factor);

// The largest magnitude a physical input may have in its display unit: no
// field of the program takes a value beyond it, so that a typing slip such
// as 1e300 is refused rather than stored.
constexpr double kAfxLargestInput = 1e15;

// A field's physical range. Each bound is closed (the value may equal it)
// or open; a bound left out is the largest input magnitude, so every range
// is finite.
struct AfxRange {
    double lo = -kAfxLargestInput, hi = kAfxLargestInput;
    bool loOpen = false, hiOpen = false;

    bool Holds(double value) const;
    // "> 0 N/mm² and <= 1e+15 N/mm²", ">= 0 and < 0.5", "between 1 and
    // 100", with the unit after each bound when one is given.
    CString Text(LPCTSTR unit) const;

    static AfxRange Positive() { return {0.0, kAfxLargestInput, true, false}; }
    static AfxRange AtLeast(double lo) { return {lo, kAfxLargestInput, false, false}; }
    static AfxRange Between(double lo, double hi) { return {lo, hi, false, false}; }
    // lo <= value < hi.
    static AfxRange UpTo(double lo, double hi) { return {lo, hi, false, true}; }
    // Any value of either sign up to the largest input magnitude (loads,
    // coordinates).
    static AfxRange Signed() { return {-kAfxLargestInput, kAfxLargestInput, false, false}; }
};
// The range check of a saved value, told with the field's name, the value
// and the range in the display unit: "Young's modulus = -5 N/mm² is out of
// range. Enter a value > 0 N/mm²." Like the DDV_MinMax family it runs only
// when saving, after its DDX, and fails the exchange on the field.
void DDV_Range(CDataExchange* pDX, double value, const AfxRange& range, LPCTSTR field,
               LPCTSTR unit = "");
// The message DDV_Range shows.
CString AfxRangeMessage(double value, const AfxRange& range, LPCTSTR field, LPCTSTR unit);
// A physical number field: DDX_Text and DDV_Range in one, and a text that
// is no number is refused with a message that names the field ("Please
// enter a number for Thickness t0.").
void DDX_Number(CDataExchange* pDX, int nIDC, double& value, const AfxRange& range, LPCTSTR field,
                LPCTSTR unit = "");
// A whole-number field with a name: DDX_Text and DDV_MinMaxUInt in one, and
// a text that is no whole number is refused with the name ("Please enter an
// integer for Digits.").
void DDX_Number(CDataExchange* pDX, int nIDC, UINT& value, UINT minVal, UINT maxVal, LPCTSTR field);
// The message DDX_Number shows for a text that is no number.
CString AfxNumberMessage(LPCTSTR field);
// The same for a whole-number field ("Please enter an integer for Segments.").
CString AfxIntegerMessage(LPCTSTR field);
// The name of a field as the user reads it beside the field: its label (the
// static text to its left on its row, else the one just above it), else the
// group box around it; without "&" and a closing ":". Empty when none is
// found. Every number field (DDX_Text of a number, DDX_Number without a
// name) refuses a text that is no number with this name.
CString AfxFieldLabel(const CWnd* pControl);

// The parsers DDX uses, for callers that read numbers typed by the user:
// true with the value when text is a whole number of the type (blanks
// around it allowed).
bool AfxParseInt(const CString& text, long long minVal, long long maxVal, long long& value);
bool AfxParseReal(const CString& text, double& value);
