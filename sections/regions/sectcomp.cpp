#include "sections/regions/sectcomp.h"

IMPLEMENT_DYNAMIC(CSectComp, CObList)

CSectComp::CSectComp() : CObList(10) {}

CSectComp::~CSectComp()
{
    while (!IsEmpty())
        delete static_cast<CSection*>(CObList::RemoveHead());
}

double CSectComp::GetMinVal(int i) { return i >= 0 && i < m_MinVals.GetSize() ? m_MinVals[i] : 0.0; }
double CSectComp::GetMaxVal(int i) { return i >= 0 && i < m_MaxVals.GetSize() ? m_MaxVals[i] : 0.0; }
void CSectComp::SeedMeshLen(double, unsigned) {}
void CSectComp::OnEdges(void (*)(CEdge*)) {}
void CSectComp::OnEdges(void (*)(CObject*, void*), void*) {}
void CSectComp::GetMaxMinExt(double*, double*) {}
void CSectComp::DM_OnNodes(void (*)(CSNode*, void*), void*) {}
void CSectComp::DM_OnElements(void (*)(CObject*, void*), void*) {}
void CSectComp::OnNodes(void (*)(CSNode*, void*), void*) {}
void CSectComp::OnNodes(void (*)(CSNode*)) {}
void CSectComp::DM_Clean() {}
void CSectComp::SecondarySerial(CArchive&) {}
void CSectComp::DrawBCs(bool, double, int) {}
void CSectComp::SortNodes() {}
void CSectComp::DrawNodeNumbers() {}
void CSectComp::SerializeNodeIDs(CArchive&) {}
void CSectComp::GetEdgeList(CObList*, CObList*) {}
void CSectComp::GetDanglingNodes(CObList&) {}
void CSectComp::GetSolitaryNodes(CObList&) {}
void CSectComp::RenumberNodes(long&, long) {}
void CSectComp::PreMult(CMatrix&, double, double, double, bool) {}
CObject* CSectComp::DM_GetOwner(CObject*) { return nullptr; }
void CSectComp::DM_GetRotParam(CLongVector&) {}
void CSectComp::GetKIND(CLongVector&) {}
void CSectComp::ASCIIExportGraph(CFile&, CStringArray&, int*, int, double*, int) {}
void CSectComp::GL_Draw(COGLDrawCommand*) {}
void CSectComp::DM_GetInfo(CInfoContainer&) {}
void CSectComp::DM_SetResults(CModelInfo&) {}
void CSectComp::DM_InsertNodeBCs(CModelInfo&) {}
void CSectComp::DM_BuildData(CModelInfo&) {}
void CSectComp::GetBCNodes(CObList&) {}
void CSectComp::GetDiscrCoord(CMatrix&) {}
void CSectComp::GetMMNPC(CLongMatrix&) {}
int CSectComp::GetMMNPC(CLongVector&, CLongVector&) { return 0; }
CObject* CSectComp::Discretize() { return nullptr; }
void CSectComp::Copy(CSectComp*&, bool) {}
CEdge* CSectComp::GetEdge(int) { return nullptr; }
void CSectComp::PickDrawAddressGL(int) {}
void CSectComp::DrawNameGL(unsigned) {}
unsigned long CSectComp::GetMaxID(unsigned) { return 0; }
void CSectComp::GetMaxMinLoad(double&, double&, unsigned) {}
bool CSectComp::RemoveElem(CObject*) { return false; }
void CSectComp::Fix() {}
void CSectComp::FixEdges(CEdge*, CObList*, CObList*, CObList*&) {}
void CSectComp::FixEdges(CObList*) {}
void CSectComp::GetNodeList(CObList*, CObList*) {}
void CSectComp::SetNodSpace(double) {}
void CSectComp::PickDrawGL(bool, int, bool) {}
CObject* CSectComp::GetObjectFromString(CString) { return nullptr; }
void CSectComp::DrawModelGL(bool, float, bool) {}
void CSectComp::GetDist(double& max, double& min) { max = min = -1.0; }
void CSectComp::SubDivide() {}
void CSectComp::Update(bool, bool) {}
void CSectComp::Translate(double, double, double) {}
void CSectComp::Rotate(double, double, double, unsigned, bool) {}
bool CSectComp::Remove(CSection*) { return false; }
short CSectComp::Intersection(CEdge*, bool, CObList*) { return 0; }
CObject* CSectComp::GetObjectA(unsigned long, bool) { return nullptr; }
unsigned long CSectComp::CountEdges() { return 0; }
void CSectComp::DrawSubNodesGL() {}
void CSectComp::DrawNodesGL(float, bool) {}
void CSectComp::DrawEdgesGL(bool, bool) {}
void CSectComp::DrawDXF(CFile*) {}
void CSectComp::GetMaxMinCoord(double& a, double& b, double& c, double& d) { a = b = c = d = 0.0; }
double CSectComp::CalcArea() { return 0.0; }
CSection* CSectComp::GetNext(POSITION& pos) { return static_cast<CSection*>(CObList::GetNext(pos)); }
CSection* CSectComp::GetPrev(POSITION& pos) { return static_cast<CSection*>(CObList::GetPrev(pos)); }
CSection* CSectComp::GetAt(POSITION& pos) { return static_cast<CSection*>(CObList::GetAt(pos)); }
CSection* CSectComp::GetTail() { return static_cast<CSection*>(CObList::GetTail()); }
CSection* CSectComp::GetHead() { return static_cast<CSection*>(CObList::GetHead()); }
POSITION CSectComp::AddTail(CObject* object) { return CObList::AddTail(object); }
POSITION CSectComp::AddTail(CSection* section) { return CObList::AddTail(static_cast<CObject*>(section)); }
POSITION CSectComp::AddHead(CObject* object) { return CObList::AddHead(object); }
POSITION CSectComp::AddHead(CSection* section) { return CObList::AddHead(static_cast<CObject*>(section)); }
int CSectComp::CompareEdges(CEdge*, CEdge*, CObList*, CObList*) { return 0; }
void CSectComp::FixEdge(CEdge*, CObList*, CObList*) {}
void CSectComp::DeleteNodes(CObList*) {}
int CSectComp::RemoveDoubleEdges() { return 0; }
