#include "glstyle/pickindex.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace {

constexpr std::size_t kLeafItems = 8;

// The float nearest to v on the side away from the box's inside, so that
// the rounded box holds the exact one.
float Down(double v)
{
    float f = static_cast<float>(v);
    if (static_cast<double>(f) > v)
        f = std::nextafter(f, -INFINITY);
    return f;
}

float Up(double v)
{
    float f = static_cast<float>(v);
    if (static_cast<double>(f) < v)
        f = std::nextafter(f, INFINITY);
    return f;
}


// Sorts keys on their upper 32 bits (least significant digit first, so
// equal codes keep their order).
void SortByHighWord(std::vector<std::uint64_t>& keys)
{
    std::vector<std::uint64_t> other(keys.size());
    for (int shift = 32; shift < 64; shift += 11) {
        std::size_t count[2049] = {};
        for (std::uint64_t k : keys)
            ++count[((k >> shift) & 0x7FF) + 1];
        for (int i = 0; i < 2048; ++i)
            count[i + 1] += count[i];
        for (std::uint64_t k : keys)
            other[count[(k >> shift) & 0x7FF]++] = k;
        keys.swap(other);
    }
}

} // namespace

void ForEachPickItem(std::size_t n, const std::function<void(std::size_t)>& f)
{
    // A few threads at most: the walk is bound by memory, and the machine
    // is shared with the rest of the program.
    constexpr std::size_t kPerThread = 65536;
    const std::size_t threads =
        std::min<std::size_t>({4, std::max(1u, std::thread::hardware_concurrency()), (n + kPerThread - 1) / kPerThread});
    if (threads <= 1) {
        for (std::size_t i = 0; i < n; ++i)
            f(i);
        return;
    }
    const auto run = [&](std::size_t t) {
        for (std::size_t i = n * t / threads; i < n * (t + 1) / threads; ++i)
            f(i);
    };
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < threads; ++t)
        pool.emplace_back(run, t);
    run(0);
    for (std::thread& thread : pool)
        thread.join();
}

CPickBoxTree::Box CPickBoxTree::Rounded(const CPickBox& box)
{
    Box out;
    for (int k = 0; k < 3; ++k) {
        out.lo[k] = Down(box.lo[k]);
        out.hi[k] = Up(box.hi[k]);
    }
    return out;
}

void CPickBoxTree::Grow(Box& into, const Box& box)
{
    for (int k = 0; k < 3; ++k) {
        into.lo[k] = std::min(into.lo[k], box.lo[k]);
        into.hi[k] = std::max(into.hi[k], box.hi[k]);
    }
}

bool CPickBoxTree::Missed(const Box& box)
{
    const double lo[3] = {box.lo[0], box.lo[1], box.lo[2]};
    const double hi[3] = {box.hi[0], box.hi[1], box.hi[2]};
    return CPickWindowCull::SkipsBox(lo, hi);
}

void CPickBoxTree::Clear()
{
    m_nItems = 0;
    m_order.clear();
    m_itemBoxes.clear();
    m_levels.clear();
    m_unbounded.clear();
}

void CPickBoxTree::Build(const std::vector<CPickBox>& boxes)
{
    Clear();
    m_nItems = boxes.size();
    std::vector<std::uint32_t> bounded;
    bounded.reserve(boxes.size());
    double lo[2] = {INFINITY, INFINITY}, hi[2] = {-INFINITY, -INFINITY};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const CPickBox& b = boxes[i];
        bool finite = !b.IsEmpty();
        for (int k = 0; k < 3 && finite; ++k)
            finite = std::isfinite(b.lo[k]) && std::isfinite(b.hi[k]);
        if (!finite) {
            m_unbounded.push_back(static_cast<std::uint32_t>(i));
            continue;
        }
        bounded.push_back(static_cast<std::uint32_t>(i));
        for (int k = 0; k < 2; ++k) {
            const double c = 0.5 * (b.lo[k] + b.hi[k]);
            lo[k] = std::min(lo[k], c);
            hi[k] = std::max(hi[k], c);
        }
    }
    if (bounded.empty())
        return;
    // Items close in the plane come close in the leaf order (a Z-order of
    // the box centres), so that the tree's boxes stay small.
    std::vector<std::uint64_t> keys;
    keys.reserve(bounded.size());
    for (std::uint32_t i : bounded) {
        std::uint32_t cell[2];
        for (int k = 0; k < 2; ++k) {
            const double span = hi[k] - lo[k];
            const double c = 0.5 * (boxes[i].lo[k] + boxes[i].hi[k]);
            const double t = span > 0.0 ? (c - lo[k]) / span : 0.0;
            cell[k] = static_cast<std::uint32_t>(std::clamp(t, 0.0, 1.0) * 65535.0);
        }
        const std::uint64_t code = PickZOrderKey(cell[0], cell[1]);
        keys.push_back((code << 32) | i);
    }
    SortByHighWord(keys);
    m_order.resize(keys.size());
    m_itemBoxes.resize(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        m_order[k] = static_cast<std::uint32_t>(keys[k] & 0xFFFFFFFFu);
        m_itemBoxes[k] = Rounded(boxes[m_order[k]]);
    }
    std::vector<Box> level((m_order.size() + kLeafItems - 1) / kLeafItems);
    for (std::size_t leaf = 0; leaf < level.size(); ++leaf) {
        const std::size_t first = leaf * kLeafItems;
        const std::size_t last = std::min(first + kLeafItems, m_order.size());
        level[leaf] = m_itemBoxes[first];
        for (std::size_t k = first + 1; k < last; ++k)
            Grow(level[leaf], m_itemBoxes[k]);
    }
    m_levels.push_back(std::move(level));
    while (m_levels.back().size() > 1) {
        const std::vector<Box>& below = m_levels.back();
        std::vector<Box> up((below.size() + 1) / 2);
        for (std::size_t i = 0; i < up.size(); ++i) {
            up[i] = below[2 * i];
            if (2 * i + 1 < below.size())
                Grow(up[i], below[2 * i + 1]);
        }
        m_levels.push_back(std::move(up));
    }
}

