// CSection: a planar section of the model, a graph of nodes and edges with
// the operations every member of a section composite answers: mesh seeding,
// the finite-element data hand-over (DM_ operations), drawing hooks, region
// operations and transforms. It holds no data of its own.
//
// The hand-over: the composite forwards each DM_ operation to its sections,
// a region to its sub-sections. Index and counter arguments are references
// that each section advances by what it adds, so that the output of all
// sections is numbered in one run.
#pragma once

#include "geometry/bexlar.h"
#include "matrix/zelkor.h"

class CMaterial;
class CModelInfo;

class CSection : public CGraph {
    DECLARE_DYNAMIC(CSection)
public:
    ~CSection() override;

    virtual void SeedMeshLen(double length, unsigned flags);
    virtual void DM_OnElements(void (*callback)(CObject*, void*), void* user) = 0;
    virtual void DM_OnNodes(void (*callback)(CSNode*, void*), void* user) = 0;
    virtual void DM_Clean() = 0;
    virtual void DrawBCs(bool flag, double scale, int what);
    virtual CObject* DM_GetOwner(CObject* object);
    virtual void DM_GetRotParam(CLongVector& out, int& index);
    virtual void DM_InsertNodeBCs(CModelInfo& model);
    virtual void DM_GetInfo(CInfoContainer& container);
    virtual void DM_SetResults(CModelInfo& model);
    // Hands the section itself to the model information (RetrieveData).
    virtual void DM_BuildData(CModelInfo& model);
    virtual void GL_Draw(COGLDrawCommand* command);
    virtual void GetBCNodes(CObList& out);
    virtual void GetDiscrCoord(CMatrix& out);
    virtual void RefineUniform(int level, unsigned flags);
    virtual void GetMMNPC(CLongVector& a, CLongVector& b, int& counter);
    virtual void GetMMNPC(CLongMatrix& out);
    virtual void GetKIND(CLongVector& out, int& index);
    virtual void GetMaxMinLoad(double& max, double& min, unsigned flags);
    virtual int RemoveDoubleEdges() = 0;
    virtual void ReplaceMaterial(CMaterial* oldMaterial, CMaterial* newMaterial);
    // True when the model changed; list receives regions split off.
    virtual bool Fix(CObList* list) = 0;
    // A new list owned by the caller.
    virtual CObList* GetNodes() = 0;
    using CGraph::GetNodes;
    virtual double SumArea() = 0;
    virtual CObject* Discretize() = 0;
    // Releases the graph's copy links after a discretisation.
    virtual void PostDiscretize();
    virtual void DrawStippleGL() = 0;
    virtual void SetNodSpace(double spacing) = 0;
    virtual void GetDist(double& max, double& min) = 0;
    virtual void SubDivide() = 0;
    virtual void Update(bool validate, bool resetSize) = 0;
    virtual void Translate(double dx, double dy, double dz, bool all) = 0;
    virtual bool DeleteNode(CSNode* node) = 0;
    virtual short Intersection2D(CEdge* edge, bool byEdges, CObList* found) = 0;
    virtual void DrawDXF(CFile* file) = 0;
    virtual CObject* GetObjectFromString(CString name) = 0;
    virtual void Rotate(double angle, double c1, double c2, unsigned axis, bool validate,
                        bool all) = 0;

protected:
    CSection();
    CSection(const CSection& source, bool keepID);
};
