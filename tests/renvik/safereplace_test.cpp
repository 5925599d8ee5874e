// The file-replacement rules: which links are followed, and how a path's
// links are walked.
#include <cerrno>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "replace/renvik.h"

namespace
{

// Who may have put a link into its folder: the rule's decision, for users
// and owners the test (running as the superuser in CI) cannot be.
TEST(SafeReplaceTest, ALinkIsFollowedOnlyWhenNoOtherUserCanHavePutItThere)
{
    constexpr uid_t me = 1000, other = 1001, root = 0;
    const struct {
        const char* what;
        uid_t folderOwner;
        mode_t folderMode;
        uid_t linkOwner;
        bool follow;
    } cases[] = {
        {"own private folder", me, 0755, me, true},
        {"own folder, link by root", me, 0700, root, true},
        {"system folder", root, 0755, root, true},
        {"own folder writable by the group, own link", me, 0775, me, true},
        {"own folder writable by all, own link", me, 0777, me, true},
        {"another user's folder, own link", other, 0755, me, true},
        {"sticky shared folder, own link", root, 01777, me, true},
        {"sticky shared folder, root's link", root, 01777, root, true},
        {"sticky folder of another user, own link", other, 01777, me, true},
        {"own private folder, another's link", me, 0755, other, true},
        {"system folder, another's link", root, 0755, other, true},
        {"own folder writable by the group, another's link", me, 0775, other, false},
        {"own folder writable by all, another's link", me, 0757, other, false},
        {"another user's folder, their link", other, 0755, other, false},
        {"sticky shared folder, another's link", root, 01777, other, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        struct stat folder {
        }, link{};
        folder.st_uid = c.folderOwner;
        folder.st_mode = S_IFDIR | c.folderMode;
        link.st_uid = c.linkOwner;
        link.st_mode = S_IFLNK | 0777;
        EXPECT_EQ(safereplace::MayFollowLink(folder, link, me), c.follow);
    }
}

// A link met again is a loop only while its own target is being walked: a
// link to its own folder may be passed any number of times.
TEST(SafeReplaceTest, ALoopIsALinkMetAgainWithinItsOwnTarget)
{
    std::string pattern = ::testing::TempDir() + "resolve_XXXXXX";
    const std::string folder = ::mkdtemp(pattern.data());
    const std::string real = [&] {
        char* p = ::realpath(folder.c_str(), nullptr);
        std::string r(p);
        std::free(p);
        return r;
    }();
    ASSERT_EQ(::symlink(real.c_str(), (folder + "/up").c_str()), 0);   // up -> the folder
    ASSERT_EQ(::symlink(".", (folder + "/here").c_str()), 0);          // here -> .
    ASSERT_EQ(::symlink("deep/x", (folder + "/deep").c_str()), 0);     // grows for ever
    ASSERT_EQ(::symlink("up/up/up/..", (folder + "/m").c_str()), 0);   // passes up thrice
    ASSERT_EQ(::symlink("b", (folder + "/a").c_str()), 0);
    ASSERT_EQ(::symlink("here/a", (folder + "/b").c_str()), 0);        // a -> b -> here/a
    const struct {
        const char* path;
        int error;
        std::string resolved;
    } cases[] = {
        {"up/up/here/up/model.plb", 0, real + "/model.plb"},
        {"up/m/model.plb", 0, real.substr(0, real.rfind('/')) + "/model.plb"},
        {"deep", ELOOP, ""},
        {"a", ELOOP, ""},
        {"up/a/model.plb", ELOOP, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::string resolved;
        EXPECT_EQ(safereplace::Resolve(folder + "/" + c.path, resolved), c.error);
        if (c.error == 0) {
            EXPECT_EQ(resolved, c.resolved);
        }
    }
    for (const char* name : {"up", "here", "deep", "m", "a", "b"})
        ::unlink((folder + "/" + name).c_str());
    ::rmdir(folder.c_str());
}

} // namespace
