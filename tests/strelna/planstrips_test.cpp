// The plan plot's triangle strips: whatever faces come in, what reaches
// OpenGL is exactly those triangles, each corner with its own position and
// colour, each triangle turned as given, and as strips wherever faces share
// an edge with the same colours at its ends.
#include "femodel/planstrips.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "glstyle/drawing_settings.h"
#include "tests/support/gl_context.h"
#include "tests/support/gl_recorder.h"

namespace {

using brantel::test::GLRecorder;
using brantel::test::RecordedPrimitive;
using Face = CElement::CPlotFace;

Face Flat(double ax, double ay, double bx, double by, double cx, double cy, int ca, int cb, int cc)
{
    Face f{};
    const double p[3][2] = {{ax, ay}, {bx, by}, {cx, cy}};
    const int colour[3] = {ca, cb, cc};
    for (int i = 0; i < 3; ++i) {
        f.vertex[i][0] = p[i][0];
        f.vertex[i][1] = p[i][1];
        f.colour[i] = colour[i];
    }
    f.flat = true;
    return f;
}

// n x n cells over [-0.9, 0.9]^2, two counter-clockwise triangles a cell as
// the elements of a mesh come, row by row; colour(i, j, face, corner).
template <class Colour> std::vector<Face> Grid(int n, Colour colour)
{
    std::vector<Face> faces;
    const auto at = [&](int i) { return -0.9 + 1.8 * i / n; };
    int face = 0;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            faces.push_back(Flat(at(i), at(j), at(i + 1), at(j), at(i + 1), at(j + 1), colour(i, j, face, 0),
                                 colour(i + 1, j, face, 1), colour(i + 1, j + 1, face, 2)));
            ++face;
            faces.push_back(Flat(at(i), at(j), at(i + 1), at(j + 1), at(i), at(j + 1), colour(i, j, face, 0),
                                 colour(i + 1, j + 1, face, 1), colour(i, j + 1, face, 2)));
            ++face;
        }
    return faces;
}

int ByNode(int i, int j, int, int) { return (i * 7 + j * 13) % 256; }

// What CPlanStrips sends for faces, recorded.
std::vector<RecordedPrimitive> Stripped(const std::vector<Face>& faces)
{
    CPlanStrips strips;
    std::vector<CPlanStrips::Op> ops;
    for (const Face& f : faces)
        if (strips.Add(f, ops))
            strips.Flush(ops);
    strips.Flush(ops);
    GLRecorder rec;
    glNormal3d(0.0, 0.0, 1.0);
    CPlanStrips::Send(ops.data(), ops.size());
    EXPECT_TRUE(rec.balanced());
    return rec.primitives();
}

// The faces as one triangle list, recorded.
std::vector<RecordedPrimitive> Listed(const std::vector<Face>& faces)
{
    GLRecorder rec;
    glBegin(GL_TRIANGLES);
    for (const Face& f : faces)
        for (int i = 0; i < 3; ++i) {
            if (f.colour[i] >= 0)
                glColor4dv(dColorIndex[f.colour[i]]);
            glVertex3dv(f.vertex[i]);
        }
    glEnd();
    return rec.primitives();
}

class PlanStrips : public brantel::test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        glDisable(GL_LIGHTING);
        glShadeModel(GL_SMOOTH);
    }
};

} // namespace

