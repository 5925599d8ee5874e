// Skips, during a GL_SELECT pick, the pick points that the pick window clips.
#pragma once

// While one of these lives (set up right before a pick's drawing), points
// whose clip-space position lies outside the pick window in x or y are
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

    // Turns the cull off (the pick draws every point); the default is on.
    static void SetEnabled(bool enabled);
    static bool IsEnabled();

private:
    double m_Matrix[16] = {};  // projection * modelview, column-major
    CPickWindowCull* m_pPrevious = nullptr;
};
