#include "platform/rtl/PackageImage.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/rtl/Bytes.h"
#include "platform/rtl/ElfFormat.h"

namespace {

constexpr uint64_t PageSize = 4096;

[[noreturn]] void Fail(const std::string& Why)
{
    throw EPackageFileError("cannot copy it into memory: " + Why);
}

// Copies ranges of the file at the same offsets into the writable mapping of the copy.
// Every offset and size comes from the copy itself and may be garbage: a range is cut
// to the file, and whatever the copy then holds is what the checks judge.
class TRangeCopier {
public:
    TRangeCopier(int From, uint8_t* To, uint64_t Size) : FFrom(From), FTo(To), FSize(Size) {}

    void Copy(uint64_t Offset, uint64_t Length)
    {
        if (Offset >= FSize) return;
        Length = std::min(Length, FSize - Offset);
        while (Length > 0) {
            const ssize_t N = pread(FFrom, FTo + Offset, static_cast<size_t>(Length), static_cast<off_t>(Offset));
            if (N < 0 && errno == EINTR) continue;
            if (N < 0) Fail(std::strerror(errno));
            if (N == 0) return; // shortened meanwhile: the rest stays zero
            Offset += static_cast<uint64_t>(N);
            Length -= static_cast<uint64_t>(N);
        }
    }
    uint64_t Size() const { return FSize; }
    // A little-endian field of the copy; 0 when it lies past the end.
    uint64_t Field(uint64_t At, unsigned Size) const
    {
        return RangeFits(At, Size, FSize) ? LittleEndian({FTo, static_cast<size_t>(FSize)}, At, Size) : 0;
    }

private:
    int FFrom;
    uint8_t* FTo;
    uint64_t FSize;
};

void CopyLoaded(TRangeCopier& C)
{
    C.Copy(0, ElfHeaderSize);
    const uint64_t Segments = C.Field(ElfSegmentTableAt, 8), SegmentCount = C.Field(ElfSegmentCountAt, 2);
    C.Copy(Segments, SegmentCount * SegmentHeaderSize);
    for (uint64_t I = 0; I < SegmentCount; ++I) {
        const uint64_t At = Segments + I * SegmentHeaderSize;
        if (C.Field(At, 4) != PT_LOAD) continue;
        const uint64_t Offset = C.Field(At + 8, 8), FileSize = C.Field(At + 32, 8);
        if (Offset >= C.Size()) continue;
        const uint64_t First = Offset / PageSize * PageSize, End = Offset + std::min(FileSize, C.Size() - Offset);
        C.Copy(First, (End + PageSize - 1) / PageSize * PageSize - First);
    }
    const uint64_t Sections = C.Field(ElfSectionTableAt, 8);
    if (Sections == 0) return;
    // Section 0 holds the count and the names' index when the header cannot.
    C.Copy(Sections, SectionHeaderSize);
    uint64_t Count = C.Field(ElfSectionCountAt, 2), Names = C.Field(ElfSectionNamesAt, 2);
    if (Count == 0) Count = C.Field(Sections + 32, 8);
    if (Names == SHN_XINDEX) Names = C.Field(Sections + 40, 4);
    if (Count > UINT64_MAX / SectionHeaderSize) return;
    C.Copy(Sections, Count * SectionHeaderSize);
    const uint64_t NamesHeader = Sections + Names * SectionHeaderSize;
    C.Copy(C.Field(NamesHeader + 24, 8), C.Field(NamesHeader + 32, 8));
}

} // namespace

TPackageImage::TPackageImage(int Fd, uint64_t Size, const std::string& Name)
{
    // A copy in memory counts as a file: under a smaller size limit, growing it would
    // end the process (SIGXFSZ), so the open file itself stands in.
    rlimit Limit{};
    if (getrlimit(RLIMIT_FSIZE, &Limit) == 0 && Limit.rlim_cur != RLIM_INFINITY && Size > Limit.rlim_cur) {
        FFd = fcntl(Fd, F_DUPFD_CLOEXEC, 0);
        if (FFd < 0) Fail(std::strerror(errno));
        FLoaderName = "/proc/self/fd/" + std::to_string(FFd);
        return;
    }
    FFd = memfd_create(Name.substr(0, 200).c_str(), MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (FFd < 0) Fail(std::strerror(errno));
    FLoaderName = "/proc/self/fd/" + std::to_string(FFd);
    const auto Failed = [&](int Error) {
        close(FFd);
        Fail(std::strerror(Error));
    };
    if (Size > 0) {
        if (ftruncate(FFd, static_cast<off_t>(Size)) != 0) Failed(errno);
        void* Writable = mmap(nullptr, static_cast<size_t>(Size), PROT_READ | PROT_WRITE, MAP_SHARED, FFd, 0);
        if (Writable == MAP_FAILED) Failed(errno);
        try {
            TRangeCopier Copier(Fd, static_cast<uint8_t*>(Writable), Size);
            CopyLoaded(Copier);
        } catch (...) {
            munmap(Writable, static_cast<size_t>(Size));
            close(FFd);
            throw;
        }
        munmap(Writable, static_cast<size_t>(Size));
    }
    if (fcntl(FFd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL) != 0) Failed(errno);
}

TPackageImage::~TPackageImage()
{
    // The loader knows a library by the name it was opened by: while one stays resident
    // after its unload, its descriptor stays open, so that no other copy takes the
    // number and, with it, the name of a library already there.
    if (void* Resident = dlopen(FLoaderName.c_str(), RTLD_LAZY | RTLD_NOLOAD)) {
        dlclose(Resident);
        return;
    }
    close(FFd);
}
