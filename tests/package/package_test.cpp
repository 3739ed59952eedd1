// The package as a host meets it: loaded at run time, registered, used through the
// inspector, finalised and unloaded; and every way loading can be refused.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "colour/IWColors.h"
#include "platform/components/IWQellSpinner.h"
#include "platform/designide/EditorRegistry.h"
#include "platform/designide/PropertyInspector.h"
#include "platform/rtl/PackageFile.h"
#include "platform/rtl/PackageLoader.h"
#include "tests/support/FormTesting.h"

namespace {

using namespace std::chrono_literals;

// How many of the process's mappings are of File (its absolute path).
int MappingsOf(const std::string& File)
{
    std::ifstream Maps("/proc/self/maps");
    int N = 0;
    for (std::string Line; std::getline(Maps, Line);) N += Line.ends_with(File) ? 1 : 0;
    return N;
}

// A folder of one's own, removed with what it holds.
struct TTemporaryFolder {
    std::string Path;
    TTemporaryFolder()
    {
        std::string Template = (std::filesystem::temp_directory_path() / "package_test_XXXXXX").string();
        Path = mkdtemp(Template.data()) ? Template : "";
    }
    ~TTemporaryFolder() { std::filesystem::remove_all(Path); }
};

// The package loaded and registered for one test.
struct TLoaded {
    TPackageHandle Package;
    explicit TLoaded(const std::string& Path = QELL_PACKAGE) : Package(LoadPackage(Path))
    {
        for (void (*Register)() : GetPackageRegisterProcs(Package)) Register();
    }
    ~TLoaded() { EXPECT_EQ(UnloadPackage(Package), ""); }
    template <typename T>
    T Symbol(const char* Name) const
    {
        return reinterpret_cast<T>(GetPackageSymbol(Package, Name));
    }
};

std::string EditorOf(const TClassInfo& Class, const char* Property)
{
    return GetEditorClass(*Class.FindProperty(Property), Class)->Name;
}

TEST(Package, BindsTheEditorToEveryTIWColorPropertyOfTheEightClassesOnly)
{
    const TClassInfo* Eight[] = {&TQellButtonAppearance::StaticClassInfo(),  &TQellOnOffButtonAppearance::StaticClassInfo(),
                                 &TQellTrackbarAppearance::StaticClassInfo(), &TQellListItemAppearance::StaticClassInfo(),
                                 &TQellIndicator::StaticClassInfo(),          &TQellSpinnerSlot::StaticClassInfo(),
                                 &TQellSpinnerAppearance::StaticClassInfo(),  &TQellPopupAppearance::StaticClassInfo()};
    {
        TLoaded L;
        int Bound = 0;
        for (const TClassInfo* C : Eight)
            for (const TPropInfo* P : C->AllProperties())
                if (P->PropType == &TypeInfoTIWColor) {
                    EXPECT_EQ(EditorOf(*C, P->Name.c_str()), "TIWKAVMOBILEColorEditor") << C->Name << "." << P->Name;
                    ++Bound;
                }
        EXPECT_GE(Bound, 16);
        EXPECT_EQ(EditorOf(TQellLabel::StaticClassInfo(), "TextColor"), "TIWColorProperty") << "outside the table";
        EXPECT_EQ(EditorOf(TQellPage::StaticClassInfo(), "Color"), "TColorProperty") << "a toolkit TColor";
    }
    for (const TClassInfo* C : Eight)
        for (const TPropInfo* P : C->AllProperties()) {
            if (P->PropType != &TypeInfoTIWColor) continue;
            EXPECT_EQ(EditorOf(*C, P->Name.c_str()), "TIWColorProperty") << "gone with the package";
        }
}

TEST(Package, ExportsWhatItOffersByNameAndNothingElse)
{
    const std::set<std::string> Named = {
        "Initialize", "Finalize", "GetPackageInfoTable", "IW14QellDEDXE7.GetPackageInfoTable",
        "IW14QellDEDXE7.PackageLoad", "IW14QellDEDXE7.PackageUnload", "IW14QellDEDXE7.Initialization",
        "IWQellRegDE.Register", "IWQellRegDE.Initialization", "IWQellRegDE.Finalization",
        "IWKAVMOBILEDsnColor.Initialization", "IWKAVMOBILEDsnColor.Finalization", "IWKAVMOBILEDsnColor.CustomColorsList",
        "IWKAVMOBILEDsnColor.TIWKAVMOBILEColorEditor", "IWKAVMOBILEDsnColorDialog.Initialization",
        "IWKAVMOBILEDsnColorDialog.Finalization", "IWKAVMOBILEDsnColorDialog.IWColorForm",
        "IWKAVMOBILEDsnColorDialog.TIWKAVMOBILEColorForm"};
    TLoaded L;
    for (const std::string& Name : Named) EXPECT_NE(L.Symbol<void*>(Name.c_str()), nullptr) << Name;
    // Nothing else: the rest is the two classes' C++ symbols (methods, type information).
    const std::vector<uint8_t> Bytes = ReadFileBytes(QELL_PACKAGE);
    for (const std::string& Name : TElfFile(Bytes).ExportedSymbols())
        EXPECT_TRUE(Named.contains(Name) || Name.find("TIWKAVMOBILEColorForm") != std::string::npos ||
                    Name.find("TIWKAVMOBILEColorEditor") != std::string::npos)
            << Name;
    EXPECT_EQ(*L.Symbol<void**>("IWKAVMOBILEDsnColorDialog.IWColorForm"), nullptr) << "never set by the package";
    const auto* Table = L.Symbol<const TPackageInfoTable* (*)()>("GetPackageInfoTable")();
    EXPECT_EQ(Table, L.Symbol<const TPackageInfoTable* (*)()>("IW14QellDEDXE7.GetPackageInfoTable")());
    EXPECT_GE(Table->UnitCount, 20);
}

TEST(Package, UnitsAreCountedAndAReloadStartsWithNoCustomColours)
{
    TStringList* First = nullptr;
    {
        TLoaded L;
        auto** List = L.Symbol<TStringList**>("IWKAVMOBILEDsnColor.CustomColorsList");
        auto* Init = L.Symbol<void (*)()>("IWKAVMOBILEDsnColor.Initialization");
        auto* Fin = L.Symbol<void (*)()>("IWKAVMOBILEDsnColor.Finalization");
        First = *List;
        ASSERT_NE(First, nullptr) << "made by the package's initialisation";
        EXPECT_EQ(First->Count(), 0);
        First->Add("$000000FF");
        Init(); // a second initialisation does nothing
        EXPECT_EQ(*List, First);
        Fin(); // the finalisation that balances it leaves the list alone
        EXPECT_EQ(*List, First);
        EXPECT_EQ((*List)->Count(), 1);
    } // the package's finalisation frees it
    TLoaded Again;
    auto** List = Again.Symbol<TStringList**>("IWKAVMOBILEDsnColor.CustomColorsList");
    ASSERT_NE(*List, nullptr);
    EXPECT_EQ((*List)->Count(), 0) << "custom colours are lost with the package";
}

struct TRefusal {
    std::string Path;
    std::string Expected;
};

TEST(Package, RefusalsNameWhatIsWrongAndLeaveNothingBehind)
{
    const std::string Rtl = QELL_RTL_LIBRARY;
    const TTemporaryFolder Folder;
    const struct TFifo {
        std::string Path;
    } Fifo{Folder.Path + "/fifo.bpl"};
    ASSERT_EQ(mkfifo(Fifo.Path.c_str(), 0600), 0);
    const TRefusal Cases[] = {
        {"/no/such/IW14QellDEDXE7.bpl", "No such file or directory"},
        {"/", "a directory, not a regular file"},
        {Fifo.Path, "a FIFO, not a regular file"}, // opened without blocking: no hang
        {Rtl, "no resource section"},
        {QELL_UNMET_PACKAGE, "it requires Missing210.bpl, which is not present"},
        {QELL_NO_EXPORTS_PACKAGE, "it does not export Initialize"},
    };
    for (const TRefusal& C : Cases) {
        const int Mapped = MappingsOf(C.Path);
        try {
            LoadPackage(C.Path);
            ADD_FAILURE() << "loaded " << C.Path;
        } catch (const EPackageError& E) {
            EXPECT_NE(std::string(E.what()).find(C.Path), std::string::npos) << E.what();
            EXPECT_NE(std::string(E.what()).find(C.Expected), std::string::npos) << E.what();
        }
        EXPECT_EQ(MappingsOf(C.Path), Mapped) << C.Path << " stays mapped";
        EXPECT_FALSE(IsPackagePresent("IW14QellDEDXE7.bpl"));
    }
}

// The same file loaded twice is one module: the first unload leaves the other load's
// registrations in place, the last takes them.
TEST(Package, RegistrationsStayUntilTheLastLoadOfTheFileGoes)
{
    const TClassInfo& Button = TQellButtonAppearance::StaticClassInfo();
    const TPackageHandle First = LoadPackage(QELL_PACKAGE);
    for (void (*Register)() : GetPackageRegisterProcs(First)) Register();
    const TPackageHandle Second = LoadPackage(QELL_PACKAGE);
    EXPECT_EQ(PackageInstance(Second), PackageInstance(First));
    EXPECT_EQ(ModuleLoadCount(PackageInstance(First)), 2);
    EXPECT_EQ(UnloadPackage(First), "");
    EXPECT_EQ(EditorOf(Button, "BackgroundColor"), "TIWKAVMOBILEColorEditor") << "the second load still holds it";
    EXPECT_TRUE(IsPackagePresent("IW14QellDEDXE7.bpl"));
    const TModuleHandle Module = PackageInstance(Second);
    EXPECT_EQ(UnloadPackage(Second), "");
    EXPECT_EQ(ModuleLoadCount(Module), 0);
    EXPECT_NE(EditorOf(Button, "BackgroundColor"), "TIWKAVMOBILEColorEditor");
    EXPECT_FALSE(IsPackagePresent("IW14QellDEDXE7.bpl"));
}

// Copies of the package with bytes of its program headers and dynamic section changed
// at random, each loaded in a child process as a host would load it: each is loaded
// or refused with one line, and none ends the host with a signal (the system loader
// faulted on three in four such copies before their checks).
TEST(Package, DamagedProgramHeadersAndDynamicSectionsNeverCrashTheHost)
{
    const std::vector<uint8_t> Good = ReadFileBytes(QELL_PACKAGE);
    const auto Get = [&](size_t At, int Size) {
        uint64_t V = 0;
        for (int I = 0; I < Size; ++I) V |= uint64_t{Good.at(At + I)} << (8 * I);
        return V;
    };
    const size_t Table = Get(32, 8), Count = Get(56, 2);
    std::vector<std::pair<size_t, size_t>> Ranges{{Table, Table + 56 * Count}};
    for (size_t I = 0; I < Count; ++I) {
        const size_t Header = Table + 56 * I, Offset = Get(Header + 8, 8);
        if (Get(Header, 4) == 2) Ranges.emplace_back(Offset, Offset + Get(Header + 32, 8)); // the dynamic section
    }
    const TTemporaryFolder Folder;
    std::mt19937 Random(15);
    int Loaded = 0, Refused = 0;
    for (int Case = 0; Case < 30; ++Case) {
        std::vector<uint8_t> Bytes = Good;
        std::string Changes;
        for (int N = 1 + static_cast<int>(Random() % 2); N > 0; --N) {
            const auto& [From, To] = Ranges[Random() % Ranges.size()];
            const size_t At = From + Random() % (To - From);
            Bytes[At] = Random() % 2 ? static_cast<uint8_t>(Random()) : Bytes[At] ^ (1u << (Random() % 8));
            Changes += " " + std::to_string(At);
        }
        const std::string Path = Folder.Path + "/damaged-" + std::to_string(Case) + ".bpl";
        std::ofstream(Path, std::ios::binary)
            .write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
        const pid_t Child = fork();
        ASSERT_GE(Child, 0);
        if (Child == 0) {
            int Exit = 0;
            try {
                TLoaded L(Path);
            } catch (const EPackageError& E) {
                Exit = std::string(E.what()).find('\n') == std::string::npos ? 1 : 2;
            } catch (...) {
                Exit = 3;
            }
            _exit(Exit);
        }
        int Status = 0;
        ASSERT_EQ(waitpid(Child, &Status, 0), Child);
        ASSERT_FALSE(WIFSIGNALED(Status)) << "signal " << WTERMSIG(Status) << " with bytes changed at" << Changes;
        ASSERT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) <= 1)
            << "exit " << WEXITSTATUS(Status) << " with bytes changed at" << Changes;
        ++(WEXITSTATUS(Status) == 0 ? Loaded : Refused);
    }
    EXPECT_GT(Refused, 0);
    EXPECT_GT(Loaded, 0) << "changes to fields the loader ignores still load";
}

