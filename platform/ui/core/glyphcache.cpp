#include "platform/ui/core/glyphcache.h"

#include <algorithm>
#include <cstring>

#include "platform/ui/core/glyphsource.h"

namespace {

// The font's fields with the face name cleared behind its end, so that two
// records naming the same font compare equal byte for byte.
LOGFONT Normalised(const LOGFONT& font)
{
    LOGFONT key = font;
    const std::size_t len = strnlen(font.lfFaceName, LF_FACESIZE);
    std::memset(key.lfFaceName + len, 0, LF_FACESIZE - len);
    return key;
}

GLuint BuildLists(const LOGFONT& font, double ratio)
{
    const GLuint base = glGenLists(CGlyphListCache::kListCount);
    if (base != 0)
        AfxCompileGlyphLists(base, font, ratio);
    return base;
}

} // namespace

void AfxCompileGlyphLists(GLuint base, const LOGFONT& font, double ratio)
{
    const IGlyphSource& source = AfxGetGlyphSource();
    // Glyph rows are byte-aligned; the caller's unpacking state comes back.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    for (GLsizei code = 0; code < CGlyphListCache::kListCount; ++code) {
        const GlyphBitmap glyph = source.Glyph(font, ratio, static_cast<unsigned char>(code));
        glNewList(base + static_cast<GLuint>(code), GL_COMPILE);
        glBitmap(glyph.width, glyph.height, glyph.xorig, glyph.yorig, glyph.advance, 0,
                 glyph.bits.empty() ? nullptr : glyph.bits.data());
        glEndList();
    }
    glPopClientAttrib();
}

GLuint CGlyphListCache::Acquire(const void* group, const LOGFONT& font, double devicePixelRatio)
{
    const LOGFONT key = Normalised(font);
    for (Entry& entry : m_entries) {
        if (entry.group == group && entry.ratio == devicePixelRatio
            && std::memcmp(&entry.font, &key, sizeof key) == 0) {
            ++entry.refs;
            return entry.base;
        }
    }
    const GLuint base = BuildLists(key, devicePixelRatio);
    if (base != 0)
        m_entries.push_back({group, key, devicePixelRatio, base, 1});
    return base;
}

void CGlyphListCache::Release(const void* group, GLuint base, bool contextCurrent)
{
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [&](const Entry& e) { return e.group == group && e.base == base; });
    if (it == m_entries.end() || --it->refs > 0)
        return;
    if (contextCurrent)
        glDeleteLists(base, kListCount);
    m_entries.erase(it);
}

int CGlyphListCache::References(const void* group, GLuint base) const
{
    for (const Entry& entry : m_entries)
        if (entry.group == group && entry.base == base)
            return entry.refs;
    return 0;
}

CGlyphListCache& AfxGetGlyphListCache()
{
    static CGlyphListCache cache;
    return cache;
}

bool CGlyphFont::Create(IGLSurface& surface, const LOGFONT& font)
{
    Release();
    GLCurrentScope scope(surface);
    if (!scope.Ok())
        return false;
    const GLuint base =
        AfxGetGlyphListCache().Acquire(surface.ShareGroup(), font, surface.DevicePixelRatio());
    if (base == 0)
        return false;
    m_surface = &surface;
    m_group = surface.ShareGroup();
    m_base = base;
    glListBase(base);
    return true;
}

void CGlyphFont::Release()
{
    if (m_base == 0)
        return;
    GLCurrentScope scope(*m_surface);
    AfxGetGlyphListCache().Release(m_group, m_base, scope.Ok());
    m_surface = nullptr;
    m_group = nullptr;
    m_base = 0;
}
