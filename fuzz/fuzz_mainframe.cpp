// The main frame's part of the settings archive on arbitrary bytes: reading
// never crashes, keeps at most ten spacings and leaves the current spacing
// one of the listed ones; a short archive only ends the reading early.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/kormainfrm.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/brantel_fuzz_mainframe_" + std::to_string(getpid());
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size != 0)
            std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    KorMainFrm frame;
    CFile file;
    if (file.Open(path.c_str(), CFile::modeRead)) {
        try {
            CArchive ar(&file, CArchive::load, 4096);
            frame.InitFrame(ar);
        } catch (const CException&) {
        }
        file.Close();
    }
    bool listed = false;
    for (double spacing : frame.m_dGridSpacing) {
        if (!(spacing > 0.0))
            break;
        listed = listed || spacing == frame.m_dCurGridSpacing;
    }
    if (!listed)
        std::abort();
    std::remove(path.c_str());
    return 0;
}
