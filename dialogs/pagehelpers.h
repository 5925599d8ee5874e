// Small helpers shared by the pages of this library.
#pragma once

#include <initializer_list>

#include "platform/ui/core/afxui.h"
#include "sections/beams/beamseg.h"

namespace pavesta
{

// The index in ids of the checked radio of the window, or -1 when none is
// checked: a radio group's value read without exchanging the other fields.
int checkedRadio(const CDialog& dialog, std::initializer_list<int> ids);

// Makes caption the page's tab title when it is neither null nor empty;
// title keeps the text alive for the page's m_psp.
void useTabTitle(CPropertyPage& page, CString& title, LPCTSTR caption);

// The combo box of the window with this id.
inline CComboBox& ComboOf(CWnd& wnd, int nID)
{
    return *static_cast<CComboBox*>(wnd.GetDlgItem(nID));
}

// The pointer a combo item carries as its data; null for no item (-1).
template <class T> T* ItemPointer(CComboBox& combo, int index)
{
    return index < 0 ? nullptr : reinterpret_cast<T*>(combo.GetItemData(index));
}

// The object as a beam segment, or null when it is none.
inline CBeamSeg* AsBeamSegment(CObject* pObject)
{
    return pObject && pObject->IsKindOf(RUNTIME_CLASS(CBeamSeg)) ? static_cast<CBeamSeg*>(pObject)
                                                                 : nullptr;
}

// Runs f on every beam segment of the list; other objects are left alone.
template <class F> void ForBeamSegments(CObList& list, F f)
{
    for (POSITION pos = list.GetHeadPosition(); pos;)
        if (CBeamSeg* pSeg = AsBeamSegment(list.GetNext(pos)))
            f(*pSeg);
}

// What the beam segments of a list share of get: value becomes the first
// segment's; the result is 0 without segments, 1 when all agree and 2 when
// two differ.
enum SegmentsAgree { noSegments = 0, allAgree = 1, segmentsDiffer = 2 };
template <class T, class Get> SegmentsAgree SharedBySegments(CObList& list, Get get, T& value)
{
    SegmentsAgree result = noSegments;
    for (POSITION pos = list.GetHeadPosition(); pos && result != segmentsDiffer;) {
        CBeamSeg* pSeg = AsBeamSegment(list.GetNext(pos));
        if (!pSeg)
            continue;
        if (result == noSegments) {
            value = get(*pSeg);
            result = allAgree;
        } else if (get(*pSeg) != value) {
            result = segmentsDiffer;
        }
    }
    return result;
}

} // namespace pavesta
