// CSection: a planar section of the model, a graph of nodes and edges with
// the operations every member of a section composite answers: mesh seeding,
// the finite-element data hand-over (DM_ operations), drawing hooks, region
// operations and transforms. It holds no data of its own.
#pragma once

#include "geometry/bexlar.h"
#include "matrix/zelkor.h"

class CMaterial;

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
    virtual void DM_GetInfo(CInfoContainer& container);
    virtual void GL_Draw(COGLDrawCommand* command);
    virtual void GetBCNodes(CObList& out);
    virtual void GetDiscrCoord(CMatrix& out);
    virtual void RefineUniform(int level, unsigned flags);
    virtual void GetMMNPC(CLongVector& a, CLongVector& b, int& counter);
    virtual void GetMMNPC(CLongMatrix& out);
    virtual void GetKIND(CLongVector& out, int& index);
    virtual void GetMaxMinLoad(double& max, double& min, unsigned flags);
    virtual void ReplaceMaterial(CMaterial* oldMaterial, CMaterial* newMaterial);
    virtual bool Fix(CObList* list) = 0;
    // A new list owned by the caller.
    virtual CObList* GetNodes() = 0;
    using CGraph::GetNodes;
    virtual double SumArea() = 0;
    virtual CObject* Discretize() = 0;
    // Releases the graph's copy links after a discretisation.
    virtual void PostDiscretize();
    virtual void DrawStippleGL() = 0;
    virtual bool DeleteNode(CSNode* node) = 0;

protected:
    CSection();
    CSection(const CSection& source, bool keepID);
};
