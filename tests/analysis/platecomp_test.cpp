// Plate component: defaults, archive, copy, element-type switching, the
// material list and the small operations over all regions.
#include <GL/gl.h>


#include "platform/dimvor/dimvor.h"
#include "platform/weblar/weblar.h"
#include "tests/analysis/plate_fixture.h"
#include "tests/support/gl_context.h"
#include "tests/support/temp_files.h"

using namespace platetest;

namespace {

// The composite's result extremes, which only the derived component fills.
struct ExtremeSlots : CPlateComp {
    static CVector CSectComp::*Max() { return &ExtremeSlots::m_MaxVals; }
    static CVector CSectComp::*Min() { return &ExtremeSlots::m_MinVals; }
};

// Deletes the component, then the materials it listed (the owner's order).
void DeleteModel(CPlateComp* comp)
{
    std::vector<CObject*> materials;
    for (POSITION p = comp->GetMaterialList().GetHeadPosition(); p;)
        materials.push_back(comp->GetMaterialList().GetNext(p));
    delete comp;
    for (CObject* m : materials)
        delete m;
}

using Bytes = std::vector<BYTE>;

// A component archive written field by field, with the given version, the
// objects of the region list and of the material list.
Bytes HandWritten(LONG version, CObList& regions, CObList& materials, const CMatrix& volumeForce)
{
    return afxtest::storeBytes([&](CArchive& ar) {
        regions.Serialize(ar);
        ar << version << 2.5 << LONG(4) << CString("model") << DWORD(7) << DWORD(3);
        ar << LONG(0) << 12.0;
        for (LONG v : {32, 103, 2, 0, 1, 1, 8, 3, 2})
            ar << v;
        ar.WriteObject(&materials);
        if (version == 2)
            ar << LONG(77);
        CMatrix force = volumeForce;
        force.Serialize(ar);
        CVector max = VectorOf({1.0});
        CVector min = VectorOf({-1.0});
        max.Serialize(ar);
        min.Serialize(ar);
    });
}

class PlateCompTest : public PlateTest {};

TEST_F(PlateCompTest, Defaults)
{
    CPlateComp comp;
    EXPECT_EQ(comp.m_iElemType, 81);
    EXPECT_EQ(comp.m_iMeshKind, 101);
    EXPECT_EQ(comp.m_nMinElements, 300);
    EXPECT_EQ(comp.m_iOddRowPattern, 1);
    EXPECT_EQ(comp.m_iEvenRowPattern, 1);
    EXPECT_EQ(comp.m_iStorage, 2);
    EXPECT_EQ(comp.m_iRenumbering, 1);
    EXPECT_EQ(comp.m_iSubdivisions, -10);
    EXPECT_EQ(comp.m_iSymmetryCode, 1);
    EXPECT_EQ(comp.m_iIntegrationRule, 1);
    EXPECT_EQ(comp.m_iIntegrationPoints, 1);
    EXPECT_EQ(comp.m_iPlaneStrain, 0);
    EXPECT_EQ(comp.m_iPrintLevel, 0);
    EXPECT_TRUE(comp.m_bAutoSpacing);
    EXPECT_FALSE(comp.m_bBusy);
    EXPECT_FALSE(comp.m_bStopRequest);
    EXPECT_EQ(comp.m_pPrintNodes, nullptr);
    EXPECT_EQ(comp.m_pPrintElems, nullptr);
    EXPECT_EQ(comp.m_LocalMax.GetSize(), 5);
    EXPECT_EQ(comp.m_LocalMin.GetSize(), 5);
    EXPECT_EQ(comp.m_LocalDir.GetSize(), 2);
    EXPECT_TRUE(comp.m_LocalMax == 0);
    EXPECT_EQ(comp.m_VolumeForce.GetSize(), 0);
    EXPECT_DOUBLE_EQ(comp.GetFactor(), -1.0);
    EXPECT_EQ(comp.ReservedQuery(5), 0);
}

TEST_F(PlateCompTest, ArchiveRoundTripRestoresSettingsRegionsAndSharedMaterials)
{
    auto* steel = new CMaterial("Steel", 7.85e-9, 210000.0, 0.0, 0.3, 1.2e-5);
    auto* alu = new CMaterial("Alu", 2.7e-9, 70000.0, 0.0, 0.33, 2.3e-5);
    auto* comp = new CPlateComp;
    comp->AddMaterial(steel);
    comp->AddMaterial(alu);
    CSectPlate* a = Rect(0, 0, 2, 1, steel);
    CSectPlate* b = Rect(2, 0, 4, 1, alu);
    GiveMesh(a, RectMesh(0, 0, 2, 1, false));
    comp->AddTail(a);
    comp->AddTail(b);
    comp->SetName("plate");
    comp->SetFactor(0.5);
    comp->SetActVal(3);
    comp->SetSecondWord(9);
    comp->SetResCount(7);
    comp->*ExtremeSlots::Max() = VectorOf({4.0, 5.0});
    comp->*ExtremeSlots::Min() = VectorOf({-4.0});
    comp->m_bAutoSpacing = false;
    comp->m_dMeshArea = 8.0;
    comp->m_iElemType = 41;
    comp->m_iMeshKind = 104;
    comp->m_iIntegrationRule = 2;
    comp->m_iIntegrationPoints = 2;
    comp->m_iPlaneStrain = 1;
    comp->m_iStorage = 1;
    comp->m_iSubdivisions = 12;
    comp->m_iRenumbering = 3;
    comp->m_iSymmetryCode = 4;
    comp->m_nMinElements = 450;
    comp->m_VolumeForce.Allocate(1, 9, true, 0.0);
    comp->m_VolumeForce[0][6] = 45.0;
    // Not archived:
    comp->m_iPrintLevel = 1003;
    comp->m_iOddRowPattern = 3;
    comp->m_iLocalAxes = 1;
    comp->m_nMaterials = 5;

    const bool storeMesh = CSectMeshArea::m_bStoreMesh;
    CSectMeshArea::m_bStoreMesh = true;
    const Bytes bytes = afxtest::storeBytes([&](CArchive& ar) { comp->Serialize(ar); });
    CSectMeshArea::m_bStoreMesh = storeMesh;

    auto* loaded = new CPlateComp;
    afxtest::loadBytes(bytes, [&](CArchive& ar) { loaded->Serialize(ar); });

    EXPECT_EQ(loaded->GetName(), CString("plate"));
    EXPECT_DOUBLE_EQ(loaded->GetFactor(), 0.5);
    EXPECT_EQ(loaded->GetActVal(), 3);
    EXPECT_EQ(loaded->GetSecondWord(), 9u);
    EXPECT_EQ(loaded->GetResCount(), 7u);
    EXPECT_DOUBLE_EQ(loaded->GetMaxVal(1), 5.0);
    EXPECT_DOUBLE_EQ(loaded->GetMinVal(0), -4.0);
    EXPECT_FALSE(loaded->m_bAutoSpacing);
    EXPECT_DOUBLE_EQ(loaded->m_dMeshArea, 8.0);
    EXPECT_EQ(loaded->m_iElemType, 41);
    EXPECT_EQ(loaded->m_iMeshKind, 104);
    EXPECT_EQ(loaded->m_iIntegrationRule, 2);
    EXPECT_EQ(loaded->m_iIntegrationPoints, 2);
    EXPECT_EQ(loaded->m_iPlaneStrain, 1);
    EXPECT_EQ(loaded->m_iStorage, 1);
    EXPECT_EQ(loaded->m_iSubdivisions, 12);
    EXPECT_EQ(loaded->m_iRenumbering, 3);
    EXPECT_EQ(loaded->m_iSymmetryCode, 4);
    EXPECT_EQ(loaded->m_nMinElements, 450);
    ASSERT_EQ(loaded->m_VolumeForce.GetSize(), 9);
    EXPECT_DOUBLE_EQ(loaded->m_VolumeForce[0][6], 45.0);
    EXPECT_EQ(loaded->m_iPrintLevel, 0);
    EXPECT_EQ(loaded->m_iOddRowPattern, 1);
    EXPECT_EQ(loaded->m_iLocalAxes, 0);
    EXPECT_EQ(loaded->m_nMaterials, 0);
    // Counts come from the loaded mesh.
    EXPECT_EQ(loaded->m_nElements, 2);
    EXPECT_EQ(loaded->m_nNodes, 4);

    // Each material is one object, shared by its region and the list.
    ASSERT_EQ(loaded->GetCount(), 2);
    ASSERT_EQ(loaded->GetMaterialList().GetCount(), 2);
    auto* la = static_cast<CSectPlate*>(loaded->CObList::GetHead());
    auto* lb = static_cast<CSectPlate*>(loaded->CObList::GetTail());
    ASSERT_TRUE(la->IsKindOf(RUNTIME_CLASS(CSectPlate)));
    EXPECT_EQ(la->GetMaterial(), loaded->GetMaterialList().GetHead());
    EXPECT_EQ(lb->GetMaterial(), loaded->GetMaterialList().GetTail());
    EXPECT_EQ(la->GetMaterial()->GetName(), CString("Steel"));
    EXPECT_NE(la->GetMaterial(), steel);

    DeleteModel(loaded);
    DeleteModel(comp);
}

TEST_F(PlateCompTest, ArchiveVersionsAndForeignObjects)
{
    CMatrix force(1, 9, true, 0.0);
    force[0][8] = 1.0;
    CObList noRegions;
    CObList noMaterials;
    // Version 1 has no minimum element count; the rest still lines up.
    {
        CPlateComp comp;
        afxtest::loadBytes(HandWritten(1, noRegions, noMaterials, force),
                           [&](CArchive& ar) { comp.Serialize(ar); });
        EXPECT_EQ(comp.m_nMinElements, 300);
        EXPECT_EQ(comp.m_iElemType, 32);
        EXPECT_EQ(comp.GetName(), CString("model"));
        ASSERT_EQ(comp.m_VolumeForce.GetSize(), 9);
        EXPECT_DOUBLE_EQ(comp.m_VolumeForce[0][8], 1.0);
        EXPECT_DOUBLE_EQ(comp.GetMaxVal(0), 1.0);
    }
    {
        CPlateComp comp;
        afxtest::loadBytes(HandWritten(2, noRegions, noMaterials, force),
                           [&](CArchive& ar) { comp.Serialize(ar); });
        EXPECT_EQ(comp.m_nMinElements, 77);
    }
    // A material where a region belongs, or a region where a material
    // belongs, is refused as of the wrong class; the owner discards the
    // load (the fresh model, then what the archive made) and nothing is
    // left over. (Each foreign object is listed in its right place too.)
    for (bool materialAsRegion : {true, false}) {
        SCOPED_TRACE(materialAsRegion ? "material as region" : "region as material");
        CMaterial material("M", 1.0, 1.0, 0.0, 0.3, 0.0);
        CSectPlate* region = Rect(0, 0, 1, 1, nullptr);
        CObList regions;
        CObList materials;
        regions.AddTail(materialAsRegion ? static_cast<CObject*>(&material) : region);
        if (!materialAsRegion)
            materials.AddTail(region);
        materials.AddTail(&material);
        const Bytes bytes = HandWritten(2, regions, materials, force);
        regions.RemoveAll();
        materials.RemoveAll();
        int cause = CArchiveException::none;
        afxtest::loadBytes(bytes, [&](CArchive& ar) {
            auto* comp = new CPlateComp;
            try {
                comp->Serialize(ar);
            } catch (CArchiveException& e) {
                cause = e.m_cause;
                // Nothing but regions and materials was taken in.
                for (POSITION p = comp->CObList::GetHeadPosition(); p;)
                    EXPECT_TRUE(comp->CObList::GetNext(p)->IsKindOf(RUNTIME_CLASS(CSection)));
                for (POSITION p = comp->GetMaterialList().GetHeadPosition(); p;)
                    EXPECT_TRUE(comp->GetMaterialList().GetNext(p)->IsKindOf(RUNTIME_CLASS(CMaterial)));
                delete comp;
                comp = nullptr;
                ar.DeleteCreatedObjects();
            }
            EXPECT_EQ(comp, nullptr);
        });
        EXPECT_EQ(cause, CArchiveException::badClass);
        delete region;
    }
}

struct TypeCase {
    int fromCode;
    int fromKind;
    bool quads;
    int toCode;
    int expectKind;
    const CRuntimeClass* expectElement; // null: the mesh is gone
    bool resultsKept;
};

TEST_F(PlateCompTest, SetElementTypeConvertsOrDeletesTheMesh)
{
    const TypeCase cases[] = {
        // The same code keeps results; another code of the same kind not.
        {81, 101, false, 81, 101, RUNTIME_CLASS(CTriElement), true},
        {81, 101, false, 65, 101, RUNTIME_CLASS(CTriElement), false},
        // Triangles and quadrilaterals convert in place within their family.
        {81, 101, false, 32, 103, RUNTIME_CLASS(CTri6Element), false},
        {81, 101, false, 33, 102, RUNTIME_CLASS(CTri4Elem), false},
        {41, 104, true, 44, 105, RUNTIME_CLASS(CQuad8Elem), false},
        // Across the families the mesh goes.
        {81, 101, false, 41, 104, nullptr, false},
        {44, 105, true, 31, 101, nullptr, false},
        // An unknown code is only stored.
        {81, 101, false, 99, 101, RUNTIME_CLASS(CTriElement), false},
    };
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fromCode << " -> " << c.toCode);
        CMaterial steel("Steel", 1.0, 210000.0, 0.0, 0.3, 0.0);
        auto* comp = new CPlateComp;
        comp->m_iElemType = c.fromCode;
        comp->m_iMeshKind = c.fromKind;
        CSectPlate* region = Rect(0, 0, 2, 2, &steel);
        GiveMesh(region, RectMesh(0, 0, 2, 2, c.quads));
        comp->AddTail(region);
        CElement* first = Elements(region).front();
        first->AllocateRes(1);
        first->SetRes(0, new CVector(3, true, 1.0));

