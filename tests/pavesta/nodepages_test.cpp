// The gravity, orientation and node pages of three-dimensional frames.
#include "matrix/realvector.h"
#include "tests/pavesta/layout_check.h"
#include "tests/pavesta/sheet_runner.h"

namespace pavesta_test
{
namespace
{

class NodePagesTest : public HeadlessApp
{
protected:
    static CVector Vec(double x, double y, double z)
    {
        CVector v(3);
        v[0] = x;
        v[1] = y;
        v[2] = z;
        return v;
    }
};

TEST_F(NodePagesTest, TemplatesPassTheLayoutCheck)
{
    for (UINT nID : {16161u, 16249u, 16020u, 16057u, 16226u, 16058u})
        EXPECT_EQ(LayoutFaults(nID), std::vector<std::string>{}) << nID;
}

TEST_F(NodePagesTest, GravityOpensAsDirectorAndIntensityAndIsWrittenBackUnchanged)
{
    struct Case {
        CVector gravity;
        const char* director[3];
        const char* intensity;
    };
    const Case cases[] = {
        {Vec(0, 0, -9.81), {"0", "0", "-1"}, "9.81"},
        {Vec(0, 0, 0), {"0", "0", "0"}, "0"},
    };
    for (const Case& c : cases) {
        CVector gravity = c.gravity;
        bool selfWeight = true;
        double scaling = 1.5;
        VokPP3DGravity page;
        page.m_pGravity = &gravity;
        page.m_pbSelfWeight = &selfWeight;
        page.m_pdMassScaling = &scaling;
        RunSheet({&page}, [&](DialogDriver& d) {
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(d.Text(16230 + i), c.director[i]) << i;
            EXPECT_EQ(d.Text(16233), c.intensity);
            EXPECT_EQ(d.Check(16234), 1);
            EXPECT_EQ(d.Text(16235), "1.5");
            EXPECT_FALSE(d.Enabled(ID_APPLY_NOW));
            d.PressOK();
        });
        ASSERT_EQ(gravity.GetSize(), 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_DOUBLE_EQ(gravity[i], c.gravity[i]) << i;
        EXPECT_TRUE(selfWeight);
        EXPECT_EQ(scaling, 1.5);
    }
}

TEST_F(NodePagesTest, GravityNormalisesTheDirectorAndShowsItNormalised)
{
    CVector gravity; // empty: the page makes it three long
    VokPP3DGravity page;
    page.m_pGravity = &gravity;
    RunSheet({&page}, [&](DialogDriver& d) {
        d.Type(16230, "3");
        d.Type(16232, "4");
        d.Type(16233, "2");
        EXPECT_TRUE(d.Enabled(ID_APPLY_NOW));
        d.Click(16234);
        d.PressApply();
        EXPECT_EQ(d.Text(16230), "0.6");
        EXPECT_EQ(d.Text(16231), "0");
        EXPECT_EQ(d.Text(16232), "0.8");
        d.PressOK();
    });
    ASSERT_EQ(gravity.GetSize(), 3);
    EXPECT_DOUBLE_EQ(gravity[0], 1.2);
    EXPECT_DOUBLE_EQ(gravity[1], 0.0);
    EXPECT_DOUBLE_EQ(gravity[2], 1.6);
    EXPECT_EQ(page.m_iSelfWeight, 1);
}

TEST_F(NodePagesTest, EditsMarkTheGravityAndNodePagesModified)
{
    for (int id : {16230, 16233, 16235}) {
        VokPP3DGravity page;
        RunSheet({&page}, [&](DialogDriver& d) {
            EXPECT_FALSE(d.Enabled(ID_APPLY_NOW));
            d.Type(id, "1");
            EXPECT_TRUE(d.Enabled(ID_APPLY_NOW)) << id;
            d.PressCancel();
        });
    }
    VokPP3DGravity gravity;
    RunSheet({&gravity}, [&](DialogDriver& d) {
        d.Click(16234);
        EXPECT_TRUE(d.Enabled(ID_APPLY_NOW));
        d.PressCancel();
    });
    double xyz[3] = {1, 2, 3};
    VokPPNode3D node(xyz);
    RunSheet({&node}, [&](DialogDriver& d) {
        EXPECT_FALSE(d.Enabled(ID_APPLY_NOW));
        d.Type(16021, "5");
        EXPECT_TRUE(d.Enabled(ID_APPLY_NOW));
        d.PressCancel();
    });
    EXPECT_EQ(xyz[1], 2.0);
}

TEST_F(NodePagesTest, NodePageWritesCoordinatesAndTheIdOnlyThroughItsPointers)
{
    double xyz[3] = {1, 2, 3};
    VokPPNode3D readOnly(xyz);
    readOnly.m_iID = 17;
    RunSheet({&readOnly}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Text(16003), "17");
        EXPECT_TRUE(d.ReadOnly(16003));
        EXPECT_EQ(d.Text(16020), "1");
        EXPECT_EQ(d.Text(16021), "2");
        EXPECT_EQ(d.Text(16022), "3");
        d.PressOK();
    });
    EXPECT_EQ(xyz[0], 1.0);
    EXPECT_EQ(xyz[1], 2.0);
    EXPECT_EQ(xyz[2], 3.0);

