#include "apps/designer/window/LayoutSettings.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <string_view>

#include "platform/rtl/Files.h"
#include "platform/toolkit/Control.h"

namespace {

// A whole number from 0 to the largest form, and nothing else.
bool ReadNumber(std::string_view Text, int& Value)
{
    int V = 0;
    const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), V);
    if (Text.empty() || Error != std::errc() || End != Text.data() + Text.size() || V < 0 || V > MaxFormSize)
        return false;
    Value = V;
    return true;
}

// Reads one line into Layout; false when it is not a setting.
bool ReadLine(std::string_view Line, TLayoutSettings& Layout)
{
    const size_t Space = Line.find(' ');
    if (Space == std::string_view::npos) return false;
    const std::string_view Name = Line.substr(0, Space), Value = Line.substr(Space + 1);
    if (Name == "window") {
        const size_t X = Value.find('x');
        int W = 0, H = 0;
        if (X == std::string_view::npos || !ReadNumber(Value.substr(0, X), W) || !ReadNumber(Value.substr(X + 1), H))
            return false;
        Layout.Width = W;
        Layout.Height = H;
        return true;
    }
    TPaneSizes& P = Layout.Panes;
    int* Field = Name == "components"  ? &P.ListWidth
                 : Name == "inspector" ? &P.InspectorWidth
                 : Name == "names"     ? &P.NameWidth
                 : Name == "description" ? &P.DescriptionHeight
                                         : nullptr;
    return Field && ReadNumber(Value, *Field);
}

} // namespace

std::string LayoutSettingsPath()
{
    return UserConfigFolder() + "/qell-designer/layout";
}

std::string ReadLayoutSettings(const std::string& Path, TLayoutSettings& Layout)
{
    struct stat Info;
    if (lstat(Path.c_str(), &Info) != 0 && errno == ENOENT) return "";
    std::string Text;
    try {
        Text = ReadFileText(Path, MaxLayoutFileSize);
    } catch (const EInOutError& E) {
        return E.what();
    }
    std::string Problem;
    int Number = 0;
    for (size_t Start = 0; Start < Text.size(); ++Number) {
        size_t End = Text.find('\n', Start);
        if (End == std::string::npos) End = Text.size();
        const std::string_view Line = std::string_view(Text).substr(Start, End - Start);
        Start = End + 1;
        if (Line.empty()) continue;
        if (!ReadLine(Line, Layout) && Problem.empty())
            Problem = QuotedFileName(Path) + ": line " + std::to_string(Number + 1) + " passed over";
    }
    return Problem;
}

void WriteLayoutSettings(const std::string& Path, const TLayoutSettings& Layout)
{
    const TPaneSizes& P = Layout.Panes;
    const std::string Text = "window " + std::to_string(Layout.Width) + "x" + std::to_string(Layout.Height) +
                             "\ncomponents " + std::to_string(P.ListWidth) + "\ninspector " +
                             std::to_string(P.InspectorWidth) + "\nnames " + std::to_string(P.NameWidth) +
                             "\ndescription " + std::to_string(P.DescriptionHeight) + "\n";
    try {
        if (const size_t Slash = Path.rfind('/'); Slash != std::string::npos && Slash > 0)
            MakeFolders(Path.substr(0, Slash));
    } catch (const EInOutError& E) {
        throw EInOutError("Cannot write " + QuotedFileName(Path) + ": " + E.what());
    }
    // The program's own file, and a small one: no waiting for the disk as the program ends.
    WriteFileAtomically(Path, Text, {.Sync = false, .Own = true});
}