        const Counters before;
        comp->SetElementType(c.toCode);
        EXPECT_TRUE(Counters{} == before);
        EXPECT_EQ(comp->GetElementType(), c.toCode);
        EXPECT_EQ(comp->m_iMeshKind, c.expectKind);
        const auto elements = Elements(region);
        if (!c.expectElement) {
            EXPECT_EQ(region->GetMesh(), nullptr);
        } else {
            ASSERT_EQ(elements.size(), c.quads ? 1u : 2u);
            for (CElement* e : elements)
                EXPECT_EQ(e->GetRuntimeClass(), c.expectElement);
            EXPECT_EQ(elements.front()->GetNumResVects(), c.resultsKept ? 1 : 0);
        }
        delete comp;
    }
}

TEST_F(PlateCompTest, CalcAreaAppliesTheSymmetryCode)
{
    CMaterial steel("Steel", 1.0, 210000.0, 0.0, 0.3, 0.0);
    for (auto [code, factor] : {std::pair{1, 1.0}, {2, 2.0}, {3, 1.0}, {4, 4.0}}) {
        auto* comp = new CPlateComp;
        CSectPlate* region = Rect(0, 0, 2, 3, &steel);
        GiveMesh(region, RectMesh(0, 0, 2, 3, false));
        comp->AddTail(region);
        comp->m_iSymmetryCode = code;
        EXPECT_DOUBLE_EQ(comp->CalcArea(), 6.0 * factor) << code;
        EXPECT_DOUBLE_EQ(comp->m_dMeshArea, 6.0 * factor) << code;
        delete comp;
    }
}

