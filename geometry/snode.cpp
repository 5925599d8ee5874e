#include "geometry/snode.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "geometry/axis.h"
#include "geometry/edge.h"
#include "geometry/graph.h"
#include "glstyle/tincora.h"

IMPLEMENT_SERIAL(CSNode, CObject, VERSIONABLE_SCHEMA | 1)

DWORD CSNode::lIDnode = 1;
BYTE CSNode::m_cVer = 1;

namespace {

double SnapToZero(double v, double factor)
{
    return (v != 0.0 && IsEqualTol(v, 0.0, factor)) ? 0.0 : v;
}

double EdgeAngleFrom(CObject* edge, const CSNode* from)
{
    double a = 0.0;
    static_cast<CEdge*>(edge)->Get2DAngle(from, a);
    return a;
}

} // namespace

DWORD CSNode::TakeID()
{
    // The counter always moves on, so that giving a number back by lowering
    // it stays exact; the identifier itself never leaves the node range.
    const DWORD id = lIDnode <= kLastID ? lIDnode : kLastID;
    ++lIDnode;
    return id;
}

bool CSNode::IsReadableID(double v)
{
    return v >= 1.0 && v < static_cast<double>(kLastID) && v == std::floor(v);
}

bool CSNode::IsStoredID(DWORD id)
{
    return IsReadableID(static_cast<double>(id)) && IsReadableID(static_cast<double>(id) + 1.0);
}

CSNode::CSNode() : m_ulID(TakeID())
{
}

CSNode::CSNode(double x_, double y_, double z_, CObject* graph, unsigned flags)
    : m_uiFlags(flags), m_ulID(TakeID())
{
    x = SnapToZero(x_, 10.0);
    y = SnapToZero(y_, 10.0);
    z = SnapToZero(z_, 10.0);
    if (graph) {
        m_pGraphList = new CObList(10);
        m_pGraphList->SetModelList();
        m_pGraphList->AddTail(graph);
    }
}

CSNode::~CSNode()
{
    AfxGetSelectionNames().Forget(this);
    delete m_pValues;
    m_pValues = nullptr;
    while (m_pEdgeList)
        delete static_cast<CEdge*>(m_pEdgeList->GetHead());
    if (m_pGraphList) {
        for (POSITION pos = m_pGraphList->GetHeadPosition(); pos;) {
            CObList* graph = static_cast<CObList*>(m_pGraphList->GetNext(pos));
            POSITION at = graph->Find(this);
            if (at)
                graph->RemoveAt(at);
        }
        delete m_pGraphList;
        m_pGraphList = nullptr;
    }
    if (m_pCopyNode && m_pCopyNode->m_pCopyNode == this)
        m_pCopyNode->m_pCopyNode = nullptr;
}

// ------------------------------------------------------------ identity, lists

CObject* CSNode::GetPrimaryGraph() const
{
    return (m_pGraphList && !m_pGraphList->IsEmpty()) ? m_pGraphList->GetHead() : nullptr;
}

int CSNode::IsGraphInList(CObject* graph) const
{
    if (!m_pGraphList)
        return -1;
    int i = 0;
    for (POSITION pos = m_pGraphList->GetHeadPosition(); pos; ++i)
        if (m_pGraphList->GetNext(pos) == graph)
            return i;
    return -1;
}

void CSNode::RemoveCopyNode(bool both)
{
    if (both && m_pCopyNode)
        m_pCopyNode->m_pCopyNode = nullptr;
    m_pCopyNode = nullptr;
}

void CSNode::AddGraph(CObject* graph)
{
    if (!m_pGraphList) {
        m_pGraphList = new CObList(10);
        m_pGraphList->SetModelList();
    } else if (m_pGraphList->Find(graph))
        return;
    m_pGraphList->AddTail(graph);
}

bool CSNode::RemoveGraph(CObject* graph)
{
    if (!m_pGraphList)
        return false;
    POSITION pos = m_pGraphList->Find(graph);
    if (!pos)
        return false;
    m_pGraphList->RemoveAt(pos);
    if (m_pGraphList->IsEmpty()) {
        delete m_pGraphList;
        m_pGraphList = nullptr;
    }
    return true;
}

void CSNode::RemoveGraphList()
{
    if (m_pGraphList)
        m_pGraphList->RemoveAll();
}

