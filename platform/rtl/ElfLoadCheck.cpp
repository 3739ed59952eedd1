#include "platform/rtl/ElfLoadCheck.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <vector>

#include "platform/rtl/ElfFormat.h"
#include "platform/rtl/PackageFile.h"

namespace {

constexpr uint64_t PageSize = 4096, MaxSymbols = uint64_t{1} << 24, MaxVersionEntries = 4096;
constexpr auto Get = &LittleEndian;

bool IsPowerOfTwo(uint64_t N) { return N != 0 && (N & (N - 1)) == 0; }

struct TSegment {
    uint32_t Type, Flags;
    uint64_t Offset, Address, FileSize, MemorySize, Align;
};

struct TSymbolEntry {
    uint8_t Type;
    uint16_t SectionIndex;
    uint64_t Value;
};

// One relocation as the loader applies it: where, what, and the value it starts from.
struct TRelocation {
    uint32_t Type;
    uint64_t Symbol, Addend;
};

class TLoadCheck {
public:
    explicit TLoadCheck(TBytes Bytes) : FBytes(Bytes) {}

    void Run()
    {
        static constexpr uint8_t Magic[] = {0x7F, 'E', 'L', 'F', 2, 1};
        if (FBytes.size() < 64 || !std::equal(std::begin(Magic), std::end(Magic), FBytes.begin()))
            Fail("not a 64-bit little-endian ELF file");
        ReadSegments();
        ReadDynamic();
        CheckStrings();
        CountSymbols();
        CheckSymbols();
        CheckVersions();
        CheckRelocations();
        CheckInitFunctions();
        CheckAgainstSections();
    }

private:
    [[noreturn]] static void Fail(const std::string& Why) { throw EPackageFileError("ELF file: " + Why); }

    uint64_t Read(uint64_t At, int Size, const char* What) const
    {
        if (!RangeFits(At, static_cast<uint64_t>(Size), FBytes.size()))
            Fail(std::string(What) + " at " + HexOffset(At) + " lies outside the file");
        return LittleEndian(FBytes, static_cast<size_t>(At), static_cast<unsigned>(Size));
    }

    // The loadable segment whose memory holds [Address, Address + Size); with FileBacked,
    // within the part that comes from the file. nullptr when none does.
    const TSegment* LoadOf(uint64_t Address, uint64_t Size, bool FileBacked) const
    {
        // In ascending order and apart: only the last one starting at or below Address
        // can hold it.
        const auto After = std::upper_bound(FLoads.begin(), FLoads.end(), Address,
                                            [](uint64_t A, const TSegment& S) { return A < S.Address; });
        if (After == FLoads.begin()) return nullptr;
        const TSegment& S = *(After - 1);
        return RangeFits(Address - S.Address, Size, FileBacked ? S.FileSize : S.MemorySize) ? &S : nullptr;
    }

    // The file's bytes the loader sees at [Address, Address + Size) once mapped.
    TBytes Loaded(uint64_t Address, uint64_t Size, const std::string& What) const
    {
        const TSegment* S = LoadOf(Address, Size, true);
        if (!S)
            Fail(What + " at " + HexOffset(Address) + " with " + HexOffset(Size) +
                 " bytes lies outside the loaded part of the file");
        return FBytes.subspan(static_cast<size_t>(S->Offset + (Address - S->Address)), static_cast<size_t>(Size));
    }

    // Whether [Address, Address + Size) lies in a loadable segment's memory, one with
    // Flag (PF_X, PF_W) when given.
    bool LoadIs(uint64_t Address, uint64_t Size, uint32_t Flag) const
    {
        const TSegment* S = LoadOf(Address, Size, false);
        return S && (!Flag || (S->Flags & Flag));
    }

    TSymbolEntry Symbol(uint64_t Index) const
    {
        const uint64_t At = Index * SymbolSize;
        return {static_cast<uint8_t>(Get(FSymbolTable, At + 4, 1) & 0xF),
                static_cast<uint16_t>(Get(FSymbolTable, At + 6, 2)), Get(FSymbolTable, At + 8, 8)};
    }