bool CPickBoxTree::Held(const Box& box)
{
    const double lo[3] = {box.lo[0], box.lo[1], box.lo[2]};
    const double hi[3] = {box.hi[0], box.hi[1], box.hi[2]};
    return CPickWindowCull::HoldsBox(lo, hi);
}

void CPickBoxTree::Visit(int level, std::size_t node, bool held, std::vector<std::uint32_t>& out,
                         std::vector<unsigned char>* marks) const
{
    const Box& box = m_levels[static_cast<std::size_t>(level)][node];
    if (!held) {
        if (Missed(box))
            return;
        held = marks && Held(box);
    }
    if (level == 0) {
        const std::size_t first = node * kLeafItems;
        const std::size_t last = std::min(first + kLeafItems, m_order.size());
        for (std::size_t k = first; k < last; ++k) {
            if (!held && Missed(m_itemBoxes[k]))
                continue;
            out.push_back(m_order[k]);
            if (marks)
                (*marks)[m_order[k]] = held || Held(m_itemBoxes[k]) ? 2 : 1;
        }
        return;
    }
    const std::vector<Box>& below = m_levels[static_cast<std::size_t>(level - 1)];
    Visit(level - 1, 2 * node, held, out, marks);
    if (2 * node + 1 < below.size())
        Visit(level - 1, 2 * node + 1, held, out, marks);
}

void CPickBoxTree::Collect(std::vector<std::uint32_t>& out, std::vector<bool>* held) const
{
    out.clear();
    if (held)
        held->clear();
    if (!CPickWindowCull::IsActive()) {
        out.resize(m_nItems);
        for (std::size_t i = 0; i < m_nItems; ++i)
            out[i] = static_cast<std::uint32_t>(i);
        if (held)
            held->assign(m_nItems, false);
        return;
    }
    std::vector<unsigned char> marks;
    if (held)
        marks.assign(m_nItems, 0);
    if (!m_levels.empty())
        Visit(static_cast<int>(m_levels.size()) - 1, 0, false, out, held ? &marks : nullptr);
    for (std::uint32_t i : m_unbounded) {
        out.push_back(i);
        if (held)
            marks[i] = 1;
    }
    if (!held && out.size() * 16 < m_nItems) {
        std::sort(out.begin(), out.end());
        return;
    }
    // Many candidates: a pass over a mark per item is cheaper than a sort.
    if (!held) {
        marks.assign(m_nItems, 0);
        for (std::uint32_t i : out)
            marks[i] = 1;
    }
    out.clear();
    for (std::size_t i = 0; i < m_nItems; ++i)
        if (marks[i]) {
            out.push_back(static_cast<std::uint32_t>(i));
            if (held)
                held->push_back(marks[i] == 2);
        }
}

void CPickBoxTree::Candidates(std::vector<std::uint32_t>& out) const
{
    Collect(out, nullptr);
}

void CPickBoxTree::Candidates(std::vector<std::uint32_t>& out, std::vector<bool>& held) const
{
    Collect(out, &held);
}

void CPickIndex::Build(unsigned long revision, const std::vector<CPickBox>& boxes)
{
    m_tree.Build(boxes);
    m_nRevision = revision;
    m_bBuilt = true;
    m_names.clear();
    m_first.clear();
    m_count.clear();
    m_state.clear();
}

std::uint32_t PickZOrderKey(std::uint32_t a, std::uint32_t b)
{
    const auto spread = [](std::uint32_t v) {
        v &= 0xFFFFu;
        v = (v | (v << 8)) & 0x00FF00FFu;
        v = (v | (v << 4)) & 0x0F0F0F0Fu;
        v = (v | (v << 2)) & 0x33333333u;
        v = (v | (v << 1)) & 0x55555555u;
        return v;
    };
    return spread(a) | (spread(b) << 1);
}
