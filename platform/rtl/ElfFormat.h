#pragma once
// The numbers of the ELF64 format that the runtime reads in package files, named as the
// format names them, in one place for every reader of it (PackageFile.cpp, the load
// checks, the package image). Internal to the runtime.

#include <cstdint>

constexpr uint64_t ElfHeaderSize = 64, SegmentHeaderSize = 56, SectionHeaderSize = 64, DynamicEntrySize = 16,
                   SymbolSize = 24, RelocationSize = 24;
// Fields of the file header, by offset.
constexpr uint64_t ElfTypeAt = 16, ElfMachineAt = 18, ElfSegmentTableAt = 32, ElfSectionTableAt = 40,
                   ElfSegmentEntrySizeAt = 54, ElfSegmentCountAt = 56, ElfSectionEntrySizeAt = 58,
                   ElfSectionCountAt = 60, ElfSectionNamesAt = 62;

constexpr uint16_t ET_DYN = 3, EM_X86_64 = 62, SHN_UNDEF = 0, SHN_ABS = 0xFFF1, SHN_XINDEX = 0xFFFF;
constexpr uint32_t PT_LOAD = 1, PT_DYNAMIC = 2, PT_NOTE = 4, PT_PHDR = 6, PT_TLS = 7, PT_GNU_EH_FRAME = 0x6474E550,
                   PT_GNU_RELRO = 0x6474E552, PT_GNU_PROPERTY = 0x6474E553, PF_X = 1, PF_W = 2, PF_R = 4;
constexpr uint32_t SHT_PROGBITS = 1, SHT_SYMTAB = 2, SHT_STRTAB = 3, SHT_RELA = 4, SHT_HASH = 5, SHT_DYNAMIC = 6,
                   SHT_DYNSYM = 11, SHT_INIT_ARRAY = 14, SHT_FINI_ARRAY = 15, SHT_GNU_HASH = 0x6FFFFFF6,
                   SHT_GNU_VERDEF = 0x6FFFFFFD, SHT_GNU_VERNEED = 0x6FFFFFFE, SHT_GNU_VERSYM = 0x6FFFFFFF;
constexpr uint8_t STT_OBJECT = 1, STT_FUNC = 2, STT_GNU_IFUNC = 10, STB_GLOBAL = 1, STB_WEAK = 2, STV_DEFAULT = 0,
                  STV_PROTECTED = 3;

enum : int64_t {
    DT_NULL = 0, DT_NEEDED = 1, DT_PLTRELSZ = 2, DT_HASH = 4, DT_STRTAB = 5, DT_SYMTAB = 6, DT_RELA = 7,
    DT_RELASZ = 8, DT_RELAENT = 9, DT_STRSZ = 10, DT_SYMENT = 11, DT_INIT = 12, DT_FINI = 13, DT_SONAME = 14,
    DT_RPATH = 15, DT_PLTREL = 20, DT_TEXTREL = 22, DT_JMPREL = 23, DT_INIT_ARRAY = 25, DT_FINI_ARRAY = 26,
    DT_INIT_ARRAYSZ = 27, DT_FINI_ARRAYSZ = 28, DT_RUNPATH = 29, DT_FLAGS = 30, DT_RELRSZ = 35, DT_RELR = 36,
    DT_RELRENT = 37, DT_GNU_HASH = 0x6FFFFEF5, DT_VERSYM = 0x6FFFFFF0, DT_RELACOUNT = 0x6FFFFFF9,
    DT_VERDEF = 0x6FFFFFFC, DT_VERNEED = 0x6FFFFFFE, DT_AUXILIARY = 0x7FFFFFFD, DT_FILTER = 0x7FFFFFFF
};
constexpr uint64_t DF_TEXTREL = 4;

// The relocation types the loader applies on x86-64.
enum : uint32_t {
    R_NONE = 0, R_64 = 1, R_PC32 = 2, R_GLOB_DAT = 6, R_JUMP_SLOT = 7, R_RELATIVE = 8, R_32 = 10, R_DTPMOD64 = 16,
    R_DTPOFF64 = 17, R_TPOFF64 = 18, R_SIZE32 = 32, R_SIZE64 = 33, R_TLSDESC = 36, R_IRELATIVE = 37
};
// The bytes a relocation of Type writes; 0 for a type the loader does not apply.
inline uint64_t RelocationWidth(uint32_t Type)
{
    switch (Type) {
    case R_PC32: case R_32: case R_SIZE32: return 4;
    case R_64: case R_GLOB_DAT: case R_JUMP_SLOT: case R_RELATIVE: case R_DTPMOD64: case R_DTPOFF64:
    case R_TPOFF64: case R_SIZE64: case R_IRELATIVE: return 8;
    case R_TLSDESC: return 16;
    default: return 0;
    }
}
