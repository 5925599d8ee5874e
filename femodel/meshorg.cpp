#include "femodel/meshorg.h"

#include "femodel/load.h"
#include "femodel/modelinfo.h"
#include "femodel/planstrips.h"
#include "femodel/quad.h"
#include "femodel/triangle.h"
#include "glstyle/tincora.h"

#include <GL/gl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <optional>
#include <thread>
#include <vector>

IMPLEMENT_SERIAL(CMeshOrganizer, CObList, 1)

int CMeshOrganizer::m_iSmootType = 2;

#define FOR_EACH_ELEM(e)                                                                           \
    for (POSITION pos_ = GetHeadPosition(); pos_;)                                                 \
        if (CElement* e = static_cast<CElement*>(GetNext(pos_)))

CMeshOrganizer::CMeshOrganizer() : CObList(10)
{
    SetModelList();
}

CMeshOrganizer::~CMeshOrganizer()
{
    Clear();
}

void CMeshOrganizer::Clear()
{
    while (!IsEmpty())
        delete static_cast<CElement*>(RemoveHead());
}

bool CMeshOrganizer::RemoveElem(CObject* e)
{
    POSITION pos = Find(e);
    if (!pos)
        return false;
    RemoveAt(pos);
    return true;
}

int CMeshOrganizer::RemoveElems(const std::unordered_set<CObject*>& elements)
{
    int removed = 0;
    for (POSITION pos = GetHeadPosition(); pos;) {
        const POSITION at = pos;
        if (elements.count(GetNext(pos))) {
            RemoveAt(at);
            ++removed;
        }
    }
    return removed;
}

void CMeshOrganizer::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CObList::Serialize(ar);
        ar << m_dwWord;
        return;
    }
    Clear();
    // The organiser owns its elements: each entry must be a new element,
    // read here. The list holds only such entries, however the reading ends.
    ar.ReadListEntries(*this, [](CArchive& a) -> CObject* {
        CElement* element = a.ReadObjectAs<CElement>(RUNTIME_CLASS(CElement), CArchive::useOwned);
        if (!element)
            AfxThrowArchiveException(CArchiveException::badClass);
        return element;
    });
    ar >> m_dwWord;
}

// ------------------------------------------------------------ forwarders

namespace {

// The plots draw nothing but triangles through DrawFace unless they draw
// outlines (mode 16): then the triangles go into one primitive.
void OpenFaceBatch(std::optional<CElement::CFaceBatch>& batch, int mode)
{
    if (!(mode & 16))
        batch.emplace();
}

} // namespace

