// CBeamSeg: a straight beam member. An edge of the geometry graph between
// two nodes that carries a cross-section (not owned), an orientation vector
// i3 (the member's local z), optional end offsets, an optional member load
// and the finite elements it is discretised into.
//
// Local axes of a member: row 0 the unit direction d, row 2 i3, row 1
// i3 x d. The section's x runs along row 1 and its y along row 2.
#pragma once

#include "femodel/strelna.h"
#include "sections/beams/crsectcomp.h"

#include <array>
#include <functional>
#include <vector>

class CModelInfo;

// The element classes of the beam text exchange in code order. The list
// does not own them: class records are not objects.
using CBeamClassList = std::vector<CRuntimeClass*>;

class CBeamSeg : public CEdge
{
    DECLARE_SERIAL(CBeamSeg)
public:
    CBeamSeg();
    // Runs AutoUpdate_i3.
    CBeamSeg(CSNode* node1, CSNode* node2, CCrSectComp* crSect);
    // Deletes the auxiliary vector, the end values, the elements and the
    // member load; the cross-section stays.
    ~CBeamSeg() override;

    // --- overrides of the edge
    // The edge, offsets, i3, spare integer, element count, member load,
    // element class, cross-section, auxiliary vector, end values.
    void Serialize(CArchive& ar) override;
    // By the command's flags: the member (load, axes, colour, solid or
    // lines) or its elements.
    void GL_Draw(COGLDrawCommand* command) override;
    // (node 2 + end offset) - (node 1 + start offset); scaled to len when
    // len is not 0.
    void DirVect(double& dx, double& dy, double& dz, double len) override;
    // Solid: a prism of the cross-section (or the default prism); else the
    // vertices of three line segments, node 1 to start point, start to end
    // point, end point to node 2, inside the caller's GL_LINES.
    void GLLine(bool solid, CSNode* from) override;
    using CEdge::GLLine;
    bool DrawsChord() const override { return false; }
    // A new member with the properties NewEdge hands on, plus offsets, i3,
    // a copy of the member load and of the end values.
    CEdge* Copy(CSNode* first, CSNode* second) override;
    double GetLength() const override;
    // The edge's update, then AutoUpdate_i3.
    void Update() override;

    // --- operations of beam members, in this order
    // Element count from the wanted element length h; with an element class
    // only when this member's class derives from it.
    virtual void SeedMeshLen(double h, unsigned elementClass);
    // v = the centre of gravity (0, cx, cy) in global coordinates; false
    // without cross-section or with the centre at the origin.
    virtual bool GetGlobCOG_Eccent(CVector& v, double length);
    // The member's line: the ends with their offsets, moved by the centre
    // of gravity of the section.
    virtual void GetBeamAxisDef(CVector& start, CVector& end, CVector* extra);
    // Deletes the elements.
    virtual void DM_Clean();
    virtual void GLDrawLoad(COGLDrawCommand* command);
    // The local axes as rows of a 3 x 3 matrix.
    virtual void GetT_loc(CMatrix& t, double length);
    // Turns i3 and the offsets by the 3 x 3 matrix.
    virtual void PreMult(CMatrix& r, CVector& work);
    // Splits the member into n members along its line; n below 2 does
    // nothing.
    virtual void Divide(int mode, int n);
    // The member line of the beam text export: code, cross-section number
    // (see CodeOf, SectionNumber), node identifiers, element count, i3.
    virtual void ASCIIExport(CArchive& ar, CObList* sections, const CBeamClassList* classes);
    // With bit 8 of the code, every element's picking with the code
    // without it.
    virtual void PickDrawAddressGL(int code);
    virtual void DM_GetRotParam(CLongVector& list, int& count);
    virtual void GetI3(double& x, double& y, double& z);
    // Stores and normalises i3.
    virtual void SetI3(double x, double y, double z);
    // Returns the former class.
    virtual CRuntimeClass* SetElemClass(CRuntimeClass* elementClass);
    virtual CRuntimeClass* GetElemClass();
    virtual void DM_SetNodeValues(CMatrix& values, int& row);
    // Scales the element count by n (or divides it by -n); with an element
    // class only when this member's class derives from it.
    virtual void RefineUniform(int n, unsigned elementClass);
    // Each element's kind at the running index.
    virtual void GetKIND(CLongVector& kinds, int& index);
    virtual CObjVect* GetElements();
    // First node of element i; for any other index the last node of the
    // last element; null without elements.
    virtual CSNode* GetElemNode(int i);
    virtual CCrSectComp* GetCrSect();
    // Returns the former cross-section.
    virtual CCrSectComp* SetCrSect(CCrSectComp* crSect);
    // i3 made perpendicular to the member, or rebuilt from its direction.
    virtual void AutoUpdate_i3();
    virtual void DM_BuildData(CModelInfo& model);
    virtual void DM_SetResults(CModelInfo& model);
    virtual void DM_InsertNodeBCs(CModelInfo& model);
    virtual void DM_GetInfo(CInfoContainer& info);
    virtual void GetBCNodes(CObList& nodes);
    virtual void GetDiscrCoord(CMatrix& coord);
    // From the last element to the first.
    virtual void GetMMNPC(CLongMatrix& table);
    virtual void GetMMNPC(CLongVector& nodes, CLongVector& pointers, int& count);
    // Makes the elements: element count segments of the element class.
    virtual void Discretize();
    // Hands the bar elements the cross-section, i3 and the end offsets.
    virtual void PostDiscretize();