TEST_F(PlateCompTest, CopyCarriesTheListedSettingsAndDeepCopiesMaterials)
{
    for (bool deep : {false, true}) {
        SCOPED_TRACE(deep ? "deep" : "shallow");
        auto* steel = new CMaterial("Steel", 1.0, 210000.0, 0.0, 0.3, 0.0);
        auto* comp = new CPlateComp;
        comp->AddMaterial(steel);
        comp->AddTail(Rect(0, 0, 1, 1, steel));
        comp->m_bAutoSpacing = false;
        comp->m_dMeshArea = 3.0;
        comp->m_iElemType = 32;
        comp->m_iMeshKind = 103;
        comp->m_iIntegrationRule = 2;
        comp->m_iIntegrationPoints = 0;
        comp->m_iPlaneStrain = 1;
        comp->m_iPrintLevel = 100;
        comp->m_iStorage = 1;
        comp->m_iRenumbering = 2;
        comp->m_iSymmetryCode = 2;
        comp->m_iSubdivisions = 5;
        comp->m_VolumeForce.Allocate(1, 9, true, 2.0);
        // Not carried:
        comp->m_nMinElements = 10;
        comp->m_iOddRowPattern = 2;
        comp->m_iEvenRowPattern = 3;
        comp->m_iLocalAxes = 2;
        comp->m_bLocalOption = true;
        comp->m_nElements = 4;
        comp->m_nNodes = 6;

        CSectComp* target = nullptr;
        comp->Copy(target, deep);
        ASSERT_NE(target, nullptr);
        ASSERT_TRUE(target->IsKindOf(RUNTIME_CLASS(CPlateComp)));
        auto* copy = static_cast<CPlateComp*>(target);
        EXPECT_FALSE(copy->m_bAutoSpacing);
        EXPECT_DOUBLE_EQ(copy->m_dMeshArea, 3.0);
        EXPECT_EQ(copy->m_iElemType, 32);
        EXPECT_EQ(copy->m_iMeshKind, 103);
        EXPECT_EQ(copy->m_iIntegrationRule, 2);
        EXPECT_EQ(copy->m_iIntegrationPoints, 0);
        EXPECT_EQ(copy->m_iPlaneStrain, 1);
        EXPECT_EQ(copy->m_iPrintLevel, 100);
        EXPECT_EQ(copy->m_iStorage, 1);
        EXPECT_EQ(copy->m_iRenumbering, 2);
        EXPECT_EQ(copy->m_iSymmetryCode, 2);
        EXPECT_EQ(copy->m_iSubdivisions, 5);
        ASSERT_EQ(copy->m_VolumeForce.GetSize(), 9);
        EXPECT_DOUBLE_EQ(copy->m_VolumeForce[0][4], 2.0);
        EXPECT_EQ(copy->m_nMinElements, 300);
        EXPECT_EQ(copy->m_iOddRowPattern, 1);
        EXPECT_EQ(copy->m_iEvenRowPattern, 1);
        EXPECT_EQ(copy->m_iLocalAxes, 0);
        EXPECT_FALSE(copy->m_bLocalOption);
        EXPECT_EQ(copy->m_nElements, 0);
        EXPECT_EQ(copy->m_nNodes, 0);

        ASSERT_EQ(copy->GetCount(), 1);
        ASSERT_EQ(copy->GetMaterialList().GetCount(), 1);
        auto* material = static_cast<CMaterial*>(copy->GetMaterialList().GetHead());
        auto* region = static_cast<CSectPlate*>(copy->CObList::GetHead());
        EXPECT_EQ(region->GetMaterial(), material);
        if (deep) {
            EXPECT_NE(material, steel);
            EXPECT_EQ(material->GetName(), CString("Steel"));
            EXPECT_EQ(steel->GetElemCount(), 1); // only the source region
        } else {
            EXPECT_EQ(material, steel);
            EXPECT_EQ(steel->GetElemCount(), 2);
        }
        // A shallow copy shares the materials: they go with the source.
        if (deep)
            DeleteModel(copy);
        else
            delete copy;
        DeleteModel(comp);
    }
}

