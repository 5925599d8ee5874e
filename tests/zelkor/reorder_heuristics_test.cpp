// The renumbering heuristics: permutations on every kind of graph, their
// reports, their scripts and the acceptance rule of the tabu search.
#include <functional>
#include <cctype>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "matrix/detail/message.h"
#include "platform/afx/safefile.h"
#include "tests/support/write_failure_cases.h"
#include "tests/zelkor/reorder_graphs.h"

using namespace reordertest;
using V = std::vector<LONG>;

namespace {

const char kMinDegreeClose[] = "\r\n\r\nclose all;\r\n figure;\r\n spy(before);\r\n figure;\r\n"
                               " spy(after);\r\n r = symmmd(before);\r\nfigure;\r\n"
                               " spy(before(r,r));\r\n";
const char kPlainClose[] = "\r\n\r\nclose all;\r\n figure;\r\n spy(before);\r\n figure;\r\n"
                           " spy(after);\r\n";

// The first report line, whatever the time: "Used time reordering:   "
// minutes " m " seconds with two decimals " s\r\n". The rest goes to rest.
bool StartsWithTimeLine(const std::string& text, std::string* rest = nullptr)
{
    std::size_t at = 0;
    auto literal = [&](const char* s) {
        const std::string l(s);
        if (text.compare(at, l.size(), l) != 0)
            return false;
        at += l.size();
        return true;
    };
    auto digits = [&](std::size_t least, std::size_t most) {
        std::size_t n = 0;
        while (at < text.size() && n < most && std::isdigit(static_cast<unsigned char>(text[at]))) {
            ++at;
            ++n;
        }
        return n >= least;
    };
    if (!(literal("Used time reordering:   ") && digits(1, 10) && literal(" m ") && digits(1, 2) &&
          literal(".") && digits(2, 2) && literal(" s\r\n")))
        return false;
    if (rest)
        *rest = text.substr(at);
    return true;
}

struct Heuristic {
    const char* name;
    std::function<void(CReorderMat&)> run;
    bool reports;
};

const std::vector<Heuristic>& Heuristics()
{
    static const std::vector<Heuristic> all = {
        {"MinDegReorder", [](CReorderMat& g) { g.MinDegReorder(nullptr); }, true},
        {"MinDegReorder2", [](CReorderMat& g) { g.MinDegReorder2(); }, true},
        {"MinDegReorder3", [](CReorderMat& g) { g.MinDegReorder3(); }, true},
        {"MinDegReorder4", [](CReorderMat& g) { g.MinDegReorder4(); }, true},
        {"TabuReorder", [](CReorderMat& g) { g.TabuReorder(); }, true},
        {"TabuReorder2", [](CReorderMat& g) { g.TabuReorder2(); }, false},
        {"Hager1", [](CReorderMat& g) { g.Hager1(); }, true},
        {"Hager2", [](CReorderMat& g) { g.Hager2(); }, true},
        {"Hager3", [](CReorderMat& g) { g.Hager3(); }, true},
    };
    return all;
}

// A ring of n vertices with pseudo-random chords.
Elements Scrambled(int n, unsigned seed)
{
    Elements e = Path(n);
    e.push_back({n - 1, 0});
    unsigned x = seed;
    for (int c = 0; c < n; ++c) {
        x = x * 1103515245u + 12345u;
        const LONG a = static_cast<LONG>((x >> 8) % static_cast<unsigned>(n));
        x = x * 1103515245u + 12345u;
        const LONG b = static_cast<LONG>((x >> 8) % static_cast<unsigned>(n));
        e.push_back({a, b});
    }
    return e;
}

std::vector<V> Rows(CReorderMat& g)
{
    std::vector<V> rows;
    for (int v = 0; v < g.GetRows(); ++v)
        rows.emplace_back(g.GetRow(v), g.GetRow(v) + g.GetRowLength(v));
    return rows;
}

class ReorderHeuristics : public ScriptFolder {};

} // namespace

