// The settings archive reader on arbitrary bytes: reading never fails and
// never crashes; a short or damaged archive only ends the reading early.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "framework/korapp.h"
#include "fuzz/fuzz_reached.h"

namespace
{

class FuzzApp : public KorApp
{
public:
    CString GetSettingsFolder() override { return folder.c_str(); }
    std::string folder;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static FuzzApp app;
    if (app.folder.empty()) {
        // The archive lies in a folder of this process, made once: without
        // it no input could be written and none would be read.
        app.folder = "/tmp/brantel_fuzz_settings_" + std::to_string(getpid());
        std::error_code ignored;
        std::filesystem::create_directories(app.folder, ignored);
    }
    const std::string path = std::string(app.GetSettingsPath());
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size != 0)
            std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    FuzzReached();
    if (!app.InitApp(path.c_str()))
        std::abort();
    app.LoadCursors(false);
    std::remove(path.c_str());
    return 0;
}
