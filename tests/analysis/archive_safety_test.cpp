// Model files load safely (issue 38): the crafted files of the fuzzer are
// refused with the right archive error, objects are checked for their class
// and their one owner, stored counts are checked before allocation, a failed
// load is discarded whole and leaks nothing, and the valid files that
// crashed or bloated load cleanly. The sanitizer build runs these under
// AddressSanitizer and LeakSanitizer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/analysis/analysis.h"
#include "femodel/strelna.h"
#include "platform/ferrand/material.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_files.h"

namespace
{

using Bytes = std::vector<BYTE>;
using brantel::test::MessageRecorder;

// ------------------------------------------------------------ loading

// The outcome of a load: the archive exception's cause, or none.
struct Outcome {
    int cause = CArchiveException::none;
    bool loaded() const { return cause == CArchiveException::none; }
};

// Loads the bytes through ReadObject(nullptr). The caller's check runs on
// the loaded object; then, as after a failure, the load is discarded: the
// object, then whatever else the archive made.
Outcome LoadObject(const Bytes& bytes, const std::function<void(CObject*)>& check = {})
{
    Outcome out;
    afxtest::loadBytes(bytes, [&](CArchive& ar) {
        try {
            CObject* ob = ar.ReadObject(nullptr);
            if (check)
                check(ob);
            delete ob;
        } catch (CArchiveException& e) {
            out.cause = e.m_cause;
        }
        ar.DeleteCreatedObjects();
    });
    return out;
}

// Loads the bytes into a fresh component of the class, as a document does;
// the caller's check runs on the loaded model. Success or not, the model
// is then deleted and the archive's leftovers (the materials) freed.
template <class Comp>
Outcome LoadModel(const Bytes& bytes, const std::function<void(Comp&)>& check = {})
{
    Outcome out;
    afxtest::loadBytes(bytes, [&](CArchive& ar) {
        auto model = std::make_unique<Comp>();
        try {
            model->Serialize(ar);
            if (check)
                check(*model);
        } catch (CArchiveException& e) {
            out.cause = e.m_cause;
        }
        model.reset();
        ar.DeleteCreatedObjects();
    });
    return out;
}

Bytes ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::filesystem::path SourceDir()
{
    if (const char* root = std::getenv("BRANTEL_SOURCE_DIR"))
        return root;
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
}

// ------------------------------------------------------------ models

// The test plays the document: it owns the materials and the node list.
class ArchiveSafetyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CGraph::m_pNodeList = &m_nodes;
        CSectMeshArea::StopCalc(false);
        CMGenerator::Stop(false);
        m_storeMesh = CSectMeshArea::m_bStoreMesh;
        m_kind = CElement::m_iStaticKind;
    }
    void TearDown() override
    {
        CSectMeshArea::m_bStoreMesh = m_storeMesh;
        CElement::m_iStaticKind = m_kind;
        CGraph::m_pNodeList = nullptr;
    }

    static CBoundNode* N(double x, double y) { return new CBoundNode(x, y, 0.0, nullptr, 0); }

    // A 4 x 4 plate with a square hole and a refine point, of the element
    // code, meshed or not. The region and the refine point are kept for
    // the tests.
    template <class Comp = CPlateComp>
    std::unique_ptr<Comp> Holed(int code, bool mesh)
    {
        auto comp = std::make_unique<Comp>();
        comp->AddMaterial(&m_steel);
        comp->AddMaterial(&m_void);
        comp->SetElementType(code);
        comp->m_iSubdivisions = 8;
        comp->m_nMinElements = 20;
        m_region = new CSectPlate(N(0, 0), N(4, 0), N(4, 4), N(0, 4), &m_steel);
        m_region->InsertSubSect(new CSectPlate(N(1.5, 1.5), N(2.5, 1.5), N(2.5, 2.5), N(1.5, 2.5), &m_void));
        m_point = new CSNode(3.2, 3.1, 0.0, nullptr, 0);
        m_point->SetSNodSpace(0.3, true);
        m_region->AddRefinePoint(m_point);
        comp->AddTail(static_cast<CSection*>(m_region));
        if (mesh) {
            CStringArray log, errors;
            EXPECT_TRUE(comp->PreCalc(&log, &errors, 0))
                << (errors.IsEmpty() ? "" : static_cast<const char*>(errors[0]));
            EXPECT_NE(m_region->GetMesh(), nullptr);
        }
        return comp;
    }

    template <class Comp>
    static Bytes Store(Comp& comp, bool withMesh)
    {
        const bool saved = CSectMeshArea::m_bStoreMesh;
        CSectMeshArea::m_bStoreMesh = withMesh;
        Bytes bytes = afxtest::storeBytes([&](CArchive& ar) { comp.Serialize(ar); });
        CSectMeshArea::m_bStoreMesh = saved;
        return bytes;
    }

    NODELIST m_nodes;
    CMaterial m_steel{"Steel", 7.85e-9, 210000.0, 80000.0, 0.3, 1.2e-5};
    CMaterial m_void{"VOID", 0.0, 0.0, 0.0, 0.0, 0.0};
    CSectPlate* m_region = nullptr;
    CSNode* m_point = nullptr;
    MessageRecorder m_recorder;

