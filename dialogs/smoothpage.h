// VokPPSmoothinSett: the "Smoothing" page over the caller's smoothing word,
// which says across which region boundaries nodal results are averaged.
#pragma once

#include "platform/ui/core/afxui.h"

class VokPPSmoothinSett : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPPSmoothinSett)
public:
    enum { IDD = 16094 };
    // Bits of the smoothing word.
    enum : int {
        withinRegions = 0x04, // average within each region only; the rest unused
        sameMaterial = 0x02,
        sameThickness = 0x08, // the same definition of thickness
        sameName = 0x10,
    };

    // piSmoothing: the caller's word (not owned; must outlive the page).
    explicit VokPPSmoothinSett(int* piSmoothing);

    BOOL OnInitDialog() override;
    // Replaces the whole word by the choice shown.
    BOOL OnApply() override;

protected:
    // Only for the run-time class record: shows no choice, writes nothing.
    VokPPSmoothinSett();

    void DoDataExchange(CDataExchange* pDX) override;
    // Either radio: the checks count only across boundaries.
    void OnRadio();

    DECLARE_MESSAGE_MAP()

private:
    int* m_piSmoothing = nullptr; // not owned
    int m_iSameName = 0;
    int m_iSameMaterial = 0;
    int m_iSameThickness = 0;
    int m_iRadio = -1; // -1 none, 0 within regions, 1 across boundaries
};
