#include "platform/ui/core/dlgtemplate.h"

#include <stdexcept>

#include "platform/afx/numconv.h"
#include "platform/ui/core/resources.h"

bool DialogControl::operator==(const DialogControl& o) const
{
    return nID == o.nID && kind == o.kind && strText == o.strText && rect == o.rect &&
           dwStyle == o.dwStyle && nBitmapID == o.nBitmapID && items == o.items &&
           bOverlaps == o.bOverlaps;
}

DialogTemplate& DialogTemplate::Add(const DialogControl& control)
{
    controls.push_back(control);
    return *this;
}

DialogTemplate& DialogTemplate::Add(const std::vector<DialogControl>& more)
{
    controls.insert(controls.end(), more.begin(), more.end());
    return *this;
}

DialogControl AfxDialogControl(int nID, AfxCtl kind, LPCTSTR lpszText, const CRect& rect,
                               DWORD dwStyle)
{
    DialogControl c;
    c.nID = nID;
    c.kind = kind;
    c.strText = lpszText;
    c.rect = rect;
    c.dwStyle = dwStyle;
    return c;
}

std::vector<DialogControl> AfxEditRows(const CRect& rect, LPCTSTR lpszCaption,
                                       std::initializer_list<AfxEditRow> rows,
                                       const AfxRowLayout& layout)
{
    std::vector<DialogControl> out{
        AfxDialogControl(IDC_STATIC, AfxCtl::groupBox, lpszCaption, rect, WS_VISIBLE)};
    int y = rect.top + 12;
    const int xLabel = rect.left + 7;
    const int xEdit = xLabel + layout.nLabelWidth + 4;
    const int xUnit = xEdit + layout.nEditWidth + 4;
    for (const AfxEditRow& row : rows) {
        out.push_back(AfxDialogControl(IDC_STATIC, AfxCtl::staticText, row.lpszLabel,
                                       CRect(xLabel, y + 2, xLabel + layout.nLabelWidth, y + 10),
                                       WS_VISIBLE));
        out.push_back(AfxDialogControl(
            row.nEditID, AfxCtl::edit, "", CRect(xEdit, y, xEdit + layout.nEditWidth, y + 12),
            WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | row.dwEditStyle));
        if (row.lpszUnit)
            out.push_back(AfxDialogControl(IDC_STATIC, AfxCtl::staticText, row.lpszUnit,
                                           CRect(xUnit, y + 2, xUnit + layout.nUnitWidth, y + 10),
                                           WS_VISIBLE));
        y += layout.nRowHeight;
    }
    return out;
}

std::vector<DialogControl> AfxRadioColumn(CPoint topLeft, int nWidth,
                                          std::initializer_list<std::pair<int, LPCTSTR>> radios)
{
    std::vector<DialogControl> out;
    int y = topLeft.y;
    for (const auto& [id, text] : radios) {
        const DWORD group = out.empty() ? WS_GROUP | WS_TABSTOP : 0;
        out.push_back(AfxDialogControl(id, AfxCtl::radio, text,
                                       CRect(topLeft.x, y, topLeft.x + nWidth, y + 10),
                                       WS_VISIBLE | group));
        y += 12;
    }
    return out;
}

std::vector<DialogControl> AfxButtonRow(int nRight, int nTop,
                                        std::initializer_list<std::pair<int, LPCTSTR>> buttons)
{
    std::vector<DialogControl> out;
    int x = nRight - static_cast<int>(buttons.size()) * 54 + 4;
    for (const auto& [id, text] : buttons) {
        out.push_back(AfxDialogControl(id, id == IDOK ? AfxCtl::defPush : AfxCtl::push, text,
                                       CRect(x, nTop, x + 50, nTop + 14), WS_VISIBLE | WS_TABSTOP));
        x += 54;
    }
    return out;
}

std::vector<DialogControl> AfxPictureBeside(const CRect& pictureRect, UINT nBitmapID, int nTextID,
                                            LPCTSTR lpszText, int nTextWidth)
{
    DialogControl picture =
        AfxDialogControl(IDC_STATIC, AfxCtl::picture, "", pictureRect, WS_VISIBLE);
    picture.nBitmapID = nBitmapID;
    const int x = pictureRect.right + 4;
    return {picture, AfxDialogControl(nTextID, AfxCtl::staticText, lpszText,
                                      CRect(x, pictureRect.top, x + nTextWidth, pictureRect.bottom),
                                      WS_VISIBLE)};
}

