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
    // they are not known), once per build. fillsHit: whether names of kind
    // 1 marked certain are hits under the current GL state.
    template <class Draw, class Lister>
    void Pick(int what, bool fillsHit, Draw draw, Lister lister);

private:
    template <class Lister>
    void ListNames(Lister lister);

    bool m_bBuilt = false;
    unsigned long m_nRevision = 0;
    CPickBoxTree m_tree;
    std::vector<std::uint32_t> m_found;
    std::vector<bool> m_held;
    // Item i's names are m_names[m_first[i]] up to m_names[m_first[i + 1]];
    // m_listed[i]: known and all certain but maybe for fills;
    // m_fillsCertain[i]: its fills certain too.
    bool m_bNamesListed = false;
    std::vector<CPickName> m_names;
    std::vector<std::size_t> m_first;
    std::vector<bool> m_listed;
    std::vector<bool> m_fillsCertain;
};

template <class Lister>
void CPickIndex::ListNames(Lister lister)
{
    m_bNamesListed = true;
    const std::size_t n = m_tree.Size();
    m_names.clear();
    m_first.assign(1, 0);
    m_listed.assign(n, false);
    m_fillsCertain.assign(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t start = m_names.size();
        bool listed = lister(i, m_names);
        if (!listed)
            m_names.resize(start);
        bool fills = true;
        for (std::size_t k = start; k < m_names.size(); ++k) {
            if (m_names[k].kind == 1)
                fills = fills && m_names[k].certain;
            else
                listed = listed && m_names[k].certain;
        }
        m_listed[i] = listed;
        m_fillsCertain[i] = fills;
        m_first.push_back(m_names.size());
    }
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
    if (!m_bNamesListed)
        ListNames(lister);
    bool known = false;
    unsigned last = 0;
    for (std::size_t c = 0; c < m_found.size(); ++c) {
        const std::uint32_t i = m_found[c];
        if (m_held[c] && m_listed[i] && (!(what & 1) || (fillsHit && m_fillsCertain[i]))) {
            if (!known)
                band->BeginKnown();
            known = true;
            for (std::size_t k = m_first[i]; k < m_first[i + 1]; ++k)
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
