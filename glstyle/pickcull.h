// Skips, during a GL_SELECT pick, the pick primitives that the pick window
// clips.
#pragma once

#include <cstddef>
#include <vector>

// While one of these lives (set up right before a pick's drawing), points
// whose clip-space position lies outside the pick window in x or y, and
// primitives whose box lies wholly beyond one side of the window, are
// skipped before any GL call: GL would clip them anyway, so the names a pick
// returns stay the same. Outside GL_SELECT the cull never skips anything.
class CPickWindowCull {
public:
    CPickWindowCull();
    ~CPickWindowCull();
    CPickWindowCull(const CPickWindowCull&) = delete;
    CPickWindowCull& operator=(const CPickWindowCull&) = delete;

    // True when the point certainly falls outside the active pick window.
    static bool Skips(double x, double y, double z);
    // True when every point of the box lo - hi (three doubles each)
    // certainly lies beyond one side of the active pick window, so that no
    // primitive inside the box can be hit.
    static bool SkipsBox(const double* lo, const double* hi);
    // True when every point of the box certainly lies inside the active
    // pick window (and between its near and far planes) and no user clip
    // plane is on: a point, a line or a filled triangle drawn there is a hit.
    static bool HoldsBox(const double* lo, const double* hi);
    // True when, under the current GL state, a filled triangle of non-zero
    // area that the window holds is a hit: no face is culled and both faces
    // are filled.
    static bool FilledFacesHit();
    // A pick cull is in force (the tests are worth making).
    static bool IsActive();

    // Turns the cull off (the pick draws every primitive); the default is on.
    static void SetEnabled(bool enabled);
    static bool IsEnabled();

private:
    double m_Matrix[16] = {};  // projection * modelview, column-major
    bool m_bClipPlanes = false; // a user clip plane is on
    CPickWindowCull* m_pPrevious = nullptr;
};

// Hits known without drawing, during a band pick (one that collects every
// name the pick window meets, in drawing order). The band pick sets one up
// right after entering GL_SELECT and before the drawing, and reads the hits
// with Finish instead of reading the selection buffer itself. Drawing code
// that knows an object lies wholly inside the window may report it as a
// hit: between BeginKnown and EndKnown it calls Hit once for each name it
// would have loaded and drawn. The hit records that GL made before are taken
// out of the selection buffer at BeginKnown, so the records keep the
// drawing order; no GL drawing may happen until EndKnown.
class CPickRecorder {
public:
    // buffer and words: the selection buffer given to GL.
    CPickRecorder(unsigned* buffer, std::size_t words);
    ~CPickRecorder();
    CPickRecorder(const CPickRecorder&) = delete;
    CPickRecorder& operator=(const CPickRecorder&) = delete;

    // The recorder of the band pick in progress, or null.
    static CPickRecorder* Active();

    void BeginKnown();
    void Hit(unsigned name) { m_records.push_back(Record{1, name}); }
    // Back to GL_SELECT with lastName as the loaded name.
    void EndKnown(unsigned lastName);

    // After the drawing, with the hit count glRenderMode(GL_RENDER) gave:
    // the names of the hit records in drawing order, each non-zero name
    // once, as far as the records would have filled the selection buffer.
    std::vector<unsigned> Finish(int hits);

private:
    struct Record {
        unsigned names; // the record's name count
        unsigned name;  // its innermost name
    };
    // Moves the complete records of the selection buffer into m_records.
    void TakeRecords(int hits);

    unsigned* m_pBuffer;
    std::size_t m_nWords;
    std::vector<Record> m_records;
    bool m_bKnown = false;
    CPickRecorder* m_pPrevious = nullptr;
};

// A box grown point by point; empty until the first point.
struct CPickBox {
    double lo[3] = {1e300, 1e300, 1e300};
    double hi[3] = {-1e300, -1e300, -1e300};

    void Add(double x, double y, double z)
    {
        const double p[3] = {x, y, z};
        for (int k = 0; k < 3; ++k) {
            if (p[k] < lo[k])
                lo[k] = p[k];
            if (p[k] > hi[k])
                hi[k] = p[k];
        }
    }
    bool IsEmpty() const { return lo[0] > hi[0]; }
    // True when the active pick window certainly misses the whole box (an
    // empty box is never skipped: nothing is known about it).
    bool Skipped() const { return !IsEmpty() && CPickWindowCull::SkipsBox(lo, hi); }
};