TEST_F(PlateCompTest, AutoSubdivisions)
{
    CPlateComp empty;
    EXPECT_EQ(empty.AutoSubdivisions(0.0, 0.0), 10); // no edges
    EXPECT_EQ(empty.AutoSubdivisions(10.0, 1.0), 10);

    CPlateComp comp;
    comp.AddTail(Rect(0, 0, 10, 2, nullptr)); // 4 edges: longest 10, shortest 2
    struct {
        double longest, shortest;
        int expected;
    } cases[] = {
        {10.0, 1.0, 25},  // floor(15 + 10)
        {7.0, 2.0, 18},   // floor(15 + 3.5)
        {0.0, 0.0, 20},   // from the model: floor(15 + 5)
        {10.0, 0.0, 10},  // a zero shortest edge has no ratio
        {10.0, -1.0, 10},
    };
    for (const auto& c : cases)
        EXPECT_EQ(comp.AutoSubdivisions(c.longest, c.shortest), c.expected)
            << c.longest << " / " << c.shortest;
}

TEST_F(PlateCompTest, RefineMeshRefinesLogsAndRestoresState)
{
    CMaterial steel("Steel", 1.0, 210000.0, 0.0, 0.3, 0.0);
    auto* comp = new CPlateComp;
    CSectPlate* region = Rect(0, 0, 2, 3, &steel);
    GiveMesh(region, RectMesh(0, 0, 2, 3, false));
    comp->AddTail(region);

    // Busy: nothing happens.
    comp->m_bBusy = true;
    CStringArray log;
    EXPECT_EQ(comp->RefineMesh(1, &log), 0.0);
    EXPECT_EQ(Elements(region).size(), 2u);
    EXPECT_EQ(log.GetSize(), 0);
    EXPECT_TRUE(comp->m_bBusy);
    comp->m_bBusy = false;

    iStandard = 0;
    iConv[0][9][0] = 0;
    iConv[0][9][1] = 1;
    iConv[0][9][2] = 2;
    comp->m_bStopRequest = true;
    const Counters before;
    const double elapsed = comp->RefineMesh(1, &log);
    EXPECT_GE(elapsed, 0.0);
    EXPECT_TRUE(Counters{} == before);
    EXPECT_FALSE(comp->m_bBusy);
    EXPECT_FALSE(comp->m_bStopRequest);
    const int elements = static_cast<int>(Elements(region).size());
    EXPECT_GT(elements, 2);
    EXPECT_EQ(comp->m_nElements, elements);
    EXPECT_GT(comp->m_nNodes, 4);
    ASSERT_EQ(log.GetSize(), 3);
    // "%.3f" seconds, two blanks before the unit.
    const std::string timing((LPCTSTR)log[0]);
    const std::string head = "Used time refining mesh: ", tail = "  seconds\r\n";
    ASSERT_GT(timing.size(), head.size() + tail.size());
    EXPECT_EQ(timing.substr(0, head.size()), head);
    EXPECT_EQ(timing.substr(timing.size() - tail.size()), tail);
    const std::string number = timing.substr(head.size(), timing.size() - head.size() - tail.size());
    EXPECT_EQ(number, AfxFormat("%.3f", AfxAtoF(number.c_str())));
    CString counts;
    counts.Format("number of nodes: %d\tnumber of elements: %d\r\n", comp->m_nNodes, elements);
    EXPECT_EQ(log[1], counts);
    EXPECT_EQ(log[2], CString("Area of generated elements: 6.00 ") + UnitString(0, 4, 0) + "\r\n");
    delete comp;
}

