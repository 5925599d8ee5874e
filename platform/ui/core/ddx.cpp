#include "platform/ui/core/ddx.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "platform/afx/message.h"
#include "platform/afx/numconv.h"
#include "platform/ui/core/dialog.h"
#include "platform/ui/core/input.h"
#include "platform/ui/core/resources.h"

namespace
{

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The text without blanks at either end.
std::string Trimmed(const CString& text)
{
    std::string s(text.GetString(), static_cast<std::size_t>(text.GetLength()));
    std::size_t first = 0, last = s.size();
    while (first < last && IsBlank(s[first]))
        ++first;
    while (last > first && IsBlank(s[last - 1]))
        --last;
    return s.substr(first, last - first);
}

std::size_t Digits(const std::string& s, std::size_t at)
{
    std::size_t end = at;
    while (end < s.size() && std::isdigit(static_cast<unsigned char>(s[end])))
        ++end;
    return end - at;
}

// Shows the standard text nIDPrompt (formatted with the arguments) and
// fails the exchange.
template <class... Args> void FailWith(CDataExchange* pDX, UINT nIDPrompt, Args... args)
{
    CString format;
    AfxLoadString(nIDPrompt, format);
    CString text = format;
    if constexpr (sizeof...(Args) > 0)
        text = CString(AfxFormat(format.GetString(), args...).c_str());
    pDX->Refuse(text);
}

CString ControlText(CWnd* pControl)
{
    CString text;
    pControl->GetWindowText(text);
    return text;
}

// The label text as a field's name: without its "&" marks, line breaks,
// blanks at either end and a closing ":".
std::string LabelName(const CString& text)
{
    std::string name;
    const std::string s(text.GetString(), static_cast<std::size_t>(text.GetLength()));
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size() && s[i + 1] == '&')
            name += s[++i];
        else if (s[i] == '\r' || s[i] == '\n' || s[i] == '\t')
            name += ' ';
        else if (s[i] != '&')
            name += s[i];
    }
    name = Trimmed(CString(name.c_str()));
    while (!name.empty() && (name.back() == ':' || name.back() == '=' || IsBlank(name.back())))
        name.pop_back();
    return name;
}

// The field's refusal of a text that is no number: named by its label when
// it has one (the caller's name first), else the standard text.
void RefuseNoNumber(CDataExchange* pDX, CWnd* control, LPCTSTR field, UINT nIDPrompt)
{
    const CString name = field ? CString(field) : AfxFieldLabel(control);
    if (name.IsEmpty())
        return FailWith(pDX, nIDPrompt);
    pDX->Refuse(nIDPrompt == AFX_IDP_PARSE_INT ? AfxIntegerMessage(name) : AfxNumberMessage(name));
}

template <class T>
void TextInteger(CDataExchange* pDX, int nIDC, T& value, long long minVal, long long maxVal,
                 const char* format, LPCTSTR field = nullptr)
{
    if (!pDX->Active())
        return;
    CWnd* control = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long parsed = 0;
        if (!AfxParseInt(ControlText(control), minVal, maxVal, parsed))
            return RefuseNoNumber(pDX, control, field, AFX_IDP_PARSE_INT);
        pDX->RememberMember(value);
        value = static_cast<T>(parsed);
    } else {
        control->SetWindowText(CString(AfxFormat(format, value).c_str()));
    }
}

// The shortest text that reads back as the same value of the member's type,
// so an untouched field gives its member back bit for bit.
// "%.15g" (the usual look: "4200000", "0.1") when that reads back, else 16
// or 17 digits.
std::string ShortestText(double value)
{
    std::string text = AfxFormat("%.15g", value);
    for (int digits = 16; digits <= 17 && AfxAtoF(text.c_str()) != value; ++digits)
        text = AfxFormat("%.*g", digits, value);
    return text;
}

std::string ShortestText(float value)
{
    std::string text = AfxFormat("%g", static_cast<double>(value));
    for (int digits = 7; digits <= 9 && static_cast<float>(AfxAtoF(text.c_str())) != value;
         ++digits)
        text = AfxFormat("%.*g", digits, static_cast<double>(value));
    return text;
}

// field: the name a refusal gives (null: the standard text).
template <class T>
void TextReal(CDataExchange* pDX, int nIDC, T& value, double maxMagnitude, LPCTSTR field = nullptr)
{
    if (!pDX->Active())
        return;
    CWnd* control = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        double parsed = 0;
        if (!AfxParseReal(ControlText(control), parsed) || std::fabs(parsed) > maxMagnitude)
            return RefuseNoNumber(pDX, control, field, AFX_IDP_PARSE_REAL);
        pDX->RememberMember(value);
        value = static_cast<T>(parsed);
    } else {
        control->SetWindowText(CString(ShortestText(value).c_str()));
    }
}

