#include "glstyle/drawing_settings.h"

#include <cmath>
#include <iterator>

double THIN_EDGE = -1.0;
double MEDIUM_EDGE = -1.0;
double WIDE_EDGE = -1.0;
double SMALL_POINT = 3.0;
double MEDIUM_S_POINT = 5.0;
double MEDIUM_L_POINT = 7.0;
double LARGE_POINT = 9.0;
double AXIS_WIDTH = 2.0;

float fBckClrMdView[4] = {1.0f, 1.0f, 1.0f, 0.0f};
float fBckClrRsView[4] = {0.85f, 0.95f, 1.0f, 0.0f};
float glcInvBckGrnd[3] = {0.0f, 0.0f, 0.0f};
float glcTextClr[3] = {0.0f, 0.0f, 1.0f};
// The alpha is the single-precision 0.7 widened, as the colour dialogs store it.
double dMaterialColor[4] = {1.0, 0.5, 0.5, static_cast<double>(0.7f)};
double dGridColor[4] = {0.0, 0.0, 0.0, 1.0};
double dAxisColor[4] = {1.0, 0.0, 0.0, 1.0};

double dColorIndex[257][4]; // filled at load, below
std::uint32_t uiFringeNum = 20;

bool bLightOn[4] = {true, false, false, false};
float ambientLight1[4] = {0.196f, 0.196f, 0.196f, 1.0f};
float diffuseLight1[4] = {0.753f, 0.753f, 0.753f, 1.0f};
float specularLight1[4] = {1.0f, 1.0f, 1.0f, 1.0f};
float ambientLight2[4] = {0.1f, 0.1f, 0.1f, 1.0f};
float diffuseLight2[4] = {0.5f, 0.5f, 0.5f, 1.0f};
float specularLight2[4] = {0.0f, 0.0f, 0.0f, 1.0f};
float ambientLight3[4] = {0.1f, 0.1f, 0.1f, 1.0f};
float diffuseLight3[4] = {0.5f, 0.5f, 0.5f, 1.0f};
float specularLight3[4] = {0.5f, 0.5f, 0.5f, 1.0f};
float directLight[3] = {0.0f, 0.0f, 1.0f};
float position1[4] = {0.0f, 0.0f, -1.0f, 0.0f};
float position2[4] = {1.0f, 1.0f, 0.0f, 0.0f};
float lmodel_ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
float lmodel_twoside[1] = {1.0f};
float lmodel_local_viewer[1] = {1.0f};
float fog_color[4] = {0.0f, 0.0f, 0.0f, 1.0f};

float mat_emission[4] = {0.0f, 0.0f, 0.0f, 1.0f};
float mat_ambient[4] = {0.1f, 0.1f, 0.1f, 1.0f};
float mat_diffuse[4] = {0.1f, 0.1f, 0.1f, 1.0f};
float mat_specular[4] = {1.0f, 1.0f, 0.5f, 1.0f};
float mat_shininess[1] = {12.0f};

float Material[28][10] = {
    {0.0215f, 0.1745f, 0.0215f, 0.07568f, 0.61424f, 0.07568f, 0.633f, 0.727811f, 0.633f, 0.6f},
    {0.135f, 0.2225f, 0.1575f, 0.54f, 0.89f, 0.63f, 0.316228f, 0.316228f, 0.316228f, 0.1f},
    {0.05375f, 0.05f, 0.06625f, 0.18275f, 0.17f, 0.22525f, 0.332741f, 0.328634f, 0.346435f, 0.3f},
    {0.25f, 0.20725f, 0.20725f, 1.0f, 0.829f, 0.829f, 0.296648f, 0.296648f, 0.296648f, 0.088f},
    {0.1745f, 0.01175f, 0.01175f, 0.61424f, 0.04136f, 0.04136f, 0.727811f, 0.626959f, 0.626959f, 0.6f},
    {0.1f, 0.18725f, 0.1745f, 0.396f, 0.74151f, 0.69102f, 0.297254f, 0.30829f, 0.306678f, 0.1f},
    {0.329412f, 0.223529f, 0.027451f, 0.780392f, 0.568627f, 0.113725f, 0.992157f, 0.941176f, 0.807843f, 0.217949f},
    {0.2125f, 0.1275f, 0.054f, 0.714f, 0.4284f, 0.18144f, 0.393548f, 0.271906f, 0.166721f, 0.2f},
    {0.25f, 0.25f, 0.25f, 0.4f, 0.4f, 0.4f, 0.774597f, 0.774597f, 0.774597f, 0.6f},
    {0.19125f, 0.0735f, 0.0225f, 0.7038f, 0.27048f, 0.0828f, 0.256777f, 0.137622f, 0.086014f, 0.1f},
    {0.24725f, 0.1995f, 0.0745f, 0.75164f, 0.60648f, 0.22648f, 0.628281f, 0.555802f, 0.366065f, 0.4f},
    {0.19225f, 0.19225f, 0.19225f, 0.50754f, 0.50754f, 0.50754f, 0.508273f, 0.508273f, 0.508273f, 0.4f},
    {0.0f, 0.0f, 0.0f, 0.01f, 0.01f, 0.01f, 0.5f, 0.5f, 0.5f, 0.25f},
    {0.0f, 0.1f, 0.06f, 0.0f, 0.509804f, 0.509804f, 0.501961f, 0.501961f, 0.501961f, 0.25f},
    {0.0f, 0.0f, 0.0f, 0.1f, 0.35f, 0.1f, 0.45f, 0.55f, 0.45f, 0.25f},
    {0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 0.0f, 0.7f, 0.6f, 0.6f, 0.25f},
    {0.0f, 0.0f, 0.0f, 0.55f, 0.55f, 0.55f, 0.7f, 0.7f, 0.7f, 0.25f},
    {0.0f, 0.0f, 0.0f, 0.5f, 0.5f, 0.0f, 0.6f, 0.6f, 0.5f, 0.25f},
    {0.02f, 0.02f, 0.02f, 0.01f, 0.01f, 0.01f, 0.4f, 0.4f, 0.4f, 0.078125f},
    {0.0f, 0.05f, 0.05f, 0.4f, 0.5f, 0.5f, 0.04f, 0.7f, 0.7f, 0.078125f},
    {0.0f, 0.05f, 0.0f, 0.4f, 0.5f, 0.4f, 0.04f, 0.7f, 0.04f, 0.078125f},
    {0.05f, 0.0f, 0.0f, 0.5f, 0.4f, 0.4f, 0.7f, 0.04f, 0.04f, 0.078125f},
    {0.05f, 0.05f, 0.05f, 0.5f, 0.5f, 0.5f, 0.7f, 0.7f, 0.7f, 0.078125f},
    {0.05f, 0.05f, 0.0f, 0.5f, 0.5f, 0.4f, 0.7f, 0.7f, 0.04f, 0.078125f},
    {0.2f, 0.2f, 0.2f, 1.0f, 1.0f, 1.0f, 0.8f, 0.8f, 0.8f, 0.4f},
    {0.2f, 0.2f, 0.2f, 0.8f, 0.8f, 0.8f, 0.5f, 0.5f, 0.5f, 0.35f},
    {0.3f, 0.2f, 0.2f, 1.0f, 0.9f, 0.8f, 0.4f, 0.2f, 0.2f, 0.35f},
    {0.2f, 0.2f, 0.3f, 0.8f, 0.9f, 1.0f, 0.2f, 0.2f, 0.4f, 0.35f},
};