CObject* CSNode::GetComGraph(CSNode* other)
{
    if (!m_pGraphList || !other)
        return nullptr;
    for (POSITION pos = m_pGraphList->GetHeadPosition(); pos;) {
        CObject* graph = m_pGraphList->GetNext(pos);
        if (other->IsGraphInList(graph) >= 0)
            return graph;
    }
    return nullptr;
}

void CSNode::ConnectedGraphs(CObList* graphs, CObList* visited)
{
    if (visited->Find(this))
        return;
    // A walk through a large connected mesh nests one call per node.
    if (AfxStackIsLow()) {
        AfxRunWithLargeStack([&] { ConnectedGraphs(graphs, visited); }, 64u << 20);
        return;
    }
    visited->AddHead(this);
    if (m_pEdgeList) {
        for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;) {
            CSNode* far = static_cast<CEdge*>(m_pEdgeList->GetNext(pos))->GetNode(this);
            if (far)
                far->ConnectedGraphs(graphs, visited);
        }
    }
    if (m_pGraphList) {
        for (POSITION pos = m_pGraphList->GetHeadPosition(); pos;) {
            CObject* graph = m_pGraphList->GetNext(pos);
            if (!graphs->Find(graph))
                graphs->AddHead(graph);
        }
    }
}

// ------------------------------------------------------------ coordinates

void CSNode::SetNodeCoord(double x_, double y_, double z_)
{
    x = x_;
    y = y_;
    z = z_;
    AfxNoteModelEdit();
}

void CSNode::SetNodeCoord(CVector& v)
{
    const int n = v.GetSize();
    x = n > 0 ? v[0] : 0.0;
    y = n > 1 ? v[1] : 0.0;
    z = n > 2 ? v[2] : 0.0;
    AfxNoteModelEdit();
}

void CSNode::GetVertex(double& x_, double& y_, double& z_) const
{
    x_ = x;
    y_ = y;
    z_ = z;
}

void CSNode::GetVertex(double& x_, double& y_) const
{
    x_ = x;
    y_ = y;
}

void CSNode::GetVertex(CVector& v) const
{
    v[0] = x;
    v[1] = y;
    v[2] = z;
}

// ------------------------------------------------------------ values

double CSNode::GetValue(int i) const
{
    if (!m_pValues || i < 0 || i >= m_pValues->GetSize())
        return 0.0;
    return (*m_pValues)[i];
}

void CSNode::SetValue(double v, int i)
{
    if (i < 0)
        return;
    if (!m_pValues) {
        m_pValues = new CVector(i + 1, true, 0.0);
    } else if (m_pValues->GetSize() <= i) {
        CVector* longer = new CVector(i + 1, true, 0.0);
        for (int k = 0; k < m_pValues->GetSize(); ++k)
            (*longer)[k] = (*m_pValues)[k];
        delete m_pValues;
        m_pValues = longer;
    }
    (*m_pValues)[i] = v;
}

void CSNode::AllocateValue(int n)
{
    if (n > 0) {
        delete m_pValues;
        m_pValues = new CVector(n, true, 0.0);
    } else if (n == 0) {
        delete m_pValues;
        m_pValues = nullptr;
    }
}

bool CSNode::SetSNodSpace(double h, bool force)
{
    if (force || m_dSpace == 0.0 || h < m_dSpace) {
        m_dSpace = h;
        return true;
    }
    return false;
}

// ------------------------------------------------------------ edges

void CSNode::AddEdge(CObject* edge)
{
    if (!m_pEdgeList) {
        m_pEdgeList = new CObList(10);
        m_pEdgeList->SetModelList();
        m_pEdgeList->AddHead(edge);
        return;
    }
    if (m_pEdgeList->Find(edge))
        return;
    const double angle = EdgeAngleFrom(edge, this);
    for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;) {
        POSITION at = pos;
        if (EdgeAngleFrom(m_pEdgeList->GetNext(pos), this) > angle) {
            m_pEdgeList->InsertBefore(at, edge);
            return;
        }
    }
    m_pEdgeList->AddTail(edge);
}

