// Named pick points recorded once and kept in nested boxes over the model,
// so that a later GL_SELECT pick draws only the points its window can hit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A pick drawing that names each point on its own (glLoadName, then one
// GL_POINTS primitive) is recorded into the index once; every later pick
// draws from the index the points whose boxes the pick window does not
// clip, in the order they were recorded and with the same calls, so the
// hit records and the name a pick chooses stay those of the full drawing.
// The index knows nothing of what the points stand for: its owner drops it
// (Clear) whenever the drawing it recorded would change.
class CPickPointIndex {
public:
    // While one lives, Recorder() answers the index: the pick drawing adds
    // its points there instead of drawing them, with the pick-window cull
    // off so that every point is recorded. The index is built (its boxes
    // made) when the recording ends.
    class Recording {
    public:
        explicit Recording(CPickPointIndex& index);
        ~Recording();
        Recording(const Recording&) = delete;
        Recording& operator=(const Recording&) = delete;

    private:
        CPickPointIndex& m_Index;
        CPickPointIndex* m_pPrevious;
        bool m_bCull;
    };
    // The index being recorded, or null.
    static CPickPointIndex* Recorder();

    // Appends a point drawn under name.
    void Add(std::uint32_t name, double x, double y, double z);
    // Draws the points that the active pick window (CPickWindowCull) may
    // hit, each as a GL point under its name, in recorded order; without an
    // active cull every point.
    void PickDraw() const;
    // Empty and not built.
    void Clear();
    bool IsBuilt() const { return m_bBuilt; }
    std::size_t Size() const { return m_Points.size(); }
    // How many points the last PickDraw drew.
    std::size_t LastDrawn() const { return m_nLastDrawn; }

private:
    void Build();

    struct Point {
        float x, y, z;
        std::uint32_t name;
        std::uint32_t order; // position in the recording
    };
    struct Box {
        float lo[3], hi[3];
    };
    std::vector<Point> m_Points;           // built: grouped by box
    std::vector<std::vector<Box>> m_Levels; // 0: a box per kLeaf points; k + 1: a box per kFan boxes of k
    bool m_bBuilt = false;
    mutable std::size_t m_nLastDrawn = 0;
};