    int id = 4;
    VokPPNode3D withID(xyz, &id);
    withID.m_iID = 9; // the caller's shown value, not *pID
    RunSheet({&withID}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Text(16003), "9");
        EXPECT_FALSE(d.ReadOnly(16003));
        d.Type(16003, "12");
        d.Type(16022, "-7.5");
        d.PressOK();
    });
    EXPECT_EQ(id, 12);
    EXPECT_EQ(xyz[2], -7.5);
}

TEST_F(NodePagesTest, DisplacementPageShowsUnitsAndNorms)
{
    VokPPNodeDispl3D page;
    page.m_strLengthUnit = "mm";
    page.m_strRotationUnit = "rad";
    page.m_fCoord[0] = 3;
    page.m_fCoord[1] = 4;
    page.m_fDispl[2] = 2;
    RunSheet({&page}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Text(16004), "Coordinates  [mm]:");
        EXPECT_EQ(d.Text(16227), "Displacements  [mm]:");
        EXPECT_EQ(d.Text(16228), "Rotations   [rad]:");
        EXPECT_EQ(d.Text(16223), "5.000000");
        EXPECT_EQ(d.Text(16208), "2.000000");
        EXPECT_EQ(d.Text(16211), "0.000000");
        for (int id = 16214; id <= 16222; ++id)
            EXPECT_TRUE(d.ReadOnly(id)) << id;
        d.PressOK();
    });
    VokPPNodeDispl3D bare;
    RunSheet({&bare}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Text(16004), "Coordinates");
        EXPECT_EQ(d.Text(16228), "Rotations");
        d.PressOK();
    });
}

TEST_F(NodePagesTest, PlainPagesExchangeTheirValues)
{
    VokLGPPGravity3D gravity;
    gravity.m_dMagnitude = 9.81;
    VokPP3DOrient orient;
    orient.m_dTheta = 45;
    VokPPNode2DEdit node2d;
    RunSheet({&gravity, &orient, &node2d}, [&](DialogDriver& d) {
        EXPECT_EQ(d.Text(16093), "9.81");
        d.Click(16092);
        d.Type(16091, "-1");
        d.ActivatePage(1);
        EXPECT_EQ(d.Text(16027), "45");
        d.Type(16028, "30");
        d.Type(16207, "90");
        d.ActivatePage(2);
        EXPECT_TRUE(d.ReadOnly(16003));
        d.PressOK();
    });
    EXPECT_EQ(gravity.m_iOwnWeight, 1);
    EXPECT_EQ(gravity.m_dDirector[2], -1.0);
    EXPECT_EQ(orient.m_dPhi, 30.0);
    EXPECT_EQ(orient.m_dTheta, 45.0);
    EXPECT_EQ(orient.m_dAlpha, 90.0);
}

} // namespace
} // namespace pavesta_test