void CSNode::AddEdges(const std::vector<CObject*>& edges)
{
    // AddEdge puts each edge before the first listed one of a larger
    // bearing. That place moves only towards the tail as the bearing grows,
    // so the new edges sorted by bearing (ties in their order) take their
    // places in one walk along the list, each behind the edges of equal
    // bearing, whatever the order of the list. A bearing that is not a
    // number has no place in the sort: then they go one by one.
    std::vector<std::pair<double, CObject*>> added;
    added.reserve(edges.size());
    for (CObject* edge : edges) {
        const double angle = EdgeAngleFrom(edge, this);
        if (std::isnan(angle)) {
            for (CObject* e : edges)
                AddEdge(e);
            return;
        }
        added.emplace_back(angle, edge);
    }
    if (added.empty())
        return;
    std::stable_sort(added.begin(), added.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    if (!m_pEdgeList) {
        m_pEdgeList = new CObList(10);
        m_pEdgeList->SetModelList();
    }
    POSITION pos = m_pEdgeList->GetHeadPosition();
    for (const auto& [angle, edge] : added) {
        while (pos && !(EdgeAngleFrom(m_pEdgeList->GetAt(pos), this) > angle))
            m_pEdgeList->GetNext(pos);
        if (pos)
            m_pEdgeList->InsertBefore(pos, edge);
        else
            m_pEdgeList->AddTail(edge);
    }
}

bool CSNode::RemoveEdge(CObject* edge)
{
    if (!m_pEdgeList)
        return false;
    POSITION pos = m_pEdgeList->Find(edge);
    if (!pos)
        return false;
    m_pEdgeList->RemoveAt(pos);
    if (m_pEdgeList->IsEmpty()) {
        delete m_pEdgeList;
        m_pEdgeList = nullptr;
    }
    return true;
}

bool CSNode::RemoveAllEdges()
{
    if (!m_pEdgeList)
        return false;
    while (m_pEdgeList)
        delete static_cast<CEdge*>(m_pEdgeList->GetHead());
    return true;
}

CEdge* CSNode::GetEdge(unsigned long id) const
{
    if (!m_pEdgeList)
        return nullptr;
    for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;) {
        CEdge* edge = static_cast<CEdge*>(m_pEdgeList->GetNext(pos));
        if (edge->GetID() == id)
            return edge;
    }
    return nullptr;
}

int CSNode::CountPositiveEdges() const
{
    if (!m_pEdgeList)
        return 0;
    int n = 0;
    for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;)
        if (static_cast<CEdge*>(m_pEdgeList->GetNext(pos))->GetNode1() == this)
            ++n;
    return n;
}

unsigned long CSNode::GetMaxEdgeID()
{
    unsigned long max = 0;
    if (m_pEdgeList)
        for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;) {
            const unsigned long id = static_cast<CEdge*>(m_pEdgeList->GetNext(pos))->GetID();
            if (id > max)
                max = id;
        }
    return max;
}

void CSNode::SortEdges()
{
    // Insertion sort: each edge goes behind the nearest earlier one of a
    // strictly smaller bearing, so among equal bearings the later comes first.
    struct Entry {
        CObject* edge;
        double angle;
    };
    std::vector<Entry> entries;
    entries.reserve(static_cast<std::size_t>(m_pEdgeList->GetCount()));
    for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;) {
        CObject* edge = m_pEdgeList->GetNext(pos);
        entries.push_back({edge, EdgeAngleFrom(edge, this)});
    }
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const Entry e = entries[i];
        std::size_t j = i;
        while (j > 0 && !(entries[j - 1].angle < e.angle)) {
            entries[j] = entries[j - 1];
            --j;
        }
        entries[j] = e;
    }
    std::size_t i = 0;
    for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos; ++i) {
        POSITION at = pos;
        m_pEdgeList->GetNext(pos);
        m_pEdgeList->SetAt(at, entries[i].edge);
    }
}

void CSNode::Update(bool allEdges, bool resetSize)
{
    if (!m_pEdgeList || m_pEdgeList->IsEmpty())
        return;
    SortEdges();
    if (resetSize || !(m_dSpace > 0.0))
        m_dSpace = static_cast<CEdge*>(m_pEdgeList->GetHead())->GetLength();
    for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;) {
        const double len = static_cast<CEdge*>(m_pEdgeList->GetNext(pos))->GetLength();
        if (len < m_dSpace)
            m_dSpace = len;
    }
    for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;) {
        CEdge* edge = static_cast<CEdge*>(m_pEdgeList->GetNext(pos));
        if (allEdges || edge->GetNode1() == this)
            edge->Update();
    }
}

// ------------------------------------------------------------ geometry