TEST_F(ReorderHeuristics, EveryHeuristicLeavesAPermutation)
{
    struct Graph {
        const char* name;
        int n;
        Elements elements;
    };
    const std::vector<Graph> graphs = {
        {"path", 6, Path(6)},
        {"star", 6, Star(5)},
        {"grid", 20, Grid(4, 5)},
        {"two components", 9, [] {
             Elements e = Path(4);
             for (LONG v = 4; v + 1 < 9; ++v)
                 e.push_back({v, 4});
             return e;
         }()},
        {"scrambled", 30, Scrambled(30, 7)},
        {"one vertex", 1, {}},
        {"no vertices", 0, {}},
    };
    SeedRandom(3);
    for (const Heuristic& h : Heuristics()) {
        for (const Graph& graph : graphs) {
            for (int mode : {0, 1}) {
                SCOPED_TRACE(std::string(h.name) + " on " + graph.name + " mode " +
                             std::to_string(mode));
                CReorderMat g(mode);
                Build(g, graph.n, graph.elements);
                // A heuristic that ran before leaves labels that are not the
                // identity.
                if (graph.n > 2)
                    g.Move(0, graph.n - 1);
                const std::vector<V> adjacency = Rows(g);
                h.run(g);
                const V labels = Labels(g);
                EXPECT_TRUE(IsPermutation(labels));
                EXPECT_EQ(Rows(g), adjacency);
                g.PostReorder();
                for (int l = 0; l < graph.n; ++l)
                    EXPECT_EQ(g.f_v(g.f_v_inv(l)), l);
            }
        }
    }
}

TEST_F(ReorderHeuristics, MinimumDegreeKeepsThePathInOrder)
{
    CReorderMat g(0);
    Build(g, 4, Path(4));
    g.MinDegReorder2();
    EXPECT_EQ(Labels(g), (V{0, 1, 2, 3}));
    g.PostReorder();
    EXPECT_EQ(g.f_v_inv(2), 2);
}

TEST_F(ReorderHeuristics, MinimumDegreeTakesTheLeavesBeforeTheCentre)
{
    CReorderMat g(0);
    Build(g, 4, Star(3));
    g.MinDegReorder2();
    // Leaf 1 first, then leaf 2; the centre and leaf 3 tie at one remaining
    // neighbour and the lower index goes first.
    EXPECT_EQ(Labels(g), (V{2, 0, 1, 3}));
    int vertex;
    EXPECT_EQ(g.GetB(vertex), 2);
    EXPECT_EQ(g.Env(nullptr), 2 + 2 + 1 + 1);
}

TEST_F(ReorderHeuristics, ReverseOrderingOfTheStar)
{
    CReorderMat g(0);
    Build(g, 4, Star(3));
    ASSERT_EQ(g.GetAux(), nullptr);
    g.Hager1();
    EXPECT_EQ(Labels(g), (V{2, 1, 0, 3}));
    ASSERT_EQ(m_messages.texts().size(), 1u);
    EXPECT_EQ(m_messages.messages()[0].type, MB_OK);
    std::string rest;
    ASSERT_TRUE(StartsWithTimeLine(m_messages.texts()[0], &rest));
    EXPECT_EQ(rest, " Old bandwidth.        :   3\r\n New bandwidth        :    66.7%\r\n"
                    " Old env                   :   9\r\n new env                  :    66.7%\r\n");
}

TEST_F(ReorderHeuristics, ReverseOrderingWithoutCouplingsReportsAHundredPerCent)
{
    for (const auto& run : {&CReorderMat::Hager1, &CReorderMat::Hager2, &CReorderMat::Hager3}) {
        CReorderMat g(0);
        Build(g, 3, {});
        (g.*run)();
    }
    ASSERT_EQ(m_messages.texts().size(), 3u);
    for (const std::string& text : m_messages.texts()) {
        std::string rest;
        ASSERT_TRUE(StartsWithTimeLine(text, &rest));
        EXPECT_EQ(rest, " Old bandwidth.        :   0\r\n New bandwidth        :   100.0%\r\n"
                        " Old env                   :   0\r\n new env                  :   100.0%\r\n");
    }
}

TEST_F(ReorderHeuristics, EliminationOrderRestoresTheAdjacency)
{
    CReorderMat g(0);
    Build(g, 20, Grid(4, 5));
    const std::vector<V> adjacency = Rows(g);
    g.MinDegReorder4();
    EXPECT_EQ(Rows(g), adjacency);
    EXPECT_TRUE(g.Check());
    EXPECT_TRUE(IsPermutation(Labels(g)));
    // A corner of the grid has the smallest degree and is taken first.
    EXPECT_EQ(g.f_v(0), 0);
}

namespace {

// Records every label swap of the tabu search with the moved vertex's B_f
// before and after it.
class RecordingGraph : public CReorderMat {
public:
    RecordingGraph() : CReorderMat(1) {}
    struct Swap {
        int iteration;
        int before;
        int after;
    };
    void Move(int a, int b) override
    {
        const int before = B_f(a);
        CReorderMat::Move(a, b);
        swaps.push_back({m_k, before, B_f(a)});
    }
    std::vector<Swap> swaps;
};

} // namespace