    void NeedWithin(uint64_t Address, uint64_t Size, uint32_t Flag, const std::string& What) const
    {
        if (!LoadIs(Address, Size, Flag))
            Fail(What + " at " + HexOffset(Address) + " lies outside every " +
                 (Flag == PF_X ? "executable " : Flag == PF_W ? "writable " : "") + "loadable segment");
    }

    void ReadSegments()
    {
        if (Read(ElfTypeAt, 2, "e_type") != ET_DYN)
            Fail("not a shared library (type " + std::to_string(Read(ElfTypeAt, 2, "e_type")) + ")");
        if (Read(ElfMachineAt, 2, "e_machine") != EM_X86_64)
            Fail("built for machine " + std::to_string(Read(ElfMachineAt, 2, "e_machine")) + ", not x86-64");
        const uint64_t Table = Read(ElfSegmentTableAt, 8, "e_phoff"),
                       EntrySize = Read(ElfSegmentEntrySizeAt, 2, "e_phentsize"),
                       Count = Read(ElfSegmentCountAt, 2, "e_phnum");
        if (EntrySize != SegmentHeaderSize)
            Fail("program headers of " + std::to_string(EntrySize) + " bytes, not " +
                 std::to_string(SegmentHeaderSize));
        if (Count == 0 || Count > MaxElfSegments)
            Fail(std::to_string(Count) + " program headers, not 1 to " + std::to_string(MaxElfSegments));
        if (!RangeFits(Table, Count * SegmentHeaderSize, FBytes.size()))
            Fail("the program header table at " + HexOffset(Table) + " with " + std::to_string(Count) +
                 " entries runs past the end of the file (size " + HexOffset(FBytes.size()) + ")");
        for (uint64_t I = 0; I < Count; ++I) {
            const uint64_t At = Table + I * SegmentHeaderSize;
            const TSegment S{static_cast<uint32_t>(Read(At, 4, "p_type")),
                             static_cast<uint32_t>(Read(At + 4, 4, "p_flags")),
                             Read(At + 8, 8, "p_offset"),
                             Read(At + 16, 8, "p_vaddr"),
                             Read(At + 32, 8, "p_filesz"),
                             Read(At + 40, 8, "p_memsz"),
                             Read(At + 48, 8, "p_align")};
            FSegments.push_back(S);
            if (S.Type == PT_LOAD) CheckLoad(S, I);
        }
        if (FLoads.empty()) Fail("no loadable segment");
        if (FLoads.back().Address + FLoads.back().MemorySize - (FLoads.front().Address & ~(PageSize - 1)) >
            MaxElfImageSpan)
            Fail("its loadable segments span more than " + std::to_string(MaxElfImageSpan >> 20) + " MiB");
        int Dynamics = 0;
        for (size_t I = 0; I < FSegments.size(); ++I) {
            const TSegment& S = FSegments[I];
            const std::string Label = "segment " + std::to_string(I);
            switch (S.Type) {
            case PT_DYNAMIC:
                ++Dynamics;
                FDynamic = S;
                CheckInside(S, Label + " (dynamic)", PF_W);
                break;
            case PT_GNU_RELRO: CheckRelro(S, Label + " (RELRO)"); break;
            case PT_TLS:
                if (S.Align > 1 && !IsPowerOfTwo(S.Align)) Fail(Label + " (TLS): alignment " + HexOffset(S.Align));
                CheckInside(S, Label + " (TLS)", 0);
                break;
            case PT_NOTE: case PT_PHDR: case PT_GNU_EH_FRAME: case PT_GNU_PROPERTY:
                CheckInside(S, Label, 0);
                break;
            default: break;
            }
        }
        if (Dynamics != 1) Fail(std::to_string(Dynamics) + " dynamic segments, not one");
    }

