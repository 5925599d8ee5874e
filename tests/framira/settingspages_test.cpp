// The light and screen-colour pages in a sheet, driven as a user would.
#include <algorithm>
#include <string>
#include <vector>

#include "framework/framira.h"
#include "glstyle/tincora.h"
#include "tests/framira/page_runner.h"

namespace
{

using afxui::headless::DialogDriver;
using afxui::headless::HeadlessApp;
using afxui::headless::ModalScript;
using framira_test::RunPage;

void Fill(float* rgba, float r, float g, float b, float a)
{
    rgba[0] = r;
    rgba[1] = g;
    rgba[2] = b;
    rgba[3] = a;
}

class SettingsPages : public HeadlessApp
{
protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        for (float* light : {ambientLight1, diffuseLight1, specularLight1, ambientLight2,
                             diffuseLight2, specularLight2, ambientLight3, diffuseLight3,
                             specularLight3, lmodel_ambient, mat_specular, mat_emission})
            Fill(light, 0.5f, 0.25f, 1.0f, 0.3f);
        bLightOn[0] = true;
        bLightOn[1] = false;
        bLightOn[2] = true;
        lmodel_twoside[0] = 0.0f;
        lmodel_local_viewer[0] = 1.0f;
        mat_shininess[0] = 20.0f;
        Fill(position2, 1.5f, -2.0f, 3.25f, 0.0f);
    }
};

TEST_F(SettingsPages, LightApplyWritesEveryLightAtByteResolution)
{
    KorPPLight page;
    RunPage(page, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Check(KorPPLight::IDC_LIGHT2), 0);
        EXPECT_EQ(d.Text(KorPPLight::IDC_SHININESS), "20");
        EXPECT_FALSE(d.Visible(50027));
        int lower = -1, upper = -1;
        page.m_spinShininess.GetRange32(lower, upper);
        EXPECT_EQ(lower, 0);
        EXPECT_EQ(upper, 128);
        // Light 2's buttons follow its check box.
        for (int k = 3; k < 6; ++k)
            EXPECT_FALSE(d.Enabled(KorPPLight::kButtons[k])) << k;
        EXPECT_TRUE(d.Enabled(KorPPLight::kButtons[0]));
        d.Click(KorPPLight::IDC_LIGHT2);
        for (int k = 3; k < 6; ++k)
            EXPECT_TRUE(d.Enabled(KorPPLight::kButtons[k])) << k;
        d.Click(KorPPLight::IDC_LIGHT3);
        EXPECT_FALSE(d.Enabled(KorPPLight::kButtons[6]));
        d.ChooseColor(50039, RGB(10, 20, 30)); // diffuse of light 2
        EXPECT_TRUE(page.IsModified());
        d.PressOK();
    });
    EXPECT_TRUE(bLightOn[0]);
    EXPECT_TRUE(bLightOn[1]);
    EXPECT_FALSE(bLightOn[2]);
    // 0.5 became byte 127 and came back as 127 / 255; alpha 1.0.
    for (const float* light : {ambientLight1, specularLight3, lmodel_ambient, mat_emission}) {
        EXPECT_FLOAT_EQ(light[0], 127 / 255.0f);
        EXPECT_FLOAT_EQ(light[1], 63 / 255.0f);
        EXPECT_FLOAT_EQ(light[2], 1.0f);
        EXPECT_EQ(light[3], 1.0f);
    }
    EXPECT_FLOAT_EQ(diffuseLight2[0], 10 / 255.0f);
    EXPECT_FLOAT_EQ(diffuseLight2[2], 30 / 255.0f);
    EXPECT_EQ(position2[0], 1.5f);
    EXPECT_EQ(position2[1], -2.0f);
    EXPECT_EQ(position2[2], 3.25f);
    EXPECT_EQ(position2[3], 0.0f);
    EXPECT_EQ(lmodel_local_viewer[0], 1.0f);
    EXPECT_EQ(mat_shininess[0], 20.0f);
}

