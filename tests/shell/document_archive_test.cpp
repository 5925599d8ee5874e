// The plate document's archive: its bytes, round trips, meshes never
// stored, old files without trailing blocks, blocks that start at a buffer
// boundary, damaged files that leave the document as it was, the load
// scales and the safe save.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "platform/afx/safefile.h"
#include "tests/shell/shell_fixture.h"

namespace
{

using namespace shelltest;
using brantel::test::TempFile;

Bytes Le32(LONG value)
{
    Bytes bytes(4);
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

bool EndsWith(const Bytes& bytes, const Bytes& tail)
{
    return bytes.size() >= tail.size() &&
           std::equal(tail.begin(), tail.end(), bytes.end() - static_cast<long>(tail.size()));
}

// The version and the composite alone, as an old file holds them.
Bytes VersionAndComposite(CBrantelDoc& doc)
{
    return brantel::test::storeBytes<Bytes>([&](CArchive& ar) {
        ar << LONG(1);
        doc.m_pSectComp->Serialize(ar);
    });
}

CStringArray MaterialNames(CBrantelDoc& doc)
{
    CStringArray names;
    CObList& list = doc.GetPlateComp()->GetMaterialList();
    for (POSITION pos = list.GetHeadPosition(); pos;)
        names.Add(static_cast<CMaterial*>(list.GetNext(pos))->GetName());
    return names;
}

using DocumentArchive = ShellTest;

TEST_F(DocumentArchive, EmptyTrailingBlocksEndTheFile)
{
    CBrantelDoc doc;
    AddSquare(doc, 0.0, 0.0, 1000.0);
    TempFile file;
    const Bytes bytes = SaveBytes(doc, file);
    ASSERT_GE(bytes.size(), 20u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), Le32(1));
    EXPECT_TRUE(EndsWith(bytes, Le32(1) + Bytes(12, 0)));
}

TEST_F(DocumentArchive, StringFlagAndSeparatedNodesFollowThePasses)
{
    CBrantelDoc doc;
    doc.m_pstrArchText = new CString("abc");
    doc.m_bArchFlag = true;
    EXPECT_EQ(doc.AddSepNode(new CSNode(1.0, 2.0, 0.0, nullptr, 0), nullptr), 0);
    EXPECT_EQ(doc.AddSepNode(new CSNode(3.0, 4.0, 0.0, nullptr, 0), nullptr), 1);
    TempFile file;
    const Bytes bytes = SaveBytes(doc, file);
    const Bytes tail = Le32(1) + Le32(1) + Bytes{3, 'a', 'b', 'c'} + Le32(1) + Le32(2);
    const Bytes composite = VersionAndComposite(doc);
    // Nothing of the model has separated nodes: the passes are empty and the
    // tail follows the composite straight away, then the node objects.
    ASSERT_GT(bytes.size(), composite.size() + tail.size());
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(composite.size())), composite);
    EXPECT_EQ(Bytes(bytes.begin() + static_cast<long>(composite.size()),
                    bytes.begin() + static_cast<long>(composite.size() + tail.size())),
              tail);
    EXPECT_EQ(bytes[composite.size() + tail.size()], 0xFF); // a new class: CSNode
    EXPECT_EQ(bytes[composite.size() + tail.size() + 1], 0xFF);

    CBrantelDoc loaded;
    ASSERT_TRUE(loaded.OnOpenDocument(file.path()));
    ASSERT_NE(loaded.m_pstrArchText, nullptr);
    EXPECT_EQ(*loaded.m_pstrArchText, "abc");
    EXPECT_TRUE(loaded.m_bArchFlag);
    ASSERT_EQ(loaded.m_pNodeList->m_nCount, 2);
    EXPECT_EQ(loaded.m_pNodeList->m_pNodes[1]->x, 3.0);
    // One group slot per node, empty, so that a group can be given later.
    EXPECT_EQ(loaded.SepNodeGroups(), std::vector<CObList*>(2, nullptr));
    auto* group = new CObList;
    group->AddTail(new CSNode(9.0, 9.0, 0.0, nullptr, 0));
    EXPECT_EQ(loaded.AddSepNode(loaded.m_pNodeList->m_pNodes[1], group), 1);
    EXPECT_EQ(loaded.SepNodeGroups()[1], group);
}