    void CheckLoad(const TSegment& S, uint64_t Index)
    {
        const std::string Label = "loadable segment " + std::to_string(Index);
        if (S.Align > 1 && (!IsPowerOfTwo(S.Align) || S.Align % PageSize != 0))
            Fail(Label + ": alignment " + HexOffset(S.Align) + " is no power of two of whole pages");
        if ((S.Address - S.Offset) % PageSize != 0 || (S.Align > 1 && (S.Address - S.Offset) % S.Align != 0))
            Fail(Label + ": address " + HexOffset(S.Address) + " and offset " + HexOffset(S.Offset) +
                 " disagree on the alignment");
        if (S.FileSize > S.MemorySize)
            Fail(Label + ": " + HexOffset(S.FileSize) + " bytes in the file, more than its " +
                 HexOffset(S.MemorySize) + " in memory");
        // The loader reads its tables, and the library its own code, in these.
        if (!(S.Flags & PF_R)) Fail(Label + " is not readable (flags " + HexOffset(S.Flags) + ")");
        if ((S.Flags & PF_X) && S.FileSize != S.MemorySize)
            Fail(Label + ": executable, yet " + HexOffset(S.MemorySize - S.FileSize) +
                 " bytes of it are not in the file");
        if (!RangeFits(S.Offset, S.FileSize, FBytes.size()))
            Fail(Label + " at " + HexOffset(S.Offset) + " with " + HexOffset(S.FileSize) +
                 " bytes runs past the end of the file (size " + HexOffset(FBytes.size()) + ")");
        if (!RangeFits(S.Address, S.MemorySize, MaxElfImageSpan))
            Fail(Label + " at address " + HexOffset(S.Address) + " with " + HexOffset(S.MemorySize) +
                 " bytes lies beyond " + std::to_string(MaxElfImageSpan >> 20) + " MiB");
        if (!FLoads.empty() && S.Address < FLoads.back().Address + FLoads.back().MemorySize)
            Fail(Label + " at address " + HexOffset(S.Address) + " overlaps or precedes the one before it");
        FLoads.push_back(S);
    }

    void CheckInside(const TSegment& S, const std::string& Label, uint32_t Flag) const
    {
        if (S.FileSize > S.MemorySize) Fail(Label + ": more bytes in the file than in memory");
        if (S.MemorySize == 0) return;
        const TSegment* L = LoadOf(S.Address, S.MemorySize, false);
        if (!L || !LoadOf(S.Address, S.FileSize, true) || (Flag && !(L->Flags & Flag)))
            Fail(Label + " at address " + HexOffset(S.Address) + " with " + HexOffset(S.MemorySize) +
                 " bytes lies outside every " + (Flag == PF_W ? "writable " : "") + "loadable segment");
    }

    // The loader makes the whole pages of RELRO read-only once relocated: they must be
    // of one writable segment, whose last page some linkers (lld) fill to its end.
    void CheckRelro(const TSegment& S, const std::string& Label) const
    {
        const TSegment* L = LoadOf(S.Address, 0, false);
        if (S.MemorySize == 0) return;
        if (!L || !(L->Flags & PF_W) || !RangeFits(S.Address - L->Address, S.MemorySize,
                                                   (L->MemorySize + PageSize - 1) / PageSize * PageSize))
            Fail(Label + " at address " + HexOffset(S.Address) + " with " + HexOffset(S.MemorySize) +
                 " bytes lies outside every writable loadable segment");
    }

    void ReadDynamic()
    {
        const TBytes D = Loaded(FDynamic.Address, FDynamic.FileSize, "the dynamic section");
        for (uint64_t At = 0;; At += DynamicEntrySize) {
            if (At + DynamicEntrySize > D.size()) Fail("the dynamic section has no DT_NULL within its segment");
            const auto Tag = static_cast<int64_t>(Get(D, At, 8));
            const uint64_t Value = Get(D, At + 8, 8);
            if (Tag == DT_NULL) break;
            if (Tag == DT_NEEDED || Tag == DT_SONAME || Tag == DT_RPATH || Tag == DT_RUNPATH || Tag == DT_AUXILIARY ||
                Tag == DT_FILTER)
                FNames.push_back(Value);
            FTags[Tag] = Value; // the last one counts, as for the loader
        }
    }

    bool Has(int64_t Tag) const { return FTags.contains(Tag); }
    uint64_t Tag(int64_t Tag, const char* Name) const
    {
        const auto It = FTags.find(Tag);
        if (It == FTags.end()) Fail(std::string("the dynamic section has no ") + Name);
        return It->second;
    }

    bool HasName(uint64_t Offset) const
    {
        return Offset < FStrings.size() &&
               std::find(FStrings.begin() + static_cast<long>(Offset), FStrings.end(), uint8_t{0}) != FStrings.end();
    }

