// Picking, the colour legends and the drawing aids of the renderer: all in
// immediate mode into the current context (picking makes its own current).
#include "glview/oglrenderer.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <unordered_set>

#include <GL/glu.h>

#include "glstyle/drawing_settings.h"

// ---- Picking ---------------------------------------------------------------------

namespace {

// A complete hit record: its z-min and innermost name.
struct HitRecord {
    GLuint zMin = 0;
    GLuint name = 0;
};

// Walks the complete records of a selection buffer in order; records
// without names are passed over.
class HitRecords {
public:
    HitRecords(const GLuint* buffer, std::size_t words, int hits)
        : m_buffer(buffer), m_words(words), m_left(hits < 0 ? words : static_cast<std::size_t>(hits))
    {
    }

    bool Next(HitRecord& record)
    {
        while (m_left > 0 && m_buffer != nullptr && m_words - m_at >= 3) {
            const std::size_t names = m_buffer[m_at];
            if (names > m_words - m_at - 3)
                break; // cut off by the end of the buffer
            const std::size_t at = m_at;
            m_at += 3 + names;
            --m_left;
            if (names == 0)
                continue;
            record.zMin = m_buffer[at + 1];
            record.name = m_buffer[at + 2 + names];
            return true;
        }
        return false;
    }

private:
    const GLuint* m_buffer;
    std::size_t m_words;
    std::size_t m_at = 0;
    std::size_t m_left;
};

bool IsExcluded(GLuint name, int count, const DWORD* excluded)
{
    return excluded != nullptr && count > 0 && std::find(excluded, excluded + count, name) != excluded + count;
}

} // namespace

UINT ChoosePickedName(const GLuint* buffer, std::size_t words, int hits, UINT limit, int count,
                      const DWORD* excluded)
{
    if (hits == 0)
        return 0;
    HitRecords records(buffer, words, hits);
    HitRecord first;
    if (!records.Next(first))
        return 0;
    if (hits == 1)
        return first.name;
    HitRecord choice = first;
    bool chosenFirst = true;
    bool found = false;
    const auto consider = [&](const HitRecord& record, bool isFirst) {
        if (record.name > limit) {
            if (!found) {
                choice = record;
                chosenFirst = isFirst;
            }
            return;
        }
        if (found && record.zMin > choice.zMin)
            return;
        if (IsExcluded(record.name, count, excluded))
            return;
        choice = record;
        chosenFirst = isFirst;
        found = true;
    };
    if (hits > 1) {
        consider(first, true);
        for (HitRecord record; records.Next(record);)
            consider(record, false);
        if (found || !chosenFirst)
            return choice.name;
    }
    // Nothing accepted and the fallback is the first record, or the buffer
    // overflowed.
    return IsExcluded(first.name, count, excluded) ? 0 : first.name;
}

std::vector<GLuint> DistinctPickedNames(const GLuint* buffer, std::size_t words, int hits,
                                        std::size_t maxNames)
{
    std::vector<GLuint> names;
    if (hits == 0)
        return names;
    std::unordered_set<GLuint> seen;
    HitRecords records(buffer, words, hits);
    for (HitRecord record; names.size() < maxNames && records.Next(record);)
        if (record.name != 0 && seen.insert(record.name).second)
            names.push_back(record.name);
    return names;
}

int COGLRenderer::PrePickDraw(CPoint pt, double width, double height)
{
    if (!MakeCurrent(true, true))
        return 4;
    glMatrixMode(GL_PROJECTION);
    delete[] selectBuf;
    selectBuf = nullptr;
    iSelBufSize = std::clamp(iSelBufSize, 4u, kMaxSelBufSize);
    selectBuf = new (std::nothrow) unsigned int[iSelBufSize];
    if (selectBuf == nullptr)
        return 4;
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    glSelectBuffer(static_cast<GLsizei>(iSelBufSize), selectBuf);
    glRenderMode(GL_SELECT);
    glPushMatrix();
    glInitNames();
    glPushName(4);
    glLoadIdentity();
    gluPickMatrix(pt.x, viewport[3] - pt.y, width, height, viewport);
    return 0;
}