TEST_F(DocumentArchive, ReloadedSampleSavesTheSameBytes)
{
    TempFile first, second;
    Bytes original;
    {
        CBrantelDoc doc;
        CSectPlate* region = AddSquare(doc, 0.0, 0.0, 1000.0);
        region->SetLoad(0.001);
        AddSquare(doc, 2000.0, 0.0, 500.0);
        doc.AddSepNode(new CBoundNode(5.0, 6.0, 0.0, nullptr, 0), nullptr);
        doc.m_pstrArchText = new CString("text");
        original = SaveBytes(doc, first);
    }
    CBrantelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(first.path()));
    EXPECT_EQ(doc.m_pSectComp->GetCount(), 2);
    EXPECT_EQ(SaveBytes(doc, second), original);
}

TEST_F(DocumentArchive, LoadingReplacesTheStartMaterialsAndKeepsScalesWithoutLoads)
{
    TempFile file;
    {
        CBrantelDoc doc;
        CObList& list = doc.GetPlateComp()->GetMaterialList();
        while (!list.IsEmpty())
            delete list.RemoveHead();
        doc.GetPlateComp()->AddMaterial(new CMaterial("Steel", 7.85e-9, 210000.0, 0.0, 0.3, 0.0));
        AddSquare(doc, 0.0, 0.0, 1000.0);
        SaveBytes(doc, file);
    }
    CBrantelDoc doc;
    ASSERT_EQ(MaterialNames(doc).GetSize(), 2); // "Default" and "VOID"
    ASSERT_TRUE(doc.OnOpenDocument(file.path()));
    const CStringArray names = MaterialNames(doc);
    ASSERT_EQ(names.GetSize(), 1);
    EXPECT_EQ(names[0], "Steel");
    EXPECT_EQ(doc.m_dNodeLoadScale, 10.0);
    EXPECT_EQ(doc.m_dEdgeLoadScale, 10.0);
}

// A region's material that the file's list leaves out is taken into the
// list, so that the document owns it (LeakSanitizer would see it lost).
TEST_F(DocumentArchive, AnUnlistedRegionMaterialJoinsTheList)
{
    TempFile file;
    {
        CBrantelDoc doc;
        CSectPlate* region = AddSquare(doc, 0.0, 0.0, 1000.0);
        CObList& list = doc.GetPlateComp()->GetMaterialList();
        std::unique_ptr<CObject> unlisted(list.RemoveHead()); // "Default", used by the region
        SaveBytes(doc, file);
        region->SetMaterial(nullptr);
    }
    CBrantelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(file.path()));
    const CStringArray names = MaterialNames(doc);
    ASSERT_EQ(names.GetSize(), 2);
    EXPECT_EQ(names[0], "VOID");
    EXPECT_EQ(names[1], "Default");
}

TEST_F(DocumentArchive, EdgeLoadsSetTheEdgeScaleFromTheDiagonal)
{
    TempFile file;
    {
        CBrantelDoc doc;
        CSectPlate* region = AddSquare(doc, 0.0, 0.0, 1000.0);
        CObList edges;
        region->GetEdges(edges);
        auto* load = new CEdgeLoad;
        load->Allocate(6, true, 0.0);
        (*load)[0] = (*load)[2] = (*load)[4] = -10.0;
        static_cast<CBoundary*>(edges.GetHead())->SetLoad(load);
        SaveBytes(doc, file);
    }
    CBrantelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(file.path()));
    EXPECT_NEAR(doc.m_dEdgeLoadScale, std::sqrt(2.0) * 1000.0 / 30.0, 1e-9);
    EXPECT_EQ(doc.m_dNodeLoadScale, 10.0);
}