private:
    bool m_storeMesh = false;
    int m_kind = 101;
};

CSectPlate* FirstRegion(CPlateComp& comp)
{
    return dynamic_cast<CSectPlate*>(comp.CObList::GetHead());
}

CSNode* FirstRefinePoint(CSectArea* region)
{
    POSITION first = nullptr;
    CObList* refine = region->GetRefineList(first);
    return refine && first ? dynamic_cast<CSNode*>(refine->GetAt(first)) : nullptr;
}

} // namespace

// ------------------------------------------------------------ valid files

// Code 31 stored with its mesh: the refinement node that the mesh uses is
// registered with its region after loading, as after meshing; deleting the
// mesh, meshing again and closing are clean.
TEST_F(ArchiveSafetyTest, RefinePointOfAStoredMeshStaysWithItsRegion)
{
    auto comp = Holed(31, true);
    ASSERT_GE(m_point->GetGraphCount(), 2);
    const CObject* lastGraph = m_point->GetGraphList()->GetTail();
    EXPECT_EQ(lastGraph, m_region);
    const Bytes bytes = Store(*comp, true);

    const Outcome outcome = LoadModel<CPlateComp>(bytes, [&](CPlateComp& loaded) {
        CSectPlate* region = FirstRegion(loaded);
        ASSERT_NE(region, nullptr);
        ASSERT_NE(region->GetMesh(), nullptr);
        CSNode* point = FirstRefinePoint(region);
        ASSERT_NE(point, nullptr);
        // The mesh's elements first, the region last: as after meshing.
        EXPECT_EQ(point->GetGraphCount(), m_point->GetGraphCount());
        EXPECT_EQ(point->GetGraphList()->GetTail(), region);
        EXPECT_TRUE(point->GetPrimaryGraph()->IsKindOf(RUNTIME_CLASS(CElement)));
        // Deleting the mesh keeps the point (the region holds it) ...
        loaded.DeleteMesh();
        EXPECT_EQ(point->GetGraphCount(), 1);
        EXPECT_EQ(FirstRefinePoint(region), point);
        // ... and meshing again uses it.
        CStringArray log, errors;
        EXPECT_TRUE(loaded.PreCalc(&log, &errors, 0));
        ASSERT_NE(region->GetMesh(), nullptr);
        EXPECT_GE(point->GetGraphCount(), 2);
        EXPECT_EQ(point->GetGraphList()->GetTail(), region);
        loaded.DeleteMesh();
    });
    EXPECT_TRUE(outcome.loaded()) << outcome.cause;
}

