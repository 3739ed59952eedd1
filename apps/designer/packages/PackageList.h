#pragma once
// The design packages the designer loads at start. Their list is kept in the user's
// configuration folder ($XDG_CONFIG_HOME/qell-designer/packages, else
// ~/.config/qell-designer/packages), one path a line. Without that file the list is the
// package that ships with the program; once the file is written it alone says what is
// loaded, so that removing the shipped package lasts.

#include <memory>
#include <string>
#include <vector>

class TPackageHost;

// Where the list is kept.
std::string PackageListPath();
// The paths on the list (blank lines skipped), or the shipped package when there is no
// list file. Raises EInOutError when the file is there but cannot be read.
std::vector<std::string> ReadPackageList();
// Makes the list hold Paths, written atomically, creating the folder when needed.
// Raises EInOutError with the file unchanged when it cannot.
void WritePackageList(const std::vector<std::string>& Paths);

// What a package file says of itself in its resources, read without loading it.
struct TPackageSummary {
    std::string Name, Description, Version;
};
// The file is mapped and only its records' pages are read, so a large file costs no
// more than a small one. Raises EPackageFileError (naming the file) for a file that
// cannot be read or whose records are not a design package's.
TPackageSummary ReadPackageSummary(const std::string& Path);

// The check `package check` makes, once and for any design package: its records read,
// then loaded, registered, finalised and unloaded, leaving no registration behind.
// Answers why it failed, in one line, or an empty text when it passed.
std::string CheckDesignPackage(const std::string& Path);
// Why a line of the list is not loaded as it stands: a relative path would be looked for
// in whatever folder the designer starts in. Empty for an absolute path.
std::string ListedPathFailure(const std::string& Path);

// A package the designer tried to load.
struct TPackageStatus {
    std::string Path, Name, Description;
    std::string Failure; // empty when it is loaded
};

// Packages loaded and registered for as long as the set lives, unloaded in the reverse
// order. While one lives, LoadedPackages() answers its statuses, for the window.
class TPackageSet {
public:
    TPackageSet();
    ~TPackageSet();
    TPackageSet(const TPackageSet&) = delete;
    TPackageSet& operator=(const TPackageSet&) = delete;

    // Loads the package at Path; false when it fails, with the reason in its status.
    bool Load(const std::string& Path);
    // The same for a line of the list, which fails when it is relative (ListedPathFailure).
    bool LoadListed(const std::string& Path);
    const std::vector<TPackageStatus>& Statuses() const { return FStatuses; }

private:
    std::vector<std::unique_ptr<TPackageHost>> FHosts;
    std::vector<TPackageStatus> FStatuses;
};

// The statuses of the package set alive now; none when there is no set.
const std::vector<TPackageStatus>& LoadedPackages();