// The radios of the group that starts at first: first and its siblings up to
// the next WS_GROUP control, radios only.
std::vector<CWndState*> RadioGroup(const CWndState& first)
{
    std::vector<CWndState*> radios;
    const std::vector<CWndState*> siblings = AfxGetChildStates(first.hWndParent);
    bool inGroup = false;
    for (CWndState* s : siblings) {
        if (s == &first)
            inGroup = true;
        else if (inGroup && (s->dwStyle & WS_GROUP))
            break;
        if (inGroup && AfxIsRadio(*s))
            radios.push_back(s);
    }
    return radios;
}

// The checks DDV shares: only when saving, only after a successful DDX.
bool Validating(CDataExchange* pDX)
{
    return pDX->Active() && pDX->m_bSaveAndValidate && pDX->LastTaken();
}

// An integer range check; the bounds are shown whole whatever their type
// (the text's "%d" is widened to the 64-bit conversion).
template <class T> void IntegerRange(CDataExchange* pDX, T value, T minVal, T maxVal)
{
    if (!Validating(pDX) || (value >= minVal && value <= maxVal))
        return;
    CString format;
    AfxLoadString(AFX_IDP_PARSE_INT_RANGE, format);
    std::string wide(format.GetString());
    for (std::size_t at = wide.find("%d"); at != std::string::npos; at = wide.find("%d", at + 4))
        wide.replace(at, 2, "%lld");
    pDX->Refuse(CString(AfxFormat(wide.c_str(), static_cast<long long>(minVal),
                                  static_cast<long long>(maxVal))
                            .c_str()));
}

} // namespace

bool AfxParseInt(const CString& text, long long minVal, long long maxVal, long long& value)
{
    const std::string s = Trimmed(text);
    std::size_t at = 0;
    bool negative = false;
    if (at < s.size() && (s[at] == '+' || s[at] == '-'))
        negative = s[at++] == '-';
    const std::size_t n = Digits(s, at);
    if (n == 0 || at + n != s.size())
        return false;
    // Beyond 19 digits every value is out of any range we exchange.
    if (n > 18 && s.find_first_not_of('0', at) != std::string::npos &&
        s.size() - s.find_first_not_of('0', at) > 18)
        return false;
    long long magnitude = 0;
    for (std::size_t i = at; i < s.size(); ++i)
        magnitude = magnitude * 10 + (s[i] - '0');
    const long long v = negative ? -magnitude : magnitude;
    if (v < minVal || v > maxVal)
        return false;
    value = v;
    return true;
}

bool AfxParseReal(const CString& text, double& value)
{
    // The plain decimal form only ("[sign]digits[.digits][e[sign]digits]"):
    // the C library's reader would also take hexadecimal, "inf" and "nan".
    const std::string s = Trimmed(text);
    std::size_t at = 0;
    if (at < s.size() && (s[at] == '+' || s[at] == '-'))
        ++at;
    std::size_t mantissa = Digits(s, at);
    at += mantissa;
    if (at < s.size() && s[at] == '.') {
        ++at;
        const std::size_t fraction = Digits(s, at);
        mantissa += fraction;
        at += fraction;
    }
    if (mantissa == 0)
        return false;
    if (at < s.size() && (s[at] == 'e' || s[at] == 'E')) {
        ++at;
        if (at < s.size() && (s[at] == '+' || s[at] == '-'))
            ++at;
        const std::size_t exponent = Digits(s, at);
        if (exponent == 0)
            return false;
        at += exponent;
    }
    if (at != s.size())
        return false;
    const double v = AfxStrToD(s.c_str());
    if (!std::isfinite(v))
        return false;
    value = v;
    return true;
}

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

CWnd* CDataExchange::PrepareCtrl(int nIDC)
{
    CWnd* control = m_pDlgWnd->GetDlgItem(nIDC);
    if (!control)
        throw std::logic_error(AfxFormat("data exchange: the dialog has no control %d", nIDC));
    m_hWndLastControl = control->GetSafeHwnd();
    m_bEditLastControl = FALSE;
    m_bLastRefused = false;
    m_undo = nullptr;
    return control;
}

