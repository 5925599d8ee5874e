// The modelling views' copy list on bare documents: copies that depend on
// no document, pasted copies with fresh identifiers and the target's
// materials, and moves refused when they would cross the model.
#include "tests/shell/shell_fixture.h"

#include <set>

namespace
{

using namespace shelltest;

class CopyList : public ShellTest
{
protected:
    void TearDown() override
    {
        DeleteRegionList(copies);
        copies = nullptr;
        for (POSITION pos = materials.GetHeadPosition(); pos;)
            delete materials.GetNext(pos);
        ShellTest::TearDown();
    }
    // The regions copied as the view copies a selection.
    void CopyRegions(CBrantelDoc& doc, std::initializer_list<CSectPlate*> regions)
    {
        copies = new CObList(10);
        for (CSectPlate* region : regions)
            copies->AddTail(static_cast<CObject*>(region->Copy(false)));
        for (POSITION pos = copies->GetHeadPosition(); pos;)
            static_cast<CGraph*>(copies->GetNext(pos))->ReleaseCopyNodes(true);
        CopyRegionMaterials(*copies, materials, doc.GetPlateComp()->GetMaterialList());
    }
    // A document whose model offers one material, "Default".
    static void GiveMaterial(CBrantelDoc& doc)
    {
        doc.GetPlateComp()->AddMaterial(new CMaterial("Default", 7.85e-9, 210000.0, 0.0, 0.3, 0.0));
    }
    static CMaterial* FirstMaterial(CBrantelDoc& doc)
    {
        return static_cast<CMaterial*>(doc.GetPlateComp()->GetMaterialList().GetHead());
    }

