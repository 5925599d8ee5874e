// The program main frame's part of the settings archive on arbitrary bytes
// (the framework's part, then the thickness list): reading never crashes,
// keeps at most ten thicknesses and leaves the current thickness one of
// the listed ones.
#include "app/shell/mainframe.h"
#include "fuzz/fuzz_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CMainFrame frame;
    LoadFrameSettings(frame, "program_frame", data, size);
    RequireListed(frame.m_dThickness, frame.m_dActThickness);
    RequireListed(frame.m_dGridSpacing, frame.m_dCurGridSpacing);
    return 0;
}
