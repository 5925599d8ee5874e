// The analysis run of the plate component: solver input from the meshed
// regions, the membrane and plate-bending solver calls, the error texts and
// the return of the results into the elements.
#include <algorithm>
#include <cstdint>

#include "app/analysis/platecomp.h"
#include "app/analysis/runlog.h"
#include "app/analysis/solverdumps.h"
#include "app/analysis/solverentries.h"
#include "app/analysis/solverinput.h"
#include "app/analysis/solverreport.h"
#include "app/analysis/stressreturn.h"
#include "femodel/strelna.h"
#include "platform/afx/progress.h"
#include "platform/afx/runtime.h"
#include "platform/ferrand/material.h"

namespace {

using runlog::Append;
using runlog::BusyRun;


double* Data(CMatrix& m) { return m.GetRows() > 0 ? m.GetVector() : nullptr; }
std::int32_t* Data(CLongMatrix& m) { return m.GetRows() > 0 && m.GetColumns() > 0 ? m.GetVector() : nullptr; }
std::int32_t* Data(CLongVector* v) { return v && v->GetSize() > 0 ? &(*v)[0] : nullptr; }
int Length(CLongVector* v) { return v ? v->GetSize() : 0; }

const char* InputErrorText(int result)
{
    switch (result) {
    case -1: return "No mesh detected\r\n";
    case -2: return "No mesh-nodes detected\r\n";
    case -3: return "Error while generating boundary conditions\r\n";
    default: return "Unable to generate data\r\n";
    }
}

} // namespace

// ------------------------------------------------------------ the run

bool CPlateComp::Calculate(CStringArray* log, CStringArray* errors)
{
    BusyRun busy(m_bBusy);
    if (m_bStopRequest) {
        Append(log, "*** Execution cancelled by user ***\r\n");
        return true;
    }
    int status[5] = {0, 0, 0, 0, 0};
    CMatrix elementData, nodes;
    bool called = false;
    if (IsMembraneCode(m_iElemType))
        called = SolveMembrane(&elementData, &nodes, status, log, errors);
    else if (IsPlateBendingCode(m_iElemType))
        called = SolvePlateBending(&elementData, &nodes, status, log, errors);
    else
        return false;
    if (!called)
        return false;
    if (IsSolverStopped(status)) {
        // Stopped inside the solver: nothing of the run is taken.
        Append(log, "*** Execution cancelled by user ***\r\n");
        return false;
    }
    if (status[0] != 0 && !IsSolverWarning(status[0])) {
        ResetParam();
        Append(log, "*** Calculation returned with error ***\r\n");
        ReportSolverError(status, errors);
        return false;
    }
    if (IsSolverWarning(status[0]))
        Append(log, SolverWarningText(status));
    afx::ProgressPoint();
    const double t0 = AfxProcessorSeconds();
    SetElementStresses(elementData, nodes);
    afx::ProgressPoint();
    CString line;
    line.Format("Used time Setting stresses:    %.3f seconds\r\n", AfxProcessorSeconds() - t0);
    Append(log, line);
    return true;
}

void CPlateComp::ReportSolverError(int* status, CStringArray* errors)
{
    if (!status || status[0] == 0 || !errors)
        return;
    Append(errors, SolverErrorText(status));
}

// ------------------------------------------------------------ solver input

