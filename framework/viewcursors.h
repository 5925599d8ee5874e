// The cursors of the 2D graph views, shared by all of them: loaded from the
// resources when the application starts and released when it ends.
#pragma once

#include "platform/ui/core/afxui.h"

// A loaded cursor: its image and hot spot, owned by whoever loaded it.
struct KorCursor {
    UINT nID = 0;
    AfxCursorResource cursor;
};
typedef KorCursor* HKORCURSOR;

// The six cursor handles the 2D view chooses from by tool mode; null until
// loaded.
struct KorViewCursors {
    static HKORCURSOR m_hNormalCursor;
    static HKORCURSOR m_hPointCursor;
    static HKORCURSOR m_hPanCursor;
    static HKORCURSOR m_hZoomRectCursor;
    static HKORCURSOR m_hZoomDynCursor;
    static HKORCURSOR m_hRotateCursor;
};

// The cursor resource of this id along the resource chain, or null.
HKORCURSOR KorLoadCursor(UINT nID);
