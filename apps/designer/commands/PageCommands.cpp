// qell-designer new, props, get, values, set, reset, edit and draw: a page file's properties
// read and changed from the command line. Each command loads the package as the
// designer does and reaches a property through the editor the inspector would use for
// it: the package's colour editor for its colours, the host's editors for the rest.

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "apps/designer/commands/Commands.h"
#include "apps/designer/commands/Options.h"
#include "apps/designer/packages/PackageHost.h"
#include "apps/designer/document/PageFile.h"
#include "platform/components/Components.h"
#include "platform/designide/PropertyInspector.h"
#include "platform/designide/PropertyPaths.h"
#include "platform/rtl/Files.h"
#include "platform/toolkit/Form.h"

namespace {

const char NewUsage[] = "qell-designer new FILE [--package PATH]\n";
const char PropsUsage[] = "qell-designer props FILE [COMPONENT] [--long] [--package PATH]\n";
const char GetUsage[] = "qell-designer get FILE PATH [--package PATH]\n";
const char ValuesUsage[] = "qell-designer values FILE PATH [--package PATH]\n";
const char SetUsage[] = "qell-designer set FILE PATH [--] TEXT [--package PATH]\n";
const char ResetUsage[] = "qell-designer reset FILE PATH [--package PATH]\n";
const char EditUsage[] = "qell-designer edit FILE PATH [--script FILE | --window [--scale N]] [--snapshot FILE.png]\n"
                         "                          [--package PATH]\n";
const char DrawUsage[] = "qell-designer draw FILE PATH --out FILE.png [--width W] [--height H] [--selected | --list]\n"
                         "                          [--package PATH]\n";

// Counts the edits the editors report: a command saves the page only after one.
class TEditCounter : public IDesigner {
public:
    int Edits = 0;
    void Modified() override { ++Edits; }
};

// A page file loaded into a designer that has loaded its package. The package goes
// last: after the page, and after every editor, which the caller declares after this.
class TPageDocument {
public:
    // ForWriting: the page is locked from its read until the document goes.
    TPageDocument(const std::string& PackagePath, const std::string& FileName, bool ForWriting = false)
        : FPackage(PackagePath), FLock(ForWriting ? std::make_unique<TPageFileLock>(FileName) : nullptr),
          FPage(LoadPageFile(FileName))
    {
    }
    TQellPage& Page() { return *FPage; }
    // The editor of the row at Path ("ButtonOrder.Appearance.TextColor"), and the row's
    // depth below its component; EPathError when there is no such row.
    TInterfacePtr<TPropertyEditor> Editor(std::string_view Path, int* Level = nullptr)
    {
        const TPagePath Split = SplitPagePath(*FPage, Path);
        TInterfacePtr<TPropertyEditor> Found = FindPropertyEditor({Split.Component}, &Designer, Split.Property);
        if (!Found)
            throw EPathError("no property " + QuotedInput(Split.Property) + " on " +
                             QuotedInput(Split.Component->Name()));
        if (Level) *Level = PropertyPathLevel(Split.Property);
        return Found;
    }

    TEditCounter Designer;

private:
    TPackageHost FPackage;
    std::unique_ptr<TPageFileLock> FLock;
    std::unique_ptr<TQellPage> FPage;
};

// A page command's arguments: the positional ones and the package (the default one
// unless --package names another).
struct TPageArgs {
    std::vector<std::string> P;
    std::string Package;
};
using TDeclareProc = std::function<void(TOptionParser& Parser)>;
using TCheckProc = std::function<bool(const TOptionParser& Parser)>;

// Runs the page command Name: reads Args (between Min and Max positional arguments,
// --package, and the options Declare adds, which Check judges once read: false when it
// reported a usage error), then Body. An error Body raises (a file, package or path that
// is not there, a page that does not read, a file that cannot be written) is reported
// in one line: exit 2.
int RunPage(const char* Name, const char* Usage, const TArgs& Args, size_t Min, size_t Max,
            const std::function<int(const TPageArgs& A)>& Body, const TDeclareProc& Declare = {},
            const TCheckProc& Check = {})
{
    TOptionParser Parser(Name, Usage);
    TPageArgs A;
    Parser.Value("--package", A.Package, "a file name");
    if (Declare) Declare(Parser);
    switch (Parser.Parse(Args, A.P, Min, Max)) {
    case TParsed::Help: std::printf("usage: %s", Usage); return ExitOk;
    case TParsed::Error: return ExitError;
    case TParsed::Run:
        if (Check && !Check(Parser)) return ExitError;
    }
    if (A.Package.empty()) A.Package = DefaultPackagePath();
    try {
        return Body(A);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "qell-designer %s: %s\n", Name, E.what());
        return ExitError;
    }
}