// Code 32 stored without its mesh: the refine point does not drag the
// mesh's edges and nodes into the file, which is as small as the model's
// before meshing; the file holds no mesh node.
TEST_F(ArchiveSafetyTest, ModelStoredWithoutItsMeshHoldsNoMeshNode)
{
    for (int code : {31, 32}) {
        SCOPED_TRACE(code);
        auto plain = Holed(code, false);
        const Bytes before = Store(*plain, false);
        plain.reset();
        auto comp = Holed(code, true);
        const Bytes without = Store(*comp, false);
        EXPECT_EQ(without.size(), before.size());
        EXPECT_LT(without.size(), 1200u);
        // Storing changed nothing in the model: the mesh still uses the point.
        const int uses = m_point->GetGraphCount();
        EXPECT_GE(uses, 2);
        EXPECT_EQ(Store(*comp, false), without);

        // Loaded: every node belongs to a region's outline or is the refine point.
        afxtest::loadBytes(without, [&](CArchive& ar) {
            auto model = std::make_unique<CPlateComp>();
            CPlateComp& loaded = *model;
            loaded.Serialize(ar);
            CSectPlate* region = FirstRegion(loaded);
            ASSERT_NE(region, nullptr);
            EXPECT_EQ(region->GetMesh(), nullptr);
            int nodes = 0;
            for (CObject* ob : ar.GetCreatedObjects()) {
                auto* node = dynamic_cast<CSNode*>(ob);
                if (!node)
                    continue;
                ++nodes;
                EXPECT_EQ(node->GetGraphCount(), 1);
                EXPECT_TRUE(node->GetPrimaryGraph()->IsKindOf(RUNTIME_CLASS(CSectPlate)));
                EXPECT_EQ(node->GetEdgeList() == nullptr, node == FirstRefinePoint(region));
            }
            EXPECT_EQ(nodes, 4 + 4 + 1);
            // The model, then its materials (as the document frees them).
            model.reset();
            ar.DeleteCreatedObjects();
        });
        comp->DeleteMesh();
        EXPECT_EQ(m_point->GetGraphCount(), 1);
    }
}

// Files written without the mesh by earlier versions hold the mesh's nodes
// behind the refine point; loading frees them at once (no leak, no node
// without an owner).
TEST_F(ArchiveSafetyTest, MeshLeftoversOfOlderFilesAreFreed)
{
    auto comp = Holed(32, false);
    // The shape of such a file: the point with edges to nodes of no graph.
    CSNode* a = new CSNode(3.5, 3.1, 0.0, nullptr, 0);
    CSNode* b = new CSNode(3.5, 3.6, 0.0, nullptr, 0);
    new CEdge(m_point, a);
    new CEdge(a, b);
    new CEdge(b, m_point);
    const Bytes bytes = Store(*comp, false);
    delete a;
    delete b;
    EXPECT_EQ(m_point->GetEdgeList(), nullptr);
    EXPECT_GT(bytes.size(), Store(*comp, false).size());

    const Outcome outcome = LoadModel<CPlateComp>(bytes, [&](CPlateComp& loaded) {
        CSNode* point = FirstRefinePoint(FirstRegion(loaded));
        ASSERT_NE(point, nullptr);
        EXPECT_EQ(point->GetEdgeList(), nullptr);
        EXPECT_EQ(point->GetGraphCount(), 1);
    });
    EXPECT_TRUE(outcome.loaded()) << outcome.cause;
}

// ------------------------------------------------------------ crafted files