UINT COGLRenderer::PostPickDraw(UINT limit, int count, DWORD* excluded)
{
    if (selectBuf == nullptr)
        return 0; // no pick started
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    const GLint hits = glRenderMode(GL_RENDER);
    glMatrixMode(GL_MODELVIEW);
    const UINT name = ChoosePickedName(selectBuf, iSelBufSize, hits, limit, count, excluded);
    delete[] selectBuf;
    selectBuf = nullptr;
    return name;
}

// ---- Lights ------------------------------------------------------------------------

void GLSharedLights()
{
    struct Light {
        const float* ambient;
        const float* diffuse;
        const float* specular;
        const float* position; // null: light 1 keeps its own
    };
    const Light lights[3] = {{ambientLight1, diffuseLight1, specularLight1, nullptr},
                             {ambientLight2, diffuseLight2, specularLight2, position1},
                             {ambientLight3, diffuseLight3, specularLight3, position2}};
    for (int k = 0; k < 3; ++k) {
        if (!bLightOn[k])
            continue;
        const GLenum light = GL_LIGHT0 + k;
        glLightfv(light, GL_AMBIENT, lights[k].ambient);
        glLightfv(light, GL_DIFFUSE, lights[k].diffuse);
        glLightfv(light, GL_SPECULAR, lights[k].specular);
        if (lights[k].position)
            glLightfv(light, GL_POSITION, lights[k].position);
    }
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, mat_shininess[0]);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, mat_specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, mat_diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, mat_ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, mat_emission);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, lmodel_ambient);
    glLightModelfv(GL_LIGHT_MODEL_LOCAL_VIEWER, lmodel_local_viewer);
    glLightModelfv(GL_LIGHT_MODEL_TWO_SIDE, lmodel_twoside);
    glEnable(GL_LIGHTING);
    for (int k = 0; k < 3; ++k) {
        if (bLightOn[k])
            glEnable(GL_LIGHT0 + k);
        else
            glDisable(GL_LIGHT0 + k);
    }
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
}

// ---- Colour legends --------------------------------------------------------------

namespace {

// Keeps the front and back polygon modes for the life of the scope.
class PolygonModes {
public:
    PolygonModes() { glGetIntegerv(GL_POLYGON_MODE, m_modes); }
    ~PolygonModes()
    {
        glPolygonMode(GL_FRONT, static_cast<GLenum>(m_modes[0]));
        glPolygonMode(GL_BACK, static_cast<GLenum>(m_modes[1]));
    }
    PolygonModes(const PolygonModes&) = delete;
    PolygonModes& operator=(const PolygonModes&) = delete;

private:
    GLint m_modes[2] = {GL_FILL, GL_FILL};
};

// The fringe table's rows 0-255 as a filled strip from y 0 to 1.
void DrawColourStrip()
{
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i < 256; ++i) {
        glColor4dv(dColorIndex[i]);
        const double y = i / 255.0;
        glVertex2d(0.0, y);
        glVertex2d(1.0, y);
    }
    glEnd();
}

// Cell borders as an outlined strip at the given heights.
void DrawCellBorders(const float* colour, const std::vector<double>& heights)
{
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glColor3fv(colour);
    glBegin(GL_QUAD_STRIP);
    for (const double y : heights) {
        glVertex2d(0.0, y);
        glVertex2d(1.0, y);
    }
    glEnd();
}

void DrawLabels(const std::vector<ScaleLabel>& labels, const float* textColour)
{
    for (const ScaleLabel& label : labels) {
        if (label.colourRow < 0)
            glColor3fv(textColour);
        else
            glColor4dv(dColorIndex[label.colourRow]);
        glRasterPos3d(1.0, label.y, 0.0);
        glCallLists(label.text.GetLength(), GL_UNSIGNED_BYTE, label.text.GetString());
    }
}

