// The document's undo snapshot (copy of the model and its node list) with
// an undo and a redo, and the log edit's writing when its text is full.
#include <benchmark/benchmark.h>

#include "framework/framira.h"
#include "geometry/graph.h"
#include "geometry/snode.h"
#include "platform/ui/headless/headless_backend.h"
#include "tests/framira/undo_model.h"

BRANTEL_UNDO_MODEL_RECORDS()

namespace
{

// A document with a model of n unit squares side by side.
class BenchDoc : public CUndoDoc
{
public:
    explicit BenchDoc(int regions)
    {
        for (int i = 0; i < regions; ++i)
            AddRegion(i, 0, i + 1, 1);
    }
    void ModelChanged(CSectComp*) override {}
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