// The fuzzer's crashing files (fuzz/corpus/, README there): each is refused
// with an archive exception of the expected cause, nothing leaks and
// nothing is freed twice.
TEST_F(ArchiveSafetyTest, CraftedFilesAreRefused)
{
    struct Case {
        const char* file;
        int cause;
    };
    const Case objects[] = {
        {"crafted_result_count.bin", CArchiveException::endOfFile},
        {"crafted_shared_result_vector.bin", CArchiveException::badIndex},
        {"crafted_shared_condition.bin", CArchiveException::badIndex},
        {"crafted_element_twice_in_mesh.bin", CArchiveException::badIndex},
        {"crafted_region_in_own_mesh.bin", CArchiveException::badClass},
        {"crafted_broken_mesh_then_backref.bin", CArchiveException::badIndex},
        // Found by fuzzing: a cross-section's axis refers back to a node read
        // before it; the discard freed the node and then the axis freed it
        // again.
        {"axis_node_read_before.bin", CArchiveException::badIndex},
        // A cross-section's auxiliary object is an edge that a node read
        // later lists: the node freed it, then the section freed it again.
        {"aux_edge_listed_by_a_later_node.bin", CArchiveException::badIndex},
        // The same edge, with the axis after it broken off: the section
        // was discarded still holding the edge its node had freed.
        {"aux_edge_then_a_broken_axis.bin", CArchiveException::badIndex},
    };
    const std::filesystem::path corpus = SourceDir() / "fuzz" / "corpus";
    for (const Case& c : objects) {
        SCOPED_TRACE(c.file);
        const Bytes bytes = ReadFile(corpus / "fuzz_objects" / c.file);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(LoadObject(bytes).cause, c.cause);
    }
    const Case models[] = {
        {"crafted_material_list_is_region.bin", CArchiveException::badClass},
        // The file's first region breaks off early (the region reader used
        // to swallow that and read on into the second listing).
        {"crafted_region_listed_twice.bin", CArchiveException::endOfFile},
    };
    for (const Case& c : models) {
        SCOPED_TRACE(c.file);
        for (const char* folder : {"fuzz_platecomp", "fuzz_shellcomp"}) {
            const Bytes bytes = ReadFile(corpus / folder / c.file);
            ASSERT_FALSE(bytes.empty());
            EXPECT_EQ(LoadModel<CPlateComp>(bytes).cause, c.cause);
            EXPECT_EQ(LoadModel<CShellComp>(bytes).cause, c.cause);
        }
    }
    // Found by the project's fuzz targets.
    const Case found[] = {
        // A sub-region list breaks off (an entry of the wrong class) after
        // taking a region: the region was freed after the material it counts.
        {"fuzz_platecomp/owned_region_of_a_broken_list.bin", CArchiveException::badClass},
    };
    for (const Case& c : found) {
        SCOPED_TRACE(c.file);
        const Bytes bytes = ReadFile(corpus / c.file);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(LoadModel<CPlateComp>(bytes).cause, c.cause);
    }
    // Every regression input of the corpus loads or is refused cleanly
    // through its target's loader (the sanitizer build checks).
    for (const char* folder : {"fuzz_objects", "fuzz_platecomp", "fuzz_shellcomp"})
        for (const auto& entry : std::filesystem::directory_iterator(corpus / folder)) {
            SCOPED_TRACE(entry.path().string());
            const Bytes bytes = ReadFile(entry.path());
            const std::string name = folder;
            if (name == "fuzz_objects")
                LoadObject(bytes);
            else if (name == "fuzz_platecomp")
                LoadModel<CPlateComp>(bytes);
            else
                LoadModel<CShellComp>(bytes);
        }
}

// ------------------------------------------------------------ ownership

namespace
{

// An element whose result slots a test can fill with any vector.
struct ResultSlots : CElement {
    static CVector** CElement::*Slots() { return &ResultSlots::m_pRes; }
    static int CElement::*Count() { return &ResultSlots::m_nRes; }
};

CTriElement* Triangle(double x0)
{
    return new CTriElement(new CSNode(x0, 0, 0, nullptr, 0), new CSNode(x0 + 1, 0, 0, nullptr, 0),
                           new CSNode(x0, 1, 0, nullptr, 0));
}

// A node whose condition slot a test can set to any condition.
struct CondSlot : CBoundNode {
    static CBoundCond* CBoundNode::*Slot() { return &CondSlot::m_pBC; }
};

} // namespace

