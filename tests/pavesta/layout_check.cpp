#include "tests/pavesta/layout_check.h"

#include <algorithm>

#include "platform/afx/numconv.h"

namespace pavesta_test
{
namespace
{

constexpr int kCharWidth = 4;  // dialog units across, per character
constexpr int kLineHeight = 8; // dialog units down, per line
constexpr int kBoxWidth = 12;  // the box of a check or radio and its gap

// The widest line of a text as shown ("&" marks a mnemonic), and its lines.
void Measure(const CString& text, int& widest, int& lines)
{
    widest = 0;
    lines = 1;
    int width = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        const char c = text[i];
        if (c == '\n') {
            widest = std::max(widest, width);
            width = 0;
            ++lines;
        } else if (c == '&' && i + 1 < text.GetLength() && text[i + 1] != '&') {
            continue;
        } else if (c != '\r') {
            width += kCharWidth;
        }
    }
    widest = std::max(widest, width);
}

bool Inside(const CRect& inner, const CRect& outer)
{
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const CRect& a, const CRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::string Name(const DialogControl& c)
{
    return AfxFormat("control %d \"%s\"", c.nID, c.strText.GetString());
}

} // namespace

std::vector<std::string> LayoutFaults(UINT nID)
{
    std::vector<std::string> faults;
    const DialogTemplate* t = AfxFindResource<DialogTemplate>(nID);
    if (!t) {
        faults.push_back(AfxFormat("template %u is not registered", nID));
        return faults;
    }
    const CRect dialog(0, 0, t->size.cx, t->size.cy);
    const auto& controls = t->controls;
    for (size_t i = 0; i < controls.size(); ++i) {
        const DialogControl& c = controls[i];
        if (!Inside(c.rect, dialog))
            faults.push_back(Name(c) + " lies outside the dialog");
        int widest = 0, lines = 0;
        Measure(c.strText, widest, lines);
        const bool boxed =
            c.kind == AfxCtl::check || c.kind == AfxCtl::radio || c.kind == AfxCtl::auto3State;
        const bool framed = c.kind == AfxCtl::groupBox || c.kind == AfxCtl::push ||
                            c.kind == AfxCtl::defPush || c.kind == AfxCtl::pictureButton;
        const int needed = widest + (boxed ? kBoxWidth : 0) + (framed ? 6 : 0);
        const bool texted = c.kind == AfxCtl::staticText || boxed || framed;
        if (texted && (needed > c.rect.Width() ||
                       (c.kind == AfxCtl::staticText && lines * kLineHeight > c.rect.Height())))
            faults.push_back(Name(c) + " does not fit its text");
        if (!(c.dwStyle & WS_VISIBLE) || c.bOverlaps)
            continue;
        for (size_t j = i + 1; j < controls.size(); ++j) {
            const DialogControl& o = controls[j];
            if (!(o.dwStyle & WS_VISIBLE) || o.bOverlaps || !Overlap(c.rect, o.rect))
                continue;
            const bool held = (c.kind == AfxCtl::groupBox && Inside(o.rect, c.rect)) ||
                              (o.kind == AfxCtl::groupBox && Inside(c.rect, o.rect));
            if (!held)
                faults.push_back(Name(c) + " overlaps " + Name(o));
        }
    }
    return faults;
}

} // namespace pavesta_test