    CObList* copies = nullptr;
    CObList materials;
};

TEST_F(CopyList, CopiesUseMaterialCopiesAndOutliveTheirDocument)
{
    auto source = std::make_unique<CBrantelDoc>();
    source->UpdateStatics(true);
    GiveMaterial(*source);
    CSectPlate* square = AddSquare(*source, 0.0, 0.0, 10.0);
    CMaterial* material = FirstMaterial(*source);
    const int uses = material->GetElemCount();
    CopyRegions(*source, {square});
    // The copy uses a material copy of the same name, not the document's.
    auto* copy = static_cast<CSectPlate*>(copies->GetHead());
    ASSERT_NE(copy->GetMaterial(), nullptr);
    EXPECT_NE(copy->GetMaterial(), material);
    EXPECT_EQ(copy->GetMaterial()->GetName(), material->GetName());
    EXPECT_EQ(material->GetElemCount(), uses);
    EXPECT_EQ(materials.GetCount(), 1);
    source->UpdateStatics(false);
    source.reset();
    EXPECT_EQ(copy->GetCount(), 4);

}

TEST_F(CopyList, PastedCopiesAreIndependentWithFreshIdentifiersAndTargetMaterials)
{
    CBrantelDoc source;
    source.UpdateStatics(true);
    GiveMaterial(source);
    source.GetPlateComp()->AddMaterial(new CMaterial("Steel", 7.85e-9, 210000.0, 0.0, 0.3, 0.0));
    auto* steel = static_cast<CMaterial*>(source.GetPlateComp()->GetMaterialList().GetTail());
    CSectPlate* plain = AddSquare(source, 0.0, 0.0, 10.0);
    CSectPlate* steely = AddSquare(source, 20.0, 0.0, 10.0);
    steely->SetMaterial(steel);
    CopyRegions(source, {plain, steely});
    source.UpdateStatics(false);

    CBrantelDoc target;
    target.UpdateStatics(true);
    GiveMaterial(target);
    AddSquare(target, 100.0, 100.0, 10.0);
    CPlateComp* comp = target.GetPlateComp();
    // The target knows the first material by name, not "Steel".
    auto* fallback = new CMaterial("Fallback", 1.0, 1.0, 0.0, 0.3, 0.0);
    comp->AddMaterial(fallback);
    CMaterial* known = FirstMaterial(target);
    ASSERT_EQ(known->GetName(), FirstMaterial(source)->GetName());

    std::vector<CObList*> pastes;
    for (int i = 0; i < 2; ++i) {
        SetIdentifiersAbove(*comp);
        EXPECT_EQ(CGraph::lIDGraph, std::max(comp->GetMaxID(1), 4000000000ul) + 1);
        EXPECT_EQ(CEdge::lIDedge, std::max(comp->GetMaxID(4), 100000000ul) + 1);
        EXPECT_EQ(CSNode::lIDnode, comp->GetMaxID(2) + 1);
        const DWORD firstGraph = CGraph::lIDGraph, firstNode = CSNode::lIDnode;
        CObList* pasted = MakePasteCopies(*copies);
        ASSERT_NE(pasted, nullptr);
        ASSERT_EQ(pasted->GetCount(), 2);
        MapPastedMaterials(*pasted, materials, comp->GetMaterialList(), fallback);
        auto* a = static_cast<CSectPlate*>(pasted->GetHead());
        auto* b = static_cast<CSectPlate*>(pasted->GetTail());
        EXPECT_EQ(a->GetMaterial(), known);
        EXPECT_EQ(b->GetMaterial(), fallback);
        EXPECT_GE(a->GetID(), firstGraph);
        for (CSNode* n : Corners(*a))
            EXPECT_GE(n->GetID(), firstNode);
        for (POSITION pos = pasted->GetHeadPosition(); pos;)
            comp->AddTail(static_cast<CSection*>(pasted->GetNext(pos)));
        pastes.push_back(pasted);
    }
    // Two pastes: no node or region is shared, and the list keeps its own.
    std::set<CObject*> seen;
    for (CObList* pasted : pastes)
        for (POSITION pos = pasted->GetHeadPosition(); pos;) {
            auto* region = static_cast<CSectPlate*>(pasted->GetNext(pos));
            EXPECT_TRUE(seen.insert(region).second);
            for (CSNode* n : Corners(*region))
                EXPECT_TRUE(seen.insert(n).second);
        }
    for (POSITION pos = copies->GetHeadPosition(); pos;)
        for (CSNode* n : Corners(*static_cast<CSectPlate*>(copies->GetNext(pos))))
            EXPECT_FALSE(seen.count(n));
    for (CObList* pasted : pastes)
        delete pasted; // the regions are the model's now
    target.UpdateStatics(false);
}

TEST_F(CopyList, RefusedMoveLeavesEveryNodeWhereItWas)
{
    CBrantelDoc doc;
    doc.UpdateStatics(true);
    AddSquare(doc, 0.0, 0.0, 10.0);
    CSectPlate* moved = AddSquare(doc, 20.0, 0.3, 10.0);
    CPlateComp* comp = doc.GetPlateComp();
    const struct {
        double dx, dy;
        bool accepted;
        double firstX, firstY;
    } cases[] = {{-15.0, 0.1, false, 20.0, 0.3}, {-10.0, -0.3, true, 10.0, 0.0},
                 {5.0, 0.7, true, 15.0, 0.7}};
    for (const auto& c : cases) {
        CObList nodes, overlaps;
        moved->GetNodes(nodes);
        CSNode* first = Corners(*moved).front();
        const double oldX = first->x;
        double seenX = -1.0;
        EXPECT_EQ(MoveNodesUnlessCrossing(*comp, nodes, c.dx, c.dy, overlaps,
                                          [&] { seenX = first->x; }),
                  c.accepted)
            << c.dx;
        // A snapshot taken for an accepted move sees the old place.
        EXPECT_EQ(seenX, c.accepted ? oldX : -1.0);
        EXPECT_EQ(first->x, c.firstX) << c.dx;
        EXPECT_EQ(first->y, c.firstY) << c.dx;
        // Lying against the other square touches it.
        if (c.accepted && c.firstX == 10.0) {
            EXPECT_FALSE(overlaps.IsEmpty());
        }
    }
    doc.UpdateStatics(false);
}

} // namespace