    // --- non-virtual access
    CVector& GetStartOffset() { return m_StartOff; }
    CVector& GetEndOffset() { return m_EndOff; }
    CVector* GetAuxVector() const { return m_pAux; }
    // Takes the vector over (null removes it).
    void SetAuxVector(CVector* v);
    // Start and end value, or null.
    const double* GetEndValues() const { return m_pEndVals; }
    void SetEndValues(double start, double end);
    void ClearEndValues();
    int GetSpare() const { return m_iSpare; }
    void SetSpare(int v) { m_iSpare = v; }
    int GetElemCount() const { return m_nElem; }
    void SetElemCount(int n) { m_nElem = n; }
    CObject* GetMemberLoad() const { return m_pLoad; }
    // Takes the load over, deleting the former one (null removes it).
    void SetMemberLoad(CObject* load);
    const CVector& GetI3Vector() const { return m_i3; }

    // Element classes carried in the unsigned class argument of
    // SeedMeshLen and RefineUniform: 0 is none, other values stand for the
    // classes in a process-wide table.
    static unsigned ClassToken(const CRuntimeClass* elementClass);
    static const CRuntimeClass* TokenClass(unsigned token);

    // Position (from 1) of the cross-section in the list; 0 without one,
    // with an empty list or when the list does not hold it.
    static unsigned SectionNumber(CCrSectComp* crSect, CObList* sections);
    // Position (from 0) of the class in the list, -1 when it is not there.
    static int ClassIndex(CRuntimeClass* elementClass, const CBeamClassList* classes);
    // The member code of the text exchange: a straight member's class
    // position from 1, an arch's 11 + 10 x arch type + class position from
    // 0. A member without class, or with one the list lacks, is written as
    // the list's first class, so that kind and arch type read back.
    unsigned CodeOf(const CBeamClassList* classes) const;

    static int m_nDefElem;
    // The most elements one member may be divided into: the largest element
    // count the mesher and the solver are measured at.
    static constexpr int kMaxElemCount = 1000000;
    static CRuntimeClass* m_pDefElemClass;
    static CRuntimeClass* m_pCreateElemClass;
    static CVector m_Defi3;

protected:
    CEdge* NewEdge(CSNode* first, CSNode* second) override;

    // Hands a new member the cross-section's companions: i3, spare
    // integer, element count, element class and a copy of the auxiliary
    // vector; then fits i3 to it.
    void HandOn(CBeamSeg* edge) const;
    // The class the elements are made of: this member's, else the default.
    CRuntimeClass* UsedElemClass() const;
    // Whether UsedElemClass derives from the class of the token (true for
    // token 0).
    bool ClassMatches(unsigned token) const;
    // Node 1 + start offset, node 2 + end offset.
    void StartPoint(double* p) const;
    void EndPoint(double* p) const;
    // The end node's node for the analysis: its copy, made and linked when
    // it has none.
    static CSNode* AnalysisNode(CSNode* node);
    // Adds a node load to a node that can carry one; deleted otherwise.
    static void AddNodeLoad(CSNode* node, CNodeLoad* load);
    // The elements as made by Discretize, in order.
    CElement* ElementAt(int i) const;
    int ElementCount() const { return m_Elements.GetSize(); }
    // Element i when it is a bar element, else null.
    CBarElm* BarAt(int i) const;
    // Makes the element list from the node chain (count + 1 nodes).
    void MakeElements(CRuntimeClass* elementClass, const std::vector<CSNode*>& nodes);
    // Adds v to the element's eccentricity at end 1 or 2 (a bar element
    // only; the eccentricity is made when missing).
    static void AddEccentricity(CElement* element, int end, const double* v);
    // Adds the start offset to the first element's start eccentricity and
    // the end offset to the last element's end eccentricity (bar elements).
    void AddEndOffsets();
    // The graph new nodes of a division join: the common graph of the two
    // end nodes, else node 1's first one; null when neither is a graph.
    CGraph* DivisionGraph() const;
    // A new node of node 1's class at p, in the owner when there is one.
    CSNode* NewDivisionNode(CGraph* owner, const double* p) const;
    // Cuts the member at the interior points into points.size() + 1 segments:
    // new segments before this member, which keeps the last one. The first
    // segment takes the start offset and a non-zero start value, each segment
    // its part of the member load; made(segment, i) sees each new segment.
    void SplitAt(const std::vector<std::array<double, 3>>& points, CGraph* owner,
                 const std::function<void(CBeamSeg*, int)>& made);
    // Local axes as rows: row 0, row 2 x row 0, row 2.
    static void SetAxes(CMatrix& t, const double* row0, const double* row2);
    // Runs f on every element.
    template <class F> void ForElements(F f)
    {
        for (int i = 0; i < ElementCount(); ++i)
            if (CElement* element = ElementAt(i))
                f(element);
    }
    // Writes one member line: the leading numbers, then i3 as a token I1 to
    // I3 (with pad blanks before it) when it is a unit vector, else as three
    // numbers.
    void WriteExportLine(CArchive& ar, const std::vector<unsigned>& lead, const char* pad) const;
    // Default prism of a member without cross-section.
    void DefaultPrismGL(const double* start, const double* end);

    CVector m_StartOff;
    CVector m_EndOff;
    CVector* m_pAux = nullptr;
    double* m_pEndVals = nullptr;
    int m_iSpare = 0;
    int m_nElem;
    CObject* m_pLoad = nullptr;
    CRuntimeClass* m_pElemClass;
    CCrSectComp* m_pCrSect = nullptr;
    CObjVect m_Elements;
    CVector m_i3;
};
