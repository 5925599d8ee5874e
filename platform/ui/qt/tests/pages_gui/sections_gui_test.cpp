// The cross-section, small input, eigensolver, node and beam-element pages
// and dialogs on Qt peers on a real display: a picture of each, and what
// each shows first (enabled, hidden) as the widgets show it.
#include <cstdlib>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <QLabel>

#include "femodel/bar.h"
#include "femodel/triangle.h"
#include "matrix/realvector.h"
#include "platform/ferrand/material.h"
#include "platform/ui/qt/tests/pages_gui/pages_gui.h"
#include "tests/pavesta/sheet_runner.h"
#include "tests/pavesta/units_scope.h"

namespace pavesta_test
{
namespace
{

using pages_gui::PagePictures;
using pages_gui::PagesOnQt;
using pages_gui::ShowDialogs;
using pages_gui::ShownEnabled;
using pages_gui::ShownVisible;
using pages_gui::Picture;

TEST_F(PagesOnQt, NodePagesInOneSheet)
{
    CVector gravity(3);
    gravity[2] = -9.81;
    bool selfWeight = true;
    double scaling = 1.0;
    VokPP3DGravity gravityPage;
    gravityPage.m_pGravity = &gravity;
    gravityPage.m_pbSelfWeight = &selfWeight;
    gravityPage.m_pdMassScaling = &scaling;
    double xyz[3] = {1, 2, 3};
    VokPPNode3D node(xyz);
    node.m_iID = 17;
    VokPPNodeDispl3D displacements;
    displacements.m_strLengthUnit = "mm";
    displacements.m_strRotationUnit = "rad";
    displacements.m_fCoord[0] = 3;
    displacements.m_fCoord[1] = 4;
    VokLGPPGravity3D plainGravity;
    VokPP3DOrient orient;
    VokPPNode2DEdit node2d;
    RunSheet(
        {&gravityPage, &node, &displacements, &plainGravity, &orient, &node2d},
        [&](DialogDriver& d, ModalScript&) {
            CDialog& sheet = *static_cast<CDialog*>(gravityPage.GetParent());
            EXPECT_EQ(d.Text(16233), "9.81");
            PagePictures(d, sheet,
                         {"pages-gravity.png", "pages-node.png", "pages-node-displacements.png",
                          "pages-gravity-plain.png", "pages-orientation.png", "pages-node-2d.png"});
            d.ActivatePage(1);
            EXPECT_FALSE(AfxQtWidgetOf(node.GetDlgItem(16003))->isEnabled() &&
                         !d.ReadOnly(16003)); // no id pointer: read-only
            d.PressCancel();
        },
        "Node");
}

class BeamPagesOnQt : public PagesOnQt
{
protected:
    CBeamSeg segment;
};

TEST_F(BeamPagesOnQt, BeamPagesInOneSheet)
{
    segment.SetElemClass(RUNTIME_CLASS(CBarElm));
    segment.SetElemCount(4);
    segment.SetSpare(2);
    VokPPBarEdit bar;
    bar.m_dLength = 2500;
    bar.m_iArchType = 1;
    VokPPBeamElemPage elements;
    elements.m_pSegment = &segment;
    elements.m_Classes = {RUNTIME_CLASS(CBarElm), RUNTIME_CLASS(CTriElement)};
    VokPPGenBeamElmSett general;
    general.m_Classes = {RUNTIME_CLASS(CBarElm), RUNTIME_CLASS(CTriElement)};
    general.m_pSelClass = RUNTIME_CLASS(CTriElement);
    CPPBeamSett settings;
    settings.m_iElemCode = 3103;
    VokPPForceOutput forces;
    forces.m_strForceUnit = "kN";
    forces.m_strMomentUnit = "kNm";
    forces.m_iNode[0] = 12;
    forces.m_iNode[1] = 13;
    RunSheet(
        {&bar, &elements, &general, &settings, &forces},
        [&](DialogDriver& d, ModalScript&) {
            CDialog& sheet = *static_cast<CDialog*>(bar.GetParent());
            EXPECT_TRUE(ShownVisible(bar, 16258)); // "Length = 2500 mm"
            PagePictures(d, sheet,
                         {"pages-bar.png", "pages-beam-elements.png", "pages-beam-general.png",
                          "pages-beam-settings.png", "pages-beam-forces.png"});
            d.ActivatePage(1);
            EXPECT_FALSE(ShownVisible(elements, 16143)); // "Change": a single segment
            d.ActivatePage(3);
            EXPECT_FALSE(ShownEnabled(settings, 16110)); // a known code
            d.PressCancel();
        },
        "Beam");
}

TEST_F(PagesOnQt, EigensolverPagesInOneSheet)
{
    double energy = 1e-6, displ = 1e-4, residual = 1e-3, singular = 1e-9, rotation = 0.1,
           maxDispl = 100;
    int iterations = 30, substages = 1, accept = 0, check = 1, symmetrize = 0;
    VokLGPPBuckling buckling;
    VokPPLanczSett lanczos;
    lanczos.m_uKEX = 2; // callers set it before showing
    VokPPMSSITSett subspace;
    subspace.m_nIterations = 40; // and an iteration count
    VokPPConvergence convergence;
    convergence.m_pdEpsEnergy = &energy;
    convergence.m_pdEpsDispl = &displ;
    convergence.m_pdEpsResidual = &residual;
    convergence.m_piMaxIterations = &iterations;
    convergence.m_piSubstages = &substages;
    convergence.m_piAccept = &accept;
    convergence.m_pdNearSingular = &singular;
    convergence.m_piCheckSingular = &check;
    convergence.m_pdMaxIncrRotation = &rotation;
    convergence.m_pdMaxDisplacement = &maxDispl;
    convergence.m_piSymmetrize = &symmetrize;
    RunSheet(
        {&buckling, &lanczos, &subspace, &convergence},
        [&](DialogDriver& d, ModalScript&) {
            CDialog& sheet = *static_cast<CDialog*>(buckling.GetParent());
            PagePictures(d, sheet,
                         {"pages-buckling.png", "pages-lanczos.png", "pages-subspace.png",
                          "pages-convergence.png"});
            d.PressCancel();
        },
        "Eigenvalues");
}

TEST_F(PagesOnQt, ARefusedToleranceKeepsTheSheetOnItsField)
{
    double energy = 1e-6, displ = 1e-4;
    int iterations = 30;
    VokPPConvergence convergence;
    convergence.m_pdEpsEnergy = &energy;
    convergence.m_pdEpsDispl = &displ;
    convergence.m_piMaxIterations = &iterations;
    RunSheet(
        {&convergence},
        [&](DialogDriver& d, ModalScript&) {
            auto& sheet = *static_cast<CPropertySheet*>(convergence.GetParent());
            d.Type(16040, "0");
            m_env->Boxes().Expect("eps energy = 0 is out of range.\nEnter a value > 0 and <= 1e+15.");
            d.PressOK();
            EXPECT_FALSE(sheet.IsEnded());
            EXPECT_EQ(CWnd::GetFocus(), convergence.GetDlgItem(16040)) << "the field has the focus";
            Picture(sheet, "pages-convergence-refused.png");
            d.Type(16040, "1e-5");
            d.Type(16043, "0");
            m_env->Boxes().Expect("Max iterations = 0 is out of range.\nEnter a value between 1 and 1e+15.");
            d.PressOK();
            EXPECT_FALSE(sheet.IsEnded());
            d.PressCancel();
        },
        "Eigenvalues");
    EXPECT_EQ(energy, 1e-6);
    EXPECT_EQ(iterations, 30);
}

// Whether the picture static shows the colour (r, g, b) near its centre,
// off the axes through it (within 2 of each component).
bool CentreShows(CWnd& window, int nPicture, int r, int g, int b)
{
    const QImage shown = AfxQtWidgetOf(window.GetDlgItem(nPicture))->grab().toImage();
    const QColor c = shown.pixelColor(shown.width() / 2 - 8, shown.height() / 2 + 20);
    return std::abs(c.red() - r) <= 2 && std::abs(c.green() - g) <= 2 &&
           std::abs(c.blue() - b) <= 2;
}

// Steel in (0.75, 0.5, 0.25); section pictures drawn through the
// framebuffer-object factory.
class SectionsOnQt : public PagesOnQt
{
protected:
    void SetUp() override
    {
        PagesOnQt::SetUp();
        if (HasFailure() || IsSkipped())
            return;
        m_pOldFactory = AfxGetOffscreenFactory();
        AfxSetOffscreenFactory(&m_factory);
        m_bFactory = true;
        steel = new CMaterial("Steel", 7.85e-06, 210000.0, 80769.2, 0.3, 0.0);
        steel->SetColor(0.75, 0.5, 0.25);
        materials.AddTail(steel);
    }
    void TearDown() override
    {
        if (m_bFactory)
            AfxSetOffscreenFactory(m_pOldFactory);
        while (!materials.IsEmpty())
            delete materials.RemoveHead();
        PagesOnQt::TearDown();
    }
    CCrSectComp* Rect(double h, double w, const char* name)
    {
        auto* s = new CCrSectRect(h, w);
        s->AddMaterial(steel);
        s->SetName(name);
        return s;
    }

