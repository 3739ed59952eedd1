#include "platform/rtl/PackageResources.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/PackageFile.h"

namespace {

constexpr char Magic[4] = {'Q', 'R', 'E', 'S'};
constexpr uint16_t FormatVersion = 1;
constexpr size_t HeaderSize = 12, EntrySize = 16, DataAlignment = 4;

struct TKindName {
    TResourceKind Kind;
    std::string_view Name;
};
constexpr TKindName KindNames[] = {
    {TResourceKind::Raw, "raw"},
    {TResourceKind::IconGroup, "icon"},
    {TResourceKind::VersionInfo, "version"},
};

bool KnownKind(uint8_t Kind)
{
    for (const TKindName& K : KindNames)
        if (static_cast<uint8_t>(K.Kind) == Kind) return true;
    return false;
}

// A byte range of the directory and what it holds, for the overlap check.
struct TArea {
    uint64_t Start, End;
    size_t Entry;
    const char* What;
};

std::string Describe(const TArea& A)
{
    return "entry " + std::to_string(A.Entry) + "'s " + A.What + " (" + HexOffset(A.Start) + ".." + HexOffset(A.End) +
           ")";
}

void CheckName(const std::string& Name, size_t Entry, const std::vector<TResource>& Before, const TByteReader& R)
{
    if (Name.empty() || Name.size() > MaxResourceName || !IsPrintableAscii(Name))
        R.Fail("entry " + std::to_string(Entry) + ": the name is not 1 to " + std::to_string(MaxResourceName) +
               " printable ASCII characters");
    if (FindResource(Before, Name))
        R.Fail("entry " + std::to_string(Entry) + ": the name '" + Name + "' is used twice");
}

} // namespace

std::string_view ResourceKindName(TResourceKind Kind)
{
    for (const TKindName& K : KindNames)
        if (K.Kind == Kind) return K.Name;
    return "unknown";
}

std::optional<TResourceKind> ResourceKindFromName(std::string_view Name)
{
    for (const TKindName& K : KindNames)
        if (K.Name == Name) return K.Kind;
    return std::nullopt;
}

std::vector<TResource> ReadResourceDirectory(TBytes Section)
{
    TByteReader R(Section, "resource directory");
    if (Section.size() < sizeof Magic || std::memcmp(Section.data(), Magic, sizeof Magic) != 0)
        R.Fail("no magic 'QRES' at offset 0");
    R.Seek(sizeof Magic, "version");
    const uint16_t Version = R.U16("version");
    if (Version != FormatVersion) R.Fail("unknown version " + std::to_string(Version));
    const uint16_t Count = R.U16("count");
    const uint32_t Size = R.U32("size");
    const uint64_t TableEnd = HeaderSize + uint64_t{Count} * EntrySize;
    if (Size < TableEnd || Size > Section.size())
        R.Fail("size " + HexOffset(Size) + " does not hold the " + std::to_string(Count) + " entries (" +
               HexOffset(TableEnd) + " bytes) or exceeds the section (" + HexOffset(Section.size()) + " bytes)");

    std::vector<TResource> Result;
    std::vector<TArea> Areas;
    for (size_t I = 0; I < Count; ++I) {
        const uint32_t NameOffset = R.U32("name offset");
        const uint32_t DataOffset = R.U32("data offset");
        const uint32_t DataSize = R.U32("data size");
        const uint16_t Language = R.U16("language");
        const uint8_t Kind = R.U8("kind");
        const uint8_t NameLength = R.U8("name length");
        const TArea Name{NameOffset, uint64_t{NameOffset} + NameLength, I, "name"};
        const TArea Data{DataOffset, uint64_t{DataOffset} + DataSize, I, "data"};
        for (const TArea& A : {Name, Data})
            if (A.Start < TableEnd || A.End > Size)
                R.Fail(Describe(A) + " lies outside " + HexOffset(TableEnd) + ".." + HexOffset(Size) +
                       ", the area after the entries");
        if (!KnownKind(Kind)) R.Fail("entry " + std::to_string(I) + ": unknown kind " + std::to_string(Kind));
        TResource Res;
        Res.Name.assign(reinterpret_cast<const char*>(Section.data()) + NameOffset, NameLength);
        CheckName(Res.Name, I, Result, R);
        Res.Kind = static_cast<TResourceKind>(Kind);
        Res.Language = Language;
        Res.Data = Section.subspan(DataOffset, DataSize);
        Result.push_back(std::move(Res));
        Areas.push_back(Name);
        if (DataSize != 0) Areas.push_back(Data);
    }
    // Stable, so that a message names the entries in the order they are stored.
    std::stable_sort(Areas.begin(), Areas.end(), [](const TArea& A, const TArea& B) { return A.Start < B.Start; });
    for (size_t I = 1; I < Areas.size(); ++I)
        if (Areas[I].Start < Areas[I - 1].End) R.Fail(Describe(Areas[I]) + " overlaps " + Describe(Areas[I - 1]));
    return Result;
}