TEST_F(PlateCompTest, AreaLineFollowsTheUnitSettings)
{
    struct {
        int system, unit, format, digits;
        double area;
        const char* number;
    } cases[] = {
        {0, 0, 0, 3, 1234.5, "1.234e+03"}, {0, 0, 1, 1, 2.25, "2.2"},
        {0, 1, 2, 4, 2.5e6, "2.5"},        {0, 0, 7, 3, 0.0, "0"},
    };
    const int saved = iStandard;
    for (const auto& c : cases) {
        iStandard = c.system;
        iConv[c.system][9][0] = c.unit;
        iConv[c.system][9][1] = c.format;
        iConv[c.system][9][2] = c.digits;
        CPlateComp comp;
        comp.m_dMeshArea = c.area;
        CStringArray log;
        comp.AppendAreaLine(&log);
        ASSERT_EQ(log.GetSize(), 1);
        EXPECT_EQ(log[0], CString("Area of generated elements: ") + c.number + " " +
                              UnitString(c.system, 4, c.unit) + "\r\n");
    }
    iStandard = saved;
    SetDefaultUnitRows(0);
}

TEST_F(PlateCompTest, StopCalculationReachesTheRegionsAndTheMesher)
{
    CPlateComp comp;
    for (bool stop : {true, false}) {
        comp.StopCalculation(stop);
        EXPECT_EQ(comp.m_bStopRequest, stop);
        EXPECT_EQ(CSectMeshArea::m_bStop, stop);
        EXPECT_EQ(CMGenerator::m_bStop, stop);
    }
}

