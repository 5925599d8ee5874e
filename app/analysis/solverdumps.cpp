#include "app/analysis/solverdumps.h"

#include <cstdio>
#include <cstring>
#include <functional>

#include "glview/oglstipple.h"
#include "platform/afx/safefile.h"


namespace {

const char kEnd[] = "\r\n\r\nEnd Logfile\r\n";
const char kInputTitle[] = "Logfile for massive inputarrays";

void Text(CFile& f, const char* s) { f.Write(s, static_cast<UINT>(std::strlen(s))); }

// Replaces the dump through the safe writer: a failure keeps the old file
// and is said once on the error output, naming the file and the cause.
void Dump(const char* name, const std::function<void(CFile&)>& body)
{
    const CString failure = afx::WriteFileSafely(name, body);
    if (!failure.IsEmpty())
        std::fprintf(stderr, "Brantel: %s\n", failure.GetString());
}

// The fly stipple picture, inverted and then as it is.
void PlotFly(CFile& f)
{
    COGLPlgnStppl fly;
    fly.SetFly();
    fly.Invert();
    fly.PlotASCII(&f, ' ', '0', 4);
    fly.Invert();
    fly.PlotASCII(&f, ' ', '0', 4);
}

void WriteTopologyLog(CMatrix& materials, CLongMatrix& topology)
{
    Dump("Topology.log", [&](CFile& f) {
        Text(f, kInputTitle);
        Text(f, "\r\n\r\n\tMATERIAL-ARRAY\r\n Mat (ID)nr:      ModOfElast1      ModOfElast              Nu      ModOfShear             Rho          Lambda\r\n");
        materials.WriteASCII(&f, "", "", 16, 4, 1, true, false);
        Text(f, "\t\r\n\r\nELEMENT TOPOLOGY-ARRAY\r\n\r\n   Element   material     node1     node2     node3      ...\t\r\n");
        topology.WriteASCII(&f, "", "", 10, 0, false, true, false);
        Text(f, kEnd);
        Text(f, "\r\n\r\nEnd Logfile");
        Text(f, "End Logfile\r\n");
        PlotFly(f);
        Text(f, "End Logfile\r\n");
    });
}

void WriteDataLog(CMatrix& elementData)
{
    Dump("Data.log", [&](CFile& f) {
        Text(f, "\r\n\r\n");
        Text(f, kInputTitle);
        Text(f, "\r\n\r\n\tELEMENT Data-ARRAY\r\n     Element            alpha              ti              tj              tk              tl              pi              pj              pk              pl\r\n");
        elementData.WriteASCII(&f, "", "", 16, 4, 1, true, false);
        Text(f, kEnd);
    });
}

void WriteNodeLog(CMatrix& nodes)
{
    Dump("Node.log", [&](CFile& f) {
        Text(f, "Logfile for massive inputarrays\r\n\r\n\tNODE-ARRAY\r\nnode\t\tx\t\ty\t\talpha\t\tP\r\n");
        nodes.WriteASCII(&f, "", "", 16, 4, 1, true, true);
        Text(f, kEnd);
    });
}

void WriteBoundaryLog(CLongMatrix& suppressed, CMatrix& prescribed, CMatrix& couplings, CMatrix& springs)
{
    Dump("BCs.log", [&](CFile& f) {
        Text(f, "Logfile for massive inputarrays\r\n\r\n\tSpecified boundcond-ARRAY\r\n   bc nr  node   dof   val\r\n");
        prescribed.WriteASCII(&f, "", "", 6, 0, 0, true, false);
        Text(f, "\r\n\r\n\tSuppressed boundcond-ARRAY\r\n   bc nr  node   dof\r\n");
        suppressed.WriteASCII(&f, "", "", 6, 0, false, true, false);
        Text(f, "\r\n\r\n\tSlave boundcond-ARRAY\r\n   bc nr  node   dof\r\n");
        couplings.WriteASCII(&f, "", "", 6, 1, 0, true, false);
        Text(f, "\r\n\r\n\tSpring boundcond-ARRAY\r\n   bc nr  node   dof\r\n");
        springs.WriteASCII(&f, "", "", 6, 1, 0, true, false);
        Text(f, kEnd);
    });
}

} // namespace

void WriteInputLogs(CMatrix& materials, CMatrix& elementData, CLongMatrix& topology, CMatrix& nodes,
                    CLongMatrix& suppressed, CMatrix& prescribed, CMatrix& couplings, CMatrix& springs)
{
    WriteTopologyLog(materials, topology);
    WriteDataLog(elementData);
    WriteNodeLog(nodes);
    WriteBoundaryLog(suppressed, prescribed, couplings, springs);
}

void WriteEdgeLoadLog(CMatrix& edgeLoads)
{
    Dump("Edge-loads.log", [&](CFile& f) {
        Text(f, "Logfile for massive inputarrays\r\n\tEdge - loading\r\n          El   nod   Xi    Yi    Xj    Yj    Xm    Ym\r\n");
        edgeLoads.WriteASCII(&f, "", "", 6, 1, 0, true, false);
        Text(f, kEnd);
    });
}

void WriteStressLog(CMatrix& elementResults)
{
    Dump("Stress.log", [&](CFile& f) {
        Text(f, "Logfile for Solvika outputarrays\r\n\r\n\tELEMENT STRESS-ARRAY\r\n\r\n");
        elementResults.WriteASCII(&f, "\t", "", 9, 0, 0, false, false);
        Text(f, kEnd);
    });
}

void WriteNodeValuesLog(CMatrix& nodeResults)
{
    Dump("NodeValues.log", [&](CFile& f) {
        Text(f, "Logfile for Solvika outputarrays\r\n\r\n\tNODE-ARRAY\r\n\r\n     node \t        w \t      w,x \t      w,y \t         R\r\n");
        nodeResults.WriteASCII(&f, "\t", "", 10, 0, 0, false, false);
        Text(f, kEnd);
    });
}