int CPlateComp::BuildSolverData(CMatrix& materials, CMatrix& elementData, CLongMatrix& topology, CMatrix& nodes,
                                CLongMatrix& suppressed, CMatrix& prescribed, CMatrix& couplings, CMatrix& springs,
                                int loadCase)
{
    const DWORD savedNodeCounter = CSNode::lIDnode;
    CSNode::lIDnode = 1;
    m_nNodes = GetNodeCount(true);
    CSNode::lIDnode = savedNodeCounter;
    afx::ProgressPoint();
    m_nElements = GetElementCount(true);
    afx::ProgressPoint();
    if (m_nElements <= 0)
        return -1;
    if (m_nNodes <= 0)
        return -2;
    if (!NumberMaterials(materials))
        return 0;
    ElementLayout layout;
    if (!GetElementLayout(m_iElemType, layout))
        return -3;
    if (!elementData.Allocate(m_nElements, layout.elementDataColumns, true, 0.0) ||
        !topology.Allocate(m_nElements, layout.topologyColumns, true, 0) || !nodes.Allocate(m_nNodes, 4, true, 0.0))
        return 0;

    const int mode = IsPlateBendingCode(m_iElemType) ? 2 : m_iPlaneStrain == 1 ? 1 : 0;
    int elementRow = 0, topologyIndex = 0, nodeIndex = 0;
    for (POSITION pos = CObList::GetHeadPosition(); pos;) {
        CSection* section = GetNext(pos);
        if (section->IsKindOf(RUNTIME_CLASS(CSectPlate))) {
            auto* plate = static_cast<CSectPlate*>(section);
            plate->DisperseElementData(elementData, elementRow, mode);
            afx::ProgressPoint();
            plate->InsertElementMaterials(topology.GetVector(), topologyIndex, layout.topologyColumns);
            afx::ProgressPoint();
        }
        if (section->IsKindOf(RUNTIME_CLASS(CSectMeshArea)))
            static_cast<CSectMeshArea*>(section)->InsertNodes(nullptr, nodes.GetVector(), nodeIndex, 0, 2);
        afx::ProgressPoint();
    }
    return BuildBoundaryArrays(suppressed, prescribed, couplings, springs, topology, nodes, loadCase) == 1 ? 1 : -3;
}

bool CPlateComp::NumberMaterials(CMatrix& materials)
{
    return NumberMaterialList(m_MaterialList, materials, m_nMaterials);
}

int CPlateComp::BuildBoundaryArrays(CLongMatrix& suppressed, CMatrix& prescribed, CMatrix& couplings,
                                    CMatrix& springs, CLongMatrix& topology, CMatrix& nodes, int loadCase)
{
    ElementLayout layout;
    if (!GetElementLayout(m_iElemType, layout))
        return -1;
    CObList links, all, conditions;
    ForEachMeshRegion([&](CSectMeshArea* r) {
        r->GetLinks(links, true);
        r->GetBCs(all);
    });
    afx::ProgressPoint();
    if (!FillCouplingArray(m_iElemType, links, topology, nodes.GetRows(), couplings))
        return 0;
    afx::ProgressPoint();
    SelectConditions(all, loadCase, conditions);
    if (conditions.IsEmpty())
        return -1;
    if (m_iElemType == 61)
        return BuildBoundaryArraysT6(conditions, suppressed, prescribed, springs, nodes);
    if (m_iElemType == 75 || m_iElemType == 85)
        return BuildBoundaryArraysT15T21(conditions, suppressed, prescribed, springs, nodes);
    return FillConditionArrays(m_iElemType, conditions, nodes, suppressed, prescribed, springs);
}

int CPlateComp::BuildBoundaryArraysT6(CObList& conditions, CLongMatrix& suppressed, CMatrix& prescribed,
                                      CMatrix& springs, CMatrix& nodes)
{
    return FillConditionArrays(61, conditions, nodes, suppressed, prescribed, springs);
}

int CPlateComp::BuildBoundaryArraysT15T21(CObList& conditions, CLongMatrix& suppressed, CMatrix& prescribed,
                                          CMatrix& springs, CMatrix& nodes)
{
    return FillConditionArrays(m_iElemType, conditions, nodes, suppressed, prescribed, springs);
}

int CPlateComp::CountSupportDOFs(int code, unsigned type) { return ::CountSupportDOFs(code, type); }

void CPlateComp::AddSupportRows(int code, unsigned type, int node, CLongMatrix* suppressed, int* row)
{
    int dofs[kMaxSupportDOFs];
    const int n = SupportDOFs(code, type, dofs);
    if (!suppressed || !row)
        return;
    for (int i = 0; i < n && *row < suppressed->GetRows(); ++i, ++*row) {
        (*suppressed)[*row][0] = node;
        (*suppressed)[*row][1] = dofs[i];
    }
}

// ------------------------------------------------------------ solver calls

namespace {

// The arrays of one solve; freed when the solve ends.
struct SolveInput {
    CMatrix materials;
    CLongMatrix topology;
    CLongMatrix suppressed;
    CMatrix prescribed;
    CMatrix couplings;
    CMatrix springs;
    CMatrix nodeLoads;
    CMatrix edgeLoads;
};

} // namespace