    std::string_view String(uint64_t Offset, const std::string& What) const
    {
        if (Offset >= FStrings.size())
            Fail(What + ": name offset " + HexOffset(Offset) + " lies outside the dynamic string table (size " +
                 HexOffset(FStrings.size()) + ")");
        const auto* Start = reinterpret_cast<const char*>(FStrings.data()) + Offset;
        const auto End = std::find(FStrings.begin() + static_cast<long>(Offset), FStrings.end(), uint8_t{0});
        if (End == FStrings.end()) Fail(What + ": the name at " + HexOffset(Offset) + " has no terminating zero");
        return {Start, static_cast<size_t>(End - (FStrings.begin() + static_cast<long>(Offset)))};
    }

    void CheckStrings()
    {
        FStrings = Loaded(Tag(DT_STRTAB, "DT_STRTAB"), Tag(DT_STRSZ, "DT_STRSZ"), "the dynamic string table");
        for (const uint64_t Name : FNames) String(Name, "a library name or path of the dynamic section");
    }

    // The symbol count, which only the hash tables tell.
    void CountSymbols()
    {
        if (!Has(DT_GNU_HASH) && !Has(DT_HASH)) Fail("the dynamic section has neither DT_GNU_HASH nor DT_HASH");
        if (Has(DT_HASH)) FSymbolCount = CountBySysvHash(FTags[DT_HASH]);
        if (Has(DT_GNU_HASH)) FSymbolCount = CountByGnuHash(FTags[DT_GNU_HASH]);
        // A GNU hash table counts only the symbols it hashes: those before them (the
        // imports) count as far as a relocation names them, since the loader reads each
        // one a relocation names.
        for (const auto& [Address, SizeTag] : {std::pair{DT_RELA, DT_RELASZ}, {DT_JMPREL, DT_PLTRELSZ}}) {
            const TSegment* L = Has(Address) && Has(SizeTag) ? LoadOf(FTags[Address], FTags[SizeTag], true) : nullptr;
            if (!L) continue; // refused with the relocations
            const TBytes T = Loaded(FTags[Address], FTags[SizeTag], "the relocations");
            for (uint64_t At = 0; At + RelocationSize <= T.size(); At += RelocationSize)
                if (const uint64_t Symbol = Get(T, At + 8, 8) >> 32; Symbol < MaxSymbols)
                    FSymbolCount = std::max(FSymbolCount, Symbol + 1);
        }
        if (FSymbolCount == 0) Fail("the hash table holds no symbols");
    }

    uint64_t CountBySysvHash(uint64_t Address) const
    {
        const TBytes Header = Loaded(Address, 8, "the hash table");
        const uint64_t Buckets = Get(Header, 0, 4), Chains = Get(Header, 4, 4);
        if (Buckets == 0) Fail("the hash table has no buckets");
        if (Chains > MaxSymbols) Fail("the hash table has " + std::to_string(Chains) + " chains");
        const TBytes T = Loaded(Address, 8 + 4 * (Buckets + Chains), "the hash table");
        // Each chain must end: 0 unvisited, 1 on the walk now, 2 known to end.
        std::vector<uint8_t> State(static_cast<size_t>(Chains), 0);
        std::vector<uint64_t> Walk;
        for (uint64_t B = 0; B < Buckets; ++B) {
            Walk.clear();
            for (uint64_t I = Get(T, 8 + 4 * B, 4); I != 0; I = Get(T, 8 + 4 * (Buckets + I), 4)) {
                if (I >= Chains)
                    Fail("the hash table names symbol " + std::to_string(I) + " of " + std::to_string(Chains));
                if (State[I] == 2) break;
                if (State[I] == 1) Fail("a chain of the hash table loops");
                State[I] = 1;
                Walk.push_back(I);
            }
            for (const uint64_t I : Walk) State[I] = 2;
        }
        return Chains;
    }