// Objects that a loader owns may be read only once as new objects: a
// back-reference into an owning slot is refused (badIndex), an object of
// another class is refused (badClass), before anything is linked twice.
TEST_F(ArchiveSafetyTest, OwningSlotsRefuseSharedObjects)
{
    // One result vector in two elements of a mesh.
    {
        CMeshOrganizer mesh;
        CTriElement* a = Triangle(0);
        CTriElement* b = Triangle(2);
        mesh.AddElement(a);
        mesh.AddElement(b);
        a->AllocateRes(1);
        a->SetRes(0, new CVector(3, true, 1.0));
        b->AllocateRes(1);
        (b->*ResultSlots::Slots())[0] = a->GetRes(0);
        const Bytes bytes = afxtest::storeBytes([&](CArchive& ar) { ar << &mesh; });
        (b->*ResultSlots::Slots())[0] = nullptr;
        EXPECT_EQ(LoadObject(bytes).cause, CArchiveException::badIndex);
    }
    // One element twice in a mesh.
    {
        CMeshOrganizer mesh;
        CTriElement* a = Triangle(0);
        mesh.AddElement(a);
        mesh.AddTail(static_cast<CObject*>(a));
        const Bytes bytes = afxtest::storeBytes([&](CArchive& ar) { ar << &mesh; });
        mesh.RemoveTail();
        EXPECT_EQ(LoadObject(bytes).cause, CArchiveException::badIndex);
    }
    // One condition on two nodes.
    {
        CBoundNode a(0, 0, 0, nullptr, 0), b(1, 0, 0, nullptr, 0);
        auto* shared = new CBoundCond;
        shared->SetType(3);
        a.*CondSlot::Slot() = shared;
        b.*CondSlot::Slot() = shared;
        CObList pair;
        pair.AddTail(&a);
        pair.AddTail(&b);
        const Bytes bytes = afxtest::storeBytes([&](CArchive& ar) { ar << &pair; });
        b.*CondSlot::Slot() = nullptr;
        pair.RemoveAll();
        EXPECT_EQ(LoadObject(bytes).cause, CArchiveException::badIndex);
    }
    // One region twice in the model's list; a mesh entry that is a region.
    {
        auto comp = Holed(31, false);
        comp->AddTail(static_cast<CSection*>(m_region));
        const Bytes twice = Store(*comp, false);
        comp->RemoveTail();
        EXPECT_EQ(LoadModel<CPlateComp>(twice).cause, CArchiveException::badIndex);
        EXPECT_EQ(LoadModel<CShellComp>(twice).cause, CArchiveException::badIndex);

        auto* mesh = new CMeshOrganizer;
        mesh->AddTail(static_cast<CObject*>(m_region));
        struct MeshSlot : CSectMeshArea {
            static CMeshOrganizer* CSectMeshArea::*Slot() { return &MeshSlot::m_pMesh; }
        };
        m_region->*MeshSlot::Slot() = mesh;
        const Bytes own = Store(*comp, true);
        mesh->RemoveAll();
        EXPECT_EQ(LoadModel<CPlateComp>(own).cause, CArchiveException::badClass);
    }
}

// A stored count is checked against the bytes left before anything is
// allocated: an element that claims 2^32 - 1 result vectors in a short file.
TEST_F(ArchiveSafetyTest, ElementResultCountIsCheckedBeforeAllocation)
{
    CTriElement* e = Triangle(0);
    e->AllocateRes(1);
    e->SetRes(0, new CVector(2, true, 0.5));
    Bytes bytes = afxtest::storeBytes([&](CArchive& ar) { ar << static_cast<CObject*>(e); });
    delete e;
    // The count follows the element's node list and name; find it by the
    // smoothing word 0 and the vector's class record that follow it.
    const std::string record = "CVector";
    auto at = std::search(bytes.begin(), bytes.end(), record.begin(), record.end());
    ASSERT_NE(at, bytes.end());
    const std::size_t count = static_cast<std::size_t>(at - bytes.begin()) - 6 - 2 - 4;
    ASSERT_EQ(bytes[count], 1);
    for (int i = 0; i < 4; ++i)
        bytes[count + i] = 0xFF;
    EXPECT_EQ(LoadObject(bytes).cause, CArchiveException::endOfFile);
}

