#pragma once
// What the system loader relies on in a shared library, checked from its bytes before
// the library is handed to it. The loader trusts the program headers and the dynamic
// section: it maps what they say, follows every table they point at, writes where the
// relocations say and calls the init functions, with no bounds of its own; a damaged
// file makes it fault (SIGSEGV, SIGBUS), divide by zero, abort on an assertion or end
// the process. These checks refuse such a file with a message instead.

#include "platform/rtl/Bytes.h"
#include "platform/rtl/Export.h"

// Checks, for an ELF64 little-endian x86-64 shared library in Bytes:
// - the file header and the program header table (inside the file, 56-byte entries, at
//   most MaxElfSegments);
// - the loadable segments: in ascending address order and apart, file part inside the
//   file and no larger than the memory part, alignment a power of two with address
//   and offset agreeing on the page, the whole image within MaxElfImageSpan;
// - the dynamic, TLS, RELRO, note, property, unwind-table and program-header segments
//   inside a loadable one (the dynamic and RELRO ones inside a writable one, as the
//   loader writes the first and protects the second);
// - the dynamic section: ended by DT_NULL inside its segment; its string, symbol, hash
//   (GNU or SysV: non-empty buckets, power-of-two bloom filter, chains that end inside
//   the table and do not loop), version and relocation tables inside the loaded image;
//   every name inside the string table; the entry sizes the loader asserts;
// - every relocation: of a type the loader handles, its symbol inside the symbol
//   table, its target inside a writable segment (any loadable one with text
//   relocations), and an indirect function's resolver inside an executable one;
// - the init and fini functions and arrays: every function the loader calls lies in an
//   executable segment (each array entry relocated to one).
// Raises EPackageFileError "ELF file: …" naming the first thing wrong and where.
QELL_RTL_API void CheckElfLoadable(TBytes Bytes);

constexpr uint64_t MaxElfSegments = 256;
constexpr uint64_t MaxElfImageSpan = uint64_t{1} << 30;