TEST_F(PlateCompTest, RemoveNodeDeletesTheRegionsThatCannotLoseIt)
{
    auto* comp = new CPlateComp;
    CSNode* a = Node(0, 0);
    CSNode* b = Node(2, 0);
    CSNode* c = Node(2, 2);
    CSNode* d = Node(0, 2);
    CSNode* e = Node(3, 1);
    auto* quad = new CSectPlate(a, b, c, d, nullptr);
    auto* triangle = new CSectPlate(b, e, c, nullptr);
    auto* inner = new CSectPlate(Node(0.5, 0.5), Node(1.5, 0.5), Node(1, 1.5), nullptr);
    comp->AddTail(quad);
    comp->AddTail(triangle);
    quad->InsertSubSect(inner);

    comp->RemoveNode(b); // the quad keeps three nodes, the triangle goes
    EXPECT_EQ(comp->GetCount(), 1);
    EXPECT_EQ(comp->CObList::GetHead(), quad);
    EXPECT_EQ(quad->GetCount(), 3);

    CSNode* corner = inner->GetHeadNode();
    comp->RemoveNode(corner); // unlinked from its outer region
    EXPECT_EQ(quad->GetSubList(), nullptr);
    EXPECT_EQ(comp->GetCount(), 1);
    // The nodes that no graph holds any more are the caller's.
    EXPECT_EQ(b->GetGraphCount(), 0);
    EXPECT_EQ(corner->GetGraphCount(), 0);
    delete b;
    delete corner;
    delete comp;
}