TEST_F(SettingsPages, LightRestoreDefaultsKeepsTheLightThreePosition)
{
    KorPPLight page;
    RunPage(page, [&](DialogDriver& d, ModalScript& script) {
        script.MessageBox("Please enter a number between 0 and 128.");
        d.Type(KorPPLight::IDC_SHININESS, "200");
        d.PressOK(); // refused: the sheet stays open
        d.Click(KorPPLight::IDC_RESTORE);
        EXPECT_EQ(d.Text(KorPPLight::IDC_SHININESS), "60");
        EXPECT_EQ(d.Check(KorPPLight::IDC_TWO_SIDE), 1);
        EXPECT_EQ(d.Check(KorPPLight::IDC_LIGHT3), 0);
        d.PressOK();
    });
    EXPECT_EQ(mat_shininess[0], 60.0f);
    EXPECT_EQ(lmodel_twoside[0], 1.0f);
    EXPECT_TRUE(bLightOn[0]);
    EXPECT_FALSE(bLightOn[1]);
    EXPECT_FALSE(bLightOn[2]);
    EXPECT_FLOAT_EQ(diffuseLight1[0], 192 / 255.0f);
    EXPECT_FLOAT_EQ(mat_specular[2], 127 / 255.0f);
    EXPECT_EQ(specularLight2[0], 0.0f);
    EXPECT_EQ(position2[0], 1.5f);
    EXPECT_EQ(position2[2], 3.25f);
}

TEST_F(SettingsPages, ScreenColoursGetTheirAlphasAndTextNone)
{
    Fill(fBckClrRsView, 0.2f, 0.2f, 0.2f, 0.7f);
    Fill(fBckClrMdView, 1.0f, 1.0f, 1.0f, 0.7f);
    for (double* c : {dGridColor, dAxisColor}) {
        c[0] = c[1] = c[2] = 0.5;
        c[3] = 0.25;
    }
    glcTextClr[0] = glcTextClr[1] = glcTextClr[2] = 0.0f;
    KorPPScreenClr page;
    RunPage(page, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Text(50118), "&r");
        d.ChooseColor(50121, RGB(255, 0, 0)); // text
        d.ChooseColor(50120, RGB(0, 255, 0)); // grid
        d.PressOK();
    });
    EXPECT_FLOAT_EQ(fBckClrRsView[0], 51 / 255.0f);
    EXPECT_EQ(fBckClrRsView[3], 0.0f);
    EXPECT_EQ(fBckClrMdView[0], 1.0f);
    EXPECT_EQ(fBckClrMdView[3], 0.0f);
    EXPECT_EQ(dGridColor[0], 0.0);
    EXPECT_EQ(dGridColor[1], 1.0);
    EXPECT_EQ(dGridColor[3], 1.0);
    EXPECT_DOUBLE_EQ(dAxisColor[0], 127 / 255.0);
    EXPECT_EQ(dAxisColor[3], 1.0);
    EXPECT_EQ(glcTextClr[0], 1.0f);
    EXPECT_EQ(glcTextClr[1], 0.0f);
}

TEST_F(SettingsPages, OpenGLSettingsWriteTheWidthsAndSizes)
{
    double* globals[8] = {&THIN_EDGE,      &MEDIUM_EDGE, &WIDE_EDGE,      &SMALL_POINT,
                          &MEDIUM_S_POINT, &LARGE_POINT, &MEDIUM_L_POINT, &AXIS_WIDTH};
    for (int i = 0; i < 8; ++i)
        *globals[i] = 1.0 + i;
    KorPPOGLSett page(nullptr);
    RunPage(page, [&](DialogDriver& d, ModalScript& script) {
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(d.Text(KorPPOGLSett::kSizeEdits[i]), CString(std::to_string(1 + i).c_str()));
        EXPECT_EQ(d.Text(KorPPOGLSett::IDC_SEL_OBJECTS), "256");
        d.Type(16232, "6.5"); // wide edges
        EXPECT_TRUE(page.IsModified());
        script.MessageBox("Please enter a number.");
        d.Type(16237, "thick");
        d.PressApply();
        EXPECT_EQ(WIDE_EDGE, 3.0);
        d.Type(16237, "2.5"); // axes
        d.PressOK();
    });
    EXPECT_EQ(WIDE_EDGE, 6.5);
    EXPECT_EQ(AXIS_WIDTH, 2.5);
    EXPECT_EQ(THIN_EDGE, 1.0);
    EXPECT_EQ(LARGE_POINT, 6.0);
}

} // namespace
