#include "femodel/quadmesher.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "femodel/quad.h"
#include "femodel/triangle.h"

NODELIST* CQuadMesher::m_pSepNodeList = nullptr;

CQuadMesher::CQuadMesher(CGraph* region, CObList* output, CString name)
    : m_pRegion(region), m_pOutput(output), m_strName(name)
{
}

void CQuadMesher::Append(CObject* element)
{
    // As one object: an element is itself a list, whose nodes must not be
    // appended one by one.
    m_pOutput->AddTail(element);
}

bool CQuadMesher::Mesh(int kind, int evenPattern, int oddPattern, double tolerance)
{
    CObjMat grid;
    if (!GenNodeMat(grid, tolerance))
        return false;
    GenElems(kind, evenPattern, oddPattern, grid);
    return true;
}

namespace {

// The subdivision nodes of edge ordered from 'from' to the other end.
std::vector<CSNode*> SideNodes(CEdge* edge, CSNode* from)
{
    std::vector<CSNode*> out;
    CObList* list = edge->GetSubNodeList();
    if (!list)
        return out;
    for (POSITION p = list->GetHeadPosition(); p;)
        out.push_back(static_cast<CSNode*>(list->GetNext(p)));
    if (edge->GetNode1() != from)
        std::reverse(out.begin(), out.end());
    return out;
}

CSNode* CopyOf(CSNode* node)
{
    CSNode* copy = node->GetCopyNode();
    return copy ? copy : node->Copy(false);
}

} // namespace

bool CQuadMesher::GenNodeMat(CObjMat& grid, double tolerance)
{
    if (!m_pRegion || m_pRegion->GetCount() != 4)
        return false;
    CSNode* corners[4];
    int i = 0;
    for (POSITION p = m_pRegion->GetHeadPosition(); p; ++i)
        corners[i] = static_cast<CSNode*>(m_pRegion->GetNext(p));
    double x[4], y[4], z;
    for (i = 0; i < 4; ++i)
        corners[i]->GetVertex(x[i], y[i], z);

    // Start corner: of the two leftmost corners the lower one.
    int a = 0;
    for (i = 1; i < 4; ++i)
        if (x[i] < x[a])
            a = i;
    int b = a == 0 ? 1 : 0;
    for (i = 0; i < 4; ++i)
        if (i != a && x[i] < x[b])
            b = i;
    const int first = std::min(a, b), second = std::max(a, b);
    int start = first;
    if (y[second] < y[first] || (y[second] == y[first] && x[second] < x[first]))
        start = second;
    CSNode* k[4];
    for (i = 0; i < 4; ++i)
        k[i] = corners[(start + i) % 4];

    CEdge* sides[4];
    for (i = 0; i < 4; ++i) {
        sides[i] = CGraph::GetComEdge(k[i], k[(i + 1) % 4]);
        if (!sides[i])
            return false;
    }

    // Corner angles along the walk clockwise around the region.
    constexpr double kHalfPi = 1.5707963267948966;
    CSNode* node = k[0];
    CEdge* edge = sides[0];
    for (i = 0; i < 4; ++i) {
        double turn = 0.0;
        CEdge* current = edge;
        if (!current->Next2DEdgeClW(node, edge, turn))
            return false;
        if (turn < kHalfPi - tolerance || turn > kHalfPi + tolerance)
            return false;
    }

    const std::vector<CSNode*> bottom = SideNodes(sides[0], k[0]); // K0 -> K1
    const std::vector<CSNode*> right = SideNodes(sides[1], k[1]);  // K1 -> K2
    const std::vector<CSNode*> top = SideNodes(sides[2], k[3]);    // K3 -> K2
    const std::vector<CSNode*> left = SideNodes(sides[3], k[0]);   // K0 -> K3
    if (bottom.size() != top.size() || right.size() != left.size())
        return false;
    const int n = static_cast<int>(bottom.size());
    const int m = static_cast<int>(left.size());
    const int rows = m + 2, cols = n + 2;

    // Separator sides: 0 bottom, 1 right, 2 top, 3 left.
    bool sep[4] = {false, false, false, false};
    if (m_pSepNodeList) {
        // Sides meeting at corner K0: bottom and left; K1: bottom, right;
        // K2: right, top; K3: top, left.
        static const int kSidesAt[4][2] = {{0, 3}, {0, 1}, {1, 2}, {2, 3}};
        for (i = 0; i < 4; ++i)
            if (m_pSepNodeList->Find(k[i]) >= 0) {
                k[i]->RemoveCopyNode(true);
                sep[kSidesAt[i][0]] = sep[kSidesAt[i][1]] = true;
            }
    }

    grid.Allocate(rows, cols, true, nullptr);
    grid[0][0] = CopyOf(k[0]);
    grid[0][cols - 1] = CopyOf(k[1]);
    grid[rows - 1][0] = CopyOf(k[3]);
    grid[rows - 1][cols - 1] = CopyOf(k[2]);
    // A separator side's copy is not a sub-node of any edge: it belongs to
    // the elements that take it, so the sub-node mark is not copied.
    const auto place = [](CSNode* s, bool separator) {
        if (!separator)
            return s;
        CSNode* copy = s->Copy(false);
        copy->m_uiFlags &= ~8u;
        return copy;
    };
    for (int c = 1; c < cols - 1; ++c) {
        grid[0][c] = place(bottom[c - 1], sep[0]);
        grid[rows - 1][c] = place(top[c - 1], sep[2]);
    }
    for (int r = 1; r < rows - 1; ++r) {
        grid[r][0] = place(left[r - 1], sep[3]);
        grid[r][cols - 1] = place(right[r - 1], sep[1]);
    }

    // Interior nodes at the crossings of the lines joining opposite sides.
    for (int r = 1; r < rows - 1; ++r) {
        double lx, ly, qx, qy;
        left[r - 1]->GetVertex(lx, ly, z);
        right[r - 1]->GetVertex(qx, qy, z);
        const double dx = qx - lx, dy = qy - ly;
        for (int c = 1; c < cols - 1; ++c) {
            double bx, by, tx, ty;
            bottom[c - 1]->GetVertex(bx, by, z);
            top[c - 1]->GetVertex(tx, ty, z);
            const double den = dy * (tx - bx) - dx * (ty - by);
            const double s = den != 0.0 ? (dx * (by - ly) - dy * (bx - lx)) / den : 0.5;
            grid[r][c] = new CSNode((1.0 - s) * bx + s * tx, (1.0 - s) * by + s * ty, 0.0, nullptr, 0);
        }
    }
    return true;
}