TEST_F(PlanStrips, SendExactlyTheFacesTurnedAsGiven)
{
    ASSERT_TRUE(gl->ok());
    std::vector<Face> shuffled = Grid(30, ByNode);
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    std::vector<Face> mixed = Grid(12, ByNode);
    // A face turned clockwise, an empty face (two corners at one node) and
    // an uncoloured face (the current colour stays) among the others.
    std::swap(mixed[5].vertex[1], mixed[5].vertex[2]);
    std::swap(mixed[5].colour[1], mixed[5].colour[2]);
    mixed.push_back(Flat(0.1, 0.1, 0.1, 0.1, 0.3, 0.2, 4, 4, 9));
    mixed.push_back(Flat(0.95, 0.95, 0.97, 0.95, 0.95, 0.97, -1, -1, -1));
    const struct {
        std::string name;
        std::vector<Face> faces;
        double maxPerTriangle; // vertices sent per triangle, at most
        double minPerTriangle; // and at least
    } cases[] = {
        // 3200 faces: the strips cross the chunks' ends.
        {"grid in mesh order, colours by node", Grid(40, ByNode), 1.3, 1.0},
        {"grid shuffled", shuffled, 2.6, 1.0},
        {"each corner a colour of its own: nothing joins", Grid(20, [](int, int, int f, int c) { return (3 * f + c) % 256; }),
         3.0, 3.0},
        {"a clockwise face, an empty face and an uncoloured one", mixed, 1.6, 1.0},
        {"one face", Grid(1, ByNode), 3.0, 2.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto drawn = Stripped(c.faces);
        EXPECT_TRUE(brantel::test::Triangles(drawn) == brantel::test::Triangles(Listed(c.faces)));
        std::size_t sent = 0;
        for (const RecordedPrimitive& p : drawn) {
            sent += p.vertices.size();
            for (const auto& normal : p.normals)
                EXPECT_EQ(normal, (brantel::test::Vec3{0.0, 0.0, 1.0}));
        }
        const double triangles = static_cast<double>(c.faces.size());
        EXPECT_LE(sent, c.maxPerTriangle * triangles);
        EXPECT_GE(sent, c.minPerTriangle * triangles);
    }
}

TEST_F(PlanStrips, ARaisedFaceKeepsItsHeightAndNormalBetweenFlatOnes)
{
    ASSERT_TRUE(gl->ok());
    std::vector<Face> faces = Grid(6, ByNode);
    Face raised = Flat(-0.5, -0.5, 0.5, -0.5, 0.0, 0.5, 1, 2, 3);
    raised.flat = false;
    raised.vertex[2][2] = 0.25;
    raised.normal[0] = 0.0, raised.normal[1] = -0.894427, raised.normal[2] = 0.447214;
    faces.insert(faces.begin() + 30, raised);
    const auto drawn = Stripped(faces);
    EXPECT_TRUE(brantel::test::Triangles(drawn) == brantel::test::Triangles(Listed(faces)));
    const brantel::test::Vec3 plan{0.0, 0.0, 1.0}, tilted{0.0, -0.894427, 0.447214};
    int raisedPrimitives = 0;
    for (const RecordedPrimitive& p : drawn) {
        const bool up = std::any_of(p.vertices.begin(), p.vertices.end(), [](const auto& v) { return v[2] != 0.0; });
        raisedPrimitives += up;
        if (up) {
            EXPECT_EQ(p.vertices.size(), 3u) << "the raised face on its own";
        }
        for (const auto& normal : p.normals)
            EXPECT_EQ(normal, up ? tilted : plan);
    }
    EXPECT_EQ(raisedPrimitives, 1);
}

// On screen the strips give the triangle list's picture: the same pixels,
// but for the last bit of a colour channel where a corner's turn in the
// interpolation rounds the other way.
TEST_F(PlanStrips, DrawTheTriangleListsPicture)
{
    ASSERT_TRUE(gl->ok());
    const std::vector<Face> faces = Grid(24, ByNode);
    const auto pixels = [&] {
        std::vector<std::uint8_t> out(static_cast<std::size_t>(gl->width()) * gl->height() * 4);
        glFinish();
        glReadPixels(0, 0, gl->width(), gl->height(), GL_RGBA, GL_UNSIGNED_BYTE, out.data());
        return out;
    };
    glClear(GL_COLOR_BUFFER_BIT);
    Listed(faces);
    const auto listed = pixels();
    glClear(GL_COLOR_BUFFER_BIT);
    Stripped(faces);
    const auto stripped = pixels();
    ASSERT_EQ(listed.size(), stripped.size());
    int apart = 0, lit = 0;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        apart = std::max(apart, std::abs(listed[i] - stripped[i]));
        lit += listed[i] != 0;
    }
    EXPECT_LE(apart, 1);
    EXPECT_GT(lit, 128 * 128) << "the plot covers the view";
}