    uint64_t CountByGnuHash(uint64_t Address) const
    {
        const TBytes Header = Loaded(Address, 16, "the GNU hash table");
        const uint64_t Buckets = Get(Header, 0, 4), First = Get(Header, 4, 4), Bloom = Get(Header, 8, 4),
                       Shift = Get(Header, 12, 4);
        if (Buckets == 0 || Buckets > MaxSymbols)
            Fail("the GNU hash table has " + std::to_string(Buckets) + " buckets");
        if (!IsPowerOfTwo(Bloom) || Bloom > MaxSymbols || Shift >= 64)
            Fail("the GNU hash table's bloom filter of " + std::to_string(Bloom) + " words, shift " +
                 std::to_string(Shift) + ", is not a power of two words shifting less than 64");
        const uint64_t BucketsAt = 16 + 8 * Bloom, ChainsAt = BucketsAt + 4 * Buckets;
        const TBytes T = Loaded(Address, ChainsAt, "the GNU hash table");
        uint64_t Low = UINT64_MAX, High = 0;
        for (uint64_t B = 0; B < Buckets; ++B) {
            const uint64_t S = Get(T, BucketsAt + 4 * B, 4);
            if (S == 0) continue;
            if (S < First) Fail("a bucket of the GNU hash table names symbol " + std::to_string(S) +
                                ", below its first hashed symbol " + std::to_string(First));
            Low = std::min(Low, S);
            High = std::max(High, S);
        }
        if (Low == UINT64_MAX) return First;
        // Every chain ends at the first entry with its low bit set at or after its start,
        // so one walk past the highest start shows that all of them end.
        for (uint64_t S = Low;; ++S) {
            if (S - First >= MaxSymbols) Fail("a chain of the GNU hash table does not end");
            const TBytes Entry = Loaded(Address + ChainsAt + 4 * (S - First), 4, "a chain of the GNU hash table");
            if (S >= High && (Get(Entry, 0, 4) & 1)) return S + 1;
        }
    }

    void CheckSymbols()
    {
        if (Has(DT_SYMENT) && FTags[DT_SYMENT] != SymbolSize)
            Fail("dynamic symbols of " + std::to_string(FTags[DT_SYMENT]) + " bytes, not " +
                 std::to_string(SymbolSize));
        const TBytes T = Loaded(Tag(DT_SYMTAB, "DT_SYMTAB"), FSymbolCount * SymbolSize, "the dynamic symbol table");
        FSymbolTable = T;
        for (uint64_t I = 0; I < FSymbolCount; ++I) {
            const uint64_t NameOffset = Get(T, I * SymbolSize, 4);
            if (!HasName(NameOffset)) String(NameOffset, "dynamic symbol " + std::to_string(I));
            const TSymbolEntry S = Symbol(I);
            if (S.SectionIndex == SHN_UNDEF || S.SectionIndex == SHN_ABS) continue;
            const auto Named = [&] {
                return "dynamic symbol " + std::to_string(I) + " (" + QuotedInput(String(NameOffset, "")) + ")";
            };
            if ((S.Type == STT_FUNC || S.Type == STT_GNU_IFUNC) && !LoadIs(S.Value, 1, PF_X))
                NeedWithin(S.Value, 1, PF_X, Named());
            else if (S.Type == STT_OBJECT && !LoadIs(S.Value, 0, 0))
                NeedWithin(S.Value, 0, 0, Named());
        }
    }

    // Walks a version list as the loader does, by each entry's offset to the next until
    // one says 0; calls Visit with each entry's bytes.
    template <typename TVisit>
    void WalkVersions(uint64_t Address, uint64_t EntrySize, uint64_t NextAt, const std::string& What,
                      TVisit Visit) const
    {
        for (uint64_t N = 0;; ++N) {
            if (N == MaxVersionEntries) Fail(What + ": more than " + std::to_string(MaxVersionEntries) + " entries");
            const TBytes E = Loaded(Address, EntrySize, What);
            Visit(Address, E);
            const uint64_t Next = Get(E, NextAt, 4);
            if (Next == 0) return;
            Address += Next;
        }
    }