void CSNode::Translate(double dx, double dy, double dz, bool updateEdges)
{
    x += dx;
    y += dy;
    z += dz;
    AfxNoteModelEdit();
    auto snap = [](double& c, double d) {
        const double factor = std::fabs(d) > 5.0 ? std::fabs(d) : 5.0;
        c = SnapToZero(c, factor);
    };
    snap(x, dx);
    snap(y, dy);
    snap(z, dz);
    if (updateEdges && m_pEdgeList)
        for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;)
            static_cast<CEdge*>(m_pEdgeList->GetNext(pos))->Update();
}

void CSNode::Rotate(double angle, double cx, double cy, double cz, unsigned axis, bool updateEdges)
{
    CMatrix r;
    CAxis::RotMat(r, angle, static_cast<int>(axis));
    // p := R p - (R - I) c, a rotation about the centre c.
    const double p[3] = {x, y, z};
    const double c[3] = {cx, cy, cz};
    double out[3];
    for (int i = 0; i < 3; ++i)
        out[i] = (r[i][0] * p[0] + r[i][1] * p[1] + r[i][2] * p[2]) -
                 (r[i][0] * c[0] + r[i][1] * c[1] + r[i][2] * c[2] - c[i]);
    x = out[0];
    y = out[1];
    z = out[2];
    AfxNoteModelEdit();
    if (updateEdges && m_pEdgeList)
        for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;)
            static_cast<CEdge*>(m_pEdgeList->GetNext(pos))->Update();
}

void CSNode::PreMult(CMatrix& m, CVector& work)
{
    if (work.GetSize() < 3)
        work.Allocate(3, false, 0.0);
    work[0] = x;
    work[1] = y;
    work[2] = z;
    x = m[0][0] * work[0] + m[0][1] * work[1] + m[0][2] * work[2];
    y = m[1][0] * work[0] + m[1][1] * work[1] + m[1][2] * work[2];
    z = m[2][0] * work[0] + m[2][1] * work[1] + m[2][2] * work[2];
    AfxNoteModelEdit();
}

void CSNode::PolarToCart(double scale, int mode)
{
    double angle, radius;
    if (mode == 0) {
        angle = x / scale;
        radius = y;
    } else if (mode == 1) {
        angle = y / scale;
        radius = x;
    } else {
        return; // no other polar layout is defined
    }
    x = std::floor(std::cos(angle) * radius * 1000.0 + 0.5) * 0.001;
    y = std::floor(std::sin(angle) * radius * 1000.0 + 0.5) * 0.001;
    AfxNoteModelEdit();
}

bool CSNode::Compare(const CSNode* other, double factor) const
{
    return IsEqualTol(other->x, x, factor) && IsEqualTol(other->y, y, factor) &&
           IsEqualTol(other->z, z, factor);
}

void CSNode::UnitVect3d(CSNode* to, double v[3], double length)
{
    v[0] = to->x - x;
    v[1] = to->y - y;
    v[2] = to->z - z;
    const double d = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length != 0.0 && d != 0.0)
        for (int i = 0; i < 3; ++i)
            v[i] = v[i] / d * length;
}

void CSNode::UnitVectAdd3d(CSNode* to, double v[3], double length)
{
    double d[3];
    UnitVect3d(to, d, length);
    for (int i = 0; i < 3; ++i)
        v[i] += d[i];
}

// ------------------------------------------------------------ structure

CSNode* CSNode::NewNode(double x_, double y_, double z_, CObject* graph, unsigned flags)
{
    return new CSNode(x_, y_, z_, graph, flags);
}

CSNode* CSNode::Copy(bool keepID)
{
    CSNode* copy = NewNode(x, y, z, nullptr, 0);
    m_pCopyNode = copy;
    copy->m_pCopyNode = this;
    if (m_pValues)
        copy->m_pValues = new CVector(*m_pValues);
    copy->m_uiFlags = m_uiFlags;
    copy->m_dSpace = m_dSpace;
    if (keepID) {
        copy->m_ulID = m_ulID;
        --lIDnode;
    }
    return copy;
}

void CSNode::OnNode(void (*fn)(CSNode*))
{
    fn(this);
}

