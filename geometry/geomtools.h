// Small shared parts of the geometry graph: the tolerance comparison of
// doubles, 3D cross products, the growable node-pointer list, the OpenGL
// primitive bracket and the settings record of the graph text import.
#pragma once

#include <unordered_set>

#include "matrix/longvector.h"
#include "platform/afx/afx.h"

class CSNode;

// Equal within factor x 2^-52: relative to b when |b| >= 1, absolute below.
bool IsEqualTol(double a, double b, double factor);
// b := a x b (three doubles each).
void CrossVect3d(const double* a, double* b);
// (bx, by, bz) := (ax, ay, az) x (bx, by, bz).
void CrossVect3dXYZ(double ax, double ay, double az, double* bx, double* by, double* bz);

// A growable array of node pointers in insertion order, without duplicates
// when filled through AddNode. The array and the count are read directly by
// callers; the array holds m_nCapacity slots, of which m_nCount are used.
struct NODELIST {
    NODELIST() = default;
    ~NODELIST();
    // Copies the entries (each list owns its own block).
    NODELIST(const NODELIST& other);
    NODELIST& operator=(const NODELIST& other);

    // -1 for null; the node's index when present; else appends it and
    // returns the new count (so a result equal to the count means "added").
    long AddNode(CSNode* node);
    // Appends every node of nodes[0 .. n) that is neither null nor present
    // yet (nor earlier in nodes), in order, in time linear in the count and
    // n; the number appended. Many nodes go in through this, not AddNode,
    // whose search makes n single adds quadratic.
    long AddNodes(CSNode* const* nodes, long n);
    // Index of the node, -1 when absent.
    long Find(CObject* node) const;
    // Removes the node keeping the order; its former index, -1 when absent.
    long RemoveNode(CObject* node);
    // Removes every listed node in one pass, keeping the order of the rest;
    // the number removed.
    long RemoveNodes(const std::unordered_set<const CObject*>& nodes);
    // Frees the block; the count becomes 0.
    void RemoveAll();
    // Makes room for n entries in all, keeping the present ones.
    void Reserve(int n);
    // Appends, in array order, every node whose graph list holds graph.
    void GetCommonNodes(CObject* graph, CObList& out) const;

    // One GL_POINTS primitive with every node.
    void DrawNodesGL() const;
    // One GL_POINTS primitive with the far end of every edge of the listed
    // nodes that is not listed itself (one point per such edge).
    void DrawOpNodesGL() const;
    // One GL_LINES primitive with every edge of every listed node.
    void DrawEdgesGL() const;

    CSNode** m_pNodes = nullptr;
    int m_nCount = 0;
    int m_nCapacity = 0;
};

// Lets many objects draw into one OpenGL primitive: BeginIf keeps the open
// primitive when the mode is the same and switches it otherwise.
class COGLDrawCommand : public CObject {
    DECLARE_DYNAMIC(COGLDrawCommand)
public:
    // n scale factors of 1.0, polygon mode GL_FILL, nothing open.
    explicit COGLDrawCommand(int n = 0);
    ~COGLDrawCommand() override;
    COGLDrawCommand(const COGLDrawCommand&) = delete;
    COGLDrawCommand& operator=(const COGLDrawCommand&) = delete;

    virtual void FrontColor();

    void Begin(unsigned mode);
    void End();
    void BeginIf(unsigned mode);
    void EndIf();
    bool NoActive() const { return m_uiOpen == kNone; }
    unsigned GetOpenMode() const { return m_uiOpen; }

    static constexpr unsigned kNone = 0xFFFFFFFFu;

    // The scale factors when the command holds at least count of them, else
    // null: a reader of entry count - 1 never reads past the array.
    double* Scales(int count) const { return m_nScale >= count ? m_pScale : nullptr; }

    double* m_pScale = nullptr; // factors the drawing operations multiply magnitudes by
    int m_nScale = 0;
    unsigned m_uiPolyMode;      // GL_FILL at construction
    unsigned m_uiState[3] = {0, 0, 0};

private:
    unsigned m_uiOpen = kNone;
};

// Counters filled by the information operations of elements, meshes,
// regions and conditions; the request mask tells them what to count. The
// archive and text forms are those of the integer vector (the mask is not
// archived).
class CInfoContainer : public CLongVector {
    DECLARE_SERIAL(CInfoContainer)
public:
    CInfoContainer() = default;
    CInfoContainer(const CInfoContainer& src) = default;
    ~CInfoContainer() override = default;
    // Copies the counters and the mask.
    CInfoContainer& operator=(const CInfoContainer& src);

    int m_iMask = 7;
};

// Settings of the graph text import: the keywords (start, end, comment),
// the file to read and whether coincident nodes are merged.
struct ASCII_SETTING {
    ASCII_SETTING() = default;
    ~ASCII_SETTING() = default;

    CStringArray m_Keys;
    CFile* m_pFile = nullptr;
    bool m_bMerge = true;
};