    void CheckVersions()
    {
        uint64_t Highest = 0;
        if (Has(DT_VERNEED))
            WalkVersions(FTags[DT_VERNEED], 16, 12, "the needed versions", [&](uint64_t At, TBytes E) {
                if (Get(E, 0, 2) != 1) Fail("the needed versions: unknown revision " + std::to_string(Get(E, 0, 2)));
                String(Get(E, 4, 4), "the needed versions");
                WalkVersions(At + Get(E, 8, 4), 16, 12, "the needed versions", [&](uint64_t, TBytes A) {
                    String(Get(A, 8, 4), "a needed version");
                    Highest = std::max(Highest, Get(A, 6, 2) & 0x7FFF);
                });
            });
        if (Has(DT_VERDEF))
            WalkVersions(FTags[DT_VERDEF], 20, 16, "the defined versions", [&](uint64_t At, TBytes E) {
                if (Get(E, 0, 2) != 1) Fail("the defined versions: unknown revision " + std::to_string(Get(E, 0, 2)));
                Highest = std::max(Highest, Get(E, 4, 2) & 0x7FFF);
                String(Get(Loaded(At + Get(E, 12, 4), 8, "a defined version's name"), 0, 4), "a defined version");
            });
        if (!Has(DT_VERSYM)) return;
        if (Highest == 0) Fail("symbol versions without any version defined or needed");
        const TBytes V = Loaded(FTags[DT_VERSYM], 2 * FSymbolCount, "the symbol versions");
        for (uint64_t I = 0; I < FSymbolCount; ++I)
            if ((Get(V, 2 * I, 2) & 0x7FFF) > Highest)
                Fail("dynamic symbol " + std::to_string(I) + " has version " +
                     std::to_string(Get(V, 2 * I, 2) & 0x7FFF) + ", which no version entry defines or needs");
    }

    // Whether Address is an entry of the init or fini array: only their relocations are
    // kept, to see where the calls go.
    bool IsArraySlot(uint64_t Address) const
    {
        for (const auto& [AddressTag, SizeTag] :
             {std::pair{DT_INIT_ARRAY, DT_INIT_ARRAYSZ}, {DT_FINI_ARRAY, DT_FINI_ARRAYSZ}})
            if (Has(AddressTag) && Has(SizeTag) && Address >= FTags.at(AddressTag) &&
                Address - FTags.at(AddressTag) < FTags.at(SizeTag))
                return true;
        return false;
    }

    void CheckRelocations()
    {
        const bool TextRelocations = Has(DT_TEXTREL) || (Has(DT_FLAGS) && (FTags[DT_FLAGS] & DF_TEXTREL));
        const auto Target = [&](uint64_t Address, uint64_t Width, const std::string& What) {
            NeedWithin(Address, Width, TextRelocations ? 0 : PF_W, What);
        };
        const auto Table = [&](uint64_t Address, uint64_t Size, const std::string& What) {
            if (Size % RelocationSize != 0)
                Fail(What + ": " + std::to_string(Size) + " bytes, not a whole number of relocations");
            const TBytes T = Loaded(Address, Size, What);
            for (uint64_t At = 0; At < Size; At += RelocationSize) {
                const auto Label = [&] { return What + ": relocation " + std::to_string(At / RelocationSize); };
                const uint64_t Offset = Get(T, At, 8), Info = Get(T, At + 8, 8), Addend = Get(T, At + 16, 8);
                const auto Type = static_cast<uint32_t>(Info);
                if (Type == R_NONE) continue;
                const uint64_t Width = RelocationWidth(Type);
                if (Width == 0)
                    Fail(Label() + " has type " + std::to_string(Type) + ", which the loader does not apply");
                if ((Info >> 32) >= FSymbolCount)
                    Fail(Label() + " names symbol " + std::to_string(Info >> 32) + " of " +
                         std::to_string(FSymbolCount));
                if (!LoadIs(Offset, Width, TextRelocations ? 0 : PF_W)) Target(Offset, Width, Label());
                if (Type == R_IRELATIVE && !LoadIs(Addend, 1, PF_X))
                    NeedWithin(Addend, 1, PF_X, Label() + "'s resolver");
                if (IsArraySlot(Offset)) FRelocations[Offset] = {Type, Info >> 32, Addend};
            }
        };
        if (Has(DT_RELA)) {
            if (Tag(DT_RELAENT, "DT_RELAENT") != RelocationSize)
                Fail("relocations of " + std::to_string(FTags[DT_RELAENT]) + " bytes, not " +
                     std::to_string(RelocationSize));
            Table(FTags[DT_RELA], Tag(DT_RELASZ, "DT_RELASZ"), "the relocations");
            // The loader applies the first DT_RELACOUNT ones as relative without looking.
            const TBytes T = Loaded(FTags[DT_RELA], FTags[DT_RELASZ], "the relocations");
            const uint64_t Relative = Has(DT_RELACOUNT) ? std::min(FTags[DT_RELACOUNT], T.size() / RelocationSize) : 0;
            for (uint64_t I = 0; I < Relative; ++I)
                if (static_cast<uint32_t>(Get(T, I * RelocationSize + 8, 8)) != R_RELATIVE)
                    Fail("DT_RELACOUNT counts " + std::to_string(FTags[DT_RELACOUNT]) + " relative relocations, yet " +
                         std::to_string(I) + " is not one");
        }
        if (Has(DT_JMPREL)) {
            if (Tag(DT_PLTREL, "DT_PLTREL") != DT_RELA) Fail("the PLT relocations are not of the RELA kind");
            Table(FTags[DT_JMPREL], Tag(DT_PLTRELSZ, "DT_PLTRELSZ"), "the PLT relocations");
        }
        if (Has(DT_RELR)) CheckRelativeRelocations(Target);
    }

