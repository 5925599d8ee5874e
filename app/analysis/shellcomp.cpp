// CShellComp: the buckling run, its solver call, the mode-shape results,
// the archive and the copy.
#include "app/analysis/shellcomp.h"
#include "app/analysis/runlog.h"

#include <algorithm>
#include <cstdint>

#include "app/analysis/solverdumps.h"
#include "app/analysis/solverentries.h"
#include "app/analysis/solverinput.h"
#include "app/analysis/solverreport.h"
#include "femodel/strelna.h"
#include "platform/afx/runtime.h"

IMPLEMENT_SERIAL(CShellComp, CPlateComp, 1)

namespace {

using runlog::Append;
using runlog::BusyRun;


// Puts a code into the element-type setting while it lives and the old one
// back afterwards (no conversion, no result deletion).
class ElementTypeSwap {
public:
    ElementTypeSwap(int& type, int code) : m_type(type), m_saved(type) { m_type = code; }
    ~ElementTypeSwap() { m_type = m_saved; }
    ElementTypeSwap(const ElementTypeSwap&) = delete;
    ElementTypeSwap& operator=(const ElementTypeSwap&) = delete;

private:
    int& m_type;
    int m_saved;
};

bool AllZero(const CMatrix& m)
{
    const long long n = static_cast<long long>(m.GetRows()) * m.GetColumns();
    const double* p = m.GetRows() > 0 ? m.GetVector() : nullptr;
    for (long long i = 0; i < n; ++i)
        if (p[i] != 0.0)
            return false;
    return true;
}

double* Data(CMatrix& m) { return m.GetRows() > 0 ? m.GetVector() : nullptr; }
std::int32_t* Data(CLongMatrix& m) { return m.GetRows() > 0 && m.GetColumns() > 0 ? m.GetVector() : nullptr; }
int Length(CLongVector* v) { return v ? v->GetSize() : 0; }

// The second line of an input failure; null for a code without one.
const char* InputErrorLine(int result)
{
    switch (result) {
    case -3: return "Error while generating boundary conditions\r\n";
    case -2: return "No mesh-nodes detected\r\n";
    case -1: return "No mesh detected\r\n";
    case 0: return "Unable to generate data\r\n";
    default: return nullptr;
    }
}

CString CountsLine(const CShellComp& comp)
{
    CString line;
    line.Format("number of nodes: %d\tnumber of elements: %d\tnumber of materials: %d\r\n", comp.m_nNodes,
                comp.m_nElements, comp.m_nMaterials);
    return line;
}

bool IsBucklingCode(int code)
{
    return code == 65 || code == 66 || code == 75 || code == 81 || code == 85;
}

// Keeps the first n rows of a matrix.
void KeepRows(CMatrix& m, int n)
{
    if (n >= m.GetRows())
        return;
    CMatrix kept;
    const int cols = m.GetColumns();
    kept.Allocate(n, cols, true, 0.0);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < cols; ++j)
            kept[i][j] = m[i][j];
    m = kept;
}

} // namespace

CShellComp::CShellComp()
{
    m_BucklingCtrl.Allocate(4, 1, true, 0);
    m_BucklingCtrl[kEigensolver][0] = 2;
    m_BucklingCtrl[kBucklingType][0] = 85;
    m_BucklingCtrl[kModes][0] = 2;
    m_BucklingCtrl[kForceBasis][0] = 0;
}

CShellComp::~CShellComp() = default;

// ------------------------------------------------------------ archive, copy

void CShellComp::Serialize(CArchive& ar)
{
    CPlateComp::Serialize(ar);
    if (ar.IsStoring()) {
        ar << LONG(2);
        m_BucklingCtrl.Serialize(ar);
        return;
    }
    SetActVal(0);
    LONG version = 0;
    ar >> version;
    if (version == 1) {
        LONG code = 0, modes = 0, solver = 0;
        ar >> code >> modes >> solver;
        m_BucklingCtrl[kBucklingType][0] = code;
        m_BucklingCtrl[kModes][0] = modes;
        m_BucklingCtrl[kEigensolver][0] = solver;
        return;
    }
    CLongMatrix stored;
    stored.Serialize(ar);
    const int rows = std::min(stored.GetRows(), m_BucklingCtrl.GetRows());
    const int cols = std::min(stored.GetColumns(), m_BucklingCtrl.GetColumns());
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            m_BucklingCtrl[i][j] = stored[i][j];
}

