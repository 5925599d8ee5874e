#include "sections/regions/section.h"

#include "femodel/modelinfo.h"

IMPLEMENT_DYNAMIC(CSection, CGraph)

CSection::CSection() = default;
CSection::CSection(const CSection& source, bool keepID) : CGraph(source, keepID) {}
CSection::~CSection() = default;

void CSection::SeedMeshLen(double, unsigned) {}
void CSection::DrawBCs(bool, double, int) {}
CObject* CSection::DM_GetOwner(CObject*) { return nullptr; }
void CSection::DM_GetRotParam(CLongVector&, int&) {}
void CSection::DM_InsertNodeBCs(CModelInfo&) {}
void CSection::DM_GetInfo(CInfoContainer&) {}
void CSection::DM_SetResults(CModelInfo&) {}
void CSection::DM_BuildData(CModelInfo& model) { model.RetrieveData(this); }
void CSection::GL_Draw(COGLDrawCommand*) {}
void CSection::GetBCNodes(CObList&) {}
void CSection::GetDiscrCoord(CMatrix&) {}
void CSection::RefineUniform(int, unsigned) {}
void CSection::GetMMNPC(CLongVector&, CLongVector&, int&) {}
void CSection::GetMMNPC(CLongMatrix&) {}
void CSection::GetKIND(CLongVector&, int&) {}
void CSection::GetMaxMinLoad(double&, double&, unsigned) {}
void CSection::ReplaceMaterial(CMaterial*, CMaterial*) {}
void CSection::PostDiscretize() { ReleaseCopyNodes(true); }
