// The document's undo snapshot (copy of the model and its node list) with
// an undo and a redo, and the log edit's writing when its text is full.
#include <benchmark/benchmark.h>

#include "framework/framira.h"
#include "geometry/graph.h"
#include "geometry/snode.h"
#include "platform/ui/headless/headless_backend.h"
#include "sections/regions/sectarea.h"
#include "sections/regions/sectcomp.h"

class CBenchArea : public CSectArea
{
    DECLARE_SERIAL(CBenchArea)
public:
    CBenchArea() = default;
    CGraph* Copy(bool keepID) override { return new CBenchArea(*this, keepID); }

protected:
    CBenchArea(const CBenchArea& source, bool keepID) : CSectArea(source, keepID) {}
};
IMPLEMENT_SERIAL(CBenchArea, CSectArea, 1)

class CBenchComp : public CSectComp
{
    DECLARE_SERIAL(CBenchComp)
public:
    CBenchComp() = default;
    void ResetParam() override {}
    void RemoveNode(CSNode*) override {}
    void PickDrawResGL(int, bool) override {}
    bool PreCalc(CStringArray*, CStringArray*, int) override { return false; }
    bool Calculate(CStringArray*, CStringArray*) override { return false; }
};
IMPLEMENT_SERIAL(CBenchComp, CSectComp, 1)

namespace
{

// A document with a model of n unit squares side by side.
class BenchDoc : public KorDocSectComp
{
public:
    explicit BenchDoc(int regions)
    {
        m_bAutoDelete = FALSE;
        m_pSectComp = new CBenchComp;
        m_pNodeList = new NODELIST;
        CGraph::m_pNodeList = m_pNodeList;
        for (int i = 0; i < regions; ++i) {
            auto* area = new CBenchArea;
            const double x = i;
            CSNode* a = area->NewNode(x, 0, 0);
            CSNode* b = area->NewNode(x + 1, 0, 0);
            CSNode* c = area->NewNode(x + 1, 1, 0);
            CSNode* d = area->NewNode(x, 1, 0);
            area->ConnectNodes(a, b);
            area->ConnectNodes(b, c);
            area->ConnectNodes(c, d);
            area->ConnectNodes(d, a);
            m_pSectComp->AddTail(area);
            for (CSNode* n : {a, b, c, d})
                m_pNodeList->AddNode(n);
        }
    }
    ~BenchDoc() override
    {
        ReleaseCopies();
        DeleteNodeList(m_pNodeList);
        delete m_pSectComp;
        CGraph::m_pNodeList = nullptr;
    }
    void ModelChanged(CSectComp*) override {}
    void PrintPageHeader(CDC*, CPrintInfo*) override {}
    void PrintPageBody(CDC*, CPrintInfo*) override {}
    void DrawImageContent(int, unsigned int) override {}
};

void UndoCycle(benchmark::State& state)
{
    BenchDoc doc(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        doc.UpdateUndo(true);
        doc.Undo();
        doc.Redo();
    }
}

void WriteFullLog(benchmark::State& state)
{
    afxui::headless::HeadlessBackend backend;
    CWndBackend* previous = AfxSetWndBackend(&backend);
    {
        CFrameWnd* frame = new CFrameWnd;
        frame->Create(nullptr, "Brantel", WS_OVERLAPPEDWINDOW, CRect(), nullptr, 0);
        KorLogWnd log;
        log.Create(frame);
        CStringArray lines;
        const CString line(std::string(58, 'x').append("\r\n").c_str());
        for (int i = 0; i < state.range(0); ++i)
            lines.Add(line);
        log.WriteLogEntry(&lines); // full from here on
        for (auto _ : state)
            log.WriteLogEntry(&lines);
        frame->DestroyWindow();
    }
    AfxSetWndBackend(previous);
}

} // namespace

BENCHMARK(UndoCycle)->Name("UndoCycle/Small")->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(UndoCycle)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteFullLog)->Name("WriteFullLog/Small")->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteFullLog)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