TEST_F(ReorderHeuristics, TabuSearchAcceptsNoSwapThatWidensTheMovedVertex)
{
    SeedRandom(11);
    RecordingGraph g;
    Build(g, 60, Scrambled(60, 5));
    int vertex;
    const int b0 = g.GetB(vertex);
    const LONGLONG e0 = g.Env(nullptr);
    g.TabuReorder();
    EXPECT_TRUE(IsPermutation(Labels(g)));

    // A swap undone in its own iteration was rejected.
    int accepted = 0;
    int rejected = 0;
    for (std::size_t i = 0; i < g.swaps.size(); ++i) {
        if (i + 1 < g.swaps.size() && g.swaps[i + 1].iteration == g.swaps[i].iteration) {
            ++rejected;
            ++i;
            continue;
        }
        ++accepted;
        EXPECT_LE(g.swaps[i].after, g.swaps[i].before) << "swap " << i;
    }
    EXPECT_GT(accepted, 0);
    EXPECT_GT(rejected, 0);

    ASSERT_EQ(m_messages.texts().size(), 1u);
    std::string rest;
    ASSERT_TRUE(StartsWithTimeLine(m_messages.texts()[0], &rest));
    const int b1 = g.GetB(vertex);
    const LONGLONG e1 = g.Env(nullptr);
    const std::string expected = " Old bandwidth. :   " + std::to_string(b0) +
                                 "\r\n New bandwidth  :   " + std::to_string(b1) +
                                 "\r\n Nr. of switches:   " + std::to_string(accepted) +
                                 "\r\n Old env        :   " + std::to_string(e0) +
                                 "\r\n new env        :   " + std::to_string(e1) + "\r\n";
    EXPECT_EQ(rest, expected);
}

TEST_F(ReorderHeuristics, TabuSearchFollowsTheSeed)
{
    // The search never reseeds: the same seed gives the same labelling.
    V first;
    for (int run = 0; run < 2; ++run) {
        SeedRandom(5);
        CReorderMat g(1);
        Build(g, 40, Scrambled(40, 9));
        g.TabuReorder();
        if (run == 0)
            first = Labels(g);
        else
            EXPECT_EQ(Labels(g), first);
    }
}

TEST_F(ReorderHeuristics, MinimumDegreeReportsTheTimeOnly)
{
    CReorderMat g(0);
    Build(g, 5, Path(5));
    g.MinDegReorder(nullptr);
    g.MinDegReorder2();
    g.MinDegReorder3();
    g.MinDegReorder4();
    ASSERT_EQ(m_messages.texts().size(), 4u);
    for (const std::string& text : m_messages.texts()) {
        std::string rest = "x";
        EXPECT_TRUE(StartsWithTimeLine(text, &rest)) << text;
        EXPECT_EQ(rest, "");
    }
}

TEST_F(ReorderHeuristics, MinimumDegreeWithoutFileWritesNoScript)
{
    CReorderMat g(0);
    Build(g, 4, Star(3));
    g.MinDegReorder(nullptr);
    EXPECT_FALSE(std::filesystem::exists(Script()));
    EXPECT_EQ(m_messages.texts().size(), 1u);
    EXPECT_TRUE(IsPermutation(Labels(g)));
}

TEST_F(ReorderHeuristics, ScriptThatCannotBeOpenedStopsTheHeuristic)
{
    CReorderMat::SetScriptFolder(CString((m_folder / "missing").string()));
    for (const Heuristic& h : Heuristics()) {
        if (!h.reports || std::string(h.name) == "MinDegReorder")
            continue;
        SCOPED_TRACE(h.name);
        CReorderMat g(1);
        Build(g, 6, Star(5));
        g.Move(0, 5);
        const V labels = Labels(g);
        h.run(g);
        EXPECT_EQ(Labels(g), labels);
    }
    EXPECT_TRUE(m_messages.texts().empty());
}

TEST_F(ReorderHeuristics, ScriptOfAMinimumDegreeRun)
{
    CReorderMat g(0);
    Build(g, 3, Path(3));
    m_messages.watched = Script().string();
    g.MinDegReorder2();
    const std::string block = "sparse(3,3);\r\n";
    auto pattern = [](const std::string& n) {
        return n + " = sparse(3,3);\r\n" + n + "(1,2) = 2;\r\n" + n + "(1,1) = 1;\r\n" + n +
               "(2,1) = 1;\r\n" + n + "(2,3) = 3;\r\n" + n + "(2,2) = 2;\r\n" + n +
               "(3,2) = 2;\r\n" + n + "(3,3) = 3;\r\n";
    };
    const std::string expected = pattern("before") + pattern("after") + kMinDegreeClose;
    EXPECT_EQ(ReadScript(), expected);
    // The report comes last.
    ASSERT_EQ(m_messages.snapshots.size(), 1u);
    EXPECT_EQ(m_messages.snapshots[0], expected);
}

