// The rules of replacing a file safely, in plain POSIX calls that report
// errno values: the afx safe writer (platform/afx/safefile.h) throws them as
// CFileException, the solver library, which links nothing of the window
// layer, returns them as its status. Header only, so that both use one
// piece of code without a link dependency.
//
// A replacement writes a temporary file "<target>.~tmp-XXXXXX" in the
// target's folder, fsyncs it, gives it the old file's mode and renames it
// over the target; on any failure the temporary is removed and the target
// is left byte for byte as it was.
#pragma once

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
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

// The path with every symbolic link resolved; a target that does not exist
// yet keeps its name in its resolved folder.
inline std::string Resolve(const std::string& path)
{
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        std::string resolved(real);
        std::free(real);
        return resolved;
    }
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (char* real = ::realpath(FolderOf(path).c_str(), nullptr)) {
        std::string resolved(real);
        std::free(real);
        return resolved + "/" + name;
    }
    return path;
}

// Whether the user may write the path: the system's answer, and for the
// superuser, whom the system lets write anything, the mode's write bits.
inline bool MayWrite(const std::string& path, const struct stat& st)
{
    return ::access(path.c_str(), W_OK) == 0 && (st.st_mode & 0222) != 0;
}

// Why a (resolved) target may not be replaced, before anything is created:
// EISDIR for anything but a regular file (a folder or a device is never
// replaced by a rename), EACCES for a read-only file (a rename would replace
// it in a writable folder) or a folder that may not be written; 0 when it
// may.
inline int Refusal(const std::string& target)
{
    struct stat st {
    };
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            return EISDIR;
        if (!MayWrite(target, st))
            return EACCES;
    }
    const std::string folder = FolderOf(target);
    if (::stat(folder.c_str(), &st) == 0 && !MayWrite(folder, st))
        return EACCES;
    return 0;
}

// Creates the temporary file of a (resolved) target, open for reading and
// writing. Returns its descriptor and sets temp, or -errno.
inline int OpenTemp(const std::string& target, std::string& temp)
{
    std::string pattern = target + ".~tmp-XXXXXX";
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