// The log line with the node, element and material counts.
static void AppendModelSize(const CPlateComp& comp, CStringArray* log)
{
    CString line;
    line.Format("number of nodes: %d\tnumber of elements: %d\tnumber of materials: %d\r\n", comp.m_nNodes,
                comp.m_nElements, comp.m_nMaterials);
    Append(log, line);
}

// Builds the input, reports an input failure, writes the input dumps and
// offers sparse storage; false when the input could not be built.
static bool PrepareSolve(CPlateComp& comp, bool membrane, CMatrix& elementData, CMatrix& nodes, SolveInput& in,
                         int& printLevel, CStringArray* log, CStringArray* errors)
{
    int r = comp.BuildSolverData(in.materials, elementData, in.topology, nodes, in.suppressed, in.prescribed,
                                 in.couplings, in.springs, 0);
    if (r == 1) {
        CObList nodeLoads, edgeLoads;
        comp.ForEachMeshRegion([&](CSectMeshArea* region) { region->GetLoads(&nodeLoads, &edgeLoads); });
        const bool filled = membrane ? FillMembraneLoads(comp.m_iElemType, nodeLoads, edgeLoads, in.nodeLoads,
                                                         in.edgeLoads)
                                     : FillPlateLoads(nodeLoads, edgeLoads, nodes, in.edgeLoads);
        if (!filled)
            r = 0;
    }
    if (r != 1) {
        AppendModelSize(comp, log);
        Append(errors, InputErrorText(r));
        comp.m_bBusy = false;
        return false;
    }
    printLevel = comp.m_iPrintLevel;
    if (printLevel >= 1000) {
        printLevel -= 1000;
        ::WriteInputLogs(in.materials, elementData, in.topology, nodes, in.suppressed, in.prescribed, in.couplings,
                         in.springs);
        if (membrane)
            WriteEdgeLoadLog(in.edgeLoads);
    }
    if (comp.m_iStorage == 1 && comp.m_nNodes > 1000 &&
        AfxMessageBox("The problem size is such that it is recommended to use sparse storage format.\nDo you "
                      "want to change to sparse storage?",
                      MB_YESNO | MB_ICONQUESTION) == IDYES) {
        comp.m_iStorage = 2;
        comp.m_iRenumbering = 1;
    }
    return true;
}

static void FillKey(CPlateComp& comp, bool membrane, const SolveInput& in, int printLevel, std::int32_t* key)
{
    KeyDataInput k;
    k.membrane = membrane;
    k.elements = comp.m_nElements;
    k.nodes = comp.m_nNodes;
    k.materials = comp.m_nMaterials;
    k.suppressedRows = in.suppressed.GetRows();
    k.prescribedRows = in.prescribed.GetRows();
    k.couplingRows = in.couplings.GetRows();
    k.springRows = in.springs.GetRows();
    k.code = comp.m_iElemType;
    k.storage = comp.m_iStorage;
    k.renumbering = comp.m_iRenumbering;
    k.nodeLoadRows = in.nodeLoads.GetRows();
    k.edgeLoadRows = in.edgeLoads.GetRows();
    k.planeStrain = comp.m_iPlaneStrain;
    k.printElements = Length(comp.m_pPrintElems);
    k.printNodes = Length(comp.m_pPrintNodes);
    k.integrationPoints = comp.m_iIntegrationPoints;
    k.integrationRule = comp.m_iIntegrationRule;
    k.printLevel = printLevel;
    FillKeyData(key, k);
}

static void FinishSolve(const CPlateComp& comp, double t0, CStringArray* log)
{
    // The solver call does not pump: events wait until it returns.
    afx::ProgressPoint();
    CString line;
    line.Format("Used time Calculating:    %.3f seconds\r\n", AfxProcessorSeconds() - t0);
    Append(log, line);
    AppendModelSize(comp, log);
}

namespace {

// One solver call: the caller's element data, node array and status where
// given, local ones otherwise, with the input and the key data built for it.
struct SolveCall {
    CMatrix localData, localNodes;
    int localStatus[5] = {};
    CMatrix& data;
    CMatrix& nodes;
    int* status;
    SolveInput in;
    std::int32_t key[kKeyDataSize];
    double t0 = 0.0;

    SolveCall(CMatrix* elementData, CMatrix* nodeArray, int* callerStatus)
        : data(elementData ? *elementData : localData), nodes(nodeArray ? *nodeArray : localNodes),
          status(callerStatus ? callerStatus : localStatus)
    {
    }

