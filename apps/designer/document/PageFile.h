#pragma once
// Page files: a TQellPage and its components in the form file format. The designer
// and the commands on page files read, address and save pages only through here.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/components/IWQellBase.h"
#include "platform/rtl/Files.h"

// Far beyond any page a person lays out; a larger file is refused, not read.
constexpr size_t MaxPageFileSize = 16u << 20;

// A new page holding what Text describes. Raises EReadError "line N: …" for text that
// is not a page (an unknown class, property or value, a syntax error, a truncated file).
std::unique_ptr<TQellPage> ReadPageText(std::string_view Text);
// The same from a file; the messages start with the file's name. Raises EInOutError
// when the file cannot be read.
std::unique_ptr<TQellPage> LoadPageFile(const std::string& FileName);
// The page as text, as the file will hold it.
std::string PageText(const TQellPage& Page);
// Writes the page to FileName atomically (see WriteFileAtomically): the file holds the
// old text or the new, never a mix. Raises EInOutError or EWriteError, the file as it was.
void SavePageFile(const std::string& FileName, const TQellPage& Page);

// A page file's identity as it was read: a file written or replaced since then has
// another. All zero when there is no file.
struct TPageFileStamp {
    uint64_t Device = 0, Inode = 0;
    int64_t Size = 0, ModifiedNs = 0;
    bool operator==(const TPageFileStamp&) const = default;
};
TPageFileStamp PageFileStamp(const std::string& FileName);

// An exclusive advisory lock (flock) on the page file FileName, held while the object
// lives. Whatever reads a page, changes it and writes it back holds the lock from the
// read to the write, so that concurrent writers take turns and none loses another's
// change. A writer that replaced the file while this one waited leaves the lock on a
// file that is gone: the lock then moves to the file the name holds now. Nothing is
// locked when there is no file yet; raises EInOutError when the name holds anything but
// a regular file, or the lock cannot be had.
class TPageFileLock {
public:
    explicit TPageFileLock(const std::string& FileName);

private:
    TFileHandle FFile;
};

// The page itself when Name is the page's name, else the component of the page with
// that name (without case); nullptr when there is none.
TComponent* FindPageComponent(const TQellPage& Page, std::string_view Name);
// The page's components in file order (the page first), as the designer lists them.
std::vector<TComponent*> PageComponents(const TQellPage& Page);

// A path on the command line: the component's name, a dot, the property's path
// ("ButtonOrder.Appearance.TextColor"). Raises EPathError when the component is not
// on the page or the rest is empty.
class EPathError : public Exception {
public:
    using Exception::Exception;
};
struct TPagePath {
    TComponent* Component;
    std::string Property; // "Appearance.TextColor"
};
TPagePath SplitPagePath(const TQellPage& Page, std::string_view Path);
