// The settings archive reader on arbitrary bytes: reading never fails and
// never crashes; a short or damaged archive only ends the reading early.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/korapp.h"

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
    if (app.folder.empty())
        app.folder = "/tmp/brantel_fuzz_settings_" + std::to_string(getpid()) + "_";
    const std::string path = std::string(app.GetSettingsPath());
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size != 0)
            std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    if (!app.InitApp(path.c_str()))
        std::abort();
    app.LoadCursors(false);
    std::remove(path.c_str());
    return 0;
}
