// Bitmap-glyph display lists shared per font. Contexts of one share group
// see the same list names, so lists at a fixed base would let one view's
// font (or its clean-up) overwrite or delete another view's text. Here
// every name comes from glGenLists, and the lists of a font are built once
// per share group and deleted with the last reference.
#pragma once

#include <cstddef>
#include <vector>

#include <GL/gl.h>

#include "platform/ui/core/glsurface.h"
#include "platform/ui/core/logfont.h"

// The lists of one font: list base + b draws byte b (0-255) and moves the
// raster position on, so text is glListBase(base) and glCallLists of the
// string's bytes as GL_UNSIGNED_BYTE.
class CGlyphListCache {
public:
    static constexpr GLsizei kListCount = 256;

    // The base of the font's lists at the given device pixel ratio in the
    // share group of the current context (group), building them from the
    // installed glyph source at the first reference. Takes a reference.
    // 0 when no lists could be made.
    GLuint Acquire(const void* group, const LOGFONT& font, double devicePixelRatio);
    // Drops a reference; the last one deletes the lists when contextCurrent
    // (a context of the group is current), else only forgets them because
    // they went with their contexts.
    void Release(const void* group, GLuint base, bool contextCurrent);
    // References held on the lists at base in group (0 when unknown).
    int References(const void* group, GLuint base) const;
    // Fonts with lists, over all share groups.
    std::size_t Size() const { return m_entries.size(); }

private:
    struct Entry {
        const void* group;
        LOGFONT font;
        double ratio;
        GLuint base;
        int refs;
    };
    std::vector<Entry> m_entries;
};

// Compiles the 256 glyph lists of font into lists base .. base + 255 of the
// current context (a private context may use fixed names).
void AfxCompileGlyphLists(GLuint base, const LOGFONT& font, double devicePixelRatio);

// The process's cache (all views live in the user-interface thread).
CGlyphListCache& AfxGetGlyphListCache();

// One view's text font: a reference on the cached lists of its share group.
// Create sets the view's own glListBase; Release (and the destructor) drop
// the reference with the view's context current and then make current
// again whatever was current before. The surface must outlive the font.
class CGlyphFont {
public:
    CGlyphFont() = default;
    ~CGlyphFont() { Release(); }
    CGlyphFont(const CGlyphFont&) = delete;
    CGlyphFont& operator=(const CGlyphFont&) = delete;

    // Takes a reference on the lists of font for the surface's share group
    // and DPR (dropping the one held before) and sets glListBase to them in
    // the surface's context. False when the context or lists are missing.
    bool Create(IGLSurface& surface, const LOGFONT& font);
    void Release();
    // The list base, 0 without a font.
    GLuint ListBase() const { return m_base; }

private:
    IGLSurface* m_surface = nullptr;
    const void* m_group = nullptr;
    GLuint m_base = 0;
};
