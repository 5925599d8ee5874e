#include "dialogs/eigenpages.h"

#include <initializer_list>

#include "dialogs/resources.h"
#include "dialogs/templaterows.h"

namespace
{

constexpr int kTangent = 16064, kSecant = 16065;
constexpr int kLinearStep = 16066, kEquilibrium = 16067;
constexpr int kRestoreDefault = 16068;
constexpr UINT kRestoredFullMatrixLimit = 100;
constexpr double kDefaultMaxRelError = -1.0;

constexpr int kAcceptAll = 16045, kAcceptOne = 16046;

} // namespace

// ---- VokLGPPBuckling --------------------------------------------------------------

IMPLEMENT_DYNCREATE(VokLGPPBuckling, CPropertyPage)

BEGIN_MESSAGE_MAP(VokLGPPBuckling, CPropertyPage)
ON_BN_CLICKED(kTangent, OnTangent)
ON_BN_CLICKED(kSecant, OnSecant)
ON_BN_CLICKED(kRestoreDefault, OnRestoreDefault)
END_MESSAGE_MAP()

VokLGPPBuckling::VokLGPPBuckling() : CPropertyPage(IDD) {}

void VokLGPPBuckling::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Radio(pDX, 16062, m_iSolver);
    DDX_Radio(pDX, kTangent, m_iGeomStiffness);
    DDX_Radio(pDX, kLinearStep, m_iEvalPoint);
    DDX_Text(pDX, 16070, m_dMaxRelError);
    // -1, the value "Restore default" puts, leaves the choice to the solver.
    if (m_dMaxRelError != kDefaultMaxRelError)
        DDV_Range(pDX, m_dMaxRelError, AfxRange::Positive(), "Max. relative error");
    DDX_Text(pDX, 16071, m_dShift);
    DDX_Radio(pDX, 16144, m_iPosDefTest);
    DDX_Text(pDX, 16230, m_uFullMatrixLimit);
    DDV_MinMaxUInt(pDX, m_uFullMatrixLimit, 0, 10000);
}

BOOL VokLGPPBuckling::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    EnableEvalPoint(m_iGeomStiffness != 0);
    return result;
}

void VokLGPPBuckling::EnableEvalPoint(BOOL bEnable)
{
    GetDlgItem(kLinearStep)->EnableWindow(bEnable);
    GetDlgItem(kEquilibrium)->EnableWindow(bEnable);
}

void VokLGPPBuckling::OnTangent()
{
    EnableEvalPoint(FALSE);
}

void VokLGPPBuckling::OnSecant()
{
    EnableEvalPoint(TRUE);
}

void VokLGPPBuckling::OnRestoreDefault()
{
    m_iSolver = 0;
    m_iGeomStiffness = 0;
    m_iEvalPoint = 0;
    m_dMaxRelError = kDefaultMaxRelError;
    m_dShift = 0.0;
    m_iPosDefTest = 0;
    m_uFullMatrixLimit = kRestoredFullMatrixLimit;
    EnableEvalPoint(FALSE);
    UpdateData(FALSE);
}

// ---- VokPPLanczSett -----------------------------------------------------------------

IMPLEMENT_DYNCREATE(VokPPLanczSett, CPropertyPage)

VokPPLanczSett::VokPPLanczSett() : CPropertyPage(IDD) {}

void VokPPLanczSett::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, 16243, m_iPremultiply);
    DDX_Text(pDX, 16230, m_uKEX);
    DDV_MinMaxUInt(pDX, m_uKEX, 1, 5);
    // The radios in tab order: none, full single, full double, partial, "half".
    DDX_Radio(pDX, 16245, m_iReorth);
    DDX_Radio(pDX, 16240, m_iStartVector);
    DDX_Text(pDX, 16254, m_fMaxlanScaling);
    // 0 keeps the routine's own MAXLAN.
    DDV_Range(pDX, m_fMaxlanScaling, AfxRange::AtLeast(0.0), "Scaling factor for MAXLAN");
}

// ---- VokPPMSSITSett -----------------------------------------------------------------