bool bOffsetPolygon = true;
float glfOffsetFact = 1.0f;
float glfOffsetUnit = 1.0f;

// Four blocks of eight rows: four rows of 0x11, 0x1F, 0x11, 0x1F, then four
// empty rows.
#define BRANTEL_STIPPLE_BLOCK                                                      \
    0x11, 0x1F, 0x11, 0x1F, 0x11, 0x1F, 0x11, 0x1F, 0x11, 0x1F, 0x11, 0x1F, 0x11, \
        0x1F, 0x11, 0x1F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0
unsigned char pol_st_dashdotdotdash[128] = {BRANTEL_STIPPLE_BLOCK, BRANTEL_STIPPLE_BLOCK,
                                            BRANTEL_STIPPLE_BLOCK, BRANTEL_STIPPLE_BLOCK};
#undef BRANTEL_STIPPLE_BLOCK

bool IsNode[256] = {true}; // entries 1 to 255 false

namespace {

// The rows of the colour ramp that are given: row and colour, each component
// an 8-bit level / 255 at four decimals. Every other row of 0 to 255 runs
// straight, in 8-bit levels, between its two nearest given rows.
struct RampRow {
    int row;
    double rgb[3];
};

constexpr RampRow kRampRows[] = {
    {0, {0.549, 0.0, 0.0}},
    {1, {0.5569, 0.0, 0.0}},
    {2, {0.5647, 0.0, 0.0}},
    {3, {0.5686, 0.0, 0.0}},
    {32, {0.7725, 0.0, 0.0}},
    {63, {0.9882, 0.0, 0.0}},
    {64, {0.9882, 0.0157, 0.0078}},
    {95, {0.9882, 0.498, 0.2471}},
    {96, {0.9922, 0.5137, 0.2549}},
    {127, {0.9922, 0.9922, 0.4941}},
    {128, {1.0, 1.0, 0.502}},
    {144, {0.8, 0.9686, 0.3804}},
    {160, {0.6, 0.9333, 0.2627}},
    {176, {0.3961, 0.902, 0.1412}},
    {191, {0.2078, 0.8706, 0.0275}},
    {192, {0.1961, 0.8667, 0.0196}},
    {208, {0.1922, 0.7412, 0.0627}},
    {224, {0.1882, 0.6157, 0.1059}},
    {240, {0.1843, 0.4902, 0.149}},
    {255, {0.1804, 0.3725, 0.1882}},
};

constexpr double kFringeAlpha = 0.5;

long level(double component) { return std::lround(component * 255.0); }

// An 8-bit level as a colour component: level / 255 at four decimals.
double component(long level) { return std::round(level * 10000.0 / 255.0) / 10000.0; }

void fillColorIndex()
{
    const int given = static_cast<int>(std::size(kRampRows));
    for (int k = 0; k + 1 < given; ++k) {
        const RampRow& lo = kRampRows[k];
        const RampRow& hi = kRampRows[k + 1];
        const long span = hi.row - lo.row;
        for (int row = lo.row; row <= hi.row; ++row) {
            const long t = row - lo.row;
            for (int c = 0; c < 3; ++c) {
                // Interpolated level rounded half up, in integers so that
                // halves are exact.
                const long num = level(lo.rgb[c]) * (span - t) + level(hi.rgb[c]) * t;
                dColorIndex[row][c] = component((2 * num + span) / (2 * span));
            }
            dColorIndex[row][3] = kFringeAlpha;
        }
    }
    // A separate dark red beyond the ramp.
    dColorIndex[256][0] = 0.5;
    dColorIndex[256][1] = 0.0;
    dColorIndex[256][2] = 0.0;
    dColorIndex[256][3] = kFringeAlpha;
}

// Fills the table when the library is loaded, before any user of it runs.
const struct ColorIndexAtLoad {
    ColorIndexAtLoad() { fillColorIndex(); }
} colorIndexAtLoad;

} // namespace
