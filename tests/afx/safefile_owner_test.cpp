// The old file's owner and group keep the access they had after a save by
// another user, and the link rule as users other than the superuser meet
// it. Runs as the superuser (as CI does): it makes a group and three users
// for the test, saves in child processes switched to those users, and
// removes them again; without the superuser it is skipped.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <grp.h>
#include <iterator>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "platform/afx/safefile.h"
#include "tests/support/write_failure_cases.h"

namespace
{

struct TestUser {
    std::string name;
    uid_t uid = 0;
    gid_t gid = 0;
    std::vector<gid_t> groups;
};

// Runs a command of the system's user tools; true when it succeeded. The
// tools refuse while another one holds the user database: a few tries.
bool RunTool(const std::string& command)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (std::system((command + " >/dev/null 2>&1").c_str()) == 0)
            return true;
        ::usleep(200000);
    }
    return false;
}

class SafeFileOwnerTest : public ::testing::Test
{
protected:
    // A group "team" with the users a and b; c is in no group but its own.
    static void SetUpTestSuite()
    {
        if (::geteuid() != 0)
            return;
        const std::string tag = std::to_string(::getpid());
        s_team = "brtteam" + tag;
        if (!RunTool("groupadd " + s_team))
            return;
        for (const char* who : {"a", "b", "c"}) {
            const std::string name = "brt" + std::string(who) + tag;
            const std::string extra = std::string(who) == "c" ? "" : " -G " + s_team;
            if (!RunTool("useradd -M -U -s /usr/sbin/nologin" + extra + " " + name))
                return;
            s_made.push_back(name);
        }
        const group* team = ::getgrnam(s_team.c_str());
        if (!team)
            return;
        s_teamGid = team->gr_gid;
        for (std::size_t i = 0; i < 3; ++i) {
            const passwd* pw = ::getpwnam(s_made[i].c_str());
            if (!pw)
                return;
            TestUser& user = s_users[i];
            user.name = s_made[i];
            user.uid = pw->pw_uid;
            user.gid = pw->pw_gid;
            int count = 16;
            user.groups.resize(16);
            ::getgrouplist(user.name.c_str(), user.gid, user.groups.data(), &count);
            user.groups.resize(std::size_t(count));
        }
        s_ready = true;
    }
    static void TearDownTestSuite()
    {
        for (const std::string& name : s_made) {
            RunTool("userdel " + name);
            if (::getgrnam(name.c_str())) // userdel leaves it when users' groups are off
                RunTool("groupdel " + name);
        }
        if (!s_team.empty())
            RunTool("groupdel " + s_team);
        s_made.clear();
        s_team.clear();
    }
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs the superuser to make users and a group for the test";
        ASSERT_TRUE(s_ready) << "could not make the test's users and group (useradd, groupadd)";
        std::string pattern = ::testing::TempDir() + "safeowner_XXXXXX";
        m_root = ::mkdtemp(pattern.data());
        ::chmod(m_root.c_str(), 0755);
    }
    void TearDown() override
    {
        if (!m_root.empty())
            RunTool("rm -rf '" + m_root + "'");
    }

    // Runs save as the user in a child process; returns what it returned.
    static std::string As(const TestUser& user, const std::function<std::string()>& save)
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return "no pipe";
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(fds[0]);
            std::string result = "could not switch to " + user.name;
            if (::setgroups(user.groups.size(), user.groups.data()) == 0 &&
                ::setresgid(user.gid, user.gid, user.gid) == 0 && ::setresuid(user.uid, user.uid, user.uid) == 0) {
                ::umask(002);
                result = save();
            }
            const ssize_t written = ::write(fds[1], result.data(), result.size());
            ::_exit(written == ssize_t(result.size()) ? 0 : 1);
        }
        ::close(fds[1]);
        std::string result;
        char buffer[512];
        for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
            result.append(buffer, std::size_t(n));
        ::close(fds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        return result;
    }

    // Saves text into path the way the program does; the message, or "".
    static std::string Save(const std::string& path, const std::string& text)
    {
        return afx::WriteFileSafely(path.c_str(), [&text](CFile& file) {
                   file.Write(text.data(), UINT(text.size()));
               }).GetString();
    }

    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // A file with the given owner, group and mode holding text.
    static void Make(const std::string& path, uid_t uid, gid_t gid, mode_t mode, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
        ASSERT_EQ(::chown(path.c_str(), uid, gid), 0);
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    }

    static void ExpectOwner(const std::string& path, uid_t uid, gid_t gid, mode_t mode)
    {
        struct stat st {
        };
        ASSERT_EQ(::lstat(path.c_str(), &st), 0) << path;
        EXPECT_EQ(st.st_uid, uid);
        EXPECT_EQ(st.st_gid, gid);
        EXPECT_EQ(st.st_mode & 07777, mode);
    }

    // A folder of the team that its members may write (no setgid).
    std::string TeamFolder() const
    {
        const std::string folder = m_root + "/team";
        ::mkdir(folder.c_str(), 0770);
        EXPECT_EQ(::chown(folder.c_str(), 0, s_teamGid), 0);
        ::chmod(folder.c_str(), 0770);
        return folder;
    }

    static inline std::string s_team;
    static inline gid_t s_teamGid = 0;
    static inline std::vector<std::string> s_made;
    static inline TestUser s_users[3];
    static inline bool s_ready = false;
    const TestUser& a = s_users[0];
    const TestUser& b = s_users[1];
    const TestUser& c = s_users[2];
    std::string m_root;
};

