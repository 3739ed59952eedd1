#include "platform/designide/PropertyPaths.h"

#include "platform/designide/EditorRegistry.h"
#include "platform/rtl/SysUtils.h"

namespace {

// The names along Path: "Slots[0].TextColor" is "Slots", "[0]", "TextColor". Empty
// when Path is malformed (an empty name, an unclosed bracket, ".[0]").
std::vector<std::string_view> SplitPath(std::string_view Path)
{
    std::vector<std::string_view> Names;
    size_t I = 0;
    while (I < Path.size()) {
        size_t End;
        if (Path[I] == '[') {
            End = Path.find(']', I);
            if (End == std::string_view::npos) return {};
            ++End;
        } else {
            End = Path.find_first_of(".[", I);
            if (End == std::string_view::npos) End = Path.size();
        }
        if (End == I) return {};
        Names.push_back(Path.substr(I, End - I));
        I = End;
        // A dot is followed by a name, never by an item's brackets or nothing.
        if (I < Path.size() && Path[I] == '.' && (++I == Path.size() || Path[I] == '[')) return {};
    }
    return Names;
}

void VisitRows(const TInterfacePtr<TPropertyEditor>& Editor, const std::string& Parent, int Level,
               const TPropertyPathProc& Proc)
{
    const std::string Path = PropertyPath(Parent, Editor->GetName());
    Proc(Path, Editor);
    if (PropertyRowExpands(*Editor, Level))
        Editor->GetProperties(
            [&](const TInterfacePtr<TPropertyEditor>& Sub) { VisitRows(Sub, Path, Level + 1, Proc); });
}

} // namespace

std::string PropertyPath(const std::string& Parent, const std::string& Name)
{
    if (Parent.empty()) return Name;
    return Name.starts_with("[") ? Parent + Name : Parent + "." + Name;
}

int PropertyPathLevel(std::string_view Path)
{
    return static_cast<int>(SplitPath(Path).size()) - 1;
}

bool PropertyRowExpands(TPropertyEditor& Editor, int Level)
{
    return Level < MaxPropertyDepth && Editor.GetAttributes().Contains(paSubProperties);
}

TInterfacePtr<TPropertyEditor> FindPropertyEditor(const std::vector<TPersistent*>& Selection, IDesigner* Designer,
                                                  std::string_view Path)
{
    const std::vector<std::string_view> Names = SplitPath(Path);
    if (Names.empty() || Names.size() > static_cast<size_t>(MaxPropertyDepth) + 1) return {};
    TInterfacePtr<TPropertyEditor> Found;
    const auto Match = [&](std::string_view Name) {
        return [&Found, Name](const TInterfacePtr<TPropertyEditor>& Editor) {
            if (!Found && SameText(Editor->GetName(), Name)) Found = Editor;
        };
    };
    GetComponentProperties(Selection, Designer, Match(Names[0]));
    for (size_t I = 1; I < Names.size() && Found; ++I) {
        const TInterfacePtr<TPropertyEditor> Parent = std::move(Found);
        Found = {};
        if (Parent->GetAttributes().Contains(paSubProperties)) Parent->GetProperties(Match(Names[I]));
    }
    return Found;
}

void ForEachPropertyPath(const std::vector<TPersistent*>& Selection, IDesigner* Designer, const TPropertyPathProc& Proc)
{
    GetComponentProperties(Selection, Designer,
                           [&](const TInterfacePtr<TPropertyEditor>& Editor) { VisitRows(Editor, "", 0, Proc); });
}