// A library that faults in its own start-up code passes every check of its bytes; its
// first load, tried in a child process, refuses it, and the verdict is kept by the
// file's identity: tried once however often it is loaded, and again once it changed.
TEST(Package, AFileThatCrashesItsLoaderIsRefusedByATrialLoadTriedOncePerIdentity)
{
    const TTemporaryFolder Folder;
    const std::string Copy = Folder.Path + "/crashing.bpl", Log = Folder.Path + "/trials";
    std::filesystem::copy_file(QELL_CRASHING_PACKAGE, Copy);
    ASSERT_EQ(setenv("QELL_TRIAL_LOG", Log.c_str(), 1), 0);
    const auto Trials = [&] {
        std::ifstream In(Log);
        int N = 0;
        for (std::string Line; std::getline(In, Line);) ++N;
        return N;
    };
    for (int Load = 1; Load <= 3; ++Load) {
        if (Load == 3) std::filesystem::last_write_time(Copy, std::filesystem::last_write_time(Copy) + 1s);
        try {
            LoadPackage(Copy);
            ADD_FAILURE() << "loaded";
        } catch (const EPackageError& E) {
            // A signal, or under the address sanitizer, whose handler turns the crash into an
            // exit, that exit's status.
            const std::string Why = E.what();
            EXPECT_TRUE(Why.find("a trial load crashed with signal 11") != std::string::npos ||
                        Why.find("a trial load ended with exit status") != std::string::npos)
                << Why;
            EXPECT_NE(Why.find("in its start-up code on its first load"), std::string::npos) << Why;
        }
        EXPECT_EQ(Trials(), Load == 3 ? 2 : 1) << "load " << Load;
    }
    unsetenv("QELL_TRIAL_LOG");
    EXPECT_EQ(MappingsOf(std::filesystem::canonical(Copy).string()), 0);
}