    CObList materials;
    CMaterial* steel = nullptr;

private:
    MetricUnitsScope m_units;
    CQtOffscreenFactory m_factory;
    IOffscreenFactory* m_pOldFactory = nullptr;
    bool m_bFactory = false;
};

TEST_F(SectionsOnQt, AssignPageOnASingleSegment)
{
    std::unique_ptr<CCrSectComp> a(Rect(200, 100, "A")), b(Rect(300, 100, "B"));
    CBeamSeg segment;
    segment.SetCrSect(b.get());
    VokPPCrossSections page;
    page.m_pSegment = &segment;
    page.m_Sections.AddTail(static_cast<CObject*>(a.get()));
    page.m_Sections.AddTail(static_cast<CObject*>(b.get()));
    RunSheet(
        {&page},
        [&](DialogDriver& d, ModalScript&) {
            EXPECT_EQ(d.CurSel(16029), 1);
            EXPECT_TRUE(CentreShows(page, 16030, 191, 128, 64)); // the steel section
            Picture(*page.GetParent(), "pages-assign-section.png");
            d.PressCancel();
        },
        "Beam");
}

TEST_F(SectionsOnQt, SectionDialogsShowAsTheirTemplatesSay)
{
    ShowDialogs({
        {"dialog-new-section.png", VokDNewCrSectType::IDD,
         [&] {
             auto dlg = std::make_unique<VokDNewCrSectType>();
             dlg->m_pMaterials = &materials;
             return dlg;
         },
         [](DialogDriver&, CDialog& shown) {
             EXPECT_FALSE(ShownEnabled(shown, 16231)); // a rod has no second size
             // Each list has its label on its line, to its left.
             const std::pair<const char*, int> lists[] = {{"Section type", 16270},
                                                          {"Material", 16163}};
             for (const auto& [text, nID] : lists) {
                 const QRect box = AfxQtWidgetOf(shown.GetDlgItem(nID))->geometry();
                 const QLabel* label = nullptr;
                 for (const QLabel* l : AfxQtWidgetOf(&shown)->findChildren<QLabel*>())
                     if (l->text() == text)
                         label = l;
                 ASSERT_NE(label, nullptr) << text;
                 EXPECT_LE(label->geometry().right(), box.left()) << text;
                 EXPECT_TRUE(box.contains(box.left(), label->geometry().center().y())) << text;
                 EXPECT_LE(label->fontMetrics().horizontalAdvance(text), label->width()) << text;
             }
         }},
        {"dialog-sections.png", VokLGCrossSects::IDD,
         [&] {
             auto dlg = std::make_unique<VokLGCrossSects>();
             dlg->m_pMaterials = &materials;
             dlg->m_Sections.AddTail(static_cast<CObject*>(Rect(200, 100, "R")));
             return dlg;
         },
         [](DialogDriver& d, CDialog& shown) {
             EXPECT_EQ(d.Text(16184), "4200000");
             EXPECT_TRUE(CentreShows(shown, 16030, 191, 128, 64)); // the steel section
             EXPECT_FALSE(ShownEnabled(shown, 16191)); // "&Re-analyze"
         }},
        {"dialog-matrix.png", VokDlg3x3Matrix::IDD,
         [] { return std::make_unique<VokDlg3x3Matrix>(); }, [](DialogDriver&, CDialog&) {}},
        {"dialog-divide-members.png", VokDLGDivideSegment::IDD,
         [] { return std::make_unique<VokDLGDivideSegment>(); }, [](DialogDriver&, CDialog&) {}},
        {"dialog-rotate.png", VokDLGRotate::IDD, [] { return std::make_unique<VokDLGRotate>(); },
         [](DialogDriver&, CDialog& shown) {
             EXPECT_TRUE(ShownEnabled(shown, 16264));  // an Euler angle
             EXPECT_FALSE(ShownEnabled(shown, 16265)); // the pseudovector's angle
             EXPECT_TRUE(ShownEnabled(shown, 16234));  // the centre
         }},
        {"dialog-options.png", VokDlgCalcSett1::IDD,
         [] { return std::make_unique<VokDlgCalcSett1>(); },
         [](DialogDriver& d, CDialog& shown) {
             EXPECT_FALSE(ShownEnabled(shown, 16074));
             d.Click(16072); // "Preapply"
             EXPECT_TRUE(ShownEnabled(shown, 16074));
         }},
    });
}

TEST_F(SectionsOnQt, ARefusedMassKeepsTheEditorOnItsField)
{
    VokLGCrossSects dlg;
    dlg.m_pMaterials = &materials;
    CCrSectComp* section = Rect(200, 100, "R");
    dlg.m_Sections.AddTail(static_cast<CObject*>(section));
    const double mass = section->GetParam(3);
    ModalScript script;
    script.Dialog(VokLGCrossSects::IDD, [&](DialogDriver& d, CDialog& shown) {
        d.Type(16190, "-1");
        m_env->Boxes().Expect("Mass = -1 kg/m is out of range.\nEnter a value between 0 kg/m and 1e+15 kg/m.");
        d.Click(16202); // "&Apply"
        EXPECT_EQ(CWnd::GetFocus(), shown.GetDlgItem(16190)) << "the field has the focus";
        Picture(shown, "dialog-sections-refused-mass.png");
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    script.Verify();
    EXPECT_EQ(section->GetParam(3), mass);
}

} // namespace
} // namespace pavesta_test