    // The packed relative relocations: an address, then bitmaps of the 63 words after it.
    template <typename TTarget>
    void CheckRelativeRelocations(TTarget Target)
    {
        if (Tag(DT_RELRENT, "DT_RELRENT") != 8)
            Fail("packed relocations of " + std::to_string(FTags[DT_RELRENT]) + " bytes");
        const uint64_t Size = Tag(DT_RELRSZ, "DT_RELRSZ");
        if (Size % 8 != 0) Fail("the packed relocations are not a whole number of words");
        const TBytes T = Loaded(FTags[DT_RELR], Size, "the packed relocations");
        bool Started = false;
        const auto Apply = [&](uint64_t Address) {
            Target(Address, 8, "a packed relocation");
            if (!IsArraySlot(Address)) return;
            const TSegment* S = LoadOf(Address, 8, true);
            const uint64_t Value =
                S ? Get(FBytes.subspan(static_cast<size_t>(S->Offset + (Address - S->Address)), 8), 0, 8) : 0;
            FRelocations[Address] = {R_RELATIVE, 0, Value};
        };
        for (uint64_t At = 0, Where = 0; At < Size; At += 8) {
            const uint64_t Entry = Get(T, At, 8);
            if ((Entry & 1) == 0) {
                Apply(Entry);
                Where = Entry + 8;
                Started = true;
                continue;
            }
            if (!Started) Fail("the packed relocations start with a bitmap");
            for (uint64_t Bit = 0; Bit < 63; ++Bit)
                if ((Entry >> (Bit + 1)) & 1) Apply(Where + 8 * Bit);
            Where += 63 * 8;
        }
    }

    void CheckInitFunctions() const
    {
        if (Has(DT_INIT)) NeedWithin(FTags.at(DT_INIT), 1, PF_X, "the init function");
        if (Has(DT_FINI)) NeedWithin(FTags.at(DT_FINI), 1, PF_X, "the fini function");
        CheckFunctionArray(DT_INIT_ARRAY, DT_INIT_ARRAYSZ, "the init array");
        CheckFunctionArray(DT_FINI_ARRAY, DT_FINI_ARRAYSZ, "the fini array");
    }

    // Each entry is called once relocated: to an address in this library (which must be
    // executable) or to a symbol of another one.
    void CheckFunctionArray(int64_t AddressTag, int64_t SizeTag, const std::string& What) const
    {
        if (Has(AddressTag) != Has(SizeTag))
            Fail(What + ": the dynamic section gives its address or its size, not both");
        if (!Has(AddressTag)) return;
        const uint64_t Address = FTags.at(AddressTag), Size = FTags.at(SizeTag);
        if (Size % 8 != 0) Fail(What + ": " + std::to_string(Size) + " bytes, not a whole number of addresses");
        if (Size > 0 && !LoadOf(Address, Size, false))
            Fail(What + " at " + HexOffset(Address) + " lies outside every loadable segment");
        for (uint64_t I = 0; I < Size / 8; ++I) {
            const std::string Label = What + ": entry " + std::to_string(I);
            const auto It = FRelocations.find(Address + 8 * I);
            if (It == FRelocations.end()) Fail(Label + " is never relocated");
            const TRelocation& R = It->second;
            if (R.Type == R_RELATIVE)
                NeedWithin(R.Addend, 1, PF_X, Label);
            else if ((R.Type == R_64 || R.Type == R_GLOB_DAT) && Symbol(R.Symbol).SectionIndex != SHN_UNDEF)
                NeedWithin(Symbol(R.Symbol).Value + R.Addend, 1, PF_X, Label);
            else if (R.Type != R_64 && R.Type != R_GLOB_DAT)
                Fail(Label + " is relocated by type " + std::to_string(R.Type) + ", not to a function");
        }
    }