void CSNode::ReplaceWith(CSNode* other)
{
    while (m_pEdgeList)
        static_cast<CEdge*>(m_pEdgeList->GetHead())->SetNewNode(other, this);
    if (!m_pGraphList)
        return;
    for (POSITION gp = m_pGraphList->GetHeadPosition(); gp;) {
        CObject* graphObject = m_pGraphList->GetNext(gp);
        CObList* graph = static_cast<CObList*>(graphObject);
        POSITION at = graph->Find(this);
        if (!at)
            continue;
        if (!graph->Find(other))
            graph->InsertBefore(at, other);
        other->AddGraph(graphObject);
        graph->RemoveAt(at);
    }
    delete m_pGraphList;
    m_pGraphList = nullptr;
}

void CSNode::SetNewNode(CSNode* other, bool deleteThis)
{
    if (m_uiFlags != 0)
        other->m_uiFlags = m_uiFlags;
    while (m_pEdgeList)
        static_cast<CEdge*>(m_pEdgeList->GetHead())->SetNewNode(other, this);
    if (deleteThis)
        delete this;
}

short CSNode::Intersection2D(CObject* edge, CObList* touching)
{
    short result = 0;
    if (!m_pEdgeList)
        return 0;
    for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos && result != 1;) {
        CEdge* mine = static_cast<CEdge*>(m_pEdgeList->GetNext(pos));
        if (mine == edge || mine->GetNode1() != this)
            continue;
        const short r = mine->Intersection2D(static_cast<CEdge*>(edge), this);
        if (r == 2 && touching && !touching->Find(mine))
            touching->AddTail(mine);
        if (r != 0)
            result = r;
    }
    return result;
}

// ------------------------------------------------------------ archive

void CSNode::WriteFields(CArchive& ar)
{
    ar << m_dSpace << static_cast<DWORD>(m_uiFlags) << x << y << z;
}

void CSNode::ReadFields(CArchive& ar)
{
    DWORD flags = 0;
    ar >> m_dSpace >> flags >> x >> y >> z;
    m_uiFlags = flags;
    AfxNoteModelEdit();
}

void CSNode::SnapLoaded()
{
    x = SnapToZero(x, 100.0);
    y = SnapToZero(y, 100.0);
    z = SnapToZero(z, 100.0);
    AfxNoteModelEdit();
}

void CSNode::ReadEdgeListObject(CArchive& ar)
{
    CObList* list = ar.ReadListObject(
        [](CArchive& a) -> CObject* { return a.ReadObjectAs<CEdge>(RUNTIME_CLASS(CEdge)); });
    // The edges joined this node's sorted list while they were read; the
    // archived list object itself is not kept (it was new and is the
    // reader's alone).
    delete list;
}

void CSNode::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        WriteFields(ar);
        if (m_cVer == 0) {
            ar << static_cast<CObject*>(m_pEdgeList);
            return;
        }
        const int n = CountPositiveEdges();
        ar << static_cast<DWORD>(n);
        if (n > 0)
            for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;) {
                CEdge* edge = static_cast<CEdge*>(m_pEdgeList->GetNext(pos));
                if (edge->GetNode1() == this)
                    ar << static_cast<CObject*>(edge);
            }
        return;
    }
    ReadFields(ar);
    if (m_cVer == 0) {
        ReadEdgeListObject(ar);
    } else {
        DWORD n = 0;
        ar >> n;
        ar.CheckAvailable(n, 2);
        // Each edge joins its nodes while it is read.
        for (DWORD i = 0; i < n; ++i)
            ar.ReadObjectAs<CEdge>(RUNTIME_CLASS(CEdge));
    }
    m_uiFlags &= ~8u;
    SnapLoaded();
}

void CSNode::ArchiveOp(CArchive& ar, int layout)
{
    if (ar.IsStoring()) {
        WriteFields(ar);
        ar << static_cast<CObject*>(m_pEdgeList);
        return;
    }
    ReadFields(ar);
    if (layout == 1 || layout == 2) {
        ReadEdgeListObject(ar);
    } else {
        DWORD n = 0;
        ar >> n;
    }
    SnapLoaded();
}

void CSNode::SecondarySerial(CArchive&)
{
}

void CSNode::KeepCounterAbove(unsigned long id)
{
    if (id >= lIDnode && id < 0xFFFFFFFFul)
        lIDnode = static_cast<DWORD>(id + 1);
}