void PrintLine(std::string_view Text)
{
    std::fwrite(Text.data(), 1, Text.size(), stdout);
    std::fputc('\n', stdout);
}

// A text within one tab-separated field of one line: tab, line feed, carriage return
// and backslash escaped as \t, \n, \r and \\.
std::string OneField(std::string_view Text)
{
    std::string Out;
    for (const char C : Text) {
        switch (C) {
        case '\t': Out += "\\t"; break;
        case '\n': Out += "\\n"; break;
        case '\r': Out += "\\r"; break;
        case '\\': Out += "\\\\"; break;
        default: Out += C;
        }
    }
    return Out;
}

int RunNew(const TArgs& Args)
{
    return RunPage("new", NewUsage, Args, 1, 1, [](const TPageArgs& A) {
        const TPackageHost Host(A.Package);
        if (CreateFileAtomically(A.P[0], SamplePageText())) return ExitOk;
        std::fprintf(stderr, "qell-designer new: %s already exists; not overwritten\n", QuotedFileName(A.P[0]).c_str());
        return ExitFailed;
    });
}

// The columns `props --long` adds: the row's type, default and description, as the
// property declares them. A collection item's row has no property: its class, and what
// it is.
std::string LongColumns(const std::string& Path, const TInterfacePtr<TPropertyEditor>& E)
{
    const TPropInfo* P = E->GetPropInfo();
    if (!P) {
        const std::string Collection = Path.substr(0, Path.rfind('['));
        return E->GetComponent(0)->ClassName() + "\t\t" + "One item of " + Collection + ", its properties below.";
    }
    return OneField(PropTypeText(*P)) + "\t" + OneField(PropDefaultText(*P)) + "\t" + OneField(P->Description);
}

int RunProps(const TArgs& Args)
{
    bool Long = false;
    return RunPage(
        "props", PropsUsage, Args, 1, 2,
        [&](const TPageArgs& A) {
            TPageDocument Doc(A.Package, A.P[0]);
            std::vector<TComponent*> Components = PageComponents(Doc.Page());
            if (A.P.size() == 2) {
                TComponent* Only = FindPageComponent(Doc.Page(), A.P[1]);
                if (!Only) throw EPathError("no component " + QuotedInput(A.P[1]) + " on the page");
                Components = {Only};
            }
            for (TComponent* C : Components) {
                const auto Row = [&](const std::string& Path, const TInterfacePtr<TPropertyEditor>& E) {
                    const std::string FullPath = C->Name() + "." + Path;
                    std::string Line = OneField(FullPath) + "\t" + OneField(E->GetValue()) + "\t" + E->ClassName();
                    if (Long) Line += "\t" + LongColumns(FullPath, E);
                    PrintLine(Line);
                };
                ForEachPropertyPath({C}, &Doc.Designer, Row);
            }
            return ExitOk;
        },
        [&](TOptionParser& Parser) { Parser.Flag("--long", Long); });
}

int RunGet(const TArgs& Args)
{
    return RunPage("get", GetUsage, Args, 2, 2, [](const TPageArgs& A) {
        TPageDocument Doc(A.Package, A.P[0]);
        PrintLine(Doc.Editor(A.P[1])->GetValue());
        return ExitOk;
    });
}

