#include "replace/safereplace.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace safereplace {

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

bool MayFollowLink(const struct stat& folder, const struct stat& link, uid_t user)
{
    // Nobody but its owner can change a link; another user can only put a
    // link of their own in its place.
    if (link.st_uid == user || link.st_uid == 0)
        return true;
    const bool ownFolder = folder.st_uid == user || folder.st_uid == 0;
    return ownFolder && (folder.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

namespace {

// Reads the link at path together with its status, from one open of the
// link itself: the owner checked is the owner of the text read, also when
// the link is replaced in between. Returns 0 or the errno.
int ReadLink(const std::string& path, struct stat& st, std::string& text)
{
    const int fd = ::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int err = 0;
    if (::fstat(fd, &st) != 0) {
        err = errno;
    } else if (!S_ISLNK(st.st_mode)) {
        err = EAGAIN; // no longer a link: the caller looks again
    } else {
        std::vector<char> buffer(std::size_t(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlinkat(fd, "", buffer.data(), buffer.size());
        if (n < 0)
            err = errno;
        else if (std::size_t(n) >= buffer.size())
            err = ENAMETOOLONG;
        else
            text.assign(buffer.data(), std::size_t(n));
    }
    ::close(fd);
    return err;
}

} // namespace

int Resolve(const std::string& path, std::string& resolved, bool anyLink)
{
    if (path.empty())
        return ENOENT;
    std::string done; // resolved so far, without a trailing slash ("" = root)
    if (path[0] != '/') {
        char* cwd = ::getcwd(nullptr, 0);
        if (!cwd)
            return errno;
        done = cwd;
        std::free(cwd);
        if (done == "/")
            done.clear();
    }
    std::vector<std::string> rest; // the names still to walk, the next one last
    const auto push = [&rest](const std::string& text) {
        std::vector<std::string> names;
        std::size_t begin = 0;
        while (begin <= text.size()) {
            std::size_t end = text.find('/', begin);
            if (end == std::string::npos)
                end = text.size();
            if (end > begin)
                names.push_back(text.substr(begin, end - begin));
            begin = end + 1;
        }
        rest.insert(rest.end(), names.rbegin(), names.rend());
    };
    push(path);
    // The links whose targets are being walked, with the number of names
    // left below their targets: a link met again while its own target is
    // still being walked leads back to itself for ever.
    std::vector<std::pair<std::string, std::size_t>> walking;
    int links = 0;
    while (!rest.empty()) {
        const std::string name = rest.back();
        rest.pop_back();
        while (!walking.empty() && rest.size() < walking.back().second)
            walking.pop_back();
        if (name == ".")
            continue;
        if (name == "..") {
            done.erase(done.rfind('/') == std::string::npos ? 0 : done.rfind('/'));
            continue;
        }
        const std::string next = done + "/" + name;
        struct stat st {
        };
        if (::lstat(next.c_str(), &st) != 0) {
            if (errno == ENAMETOOLONG)
                return ENAMETOOLONG;
            done = next;
            for (auto it = rest.rbegin(); it != rest.rend(); ++it)
                done += "/" + *it;
            rest.clear();
            break;
        }
        if (!S_ISLNK(st.st_mode)) {
            done = next;
            continue;
        }
        std::string target;
        if (const int err = ReadLink(next, st, target))
            return err == EAGAIN ? EACCES : err;
        for (const auto& [link, below] : walking)
            if (link == next)
                return ELOOP;
        if (++links > kMaxLinks)
            return EMLINK;
        struct stat folder {
        };
        if (::stat(done.empty() ? "/" : done.c_str(), &folder) != 0)
            return errno;
        if (!anyLink && !MayFollowLink(folder, st, ::geteuid()))
            return EACCES;
        walking.emplace_back(next, rest.size());
        if (!target.empty() && target[0] == '/')
            done.clear();
        push(target);
    }
    resolved = done.empty() ? "/" : done;
    return 0;
}

namespace {

// Whether the user may write the path: the system's answer, and for the
// superuser, whom the system lets write anything, the mode's write bits.
bool MayWrite(const std::string& path, const struct stat& st)
{
    return ::access(path.c_str(), W_OK) == 0 && (st.st_mode & 0222) != 0;
}

// Whether the process may give a file it owns the group gid: one of its
// groups.
bool MayGiveGroup(gid_t gid)
{
    if (::getegid() == gid)
        return true;
    const int n = ::getgroups(0, nullptr);
    if (n <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(n));
    const int got = ::getgroups(n, groups.data());
    return got > 0 && std::find(groups.begin(), groups.begin() + got, gid) != groups.begin() + got;
}

// Whether the user uid belongs to the group gid (as the system's user and
// group databases say; a user they do not know belongs to none).
bool IsMember(uid_t uid, gid_t gid)
{
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(std::size_t(size > 0 ? size : 16384));
    struct passwd entry {
    };
    struct passwd* user = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &user) != 0 || !user)
        return false;
    if (user->pw_gid == gid)
        return true;
    int count = 64;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    if (::getgrouplist(user->pw_name, user->pw_gid, groups.data(), &count) < 0) {
        groups.resize(static_cast<std::size_t>(count));
        if (::getgrouplist(user->pw_name, user->pw_gid, groups.data(), &count) < 0)
            return false;
    }
    return std::find(groups.begin(), groups.begin() + count, gid) != groups.begin() + count;
}

} // namespace

namespace {

// Whether the replacement of the old file st, in a folder with the status
// folder, gets the old group: a setgid folder gives it, or the process may
// give it (one of its groups).
bool GroupKept(const struct stat& st, const struct stat& folder)
{
    return ((folder.st_mode & S_ISGID) != 0 && folder.st_gid == st.st_gid) || MayGiveGroup(st.st_gid);
}

} // namespace

int OwnershipRefusal(const struct stat& st, const struct stat& folder, uid_t user)
{
    if (user == 0)
        return 0; // the superuser gives the replacement the old owner and group
    const mode_t ownerBits = (st.st_mode >> 6) & 7;
    const mode_t groupBits = (st.st_mode >> 3) & 7;
    const mode_t otherBits = st.st_mode & 7;
    // A group the replacement cannot get leaves its members the others' bits.
    const bool groupKept = GroupKept(st, folder);
    if (!groupKept && (groupBits & ~otherBits) != 0)
        return kGroupNotKept;
    if (st.st_uid == user)
        return 0;
    // The replacement is the user's: the old owner keeps what the group's
    // bits (as a member) or the others' bits give.
    const mode_t keptBits = groupKept && IsMember(st.st_uid, st.st_gid) ? groupBits : otherBits;
    return (ownerBits & ~keptBits) == 0 ? 0 : kOwnerNotKept;
}

int Refusal(const std::string& target)
{
    const std::string folderPath = FolderOf(target);
    struct stat folder {
    };
    const bool folderKnown = ::stat(folderPath.c_str(), &folder) == 0;
    struct stat st {
    };
    if (::lstat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return EISDIR;
        if (!S_ISREG(st.st_mode))
            return ENXIO;
        if (!MayWrite(target, st))
            return EACCES;
        if (folderKnown) {
            const uid_t user = ::geteuid();
            // A sticky folder lets only an entry's owner (and the folder's)
            // replace it.
            if ((folder.st_mode & S_ISVTX) != 0 && user != 0 && st.st_uid != user && folder.st_uid != user)
                return EACCES;
            if (const int err = OwnershipRefusal(st, folder, user))
                return err;
        }
    }
    if (folderKnown && !MayWrite(folderPath, folder))
        return EACCES;
    return 0;
}

int Check(const std::string& path, std::string& target)
{
    if (const int err = Resolve(path, target))
        return err;
    return Refusal(target);
}

std::string TempPattern(const std::string& target, std::size_t nameMax)
{
    const std::size_t slash = target.rfind('/');
    const std::size_t begin = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t suffix = std::char_traits<char>::length(kTempSuffix);
    std::size_t keep = target.size() - begin;
    if (keep + suffix > nameMax) {
        keep = nameMax > suffix ? nameMax - suffix : 0;
        while (keep > 0 && (static_cast<unsigned char>(target[begin + keep]) & 0xC0) == 0x80)
            --keep;
    }
    return target.substr(0, begin + keep) + kTempSuffix;
}

namespace {

// The longest name the folder of target holds (255 when it cannot say).
std::size_t NameMax(const std::string& target)
{
    const long max = ::pathconf(FolderOf(target).c_str(), _PC_NAME_MAX);
    return max > 0 ? std::size_t(max) : 255;
}

// The mode of a new file: 0666 less the process's umask.
mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

int OpenTemp(const std::string& target, std::string& temp)
{
    std::string pattern = TempPattern(target, NameMax(target));
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd < 0)
        return -errno;
    temp = buffer.data();
    return fd;
}

int Finish(int fd, const std::string& target, Step failAt)
{
    if (failAt == Step::fsync)
        return EIO;
    if (::fsync(fd) != 0)
        return errno;
    struct stat old {
    };
    if (::stat(target.c_str(), &old) != 0)
        return ::fchmod(fd, NewFileMode()) != 0 ? errno : 0;
    struct stat now {
    };
    if (::fstat(fd, &now) != 0)
        return errno;
    // The old group, and as the superuser the old owner too; a change of
    // owner or group clears the set-id bits, so the mode comes after.
    const bool superuser = ::geteuid() == 0;
    const uid_t owner = superuser && now.st_uid != old.st_uid ? old.st_uid : uid_t(-1);
    // A group the user may not give loses nothing (Refusal checked that).
    const gid_t group =
        now.st_gid != old.st_gid && (superuser || MayGiveGroup(old.st_gid)) ? old.st_gid : gid_t(-1);
    if ((owner != uid_t(-1) || group != gid_t(-1)) && ::fchown(fd, owner, group) != 0)
        return errno == EPERM ? (owner != uid_t(-1) ? kOwnerNotKept : kGroupNotKept) : errno;
    return ::fchmod(fd, old.st_mode & 07777) != 0 ? errno : 0;
}

int Replace(const std::string& temp, const std::string& target, Step failAt)
{
    const int err = failAt == Step::rename ? EIO
                    : ::rename(temp.c_str(), target.c_str()) != 0 ? errno
                                                                  : 0;
    if (err != 0) {
        ::unlink(temp.c_str());
        return err;
    }
    const int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}

} // namespace safereplace