IMPLEMENT_DYNCREATE(VokPPMSSITSett, CPropertyPage)

VokPPMSSITSett::VokPPMSSITSett() : CPropertyPage(IDD) {}

void VokPPMSSITSett::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, 16253, m_iFeedVector);
    DDX_Text(pDX, 16069, m_nIterations);
    DDV_Range(pDX, m_nIterations, AfxRange::AtLeast(1), "Max.# of iterations");
    DDX_Radio(pDX, 16251, m_iStartVector);
    DDX_Check(pDX, 16234, m_iSkipConverged);
}

// ---- VokPPConvergence ---------------------------------------------------------------

IMPLEMENT_DYNCREATE(VokPPConvergence, CPropertyPage)

VokPPConvergence::VokPPConvergence() : CPropertyPage(IDD) {}

template <class F> void VokPPConvergence::ForFields(F f)
{
    f(m_pdEpsEnergy, m_dEpsEnergy, {16040});
    f(m_pdEpsDispl, m_dEpsDispl, {16041});
    f(m_pdEpsResidual, m_dEpsResidual, {16042});
    f(m_piMaxIterations, m_nMaxIterations, {16043});
    f(m_piSubstages, m_nSubstages, {16044});
    f(m_piAccept, m_iAccept, {kAcceptAll, kAcceptOne});
    f(m_pdNearSingular, m_dNearSingular, {16047});
    f(m_piCheckSingular, m_iCheckSingular, {16059});
    f(m_pdMaxIncrRotation, m_dMaxIncrRotation, {16060});
    f(m_pdMaxDisplacement, m_dMaxDisplacement, {16061});
    f(m_piSymmetrize, m_iSymmetrize, {16203});
}

void VokPPConvergence::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    // A field the caller gave no value for is disabled and not checked.
    auto ranged = [pDX](const void* pCaller, double value, const AfxRange& range, LPCTSTR field) {
        if (pCaller)
            DDV_Range(pDX, value, range, field);
    };
    DDX_Text(pDX, 16040, m_dEpsEnergy);
    ranged(m_pdEpsEnergy, m_dEpsEnergy, AfxRange::Positive(), "eps energy");
    DDX_Text(pDX, 16041, m_dEpsDispl);
    ranged(m_pdEpsDispl, m_dEpsDispl, AfxRange::Positive(), "eps displ");
    DDX_Text(pDX, 16042, m_dEpsResidual);
    ranged(m_pdEpsResidual, m_dEpsResidual, AfxRange::Positive(), "eps residual");
    DDX_Text(pDX, 16043, m_nMaxIterations);
    ranged(m_piMaxIterations, m_nMaxIterations, AfxRange::AtLeast(1), "Max iterations");
    DDX_Text(pDX, 16044, m_nSubstages);
    ranged(m_piSubstages, m_nSubstages, AfxRange::AtLeast(1), "Number of substages");
    DDX_Radio(pDX, kAcceptAll, m_iAccept);
    DDX_Text(pDX, 16047, m_dNearSingular);
    ranged(m_pdNearSingular, m_dNearSingular, AfxRange::Positive(), "Near singularity condition");
    DDX_Check(pDX, 16059, m_iCheckSingular);
    DDX_Text(pDX, 16060, m_dMaxIncrRotation);
    ranged(m_pdMaxIncrRotation, m_dMaxIncrRotation, AfxRange::Positive(),
           "Largest allowable incremental rotation");
    DDX_Text(pDX, 16061, m_dMaxDisplacement);
    ranged(m_pdMaxDisplacement, m_dMaxDisplacement, AfxRange::Positive(), "Maximum displacement");
    DDX_Check(pDX, 16203, m_iSymmetrize);
}

BOOL VokPPConvergence::OnInitDialog()
{
    ForFields([](auto* pCaller, auto& value, std::initializer_list<int>) {
        if (pCaller)
            value = *pCaller;
    });
    const BOOL result = CPropertyPage::OnInitDialog();
    ForFields([this](auto* pCaller, auto&, std::initializer_list<int> ids) {
        if (!pCaller)
            for (int nID : ids)
                GetDlgItem(nID)->EnableWindow(FALSE);
    });
    return result;
}