// Two members of a team save each other's 0660 document in the team's
// folder: each save keeps the team's group, so the other still reads and
// saves it.
TEST_F(SafeFileOwnerTest, TeamMembersSaveEachOthersDocument)
{
    const std::string doc = TeamFolder() + "/plate.plb";
    Make(doc, a.uid, s_teamGid, 0660, "a's");
    EXPECT_EQ(As(b, [&] { return Save(doc, "b's"); }), "");
    ExpectOwner(doc, b.uid, s_teamGid, 0660);
    EXPECT_EQ(As(a, [&] {
                  const std::string read = Read(doc);
                  return read + "|" + Save(doc, "a's again");
              }),
              "b's|");
    ExpectOwner(doc, a.uid, s_teamGid, 0660);
    EXPECT_EQ(Read(doc), "a's again");
}

// The superuser's save gives the document back to its owner and group, so
// the owner's next save works.
TEST_F(SafeFileOwnerTest, TheSuperusersSaveKeepsTheUsersOwnership)
{
    const std::string home = m_root + "/home";
    ::mkdir(home.c_str(), 0755);
    ASSERT_EQ(::chown(home.c_str(), a.uid, a.gid), 0);
    const std::string doc = home + "/plate.plb";
    Make(doc, a.uid, a.gid, 0644, "a's");
    EXPECT_EQ(Save(doc, "root's"), "");
    ExpectOwner(doc, a.uid, a.gid, 0644);
    EXPECT_EQ(As(a, [&] { return Save(doc, "a's again"); }), "");
    EXPECT_EQ(Read(doc), "a's again");
}

// Where the owner or the group would lose access, the save says so before
// anything is written: the document, its owner and group stay, and no
// temporary file is left.
TEST_F(SafeFileOwnerTest, ASaveThatWouldTakeAccessAwayIsRefused)
{
    const std::string folder = TeamFolder();
    const std::string doc = folder + "/plate.plb";
    // c's document, given to the team by an administrator; c is no member.
    Make(doc, c.uid, s_teamGid, 0660, "c's");
    ::chmod(folder.c_str(), 0777);
    const struct {
        const char* what;
        const TestUser& user;
        std::string message;
    } cases[] = {
        {"the owner, not in the file's group", c,
         doc + " belongs to a group you are not a member of; saving it would take the group's access away."},
        {"a member, the owner not in the group", b,
         doc + " belongs to another user; saving it would take the owner's access away."},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        EXPECT_EQ(As(k.user, [&] { return Save(doc, "new"); }), k.message);
        // The check before a save gives the same answer.
        EXPECT_EQ(As(k.user, [&] { return std::string(afx::WriteRefusal(doc.c_str()).GetString()); }), k.message);
        ExpectOwner(doc, c.uid, s_teamGid, 0660);
        EXPECT_EQ(Read(doc), "c's");
        EXPECT_EQ(brantel::test::FolderNames(folder), std::vector<std::string>{"plate.plb"});
    }
}

// In a sticky folder only an entry's owner may replace it: another member's
// save is refused already by the check before a save, which then offers
// Save As, and the document stays as it was.
TEST_F(SafeFileOwnerTest, AnothersFileInAStickyFolderIsRefusedBeforeTheSave)
{
    const std::string folder = TeamFolder();
    ASSERT_EQ(::chmod(folder.c_str(), 01770), 0);
    const std::string doc = folder + "/plate.plb";
    Make(doc, a.uid, s_teamGid, 0660, "a's");
    const std::string denied = "Access to " + doc + " was denied.";
    EXPECT_EQ(As(b, [&] { return std::string(afx::WriteRefusal(doc.c_str()).GetString()); }), denied);
    EXPECT_EQ(As(b, [&] { return Save(doc, "b's"); }), denied);
    ExpectOwner(doc, a.uid, s_teamGid, 0660);
    EXPECT_EQ(Read(doc), "a's");
    EXPECT_EQ(brantel::test::FolderNames(folder), std::vector<std::string>{"plate.plb"});
    EXPECT_EQ(As(a, [&] { return Save(doc, "a's again"); }), ""); // the owner's own save works
}

// The link rule for users: a's own link in the team's folder is followed,
// b's link there to a's document is not.
TEST_F(SafeFileOwnerTest, AUsersOwnLinkInASharedFolderIsFollowedAnothersIsNot)
{
    const std::string folder = TeamFolder();
    const std::string home = m_root + "/home";
    ::mkdir(home.c_str(), 0700);
    ASSERT_EQ(::chown(home.c_str(), a.uid, a.gid), 0);
    const std::string doc = home + "/plate.plb";
    Make(doc, a.uid, a.gid, 0644, "a's");
    const std::string own = folder + "/current.plb", planted = folder + "/planted.plb";
    ASSERT_EQ(::symlink(doc.c_str(), own.c_str()), 0);
    ASSERT_EQ(::lchown(own.c_str(), a.uid, a.gid), 0);
    ASSERT_EQ(::symlink(doc.c_str(), planted.c_str()), 0);
    ASSERT_EQ(::lchown(planted.c_str(), b.uid, b.gid), 0);

    EXPECT_EQ(As(a, [&] { return Save(own, "through the link"); }), "");
    EXPECT_EQ(Read(doc), "through the link");
    EXPECT_EQ(As(a, [&] { return Save(planted, "planted"); }), "Access to " + planted + " was denied.");
    EXPECT_EQ(Read(doc), "through the link");
    struct stat st {
    };
    EXPECT_TRUE(::lstat(own.c_str(), &st) == 0 && S_ISLNK(st.st_mode)); // the link stays a link
    EXPECT_EQ(brantel::test::FolderNames(home), std::vector<std::string>{"plate.plb"});
}

} // namespace