// ------------------------------------------------------------ failed loads

namespace
{

// Conditions, loads and results on a meshed model, so that every kind of
// object is in the file.
void Decorate(CSectPlate* region)
{
    for (int i = 0; i < 2; ++i)
        if (auto* node = dynamic_cast<CBoundNode*>(region->GetNode(i)))
            node->SetStandBC(1 + i, 0);
    if (auto* node = dynamic_cast<CBoundNode*>(region->GetNode(2))) {
        CNodeLoad load;
        load.Allocate(3, true, 0.0);
        load[2] = -5.0;
        node->SetNodeLoad(load);
    }
    if (auto* edge = dynamic_cast<CBoundary*>(CGraph::GetComEdge(region->GetNode(2), region->GetNode(3)))) {
        edge->SetBC(4, 0);
        auto* load = new CEdgeLoad;
        load->Allocate(6, true, 1.0);
        edge->SetLoad(load);
    }
    if (CMeshOrganizer* mesh = region->GetMesh()) {
        int k = 0;
        for (POSITION p = mesh->GetHeadPosition(); p && k < 5; ++k) {
            CElement* element = mesh->GetNextElem(p);
            element->AllocateRes(2);
            element->SetRes(0, new CVector(3, true, 1.0 + k));
            element->SetRes(1, new CVector(3, true, -1.0 - k));
        }
    }
}

} // namespace

// Every truncation of stored models (with and without the mesh, plate and
// buckling components) fails with "end of file", is discarded whole and
// leaks nothing; the model that is open meanwhile is untouched.
TEST_F(ArchiveSafetyTest, TruncatedModelsFailAsCutShortAndLeakNothing)
{
    auto open = Holed<CShellComp>(32, true);
    Decorate(m_region);
    const Bytes openBytes = Store(*open, true);
    const int openNodes = m_nodes.m_nCount;

    struct Model {
        const char* name;
        Bytes bytes;
        bool shell;
    };
    std::vector<Model> models;
    for (int code : {31, 32}) {
        auto comp = Holed(code, true);
        Decorate(m_region);
        models.push_back({code == 31 ? "plate 31 with mesh" : "plate 32 with mesh", Store(*comp, true), false});
        models.push_back({code == 31 ? "plate 31 without mesh" : "plate 32 without mesh", Store(*comp, false), false});
    }
    {
        auto comp = Holed<CShellComp>(41, true);
        Decorate(m_region);
        models.push_back({"buckling 41 with mesh", Store(*comp, true), true});
    }
    for (const Model& m : models) {
        SCOPED_TRACE(m.name);
        // The whole file loads.
        EXPECT_TRUE((m.shell ? LoadModel<CShellComp>(m.bytes) : LoadModel<CPlateComp>(m.bytes)).loaded());
        const std::size_t n = m.bytes.size();
        EXPECT_GT(n, 900u);
        for (std::size_t k = 0; k < 64; ++k) {
            const std::size_t cut = n * k / 64;
            const Bytes prefix(m.bytes.begin(), m.bytes.begin() + static_cast<long>(cut));
            const Outcome outcome = m.shell ? LoadModel<CShellComp>(prefix) : LoadModel<CPlateComp>(prefix);
            EXPECT_EQ(outcome.cause, CArchiveException::endOfFile) << "cut at " << cut << " of " << n;
        }
    }
    EXPECT_EQ(Store(*open, true), openBytes);
    EXPECT_EQ(m_nodes.m_nCount, openNodes);
}
