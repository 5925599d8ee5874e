// CSectPlate: one region of a plate model. A closed outline of boundary
// nodes and edges with optional inner regions, a material (not owned), a
// thickness and a distributed load, each constant or varying by a vector of
// coefficients, and, once meshed, its own finite-element mesh.
//
// Coefficient vectors of four or more entries (c0, c1, c2, c3) describe a
// plane through the point (c0, c1) with the slope (c2, c3):
//   value(x, y) = constant + c2 (x - c0) + c3 (y - c1).
#pragma once

#include "sections/regions/sectmesharea.h"

class CMaterial;
class CMatrix;

class CSectPlate : public CSectMeshArea {
    DECLARE_SERIAL(CSectPlate)
public:
    CSectPlate();
    // Quadrilateral a-b-c-d, named "Quad (n)".
    CSectPlate(CSNode* a, CSNode* b, CSNode* c, CSNode* d, CMaterial* material);
    // Polygon through the listed nodes in order, named "Polygon (n)".
    CSectPlate(CObList* nodes, CMaterial* material);
    // Circle around centre through onCircle with n nodes (at least 3),
    // named "Circle (n)"; mode is handed to the graph's circle builder.
    CSectPlate(CSNode* centre, CSNode* onCircle, CMaterial* material, int n, int mode);
    // Triangle a-b-c, named "Triangle (n)".
    CSectPlate(CSNode* a, CSNode* b, CSNode* c, CMaterial* material);
    // Copy of a region and its inner regions; without keepName the copy is
    // named by its node count. The coefficient vectors start empty (Copy
    // carries them).
    CSectPlate(const CSectPlate& source, bool keepName);
    // One region read from a text file (ASCIIReadGraph); a region that
    // could not be read is left without nodes.
    CSectPlate(CFile* file, CStringArray& markers, int* options, int nOptions, double* values,
               int nValues, CObList* list, double thickness, double load);
    ~CSectPlate() override;

    // Mesh-area part, both coefficient vectors, the outer region as an
    // object reference, the load, the thickness.
    void Serialize(CArchive& ar) override;

    // --- overrides of the graph, area and meshed-region operations
    CGraph* Copy(bool keepName) override;
    void ASCIIExportGraph(CFile& file, CStringArray& markers, int* options, int nOptions,
                          double* values, int nValues) override;
    int ASCIIReadGraph(ASCII_SETTING& set, int* options, int nOptions, double* values,
                       int nValues, CObList* list) override;
    // A boundary node, so that plate nodes can carry conditions and loads.
    CSNode* CreateNode(double x, double y, double z) override;
    // Meshes this region (structured for four corners, else triangles);
    // this region on failure, else the inner regions' answer.
    CObject* Discretize() override;
    // Keeps the copy links: the plate component carries the model's node
    // links over to the mesh nodes after every region is meshed, and then
    // releases the copy links itself.
    void PostDiscretize() override {}
    void CopyAttrib(CSection* other) override;

    // --- own virtual operations, in this order
    virtual void DrawThicknessGL(CMatrix& param, int mode);
    // False when this region's mesh, or an inner region's, has an
    // organiser word with none of bits.
    virtual bool IsMeshKind(unsigned bits);
    virtual void SetLoad(double value, CVector& coeffs);
    virtual void SetThickness(double value, CVector& coeffs);
    // Draws the region as a solid from -t/2 to +t/2, sloped by the
    // thickness plane when there is one; then every inner region.
    virtual void ExtrudeThicknessGL(bool flag);
    // Moves the conditions of the outline edges onto the outline nodes (a
    // user-defined node condition stays): one edge hands its own on along
    // the edge; two edges on a line combine; two at a right angle combine
    // into a corner condition with the node's x axis along an edge; two
    // where the outline bends by less than 25 degrees (a polygon standing
    // for a curve) give the kind both share along the mean direction of the
    // edges, unless the node holds a condition of the user's; two standard
    // kinds at any other corner hold what each holds (the corner condition
    // of the joined kind). Then every inner region.
    virtual void SetBoundaryConditions();
    virtual double GetThickness() { return m_dThickness; }
    virtual double GetLoad() { return m_dLoad; }
    // Material angle, thickness and load of every element into the rows of
    // data from firstRow on (firstRow ends past them); mode 2 for the plate
    // bending codes, 0 for membrane codes under plane stress and 1 under
    // plane strain (a temperature then gives the plane-strain free strains).
    virtual void DisperseElementData(CMatrix& data, int& firstRow, int mode);
    // The free in-plane strains per degree of the material, along its x and
    // y axes: the expansions under plane stress; under plane strain
    // alpha_i + nu alpha_z, alpha_z the mean of the two in-plane expansions
    // ((1 + nu) alpha for an isotropic material).
    static void FreeThermalStrains(CMaterial& material, bool planeStrain, double (&perDegree)[2]);
    // Material identifier and node numbers of every element into the
    // topology table with the given row stride.
    virtual void InsertElementMaterials(int* table, int& index, int stride);

    // --- accessors
    CVector& GetThicknessVector() { return m_ThicknessCoeffs; }
    CVector& GetLoadVector() { return m_LoadCoeffs; }
    // Constant value; the matching coefficient vector is emptied.
    void SetThickness(double value);
    void SetLoad(double value);

    // --- meshing and drawing helpers
    // Structured four-corner meshing only.
    bool MeshQuadRegion(int oddPattern, int evenPattern, double angle);
    // Switches the mesh (and the inner regions' meshes) between the
    // quadrilateral kinds 104 and 105.
    void QuadToQuad(int kind);
    void DrawEdgeLoads(double scale, bool onMesh, int unused = 0);
    // Whether the region lies right of the edge (node 1 -> node 2): its
    // loads are then drawn on the edge's left.
    bool IsRightOfEdgeInside(CEdge* edge);
    void DrawDispersAngle();

protected:
    double m_dThickness = 0.0;
    double m_dLoad = 0.0;
    CVector m_ThicknessCoeffs;
    CVector m_LoadCoeffs;

private:
    // Every constructor but the name-keeping copy: "<prefix> (n)" from the
    // graph identifier.
    void NameFromID(const char* prefix);
};