void CShellComp::Copy(CSectComp*& target, bool deep)
{
    if (!target)
        target = new CShellComp;
    CPlateComp::Copy(target, deep);
    if (!target->IsKindOf(RUNTIME_CLASS(CShellComp)))
        return;
    auto* to = static_cast<CShellComp*>(target);
    to->m_iResultState = m_iResultState;
    to->m_nModesAccepted = m_nModesAccepted;
    to->m_LoadFactors = m_LoadFactors;
    to->m_BucklingCtrl = m_BucklingCtrl;
}

// ------------------------------------------------------------ the runs

bool CShellComp::Calculate(CStringArray* log, CStringArray* errors)
{
    m_bBusy = true;
    if (m_bStopRequest) {
        Append(log, "*** Execution cancelled by user ***\r\n");
        m_bBusy = false;
        return true;
    }
    return RunBucklingAnalysis(log, errors);
}

bool CShellComp::RunMembraneAnalysis(CStringArray* log, CStringArray* errors)
{
    AlignMeshKind(false);
    if (!CPlateComp::Calculate(log, errors))
        return false;
    m_iResultState = 1;
    return true;
}

void CShellComp::AlignMeshKind(bool buckling)
{
    int kind = 0;
    if (buckling) {
        switch (GetBucklingCtrl(kBucklingType)) {
        case 61: case 75: case 85: kind = 103; break;
        case 65: case 66: case 81: kind = 101; break;
        default: return;
        }
    } else {
        switch (m_iElemType) {
        case 31: kind = 101; break;
        case 32: kind = 103; break;
        case 33: kind = 102; break;
        default: return;
        }
    }
    if (m_iMeshKind == kind)
        return;
    if (m_iMeshKind == 101 || m_iMeshKind == 102 || m_iMeshKind == 103)
        ConvertTriangleMesh(kind, false);
    else
        DeleteMesh();
    m_iMeshKind = kind;
}

void CShellComp::GatherInPlaneForces(CMatrix& forces, bool smooth)
{
    if (GetBucklingCtrl(kForceBasis) == 0) {
        if (smooth)
            Smooth(false);
        AlignMeshKind(true);
        m_nNodes = GetNodeCount(true);
        forces.Allocate(m_nNodes, 3, true, 0.0);
        int row = 0;
        ForEachMeshRegion([&](CSectMeshArea* r) { r->RetAddNodeStress(forces, 0, 2, row, 0); });
    } else {
        forces.Allocate(m_nElements, 3, true, 0.0);
        RetAddMeanStress(forces, 0, 2, 0);
    }
}

bool CShellComp::RunBucklingAnalysis(CStringArray* log, CStringArray* errors)
{
    BusyRun busy(m_bBusy);
    // Refused before anything is meshed, converted or solved: the solver
    // has no buckling model for these codes, and the buckling meshes are
    // triangles, which only the triangle membrane codes share.
    const int code = GetBucklingCtrl(kBucklingType);
    if (!IsBucklingCode(code)) {
        CString line;
        line.Format("Buckling analysis cannot use element type %d; choose 65, 66, 75, 81 or 85\r\n", code);
        Append(errors, line);
        return false;
    }
    if (m_iElemType != 31 && m_iElemType != 32 && m_iElemType != 33) {
        CString line;
        line.Format("Buckling analysis needs the membrane element type 31, 32 or 33, not %d\r\n", m_iElemType);
        Append(errors, line);
        return false;
    }

    int status[5] = {0, 0, 0, 0, 0};
    CMatrix forces, elementData, nodes;
    m_nElements = GetElementCount(true);
    if (m_nElements == 0) {
        if (PreCalc(log, errors, 0))
            m_nElements = GetElementCount(true);
        m_bBusy = true;
        if (m_nElements == 0) {
            Append(log, "*** Not able to generate mesh ***\r\n");
            return false;
        }
    }

    GatherInPlaneForces(forces, true);
    if (AllZero(forces)) {
        AlignMeshKind(false);
        Append(log, "Perfoming membrane analysis\r\n");
        const bool built = SolveMembrane(&elementData, &nodes, status, log, errors);
        m_bBusy = true;
        // An input failure has written its lines already; the solver was
        // not called, so the status says nothing.
        if (built && IsSolverStopped(status)) {
            Append(log, "*** Execution cancelled by user ***\r\n");
            return false;
        }
        if (!built || status[0] != 0) {
            Append(log, "*** Preliminary membrane analysis returned with error ***\r\n");
            ReportSolverError(status, errors);
            return false;
        }
        SetElementStresses(elementData, nodes);
        m_iResultState = 1;
        Smooth(false);
        GatherInPlaneForces(forces, false);
        if (AllZero(forces)) {
            Append(log, "*** Preliminary membrane analysis returned with no in-plane stresses ***\r\n"
                        "\tBuckling analysis is rendered irrelevant\r\n");
            ReportSolverError(status, errors);
            return false;
        }
    }

    AlignMeshKind(true);
    CMatrix eigenvalues, modes;
    if (!SolveBuckling(forces, elementData, nodes, eigenvalues, modes, log, errors, status))
        return false;

    const int modeCount = eigenvalues.GetRows();
    CMatrix table;
    table.Allocate(m_nNodes, modeCount + 2, true, 0.0);
    GetNodeValues(table, 0, 1, 0);
    for (int m = 0; m < modeCount; ++m)
        for (int i = 0; i < m_nNodes; ++i)
            table[i][2 + m] = modes[m][i];
    // Each mode's extreme entry becomes its eigenvalue.
    for (int m = 0; m < modeCount && m_nNodes > 0; ++m) {
        const double v = table.fabsMaxInCol(2 + m);
        const double f = v != 0.0 ? eigenvalues[m][0] / v : 0.0;
        for (int i = 0; i < m_nNodes; ++i)
            table[i][2 + m] *= f;
    }
    StoreModeShapes(table);
    m_iResultState = 3;
    m_nModesAccepted = modeCount;
    m_LoadFactors.Allocate(modeCount, true, 0.0);
    for (int m = 0; m < modeCount; ++m)
        m_LoadFactors[m] = eigenvalues[m][0];
    return true;
}

