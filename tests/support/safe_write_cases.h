// The failures every writer of a whole file must survive: each keeps the old
// file byte for byte, leaves no temporary file beside it and shows one
// message naming the file and the cause.
#pragma once

#include <dirent.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "platform/afx/safefile.h"

namespace brantel::test
{

// write(path, cause) replaces the file at path the way the program does and
// returns the messages it showed; cause is the sentence that names the file
// and the failure, which the one message must hold (a test that scripts its
// message boxes expects it).
inline void ExpectEachWriteFailureKeepsTheOldFile(
    const std::string& name,
    const std::function<std::vector<std::string>(const std::string&, const std::string&)>& write)
{
    using Step = afx::SafeFileWriter::Step;
    const struct {
        const char* what;
        Step step;
        mode_t folderMode;
        mode_t fileMode;
        const char* cause;
    } cases[] = {
        {"disk full", Step::write, 0755, 0644, "Disk full while accessing %s."},
        {"write error", Step::rename, 0755, 0644,
         "A hardware I/O error was reported while accessing %s."},
        {"read-only folder", Step::none, 0555, 0644, "Access to %s was denied."},
        {"read-only file", Step::none, 0755, 0444, "Access to %s was denied."},
    };
    const std::string old("old\0bytes\xff\r\n", 12);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string pattern = ::testing::TempDir() + "safewrite_XXXXXX";
        const std::string folder = ::mkdtemp(pattern.data());
        const std::string path = folder + "/" + name;
        std::ofstream(path, std::ios::binary) << old;
        ::chmod(path.c_str(), c.fileMode);
        ::chmod(folder.c_str(), c.folderMode);
        std::string cause = c.cause;
        cause.replace(cause.find("%s"), 2, path);
        afx::SafeFileWriter::InjectFailure(c.step);
        const std::vector<std::string> messages = write(path, cause);
        afx::SafeFileWriter::InjectFailure(Step::none);
        ::chmod(folder.c_str(), 0755);

        std::ifstream in(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old);
        std::vector<std::string> names;
        if (DIR* dir = ::opendir(folder.c_str())) {
            while (const dirent* e = ::readdir(dir))
                if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                    names.push_back(e->d_name);
            ::closedir(dir);
        }
        EXPECT_EQ(names, std::vector<std::string>{name}); // no temporary left
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find(cause), std::string::npos) << messages[0];
        for (const std::string& n : names)
            ::unlink((folder + "/" + n).c_str());
        ::rmdir(folder.c_str());
    }
}

} // namespace brantel::test