CString FormatValue(const char* format, int precision, double value)
{
    CString text;
    text.Format(format, precision, value);
    return text;
}

} // namespace

std::vector<ScaleLabel> ScaleLabels(double max, double min, const CString& unit, bool exponential,
                                    int precision, int intervals)
{
    std::vector<ScaleLabel> labels;
    if (intervals <= 0)
        return labels;
    const double band = std::max(std::fabs(min), std::fabs(max)) * 0.0001;
    for (int i = 0; i <= intervals; ++i) {
        const double value = min + i * (max - min) / intervals;
        ScaleLabel label;
        label.text = -band < value && value < band ? CString(" 0.0 ")
                                                   : FormatValue(exponential ? " %.*e " : " %.*f ", precision, value);
        if (i == intervals / 2)
            label.text += unit;
        else
            label.colourRow = static_cast<int>(std::floor(i * 255.0 / intervals));
        label.y = static_cast<double>(i) / intervals - i * 0.02 / intervals;
        labels.push_back(label);
    }
    return labels;
}

std::vector<ScaleLabel> StressScaleLabels(double max, const CString& unit, int format, int precision)
{
    const char* layout = format == 0 ? "%.*e" : format == 1 ? "%.*f" : "%.*g";
    std::vector<ScaleLabel> labels;
    for (int i = 0; i <= 8; ++i) {
        const double value = -max + i * max / 4;
        ScaleLabel label;
        if (-max * 0.0001 < value && value < max * 0.0001) {
            label.text = CString(" 0.0 ") + unit;
        } else {
            label.text = " " + FormatValue(layout, precision, value) + " ";
            label.colourRow = i < 8 ? static_cast<int>(std::floor(i * 31.875)) : 255;
        }
        label.y = i * 0.125 - i * 0.00375;
        labels.push_back(label);
    }
    return labels;
}

void COGLRenderer::RenderScale(double max, double min, float* textColour, CString unit, bool exponential,
                               int precision, int intervals)
{
    const PolygonModes modes;
    DrawColourStrip();
    if (intervals <= 0)
        return; // no intervals: the strip alone
    const float* colour = textColour != nullptr ? textColour : glcTextClr;
    std::vector<double> borders;
    for (int i = 0; i <= intervals; ++i)
        borders.push_back(static_cast<double>(i) / intervals);
    DrawCellBorders(colour, borders);
    DrawLabels(ScaleLabels(max, min, unit, exponential, precision, intervals), colour);
}

ScaleLabel StressScaleTitle(const CString& title)
{
    const std::vector<ScaleLabel> labels = StressScaleLabels(1.0, CString(), 2, 3);
    ScaleLabel label;
    label.text = " " + title;
    label.y = (labels[7].y + labels[8].y) / 2;
    return label;
}

void COGLRenderer::DrawStressScale(double max, const CString& unit, int format, int precision,
                                   const CString& title)
{
    const PolygonModes modes;
    glDisable(GL_LIGHTING);
    DrawColourStrip();
    std::vector<double> borders;
    for (int k = 0; k <= 256; k += 32)
        borders.push_back(k / 256.0);
    DrawCellBorders(glcInvBckGrnd, borders);
    std::vector<ScaleLabel> labels = StressScaleLabels(max, unit, format, precision);
    if (!title.IsEmpty())
        labels.push_back(StressScaleTitle(title));
    DrawLabels(labels, glcInvBckGrnd);
}

void COGLRenderer::DrawLegendNote(const CString& text)
{
    glDisable(GL_LIGHTING);
    glColor3fv(glcInvBckGrnd);
    glRasterPos3d(2.0, 0.95, 0.0);
    glCallLists(text.GetLength(), GL_UNSIGNED_BYTE, text.GetString());
}

// ---- Drawing aids ----------------------------------------------------------------