bool CShellComp::SolveBuckling(CMatrix& inPlane, CMatrix& elementData, CMatrix& nodeArray, CMatrix& eigenvalues,
                               CMatrix& modes, CStringArray* log, CStringArray* errors, int* status)
{
    CMatrix materials, prescribed, couplings, springs;
    CLongMatrix topology, suppressed;
    const int code = GetBucklingCtrl(kBucklingType);
    const int requested = std::max(0, GetBucklingCtrl(kModes));
    int r = 0;
    {
        ElementTypeSwap swap(m_iElemType, code);
        r = BuildSolverData(materials, elementData, topology, nodeArray, suppressed, prescribed, couplings, springs,
                            1);
        // More modes than the model has unknowns (at most six a node; a
        // damaged setting) cannot be given room: that fails like any other
        // array that cannot be made.
        const bool possible = requested <= 6LL * m_nNodes;
        const bool sized = possible && eigenvalues.Allocate(requested, 1, true, 0.0) &&
                           modes.Allocate(requested, m_nNodes, true, 0.0);
        if (r == 1 && requested > 0 && !sized) {
            eigenvalues.Allocate(0, 0, false, 0.0);
            modes.Allocate(0, 0, false, 0.0);
            r = 0;
        }
    }
    if (r != 1) {
        Append(errors, CountsLine(*this));
        if (const char* line = InputErrorLine(r))
            Append(errors, line);
        m_bBusy = false;
        return false;
    }
    int printLevel = m_iPrintLevel;
    if (printLevel >= 1000) {
        printLevel -= 1000;
        ::WriteInputLogs(materials, elementData, topology, nodeArray, suppressed, prescribed, couplings, springs);
    }
    if (m_iStorage == 1 && m_nNodes > 1000 &&
        AfxMessageBox("The problem size is such that it is recommended to use sparse storage format.\nDo you "
                      "want to change to sparse storage?",
                      MB_YESNO | MB_ICONQUESTION) == IDYES) {
        m_iStorage = 2;
        m_iRenumbering = 1;
    }

    const double t0 = AfxProcessorSeconds();
    KeyDataInput k;
    k.membrane = false;
    k.elements = m_nElements;
    k.nodes = m_nNodes;
    k.materials = m_nMaterials;
    k.suppressedRows = suppressed.GetRows();
    k.couplingRows = couplings.GetRows();
    k.springRows = springs.GetRows();
    k.code = code;
    k.storage = m_iStorage;
    k.renumbering = m_iRenumbering;
    k.printElements = Length(m_pPrintElems);
    k.printNodes = Length(m_pPrintNodes);
    k.integrationRule = m_iIntegrationRule;
    k.printLevel = printLevel;
    std::int32_t key[kKeyDataSize];
    FillKeyData(key, k);
    key[13] = GetBucklingCtrl(kEigensolver);
    key[14] = modes.GetRows();
    key[18] = topology.GetColumns();
    key[19] = elementData.GetColumns();

    const SolverEntryTable& entries = GetSolverEntries();
    const PlateBucklingEntry entry = GetBucklingCtrl(kForceBasis) == 0 ? entries.plateKnekking : entries.plateBuckling;
    int localStatus[5] = {0, 0, 0, 0, 0};
    int* s = status ? status : localStatus;
    entry(key, Data(topology), Data(elementData), Data(materials), Data(nodeArray), Data(suppressed),
          Data(couplings), Data(springs), Data(inPlane), Data(eigenvalues), Data(modes), s);
    const double elapsed = AfxProcessorSeconds() - t0;
    materials.Allocate(0, 0, false, 0.0);
    prescribed.Allocate(0, 0, false, 0.0);
    couplings.Allocate(0, 0, false, 0.0);
    springs.Allocate(0, 0, false, 0.0);
    suppressed.Allocate(0, 0, false, 0);
    topology.Allocate(0, 0, false, 0);

    if (log) {
        CString line;
        line.Format("Used time Calculating:    %.3f seconds\r\n", elapsed);
        log->Add(line);
        log->Add(CountsLine(*this));
    }
    if (IsSolverStopped(s)) {
        Append(log, "*** Execution cancelled by user ***\r\n");
        m_bBusy = false;
        return false;
    }
    if (s[0] != 0 && !IsSolverWarning(s[0])) {
        Append(log, "*** Buckling analysis returned with error ***\r\n");
        ReportSolverError(s, errors);
        m_bBusy = false;
        return false;
    }
    if (IsSolverWarning(s[0])) {
        Append(log, SolverWarningText(s));
        // Only the modes that passed the error test are kept.
        if (s[0] == 1)
            KeepRows(eigenvalues, std::clamp(s[1], 0, eigenvalues.GetRows()));
        KeepRows(modes, eigenvalues.GetRows());
    }
    if (log) {
        log->Add("Eigenvalues:\r\n");
        log->Add("=======================\r\n");
        for (int i = 0; i < eigenvalues.GetRows(); ++i) {
            CString line;
            line.Format("%3i    %1.5e\r\n", i + 1, eigenvalues[i][0]);
            log->Add(line);
        }
        log->Add("=======================\r\n");
    }
    return true;
}