// The editor at Path, which must offer Attribute: what a command needs from it.
TInterfacePtr<TPropertyEditor> EditorWith(TPageDocument& Doc, const std::string& Path, TPropertyAttribute Attribute,
                                          const char* Lacking)
{
    TInterfacePtr<TPropertyEditor> E = Doc.Editor(Path);
    if (!E->GetAttributes().Contains(Attribute))
        throw Exception(QuotedInput(Path) + " has no " + Lacking + " (its editor is " + E->ClassName() + ")");
    return E;
}

int RunValues(const TArgs& Args)
{
    return RunPage("values", ValuesUsage, Args, 2, 2, [](const TPageArgs& A) {
        TPageDocument Doc(A.Package, A.P[0]);
        const TInterfacePtr<TPropertyEditor> E = EditorWith(Doc, A.P[1], paValueList, "value list");
        for (const std::string& V : PropertyListValues(*E)) PrintLine(V);
        return ExitOk;
    });
}

int RunSet(const TArgs& Args)
{
    return RunPage("set", SetUsage, Args, 3, 3, [](const TPageArgs& A) {
        TPageDocument Doc(A.Package, A.P[0], true);
        const TInterfacePtr<TPropertyEditor> E = Doc.Editor(A.P[1]);
        // As the inspector, which offers no typing into such a row.
        if (E->GetAttributes().Contains(paReadOnly)) {
            std::fprintf(stderr, "qell-designer set: %s is read-only\n", QuotedInput(A.P[1]).c_str());
            return ExitFailed;
        }
        try {
            E->SetValue(A.P[2]);
        } catch (const std::exception& X) {
            std::fprintf(stderr, "qell-designer set: %s: %s\n", QuotedInput(A.P[1]).c_str(), X.what());
            return ExitFailed;
        }
        if (Doc.Designer.Edits > 0) SavePageFile(A.P[0], Doc.Page());
        return ExitOk;
    });
}

int RunReset(const TArgs& Args)
{
    return RunPage("reset", ResetUsage, Args, 2, 2, [](const TPageArgs& A) {
        TPageDocument Doc(A.Package, A.P[0]);
        const TInterfacePtr<TPropertyEditor> E = Doc.Editor(A.P[1]);
        try {
            E->Revert();
        } catch (const std::exception& X) {
            std::fprintf(stderr, "qell-designer reset: %s: %s\n", QuotedInput(A.P[1]).c_str(), X.what());
            return ExitFailed;
        }
        SavePageFile(A.P[0], Doc.Page());
        return ExitOk;
    });
}

int RunEdit(const TArgs& Args)
{
    // The run options take --package too, into O.
    TRunOptions O;
    std::string ScaleText;
    return RunPage(
        "edit", EditUsage, Args, 2, 2,
        [&](const TPageArgs& A) {
            TPageDocument Doc(O.Package, A.P[0], true);
            const TInterfacePtr<TPropertyEditor> E = EditorWith(Doc, A.P[1], paDialog, "dialog");
            {
                const TRunSession Session("edit", O);
                E->Edit();
                if (Session.Failed()) return ExitError;
            }
            // OK writes the dialog's value through the editor, which reports it; Cancel
            // writes nothing, and the file stays as it was.
            if (Doc.Designer.Edits == 0) return ExitFailed;
            SavePageFile(A.P[0], Doc.Page());
            PrintLine(E->GetValue());
            return ExitOk;
        },
        [&](TOptionParser& Parser) { AddRunOptions(Parser, O, ScaleText); },
        [&](const TOptionParser& Parser) { return CheckRunOptions(Parser, O, ScaleText, "dialog") == TParsed::Run; });
}

// A whole number from 1 to 4096 for Option, into Target.
bool ReadSize(const TOptionParser& Parser, const std::string& Option, const std::string& Text, int& Target)
{
    if (!Parser.Given(Option)) return true;
    const char* End = Text.data() + Text.size();
    const auto [Ptr, Error] = std::from_chars(Text.data(), End, Target);
    if (Error == std::errc() && Ptr == End && Target >= 1 && Target <= 4096) return true;
    Parser.Error(Option + " takes a whole number from 1 to 4096, not " + QuotedInput(Text));
    return false;
}