BOOL VokPPConvergence::OnApply()
{
    ForFields([](auto* pCaller, auto& value, std::initializer_list<int>) {
        if (pCaller)
            *pCaller = value;
    });
    return CPropertyPage::OnApply();
}

// ---- Templates ---------------------------------------------------------------------

namespace
{

using namespace pavesta;

DialogTemplate BucklingTemplate()
{
    DialogTemplate t;
    t.nID = VokLGPPBuckling::IDD;
    t.strCaption = "Eigensolver settings";
    t.size = CSize(300, 214);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Eigensolver", CRect(7, 7, 293, 35)),
        Ctl(16062, AfxCtl::radio, "Lanczos", CRect(14, 20, 100, 30), kGroupStyle),
        Ctl(16063, AfxCtl::radio, "Subspace iteration", CRect(120, 20, 240, 30)),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Geometric stiffness evaluation point",
            CRect(7, 40, 293, 82)),
        Ctl(kTangent, AfxCtl::radio, "Tangent", CRect(14, 53, 100, 63), kGroupStyle),
        Ctl(kSecant, AfxCtl::radio, "Secant", CRect(120, 53, 200, 63)),
        Ctl(kLinearStep, AfxCtl::radio, "Linear step", CRect(14, 67, 100, 77), kGroupStyle),
        Ctl(kEquilibrium, AfxCtl::radio, "Equilibrium", CRect(120, 67, 200, 77)),
        Label("Max. relative error", CRect(7, 90, 100, 98)),
        Ctl(16070, AfxCtl::edit, "", CRect(120, 88, 200, 100), kEditStyle | WS_GROUP),
        Label("Shift value", CRect(7, 106, 100, 114)),
        Ctl(16071, AfxCtl::edit, "", CRect(120, 104, 200, 116), kEditStyle),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Positive definitness indicator",
            CRect(7, 122, 293, 150)),
        Ctl(16144, AfxCtl::radio, "Stiffness matrix", CRect(14, 135, 110, 145), kGroupStyle),
        Ctl(16145, AfxCtl::radio, "Geometric stiffness/mass matrix", CRect(120, 135, 286, 145)),
        Label("Solve w/full matrices if number of equations is less than  ",
              CRect(7, 158, 250, 166)),
        Ctl(16230, AfxCtl::edit, "", CRect(252, 156, 293, 168), kNumberStyle | WS_GROUP),
        Ctl(kRestoreDefault, AfxCtl::push, "Restore default", CRect(213, 190, 293, 204),
            kGroupStyle),
    });
    return t;
}

DialogTemplate LanczosTemplate()
{
    DialogTemplate t;
    t.nID = VokPPLanczSett::IDD;
    t.strCaption = "Lanczos iteration routine";
    t.size = CSize(260, 186);
    t.Add({
        Ctl(16243, AfxCtl::check, "Premultiply with H", CRect(7, 7, 120, 17), kGroupStyle),
        Label("KEX", CRect(140, 9, 160, 17)),
        Ctl(16230, AfxCtl::edit, "", CRect(170, 7, 210, 19), kNumberStyle | WS_GROUP),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Reorthogonalisation", CRect(7, 26, 128, 100)),
        Ctl(16245, AfxCtl::radio, "None", CRect(14, 38, 124, 48), kGroupStyle),
        Ctl(16246, AfxCtl::radio, "Full (single pass)", CRect(14, 50, 124, 60)),
        Ctl(16247, AfxCtl::radio, "Full (double pass)", CRect(14, 62, 124, 72)),
        Ctl(16248, AfxCtl::radio, "Simon's partial", CRect(14, 74, 124, 84)),
        Ctl(16244, AfxCtl::radio, "simplified \"half\"", CRect(14, 86, 124, 96)),
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Start vector ", CRect(134, 26, 253, 76)),
        Ctl(16240, AfxCtl::radio, "Pseudo-random", CRect(141, 38, 249, 48), kGroupStyle),
        Ctl(16241, AfxCtl::radio, "Diag(B)", CRect(141, 50, 249, 60)),
        Ctl(16242, AfxCtl::radio, "Unit elements", CRect(141, 62, 249, 72)),
        Label("Scaling factor for MAXLAN", CRect(7, 110, 120, 118)),
        Ctl(16254, AfxCtl::edit, "", CRect(130, 108, 200, 120), kEditStyle | WS_GROUP),
    });
    return t;
}