TEST_F(ReorderHeuristics, ScriptOfAReverseOrdering)
{
    CReorderMat g(0);
    Build(g, 4, Star(3));
    {
        CFile older(Script().string().c_str(), CFile::modeCreate | CFile::modeWrite);
        older.Write("older", 5);
    }
    m_messages.watched = Script().string();
    g.Hager1();
    // Labels 2, 1, 0, 3: the centre's entries carry the leaves' numbers.
    const std::string before = "before = sparse(4,4);\r\nbefore(1,2) = 2;\r\nbefore(1,3) = 3;\r\n"
                               "before(1,4) = 4;\r\nbefore(1,1) = 1;\r\nbefore(2,1) = 1;\r\n"
                               "before(2,2) = 2;\r\nbefore(3,1) = 1;\r\nbefore(3,3) = 3;\r\n"
                               "before(4,1) = 1;\r\nbefore(4,4) = 4;\r\n";
    const std::string after = "after = sparse(4,4);\r\nafter(3,2) = 2;\r\nafter(3,1) = 3;\r\n"
                              "after(3,4) = 4;\r\nafter(3,3) = 1;\r\nafter(2,3) = 1;\r\n"
                              "after(2,2) = 2;\r\nafter(1,3) = 1;\r\nafter(1,1) = 3;\r\n"
                              "after(4,3) = 1;\r\nafter(4,4) = 4;\r\n";
    EXPECT_EQ(ReadScript(), before + after + kPlainClose);
    // The report comes before the renumbered pattern: the script is not
    // complete yet, so the older one is still in place.
    ASSERT_EQ(m_messages.snapshots.size(), 1u);
    EXPECT_EQ(m_messages.snapshots[0], "older");
}

// The script replaces an older one only when all of it was written. On a
// full disk or an I/O error at the rename the heuristic still reorders and
// reports; a read-only folder or script stops it as a script that cannot
// be opened does. Each keeps the older script and leaves no temporary.
TEST_F(ReorderHeuristics, AFailedScriptKeepsTheOlderOne)
{
    brantel::test::ForEachWriteFailure(
        "Reord.m", [](safereplace::Step step) { afx::SafeFileWriter::InjectFailure(step); },
        [&](const std::string& path, const brantel::test::WriteFailureCase& c) {
            CReorderMat::SetScriptFolder(CString(std::filesystem::path(path).parent_path().string()));
            for (const Heuristic& h : Heuristics()) {
                if (!h.reports || std::string(h.name) == "MinDegReorder")
                    continue;
                SCOPED_TRACE(h.name);
                m_messages.clear();
                CReorderMat g(1);
                Build(g, 6, Star(5));
                g.Move(0, 5);
                const V labels = Labels(g);
                if (c.step != safereplace::Step::none)
                    afx::SafeFileWriter::InjectFailure(c.step);
                h.run(g);
                if (c.step == safereplace::Step::none) {
                    EXPECT_EQ(Labels(g), labels);
                    EXPECT_TRUE(m_messages.texts().empty());
                } else {
                    EXPECT_TRUE(IsPermutation(Labels(g)));
                    EXPECT_EQ(m_messages.texts().size(), 1u);
                }
            }
        });
}

TEST_F(ReorderHeuristics, MinimumDegreeWritesIntoTheCallersFile)
{
    CReorderMat g(0);
    Build(g, 2, Path(2));
    const std::string path = (m_folder / "own.m").string();
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
    g.MinDegReorder(&file);
    // The file stays open for the caller.
    file.Write("%", 1);
    file.Close();
    EXPECT_EQ(ReadFile(path), "before = sparse(2,2);\r\nbefore(1,2) = 2;\r\nbefore(1,1) = 1;\r\n"
                              "before(2,1) = 1;\r\nbefore(2,2) = 2;\r\n"
                              "after = sparse(2,2);\r\nafter(1,2) = 2;\r\nafter(1,1) = 1;\r\n"
                              "after(2,1) = 1;\r\nafter(2,2) = 2;\r\n" +
                                  std::string(kMinDegreeClose) + "%");
    EXPECT_FALSE(std::filesystem::exists(Script()));
}

TEST(ReorderTime, MinutesAndSecondsWithinTheMinute)
{
    struct Case {
        double t;
        const char* text;
    };
    for (const Case c : {Case{0.0, "0 m 0.00 s"}, Case{0.004, "0 m 0.00 s"}, Case{75.456, "1 m 15.45 s"},
                         Case{59.999, "0 m 59.99 s"}, Case{3600.5, "60 m 0.50 s"}}) {
        EXPECT_EQ(zelkor::detail::MinutesSeconds(c.t), c.text) << c.t;
    }
}
