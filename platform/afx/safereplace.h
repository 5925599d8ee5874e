// The rules of replacing a file safely, in plain POSIX calls that report
// errno values: the afx safe writer (platform/afx/safefile.h) throws them as
// CFileException, the solver library, which links nothing of the window
// layer, returns them as its status. Header only, so that both use one
// piece of code without a link dependency.
//
// A replacement writes a temporary file "<target>.~tmp-XXXXXX" in the
// target's folder, fsyncs it, gives it the old file's mode and renames it
// over the target; on any failure the temporary is removed and the target
// is left byte for byte as it was. A target whose name leaves no room for
// the suffix within the file system's name limit gives its temporary a
// shortened name (cut at a character boundary; mkostemp keeps it unique),
// so any name the file system accepts can be written.
//
// Symbolic links (Check): the path is resolved one component at a time and
// the file the links lead to is replaced, so a link stays a link. A link is
// followed only when no other user can have put it there: its folder is
// owned by the user or the superuser and writable by nobody else, or the
// folder is sticky (only an entry's owner may replace it, as in /tmp) and
// the link is the user's own. Any other link, in the target's name or in a
// folder on its way, is refused with EACCES before anything is created. A
// dangling link (that passes the rule) leads to a new file where it points;
// a link loop, or more than 40 links on the way, is refused with ELOOP.
// The temporary is created with O_EXCL and the rename replaces the name,
// never a link's target, so nothing planted after the check is followed.
//
// What a target may be (Check): a regular file or a name not taken yet.
// A folder is refused with EISDIR ("is a folder"), any other kind (a FIFO,
// a device, a socket) with ENXIO ("is not a regular file"), a read-only
// file or a folder that may not be written with EACCES ("access denied").
#pragma once

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/types.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace safereplace {

// A test hook: the step at which a replacement fails as the system would
// (write: disk full; fsync and rename: an I/O error).
enum class Step { none, write, fsync, rename };

// The folder of a path, with its trailing slash ("." for a bare name).
inline std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

// Whether a symbolic link with the status link, in a folder with the status
// folder, may be followed by the user: nobody but the user (or the
// superuser) can have put it there.
inline bool MayFollowLink(const struct stat& folder, const struct stat& link, uid_t user)
{
    const bool ownFolder = folder.st_uid == user || folder.st_uid == 0;
    if (ownFolder && (folder.st_mode & (S_IWGRP | S_IWOTH)) == 0)
        return true;
    // A sticky folder lets only an entry's owner (and the folder's) rename
    // or remove it.
    return ownFolder && (folder.st_mode & S_ISVTX) != 0 && link.st_uid == user;
}

// The most links followed on the way to one file.
inline constexpr int kMaxLinks = 40;

// Resolves path one component at a time into resolved (absolute, without
// links), following only the links MayFollowLink allows. A name that does
// not exist yet keeps its place (a missing folder on the way fails later,
// when the temporary is created). Returns 0, EACCES for a link it may not
// follow, ELOOP for a loop, or the errno of a failed system call.
inline int Resolve(const std::string& path, std::string& resolved)
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
    int links = 0;
    while (!rest.empty()) {
        const std::string name = rest.back();
        rest.pop_back();
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
        if (++links > kMaxLinks)
            return ELOOP;
        struct stat folder {
        };
        if (::stat(done.empty() ? "/" : done.c_str(), &folder) != 0)
            return errno;
        if (!MayFollowLink(folder, st, ::geteuid()))
            return EACCES;
        std::vector<char> text(std::size_t(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(next.c_str(), text.data(), text.size());
        if (n < 0)
            return errno;
        if (std::size_t(n) >= text.size())
            return ENAMETOOLONG; // the link changed while it was read
        const std::string target(text.data(), std::size_t(n));
        if (!target.empty() && target[0] == '/')
            done.clear();
        push(target);
    }
    resolved = done.empty() ? "/" : done;
    return 0;
}

// Whether the user may write the path: the system's answer, and for the
// superuser, whom the system lets write anything, the mode's write bits.
inline bool MayWrite(const std::string& path, const struct stat& st)
{
    return ::access(path.c_str(), W_OK) == 0 && (st.st_mode & 0222) != 0;
}

// Why a (resolved) target may not be replaced, before anything is created:
// EISDIR for a folder, ENXIO for any other kind but a regular file (a FIFO
// or a device is never replaced by a rename), EACCES for a read-only file
// (a rename would replace it in a writable folder) or a folder that may not
// be written; 0 when it may.
inline int Refusal(const std::string& target)
{
    struct stat st {
    };
    if (::lstat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return EISDIR;
        if (!S_ISREG(st.st_mode))
            return ENXIO;
        if (!MayWrite(target, st))
            return EACCES;
    }
    const std::string folder = FolderOf(target);
    if (::stat(folder.c_str(), &st) == 0 && !MayWrite(folder, st))
        return EACCES;
    return 0;
}

// Resolves path (Resolve) and checks what it leads to (Refusal): 0 and the
// file to replace in target, or why it may not be written.
inline int Check(const std::string& path, std::string& target)
{
    if (const int err = Resolve(path, target))
        return err;
    return Refusal(target);
}

// The suffix of a temporary file's name; mkostemp fills in the X's.
inline constexpr const char* kTempSuffix = ".~tmp-XXXXXX";

// The name of a target's temporary file before mkostemp fills it in: the
// target's name and the suffix, the name cut (at a UTF-8 character
// boundary) so that the whole stays within nameMax bytes.
inline std::string TempPattern(const std::string& target, std::size_t nameMax)
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

// The longest name the folder of target holds (255 when it cannot say).
inline std::size_t NameMax(const std::string& target)
{
    const long max = ::pathconf(FolderOf(target).c_str(), _PC_NAME_MAX);
    return max > 0 ? std::size_t(max) : 255;
}

// Creates the temporary file of a (resolved) target, open for reading and
// writing. Returns its descriptor and sets temp, or -errno.
inline int OpenTemp(const std::string& target, std::string& temp)
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

// The mode of a new file: 0666 less the process's umask.
inline mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Makes the written temporary durable and gives it the mode the target has
// (or a new file's). Returns 0 or the errno; the caller then closes it.
inline int Finish(int fd, const std::string& target, Step failAt = Step::none)
{
    if (failAt == Step::fsync)
        return EIO;
    if (::fsync(fd) != 0)
        return errno;
    struct stat old {
    };
    const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode();
    return ::fchmod(fd, mode) != 0 ? errno : 0;
}

// Renames the closed temporary over the target and makes the rename durable
// (best effort: some file systems refuse to fsync a folder). On failure the
// temporary is removed; returns 0 or the errno.
inline int Replace(const std::string& temp, const std::string& target, Step failAt = Step::none)
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
