// KorMainFrm: the main frame of the framework's programs, an MDI frame. It
// keeps its own part of the settings archive and sets itself up when there
// is no archive.
#pragma once

#include "platform/ui/core/afxui.h"

class KorMainFrm : public CMDIFrameWnd
{
    DECLARE_DYNAMIC(KorMainFrm)
public:
    // Reads or writes the frame's part of the settings archive.
    virtual void InitFrame(CArchive& ar) { (void)ar; }
    // Sets the frame up when no settings archive could be read.
    virtual void InitFrame() {}
};
