// The rules of replacing a file safely, in plain POSIX calls that report
// errno values: the afx safe writer (platform/afx/safefile.h) throws them as
// CFileException, the solver library, which links nothing of the window
// layer, returns them as its status. Both build on this library, which
// links nothing but the C library.
//
// A replacement writes a temporary file "<target>.~tmp-XXXXXX" in the
// target's folder, fsyncs it, gives it the old file's owner, group and mode
// and renames it over the target; on any failure the temporary is removed
// and the target is left byte for byte as it was. A target whose name
// leaves no room for the suffix within the file system's name limit gives
// its temporary a shortened name (cut at a character boundary; mkostemp
// keeps it unique), so any name the file system accepts can be written.
//
// Symbolic links (Check): the path is resolved one component at a time and
// the file the links lead to is replaced, so a link stays a link. A link is
// followed only when no other user can have put it there: a link the user
// or the superuser owns is followed wherever it stands (nobody else can
// change it, only replace it by a link of their own); a link of another
// user only in a folder of the user or the superuser that nobody else may
// write. Any other link, in the target's name or in a folder on its way,
// is refused with EACCES before anything is created. A dangling link (that
// passes the rule) leads to a new file where it points. A link loop is
// refused with ELOOP, more than 40 links on the way with EMLINK, a name
// longer than the file system allows with ENAMETOOLONG.
// The temporary is created with O_EXCL and the rename replaces the name,
// never a link's target, so nothing planted after the check is followed.
//
// What a target may be (Check): a regular file or a name not taken yet.
// A folder is refused with EISDIR ("is a folder"), any other kind (a FIFO,
// a device, a socket) with ENXIO ("is not a regular file"), a read-only
// file or a folder that may not be written with EACCES ("access denied"),
// as is another user's file in a sticky folder of another user (the rename
// would be refused).
//
// Owner and group (Check, Finish): the old file's owner and group keep the
// access they had. The replacement takes the old file's group where the
// user may give it (one of the user's groups, or given by a setgid
// folder); the superuser gives it the old owner too. Any other user
// becomes the owner of the replacement, so an old owner who is another
// user must keep through the group's bits (as a member of the group) or
// the others' bits everything the owner's bits gave. A group that cannot
// be kept leaves its members the others' bits: refused with kGroupNotKept
// when that takes anything away; an owner who would lose access is refused
// with kOwnerNotKept; both before anything is created.
#pragma once

#include <cstddef>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>

namespace safereplace {

// Refusals of this library that no errno names (beyond the system's
// numbers): the old file's group or owner would lose access.
inline constexpr int kGroupNotKept = 4001;
inline constexpr int kOwnerNotKept = 4002;

// A test hook: the step at which a replacement fails as the system would
// (write: disk full; fsync and rename: an I/O error).
enum class Step { none, write, fsync, rename };

// The folder of a path, with its trailing slash ("." for a bare name).
std::string FolderOf(const std::string& path);

// Whether a symbolic link with the status link, in a folder with the status
// folder, may be followed by the user: nobody but the user (or the
// superuser) can have put it there.
bool MayFollowLink(const struct stat& folder, const struct stat& link, uid_t user);

// The most links followed on the way to one file.
inline constexpr int kMaxLinks = 40;

// Resolves path one component at a time into resolved (absolute, without
// links), following only the links MayFollowLink allows. A name that does
// not exist yet keeps its place (a missing folder on the way fails later,
// when the temporary is created). Returns 0, EACCES for a link it may not
// follow, ELOOP for a loop, EMLINK for more than kMaxLinks links,
// ENAMETOOLONG for a name too long, or the errno of a failed system call.
// With anyLink every link is followed (for a reader, to tell a loop from
// a long chain where the system says ELOOP for both).
int Resolve(const std::string& path, std::string& resolved, bool anyLink = false);

// Whether the old file st (in a folder with the status folder) keeps the
// access of its owner and group when the user replaces it: 0,
// kGroupNotKept or kOwnerNotKept.
int OwnershipRefusal(const struct stat& st, const struct stat& folder, uid_t user);

// Why a (resolved) target may not be replaced, before anything is created:
// EISDIR for a folder, ENXIO for any other kind but a regular file (a FIFO
// or a device is never replaced by a rename), EACCES for a read-only file
// (a rename would replace it in a writable folder) or a folder that may not
// be written, kGroupNotKept or kOwnerNotKept (OwnershipRefusal); 0 when it
// may.
int Refusal(const std::string& target);

// Resolves path (Resolve) and checks what it leads to (Refusal): 0 and the
// file to replace in target, or why it may not be written.
int Check(const std::string& path, std::string& target);

// The suffix of a temporary file's name; mkostemp fills in the X's.
inline constexpr const char* kTempSuffix = ".~tmp-XXXXXX";

// The name of a target's temporary file before mkostemp fills it in: the
// target's name and the suffix, the name cut (at a UTF-8 character
// boundary) so that the whole stays within nameMax bytes.
std::string TempPattern(const std::string& target, std::size_t nameMax);

// Creates the temporary file of a (resolved) target, open for reading and
// writing. Returns its descriptor and sets temp, or -errno.
int OpenTemp(const std::string& target, std::string& temp);

// Makes the written temporary durable and gives it the owner, group and
// mode the target has (or a new file's mode). Returns 0 or the errno
// (kGroupNotKept or kOwnerNotKept when the system refuses the owner or
// group); the caller then closes it.
int Finish(int fd, const std::string& target, Step failAt = Step::none);

// Renames the closed temporary over the target and makes the rename durable
// (best effort: some file systems refuse to fsync a folder). On failure the
// temporary is removed; returns 0 or the errno.
int Replace(const std::string& temp, const std::string& target, Step failAt = Step::none);

} // namespace safereplace
