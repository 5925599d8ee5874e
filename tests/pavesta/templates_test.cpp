// The templates of these pages and dialogs: every control inside its
// dialog, and no two shown controls on top of each other unless they are
// marked to share their place.
#include <memory>
#include <utility>

#include "tests/pavesta/sheet_runner.h"

namespace pavesta_test
{
namespace
{

bool Intersect(const CRect& a, const CRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(PageTemplates, ControlsLieInsideTheirDialogAndApart)
{
    for (UINT id :
         {IDD_NUMBER_LIST, IDD_NAMED_NUMBER_LISTS, IDD_STRING, IDD_BILIN_THICKNESS, IDD_BILIN_LOAD,
          IDD_BILIN_ALPHA, IDD_MATERIAL_SELECT, IDD_RING_SEGMENT, IDD_MAX_MIN_VALUES}) {
        const DialogTemplate* t = AfxFindResource<DialogTemplate>(id);
        ASSERT_NE(t, nullptr) << id;
        const CRect dialog(0, 0, t->size.cx, t->size.cy);
        const auto& controls = t->controls;
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const DialogControl& a = controls[i];
            EXPECT_TRUE(a.rect.left >= 0 && a.rect.top >= 0 && a.rect.right <= dialog.right &&
                        a.rect.bottom <= dialog.bottom)
                << "template " << id << " control " << i << " '" << a.strText << "'";
            // Group boxes frame the controls they hold.
            if (!(a.dwStyle & WS_VISIBLE) || a.kind == AfxCtl::groupBox)
                continue;
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                const DialogControl& b = controls[j];
                if (!(b.dwStyle & WS_VISIBLE) || b.kind == AfxCtl::groupBox ||
                    (a.bOverlaps && b.bOverlaps))
                    continue;
                EXPECT_FALSE(Intersect(a.rect, b.rect))
                    << "template " << id << ": controls " << i << " '" << a.strText << "' and " << j
                    << " '" << b.strText << "'";
            }
        }
    }
}

TEST(PageTemplates, TheRadiusAndAngleOfTheRingSegmentShareTheirPlace)
{
    const DialogTemplate* t = AfxFindResource<DialogTemplate>(IDD_RING_SEGMENT);
    ASSERT_NE(t, nullptr);
    int marked = 0;
    for (const DialogControl& c : t->controls) {
        const bool stacked = c.nID == IDC_RING_RADIUS || c.nID == IDC_RING_RADIUS_LABEL ||
                             c.nID == IDC_RING_ANGLE || c.nID == IDC_RING_ANGLE_LABEL;
        EXPECT_EQ(c.bOverlaps, stacked) << c.nID;
        marked += c.bOverlaps;
    }
    EXPECT_EQ(marked, 4);
}

TEST(PageTemplates, RunTimeClassesMakePagesOnTheirDefaultTemplates)
{
    const std::pair<CRuntimeClass*, UINT> cases[] = {
        {RUNTIME_CLASS(VokLGNumberList), IDD_NUMBER_LIST},
        {RUNTIME_CLASS(VokPPNamedNumListsEdit), IDD_NAMED_NUMBER_LISTS},
        {RUNTIME_CLASS(VokPPBiLinFunc), IDD_BILIN_ALPHA},
        {RUNTIME_CLASS(VokPPMatNameSel), IDD_MATERIAL_SELECT},
        {RUNTIME_CLASS(VokPPRingSeg), IDD_RING_SEGMENT},
        {RUNTIME_CLASS(VokLGPPBuckling), VokLGPPBuckling::IDD},
        {RUNTIME_CLASS(VokPPLanczSett), VokPPLanczSett::IDD},
        {RUNTIME_CLASS(VokPPMSSITSett), VokPPMSSITSett::IDD},
        {RUNTIME_CLASS(VokPPConvergence), VokPPConvergence::IDD},
        {RUNTIME_CLASS(VokLGPPGravity3D), VokLGPPGravity3D::IDD},
        {RUNTIME_CLASS(VokPP3DGravity), VokPP3DGravity::IDD},
        {RUNTIME_CLASS(VokPP3DOrient), VokPP3DOrient::IDD},
        {RUNTIME_CLASS(VokPPNode3D), VokPPNode3D::IDD},
        {RUNTIME_CLASS(VokPPNodeDispl3D), VokPPNodeDispl3D::IDD},
        {RUNTIME_CLASS(VokPPNode2DEdit), VokPPNode2DEdit::IDD},
        {RUNTIME_CLASS(VokPPBarEdit), VokPPBarEdit::IDD},
        {RUNTIME_CLASS(VokPPBeamElemPage), VokPPBeamElemPage::IDD},
        {RUNTIME_CLASS(VokPPGenBeamElmSett), VokPPGenBeamElmSett::IDD},
        {RUNTIME_CLASS(CPPBeamSett), CPPBeamSett::IDD},
        {RUNTIME_CLASS(VokPPForceOutput), VokPPForceOutput::IDD},
        {RUNTIME_CLASS(VokPPCrossSections), VokPPCrossSections::IDD},
    };
    for (const auto& [pClass, nTemplate] : cases) {
        std::unique_ptr<CObject> made(pClass->CreateObject());
        auto* page = dynamic_cast<CPropertyPage*>(made.get());
        ASSERT_NE(page, nullptr) << pClass->m_lpszClassName;
        EXPECT_EQ(page->GetTemplateID(), nTemplate) << pClass->m_lpszClassName;
    }
    EXPECT_TRUE(VokPPBiLinFunc().GetShowChange());
}

} // namespace
} // namespace pavesta_test
