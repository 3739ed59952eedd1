#pragma once
// Splits the text of a form resource into tokens. Private to the form reader.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class TFormTokenKind { EndOfText, Identifier, Integer, String, Symbol };

struct TFormToken {
    TFormTokenKind Kind = TFormTokenKind::EndOfText;
    std::string_view Text; // the token as written, for messages
    int Line = 1;
    int64_t Int = 0;  // Integer
    std::string Str;  // String: the decoded characters (UTF-8)
    char Symbol = 0;  // Symbol: one of : = [ ] , + . < >
};

// Tokens: identifiers; integers (optional sign directly before decimal digits or "$"
// and up to 8 hexadecimal digits, read as a 32-bit pattern); strings made of directly
// adjacent 'quoted' parts ('' is a quote) and #N character codes; the symbols above.
// Spaces, tabs, line breaks and // comments separate tokens. Anything else raises
// EReadError "line N: …".
class TFormLexer {
public:
    explicit TFormLexer(std::string_view Text);
    // The next token; EndOfText at the end, as often as asked.
    TFormToken Next();
    int Line() const { return FLine; }

    // A word for an error message, as QuotedInput shows it.
    static std::string Quote(std::string_view Word);
    // S as the lexer reads it back: quoted parts with '' for a quote, #N for control
    // characters. nullopt when S holds a NUL or invalid UTF-8, which no resource can carry.
    static std::optional<std::string> EncodeString(std::string_view S);
    // Raises EReadError "line N: Message".
    [[noreturn]] static void Fail(int Line, const std::string& Message);

private:
    void SkipBlanks();
    TFormToken LexIdentifier();
    TFormToken LexNumber();
    TFormToken LexString();
    bool AtEnd() const { return FPos >= FText.size(); }
    char Peek(size_t Ahead = 0) const { return FPos + Ahead < FText.size() ? FText[FPos + Ahead] : '\0'; }

    std::string_view FText;
    size_t FPos = 0;
    int FLine = 1;
};
