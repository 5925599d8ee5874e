// The failures a writer that replaces a file must survive, for any writer:
// disk full and an I/O error (by injection), a read-only folder and a
// read-only file. Each case starts from a folder holding the old file and
// checks afterwards that the old file is byte for byte as it was and that
// no temporary file is left beside it.
#pragma once

#include <cerrno>
#include <dirent.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "platform/afx/safereplace.h"

namespace brantel::test
{

struct WriteFailureCase {
    const char* what;
    safereplace::Step step; // injected into the next writer
    mode_t folderMode;
    mode_t fileMode;
    const char* cause; // the message's sentence, %s the file
    int error;         // the errno the writer reports
};

// The names in a folder, "." and ".." left out.
inline std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* e = ::readdir(dir))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.push_back(e->d_name);
        ::closedir(dir);
    }
    return names;
}

// For each case: makes the folder and the old file "name", injects the
// step with inject, calls write(path, case) (which replaces the file the
// writer's way and checks how it reported the failure), then checks the
// old bytes and that no temporary file is left.
inline void ForEachWriteFailure(const std::string& name,
                                const std::function<void(safereplace::Step)>& inject,
                                const std::function<void(const std::string&, const WriteFailureCase&)>& write)
{
    using Step = safereplace::Step;
    const WriteFailureCase cases[] = {
        {"disk full", Step::write, 0755, 0644, "Disk full while accessing %s.", ENOSPC},
        {"write error", Step::rename, 0755, 0644, "A hardware I/O error was reported while accessing %s.", EIO},
        {"read-only folder", Step::none, 0555, 0644, "Access to %s was denied.", EACCES},
        {"read-only file", Step::none, 0755, 0444, "Access to %s was denied.", EACCES},
    };
    const std::string old("old\0bytes\xff\r\n", 12);
    for (const WriteFailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::string pattern = ::testing::TempDir() + "safewrite_XXXXXX";
        const std::string folder = ::mkdtemp(pattern.data());
        const std::string path = folder + "/" + name;
        std::ofstream(path, std::ios::binary) << old;
        ::chmod(path.c_str(), c.fileMode);
        ::chmod(folder.c_str(), c.folderMode);
        inject(c.step);
        write(path, c);
        inject(Step::none);
        ::chmod(folder.c_str(), 0755);

        std::ifstream in(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old);
        const std::vector<std::string> names = FolderNames(folder);
        EXPECT_EQ(names, std::vector<std::string>{name}); // no temporary left
        for (const std::string& n : names)
            ::unlink((folder + "/" + n).c_str());
        ::rmdir(folder.c_str());
    }
}

} // namespace brantel::test
