// CSectBeam: a section whose edges are beam members (straight members and
// arches): a frame of beams on the geometry graph. It behaves as a plain
// graph where a region would be a bounded area, hands every data hand-over
// operation to its members, ties the members at joints after they are
// discretised and writes its members, supports, prescribed DOFs, couplings
// and node loads as text blocks.
//
// The member walk: for every node of the node list in order, every edge of
// the node that is a beam member and starts there; each member is reached
// once. The walk and the node operations consider the section's own nodes
// only (those whose primary graph it is).
#pragma once

#include "sections/beams/beamarch.h"
#include "sections/regions/section.h"

#include <functional>
#include <string>
#include <vector>

class CSectBeam : public CSection
{
    DECLARE_SERIAL(CSectBeam)
public:
    CSectBeam();
    ~CSectBeam() override;

    // --- hand-over operations, passed to every member
    void SeedMeshLen(double length, unsigned flags) override;
    void DM_OnElements(void (*callback)(CObject*, void*), void* user) override;
    void DM_OnNodes(void (*callback)(CSNode*, void*), void* user) override;
    void DM_Clean() override;
    void DM_GetRotParam(CLongVector& out, int& index) override;
    void DM_InsertNodeBCs(CModelInfo& model) override;
    void DM_GetInfo(CInfoContainer& container) override;
    void DM_SetResults(CModelInfo& model) override;
    void DM_BuildData(CModelInfo& model) override;
    void GetBCNodes(CObList& out) override;
    void GetDiscrCoord(CMatrix& out) override;
    void RefineUniform(int level, unsigned flags) override;
    void GetMMNPC(CLongVector& a, CLongVector& b, int& counter) override;
    void GetMMNPC(CLongMatrix& out) override;
    void GetKIND(CLongVector& out, int& index) override;
    void PickDrawAddressGL(int what) override;
    // The members draw more than the graph's nodes and edges.
    bool GrowPickBox(CPickBox&) const override { return false; }
    // Every member, then the graph.
    void PreMult(CMatrix& m, CVector& work, double cx, double cy, double cz, bool update) override;
    // Discretises every member (with its post-processing); never fails.
    CObject* Discretize() override;
    // Keeps the nodes' analysis copies linked: the component ties the
    // joints and releases the links afterwards.
    void PostDiscretize() override;

    // --- graph operations in place of the region ones
    int RemoveDoubleEdges() override;
    bool Fix(CObList* list) override;
    CObList* GetNodes() override;
    using CSection::GetNodes;
    double SumArea() override;
    void DrawStippleGL() override;
    void SetNodSpace(double spacing) override;
    void GetDist(double& max, double& min) override;
    void SubDivide() override;
    void Update(bool validate, bool resetSize) override;
    void Translate(double dx, double dy, double dz, bool all) override;
    bool DeleteNode(CSNode* node) override;
    short Intersection2D(CEdge* edge, bool byEdges, CObList* found) override;
    void DrawDXF(CFile* file) override;
    CObject* GetObjectFromString(CString name) override;
    void Rotate(double angle, double c1, double c2, unsigned axis, bool validate,
                bool all) override;

    // --- other overrides
    // A beam section is not copied.
    CGraph* Copy(bool keepID) override;
    // A boundary node that belongs to no graph.
    CSNode* CreateNode(double x, double y, double z) override;
    // Null for 0; the graph's own search, then (deep) the nodes of every
    // element of every member.
    CObject* GetObject(unsigned long id, bool deep) override;
    // Deletes the members whose definition uses the node (an arch's third
    // node included), then removes the node.
    bool RemoveNode(CSNode* node) override;
    void GL_Draw(COGLDrawCommand* command) override;
    void DrawEdgesGL(bool inPrimitive, bool all) override;
    void DrawBCs(bool skip, double scale, int index) override;

    // --- operations of beam sections, in this order
    virtual void ASCIIExportPrescDOFs(CFile& file, CStringArray& keys, int index);
    // Ties the members at every joint node (see the implementation).
    virtual void FixJoints();
    virtual void ASCIIExportNodeLoads(CFile& file, CStringArray& keys);
    virtual void ASCIIExportLinCoupl(CFile& file, CStringArray& keys, int index);
    virtual void ASCIIExportSupDOFs(CFile& file, CStringArray& keys, int index);
    // Returns the number of member lines written.
    virtual int ASCIIExportBeams(CFile& file, CStringArray& keys, CObList* sections,
                                 const CBeamClassList* classes);
    virtual void DM_SetNodeValues(CMatrix& values, int& row);

    // Runs f on every member once (the member walk over the own nodes).
    template <class F>
    void ForMembers(F f) const
    {
        ForEachNode(true, [&](CSNode* node) {
            CObList* edges = node->GetEdgeList();
            if (!edges)
                return;
            for (POSITION pos = edges->GetHeadPosition(); pos;) {
                auto* member = dynamic_cast<CBeamSeg*>(edges->GetNext(pos));
                if (member && member->GetNode1() == node)
                    f(member);
            }
        });
    }

private:
    // Runs f on every element of every member.
    template <class F>
    void ForElements(F f) const
    {
        ForMembers([&](CBeamSeg* m) {
            CObjVect* elements = m->GetElements();
            for (int i = 0; i < elements->GetSize(); ++i)
                if (auto* element = dynamic_cast<CGraph*>((*elements)[i]))
                    f(element);
        });
    }
    // Ties one set of members at the joint in DOF d (group or final mode).
    void TieMembers(CSNode* joint, const std::vector<CBeamSeg*>& members, int dof, bool group);
    // Writes a text block through an archive over the file: the start line
    // (with "\r\n" unless it holds one), the name line, the data, the end
    // line ("\r\n" appended when missing unless endAsGiven); keys
    // upper-cased when asked. An archive exception ends the block.
    void WriteBlock(CFile& file, CStringArray& keys, bool upper, bool endAsGiven,
                    const std::function<void(CArchive&)>& data);
    // The condition and load blocks: keys as given, data lines as made.
    void WriteBlock(CFile& file, CStringArray& keys, const std::string& data);
};