DialogTemplate SubspaceTemplate()
{
    DialogTemplate t;
    t.nID = VokPPMSSITSett::IDD;
    t.strCaption = "Subspace iteration routine";
    t.size = CSize(260, 120);
    t.Add({
        Ctl(16253, AfxCtl::check, "pseudorandom \"feed\" vector", CRect(7, 7, 150, 17),
            kGroupStyle),
        Label("Max.# of iterations", CRect(7, 25, 100, 33)),
        Ctl(16069, AfxCtl::edit, "", CRect(110, 23, 160, 35), kNumberStyle | WS_GROUP),
        Ctl(16251, AfxCtl::radio, "Pseudo-random", CRect(7, 43, 150, 53), kGroupStyle),
        Ctl(16252, AfxCtl::radio, "based on Diag(A) and Diag(B)", CRect(7, 55, 150, 65)),
        Ctl(16234, AfxCtl::check, "Skip converged eigenvectors", CRect(7, 73, 150, 83),
            kGroupStyle),
    });
    return t;
}

DialogTemplate ConvergenceTemplate()
{
    DialogTemplate t;
    t.nID = VokPPConvergence::IDD;
    t.strCaption = "Convergence settings";
    t.size = CSize(280, 236);
    const std::pair<LPCTSTR, int> rows[] = {
        {"eps energy", 16040},     {"eps displ", 16041},           {"eps residual", 16042},
        {"Max iterations", 16043}, {"Number of substages", 16044},
    };
    int y = 8;
    for (const auto& [label, id] : rows) {
        const bool digits = id == 16043 || id == 16044;
        t.Add(Label(label, CRect(7, y + 2, 170, y + 10)));
        t.Add(Ctl(id, AfxCtl::edit, "", CRect(180, y, 260, y + 12),
                  (digits ? kNumberStyle : kEditStyle) | (id == 16040 ? WS_GROUP : 0)));
        y += 16;
    }
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Accept when satisfied by ", CRect(7, 88, 273, 114)),
        Ctl(kAcceptAll, AfxCtl::radio, "All", CRect(14, 100, 80, 110), kGroupStyle),
        Ctl(kAcceptOne, AfxCtl::radio, "One", CRect(100, 100, 170, 110)),
        Label("Near singularity condition", CRect(7, 122, 170, 130)),
        Ctl(16047, AfxCtl::edit, "", CRect(180, 120, 260, 132), kEditStyle | WS_GROUP),
        Ctl(16059, AfxCtl::check, "Check for singularity", CRect(7, 138, 170, 148), kGroupStyle),
        Label("Largest allowable incremental rotation", CRect(7, 156, 170, 164)),
        Ctl(16060, AfxCtl::edit, "", CRect(180, 154, 260, 166), kEditStyle | WS_GROUP),
        Label("Maximum displacement", CRect(7, 172, 170, 180)),
        Ctl(16061, AfxCtl::edit, "", CRect(180, 170, 260, 182), kEditStyle),
        Ctl(16203, AfxCtl::check, "&Symmetrize", CRect(7, 190, 100, 200), kGroupStyle),
    });
    return t;
}

} // namespace

void pavesta::AddEigenPageResources(CResourceModule& m)
{
    m.Add(VokLGPPBuckling::IDD, BucklingTemplate());
    m.Add(VokPPLanczSett::IDD, LanczosTemplate());
    m.Add(VokPPMSSITSett::IDD, SubspaceTemplate());
    m.Add(VokPPConvergence::IDD, ConvergenceTemplate());
}