// The load scales follow the model's loads wherever they are worked out:
// when the document opens, when the modelling or the element view is made,
// when a node is moved in the element view, with or without a mesh and
// with a lateral pressure on the plate. Arrows keep their length whatever
// the order of opening, meshing and viewing.
TEST_F(DocumentArchive, LoadScalesAreTheSameWithAndWithoutTheMesh)
{
    CBrantelDoc doc;
    CSectPlate* region = AddSquare(doc, 0.0, 0.0, 1000.0);
    region->SetLoad(0.001);
    CObList edges;
    region->GetEdges(edges);
    auto* load = new CEdgeLoad;
    load->Allocate(6, true, 0.0);
    (*load)[1] = (*load)[3] = (*load)[5] = 10.0;
    load->SetLocal(true);
    static_cast<CBoundary*>(edges.GetHead())->SetLoad(load);
    auto* nodeLoad = new CNodeLoad;
    nodeLoad->Allocate(1, true, -500.0);
    static_cast<CBoundNode*>(static_cast<CBoundary*>(edges.GetHead())->GetNode1())->SetNodeLoad(nodeLoad);
    const double diagonal = std::sqrt(2.0) * 1000.0;
    const auto expectModelScales = [&](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_NEAR(doc.m_dEdgeLoadScale, diagonal / 30.0, 1e-9);
        EXPECT_NEAR(doc.m_dNodeLoadScale, diagonal / 1500.0, 1e-9);
    };
    for (const bool meshed : {false, true}) {
        SCOPED_TRACE(meshed ? "meshed" : "not meshed");
        if (meshed) {
            doc.GetPlateComp()->m_iSubdivisions = 4;
            CStringArray log, errors;
            ASSERT_TRUE(doc.GetPlateComp()->PreCalc(&log, &errors, 0));
            ASSERT_NE(region->GetMesh(), nullptr);
        }
        doc.m_dNodeLoadScale = doc.m_dEdgeLoadScale = 10.0;
        doc.RecomputeLoadScales(2, 4); // the modelling view, a reopened file
        expectModelScales("model kinds");
        doc.m_dNodeLoadScale = doc.m_dEdgeLoadScale = 10.0;
        doc.RecomputeLoadScales(10, 12); // the element view, a moved node
        expectModelScales("mesh kinds");
    }
}

TEST_F(DocumentArchive, AMeshedModelIsSavedUnmeshed)
{
    CBrantelDoc doc;
    CSectPlate* region = AddSquare(doc, 0.0, 0.0, 1000.0);
    region->SetLoad(0.001);
    CPlateComp* comp = doc.GetPlateComp();
    comp->m_iSubdivisions = 4;
    CStringArray log, errors;
    ASSERT_TRUE(comp->PreCalc(&log, &errors, 0));
    ASSERT_NE(region->GetMesh(), nullptr);
    const Bytes withMesh = brantel::test::storeBytes<Bytes>([&](CArchive& ar) { doc.Serialize(ar); });
    TempFile file;
    const Bytes saved = SaveBytes(doc, file);
    EXPECT_LT(saved.size(), withMesh.size());
    EXPECT_NE(region->GetMesh(), nullptr); // the document keeps its mesh
    EXPECT_TRUE(CSectMeshArea::m_bStoreMesh);
    CBrantelDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(file.path()));
    auto* loaded = static_cast<CSectPlate*>(reopened.m_pSectComp->GetHead());
    EXPECT_EQ(loaded->GetMesh(), nullptr);
}

TEST_F(DocumentArchive, VersionAndCompositeAloneLoadWithTheDefaults)
{
    Bytes bytes;
    {
        CBrantelDoc source;
        AddSquare(source, 0.0, 0.0, 100.0);
        bytes = VersionAndComposite(source);
    }
    TempFile file;
    file.writeBytes(bytes.data(), bytes.size());
    CBrantelDoc doc;
    doc.m_bArchFlag = true;
    ASSERT_TRUE(doc.OnOpenDocument(file.path()));
    EXPECT_EQ(doc.m_pSectComp->GetCount(), 1);
    EXPECT_EQ(doc.m_pstrArchText, nullptr);
    EXPECT_FALSE(doc.m_bArchFlag);
    EXPECT_EQ(doc.m_pNodeList->m_nCount, 0);
}