    // Builds the input and the key data and starts the clock of the
    // calculation; false when the input could not be built.
    bool Prepare(CPlateComp& comp, bool membrane, CStringArray* log, CStringArray* errors)
    {
        int printLevel = 0;
        if (!PrepareSolve(comp, membrane, data, nodes, in, printLevel, log, errors))
            return false;
        afx::ProgressPoint();
        t0 = AfxProcessorSeconds();
        FillKey(comp, membrane, in, printLevel, key);
        return true;
    }
};

} // namespace

bool CPlateComp::SolveMembrane(CMatrix* elementData, CMatrix* nodes, int* status, CStringArray* log,
                               CStringArray* errors)
{
    SolveCall call(elementData, nodes, status);
    if (!call.Prepare(*this, true, log, errors))
        return false;
    SolveInput& in = call.in;
    double angle = 0.0, magnitude = 0.0;
    PrepareVolumeForce(m_VolumeForce, angle, magnitude);
    GetSolverEntries().planeStr(call.key, Data(in.topology), Data(call.data), Data(in.materials), Data(call.nodes),
                                m_VolumeForce.GetVector(), Data(in.nodeLoads), Data(in.edgeLoads),
                                Data(in.suppressed), Data(in.prescribed), Data(in.couplings), Data(in.springs),
                                Data(m_pPrintElems), Data(m_pPrintNodes), call.status);
    RestoreVolumeForce(m_VolumeForce, angle, magnitude);
    FinishSolve(*this, call.t0, log);
    return true;
}

bool CPlateComp::SolvePlateBending(CMatrix* elementData, CMatrix* nodes, int* status, CStringArray* log,
                                   CStringArray* errors)
{
    SolveCall call(elementData, nodes, status);
    if (!call.Prepare(*this, false, log, errors))
        return false;
    SolveInput& in = call.in;
    GetSolverEntries().plateBending(call.key, Data(in.topology), Data(call.data), Data(in.materials),
                                    Data(call.nodes), Data(in.edgeLoads), Data(in.suppressed), Data(in.prescribed),
                                    Data(in.couplings), Data(in.springs), Data(m_pPrintElems), Data(m_pPrintNodes),
                                    call.status);
    FinishSolve(*this, call.t0, log);
    return true;
}

// ------------------------------------------------------------ dumps

void CPlateComp::WriteInputLogs(CMatrix& materials, CMatrix& elementData, CLongMatrix& topology, CMatrix& nodes,
                                CLongMatrix& suppressed, CMatrix& prescribed, CMatrix& couplings, CMatrix& springs)
{
    ::WriteInputLogs(materials, elementData, topology, nodes, suppressed, prescribed, couplings, springs);
}

void CPlateComp::WriteStressLog(CMatrix& elementResults) { ::WriteStressLog(elementResults); }

void CPlateComp::WriteNodeValuesLog(CMatrix& nodeResults) { ::WriteNodeValuesLog(nodeResults); }

// ------------------------------------------------------------ results