void COGLRenderer::DrawRect2D(double a[2], double b[2], bool stippled)
{
    if (stippled) {
        glLineStipple(1, 0x1111);
        glEnable(GL_LINE_STIPPLE);
    }
    glBegin(GL_LINE_LOOP);
    glVertex3d(a[0], a[1], 0.0);
    glVertex3d(a[0], b[1], 0.0);
    glVertex3d(b[0], b[1], 0.0);
    glVertex3d(b[0], a[1], 0.0);
    glEnd();
    if (stippled)
        glDisable(GL_LINE_STIPPLE);
}

namespace {

// A position point + a d + b n of an arrow glyph.
struct GlyphPos {
    double a;
    double b;
};
struct GlyphShaft {
    GlyphPos from, to;
};
// A filled head; with tipZ its base corners take the tip's height.
struct GlyphHead {
    GlyphPos tip, left, right;
    bool tipZ = false;
};
struct ArrowGlyph {
    int type;
    std::vector<GlyphShaft> shafts;
    std::vector<GlyphHead> heads;
};

// A head along d (tip at a, base at base, half-width w across n).
GlyphHead AlongD(double tip, double base, double w, bool tipZ = false)
{
    return {{tip, 0}, {base, w}, {base, -w}, tipZ};
}
// A head along n (tip at b, base at base, half-width w along d).
GlyphHead AlongN(double tip, double base, double w)
{
    return {{0, tip}, {w, base}, {-w, base}, false};
}

const std::vector<ArrowGlyph>& ArrowGlyphs()
{
    static const std::vector<ArrowGlyph> glyphs = {
        {0, {{{0, 0}, {0.6, 0}}}, {AlongD(1, 0.6, 0.05, true)}},
        {1, {{{-0.5, 0}, {0.3, 0}}}, {AlongD(0.5, 0.3, 0.05, true)}},
        {2, {{{-0.3, 0}, {0.3, 0}}}, {AlongD(0.5, 0.3, 0.05, true), AlongD(-0.5, -0.3, 0.05, true)}},
        {-2, {{{-0.5, 0}, {0.5, 0}}}, {AlongD(-0.05, -0.15, 0.05), AlongD(0.05, 0.15, 0.05)}},
        {3, {{{-0.5, 0}, {0.1, 0}}}, {AlongD(0.5, 0.3, 0.05, true), AlongD(0.3, 0.1, 0.05, true)}},
        {4, {{{-0.5, 0}, {0.3, 0}}}, {{{0.5, 0}, {0.3, 0}, {0.3, -0.05}, true}}},
        {-4, {{{-0.5, 0}, {0.3, 0}}}, {{{0.5, 0}, {0.3, 0.05}, {0.3, 0}, true}}},
        {5,
         {{{0.2, 0.05}, {-0.1, 0.05}}, {{0.1, -0.05}, {-0.2, -0.05}}},
         {{{-0.5, 0.05}, {-0.3, 0.1}, {-0.3, 0}},
          {{-0.3, 0.05}, {-0.1, 0.1}, {-0.1, 0}},
          {{0.5, -0.05}, {0.3, -0.1}, {0.3, 0}},
          {{0.3, -0.05}, {0.1, -0.1}, {0.1, 0}}}},
        {-5,
         {{{-0.5, 0.05}, {0.1, 0.05}}, {{-0.1, -0.05}, {0.5, -0.05}}},
         {{{0.5, 0.05}, {0.3, 0.1}, {0.3, 0}},
          {{0.3, 0.05}, {0.1, 0.1}, {0.1, 0}},
          {{-0.5, -0.05}, {-0.3, -0.1}, {-0.3, 0}, true},
          {{-0.3, -0.05}, {-0.1, -0.1}, {-0.1, 0}}}},
        {6,
         {{{0.1, 0.05}, {-0.2, 0.05}}, {{0.2, -0.05}, {-0.1, -0.05}}},
         {{{0.3, 0.05}, {0.1, 0.15}, {0.1, 0.05}}, {{-0.3, -0.05}, {-0.1, -0.15}, {-0.1, -0.05}}}},
        {-6,
         {{{0.2, 0.05}, {-0.1, 0.05}}, {{0.1, -0.05}, {-0.2, -0.05}}},
         {{{-0.3, 0.05}, {-0.1, 0.15}, {-0.1, 0.05}}, {{0.3, -0.05}, {0.1, -0.15}, {0.1, -0.05}}}},
        {7,
         {{{0, -0.3}, {0, 0.3}}, {{-0.5, 0}, {0.5, 0}}},
         {AlongN(0.5, 0.4, 0.05), AlongN(0.4, 0.3, 0.05), AlongN(-0.5, -0.4, 0.05), AlongN(-0.4, -0.3, 0.05),
          AlongD(-0.05, -0.15, 0.05), AlongD(-0.15, -0.25, 0.05), AlongD(0.05, 0.15, 0.05),
          AlongD(0.15, 0.25, 0.05)}},
        {-7,
         {{{-0.3, 0}, {0.3, 0}}, {{0, -0.5}, {0, 0.5}}},
         {AlongD(0.5, 0.4, 0.05), AlongD(0.4, 0.3, 0.05), AlongD(-0.5, -0.4, 0.05), AlongD(-0.4, -0.3, 0.05),
          AlongN(-0.05, -0.15, 0.05), AlongN(-0.15, -0.25, 0.05), AlongN(0.05, 0.15, 0.05),
          AlongN(0.15, 0.25, 0.05)}},
    };
    return glyphs;
}

} // namespace

