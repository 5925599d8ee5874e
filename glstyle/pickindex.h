// A tree of the model-space boxes of pickable things, so that a pick visits
// only the things whose box the pick window may meet.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "glstyle/pickcull.h"

// Calls f(i) for i = 0 .. n - 1, split over a few threads when n is large
// (building a pick index walks the whole model; f must only read it and
// write its own i's results).
void ForEachPickItem(std::size_t n, const std::function<void(std::size_t)>& f);

// The 16-bit quantities a and b interleaved bit by bit (a Z-order key):
// points close in the plane get close keys.
std::uint32_t PickZOrderKey(std::uint32_t a, std::uint32_t b);

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

// Items drawn under a pick in a fixed order (a model's sections, a mesh's
// elements) with their boxes, as of one model revision; for band picks
// also the names each item loads.
class CPickIndex {
public:
    bool IsBuiltAt(unsigned long revision) const { return m_bBuilt && m_nRevision == revision; }
    void Build(unsigned long revision, const std::vector<CPickBox>& boxes);
    std::size_t Size() const { return m_tree.Size(); }

    // Draws, in drawing order, the items whose box the active pick window
    // may meet: draw(i) for item i. Under a band pick (CPickRecorder), an
    // item that the window holds whole gives its names of the kinds in what
    // as hits instead of being drawn, when they are all certain hits;
    // lister(i, out) appends item i's names in drawing order (false when
    // they are not known), once per build and only for items a band held.
    // fillsHit: whether names of kind 1 marked certain are hits under the
    // current GL state.
    template <class Draw, class Lister>
    void Pick(int what, bool fillsHit, Draw draw, Lister lister);

private:
    // What is known of an item's names.
    enum : unsigned char { kUnlisted, kUnknown, kCertain, kCertainButFills };
    // Lists item i's names (once per build) and answers what is known.
    template <class Lister>
    unsigned char Listed(std::size_t i, Lister& lister);

    bool m_bBuilt = false;
    unsigned long m_nRevision = 0;
    CPickBoxTree m_tree;
    std::vector<std::uint32_t> m_found;
    std::vector<bool> m_held;
    // Listed only for the items a band holds, when first held: item i's
    // names are m_names[m_first[i]] up to m_names[m_first[i] + m_count[i]].
    std::vector<CPickName> m_names;
    std::vector<std::size_t> m_first;
    std::vector<std::uint32_t> m_count;
    std::vector<unsigned char> m_state;
};

template <class Lister>
unsigned char CPickIndex::Listed(std::size_t i, Lister& lister)
{
    if (m_state.size() != m_tree.Size()) {
        m_state.assign(m_tree.Size(), kUnlisted);
        m_first.assign(m_tree.Size(), 0);
        m_count.assign(m_tree.Size(), 0);
    }
    if (m_state[i] != kUnlisted)
        return m_state[i];
    const std::size_t start = m_names.size();
    bool known = lister(i, m_names);
    bool fills = true;
    for (std::size_t k = start; known && k < m_names.size(); ++k) {
        if (m_names[k].kind == 1)
            fills = fills && m_names[k].certain;
        else
            known = m_names[k].certain;
    }
    if (!known) {
        m_names.resize(start);
        return m_state[i] = kUnknown;
    }
    m_first[i] = start;
    m_count[i] = static_cast<std::uint32_t>(m_names.size() - start);
    return m_state[i] = fills ? kCertain : kCertainButFills;
}

template <class Draw, class Lister>
void CPickIndex::Pick(int what, bool fillsHit, Draw draw, Lister lister)
{
    CPickRecorder* band = CPickRecorder::Active();
    if (!band) {
        m_tree.Candidates(m_found);
        for (std::uint32_t i : m_found)
            draw(i);
        return;
    }
    m_tree.Candidates(m_found, m_held);
    bool known = false;
    unsigned last = 0;
    for (std::size_t c = 0; c < m_found.size(); ++c) {
        const std::uint32_t i = m_found[c];
        const unsigned char state = m_held[c] ? Listed(i, lister) : static_cast<unsigned char>(kUnknown);
        const bool fills = !(what & 1) || (fillsHit && state == kCertain);
        if ((state == kCertain || state == kCertainButFills) && fills) {
            if (!known)
                band->BeginKnown();
            known = true;
            for (std::size_t k = m_first[i]; k < m_first[i] + m_count[i]; ++k)
                if (m_names[k].kind & what) {
                    band->Hit(m_names[k].name);
                    last = m_names[k].name;
                }
            continue;
        }
        if (known)
            band->EndKnown(last);
        known = false;
        draw(i);
    }
    if (known)
        band->EndKnown(last);
}