void CPlateComp::SetElementStresses(CMatrix& elementData, CMatrix& nodes)
{
    ResultLayout layout;
    if (IsEmpty() || !GetResultLayout(m_iElemType, layout))
        return;
    CElement::m_nNodeVal = layout.nodeValues;
    CElement::m_nVectors = layout.vectors;
    unsigned resultCount = static_cast<unsigned>(layout.resultCount);

    elementData.Resize(layout.nodeValues, true);
    if (m_iPrintLevel >= 100)
        WriteStressLog(elementData);
    if (m_iElemType == 31 || m_iElemType == 32)
        RepackTriangleRows(elementData, m_nElements);

    const int derived = layout.membrane ? 4 : 2;
    m_MaxValsExt.Allocate(derived, true, 0.0);
    m_MinValsExt.Allocate(derived, true, 0.0);
    if (layout.membrane && nodes.GetRows() > 0)
        nodes.GetMaxMinLength(m_MaxValsExt[3], m_MinValsExt[3], 0, 1, true);
    if (elementData.GetRows() > 0 && elementData.GetColumns() >= 3)
        PrincipalExtremes(elementData, m_MaxValsExt[0], m_MinValsExt[0], m_MaxValsExt[1], m_MinValsExt[1]);

    resultCount = std::min(resultCount, static_cast<unsigned>(nodes.GetColumns() + layout.nodeValues));
    SetResCount(resultCount);
    if (resultCount > 0) {
        CVector first(static_cast<int>(resultCount), true, 0.0);
        for (int i = 0; i < static_cast<int>(resultCount); ++i) {
            if (i < layout.nodeValues)
                first[i] = elementData.GetRows() > 0 ? elementData[0][i] : 0.0;
            else if (nodes.GetRows() > 0)
                first[i] = nodes[0][i - layout.nodeValues];
        }
        CElement::CalibStress(first.GetVector(), false, static_cast<int>(resultCount));
    }
    if (m_iPrintLevel >= 100)
        WriteNodeValuesLog(nodes);

    int elementRow = 0, nodeRow = 0;
    ForEachMeshRegion([&](CSectMeshArea* r) {
        r->SetStresses(elementData, elementRow);
        r->SetNodeValues(nodes, nodeRow);
        afx::ProgressPoint();
    });
    if (layout.membrane)
        UpdateMaxMinEffStress();

    m_MinVals.Allocate(static_cast<int>(resultCount), true, 0.0);
    m_MaxVals.Allocate(static_cast<int>(resultCount), true, 0.0);
    for (int i = 0; i < static_cast<int>(resultCount); ++i) {
        m_MinVals[i] = CElement::m_strMinStress[i];
        m_MaxVals[i] = CElement::m_strMaxStress[i];
    }
}

bool CPlateComp::Smooth(bool flag)
{
    if (IsEmpty() || GetResCount() == 0)
        return false;
    ResultLayout layout;
    if (!GetResultLayout(m_iElemType, layout))
        return false;
    PreSmooth();
    CElement::m_nNodeVal = layout.nodeValues;
    const int n = std::min({layout.nodeValues, m_MinVals.GetSize(), m_MaxVals.GetSize()});
    // The smoothed values rebuild both extremes from the opposite ends.
    for (int i = 0; i < n; ++i) {
        CElement::m_strMaxStress[i] = m_MinVals[i];
        CElement::m_strMinStress[i] = m_MaxVals[i];
    }
    ForEachMeshRegion([&](CSectMeshArea* r) { r->Smooth(flag); });
    for (int i = 0; i < n; ++i) {
        m_MinVals[i] = CElement::m_strMinStress[i];
        m_MaxVals[i] = CElement::m_strMaxStress[i];
    }
    if (m_MaxValsExt.GetSize() >= 2 && m_MinValsExt.GetSize() >= 2) {
        // The smoothed values lie inside the old range, so the scan starts
        // from an empty one rather than from the old ends.
        valuerange::Empty(m_MaxValsExt[0], m_MinValsExt[0]);
        valuerange::Empty(m_MaxValsExt[1], m_MinValsExt[1]);
        ForEachMeshRegion([&](CSectMeshArea* r) {
            r->GetMaxMinPriStress(m_MaxValsExt[0], m_MinValsExt[0], m_MaxValsExt[1], m_MinValsExt[1], false);
        });
        valuerange::Settle(m_MaxValsExt[0], m_MinValsExt[0]);
        valuerange::Settle(m_MaxValsExt[1], m_MinValsExt[1]);
    }
    if (layout.membrane)
        UpdateMaxMinEffStress();
    return true;
}

void CPlateComp::PreSmooth()
{
    ForEachMeshRegion([](CSectMeshArea* r) { r->PreSmooth(); });
}

int CPlateComp::GetResultUnit(int component)
{
    static const int membrane[11] = {13, 13, 13, 3, 3, 1, 1, 13, 13, 13, 3};
    // Plate moments and shear forces are per unit width (negative kinds).
    static const int plate[9] = {-14, -14, -14, 3, 0, 0, 1, -14, -14};
    static const int higher[11] = {-14, -14, -14, -1, -1, 3, 0, 0, 1, -14, -14};
    if (component < 0)
        return 0;
    if (IsMembraneCode(m_iElemType))
        return component < 11 ? membrane[component] : 0;
    if (m_iElemType == 61 || m_iElemType == 65 || m_iElemType == 66)
        return component < 9 ? plate[component] : 0;
    if (m_iElemType == 75 || m_iElemType == 81 || m_iElemType == 85)
        return component < 11 ? higher[component] : 0;
    return 0;
}