std::vector<uint8_t> BuildResourceDirectory(const std::vector<TResource>& Resources)
{
    const TByteReader Check({}, "resource directory");
    if (Resources.size() > UINT16_MAX) Check.Fail(std::to_string(Resources.size()) + " resources, more than 65535");
    std::vector<TResource> Seen;
    uint64_t NamesSize = 0;
    for (const TResource& Res : Resources) {
        CheckName(Res.Name, Seen.size(), Seen, Check);
        Seen.push_back(TResource{Res.Name, Res.Kind, Res.Language, {}});
        NamesSize += Res.Name.size();
    }

    // Header, entries, names, then each resource's data at a multiple of four.
    uint64_t Offset = HeaderSize + Resources.size() * EntrySize + NamesSize;
    std::vector<uint64_t> DataOffsets;
    for (const TResource& Res : Resources) {
        Offset = (Offset + DataAlignment - 1) / DataAlignment * DataAlignment;
        DataOffsets.push_back(Offset);
        Offset += Res.Data.size();
    }
    if (Offset > UINT32_MAX) Check.Fail("the resources need " + std::to_string(Offset) + " bytes, more than 4 GiB");

    TByteWriter W;
    W.Append(std::string_view(Magic, sizeof Magic));
    W.U16(FormatVersion);
    W.U16(static_cast<uint16_t>(Resources.size()));
    W.U32(static_cast<uint32_t>(Offset));
    uint64_t NameOffset = HeaderSize + Resources.size() * EntrySize;
    for (size_t I = 0; I < Resources.size(); ++I) {
        const TResource& Res = Resources[I];
        W.U32(static_cast<uint32_t>(NameOffset));
        W.U32(static_cast<uint32_t>(DataOffsets[I]));
        W.U32(static_cast<uint32_t>(Res.Data.size()));
        W.U16(Res.Language);
        W.U8(static_cast<uint8_t>(Res.Kind));
        W.U8(static_cast<uint8_t>(Res.Name.size()));
        NameOffset += Res.Name.size();
    }
    for (const TResource& Res : Resources) W.Append(Res.Name);
    for (const TResource& Res : Resources) {
        W.PadTo(DataAlignment);
        W.Append(Res.Data);
    }
    return W.Bytes;
}

const TResource* FindResource(const std::vector<TResource>& Resources, std::string_view Name)
{
    for (const TResource& Res : Resources)
        if (SameText(Res.Name, Name)) return &Res;
    return nullptr;
}

std::vector<TResource> ReadPackageResources(const TElfFile& File)
{
    const TElfSection* Section = File.FindSection(ResourceSectionName);
    if (!Section) throw EPackageFileError("no resource section " + std::string(ResourceSectionName));
    return ReadResourceDirectory(File.SectionBytes(*Section));
}

std::optional<TBytes> FindResource(const void* Section, size_t Size, std::string_view Name)
{
    const std::vector<TResource> Resources = ReadResourceDirectory(TBytes(static_cast<const uint8_t*>(Section), Size));
    if (const TResource* Res = FindResource(Resources, Name)) return Res->Data;
    return std::nullopt;
}