void CQuadMesher::GenElems(int kind, int evenPattern, int oddPattern, CObjMat& grid)
{
    if (!m_pOutput)
        return;
    const POSITION tail = m_pOutput->GetTailPosition();
    const int rows = grid.GetRows(), cols = grid.GetColumns();
    const auto at = [&grid](int r, int c) { return static_cast<CSNode*>(grid[r][c]); };
    if (kind >= 101 && kind <= 103) {
        AddTriElems(kind, 0, evenPattern, grid);
        AddTriElems(kind, 1, oddPattern, grid);
    } else {
        for (int r = 0; r + 1 < rows; ++r)
            for (int c = 0; c + 1 < cols; ++c) {
                CSNode* a = at(r, c);
                CSNode* b = at(r, c + 1);
                CSNode* d = at(r + 1, c + 1);
                CSNode* e = at(r + 1, c);
                if (kind == 105)
                    Append(new CQuad8Elem(a, b, d, e));
                else
                    Append(new CQuadElem(a, b, d, e));
            }
    }
    POSITION p = tail;
    if (p)
        m_pOutput->GetNext(p);
    else
        p = m_pOutput->GetHeadPosition();
    while (p)
        if (auto* graph = dynamic_cast<CGraph*>(m_pOutput->GetNext(p)))
            graph->SetName(m_strName);
}

void CQuadMesher::AddTriElems(int kind, int firstRow, int pattern, CObjMat& grid)
{
    if (kind < 101 || kind > 103 || !m_pOutput)
        return;
    const auto make = [kind](CSNode* p, CSNode* q, CSNode* r) -> CObject* {
        switch (kind) {
        case 101: return new CTriElement(p, q, r);
        case 102: return new CTri4Elem(p, q, r);
        default: return new CTri6Element(p, q, r);
        }
    };
    const int rows = grid.GetRows(), cols = grid.GetColumns();
    const auto at = [&grid](int r, int c) { return static_cast<CSNode*>(grid[r][c]); };
    // alongBD: the diagonal from a to d, else from b to e.
    const auto cell = [&](int r, int c, bool alongAD) {
        CSNode* a = at(r, c);
        CSNode* b = at(r, c + 1);
        CSNode* d = at(r + 1, c + 1);
        CSNode* e = at(r + 1, c);
        if (alongAD) {
            Append(make(a, b, d));
            Append(make(a, d, e));
        } else {
            Append(make(a, b, e));
            Append(make(b, d, e));
        }
    };
    for (int r = firstRow; r < rows - 1; r += 2) {
        switch (pattern) {
        case 1:
            for (int c = 0; c + 1 < cols; ++c)
                cell(r, c, false);
            break;
        case 2:
            for (int c = 0; c + 1 < cols; c += 2)
                cell(r, c, true);
            for (int c = 1; c + 1 < cols; c += 2)
                cell(r, c, false);
            break;
        case 3:
            for (int c = 1; c + 1 < cols; c += 2)
                cell(r, c, true);
            for (int c = 0; c + 1 < cols; c += 2)
                cell(r, c, false);
            break;
        default:
            for (int c = 0; c + 1 < cols; ++c)
                cell(r, c, true);
            break;
        }
    }
}