// The trailing blocks start exactly where the archive's first 4096-byte
// buffer ends: the loader must refill before it decides there is no more.
TEST_F(DocumentArchive, BlocksStartingAtTheBufferBoundaryAreRead)
{
    Bytes head;
    Bytes blocks;
    {
        CBrantelDoc doc;
        AddSquare(doc, 0.0, 0.0, 100.0);
        doc.m_pstrArchText = new CString("boundary");
        doc.m_bArchFlag = true;
        doc.AddSepNode(new CSNode(7.0, 8.0, 0.0, nullptr, 0), nullptr);
        // The composite's name pads the head to exactly 4096 bytes: an empty
        // name takes one byte, a name of n >= 255 bytes takes n + 3.
        doc.m_pSectComp->SetName("");
        const std::size_t base = VersionAndComposite(doc).size();
        ASSERT_LT(base + 255, 4094u);
        doc.m_pSectComp->SetName(CString(std::string(4094 - base, 'n').c_str()));
        head = VersionAndComposite(doc);
        ASSERT_EQ(head.size(), 4096u);
        TempFile file;
        const Bytes whole = SaveBytes(doc, file);
        blocks.assign(whole.begin() + 4096, whole.end());
    }
    TempFile file;
    const Bytes bytes = head + blocks;
    file.writeBytes(bytes.data(), bytes.size());
    CBrantelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(file.path()));
    ASSERT_NE(doc.m_pstrArchText, nullptr);
    EXPECT_EQ(*doc.m_pstrArchText, "boundary");
    EXPECT_TRUE(doc.m_bArchFlag);
    EXPECT_EQ(doc.m_pNodeList->m_nCount, 1);
}