void CMeshOrganizer::DrawLocalVect(int which, int mode, bool polar, CVector& axis, double scale, int a, int b)
{
    std::optional<CElement::CFaceBatch> batch;
    OpenFaceBatch(batch, mode);
    FOR_EACH_ELEM(e) e->DrawLocalVect(which, mode, polar, axis, scale, a, b);
}
void CMeshOrganizer::GetMaxMinLocalVect(double* max, double* min, bool polar, CVector& axis, int a, int b)
{
    FOR_EACH_ELEM(e) e->GetMaxMinLocalVect(max, min, polar, axis, a, b);
}
void CMeshOrganizer::PickDrawLocalVect(int which, bool polar, CVector& axis, double scale, int a, int b)
{
    FOR_EACH_ELEM(e) e->PickDrawLocalVect(which, polar, axis, scale, a, b);
}
void CMeshOrganizer::PickDrawLocalStress(int which, bool polar, CVector& axis, double scale, int sx, int sy, int txy)
{
    FOR_EACH_ELEM(e) e->PickDrawLocalStress(which, polar, axis, scale, sx, sy, txy);
}
void CMeshOrganizer::GetMaxMinLocalStress(double* max, double* min, bool polar, CVector& axis, int sx, int sy, int txy)
{
    FOR_EACH_ELEM(e) e->GetMaxMinLocalStress(max, min, polar, axis, sx, sy, txy);
}
void CMeshOrganizer::DrawLocalStress(int which, int mode, bool polar, CVector& axis, double scale, int sx, int sy, int txy)
{
    std::optional<CElement::CFaceBatch> batch;
    OpenFaceBatch(batch, mode);
    FOR_EACH_ELEM(e) e->DrawLocalStress(which, mode, polar, axis, scale, sx, sy, txy);
}
void CMeshOrganizer::DrawResArrows(double scale, int a, int b, int c, double range, bool colour)
{
    FOR_EACH_ELEM(e) e->DrawResArrows(scale, a, b, c, range, colour);
}
void CMeshOrganizer::SetElemGrad(CMatrix& m, double c, CVector& g, CLongVector& cols, int& row)
{
    FOR_EACH_ELEM(e) e->SetElemGrad(m, c, g, cols, row);
}
void CMeshOrganizer::DM_BuildData(CModelInfo& info)
{
    FOR_EACH_ELEM(e) e->DM_BuildData(info);
}
void CMeshOrganizer::DM_SetResults(CModelInfo& info)
{
    FOR_EACH_ELEM(e) e->DM_SetResults(info);
}
void CMeshOrganizer::DM_InsertNodeBCs(CModelInfo& info)
{
    FOR_EACH_ELEM(e) e->DM_InsertNodeBCs(info);
}
void CMeshOrganizer::DM_GetInfo(CInfoContainer& info)
{
    FOR_EACH_ELEM(e) e->DM_GetInfo(info);
}
void CMeshOrganizer::GetBCNodes(CObList& list)
{
    FOR_EACH_ELEM(e) e->GetBCNodes(list);
}
void CMeshOrganizer::GetDiscrCoord(CMatrix& coord)
{
    FOR_EACH_ELEM(e) e->GetDiscrCoord(coord);
}
void CMeshOrganizer::GetMMNPC(CLongMatrix& table)
{
    FOR_EACH_ELEM(e) e->GetMMNPC(table);
}
void CMeshOrganizer::GetMMNPC(CLongVector& nodes, CLongVector& pointers, int& count)
{
    FOR_EACH_ELEM(e) e->GetMMNPC(nodes, pointers, count);
}
void CMeshOrganizer::GetLinks(CObList& out)
{
    FOR_EACH_ELEM(e) e->GetLinks(out);
}
void CMeshOrganizer::DrawValueExtrGL(CMatrix& m, double half, CVector& axis, int n)
{
    FOR_EACH_ELEM(e) e->DrawValueExtrGL(m, half, axis, n);
}
void CMeshOrganizer::RetAddMeanStress(CMatrix& m, int first, int last, int& row, int col)
{
    FOR_EACH_ELEM(e) e->RetAddMeanStress(m, first, last, row, col);
}
void CMeshOrganizer::GetNodeValues(CMatrix& m, int first, int last, int& row, int col)
{
    FOR_EACH_ELEM(e) e->GetNodeValues(m, first, last, row, col);
}
void CMeshOrganizer::RetElemStress(CMatrix& m, int first, int last, int& row)
{
    FOR_EACH_ELEM(e) e->RetElemStress(m, first, last, row);
}
void CMeshOrganizer::GetResist(CMatrix& a, CMatrix& b, CArrayArray<LONG>& dofs)
{
    FOR_EACH_ELEM(e) e->GetResist(a, b, dofs);
}
void CMeshOrganizer::DeleteResults(int flags)
{
    FOR_EACH_ELEM(e) e->DeleteResults(flags);
}
void CMeshOrganizer::GetMaxMinEffStress(int type, double& max, double& min, int a, int b, int c, double k1, double k2, bool flag)
{
    FOR_EACH_ELEM(e) e->GetMaxMinEffStress(type, max, min, a, b, c, k1, k2, flag);
}
void CMeshOrganizer::PickDrawDistort(double scale, int a, int b, int c)
{
    FOR_EACH_ELEM(e) e->PickDrawDistort(scale, a, b, c);
}
void CMeshOrganizer::PickDrawPriStress(bool major, double scale, int sx, int sy, int txy)
{
    FOR_EACH_ELEM(e) e->PickDrawPriStress(major, scale, sx, sy, txy);
}
void CMeshOrganizer::SetStresses(CMatrix& m, int& row)
{
    FOR_EACH_ELEM(e) e->SetStresses(m, row);
}
void CMeshOrganizer::SetNodeValues(CMatrix& m, int& row)
{
    FOR_EACH_ELEM(e) e->SetNodeValues(m, row);
}
void CMeshOrganizer::SetNodeValues(double* values, int& pos, int n)
{
    FOR_EACH_ELEM(e) e->SetNodeValues(values, pos, n);
}
void CMeshOrganizer::InsertFE(long* table, int& pos, int width, bool withKind)
{
    FOR_EACH_ELEM(e) e->InsertFE(table, pos, width, withKind);
}
void CMeshOrganizer::InsertNodes(long* ids, double* coords, int& pos, int lead, int trail)
{
    FOR_EACH_ELEM(e) e->InsertNodes(ids, coords, pos, lead, trail);
}
void CMeshOrganizer::SumNodes(long& counter, bool renumber)
{
    FOR_EACH_ELEM(e) e->SumNodes(counter, renumber);
}
namespace {

// What the elements' walk hands over from the thread that walks to the
// thread that sends to OpenGL: a ring of chunks the walk fills in order and
// the sender empties in order; an empty chunk ends the walk.
template <class Item> class Ring final
{
public:
    // On the walking thread.
    void Add(const Item& item)
    {
        if (m_fill == 0)
            WaitForRoom();
        m_items[Slot(m_published) * kChunk + m_fill] = item;
        if (++m_fill == kChunk)
            Publish();
    }
    // On the walking thread, after the last item (also after a failure).
    void Finish()
    {
        if (m_fill > 0)
            Publish();
        WaitForRoom();
        Publish(); // the empty chunk
    }
    // On the sending thread: send(items, count) for each chunk until the
    // empty one.
    template <class Send> void SendAll(Send send)
    {
        for (unsigned taken = 0;; ++taken) {
            unsigned ready = m_ready.load(std::memory_order_acquire);
            while (ready == taken) {
                m_ready.wait(ready, std::memory_order_acquire);
                ready = m_ready.load(std::memory_order_acquire);
            }
            const unsigned slot = Slot(taken);
            const unsigned count = m_counts[slot];
            send(&m_items[slot * kChunk], count);
            m_taken.store(taken + 1, std::memory_order_release);
            m_taken.notify_one();
            if (count == 0)
                return;
        }
    }

private:
    static constexpr unsigned kChunk = 512;
    // About two megabytes: room for what the walk makes while Mesa's list
    // compiler works through a full vertex buffer of its own, not taking
    // any calls (a few milliseconds); a ring that fills then stops the
    // walk, and the two threads no longer overlap.
    static constexpr unsigned kChunks = std::max<unsigned>(8, (2u << 20) / (kChunk * sizeof(Item)));
    static unsigned Slot(unsigned chunk) { return chunk % kChunks; }
    void WaitForRoom()
    {
        unsigned taken = m_taken.load(std::memory_order_acquire);
        while (m_published - taken >= kChunks) {
            m_taken.wait(taken, std::memory_order_acquire);
            taken = m_taken.load(std::memory_order_acquire);
        }
    }
    void Publish()
    {
        m_counts[Slot(m_published)] = m_fill;
        m_fill = 0;
        m_ready.store(++m_published, std::memory_order_release);
        m_ready.notify_one();
    }

    std::vector<Item> m_items = std::vector<Item>(kChunk * kChunks);
    unsigned m_counts[kChunks] = {};
    unsigned m_fill = 0;      // the walk's items in its open chunk
    unsigned m_published = 0; // the walk's chunks handed over
    std::atomic<unsigned> m_ready{0}; // chunks handed over, for the sender
    std::atomic<unsigned> m_taken{0}; // chunks sent, for the walk
};

// The plot triangles of a walk, on the walking thread, into a ring.
class FaceRing final : public CElement::CFaceSink
{
public:
    explicit FaceRing(Ring<CElement::CPlotFace>& ring) : m_ring(ring) {}
    void Add(const CElement::CPlotFace& face) override { m_ring.Add(face); }
    void Finish() {}

private:
    Ring<CElement::CPlotFace>& m_ring;
};

// The plan plot's triangles of a walk as strips (CPlanStrips), chunk by
// chunk, handed to out (ops, count).
template <class Out> class StripSink final : public CElement::CFaceSink
{
public:
    explicit StripSink(Out out) : m_out(out) {}
    void Add(const CElement::CPlotFace& face) override
    {
        if (m_strips.Add(face, m_ops))
            m_strips.Flush(m_ops);
        if (m_ops.size() >= kHandOver)
            HandOver();
    }
    void Finish()
    {
        m_strips.Flush(m_ops);
        HandOver();
    }

private:
    static constexpr std::size_t kHandOver = 1024;
    void HandOver()
    {
        if (!m_ops.empty())
            m_out(m_ops.data(), m_ops.size());
        m_ops.clear();
    }
    CPlanStrips m_strips;
    std::vector<CPlanStrips::Op> m_ops;
    Out m_out;
};

// From this many elements the colour plot's walk runs beside the sending
// of its triangles: the walk waits on memory, the sending on Mesa's list
// compiler, and on two cores the two overlap.
constexpr int kWalkBesideElements = 4096;

// Runs walk with sink as the calling thread's face sink.
template <class Sink, class Walk> void WalkInto(Sink& sink, Walk walk)
{
    CElement::FaceSink() = &sink;
    try {
        walk();
    } catch (...) {
        CElement::FaceSink() = nullptr;
        throw;
    }
    CElement::FaceSink() = nullptr;
}

// Runs walk on a thread of its own, its sink handing items to the ring
// that send empties on this thread; the walk's failure is thrown here.
template <class Item, class Sink, class Walk, class Send> void WalkBeside(Ring<Item>& ring, Sink& sink, Walk walk, Send send)
{
    std::exception_ptr failure;
    std::thread walker([&] {
        try {
            WalkInto(sink, walk);
            sink.Finish();
        } catch (...) {
            failure = std::current_exception();
        }
        ring.Finish();
    });
    ring.SendAll(send);
    walker.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace

void CMeshOrganizer::GLColorPlot(int index, int mode, double scale)
{
    std::optional<CElement::CFaceBatch> batch;
    OpenFaceBatch(batch, mode);
    const auto walk = [&] { ForEachFetched([&](CElement* e) { e->GLColorPlot(index, mode, scale); }); };
    if (!batch) {
        walk();
        return;
    }
    const bool beside = GetCount() >= kWalkBesideElements && std::thread::hardware_concurrency() >= 2;
    // The elements' code reads the mesh and the plot's ranges only; every
    // OpenGL call stays on this thread.
    if (mode & 128) {
        // The plan plot: flat triangles, sent as strips after the plan
        // normal.
        glNormal3d(0.0, 0.0, 1.0);
        if (!beside) {
            const auto send = [](const CPlanStrips::Op* ops, std::size_t count) { CPlanStrips::Send(ops, count); };
            StripSink<decltype(send)> sink(send);
            WalkInto(sink, walk);
            sink.Finish();
            return;
        }
        Ring<CPlanStrips::Op> ring;
        const auto hand = [&ring](const CPlanStrips::Op* ops, std::size_t count) {
            for (std::size_t i = 0; i < count; ++i)
                ring.Add(ops[i]);
        };
        StripSink<decltype(hand)> sink(hand);
        WalkBeside(ring, sink, walk, [&](const CPlanStrips::Op* ops, unsigned count) {
            CPlanStrips::Send(ops, count);
        });
        return;
    }
    if (!beside) {
        walk();
        return;
    }
    Ring<CElement::CPlotFace> ring;
    FaceRing sink(ring);
    WalkBeside(ring, sink, walk, [](const CElement::CPlotFace* faces, unsigned count) {
        for (unsigned i = 0; i < count; ++i)
            CElement::SendFace(faces[i]);
    });
}
void CMeshOrganizer::PickDrawGL(int index, int mode, double scale)
{
    FOR_EACH_ELEM(e) e->PickDrawGL(index, mode, scale);
}
void CMeshOrganizer::GLDraw()
{
    FOR_EACH_ELEM(e) e->GLDraw();
}
void CMeshOrganizer::GLDrawDistorted(int mode, double scale, int a, int b, int c)
{
    FOR_EACH_ELEM(e) e->GLDrawDistorted(mode, scale, a, b, c);
}
void CMeshOrganizer::DrawPriStress(int mode, bool major, double scale, int sx, int sy, int txy)
{
    std::optional<CElement::CFaceBatch> batch;
    OpenFaceBatch(batch, mode);
    FOR_EACH_ELEM(e) e->DrawPriStress(mode, major, scale, sx, sy, txy);
}
void CMeshOrganizer::DrawEffStress(int type, int mode, double scale, int a, int b, int c, double k1, double k2)
{
    std::optional<CElement::CFaceBatch> batch;
    OpenFaceBatch(batch, mode);
    FOR_EACH_ELEM(e) e->DrawEffStress(type, mode, scale, a, b, c, k1, k2);
}
void CMeshOrganizer::PickDrawEffStress(int type, double scale, int a, int b, int c, double k1, double k2)
{
    FOR_EACH_ELEM(e) e->PickDrawEffStress(type, scale, a, b, c, k1, k2);
}
void CMeshOrganizer::GetMaxMinPriStress(double& max1, double& min1, double& max2, double& min2, bool primaryOnly)
{
    FOR_EACH_ELEM(e) e->GetMaxMinPriStress(max1, min1, max2, min2, primaryOnly);
}
void CMeshOrganizer::DispersNodeValue(CMatrix& m, double c, CVector& g, int& row, int col)
{
    FOR_EACH_ELEM(e) e->DispersNodeValue(m, c, g, row, col);
}
void CMeshOrganizer::SetElemValue(CMatrix& m, CVector& v, int& row, int col)
{
    FOR_EACH_ELEM(e) e->SetElemValue(m, v, row, col);
}
void CMeshOrganizer::SetElemValue(CMatrix& m, double v, int& row, int col)
{
    FOR_EACH_ELEM(e) e->SetElemValue(m, v, row, col);
}
void CMeshOrganizer::DispersAngle(CMatrix& m, bool polar, CVector& axis, int& row, int col)
{
    FOR_EACH_ELEM(e) e->DispersAngle(m, polar, axis, row, col);
}
void CMeshOrganizer::GLDrawDispersAngle(bool polar, CVector& axis)
{
    FOR_EACH_ELEM(e) e->GLDrawDispersAngle(polar, axis);
}
void CMeshOrganizer::DrawEdgeLoadsGL(double scale)
{
    FOR_EACH_ELEM(e) e->DrawEdgeLoadsGL(scale);
}
void CMeshOrganizer::DrawElmNumbers()
{
    FOR_EACH_ELEM(e) e->DrawElmNumbers();
}
void CMeshOrganizer::RetAddNodeStress(CMatrix& m, int first, int last, int& row, int col)
{
    FOR_EACH_ELEM(e) e->RetAddNodeStress(m, first, last, row, col);
}
void CMeshOrganizer::GetBCs(CObList& list)
{
    FOR_EACH_ELEM(e) e->GetBCs(list);
}
void CMeshOrganizer::Translate(double dx, double dy, double dz, bool all)
{
    FOR_EACH_ELEM(e) e->Translate(dx, dy, dz, all);
}
void CMeshOrganizer::GetMaxMinCoord(double* max, double* min)
{
    FOR_EACH_ELEM(e) e->GetMaxMinExt(max, min);
}

void CMeshOrganizer::AddElmt(CVirtRealMat& stiffness, CVirtRealMat* load, CArrayArray<LONG>& dofs)
{
    // Plane-stress elasticity of the fixed material E = 210000, nu = 0.3.
    const double e = 210000.0, nu = 0.3;
    const double f = e / (1.0 - nu * nu);
    CMatrix d(3, 3, true, 0.0);
    d[0][0] = d[1][1] = f;
    d[0][1] = d[1][0] = f * nu;
    d[2][2] = f * (1.0 - nu) / 2.0;
    FOR_EACH_ELEM(el) el->AddElmt(stiffness, d, load, dofs);
}

void CMeshOrganizer::DrawGL(bool nodes)
{
    FOR_EACH_ELEM(e) e->DrawGL();
    if (!nodes)
        return;
    glPointSize(static_cast<GLfloat>(SMALL_POINT));
    glColor3d(0.0, 1.0, 0.0);
    glBegin(GL_POINTS);
    FOR_EACH_ELEM(e) for (POSITION p = e->GetHeadPosition(); p;) e->GetNextNode(p)->GLVertex();
    glEnd();
}

// ------------------------------------------------------------ smoothing

void CMeshOrganizer::PreSmooth()
{
    FOR_EACH_ELEM(e) e->SetSmoothMask(0);
}

bool CMeshOrganizer::Smooth(bool allNames)
{
    std::vector<CElement*> group;
    CVector sum;
    FOR_EACH_ELEM(e)
    {
        if (!e->HasResults())
            continue;
        const int corners = e->GetNumExtResVects();
        int i = 0;
        for (POSITION np = e->GetHeadPosition(); np && i < corners; ++i) {
            CSNode* node = e->GetNextNode(np);
            const CVector* own = e->GetRes(i);
            if ((e->GetSmoothMask() >> i) & 1u || !own || own->GetSize() == 0)
                continue;
            const int size = own->GetSize();
            if (sum.GetSize() != size)
                sum.Allocate(size, true, 0.0);
            else
                sum.Initialize(0.0);
            int count = 0;
            group.clear();
            const CString& name = e->NameRef();
            CObList* graphs = node->GetGraphList();
            for (POSITION gp = graphs ? graphs->GetHeadPosition() : nullptr; gp;) {
                auto* g = dynamic_cast<CElement*>(graphs->GetNext(gp));
                if (!g || !g->HasResults())
                    continue;
                if (!allNames && std::strcmp(g->NameRef(), name) != 0)
                    continue;
                const int k = g->FindIndex(node);
                CVector* v = g->GetRes(k);
                if (k < 0 || !v || k >= 16)
                    continue;
                g->SetSmoothMask(static_cast<WORD>(g->GetSmoothMask() | (1u << k)));
                group.push_back(g);
                ++count;
                const int n = std::min(size, v->GetSize());
                for (int c = 0; c < n; ++c)
                    sum[c] += (*v)[c];
            }
            if (count == 0)
                continue;
            sum /= static_cast<double>(count);
            for (int c = size - 1; c >= 0; --c)
                if (c < CElement::kMaxResIndex) {
                    CElement::m_strMaxStress[c] = std::max(CElement::m_strMaxStress[c], sum[c]);
                    CElement::m_strMinStress[c] = std::min(CElement::m_strMinStress[c], sum[c]);
                }
            // The average goes into each vector in place when the sizes
            // agree, so that smoothing allocates nothing per node.
            for (CElement* g : group) {
                const int k = g->FindIndex(node);
                CVector* v = g->GetRes(k);
                if (v->GetSize() == size)
                    *v = sum;
                else
                    g->SetRes(k, new CVector(sum));
            }
        }
    }
    return true;
}

// ------------------------------------------------------------ conversion

CElement* CMeshOrganizer::Build(int kind, CSNode** n)
{
    switch (kind) {
    case 101:
        return new CTriElement(n[0], n[1], n[2]);
    case 102:
        return new CTri4Elem(n[0], n[1], n[2]);
    case 103:
        return new CTri6Element(n[0], n[1], n[2]);
    case 104:
        return new CQuadElem(n[0], n[1], n[2], n[3]);
    case 105:
        return new CQuad8Elem(n[0], n[1], n[2], n[3]);
    default:
        return nullptr;
    }
}

int CMeshOrganizer::Convert(int kind, int need, bool keepResults)
{
    int built = 0;
    for (POSITION pos = GetHeadPosition(); pos;) {
        POSITION at = pos;
        auto* old = static_cast<CElement*>(GetNext(pos));
        // An element with fewer corners than the kind needs stays as it is.
        if (old->GetCount() < need || (need == 4 && old->GetKind() != 3))
            continue;
        CSNode* nodes[4] = {};
        for (int i = 0; i < need; ++i)
            nodes[i] = old->GetNode(i);
        CElement* fresh = Build(kind, nodes);
        fresh->SetName(old->GetName());
        fresh->SetID(old->GetID());
        if (keepResults)
            old->MoveResultsTo(fresh);
        SetAt(at, fresh);
        delete old;
        ++built;
    }
    CGraph::lIDGraph -= static_cast<DWORD>(built);
    return built;
}

void CMeshOrganizer::TriToTri(int kind, bool dropResults)
{
    if (kind < 101 || kind > 103)
        return;
    Convert(kind, 3, !dropResults);
}

void CMeshOrganizer::QuadToQuad(int kind)
{
    if (kind != 104 && kind != 105)
        return;
    Convert(kind, 4, false);
}

void CMeshOrganizer::RefineUniform(int n)
{
    CObList parts(10);
    while (!IsEmpty()) {
        auto* e = static_cast<CElement*>(RemoveHead());
        e->RefineUniform(n, &parts);
        delete e;
    }
    while (!parts.IsEmpty())
        AddTail(parts.RemoveHead());
}

// ------------------------------------------------------------ whole mesh

bool CMeshOrganizer::GetMaxMinStress(int r, double& max, double& min)
{
    return !IsEmpty() && GetHeadElem()->GetMaxMinStress(r, max, min);
}

void CMeshOrganizer::CalibStress(double* values, bool onlyMin, int n)
{
    if (!IsEmpty())
        CElement::CalibStress(values, onlyMin, n);
}

CElement* CMeshOrganizer::PointInElement(CSNode* node)
{
    FOR_EACH_ELEM(e) if (e->IsPointInElem(node)) return e;
    return nullptr;
}

double CMeshOrganizer::CalcArea()
{
    double area = 0.0;
    FOR_EACH_ELEM(e) area += e->PhysicalSize();
    return area;
}

CMeshOrganizer* CMeshOrganizer::Copy(bool releaseCopies)
{
    // Mid-side nodes are linked to the dividing node of their edge, through
    // which neighbours find and share them. That link is not a copy: it is
    // set aside while the elements are copied, else the copies would take
    // the edge's own dividing nodes.
    std::vector<std::pair<CSNode*, CSNode*>> links;
    FOR_EACH_ELEM(e)
    for (POSITION p = e->GetHeadPosition(); p;) {
        CSNode* node = e->GetNextNode(p);
        CSNode* partner = node->GetCopyNode();
        if (partner && (partner->m_uiFlags & 8u) && partner->GetCopyNode() == node) {
            links.emplace_back(node, partner);
            node->SetCopyNode(nullptr);
            partner->SetCopyNode(nullptr);
        }
    }
    auto* copy = new CMeshOrganizer;
    FOR_EACH_ELEM(e) copy->AddTail(static_cast<CObject*>(e->Copy(false)));
    if (releaseCopies) {
        FOR_EACH_ELEM(e) e->ReleaseCopyNodes(true);
        for (auto& [node, partner] : links) {
            node->SetCopyNode(partner);
            partner->SetCopyNode(node);
        }
    }
    return copy;
}

void CMeshOrganizer::SetNames(CString name)
{
    FOR_EACH_ELEM(e) e->SetName(name);
}

void CMeshOrganizer::ResetElIDs(long& counter)
{
    FOR_EACH_ELEM(e) e->SetID(4000000001ul + static_cast<unsigned long>(counter++));
}

void CMeshOrganizer::GetLoads(CObList* nodeLoads, CObList* edgeLoads)
{
    FOR_EACH_ELEM(e)
    {
        if (nodeLoads)
            e->GetNodeLoads(*nodeLoads);
        if (edgeLoads)
            e->GetEdgeLoads(*edgeLoads);
    }
}

void CMeshOrganizer::GetMaxMinLoad(double& max, double& min, unsigned flags)
{
    auto widenByZero = [&]() {
        if (max < min)
            max = min = 0.0;
        else if (max < 0.0)
            max = 0.0;
    };
    FOR_EACH_ELEM(e)
    {
        for (POSITION p = e->GetHeadPosition(); p;) {
            CSNode* node = e->GetNextNode(p);
            if (!e->IsOwnNode(node))
                continue;
            if (flags & 2) {
                if (CLoad* load = node->GetLoad())
                    load->GetMaxMin(max, min);
                else
                    widenByZero();
            }
            if ((flags & 4) && node->GetEdgeList()) {
                CObList* edges = node->GetEdgeList();
                for (POSITION ep = edges->GetHeadPosition(); ep;) {
                    auto* edge = static_cast<CEdge*>(edges->GetNext(ep));
                    if (edge->GetNode1() != node)
                        continue;
                    if (CLoad* load = edge->GetLoad())
                        load->GetMaxMin(max, min);
                    else
                        widenByZero();
                }
            }
        }
    }
}

void CMeshOrganizer::GetFEMNodes(NODELIST& list, int start)
{
    int counter = start;
    FOR_EACH_ELEM(e) e->InsertNodesInList(list, true, counter);
}

CObject* CMeshOrganizer::GetObjectA(unsigned long id)
{
    // Only identifiers above 4000000000 name elements; edges and nodes are
    // found through the elements' graph lookup.
    if (id > 4000000000ul) {
        FOR_EACH_ELEM(e) if (e->GetID() == id) return e;
        return nullptr;
    }
    FOR_EACH_ELEM(e) if (CObject* ob = e->GetObject(id, false)) return ob;
    return nullptr;
}
