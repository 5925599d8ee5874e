// Dialog templates: one DialogTemplate constant per resource id, registered
// in its module's resource registry. A template lists its controls in order;
// that order is also the tab order and the order of radio groups. Sizes and
// rectangles are in dialog units (see AfxGetDialogBaseUnits). A control
// starts hidden unless its style holds WS_VISIBLE (the default), and
// disabled with WS_DISABLED.
//
// The builder helpers lay out the common rows (labelled edits with units in
// a group box, a radio column, a button row, a picture beside its text) and
// give the same plain controls a hand-written table would.
#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/ui/core/controls.h"

enum class AfxCtl : BYTE {
    edit,
    multiEdit,
    push,
    defPush,
    check,
    auto3State,
    radio,
    groupBox,
    staticText,
    picture,
    comboList,
    comboDrop,
    listBox,
    spin,
    tab,
    colorButton,
    listEdit,
    pictureButton,
    scrollBar,
};

struct DialogControl {
    int nID = IDC_STATIC;
    AfxCtl kind = AfxCtl::staticText;
    CString strText;
    CRect rect;                 // dialog units
    DWORD dwStyle = WS_VISIBLE; // WS_*, ES_*, LBS_*, CBS_*, UDS_*, SS_* flags
    UINT nBitmapID = 0;         // pictures and picture buttons
    std::vector<CString> items; // initial items of lists, combos and tabs
    bool bOverlaps = false;     // placed over another control on purpose

    bool operator==(const DialogControl& o) const;
};

struct DialogTemplate {
    UINT nID = 0;
    CString strCaption;
    CSize size; // dialog units
    CString strFont = "Liberation Sans";
    int nPointSize = 8;
    std::vector<DialogControl> controls;

    DialogTemplate& Add(const DialogControl& control);
    DialogTemplate& Add(const std::vector<DialogControl>& controls);
};

// ---- Builders ------------------------------------------------------------------

// One control row of a table.
DialogControl AfxDialogControl(int nID, AfxCtl kind, LPCTSTR lpszText, const CRect& rect,
                               DWORD dwStyle = WS_VISIBLE);

struct AfxEditRow {
    LPCTSTR lpszLabel;
    int nEditID;
    LPCTSTR lpszUnit = nullptr; // none when null
    DWORD dwEditStyle = 0;
};

struct AfxRowLayout {
    int nLabelWidth = 70;
    int nEditWidth = 40;
    int nUnitWidth = 24;
    int nRowHeight = 16;
};

// A group box (id IDC_STATIC) at rect holding one row per entry: a label,
// an edit and its unit, from 12 units below the top, nRowHeight apart.
std::vector<DialogControl> AfxEditRows(const CRect& rect, LPCTSTR lpszCaption,
                                       std::initializer_list<AfxEditRow> rows,
                                       const AfxRowLayout& layout = {});
// Radios one under another, 12 units apart; the first starts the group.
std::vector<DialogControl> AfxRadioColumn(CPoint topLeft, int nWidth,
                                          std::initializer_list<std::pair<int, LPCTSTR>> radios);
// Push buttons 50 x 14 ending at right, 4 units apart; IDOK is the default.
std::vector<DialogControl> AfxButtonRow(int nRight, int nTop,
                                        std::initializer_list<std::pair<int, LPCTSTR>> buttons);
// A picture with a text to its right (4 units apart, as high as the picture).
std::vector<DialogControl> AfxPictureBeside(const CRect& pictureRect, UINT nBitmapID, int nTextID,
                                            LPCTSTR lpszText, int nTextWidth);

// The style a control of this kind is created with (before its own flags).
DWORD AfxControlKindStyle(AfxCtl kind);
// A new, not yet created object of the class for this kind.
std::unique_ptr<CWnd> AfxMakeControl(AfxCtl kind);

// Creates the template's controls in pParent (which owns them), in order.
void AfxCreateDlgControls(CWnd& parent, const DialogTemplate& tmpl);
// Creates wnd from the registered template nIDTemplate: caption, size and
// controls. Throws std::logic_error when no module registers the template.
BOOL AfxCreateFromTemplate(CWnd& wnd, UINT nIDTemplate, CWnd* pParent);
// The same from the template itself (one that another module's template of
// the same id hides from the lookup chain).
BOOL AfxCreateFromTemplate(CWnd& wnd, const DialogTemplate& tmpl, CWnd* pParent);
