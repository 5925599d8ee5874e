// Free triangle mesher of a plane region.
//
// A derived class feeds the mesher through callbacks: the outer boundary
// points (the mesher closes the polygon itself), then the inner boundaries
// (hole loops: points and segments), then the refine points and refine
// polylines. The mesher triangulates the region, places graded interior
// points, smooths them and hands the result to BuildOutput as typed node and
// element records.
#pragma once

#include <atomic>

namespace weblar_detail
{
struct WorkStorage;
}

// Base of the mesh generators: the process-wide stop flag.
class CMGenerator
{
public:
    CMGenerator() = default;
    virtual ~CMGenerator() = default;
    CMGenerator(const CMGenerator&) = delete;
    CMGenerator& operator=(const CMGenerator&) = delete;

    // A stop request ends a running mesh generation promptly; a new mesh
    // generation does not clear it (its caller does).
    static std::atomic<bool> m_bStop; // set by Stop from the window thread
    static void Stop(bool bStop) { m_bStop = bStop; }
};

class CEasyMesh : public CMGenerator
{
public:
    // An output node: coordinates, or an empty record.
    struct node {
        double x;
        double y;
        bool bEmpty;
    };
    // An output triangle: three node indices, counter-clockwise.
    struct elem {
        int n[3];
        bool bEmpty;
    };
    // A loaded segment: from == -1 or to == -1 marks an unused record (the
    // end of a segment list).
    struct segment {
        int from;
        int to;
        int marker;
        int flag;
    };

    CEasyMesh();
    ~CEasyMesh() override;

    // The work storage shared by all meshers. Calls nest: the storage lives
    // from the first AllocStatics to the matching last DeAllocStatics.
    static void AllocStatics();
    static void DeAllocStatics();
    // Number of AllocStatics not yet balanced by DeAllocStatics.
    static int StaticsDepth();
    // Initial capacity (node records) of the work storage; never a limit.
    static int m_nMaxNodes;
    // The largest initial capacity taken: the node count of the largest
    // meshes the program makes (1e6 elements). A larger m_nMaxNodes (from
    // the settings, say) reserves only this much.
    static constexpr int kMaxReserveNodes = 1000000;

    // Loads the input through the callbacks (outer, inner, refine), meshes it
    // and calls BuildOutput. pointCount and innerPointCount are the caller's
    // counts, kept in m_nPointCount and m_nInnerPointCount; the mesher relies
    // on the points actually loaded. Input it cannot mesh gives false with a
    // message (ShowMessage) unless bQuiet. A stop request gives false without
    // a message. Never throws.
    bool Mesh(int pointCount, int innerPointCount, bool bQuiet, bool bUnused1 = false,
              bool bUnused2 = true);

    // The output of the last run, valid in BuildOutput (and after Mesh while
    // the work storage lives): node records 0..k-1 are the loaded points in
    // index order (an index never loaded is an empty record), interior nodes
    // follow.
    static node* m_pNode;
    static elem* m_pElem;
    int m_nNodes = 0;
    int m_nElems = 0;

    // Bounding box of the outer boundary; the loader widens it.
    double m_dMaxX;
    double m_dMinX;
    double m_dMaxY;
    double m_dMinY;

    // The caller's point count; loaders may adjust it.
    int m_nPointCount = 0;
    int m_nInnerPointCount = 0;

protected:
    // Input. index/segment are record numbers from 0. value: for refine
    // points (marker 2) the wanted node spacing; boundary spacing comes from
    // the distances of the boundary points. marker: 1 outer boundary, 2
    // refine point or polyline, 3 and above one inner boundary each.
    // A segment with from == to only marks a point. Virtual so that a
    // derived class can watch what it loads.
    virtual void LoadPoint(int index, double x, double y, double value, int marker);
    virtual void LoadSegment(int segment, int from, int to, int marker, int flag);
    // Direct access to a segment record (grows the list as needed).
    segment& SegmentRecord(int segment);

    // Callbacks, in this order during Mesh.
    // Loads the outer boundary points from index 0; returns their number.
    virtual int LoadOuterBoundary() { return 0; }
    // Load from index on and advance it past the points loaded.
    virtual void LoadInnerBoundaries(int& /*index*/) {}
    virtual void LoadRefinePoints(int& /*index*/) {}
    // Reads m_pNode/m_pElem; false makes Mesh fail.
    virtual bool BuildOutput() { return true; }

    // Progress (0..100); the mesher reports it now and then.
    virtual void ShowProgress(int /*percent*/) {}
    // Questions and messages, through the platform message service.
    virtual bool AskYesNo(const char* text);
    virtual void ShowMessage(const char* text);
    virtual void ShowValue(double value, const char* text, int unused);

private:
    bool Run(bool bQuiet);
    bool Refuse(bool bQuiet, const char* text);
};
