#pragma once
// UTF-8 as the whole system reads it: well-formed sequences only, so no overlong forms,
// no surrogates and nothing above U+10FFFF.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Export.h"

// The length of the well-formed sequence at the start of S, or 0 when S is empty or
// does not start with one.
QELL_RTL_API size_t Utf8SequenceLength(std::string_view S);

// Decodes the character at S[Pos] and advances Pos past it. A byte that starts no
// well-formed sequence counts as one character and yields Utf8Invalid.
constexpr uint32_t Utf8Invalid = 0xFFFFFFFF;
QELL_RTL_API uint32_t NextCodePoint(std::string_view S, size_t& Pos);

// Where the character before or after byte offset Pos starts; a stray byte counts as one
// character. Pos is clamped to the text.
QELL_RTL_API size_t NextCharPos(std::string_view S, size_t Pos);
QELL_RTL_API size_t PrevCharPos(std::string_view S, size_t Pos);

// Appends the code point (at most U+10FFFF, no surrogate) as UTF-8.
QELL_RTL_API void AppendUtf8(std::string& S, uint32_t Code);

// Whether all of S is well formed.
QELL_RTL_API bool IsValidUtf8(std::string_view S);