CWnd* CDataExchange::PrepareEditCtrl(int nIDC)
{
    CWnd* control = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail()
{
    m_bFailed = true;
    m_bLastRefused = true;
    if (m_undo)
        m_undo(); // a refused range: the member keeps what it had
    m_undo = nullptr;
    if (m_bQuiet)
        return;
    if (CWndState* state = AfxGetWndState(m_hWndLastControl))
        AfxGotoControl(state->pOwner, m_bEditLastControl != FALSE);
}

void CDataExchange::Refuse(const CString& text)
{
    if (!m_bQuiet)
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    Fail();
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    TextInteger(pDX, nIDC, value, INT_MIN, INT_MAX, "%d");
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    TextInteger(pDX, nIDC, value, 0, UINT_MAX, "%u");
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    TextInteger(pDX, nIDC, value, INT_MIN, INT_MAX, "%ld");
}

void DDX_Text(CDataExchange* pDX, int nIDC, float& value)
{
    TextReal(pDX, nIDC, value, FLT_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    TextReal(pDX, nIDC, value, DBL_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    if (!pDX->Active())
        return;
    CWnd* control = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        pDX->RememberMember(value);
        value = ControlText(control);
    } else {
        control->SetWindowText(value);
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    if (!pDX->Active())
        return;
    CWndState* state = pDX->PrepareCtrl(nIDC)->GetState();
    if (pDX->m_bSaveAndValidate) {
        value = state->nCheck;
    } else {
        state->nCheck = value < 0 || value > 2 ? 0 : value;
        state->Changed(PEER_CHECK);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    if (!pDX->Active())
        return;
    const CWndState* first = pDX->PrepareCtrl(nIDC)->GetState();
    const std::vector<CWndState*> radios = RadioGroup(*first);
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (std::size_t i = 0; i < radios.size(); ++i)
            if (radios[i]->nCheck != 0) {
                value = static_cast<int>(i);
                break;
            }
    } else {
        for (std::size_t i = 0; i < radios.size(); ++i) {
            radios[i]->nCheck = static_cast<int>(i) == value ? 1 : 0;
            radios[i]->Changed(PEER_CHECK);
        }
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    if (!pDX->Active())
        return;
    CWndState* state = pDX->PrepareCtrl(nIDC)->GetState();
    if (pDX->m_bSaveAndValidate)
        index = state->nCurSel;
    else
        CListCore::SetCurSel(*state, index);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    DDX_CBIndex(pDX, nIDC, index);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    if (!pDX->Active())
        return;
    CWnd* control = pDX->PrepareCtrl(nIDC);
    CWndState* state = control->GetState();
    if (pDX->m_bSaveAndValidate) {
        value = ControlText(control);
        return;
    }
    const int found = CListCore::Find(*state, -1, value, false);
    if (found >= 0)
        CListCore::SetCurSel(*state, found);
    else if ((state->dwStyle & 0x3) != CBS_DROPDOWNLIST)
        control->SetWindowText(value);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.GetSafeHwnd())
        return;
    rControl.SubclassDlgItem(static_cast<UINT>(nIDC), pDX->m_pDlgWnd);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    IntegerRange(pDX, value, minVal, maxVal);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    IntegerRange(pDX, value, minVal, maxVal);
}

void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    IntegerRange(pDX, value, minVal, maxVal);
}

void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal)
{
    if (Validating(pDX) && (value < minVal || value > maxVal))
        FailWith(pDX, AFX_IDP_PARSE_REAL_RANGE, minVal, maxVal);
}

void DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal)
{
    if (Validating(pDX) && (value < minVal || value > maxVal))
        FailWith(pDX, AFX_IDP_PARSE_REAL_RANGE, static_cast<double>(minVal),
                 static_cast<double>(maxVal));
}

void DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars)
{
    if (Validating(pDX) && value.GetLength() > nChars)
        FailWith(pDX, AFX_IDP_PARSE_STRING_SIZE, nChars);
}

bool AfxRange::Holds(double value) const
{
    return std::isfinite(value) && (loOpen ? value > lo : value >= lo) &&
           (hiOpen ? value < hi : value <= hi);
}

CString AfxRange::Text(LPCTSTR unit) const
{
    const std::string u = unit && *unit ? std::string(" ") + unit : std::string();
    auto bound = [&u](double v) { return AfxFormatG(v) + u; };
    const bool hasLo = std::isfinite(lo), hasHi = std::isfinite(hi);
    std::string text;
    if (hasLo && hasHi && !loOpen && !hiOpen)
        text = "between " + bound(lo) + " and " + bound(hi);
    else if (hasLo && hasHi)
        text = (loOpen ? "> " : ">= ") + bound(lo) + (hiOpen ? " and < " : " and <= ") + bound(hi);
    else if (hasLo)
        text = (loOpen ? "> " : ">= ") + bound(lo);
    else if (hasHi)
        text = (hiOpen ? "< " : "<= ") + bound(hi);
    else
        text = "that is a finite number";
    return CString(text.c_str());
}