void COGLRenderer::Draw3DVect(double point[3], double direction[3], double length, UINT type)
{
    const auto& glyphs = ArrowGlyphs();
    const auto glyph = std::find_if(glyphs.begin(), glyphs.end(),
                                    [&](const ArrowGlyph& g) { return g.type == static_cast<int>(type); });
    if (glyph == glyphs.end())
        return;
    double d[3] = {direction[0], direction[1], direction[2]};
    if (length != 0.0) {
        const double own = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        if (own > 0.0)
            for (double& c : d)
                c *= length / own;
    }
    const double n[2] = {-d[1], d[0]};
    // zA is the d coefficient that sets the vertex's height.
    const auto vertex = [&](const GlyphPos& p, double zA) {
        glVertex3d(point[0] + p.a * d[0] + p.b * n[0], point[1] + p.a * d[1] + p.b * n[1], point[2] + zA * d[2]);
    };
    glBegin(GL_LINES);
    for (const GlyphShaft& shaft : glyph->shafts) {
        vertex(shaft.from, shaft.from.a);
        vertex(shaft.to, shaft.to.a);
    }
    glEnd();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glBegin(GL_TRIANGLES);
    for (const GlyphHead& head : glyph->heads) {
        vertex(head.tip, head.tip.a);
        vertex(head.left, head.tipZ ? head.tip.a : head.left.a);
        vertex(head.right, head.tipZ ? head.tip.a : head.right.a);
    }
    glEnd();
}

void COGLRenderer::DrawCube(double corners[8][3], double colours[8][3], double (*)[2])
{
    static const int kFaces[6][4] = {{0, 1, 2, 3}, {3, 2, 6, 7}, {7, 6, 5, 4},
                                     {4, 0, 3, 7}, {0, 4, 5, 1}, {1, 5, 6, 2}};
    glBegin(GL_QUADS);
    for (const auto& face : kFaces) {
        const double* p = corners[face[0]];
        const double* q = corners[face[1]];
        const double* s = corners[face[3]];
        const double u[3] = {s[0] - p[0], s[1] - p[1], s[2] - p[2]};
        const double v[3] = {q[0] - p[0], q[1] - p[1], q[2] - p[2]};
        double normal[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
        const double size = std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
        if (size > 0.0)
            for (double& c : normal)
                c /= size;
        glNormal3dv(normal);
        for (const int corner : face) {
            glColor3dv(colours[corner]);
            glVertex3dv(corners[corner]);
        }
    }
    glEnd();
}
