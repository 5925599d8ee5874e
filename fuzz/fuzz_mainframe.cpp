// The main frame's part of the settings archive on arbitrary bytes: reading
// never crashes, keeps at most ten spacings and leaves the current spacing
// one of the listed ones; a short archive only ends the reading early.
#include "framework/kormainfrm.h"
#include "fuzz/fuzz_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    KorMainFrm frame;
    LoadFrameSettings(frame, "mainframe", data, size);
    RequireListed(frame.m_dGridSpacing, frame.m_dCurGridSpacing);
    return 0;
}