// ------------------------------------------------------------ results

void CShellComp::StoreModeShapes(CMatrix& values)
{
    if (IsEmpty())
        return;
    const int columns = values.GetColumns();
    const int count = std::min(columns + 3, static_cast<int>(CElement::kMaxResIndex));
    CElement::m_nNodeVal = 3;
    SetResCount(static_cast<unsigned>(count));

    CVector first(count, true, 0.0);
    if (values.GetRows() > 0)
        for (int j = 0; j + 3 < count; ++j)
            first[3 + j] = values[0][j];
    CElement::CalibStress(first.GetVector(), false, count);
    if (m_iPrintLevel >= 100)
        WriteNodeValuesLog(values);

    int row = 0;
    ForEachMeshRegion([&](CSectMeshArea* r) { r->SetNodeValues(values, row); });

    for (int i = 0; i < 3; ++i) {
        CElement::m_strMinStress[i] = i < m_MinVals.GetSize() ? m_MinVals[i] : 0.0;
        CElement::m_strMaxStress[i] = i < m_MaxVals.GetSize() ? m_MaxVals[i] : 0.0;
    }
    m_MinVals.Allocate(count, true, 0.0);
    m_MaxVals.Allocate(count, true, 0.0);
    for (int i = 0; i < count; ++i) {
        m_MinVals[i] = CElement::m_strMinStress[i];
        m_MaxVals[i] = CElement::m_strMaxStress[i];
    }
    for (int j = 0; j + 3 < count && values.GetRows() > 0; ++j) {
        double lo = values[0][j], hi = values[0][j];
        for (int i = 1; i < values.GetRows(); ++i) {
            lo = std::min(lo, values[i][j]);
            hi = std::max(hi, values[i][j]);
        }
        CElement::m_strMinStress[3 + j] = m_MinVals[3 + j] = lo;
        CElement::m_strMaxStress[3 + j] = m_MaxVals[3 + j] = hi;
    }
}