DWORD AfxControlKindStyle(AfxCtl kind)
{
    switch (kind) {
    case AfxCtl::multiEdit:
        return ES_MULTILINE | ES_AUTOVSCROLL;
    case AfxCtl::push:
    case AfxCtl::pictureButton:
        return BS_PUSHBUTTON;
    case AfxCtl::defPush:
        return BS_DEFPUSHBUTTON;
    case AfxCtl::check:
        return BS_AUTOCHECKBOX;
    case AfxCtl::auto3State:
        return BS_AUTO3STATE;
    case AfxCtl::radio:
        return BS_AUTORADIOBUTTON;
    case AfxCtl::groupBox:
        return BS_GROUPBOX;
    case AfxCtl::picture:
        return SS_BITMAP;
    case AfxCtl::comboList:
        return CBS_DROPDOWNLIST;
    case AfxCtl::comboDrop:
        return CBS_DROPDOWN;
    case AfxCtl::spin:
        return UDS_SETBUDDYINT;
    default:
        return 0;
    }
}

std::unique_ptr<CWnd> AfxMakeControl(AfxCtl kind)
{
    switch (kind) {
    case AfxCtl::edit:
    case AfxCtl::multiEdit:
        return std::make_unique<CEdit>();
    case AfxCtl::push:
    case AfxCtl::defPush:
    case AfxCtl::check:
    case AfxCtl::auto3State:
    case AfxCtl::radio:
    case AfxCtl::groupBox:
        return std::make_unique<CButton>();
    case AfxCtl::staticText:
    case AfxCtl::picture:
        return std::make_unique<CStatic>();
    case AfxCtl::comboList:
    case AfxCtl::comboDrop:
        return std::make_unique<CComboBox>();
    case AfxCtl::listBox:
        return std::make_unique<CListBox>();
    case AfxCtl::spin:
        return std::make_unique<CSpinButtonCtrl>();
    case AfxCtl::tab:
        return std::make_unique<CTabCtrl>();
    case AfxCtl::colorButton:
        return std::make_unique<CColorButton>();
    case AfxCtl::listEdit:
        return std::make_unique<CListEditCtrl>();
    case AfxCtl::pictureButton:
        return std::make_unique<CPictureButton>();
    case AfxCtl::scrollBar:
        return std::make_unique<CScrollBar>();
    }
    return std::make_unique<CWnd>();
}

void AfxCreateDlgControls(CWnd& parent, const DialogTemplate& tmpl)
{
    HWND hPrevious = nullptr;
    for (const DialogControl& c : tmpl.controls) {
        std::unique_ptr<CWnd> control = AfxMakeControl(c.kind);
        CRect rect = c.rect;
        parent.MapDialogRect(rect);
        control->Create(nullptr, c.strText, AfxControlKindStyle(c.kind) | WS_CHILD | c.dwStyle,
                        rect, &parent, static_cast<UINT>(c.nID));
        CWndState& state = *control->GetState();
        for (const CString& item : c.items)
            CListCore::Add(state, item);
        if (c.nBitmapID) {
            state.nBitmapID = c.nBitmapID;
            state.Changed(PEER_BITMAP);
        }
        if (c.kind == AfxCtl::spin && (c.dwStyle & UDS_AUTOBUDDY))
            state.hWndBuddy = hPrevious;
        hPrevious = control->GetSafeHwnd();
        parent.AdoptControl(std::move(control));
    }
}

BOOL AfxCreateFromTemplate(CWnd& wnd, UINT nIDTemplate, CWnd* pParent)
{
    const DialogTemplate* tmpl = AfxFindResource<DialogTemplate>(nIDTemplate);
    if (!tmpl)
        throw std::logic_error(AfxFormat("no module registers dialog template %u", nIDTemplate));
    return AfxCreateFromTemplate(wnd, *tmpl, pParent);
}

BOOL AfxCreateFromTemplate(CWnd& wnd, const DialogTemplate& tmpl, CWnd* pParent)
{
    CRect rect(0, 0, tmpl.size.cx, tmpl.size.cy);
    wnd.MapDialogRect(rect);
    if (!wnd.Create(nullptr, tmpl.strCaption, WS_POPUP | WS_VISIBLE, rect, pParent, 0))
        return FALSE;
    AfxCreateDlgControls(wnd, tmpl);
    return TRUE;
}
