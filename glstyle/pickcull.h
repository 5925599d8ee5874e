// Skips, during a GL_SELECT pick, the pick primitives that the pick window
// clips.
#pragma once

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
    // A pick cull is in force (the tests are worth making).
    static bool IsActive();

    // Turns the cull off (the pick draws every primitive); the default is on.
    static void SetEnabled(bool enabled);
    static bool IsEnabled();

private:
    double m_Matrix[16] = {};  // projection * modelview, column-major
    CPickWindowCull* m_pPrevious = nullptr;
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