int CSNode::ASCIIReadNodes(CFile& file, CObList& nodes, CString startKey, CString endKey,
                           CString* commentKey, int format, bool advance)
{
    startKey.MakeUpper();
    endKey.MakeUpper();
    CString comment;
    if (commentKey) {
        commentKey->MakeUpper();
        comment = *commentKey;
    }
    if (!SeekTo(startKey, file, commentKey, advance))
        return 0;

    const ULONGLONG start = file.GetPosition();
    zelkor::LineScanner lines([&file](char* buffer, std::size_t n) {
        return static_cast<std::size_t>(file.Read(buffer, static_cast<UINT>(n)));
    });
    unsigned long maxID = 0;
    std::string text;
    while (lines.ReadLine(text)) {
        CString line(std::move(text));
        line.MakeUpper();
        if (!comment.IsEmpty()) {
            const int at = line.Find(static_cast<LPCTSTR>(comment));
            if (at >= 0)
                line = line.Left(at);
        }
        line.Trim();
        if (!endKey.IsEmpty() && line.Find(static_cast<LPCTSTR>(endKey)) >= 0)
            break;
        if (line.IsEmpty())
            continue;

        CSNode* node = new CSNode;
        nodes.AddTail(node);
        double* coords[3] = {&node->x, &node->y, &node->z};
        int slot = format == 1 || format == 2 ? 0 : -1;
        const int last = format == 2 ? 1 : 2;
        zelkor::LineNumbers numbers(line.str());
        std::string number;
        while (numbers.Next(number)) {
            const double v = AfxStrToD(number.c_str());
            if (slot < 0) {
                // An identifier the node range cannot take is refused: the
                // node keeps the one it drew.
                if (IsReadableID(v)) {
                    node->m_ulID = static_cast<DWORD>(v);
                    --lIDnode;
                    if (node->m_ulID > maxID)
                        maxID = node->m_ulID;
                }
            } else if (slot <= last) {
                *coords[slot] = v;
            }
            ++slot;
        }
    }
    if (maxID)
        KeepCounterAbove(maxID);

    ULONGLONG target = start;
    if (advance) {
        const ULONGLONG length = file.GetLength();
        target = start + lines.Consumed();
        if (target > length)
            target = length;
    }
    file.Seek(static_cast<LONGLONG>(target), CFile::begin);
    return nodes.GetCount();
}

// ------------------------------------------------------------ drawing

void CSNode::GLVertex() const
{
    glVertex3d(x, y, z);
}

void CSNode::DrawNodeGL(float size, float r, float g, float b)
{
    glLoadName(m_ulID);
    glColor3f(r, g, b);
    glPointSize(size);
    glBegin(GL_POINTS);
    glVertex3d(x, y, z);
    glEnd();
}

void CSNode::DrawSelected()
{
    glPointSize(static_cast<GLfloat>(LARGE_POINT));
    glColor3f(0.0f, 0.0f, 1.0f);
    glBegin(GL_POINTS);
    glVertex3d(x, y, z);
    glEnd();
    glPointSize(static_cast<GLfloat>(MEDIUM_L_POINT));
    glColor3f(1.0f, 0.0f, 0.0f);
    glBegin(GL_POINTS);
    glVertex3d(x, y, z);
    glEnd();
}

void CSNode::DrawSphere(double radius)
{
    double p[3] = {1.0, 0.0, 0.0};
    double q[3] = {0.0, 1.0, 0.0};
    double r[3] = {0.0, 0.0, 1.0};
    Draw3DSphere(&x, p, q, r, radius);
}

void CSNode::GLNodeNum() const
{
    const std::string text = AfxFormat("%u", static_cast<unsigned>(m_ulID));
    glRasterPos3d(x, y, z);
    glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
}

void CSNode::DrawEdgesGL(bool flag)
{
    if (m_pEdgeList)
        for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;)
            static_cast<CEdge*>(m_pEdgeList->GetNext(pos))->DrawGL(flag, this);
}

void CSNode::GLLines(bool flag, bool all)
{
    if (m_pEdgeList)
        for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;)
            static_cast<CEdge*>(m_pEdgeList->GetNext(pos))->GLLine(flag, all ? nullptr : this);
}

void CSNode::GLLines(double& dx, double& dy, double& dz, bool flag, bool all)
{
    if (m_pEdgeList)
        for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;)
            static_cast<CEdge*>(m_pEdgeList->GetNext(pos))
                ->GLLine(dx, dy, dz, flag, all ? nullptr : this);
}

// ------------------------------------------------------------ hooks

void CSNode::DrawLoad(double*)
{
}

CLoad* CSNode::GetLoad()
{
    return nullptr;
}

CBoundCond* CSNode::GetBC(int)
{
    return nullptr;
}