    // A linked library's section headers describe the same image as its segments and
    // its dynamic section; the loader reads only the latter, so where the file has
    // sections, a disagreement is damage that the checks above may not see (a table
    // moved by a few bytes is as well-formed as the right one).
    void CheckAgainstSections() const
    {
        const TElfFile File(FBytes);
        if (File.Sections().empty()) return;
        for (const TElfSection& S : File.Sections()) {
            if (!(S.Flags & ElfSectionAllocated) || S.Size == 0) continue;
            const std::string Label = "section " + QuotedInput(S.Name);
            const TSegment* L = LoadOf(S.Address, S.Size, S.Type != ElfSectionNoBits);
            if (!L || (S.Type != ElfSectionNoBits && S.Offset - L->Offset != S.Address - L->Address))
                Fail(Label + " at " + HexOffset(S.Address) + " lies outside the loadable segments, or elsewhere in "
                     "the file than they map there");
        }
        struct TTable {
            int64_t AddressTag, SizeTag;
            uint32_t SectionType;
            const char* Name;
        };
        static constexpr TTable Tables[] = {
            {DT_SYMTAB, 0, SHT_DYNSYM, nullptr},          {DT_STRTAB, DT_STRSZ, SHT_STRTAB, ".dynstr"},
            {DT_GNU_HASH, 0, SHT_GNU_HASH, nullptr},      {DT_HASH, 0, SHT_HASH, nullptr},
            {DT_VERSYM, 0, SHT_GNU_VERSYM, nullptr},      {DT_VERNEED, 0, SHT_GNU_VERNEED, nullptr},
            {DT_VERDEF, 0, SHT_GNU_VERDEF, nullptr},      {DT_RELA, DT_RELASZ, SHT_RELA, ".rela.dyn"},
            {DT_JMPREL, DT_PLTRELSZ, SHT_RELA, ".rela.plt"}, {DT_INIT_ARRAY, DT_INIT_ARRAYSZ, SHT_INIT_ARRAY, nullptr},
            {DT_FINI_ARRAY, DT_FINI_ARRAYSZ, SHT_FINI_ARRAY, nullptr}, {DT_INIT, 0, SHT_PROGBITS, ".init"},
            {DT_FINI, 0, SHT_PROGBITS, ".fini"},
        };
        for (const TTable& T : Tables) {
            const TElfSection* Section = nullptr;
            for (const TElfSection& S : File.Sections())
                if (S.Type == T.SectionType && (!T.Name || S.Name == T.Name) && (S.Flags & ElfSectionAllocated)) {
                    Section = &S;
                    break;
                }
            const std::string Label = Section ? "section " + QuotedInput(Section->Name) : "no section";
            if (!Section && !Has(T.AddressTag)) continue;
            if (!Section || !Has(T.AddressTag) || FTags.at(T.AddressTag) != Section->Address ||
                (T.SizeTag && (!Has(T.SizeTag) || FTags.at(T.SizeTag) != Section->Size)))
                Fail("the dynamic section's entry " + HexOffset(static_cast<uint64_t>(T.AddressTag)) +
                     " disagrees with " + Label);
        }
        for (const TElfSection& S : File.Sections())
            if (S.Type == SHT_DYNAMIC && (S.Address != FDynamic.Address || S.Size != FDynamic.FileSize))
                Fail("the dynamic segment disagrees with section " + QuotedInput(S.Name));
    }

    TBytes FBytes;
    std::vector<TSegment> FSegments, FLoads;
    TSegment FDynamic{};
    std::map<int64_t, uint64_t> FTags;
    std::vector<uint64_t> FNames;
    TBytes FStrings;
    uint64_t FSymbolCount = 0;
    TBytes FSymbolTable;
    std::map<uint64_t, TRelocation> FRelocations;
};

} // namespace

void CheckElfLoadable(TBytes Bytes) { TLoadCheck(Bytes).Run(); }
