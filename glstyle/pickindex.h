// A tree of the model-space boxes of pickable things, so that a pick visits
// only the things whose box the pick window may meet.
#pragma once

#include <cstdint>
#include <vector>

#include "glstyle/pickcull.h"

// One name that a selection drawing loads, with the kind of object drawn
// under it (1 a fill or a whole graph, 2 a node, 4 an edge) and whether a
// pick window that holds the object's box certainly hits it.
struct CPickName {
    unsigned name;
    unsigned char kind;
    bool certain;
};

class CPickBoxTree {
public:
    // One box per item, items numbered in their drawing order. An empty box
    // (CPickBox without points) or one with a coordinate that is not finite
    // stands for an item whose extent is unknown: it is always a candidate.
    void Build(const std::vector<CPickBox>& boxes);
    void Clear();
    std::size_t Size() const { return m_nItems; }

    // The items whose box the active pick window (CPickWindowCull) does not
    // certainly miss, in ascending order (the drawing order). Without an
    // active cull, every item.
    void Candidates(std::vector<std::uint32_t>& out) const;
    // The same, and for each candidate whether the window certainly holds
    // its whole box (CPickWindowCull::HoldsBox).
    void Candidates(std::vector<std::uint32_t>& out, std::vector<bool>& held) const;

private:
    struct Box {
        float lo[3], hi[3];
    };
    static Box Rounded(const CPickBox& box);
    static void Grow(Box& into, const Box& box);
    static bool Missed(const Box& box);
    static bool Held(const Box& box);
    // Marks the items under the node: 1 a candidate, 2 also held.
    void Visit(int level, std::size_t node, bool held, std::vector<std::uint32_t>& out,
               std::vector<unsigned char>* marks) const;
    void Collect(std::vector<std::uint32_t>& out, std::vector<bool>* held) const;

    std::size_t m_nItems = 0;
    std::vector<std::uint32_t> m_order;  // items in leaf order
    std::vector<Box> m_itemBoxes;        // by leaf order
    std::vector<std::vector<Box>> m_levels; // [0] leaves; each level halves
    std::vector<std::uint32_t> m_unbounded;
};