// The value cell as the inspector paints it, W x H, in the inspector's default font.
void DrawValueCell(TPropertyEditor& E, int Level, int Width, int Height, bool Selected, const std::string& Out)
{
    TBitmap Bitmap(Width, Height, clWindow);
    TCanvas Canvas(&Bitmap, {0, 0}, Rect(0, 0, Width, Height));
    PaintPropertyValueCell(&E, Canvas, TFont(), Rect(0, 0, Width, Height), Selected, PropertyRowExpands(E, Level));
    Bitmap.SaveToPNG(Out);
}

// The drop-down list as the inspector opens it, the current value selected, but long
// enough for every item, and at least Width wide (the value cell it drops from).
void DrawValueList(const TInterfacePtr<TPropertyEditor>& E, int Width, const std::string& Out)
{
    TForm Form(nullptr);
    auto* List = new TPropertyValueList(&Form);
    List->SetParent(&Form);
    List->ShowValues(E, TFont());
    const int ListWidth = std::max(Width, List->WidthNeeded()), ListHeight = List->HeightNeeded(List->Count());
    Form.SetBounds(0, 0, ListWidth, ListHeight);
    List->SetBounds(0, 0, ListWidth, ListHeight);
    List->SelectCurrentValue();
    Form.SetActiveControl(List);
    Form.PaintAll();
    Form.Surface().SaveToPNG(Out);
}

int RunDraw(const TArgs& Args)
{
    std::string Out, WidthText, HeightText;
    bool Selected = false, List = false;
    int Width = TPropertyInspector::DefaultValueWidth, Height = TPropertyInspector::ValueHeight;
    const auto Declare = [&](TOptionParser& Parser) {
        Parser.Value("--out", Out, "a file name");
        Parser.Value("--width", WidthText, "a number");
        Parser.Value("--height", HeightText, "a number");
        Parser.Flag("--selected", Selected);
        Parser.Flag("--list", List);
    };
    const auto Check = [&](const TOptionParser& Parser) {
        if (!ReadSize(Parser, "--width", WidthText, Width) || !ReadSize(Parser, "--height", HeightText, Height))
            return false;
        if (!Parser.Given("--out")) {
            Parser.Error("--out FILE.png is needed");
            return false;
        }
        if (List && (Selected || Parser.Given("--height"))) {
            Parser.Error("--list draws the whole list, as tall as its items, the current value selected: "
                         "not with --height or --selected");
            return false;
        }
        return true;
    };
    return RunPage(
        "draw", DrawUsage, Args, 2, 2,
        [&](const TPageArgs& A) {
            TPageDocument Doc(A.Package, A.P[0]);
            int Level = 0;
            if (List)
                DrawValueList(EditorWith(Doc, A.P[1], paValueList, "value list"), Width, Out);
            else
                DrawValueCell(*Doc.Editor(A.P[1], &Level), Level, Width, Height, Selected, Out);
            return ExitOk;
        },
        Declare, Check);
}

struct TPageCommand {
    const char* Name;
    const char* Usage;
    int (*Run)(const TArgs& Args);
};

constexpr TPageCommand PageCommands[] = {
    {"new", NewUsage, RunNew},          {"props", PropsUsage, RunProps}, {"get", GetUsage, RunGet},
    {"values", ValuesUsage, RunValues}, {"set", SetUsage, RunSet},       {"reset", ResetUsage, RunReset},
    {"edit", EditUsage, RunEdit},
    {"draw", DrawUsage, RunDraw},
};

} // namespace

std::string PageUsage()
{
    std::string Usage;
    for (const TPageCommand& C : PageCommands) Usage += (Usage.empty() ? "" : "       ") + std::string(C.Usage);
    return Usage;
}

std::optional<int> RunPageCommand(const std::string& Name, const TArgs& Args)
{
    for (const TPageCommand& C : PageCommands)
        if (Name == C.Name) return C.Run(Args);
    return std::nullopt;
}
