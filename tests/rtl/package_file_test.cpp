// The package file reader on untrusted bytes: the resource directory's layout against
// bytes assembled here by hand, every kind of damage refused with a message that says
// what and where, and the ELF reader on a real library (the package fixture) and on
// damaged copies of it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/ElfLoadCheck.h"
#include "platform/rtl/PackageFile.h"
#include "platform/rtl/PackageRecords.h"
#include "platform/rtl/PackageResources.h"

namespace {

using TByteVector = std::vector<uint8_t>;

TBytes Of(const std::string& S) { return {reinterpret_cast<const uint8_t*>(S.data()), S.size()}; }

void Put(TByteVector& B, size_t At, uint64_t Value, int Size)
{
    for (int I = 0; I < Size; ++I) B.at(At + I) = static_cast<uint8_t>(Value >> (8 * I));
}

void Add(TByteVector& B, uint64_t Value, int Size)
{
    B.resize(B.size() + Size);
    Put(B, B.size() - Size, Value, Size);
}

// Runs F and expects EPackageFileError whose message holds every one of Parts.
template <typename F>
void ExpectRefused(F&& Read, std::initializer_list<const char*> Parts)
{
    try {
        Read();
        ADD_FAILURE() << "accepted; expected an error with '" << *Parts.begin() << "'";
    } catch (const EPackageFileError& E) {
        for (const char* Part : Parts)
            EXPECT_NE(std::string(E.what()).find(Part), std::string::npos) << "'" << Part << "' in: " << E.what();
    }
}

const std::string Form = "object F: TForm\nend\n"; // 20 bytes
const std::string Blob = "\x01\x02\x03";           // 3 bytes, so the next data is padded

// Two resources, as the directory's layout puts them: a 12-byte header, 16-byte entries,
// the names, then each data block at a multiple of 4.
TByteVector TwoResources()
{
    TByteVector B = {'Q', 'R', 'E', 'S'};
    Add(B, 1, 2);    // version
    Add(B, 2, 2);    // count
    Add(B, 0x4C, 4); // size: FORM's data ends it
    // Entry 0 "BLOB": name at 0x2C, data at 0x34 (0x2C + 8 rounded up), 3 bytes.
    Add(B, 0x2C, 4), Add(B, 0x34, 4), Add(B, 3, 4), Add(B, 0x0409, 2), Add(B, 1, 1), Add(B, 4, 1);
    // Entry 1 "FORM": name at 0x30, data at 0x38, 20 bytes.
    Add(B, 0x30, 4), Add(B, 0x38, 4), Add(B, 20, 4), Add(B, 0, 2), Add(B, 1, 1), Add(B, 4, 1);
    for (char C : std::string("BLOBFORM")) B.push_back(static_cast<uint8_t>(C));
    for (char C : Blob) B.push_back(static_cast<uint8_t>(C));
    B.push_back(0);
    for (char C : Form) B.push_back(static_cast<uint8_t>(C));
    return B;
}

TEST(ResourceDirectory, BuildsTheDocumentedLayoutAndReadsItBack)
{
    const std::vector<TResource> In = {{"BLOB", TResourceKind::Raw, 0x0409, Of(Blob)},
                                       {"FORM", TResourceKind::Raw, LanguageNeutral, Of(Form)}};
    const TByteVector Built = BuildResourceDirectory(In);
    ASSERT_EQ(Built, TwoResources());

    const std::vector<TResource> Out = ReadResourceDirectory(Built);
    ASSERT_EQ(Out.size(), 2u);
    for (size_t I = 0; I < 2; ++I) {
        EXPECT_EQ(Out[I].Name, In[I].Name);
        EXPECT_EQ(Out[I].Kind, In[I].Kind);
        EXPECT_EQ(Out[I].Language, In[I].Language);
        EXPECT_TRUE(std::equal(Out[I].Data.begin(), Out[I].Data.end(), In[I].Data.begin(), In[I].Data.end()));
    }
    EXPECT_EQ(FindResource(Out, "form"), &Out[1]);
    EXPECT_EQ(FindResource(Out, "FORMS"), nullptr);

    // A section larger than the directory, as alignment or a sanitizer's padding makes it.
    TByteVector Padded = Built;
    Padded.resize(Built.size() + 64, 0xCC);
    EXPECT_EQ(ReadResourceDirectory(Padded).size(), 2u);
    EXPECT_EQ(FindResource(Padded.data(), Padded.size(), "BLOB")->size(), 3u);
    EXPECT_FALSE(FindResource(Padded.data(), Padded.size(), "NONE"));
}

TEST(ResourceDirectory, RefusesDamageAndSaysWhere)
{
    const TByteVector Good = TwoResources();
    // Every truncation, down to nothing.
    for (size_t N = 0; N < Good.size(); ++N)
        ExpectRefused([&] { ReadResourceDirectory(TBytes(Good).first(N)); }, {"resource directory"});

    const auto Patched = [&](size_t At, uint64_t Value, int Size) {
        TByteVector B = Good;
        Put(B, At, Value, Size);
        return B;
    };
    const auto Refused = [](const TByteVector& B, std::initializer_list<const char*> Parts) {
        ExpectRefused([&] { ReadResourceDirectory(B); }, Parts);
    };
    Refused(Patched(0, 'X', 1), {"magic"});
    Refused(Patched(4, 2, 2), {"unknown version 2"});
    Refused(Patched(6, 5, 2), {"does not hold the 5 entries"});
    Refused(Patched(8, Good.size() + 1, 4), {"exceeds the section"});
    Refused(Patched(12 + 16 + 4, 0x34, 4), {"entry 1's data", "overlaps entry 0's data"});
    Refused(Patched(12 + 4, 0x30, 4), {"entry 1's name (0x30..0x34) overlaps entry 0's data (0x30..0x33)"});
    Refused(Patched(12 + 4, 0x4, 4), {"entry 0's data", "lies outside"});
    // Offset plus size wraps around 32 bits: must not pass as a small range.
    TByteVector Wrap = Patched(12 + 4, 0xFFFFFFF0, 4);
    Put(Wrap, 12 + 8, 0x20, 4);
    Refused(Wrap, {"entry 0's data (0xfffffff0..0x100000010) lies outside"});
    Refused(Patched(12 + 14, 9, 1), {"entry 0: unknown kind 9"});
    Refused(Patched(12 + 15, 0, 1), {"entry 0: the name is not 1 to 255 printable"});
    Refused(Patched(0x2C, '\n', 1), {"printable ASCII"});
    Refused(Patched(0x30, 0x424F4C62, 4), {"the name 'bLOB' is used twice"});

    ExpectRefused([&] { BuildResourceDirectory({{"A B\x7f", TResourceKind::Raw, 0, {}}}); }, {"printable"});
    ExpectRefused(
        [&] {
            BuildResourceDirectory({{"X", TResourceKind::Raw, 0, {}}, {"x", TResourceKind::Raw, 0, {}}});
        },
        {"'x' is used twice"});
}

TByteVector Fixture() { return ReadFileBytes(QELL_PACKAGE_FIXTURE); }

TEST(ElfFile, ReadsALibraryWithoutLoadingIt)
{
    const TByteVector Bytes = Fixture();
    const TElfFile Elf(Bytes);
    const TElfSection* Section = Elf.FindSection(ResourceSectionName);
    ASSERT_NE(Section, nullptr);
    // Allocated, so the loaded module sees the same bytes in its memory.
    EXPECT_TRUE(Section->Flags & ElfSectionAllocated);
    EXPECT_NE(FindResource(ReadPackageResources(Elf), "PACKAGEINFO"), nullptr);

    const std::vector<std::string> Exports = Elf.ExportedSymbols();
    EXPECT_NE(std::find(Exports.begin(), Exports.end(), "IWQellRegDE.Register"), Exports.end());
    EXPECT_NE(std::find(Exports.begin(), Exports.end(), "FixtureFindResource"), Exports.end());
    // Hidden symbols and imports are not exports.
    EXPECT_EQ(std::find(Exports.begin(), Exports.end(), "QellResourceSection"), Exports.end());
    EXPECT_EQ(std::find(Exports.begin(), Exports.end(), "ReadResourceDirectory"), Exports.end());
    EXPECT_TRUE(std::is_sorted(Exports.begin(), Exports.end()));

    ASSERT_TRUE(Elf.HasStaticSymbols());
    EXPECT_EQ(Elf.StaticSymbolSize(PackageUnitTableSymbol), 5 * PackageUnitTableEntrySize);
    EXPECT_EQ(Elf.StaticSymbolSize("NoSuchSymbol"), std::nullopt);
}

TEST(ElfFile, RefusesWhatIsNoSoundElfFile)
{
    const TByteVector Good = Fixture();
    const auto Refused = [](const TByteVector& B, std::initializer_list<const char*> Parts) {
        ExpectRefused([&] { ReadPackageResources(TElfFile(B)); }, Parts);
    };
    const auto Patched = [&](size_t At, uint64_t Value, int Size) {
        TByteVector B = Good;
        Put(B, At, Value, Size);
        return B;
    };
    uint64_t TableOffset = 0;
    for (int I = 0; I < 8; ++I) TableOffset |= uint64_t{Good[40 + I]} << (8 * I);

    Refused(ReadFileBytes(QELL_FORM_FILE), {"not an ELF file"});
    Refused(TByteVector(Good.begin(), Good.begin() + 40), {"the file header needs 64 bytes"});
    Refused(Patched(4, 1, 1), {"not a 64-bit little-endian"});
    Refused(Patched(5, 2, 1), {"not a 64-bit little-endian"});
    // The section headers come last in a linked file: any cut loses some or all of them.
    for (const size_t Cut : {Good.size() - 1, Good.size() - 64, static_cast<size_t>(TableOffset + 64),
                             static_cast<size_t>(TableOffset), Good.size() / 2})
        Refused(TByteVector(Good.begin(), Good.begin() + static_cast<long>(Cut)), {"section header table at"});
    Refused(Patched(40, Good.size() - 10, 8), {"section header table at", "lies outside the file"});
    Refused(Patched(40, ~uint64_t{0} - 8, 8), {"lies outside the file"});
    Refused(Patched(58, 40, 2), {"section headers of 40 bytes"});
    Refused(Patched(60, 0xFFF0, 2), {"65520 entries runs past the end"});
    Refused(Patched(62, 0xFF00, 2), {"name table index 65280"});
    Refused(ReadFileBytes(QELL_NO_RESOURCES_LIBRARY), {"no resource section .qellres"});

    // The resource section's own header moved out of the file.
    const TElfFile Elf(Good);
    const size_t Index = static_cast<size_t>(Elf.FindSection(ResourceSectionName) - Elf.Sections().data());
    const size_t Header = static_cast<size_t>(TableOffset) + Index * 64;
    Refused(Patched(Header + 24, Good.size() - 8, 8), {"(.qellres) at", "runs past the end of the file"});
    Refused(Patched(Header + 32, ~uint64_t{0}, 8), {"(.qellres)", "runs past the end of the file"});
    Refused(Patched(Header + 0, 0xFFFFFF, 4), {"name offset 0xffffff lies outside the section name table"});
    Refused(Patched(Header + 4, ElfSectionNoBits, 4), {"(.qellres) has no bytes in the file"});
    // Damage inside the section is the directory's to report.
    Refused(Patched(static_cast<size_t>(Elf.FindSection(ResourceSectionName)->Offset), 0, 1),
            {"resource directory: no magic"});

    // Symbol tables with entries of the wrong size, or names outside their strings.
    for (const char* Table : {".dynsym", ".symtab"}) {
        const size_t At = TableOffset + (Elf.FindSection(Table) - Elf.Sections().data()) * 64;
        const TByteVector Bad = Patched(At + 56, 23, 8);
        const auto ReadBoth = [](const TByteVector& B) {
            const TElfFile File(B);
            File.ExportedSymbols();
            File.StaticSymbolSize("x");
        };
        ExpectRefused([&] { ReadBoth(Bad); }, {"symbol table", "entries of 23 bytes"});
        TByteVector Far = Good;
        const TElfSection& S = *Elf.FindSection(Table);
        Put(Far, static_cast<size_t>(S.Offset) + 24, 0x7FFFFFFF, 4); // symbol 1's name
        ExpectRefused([&] { ReadBoth(Far); }, {"symbol 1: name offset 0x7fffffff"});
    }
}

// A library's program headers and dynamic entries, found by type and tag, to damage
// one field at a time as the system loader would meet it.
class TDamage {
public:
    explicit TDamage(TByteVector Bytes) : FGood(std::move(Bytes)) {}
    // The offset of field At of the first program header of Type (of the Nth loadable one).
    size_t Segment(uint32_t Type, size_t At, int Nth = 0) const
    {
        const uint64_t Table = Get(32, 8);
        for (uint64_t I = 0; I < Get(56, 2); ++I)
            if (Get(Table + 56 * I, 4) == Type && Nth-- == 0) return static_cast<size_t>(Table + 56 * I + At);
        ADD_FAILURE() << "no segment of type " << Type;
        return 0;
    }
    // The offset of the tag of the dynamic entry Tag; its value is 8 bytes on.
    size_t Entry(int64_t Tag) const
    {
        const size_t Dynamic = static_cast<size_t>(Get(Segment(2, 8), 8));
        for (size_t At = Dynamic; Get(At, 8) != 0; At += 16)
            if (static_cast<int64_t>(Get(At, 8)) == Tag) return At;
        ADD_FAILURE() << "no dynamic entry " << Tag;
        return 0;
    }
    uint64_t Get(uint64_t At, int Size) const
    {
        uint64_t V = 0;
        for (int I = 0; I < Size; ++I) V |= uint64_t{FGood.at(At + I)} << (8 * I);
        return V;
    }
    TByteVector With(size_t At, uint64_t Value, int Size) const
    {
        TByteVector B = FGood;
        Put(B, At, Value, Size);
        return B;
    }

private:
    TByteVector FGood;
};

TEST(ElfLoadCheck, PassesALinkedLibraryAndRefusesWhatWouldCrashTheLoader)
{
    const TDamage D(Fixture());
    const TByteVector Good = D.With(0, 0x7F, 1);
    EXPECT_NO_THROW(CheckElfLoadable(Good));
    constexpr uint32_t Load = 1, Dynamic = 2, Relro = 0x6474E552;
    constexpr int64_t Init = 12, Strtab = 5, Strsz = 10, RelaEnt = 9, RelaCount = 0x6FFFFFF9, FiniArraySz = 28,
                      GnuHash = 0x6FFFFEF5, Versym = 0x6FFFFFF0;
    const size_t Text = D.Segment(Load, 0, 1), Data = D.Segment(Load, 0, 3);
    const std::pair<TByteVector, const char*> Cases[] = {
        {D.With(16, 2, 2), "not a shared library (type 2)"},
        {D.With(54, 64, 2), "program headers of 64 bytes"},
        {D.With(56, 0xFFFF, 2), "65535 program headers"},
        {D.With(32, Good.size() - 100, 8), "the program header table at"},
        // Loadable segments: past the end of the file (SIGBUS), unaligned, out of
        // order, or code the file does not hold.
        {D.With(D.Segment(Load, 8, 2), D.Get(D.Segment(Load, 8, 2), 8) + 0x100000, 8), "runs past the end of the file"},
        {D.With(Data + 48, 0x1001, 8), "alignment 0x1001"},
        {D.With(Data + 16, D.Get(Data + 16, 8) + 8, 8), "disagree on the alignment"},
        {D.With(Text + 16, 0, 8), "overlaps or precedes"},
        {D.With(Text + 32, D.Get(Text + 32, 8) - 1, 8), "executable, yet 0x1 bytes"},
        {D.With(Text + 4, 1, 4), "loadable segment 1 is not readable (flags 0x1)"},
        {D.With(Data + 40, uint64_t{1} << 40, 8), "beyond 1024 MiB"},
        // Segments the loader reads or writes, outside what it maps (or may write).
        {D.With(D.Segment(Dynamic, 16), 0x1000, 8), "(dynamic) at address 0x1000"},
        {D.With(D.Segment(Relro, 40), 0x100000, 8), "(RELRO)"},
        {D.With(D.Segment(Dynamic, 32), 16, 8), "no DT_NULL within its segment"},
        // Dynamic entries the loader follows without a bound, or asserts on.
        {D.With(D.Entry(Strsz) + 8, 0x100000, 8), "the dynamic string table at"},
        {D.With(D.Entry(RelaEnt) + 8, 16, 8), "relocations of 16 bytes"},
        {D.With(D.Entry(RelaCount) + 8, D.Get(D.Entry(RelaCount) + 8, 8) + 1, 8), "DT_RELACOUNT counts"},
        {D.With(D.Entry(FiniArraySz), 0x6FFFFEF0, 8), "the fini array: the dynamic section gives its address or"},
        {D.With(D.Entry(Init) + 8, D.Get(D.Segment(Load, 16, 2), 8), 8), "the init function at"},
        // Well-formed, yet not what the sections say: a table moved, or one dropped.
        {D.With(D.Entry(Strtab) + 8, D.Get(D.Entry(Strtab) + 8, 8) + 1, 8), "disagrees with section '.dynstr'"},
        {D.With(D.Entry(Versym), 0x6FFFFEF0, 8), "disagrees with section '.gnu.version'"},
    };
    // Clang 14 lets no lambda capture a structured binding.
    for (const auto& Case : Cases) ExpectRefused([&] { CheckElfLoadable(Case.first); }, {"ELF file: ", Case.second});
    // The hash table's entry given another tag: no hash table is left (gcc's link), or
    // the GNU hash entry that remains disagrees with its section (clang's).
    try {
        CheckElfLoadable(D.With(D.Entry(GnuHash), 0x6FFFFEF0, 8));
        ADD_FAILURE() << "a library without its hash table was accepted";
    } catch (const EPackageFileError& E) {
        const std::string Why = E.what();
        EXPECT_TRUE(Why.find("neither DT_GNU_HASH nor DT_HASH") != std::string::npos ||
                    Why.find("disagrees with section '.gnu.hash'") != std::string::npos)
            << Why;
    }
}

TEST(PackageRecords, NameHashFoldsTheUppercaseBytes)
{
    EXPECT_EQ(PackageNameHash(""), 0);
    EXPECT_EQ(PackageNameHash("A"), 0x41);
    // 0x41 rotated left by 3 is 0x0A; xor 'B' (0x42) is 0x48; and case does not count.
    EXPECT_EQ(PackageNameHash("ab"), 0x48);
    EXPECT_EQ(PackageNameHash("AB"), 0x48);
    // 0x48 rotated is 0x42, xor 'C' is 0x01; rotated 0x08, xor '.' (0x2E) is 0x26.
    EXPECT_EQ(PackageNameHash("abc."), 0x26);
}

TEST(PackageRecords, DecodersRefuseDamagedRecords)
{
    // 4 + 4 + 7 + 4 + 8 + 4 bytes: one byte of padding.
    TPackageInfo Info{0x4C300000, {"a.bpl"}, {{"Unit1", 3}}, "Pk"};
    const TByteVector Bytes = EncodePackageInfo(Info);
    EXPECT_EQ(DecodePackageInfo(Bytes), Info);
    for (size_t N = 0; N < Bytes.size(); ++N)
        ExpectRefused([&] { DecodePackageInfo(TBytes(Bytes).first(N)); }, {"package info"});
    TByteVector Bad = Bytes;
    Bad[8] ^= 1; // the hash of "a.bpl"
    ExpectRefused([&] { DecodePackageInfo(Bad); }, {"required package 'a.bpl' at offset 0x8 has hash"});
    Bad = Bytes;
    Put(Bad, 4, 0xFFFFFFFF, 4);
    ExpectRefused([&] { DecodePackageInfo(Bad); }, {"requires count -1"});
    Put(Bad, 4, 9, 4); // 24 bytes remain: room for 8 at most
    ExpectRefused([&] { DecodePackageInfo(Bad); }, {"requires count 9", "more than the remaining"});
    Bad = Bytes;
    Bad.back() = 1;
    ExpectRefused([&] { DecodePackageInfo(Bad); }, {"padding byte"});
    Bad.insert(Bad.end(), 4, 0);
    ExpectRefused([&] { DecodePackageInfo(Bad); }, {"only zero padding"});
    ExpectRefused([&] { EncodePackageInfo({0, {""}, {}, "P"}); }, {"required package '' is not 1 to 255"});

    const TByteVector Text = EncodeDescription("Caf\xc3\xa9 \xf0\x9f\x8e\xa8"); // é and a surrogate pair
    EXPECT_EQ(DecodeDescription(Text), "Caf\xc3\xa9 \xf0\x9f\x8e\xa8");
    for (size_t N = 0; N < Text.size(); ++N)
        ExpectRefused([&] { DecodeDescription(TBytes(Text).first(N)); }, {"description"});
    Bad = Text;
    Bad[12] = '='; // the code unit after the high surrogate
    Bad[13] = 0;
    ExpectRefused([&] { DecodeDescription(Bad); }, {"unpaired surrogate"});
    ExpectRefused([&] { EncodeDescription("two\nlines"); }, {"control characters"});

    TVersionInfo Version{{1, 2, 3, 4}, {5, 6, 7, 8}, 0x0407, 1252, {{"FileVersion", "1.2.3.4"}, {"Comments", ""}}};
    const TByteVector Block = EncodeVersionInfo(Version);
    EXPECT_EQ(DecodeVersionInfo(Block), Version);
    for (size_t N = 0; N < Block.size(); ++N)
        ExpectRefused([&] { DecodeVersionInfo(TBytes(Block).first(N)); }, {"version block"});

    TPackageOptions Options;
    Options.Usage = PackageDesignTime;
    Options.Defines = "RELEASE;";
    Options.Description = "d";
    EXPECT_EQ(DecodePackageOptions(EncodePackageOptions(Options)), Options);
    Options.UnitAliases = std::string(256, 'a');
    ExpectRefused([&] { EncodePackageOptions(Options); }, {"the unit aliases"});
}

} // namespace
