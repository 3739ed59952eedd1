#pragma once
// Reading a file whole, and writing files so that a failure never costs the file that
// was there before.

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "platform/rtl/Export.h"
#include "platform/rtl/SysUtils.h"

// A file that cannot be read or written.
class QELL_RTL_API EInOutError : public Exception {
public:
    using Exception::Exception;
};

// A file name for a message: QuotedInput, but whole, since a cut name would hide the
// file's own name at its end.
QELL_RTL_API std::string QuotedFileName(std::string_view FileName);
// The name after the path's last '/' ("page.txt" of "/home/ann/page.txt"); the whole
// path when it has none.
QELL_RTL_API std::string ExtractFileName(std::string_view Path);

// The user's folder for programs' settings: $XDG_CONFIG_HOME when it is an absolute
// path (a relative one is ignored, as the XDG base directories say), else ~/.config
// (./.config without HOME).
QELL_RTL_API std::string UserConfigFolder();
// Creates Folder and every missing folder above it, each new one private to the user
// (0700), as folders of settings and state are. Raises EInOutError "Cannot make the
// folder 'PREFIX': reason" naming the level that failed; folders already made stay.
QELL_RTL_API void MakeFolders(const std::string& Folder);

// An open file descriptor, closed with the object.
class QELL_RTL_API TFileHandle {
public:
    explicit TFileHandle(int Fd = -1) : FFd(Fd) {}
    ~TFileHandle();
    TFileHandle(TFileHandle&& Other) noexcept : FFd(Other.FFd) { Other.FFd = -1; }
    TFileHandle& operator=(TFileHandle&& Other) noexcept;
    int Fd() const { return FFd; }

private:
    int FFd;
};

// Opens FileName for reading when it is a regular file, and answers it with its status
// in Info. The open never blocks, so a FIFO without a writer or a device waiting for a
// line is refused as what it is instead of hanging the program. Raises EInOutError
// "Cannot read 'FileName': reason": the system's (missing, no right), or what the name
// holds instead of a regular file ("a FIFO, not a regular file"; a directory, a
// character or block device, a socket).
QELL_RTL_API TFileHandle OpenRegularFileForReading(const std::string& FileName, struct stat& Info);

// The whole content of FileName, a regular file (opened as OpenRegularFileForReading
// does). Raises EInOutError "Cannot read 'FileName': reason" when it cannot be read
// (missing, not a regular file, no right) or holds more than MaxSize bytes; the limit
// is checked as the file is read, whatever size it claims.
QELL_RTL_API std::string ReadFileText(const std::string& FileName, size_t MaxSize);

// Makes FileName hold exactly Data. The content goes to a new file in the same folder,
// reaches the disk, and only then is renamed over FileName, so that whatever happens
// (a full disk, no permission, a crash, the process killed) FileName is either as it
// was or wholly new. The new file has no name while it is written (where the file
// system allows it: ext4, xfs, btrfs, tmpfs do), so that a process killed meanwhile
// leaves nothing; it is named ".NAME.PID-N.tmp" beside the target for the rename only,
// and a kill in that instant leaves it so, whole. Nothing reads such a name, and every
// write makes a new one, so a leftover never confuses a later write.
// A file that is replaced keeps its owner, group and permission bits; a new one gets the
// usual ones. A file that cannot keep them so (several hard links, which a rename would
// part; an owner that only root may give a file) is written in place instead, after a
// whole copy of its old content has reached the disk beside it, kept until the write
// is done (".NAME.PID-N.tmp"): the file is not replaced in one step then, but a failure
// or a crash leaves that copy. A file that the user may not write, or that has no write
// permission at all (root may write anything, but a mode-444 file says "leave me"), is
// refused as "read-only", as editors do. A symbolic link is written through and stays a
// link. A name that holds anything but a
// regular file (a device, a pipe, a folder) is refused, since the rename would put a
// plain file in its place. Raises EInOutError "Cannot write 'FileName': reason" on
// failure, with FileName unchanged and no file left behind.
//
// A file of the program's own (Options.Own: a recovery file) is replaced whatever
// FileName holds: a symbolic link or a file of several links there is replaced itself,
// never written through, so that nobody's link can steer the write elsewhere, and a new
// file is readable by its user only. Without Options.Sync the content is not waited
// for on the disk: for a program's last moments, when waiting for the journal of a busy
// machine can take seconds; a process that ends keeps it, only a crash of the whole
// system in the next moments could lose it.
struct TWriteOptions {
    bool Sync = true;
    bool Own = false;
};
QELL_RTL_API void WriteFileAtomically(const std::string& FileName, std::string_view Data,
                                      const TWriteOptions& Options = {});

// As WriteFileAtomically, for a file that must not exist yet: answers false, writing
// nothing, when FileName is taken (by anything, a dangling symbolic link included). The
// check and the creation are one step, so of two processes creating the same name at
// once exactly one succeeds, and the name never holds a partial content.
QELL_RTL_API bool CreateFileAtomically(const std::string& FileName, std::string_view Data);