TEST_F(PlateCompTest, NodeInsideAsksTheRegionsInOrder)
{
    CPlateComp comp;
    CSectPlate* left = Rect(0, 0, 2, 2, nullptr);
    CSectPlate* right = Rect(2, 0, 4, 2, nullptr);
    CSectPlate* hole = Rect(0.5, 0.5, 1.5, 1.5, nullptr);
    comp.AddTail(left);
    comp.AddTail(right);
    left->InsertSubSect(hole);
    CSNode inRight(3, 1, 0, nullptr, 0), inHole(1, 1, 0, nullptr, 0), outside(9, 9, 0, nullptr, 0);
    EXPECT_EQ(comp.IsNodeInside2D(&inRight, false), right);
    EXPECT_EQ(comp.IsNodeInside2D(&inHole, false), hole);
    EXPECT_EQ(comp.IsNodeInside2D(&inHole, true), left);
    EXPECT_EQ(comp.IsNodeInside2D(&outside, false), nullptr);
}

TEST_F(PlateCompTest, LookupByNameAndMaterialReplacement)
{
    CMaterial steel("Steel", 1.0, 210000.0, 0.0, 0.3, 0.0);
    CMaterial alu("Alu", 1.0, 70000.0, 0.0, 0.3, 0.0);
    CMaterial wood("Wood", 1.0, 10000.0, 0.0, 0.3, 0.0);
    auto* comp = new CPlateComp;
    comp->SetName("Model");
    comp->AddMaterial(&steel);
    comp->AddMaterial(&alu);
    CSectPlate* region = Rect(0, 0, 1, 1, &steel);
    comp->AddTail(region);

    EXPECT_EQ(comp->GetObjectFromString("Model"), comp);
    EXPECT_EQ(comp->GetObjectFromString("Alu"), &alu);
    EXPECT_EQ(comp->GetObjectFromString(region->GetName()), region);
    EXPECT_EQ(comp->GetObjectFromString("none"), nullptr);

    comp->ReplaceMaterial(&steel, &wood); // wood takes steel's place
    EXPECT_EQ(region->GetMaterial(), &wood);
    ASSERT_EQ(comp->GetMaterialList().GetCount(), 2);
    EXPECT_EQ(comp->GetMaterialList().GetHead(), &wood);
    comp->ReplaceMaterial(&alu, nullptr); // removed, nothing inserted
    ASSERT_EQ(comp->GetMaterialList().GetCount(), 1);
    EXPECT_EQ(comp->GetMaterialList().GetHead(), &wood);
    delete comp;
    EXPECT_EQ(wood.GetElemCount(), 0);
}

class PlateCompGLTest : public brantel::test::GLTest {};

TEST_F(PlateCompGLTest, DrawExtrudedSetsThePolygonModeFirst)
{
    CPlateComp comp;
    for (bool filled : {false, true}) {
        glPolygonMode(GL_FRONT_AND_BACK, filled ? GL_LINE : GL_FILL);
        comp.DrawExtruded(filled);
        GLint mode[2] = {0, 0};
        glGetIntegerv(GL_POLYGON_MODE, mode);
        const GLint expected = filled ? GL_FILL : GL_LINE;
        EXPECT_EQ(mode[0], expected);
        EXPECT_EQ(mode[1], expected);
    }
}

} // namespace
