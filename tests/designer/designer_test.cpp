// The designer driven headless as a person drives it, with the real package loaded:
// edits by typing, by the list and by the dialog, saving and reading back, refusals,
// undo and redo, several objects at once, custom colours across dialogs, leaving with
// changes, and the preview's pixels.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "apps/designer/document/Recovery.h"
#include "platform/components/IWQellSpinner.h"
#include "tests/designer/DesignerTesting.h"
#include "tests/support/FileSizeLimit.h"

namespace {

using namespace DesignerTesting;

bool FileExists(const std::string& File) { return std::ifstream(File).good(); }

TEST_F(Designer, EditsByEveryPathAreSavedAndReadBack)
{
    const std::string File = TempFile("every_path.txt");
    std::remove(File.c_str());
    EXPECT_EQ(D->Caption(), "Qell Designer - (new page)");
    Run("pick ButtonOrder\n"
        "inspect Inspector Appearance.BackgroundColor\ntype Inspector \"tomato\"\nkey Enter\n"
        "inspect Inspector Appearance.BorderColor\ndropdown Inspector\nchoose Inspector \"Navy\"\n"
        "inspect Inspector Appearance.TextColor\nellipsis Inspector\npage PageControl1 0\n"
        "select WebColorsGrid 9 0\nclick Button1\n"
        "inspect Inspector Appearance.ShadowColor\nellipsis Inspector\npage PageControl1 0\n"
        "select WebColorsGrid 3 0\nclick Button2\n");
    EXPECT_EQ(Button().BackgroundColor, Web("Tomato"));
    EXPECT_EQ(Button().BorderColor, Web("Navy"));
    EXPECT_EQ(Button().TextColor, IWColors[9].Value);
    EXPECT_EQ(Button().ShadowColor, clBtnShadow) << "Cancel writes nothing";
    EXPECT_TRUE(D->Document().IsModified());
    EXPECT_EQ(D->Caption(), "Qell Designer - (new page) *");

    // A page without a file asks for a name.
    Run("key Ctrl+S\ntype FileName \"" + File + "\"\nclick OK\n");
    EXPECT_FALSE(D->Document().IsModified());
    EXPECT_EQ(D->Caption(), "Qell Designer - " + File);
    const std::unique_ptr<TQellPage> Saved = LoadPageFile(File);
    EXPECT_EQ(PageText(*Saved), Text());

    // Opened again, through Ctrl+O, the values are there.
    D->Document().SetPage(ReadPageText(SamplePageText()), "");
    Run("key Ctrl+O\ntype FileName \"" + File + "\"\nclick OK\n");
    EXPECT_EQ(D->Document().FileName(), File);
    EXPECT_EQ(Button().TextColor, IWColors[9].Value);
    EXPECT_EQ(Button().BorderColor, Web("Navy"));
    EXPECT_FALSE(D->Document().CanUndo());
}

// CSS hex typed with spaces around it is one edit, saved as the web colour it is; the
// chooser saves a new page into a sub-folder, and asks before another replaces it.
TEST_F(Designer, TypedHexIsSavedAndTheChooserAsksBeforeReplacing)
{
    const std::string Folder = TempFile("chooser");
    std::filesystem::remove_all(Folder);
    std::filesystem::create_directories(Folder + "/sub");
    const std::string File = Folder + "/sub/page.txt";
    Run("pick ButtonOrder\ninspect Inspector Appearance.TextColor\ntype Inspector \"  #FF6347 \"\nkey Enter\n"
        "key Ctrl+S\ntype FileName \"" + Folder + "\"\nkey Enter\ntype Files \"su\"\nkey Enter\n"
        "type FileName \"page\"\nkey Enter\n");
    EXPECT_EQ(Button().TextColor, 0x004763FF);
    EXPECT_EQ(D->Document().FileName(), File);
    EXPECT_FALSE(D->Document().IsModified());
    const std::string Saved = Contents(File);
    EXPECT_NE(Saved.find("    Appearance.TextColor = Tomato\n"), std::string::npos) << Saved;
    D->Document().Undo();
    EXPECT_FALSE(D->Document().CanUndo()) << "one step";

    D->Document().SetPage(ReadPageText(SamplePageText()), "");
    TRecordingBackEnd& Back = Run("key Ctrl+S\ntype FileName \"" + File + "\"\nkey Enter\nclick No\nkey Escape\n");
    ASSERT_EQ(Back.Messages.size(), 1u);
    EXPECT_NE(Back.Messages[0].find("already exists"), std::string::npos) << Back.Messages[0];
    EXPECT_EQ(D->Document().FileName(), "");
    EXPECT_EQ(Contents(File), Saved);
    std::filesystem::remove_all(Folder);
}

TEST_F(Designer, ARejectedTextLeavesFileAndInspectorAsTheyWere)
{
    const std::string File = TempFile("rejected.txt");
    ASSERT_TRUE(D->Document().SaveAs(File));
    const std::string Before = Contents(File);
    // The refused text stays in the field until Escape puts the value back.
    TRecordingBackEnd& Back = Run("pick ButtonOrder\ninspect Inspector Appearance.BackgroundColor\n"
                                  "type Inspector \"NoSuchColour\"\nkey Enter\nclick OK\nkey Escape\nkey Ctrl+S\n");
    ASSERT_EQ(Back.Messages.size(), 1u);
    EXPECT_NE(Back.Messages[0].find("NoSuchColour"), std::string::npos) << Back.Messages[0];
    EXPECT_EQ(Button().BackgroundColor, Web("SeaGreen"));
    const TPropertyInspector& I = D->Inspector();
    EXPECT_EQ(I.RowValue(I.FindRow("Appearance.BackgroundColor")), "SeaGreen");
    EXPECT_FALSE(D->Document().IsModified());
    EXPECT_FALSE(D->Document().CanUndo());
    EXPECT_EQ(Contents(File), Before);
}

// A save that fails (here: a full disk) says why in a message box, leaves the file as it
// was and the page modified; the next save that can write does.
TEST_F(Designer, AFailedSaveSaysWhyAndKeepsTheFile)
{
    const std::string File = TempFile("failed_save.txt");
    ASSERT_TRUE(D->Document().SaveAs(File));
    const std::string Before = Contents(File);
    Run("pick ButtonOrder\ninspect Inspector Caption\ntype Inspector \"Order now\"\nkey Enter\n");
    {
        const TFileSizeLimit Full(Before.size() / 2);
        TRecordingBackEnd& Back = Run("key Ctrl+S\nclick OK\n");
        ASSERT_EQ(Back.Messages.size(), 1u);
        EXPECT_NE(Back.Messages[0].find("Cannot write '" + File + "': File too large"), std::string::npos)
            << Back.Messages[0];
    }
    EXPECT_EQ(Contents(File), Before);
    EXPECT_TRUE(D->Document().IsModified());
    EXPECT_EQ(D->Caption(), "Qell Designer - " + File + " *");
    Run("key Ctrl+S\n");
    EXPECT_FALSE(D->Document().IsModified());
    EXPECT_NE(Contents(File).find("Caption = 'Order now'"), std::string::npos);
}

// Slots selected together (Ctrl+click in the list) are written by one edit, which is one
// undo step; undo and redo give back each step's page exactly, the modified mark with it.
TEST_F(Designer, UndoAndRedoRestoreEveryStepExactly)
{
    std::vector<std::string> Steps{Text()};
    Run("pick ButtonOrder\ninspect Inspector Appearance.BackgroundColor\ntype Inspector \"$00ABCDEF\"\nkey Enter\n");
    Steps.push_back(Text());

    const auto ClickEntry = [&](const char* Path, TShiftState Keys) {
        const TDocumentEntry* E = D->Document().FindEntry(Path);
        ASSERT_NE(E, nullptr) << Path;
        const int Index = static_cast<int>(E - D->Document().Entries().data());
        const TRect R = D->List().ItemRect(Index);
        const TPoint P = ScriptSupport::At(D->List(), R.Left + 4, (R.Top + R.Bottom) / 2);
        TShiftState Down = Keys;
        Down.Include(ssLeft);
        D->HandleMouseDown(mbLeft, Down, P.X, P.Y);
        D->HandleMouseUp(mbLeft, Keys, P.X, P.Y);
    };
    ClickEntry("SpinnerFilling.Slots[0]", {});
    ClickEntry("SpinnerFilling.Slots[2]", {ssCtrl});
    ASSERT_EQ(D->Document().Selection().size(), 2u);
    Run("inspect Inspector TextColor\ntype Inspector \"Maroon\"\nkey Enter\n");
    const TQellSpinnerSlots& Slots = Find<TQellSpinner>("SpinnerFilling").Slots;
    EXPECT_EQ(Slots.Items(0)->TextColor, Web("Maroon"));
    EXPECT_EQ(Slots.Items(2)->TextColor, Web("Maroon"));
    EXPECT_EQ(Slots.Items(1)->TextColor, Web("Maroon")) << "the sample's own value";
    Steps.push_back(Text());

    Run("pick PopupConfirm\ninspect Inspector Title\ntype Inspector \"Sure?\"\nkey Enter\n");
    Steps.push_back(Text());
    Run("inspect Inspector Appearance.BodyColor\ndropdown Inspector\nchoose Inspector \"clInfoBk\"\n");
    Steps.push_back(Text());
    ASSERT_EQ(Steps.size(), 5u);

    for (size_t I = Steps.size() - 1; I > 0; --I) {
        Run("key Ctrl+Z\n");
        EXPECT_EQ(Text(), Steps[I - 1]) << "undo to step " << I - 1;
    }
    EXPECT_FALSE(D->Document().CanUndo());
    EXPECT_FALSE(D->Document().IsModified());
    EXPECT_EQ(D->Caption(), "Qell Designer - (new page)");
    Run("key Ctrl+Y\nkey Ctrl+Y\n");
    EXPECT_EQ(Text(), Steps[2]);
    EXPECT_TRUE(D->Document().IsModified());
    Run("key Ctrl+Shift+Z\nkey Ctrl+Y\n");
    EXPECT_EQ(Text(), Steps[4]);
    EXPECT_FALSE(D->Document().CanRedo());
    // The selection survives by name: the popup is still the one in the inspector.
    ASSERT_EQ(D->Document().Selection().size(), 1u);
    EXPECT_EQ(D->Document().Selection()[0], &Find<TQellPopup>("PopupConfirm"));

    // A new edit after an undo drops what could have been redone.
    Run("key Ctrl+Z\ninspect Inspector Title\ntype Inspector \"Really?\"\nkey Enter\n");
    EXPECT_FALSE(D->Document().CanRedo());
    EXPECT_EQ(Find<TQellPopup>("PopupConfirm").Title, "Really?");
}

// Custom colours added in one dialog are offered by the next of the session, and gone
// once the package has been unloaded and loaded again.
TEST_F(Designer, DialogsShareCustomColoursUntilThePackageGoes)
{
    const std::string AddCustom = "pick ButtonOrder\ninspect Inspector Appearance.TextColor\nellipsis Inspector\n"
                                  "page PageControl1 2\nclick PaintBoxColor 51 1\nselect GridCustomColors 0 0\n"
                                  "click ButtonAdd\nkey Escape\n";
    const std::string UseCustom = "pick ButtonOrder\ninspect Inspector Appearance.ShadowColor\nellipsis Inspector\n"
                                  "page PageControl1 2\nselect GridCustomColors 0 0\nclick Button1\n";
    Run(AddCustom);
    EXPECT_EQ(Button().TextColor, Web("White")) << "Cancel";
    Run(UseCustom);
    EXPECT_EQ(Button().ShadowColor, 0x0001BF60);

    Close();
    Open();
    Run(UseCustom);
    EXPECT_NE(Button().ShadowColor, 0x0001BF60);
}

TEST_F(Designer, ABadFileIsRefusedWithItsLineAndThePageKept)
{
    const std::string File = TempFile("bad.txt");
    WriteFileAtomically(File, "object Page1: TQellPage\n  object B: TQellButton\n    Appearance.TextColor = Blurple\n"
                              "  end\nend\n");
    Run("pick ButtonOrder\ninspect Inspector Caption\ntype Inspector \"Kept\"\nkey Enter\n");
    const std::string Before = Text();
    TRecordingBackEnd& Back = Run("key Ctrl+O\nclick Discard\ntype FileName \"" + File + "\"\nclick OK\nclick OK\n");
    ASSERT_EQ(Back.Messages.size(), 2u) << "the question, then the refusal";
    EXPECT_NE(Back.Messages[1].find("line 3"), std::string::npos) << Back.Messages[1];
    EXPECT_NE(Back.Messages[1].find("Blurple"), std::string::npos) << Back.Messages[1];
    EXPECT_EQ(Text(), Before);
    EXPECT_TRUE(D->Document().IsModified()) << "what was shown is still unsaved";
    EXPECT_TRUE(D->Document().CanUndo());
    EXPECT_EQ(D->Document().FileName(), "");
}

TEST_F(Designer, LeavingWithChangesAsksSaveDiscardOrCancel)
{
    const std::string File = TempFile("leaving.txt");
    ASSERT_TRUE(D->Document().SaveAs(File));
    const std::string Edit = "pick ButtonOrder\ninspect Inspector Caption\ntype Inspector \"Pay\"\nkey Enter\n";

    // Cancel keeps the designer open (the next lines still reach it); Discard leaves.
    TRecordingBackEnd& Back = Run(Edit + "close\nclick Cancel\ninspect Inspector Left\nclose\nclick Discard\n");
    EXPECT_EQ(Back.Messages.size(), 2u);
    EXPECT_NE(Back.Messages[0].find("Save the changes to '" + File + "'?"), std::string::npos) << Back.Messages[0];
    EXPECT_EQ(D->ModalResult(), mrCancel);
    EXPECT_EQ(Contents(File).find("Pay"), std::string::npos);

    // Save writes the file before leaving; unchanged, leaving asks nothing.
    TRecordingBackEnd& Again = Run("close\nclick Save\n");
    EXPECT_EQ(Again.Messages.size(), 1u);
    EXPECT_NE(Contents(File).find("Caption = 'Pay'"), std::string::npos);
    EXPECT_EQ(Run("close\n").Messages.size(), 0u);
}

// The preview shows each component exactly as the component draws itself alone on the
// page's colour, at its place; a click there selects it, Ctrl+click adds and takes out.
TEST_F(Designer, ThePreviewDrawsEachComponentAsItDrawsItselfAndSelectsByClicks)
{
    Run("pick ListBread\ninspect Inspector ItemAppearance.SelectedColor\ntype Inspector \"Orchid\"\nkey Enter\n"
        "pick SamplePage\n");
    const TPagePreview& P = D->Preview();
    D->PaintAll();
    const TQellPage& Page = D->Document().Page();
    int Compared = 0;
    for (int I = 0; I < Page.ComponentCount(); ++I) {
        const auto* C = dynamic_cast<const TQellControl*>(Page.Components(I));
        ASSERT_NE(C, nullptr);
        TBitmap Alone(C->Width, C->Height, ColorToRGB(Page.Color));
        TCanvas Canvas(&Alone, {0, 0}, Rect(0, 0, C->Width, C->Height));
        C->Paint(Canvas);
        const TRect R = P.ComponentRect(*C);
        for (int Y = 0; Y < C->Height; ++Y)
            for (int X = 0; X < C->Width; ++X)
                ASSERT_EQ(PixelOf(P, R.Left + X, R.Top + Y), Alone.Pixel(X, Y))
                    << C->Name() << " at " << X << "," << Y;
        ++Compared;
    }
    EXPECT_EQ(Compared, 8);
    const TRect List = P.ComponentRect(Find<TQellList>("ListBread"));
    EXPECT_EQ(PixelOf(P, List.Left + 20, List.Top + 2 * 22 + 5), ColorToRGB(Web("Orchid"))) << "the selected item";

    Run("pick ButtonOrder\npick TrackbarSize ctrl\npick LabelTitle ctrl\npick ButtonOrder ctrl\n");
    EXPECT_EQ(D->Document().Selection(), (std::vector<TPersistent*>{&Find<TQellTrackbar>("TrackbarSize"), &Find<TQellLabel>("LabelTitle")}));
    EXPECT_EQ(D->Inspector().FindRow("Appearance"), -1) << "only what both have";
    EXPECT_NE(D->Inspector().FindRow("Left"), -1);
    Run("click Preview 2 2\n");
    EXPECT_EQ(D->Document().Selection().size(), 2u) << "around the page: nothing changes";
    Run("click Preview 20 20\n");
    EXPECT_EQ(D->Document().Selection(), std::vector<TPersistent*>{&D->Document().Page()}) << "the page itself";
}


// A rename in the inspector is refused as `set` refuses it: a name another component
// has, or none; the component keeps its name and stays found by it.
TEST_F(Designer, TheInspectorRefusesARenameThatLosesTheComponent)
{
    const std::string Before = Text();
    TRecordingBackEnd& Back = Run("pick ButtonOrder\ninspect Inspector Name\ntype Inspector \"LabelTitle\"\nkey Enter\n"
                                  "click OK\nkey Escape\ntype Inspector \"x\"\nkey Backspace\nkey Enter\nclick OK\n"
                                  "key Escape\n");
    ASSERT_EQ(Back.Messages.size(), 2u);
    EXPECT_NE(Back.Messages[0].find("A component named LabelTitle already exists"), std::string::npos)
        << Back.Messages[0];
    EXPECT_NE(Back.Messages[1].find("may not be empty"), std::string::npos) << Back.Messages[1];
    EXPECT_EQ(Find("ButtonOrder").Name(), "ButtonOrder");
    EXPECT_EQ(Text(), Before);
}

// The in-place edit takes no more than the row's editor allows (a string's 255
// characters), however much is typed.
TEST_F(Designer, TypingStopsAtTheEditorsLimit)
{
    Run("pick ButtonOrder\ninspect Inspector Caption\ntype Inspector \"" + std::string(300, 'x') + "\"\nkey Enter\n");
    EXPECT_EQ(Find("ButtonOrder").Caption, std::string(255, 'x'));
}

// A line that fails as it runs fails the script: the rest does not run.
TEST_F(Designer, AScriptLineThatFailsAsItRunsFailsTheScript)
{
    auto B = std::make_unique<TRecordingBackEnd>("inspect Inspector No.Such.Row\npick LabelTitle\n");
    TRecordingBackEnd& Back = *B;
    Application->SetBackEnd(std::move(B));
    D->ShowModal();
    EXPECT_TRUE(Back.Failed());
    EXPECT_EQ(Back.ScriptError(), "script line 1: no property row 'No.Such.Row'");
    EXPECT_FALSE(D->Document().IsSelected(&Find<TQellLabel>("LabelTitle")));
}

// Another writer changed the file since it was read: saving asks Overwrite, Reload or
// Cancel, and does what was chosen.
TEST_F(Designer, SavingOverAFileChangedOnDiskAsksFirst)
{
    const std::string File = TempFile("changed.txt");
    ASSERT_TRUE(D->Document().SaveAs(File));
    const std::string Theirs = [&] {
        std::string T = Contents(File);
        T.replace(T.find("Caption = 'Order'"), 17, "Caption = 'Theirs'");
        return T;
    }();
    const auto TheyWrite = [&] { WriteFileAtomically(File, Theirs); };
    const std::string Edit = "pick ButtonOrder\ninspect Inspector Caption\ntype Inspector \"Mine\"\nkey Enter\n";

    Run(Edit);
    TheyWrite();
    TRecordingBackEnd& Back = Run("key Ctrl+S\nclick Cancel\n");
    ASSERT_EQ(Back.Messages.size(), 1u);
    EXPECT_NE(Back.Messages[0].find("'" + File + "' has changed on disk since it was read"), std::string::npos)
        << Back.Messages[0];
    EXPECT_EQ(Contents(File), Theirs);
    EXPECT_TRUE(D->Document().IsModified());

    Run("key Ctrl+S\nclick Overwrite\n");
    EXPECT_NE(Contents(File).find("Caption = 'Mine'"), std::string::npos);
    EXPECT_FALSE(D->Document().IsModified());
    EXPECT_EQ(Run("key Ctrl+S\n").Messages.size(), 0u) << "its own write is no change";

    Run(Edit + "pick LabelTitle\n");
    TheyWrite();
    Run("key Ctrl+S\nclick Reload\n");
    EXPECT_EQ(Contents(File), Theirs);
    EXPECT_EQ(Find("ButtonOrder").Caption, "Theirs");
    EXPECT_FALSE(D->Document().IsModified());
}

// Ctrl+O on a FIFO is refused at once, saying what the name holds, never waited on.
TEST_F(Designer, OpeningAFifoIsRefusedAtOnce)
{
    const std::string Fifo = TempFile("fifo.txt");
    unlink(Fifo.c_str());
    ASSERT_EQ(mkfifo(Fifo.c_str(), 0600), 0);
    TRecordingBackEnd& Back = Run("key Ctrl+O\ntype FileName \"" + Fifo + "\"\nkey Enter\nclick OK\nkey Escape\n");
    ASSERT_EQ(Back.Messages.size(), 1u);
    // The chooser refuses it before anything opens it.
    EXPECT_NE(Back.Messages[0].find("is not a regular file"), std::string::npos) << Back.Messages[0];
    EXPECT_EQ(D->Document().FileName(), "");
    unlink(Fifo.c_str());
}

// Unsaved changes written when the designer had to end are offered when the page is
// opened again: closing the box keeps them for later, Recover shows them as an unsaved
// change over the file's text and keeps the file until the page is saved, Discard drops
// them. A page without a file recovers into the state folder.
TEST_F(Designer, RecoveredChangesAreOfferedWhenThePageIsOpenedAgain)
{
    const std::string File = TempFile("recovered.txt"), Recovered = RecoveryFileBeside(File);
    std::remove(Recovered.c_str());
    ASSERT_TRUE(D->Document().SaveAs(File));
    const std::string OnDisk = Contents(File);
    EXPECT_EQ(D->Document().WriteRecovery(), "") << "nothing unsaved";
    Run("pick ButtonOrder\ninspect Inspector Appearance.BackgroundColor\ntype Inspector \"tomato\"\nkey Enter\n");
    const std::string Edited = Text();
    ASSERT_NE(Edited, OnDisk);
    EXPECT_EQ(D->Document().WriteRecovery(), Recovered);
    EXPECT_EQ(Contents(Recovered), Edited);
    EXPECT_EQ(Contents(File), OnDisk);

    std::vector<std::string> Shown = OpenAsAPerson(File, "");
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_NE(Shown[0].find(Recovered), std::string::npos) << Shown[0];
    EXPECT_EQ(Text(), OnDisk);
    EXPECT_FALSE(D->Document().IsModified());
    EXPECT_EQ(Contents(Recovered), Edited) << "kept for later";

    OpenAsAPerson(File, "click Recover\n");
    EXPECT_EQ(Text(), Edited);
    EXPECT_TRUE(D->Document().IsModified());
    EXPECT_EQ(D->Caption(), "Qell Designer - " + File + " *");
    EXPECT_TRUE(FileExists(Recovered)) << "kept until the page is saved";
    D->Document().Undo();
    EXPECT_EQ(Text(), OnDisk) << "one undo step back to the file";
    EXPECT_FALSE(D->Document().IsModified());
    D->Document().Redo();
    ASSERT_TRUE(D->Document().SaveAs(File));
    EXPECT_FALSE(FileExists(Recovered)) << "saved: nothing left to recover";

    Run("pick ButtonOrder\ninspect Inspector Appearance.BackgroundColor\ntype Inspector \"navy\"\nkey Enter\n");
    ASSERT_EQ(D->Document().WriteRecovery(), Recovered);
    OpenAsAPerson(File, "click Discard\n");
    EXPECT_EQ(Text(), Edited);
    EXPECT_FALSE(D->Document().IsModified());
    EXPECT_FALSE(FileExists(Recovered));
    EXPECT_TRUE(OpenAsAPerson(File, "").empty()) << "nothing left to offer";

    const std::string State = ::testing::TempDir() + "designer_state";
    ASSERT_EQ(setenv("XDG_STATE_HOME", State.c_str(), 1), 0);
    D->Document().SetPage(ReadPageText(SamplePageText()), "");
    Run("pick ButtonOrder\ninspect Inspector Appearance.BackgroundColor\ntype Inspector \"navy\"\nkey Enter\n");
    const std::string Written = D->Document().WriteRecovery();
    unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(Written.rfind(State + "/qell-designer/new-page-", 0), 0u) << Written;
    EXPECT_EQ(Contents(Written), Text());
    std::remove(Written.c_str());
}

} // namespace