CString AfxRangeMessage(double value, const AfxRange& range, LPCTSTR field, LPCTSTR unit)
{
    const std::string u = unit && *unit ? std::string(" ") + unit : std::string();
    return CString(AfxFormat("%s = %s%s is out of range.\nEnter a value %s.", field,
                             AfxFormatG(value).c_str(), u.c_str(), range.Text(unit).GetString())
                       .c_str());
}

void DDV_Range(CDataExchange* pDX, double value, const AfxRange& range, LPCTSTR field,
               LPCTSTR unit)
{
    if (Validating(pDX) && !range.Holds(value))
        pDX->Refuse(AfxRangeMessage(value, range, field, unit));
}

CString AfxNumberMessage(LPCTSTR field)
{
    return CString(AfxFormat("Please enter a number for %s.", field).c_str());
}

CString AfxIntegerMessage(LPCTSTR field)
{
    return CString(AfxFormat("Please enter an integer for %s.", field).c_str());
}

CString AfxFieldLabel(const CWnd* pControl)
{
    const CWndState* field = pControl ? AfxGetWndState(pControl->GetSafeHwnd()) : nullptr;
    if (!field || !field->hWndParent)
        return CString();
    const CRect& r = field->rect;
    const int near = std::max(4, static_cast<int>(r.Height())); // pixels between label and field
    const auto isCheck = [](const CWndState& s) {
        const DWORD type = s.dwStyle & BS_TYPEMASK;
        return s.kind == AfxWndKind::button && type != BS_GROUPBOX && type != BS_PUSHBUTTON &&
               type != BS_DEFPUSHBUTTON;
    };
    // left: the nearest text before the field on its row (a static or a
    // check box that heads the row); header: the nearest static over the
    // field's column; above: a header just above the field.
    const CWndState *left = nullptr, *header = nullptr, *group = nullptr;
    std::vector<const CWndState*> rowInputs;
    for (const CWndState* s : AfxGetChildStates(field->hWndParent)) {
        if (s == field || (field->bVisible && !s->bVisible))
            continue;
        const CRect& o = s->rect;
        const bool sameRow = o.top < r.bottom && o.bottom > r.top && o.right <= r.left + 2;
        const bool sameColumn = o.left < r.right && o.right > r.left && o.bottom <= r.top + 2;
        const bool named = !LabelName(s->strText).empty();
        if (sameRow && AfxTakesFocus(*s) && !isCheck(*s))
            rowInputs.push_back(s);
        if (named && sameRow && (s->kind == AfxWndKind::staticText || isCheck(*s))) {
            if (!left || o.right > left->rect.right)
                left = s;
        } else if (named && sameColumn && s->kind == AfxWndKind::staticText) {
            if (!header || o.bottom > header->rect.bottom)
                header = s;
        } else if (named && s->kind == AfxWndKind::button &&
                   (s->dwStyle & BS_TYPEMASK) == BS_GROUPBOX && o.left <= r.left &&
                   o.right >= r.right && o.top <= r.top && o.bottom >= r.bottom) {
            if (!group || o.Width() * o.Height() < group->rect.Width() * group->rect.Height())
                group = s;
        }
    }
    std::string name;
    if (left) {
        name = LabelName(left->strText);
        // A row of a table: its head names the row, the column's head the field.
        const bool inputBetween = std::any_of(rowInputs.begin(), rowInputs.end(), [&](const CWndState* s) {
            return s->rect.left >= left->rect.right;
        });
        if (header && (isCheck(*left) || inputBetween))
            name += " " + LabelName(header->strText);
    } else if (header && r.top - header->rect.bottom <= near) {
        name = LabelName(header->strText);
    } else if (group) {
        name = LabelName(group->strText);
    }
    return CString(name.c_str());
}

void DDX_Number(CDataExchange* pDX, int nIDC, double& value, const AfxRange& range, LPCTSTR field,
                LPCTSTR unit)
{
    TextReal(pDX, nIDC, value, DBL_MAX, field);
    DDV_Range(pDX, value, range, field, unit);
}

void DDX_Number(CDataExchange* pDX, int nIDC, UINT& value, UINT minVal, UINT maxVal, LPCTSTR field)
{
    TextInteger(pDX, nIDC, value, 0, UINT_MAX, "%u", field);
    DDV_MinMaxUInt(pDX, value, minVal, maxVal);
}

double AfxDisplayValue(double stored, double factor)
{
    if (factor == 1.0)
        return stored;
    return AfxAtoF(AfxFormat("%.15g", stored * factor).c_str());
}