// A user in the inspector, with the editor the loaded package registered: a button's
// colour shows its name and swatch, takes a name from the list, a typed literal, and a
// colour from the dialog, and each ends in the component.
TEST(Package, TheInspectorEditsAComponentThroughThePackagesEditor)
{
    TLoaded L;
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 300, 500);
    auto* Inspector = Place<TPropertyInspector>(Form, Form, 0, 0, 300, 500);
    Inspector->SetName("Inspector");
    TQellButton Button(nullptr);
    Button.SetName("Button1");
    Inspector->SetSelection({&Button});
    ASSERT_TRUE(Inspector->SelectPath("Appearance.BackgroundColor"));
    const int Row = Inspector->SelectedRow();
    EXPECT_EQ(Inspector->RowEditor(Row)->ClassName(), "TIWKAVMOBILEColorEditor");
    EXPECT_EQ(Inspector->RowValue(Row), IWColorToString(Button.Appearance.BackgroundColor));

    UseScript("inspect Inspector Appearance.BackgroundColor\ndropdown Inspector\nchoose Inspector \"Olive\"\n");
    Form.ShowModal();
    EXPECT_EQ(Button.Appearance.BackgroundColor, 0x008080);
    Form.PaintAll();
    const TRect V = Inspector->ValueRect(Inspector->FindRow("Appearance.BackgroundColor"));
    EXPECT_EQ(PixelOf(*Inspector, V.Left + 5, V.Top + 5), 0x008080) << "the swatch";

    UseScript("inspect Inspector Appearance.BorderColor\ntype Inspector \"$00123456\"\nkey Enter\n"
              "inspect Inspector Appearance.TextColor\nellipsis Inspector\npage PageControl1 0\n"
              "select WebColorsGrid 9 0\nclick Button1\n");
    Form.ShowModal();
    EXPECT_EQ(Button.Appearance.BorderColor, 0x123456);
    EXPECT_EQ(Button.Appearance.TextColor, IWColors[9].Value);
    Inspector->SetSelection({}); // the editors go before the package does
    ResetBackEnd();
}

} // namespace