TEST_F(DocumentArchive, DamagedFilesAreRefusedAndLeaveTheDocumentAsItWas)
{
    Bytes good;
    {
        CBrantelDoc source;
        AddSquare(source, 0.0, 0.0, 100.0);
        source.m_pstrArchText = new CString("abc");
        source.AddSepNode(new CSNode(1.0, 1.0, 0.0, nullptr, 0), nullptr);
        TempFile file;
        good = SaveBytes(source, file);
    }
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const Case cases[] = {
        {"cut inside the composite", Bytes(good.begin(), good.begin() + 40)},
        {"cut inside the first block", Bytes(good.begin(), good.end() - 40)},
        {"cut inside a node", Bytes(good.begin(), good.end() - 3)},
        {"not an archive", Bytes(64, 0xEE)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CBrantelDoc doc;
        AddSquare(doc, 0.0, 0.0, 50.0);
        AddSquare(doc, 100.0, 0.0, 50.0);
        CSectComp* model = doc.m_pSectComp;
        TempFile file;
        file.writeBytes(c.bytes.data(), c.bytes.size());
        Boxes().Expect("Unexpected file format.");
        EXPECT_FALSE(doc.OnOpenDocument(file.path()));
        EXPECT_EQ(doc.m_pSectComp, model);
        EXPECT_EQ(doc.m_pSectComp->GetCount(), 2);
        EXPECT_EQ(MaterialNames(doc).GetSize(), 2);
        EXPECT_EQ(doc.m_pstrArchText, nullptr);
        EXPECT_EQ(doc.m_pNodeList->m_nCount, 0);
    }
}

// Node numbers a new node could not follow, numbers of the edge range and a
// number given twice in one region are refused like a damaged file; the open
// document keeps its model, counters, modified flag and results.
TEST_F(DocumentArchive, StoredNodeNumbersOutOfRangeOrRepeatedAreRefused)
{
    const struct {
        const char* what;
        DWORD first;
        DWORD second; // 0: the second node keeps its number
    } cases[] = {
        {"the last numbers of the node range", 99999999u, 0},
        {"the end of the node range", 100000000u, 0},
        {"an edge number", 100000001u, 0},
        {"the last edge number", 4294967294u, 0},
        {"no number", 0u, 0},
        {"a repeated number", 7u, 7u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bad;
        {
            CBrantelDoc source;
            CSectPlate* region = AddSquare(source, 0.0, 0.0, 100.0);
            CObList nodes;
            region->GetNodes(nodes);
            ASSERT_GE(nodes.GetCount(), 2);
            static_cast<CSNode*>(nodes.GetHead())->SetID(c.first);
            if (c.second)
                static_cast<CSNode*>(nodes.GetAt(nodes.FindIndex(1)))->SetID(c.second);
            TempFile file;
            bad = SaveBytes(source, file);
        }
        CBrantelDoc doc;
        AddSquare(doc, 0.0, 0.0, 50.0);
        TempFile before, after, file;
        const Bytes model = SaveBytes(doc, before);
        doc.SetModifiedFlag(FALSE);
        doc.m_bMeshValid = true;
        const DWORD counters[] = {CSNode::lIDnode, CEdge::lIDedge, CGraph::lIDGraph};
        file.writeBytes(bad.data(), bad.size());
        Boxes().Expect("Unexpected file format.");
        EXPECT_FALSE(doc.OnOpenDocument(file.path()));
        EXPECT_EQ(CSNode::lIDnode, counters[0]);
        EXPECT_EQ(CEdge::lIDedge, counters[1]);
        EXPECT_EQ(CGraph::lIDGraph, counters[2]);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_TRUE(doc.m_bMeshValid);
        EXPECT_EQ(SaveBytes(doc, after), model);
    }
    // The largest number a document may hold still loads.
    CBrantelDoc source;
    CObList nodes;
    AddSquare(source, 0.0, 0.0, 100.0)->GetNodes(nodes);
    static_cast<CSNode*>(nodes.GetHead())->SetID(99999998u);
    TempFile file;
    SaveBytes(source, file);
    CBrantelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(file.path()));
    EXPECT_NE(doc.GetObjectById(99999998u, false), nullptr);
}

// The same faults in the sample plate, kept in the document fuzz target's
// corpus: each is refused into a document that holds a model.
TEST_F(DocumentArchive, CorpusFilesWithBadNodeNumbersAreRefused)
{
    const char* root = std::getenv("BRANTEL_SOURCE_DIR");
    const std::filesystem::path corpus =
        (root ? std::filesystem::path(root)
              : std::filesystem::path(__FILE__).parent_path().parent_path().parent_path()) /
        "fuzz" / "corpus" / "fuzz_platedoc";
    for (const char* name : {"node_number_end_of_range.plb", "node_number_edge_range.plb",
                             "node_number_repeated.plb"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(std::filesystem::exists(corpus / name));
        CBrantelDoc doc;
        AddSquare(doc, 0.0, 0.0, 50.0);
        TempFile before, after;
        const Bytes model = SaveBytes(doc, before);
        Boxes().Expect("Unexpected file format.");
        EXPECT_FALSE(doc.OnOpenDocument((corpus / name).c_str()));
        EXPECT_EQ(SaveBytes(doc, after), model);
    }
}

TEST_F(DocumentArchive, AFailedSaveKeepsTheOldFileAndTheModifiedDocument)
{
    TempFile file;
    CBrantelDoc doc;
    AddSquare(doc, 0.0, 0.0, 100.0);
    const Bytes old = SaveBytes(doc, file);
    AddSquare(doc, 200.0, 0.0, 100.0);
    doc.SetModifiedFlag(TRUE);
    const std::pair<afx::SafeFileWriter::Step, std::string> steps[] = {
        {afx::SafeFileWriter::Step::write, "Disk full while accessing "},
        {afx::SafeFileWriter::Step::rename, "A hardware I/O error was reported while accessing "}};
    for (const auto& [step, cause] : steps) {
        afx::SafeFileWriter::InjectFailure(step);
        Boxes().Expect("Failed to save document.\n" + cause + file.path() + ".");
        EXPECT_FALSE(doc.DoSave(file.path(), TRUE));
        EXPECT_EQ(file.readBytes<Bytes>(), old);
        EXPECT_TRUE(doc.IsModified());
        const std::filesystem::path folder = std::filesystem::path(file.path()).parent_path();
        const std::string name = std::filesystem::path(file.path()).filename().string();
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            EXPECT_EQ(entry.path().filename().string().find(name + ".~tmp"), std::string::npos)
                << entry.path();
    }
}

} // namespace
