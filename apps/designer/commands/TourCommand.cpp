// qell-designer tour: the designer at work without a display. It runs a short session
// headless (select a button, show its colour, choose a web colour from the list, edit
// another through the dialog, save), says what each step did, and leaves a picture of
// the window after each one.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "apps/designer/commands/Commands.h"
#include "apps/designer/window/DesignerForm.h"
#include "apps/designer/commands/Options.h"
#include "apps/designer/packages/PackageHost.h"
#include "platform/components/Components.h"
#include "platform/designide/EditorRegistry.h"
#include "platform/designide/PropertyPaths.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/PackageLoader.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/backends/HeadlessBackEnd.h"

const char TourUsage[] = "qell-designer tour [FOLDER] [--package PATH]\n";

namespace {

// Prints the value of Objects' property at Path as the inspector shows it, and the
// editor in charge.
void Tell(const std::vector<TPersistent*>& Objects, const std::string& Path)
{
    const TInterfacePtr<TPropertyEditor> Editor = FindPropertyEditor(Objects, nullptr, Path);
    if (!Editor) throw Exception("no property " + Path);
    std::printf("   %s = %s  (edited by %s)\n", Path.c_str(), Editor->GetValue().c_str(), Editor->ClassName().c_str());
}

class TTour {
public:
    TTour(TDesignerForm& Designer, std::string Folder) : FDesigner(Designer), FFolder(std::move(Folder)) {}

    // Says what the step does, runs Script on the designer, then saves a picture of the
    // window as N-Name.png. "{inside}" in Script stands for N-Name-inside.png, for a
    // picture of a form the step opens. A script that fails ends the tour.
    void Step(const std::string& Says, const std::string& Name, std::string Script)
    {
        std::printf("%d. %s\n", ++FStep, Says.c_str());
        if (const size_t At = Script.find("{inside}"); At != std::string::npos) {
            const std::string Inside = File(Name + "-inside");
            Script.replace(At, 8, Inside);
            std::printf("   picture: %s\n", Inside.c_str());
        }
        auto Back = std::make_unique<THeadlessBackEnd>(Script);
        THeadlessBackEnd& Run = *Back;
        Application->SetBackEnd(std::move(Back));
        FDesigner.ShowModal();
        if (Run.Failed()) throw Exception("the tour's step failed: " + Run.ScriptError());
        Picture(Name);
    }
    std::string File(const std::string& Name) const
    {
        return FFolder + "/" + std::to_string(FStep) + "-" + Name + ".png";
    }
    // Saves a picture of the window as it is now.
    void Picture(const std::string& Name)
    {
        FDesigner.PaintAll();
        FDesigner.Surface().SaveToPNG(File(Name));
        std::printf("   picture: %s\n", File(Name).c_str());
    }

private:
    TDesignerForm& FDesigner;
    std::string FFolder;
    int FStep = 0;
};

std::string NewFolder()
{
    const char* Temp = std::getenv("TMPDIR");
    std::string Pattern = std::string(Temp && *Temp ? Temp : "/tmp") + "/qell-tour.XXXXXX";
    if (!mkdtemp(Pattern.data())) throw EInOutError("Cannot make a folder for the tour's pictures");
    return Pattern;
}

} // namespace

int RunTourCommand(const TArgs& Args)
{
    TOptionParser Parser("tour", TourUsage);
    std::string Package;
    Parser.Value("--package", Package, "a file name");
    std::vector<std::string> Folder;
    switch (Parser.Parse(Args, Folder, 0, 1)) {
    case TParsed::Help: std::printf("usage: %s", TourUsage); return ExitOk;
    case TParsed::Error: return ExitError;
    case TParsed::Run: break;
    }
    if (Package.empty()) Package = DefaultPackagePath();
    RegisterDesignerScriptVerbs();
    RegisterDesignerEditors();
    try {
        const std::string Where = Folder.empty() ? NewFolder() : Folder[0];
        TPackageHost Host(Package);
        const TModuleHandle Module = PackageInstance(Host.Handle());
        size_t Registered = 0;
        for (const TEditorRegistration& R : PropertyEditorRegistrations()) Registered += R.Module == Module;
        std::printf("The designer loaded the package %s: its colour editor now serves the TIWColor "
                    "properties of %zu component classes.\n",
                    Package.c_str(), Registered);
        {
            const auto Designer = std::make_unique<TDesignerForm>(Application);
            Designer->Document().SetPage(ReadPageText(SamplePageText()), "");
            TTour Tour(*Designer, Where);
            Tour.Step("The sample page opens: its components on the left, the page in the middle, the "
                      "inspector on the right.",
                      "designer", "");
            Tour.Step("Click the Order button: the inspector shows its properties.", "select",
                      "pick ButtonOrder\ninspect Inspector Appearance.BackgroundColor\n");
            Tell(Designer->Document().Selection(), "Appearance.BackgroundColor");
            Tour.Step("Drop down the colour list: every web colour and toolkit colour, each with its swatch.",
                      "list", "dropdown Inspector\n");
            Tour.Step("Choose Tomato: the button turns tomato in the preview at once.", "web-colour",
                      "choose Inspector \"Tomato\"\n");
            Tell(Designer->Document().Selection(), "Appearance.BackgroundColor");
            Tour.Step("Open the text colour's dialog with the \"...\" button, pick a web colour, OK.", "dialog",
                      "inspect Inspector Appearance.TextColor\nellipsis Inspector\npage PageControl1 0\n"
                      "select WebColorsGrid 4 2\nsnapshot \"{inside}\"\nclick Button1\n");
            Tell(Designer->Document().Selection(), "Appearance.TextColor");
            const std::string Page = Where + "/page.txt";
            std::string Save = "key Ctrl+S\ntype FileName \"" + Page + "\"\nclick OK\n";
            // The chooser asks before replacing the page an earlier tour left there.
            if (std::filesystem::exists(Page)) Save += "click Yes\n";
            Tour.Step("Save with Ctrl+S to " + Page + ".", "saved", Save);
            std::printf("   read back from the file:\n");
            const std::unique_ptr<TQellPage> Saved = LoadPageFile(Page);
            const std::vector<TPersistent*> Button{Saved->FindComponent("ButtonOrder")};
            Tell(Button, "Appearance.BackgroundColor");
            Tell(Button, "Appearance.TextColor");
        }
        Application->SetBackEnd(std::make_unique<THeadlessBackEnd>());
        std::printf("Done. On a display, 'qell-designer' opens the designer itself.\n");
    } catch (const Exception& E) {
        Application->SetBackEnd(std::make_unique<THeadlessBackEnd>());
        std::fprintf(stderr, "qell-designer tour: %s\n", E.what());
        return ExitError;
    }
    return ExitOk;
}
