#pragma once
// A package file's bytes, as the system loader sees them, copied once into sealed
// memory. Nothing can change the copy afterwards (not a rename over the file, not a
// rewrite in place, not the package's own code in a trial), so the bytes that the
// checks read, that the trial load runs and that the host loads are one and the same.
// Internal to the runtime's package loader.

#include <string>

#include <cstdint>

class TPackageImage {
public:
    // Copies, from the open regular file Fd of Size bytes, what the loader and the
    // checks read: the file header, the program header table, every loadable segment
    // (in whole pages, as the loader maps them), the section header table and the
    // section names. The rest (debug information, the static symbols, any padding)
    // reads as zeros and takes no memory, so a padded file costs what it loads. Name
    // names the copy in the process's memory maps. Under a file size limit (ulimit -f)
    // smaller than the file, which a copy in memory is held to, the open file itself
    // stands in for the copy: a rename over it still changes nothing, a rewrite in
    // place can. Raises EPackageFileError when the copy cannot be made (no memory, a
    // read error).
    TPackageImage(int Fd, uint64_t Size, const std::string& Name);
    ~TPackageImage();
    TPackageImage(const TPackageImage&) = delete;
    TPackageImage& operator=(const TPackageImage&) = delete;

    // The sealed copy's descriptor, which a trial process is given.
    int Fd() const { return FFd; }
    // The name it is opened by, as a regular file, by the system loader and by
    // TMappedFile to read it ("/proc/self/fd/N").
    const std::string& LoaderName() const { return FLoaderName; }

private:
    int FFd = -1;
    std::string FLoaderName;
};
