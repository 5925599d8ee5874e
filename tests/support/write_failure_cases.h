// The failures a writer that replaces a file must survive, for any writer:
// disk full and an I/O error (by injection), a read-only folder and a
// read-only file. Each case starts from a folder holding the old file and
// checks afterwards that the old file is byte for byte as it was and that
// no temporary file is left beside it. ForEachTargetKind: the kinds of
// target every such writer must handle (links in folders others may write,
// names at and beyond the file system's limit, a folder, a FIFO, a link
// loop, chains of links, a dangling link).
#pragma once

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <sys/types.h>
#include <functional>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "replace/safereplace.h"

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

struct TargetKindCase {
    const char* what;
    int error;         // the errno the writer reports; 0: it writes
    const char* cause; // the message's sentence, %s the target; "" when it writes
};

// A user other than the one running the test, for the links it owns (only
// the superuser can give a link away).
inline constexpr uid_t kOtherUser = 65534;

// For each kind of target: makes it in a fresh private folder, calls
// write(path, case) (which writes "new" the writer's way and checks how it
// reported the outcome), then checks that nothing but the expected file
// changed and that no temporary file is left. As the superuser too: the
// link rule looks at modes and owners, not at what the system allows.
// Another user's link needs the superuser to make it; without, that case
// is left out with a note.
inline void ForEachTargetKind(const std::function<void(const std::string&, const TargetKindCase&)>& write)
{
    const std::string old = "old bytes";
    const auto read = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const auto isLink = [](const std::string& path) {
        struct stat st {
        };
        return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    };
    const std::string longName = std::string(246, 'n') + ".plb"; // 250 bytes
    const TargetKindCase cases[] = {
        {"own link in a folder the group may write", 0, ""},
        {"own link in a sticky folder", 0, ""},
        {"another user's link in a folder the group may write", EACCES, "Access to %s was denied."},
        {"250-byte name", 0, ""},
        {"256-byte name", ENAMETOOLONG, "%s contains a name too long for the file system."},
        {"folder", EISDIR, "%s is a folder."},
        {"FIFO", ENXIO, "%s is not a regular file."},
        {"link loop", ELOOP, "%s contains a loop of symbolic links."},
        {"chain of 41 links", EMLINK, "%s contains more than 40 symbolic links."},
        {"chain of 40 links", 0, ""},
        {"dangling link", 0, ""},
    };
    for (const TargetKindCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string what = c.what;
        const bool othersLink = what == "another user's link in a folder the group may write";
        if (othersLink && ::geteuid() != 0) {
            std::printf("note: \"%s\" left out: only the superuser can make another user's link\n", c.what);
            continue;
        }
        std::string pattern = ::testing::TempDir() + "safekind_XXXXXX";
        const std::string folder = ::mkdtemp(pattern.data());
        std::string path = folder + "/model.plb";
        std::string written = path; // the file that holds "new" after a write
        const std::string victim = folder + "/own.plb";
        const bool shared = what.find(" link in a ") != std::string::npos;
        if (shared) {
            // The user's own file, and a folder others may write holding a
            // link to it.
            std::ofstream(victim, std::ios::binary) << old;
            const mode_t mode = what == "own link in a sticky folder" ? 01777 : 0775;
            ::mkdir((folder + "/shared").c_str(), mode);
            ::chmod((folder + "/shared").c_str(), mode);
            path = folder + "/shared/model.plb";
            written = victim;
            EXPECT_EQ(::symlink(victim.c_str(), path.c_str()), 0);
            if (othersLink) {
                EXPECT_EQ(::lchown(path.c_str(), kOtherUser, kOtherUser), 0);
            }
        } else if (what == "250-byte name") {
            path = written = folder + "/" + longName;
        } else if (what == "256-byte name") {
            path = folder + "/" + std::string(252, 'n') + ".plb";
        } else if (what == "folder") {
            ::mkdir(path.c_str(), 0755);
        } else if (what == "FIFO") {
            EXPECT_EQ(::mkfifo(path.c_str(), 0644), 0);
        } else if (what == "link loop") {
            EXPECT_EQ(::symlink("loop.plb", path.c_str()), 0);
            EXPECT_EQ(::symlink("model.plb", (folder + "/loop.plb").c_str()), 0);
        } else if (what.rfind("chain of ", 0) == 0) {
            // model.plb -> link1 -> ... -> linkN-1 -> end.plb: N links.
            const int links = what == "chain of 41 links" ? 41 : 40;
            std::string from = path;
            for (int i = 1; i < links; ++i) {
                const std::string to = "link" + std::to_string(i);
                EXPECT_EQ(::symlink(to.c_str(), from.c_str()), 0);
                from = folder + "/" + to;
            }
            EXPECT_EQ(::symlink("end.plb", from.c_str()), 0);
            written = folder + "/end.plb";
        } else if (what == "dangling link") {
            EXPECT_EQ(::symlink("new.plb", path.c_str()), 0);
            written = folder + "/new.plb";
        }
        write(path, c);

        if (c.error == 0) {
            EXPECT_EQ(read(written), "new");
        }
        if (shared) {
            EXPECT_EQ(read(victim), c.error == 0 ? "new" : old);
            EXPECT_TRUE(isLink(path)); // the link stays a link
            EXPECT_EQ(FolderNames(folder + "/shared"), std::vector<std::string>{"model.plb"});
        } else if (what == "dangling link" || what.rfind("chain of ", 0) == 0) {
            EXPECT_TRUE(isLink(path)); // the link stays a link
        } else if (what == "FIFO") {
            struct stat st {
            };
            EXPECT_TRUE(::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
        }
        std::vector<std::string> names = FolderNames(folder);
        for (const std::string& n : names)
            EXPECT_EQ(n.find(".~tmp"), std::string::npos) << n; // no temporary left
        if (c.error != 0 && !shared && what != "folder" && what != "FIFO" && what != "link loop" &&
            what.rfind("chain of ", 0) != 0) {
            EXPECT_TRUE(names.empty()) << "nothing created";
        }
        ::unlink((folder + "/shared/model.plb").c_str());
        ::rmdir((folder + "/shared").c_str());
        ::rmdir(path.c_str());
        for (const std::string& n : names)
            ::unlink((folder + "/" + n).c_str());
        ::rmdir(folder.c_str());
    }
}

} // namespace brantel::test
