// Modal sessions of the sample form driven by event scripts through the application's
// loop, as a user at the keyboard and mouse would drive them.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <memory>
#include <string>

#include "tests/support/FormTesting.h"
#include "tests/toolkit/SampleForm.h"

namespace {

class HeadlessSession : public ::testing::Test {
protected:
    void SetUp() override { Form = std::make_unique<TSampleForm>(Application); }
    void TearDown() override
    {
        Form.reset();
        ResetBackEnd();
    }

    // Runs the form modally on Script; Back stays valid until the next Run.
    TModalResult Run(std::string_view Script, TForm* Target = nullptr)
    {
        Back = &UseScript(Script);
        return (Target ? *Target : *Form).ShowModal();
    }


    std::string TempFile(const std::string& Name) { return ::testing::TempDir() + "headless_" + Name; }

    std::unique_ptr<TSampleForm> Form;
    THeadlessBackEnd* Back = nullptr;
};

TEST(HeadlessScript, LinesThatCannotBeReadFailAtLoadingWithTheirLineNumber)
{
    struct TCase {
        const char* Script;
        const char* Message;
    };
    const TCase Cases[] = {
        {"click ButtonOK\n\n  jump Foo", "script line 3: unknown command 'jump'"},
        {"# comment\nclick PaintBox1 1x 2", "script line 2: bad number '1x'"},
        {"type EditName \"abc", "script line 1: missing closing quote"},
        {"type EditName abc", "script line 1: expected a quoted text, found 'abc'"},
        {"key Ctrl+Banana", "script line 1: unknown key 'Ctrl+Banana'"},
        {"click ButtonOK 5", "script line 1: usage: click NAME [X Y]"},
        {"press PaintBox1 1 2 middle", "script line 1: usage: press NAME X Y [right]"},
        {"drag TrackBar1 1 2 3 4 0", "script line 1: '0' is out of range (1..5000)"},
        // Hostile sizes are refused where they are read, before they can cost memory or
        // overflow the arithmetic on coordinates.
        {"drag PageControl1 0 0 100 100 2000000000", "script line 1: '2000000000' is out of range (1..5000)"},
        {"click ButtonOK 2147483647 2147483647", "script line 1: '2147483647' is out of range (-1000000..1000000)"},
        {"click ButtonOK 99999999999999999999 0",
         "script line 1: '99999999999999999999' is out of range (-1000000..1000000)"},
        {"move PaintBox1 -1000001 0", "script line 1: '-1000001' is out of range (-1000000..1000000)"},
        {"\x1b[2J", "script line 1: unknown command '\\x1b[2J'"},
        {"text \"a\"b", "script line 1: unexpected text after the closing quote"},
    };
    for (const TCase& C : Cases) {
        try {
            THeadlessBackEnd Back(C.Script);
            ADD_FAILURE() << "no error for: " << C.Script;
        } catch (const EScriptError& E) {
            EXPECT_EQ(E.Message(), C.Message) << C.Script;
        }
    }
}

TEST(HeadlessScript, AFailedLoadKeepsThePreviousScriptAndAMissingFileIsNamed)
{
    THeadlessBackEnd Back("key Enter\n");
    EXPECT_THROW(Back.LoadScript("key Enter\nbogus"), EScriptError);
    EXPECT_FALSE(Back.AtEnd());
    try {
        Back.LoadScriptFile("/nonexistent/dir/script.txt");
        ADD_FAILURE() << "no error for a missing file";
    } catch (const Exception& E) {
        EXPECT_NE(E.Message().find("/nonexistent/dir/script.txt"), std::string::npos) << E.Message();
    }
    // A folder is no script: an error saying what it is, not an empty script.
    try {
        Back.LoadScriptFile(::testing::TempDir());
        ADD_FAILURE() << "no error for a folder";
    } catch (const EScriptError& E) {
        EXPECT_NE(E.Message().find("a directory, not a regular file"), std::string::npos) << E.Message();
    }
    EXPECT_FALSE(Back.AtEnd()) << "the previous script stays";
}

// A headless run has the process's own clipboard: what is copied is pasted again,
// whole, across modal runs, and nothing reaches a system clipboard.
TEST(HeadlessClipboard, KeepsTextInTheProcessAcrossModalRuns)
{
    UseScript("key Escape\n");
    TBackEnd& Back = Application->BackEnd();
    EXPECT_EQ(Back.ClipboardText(), "");
    const std::string Copied = "Appearance.TextColor\t#FF6347\n\xE2\x9C\x93";
    Back.SetClipboardText(Copied);
    {
        TForm Form(nullptr);
        EXPECT_EQ(Form.ShowModal(), mrCancel);
    }
    EXPECT_EQ(Application->BackEnd().ClipboardText(), Copied);
    Back.SetClipboardText("");
    EXPECT_EQ(Back.ClipboardText(), "");
    ResetBackEnd();
}

TEST_F(HeadlessSession, ButtonsKeysAndTheEndOfTheScriptDecideTheModalResult)
{
    EXPECT_EQ(Run(""), mrCancel);
    EXPECT_EQ(Run("# nothing but a comment\n"), mrCancel);
    EXPECT_EQ(Run("click ButtonOK"), mrOk);
    EXPECT_EQ(Run("click ButtonCancel"), mrCancel);
    // Enter on a focused button presses that button; from the edit it presses the default.
    EXPECT_EQ(Run("type EditName \"\"\nkey Enter"), mrOk);
    EXPECT_EQ(Run("click ButtonCancel\nkey Enter"), mrCancel);
    EXPECT_EQ(Run("key Escape\nclick ButtonOK"), mrCancel);
    EXPECT_FALSE(Back->AtEnd()) << "the line after the closing key must not run";
    EXPECT_FALSE(Back->Failed());
    EXPECT_FALSE(Form->Modal());
}

TEST_F(HeadlessSession, TypingReplacesTheEditTextAndFiresItsChangeEvent)
{
    EXPECT_EQ(Run("type EditName \"Old\"\ntype EditName \"Ada\"\ntext \" L\"\nkey Backspace\nkey Enter"), mrOk);
    EXPECT_EQ(Form->EditName->Text(), "Ada ");
    EXPECT_EQ(Form->StatusBar1->SimpleText(), "Name: Ada ");
    EXPECT_TRUE(Form->EditName->Focused());

    // One text input per character, also for characters beyond ASCII.
    EXPECT_EQ(Run("type EditName \"Zo\xC3\xAB \\\"q\\\"\""), mrCancel);
    EXPECT_EQ(Form->EditName->Text(), "Zo\xC3\xAB \"q\"");
}

TEST_F(HeadlessSession, ClicksLandAtCoordinatesRelativeToTheNamedControl)
{
    EXPECT_EQ(Run("click PaintBox1 10 20\nclick ButtonCount\nclick ButtonCount 2 2"), mrCancel);
    EXPECT_EQ(Form->Mark(), (TPoint{10, 20}));
    EXPECT_EQ(Form->Clicks(), 2);
    EXPECT_EQ(Form->LabelCount->Caption(), "Clicks: 2");
    // The paint box's handler drew its cross there, and the loop painted it.
    EXPECT_EQ(PixelOf(*Form->PaintBox1, 10, 20), clRed);
    EXPECT_EQ(PixelOf(*Form->PaintBox1, 10, 16), clRed);
    EXPECT_EQ(PixelOf(*Form->PaintBox1, 3, 3), clWhite);

    // Coordinates on the form itself are surface coordinates.
    TPoint O = Form->PaintBox1->SurfaceOrigin();
    EXPECT_EQ(Run("press form " + std::to_string(O.X + 30) + " " + std::to_string(O.Y + 40) + "\nrelease form 0 0"),
              mrCancel);
    EXPECT_EQ(Form->Mark(), (TPoint{30, 40}));
}

TEST_F(HeadlessSession, DragsAndKeysMoveTheTrackBar)
{
    TTrackBar& T = *Form->TrackBar1;
    TRect Thumb = T.ThumbRect();
    const int X = (Thumb.Left + Thumb.Right) / 2, Y = (Thumb.Top + Thumb.Bottom) / 2;
    // Far beyond either end the thumb stops at that end, wherever it was grabbed.
    Run("drag TrackBar1 " + std::to_string(X) + " " + std::to_string(Y) + " " + std::to_string(X) + " " +
        std::to_string(T.Height() + 50) + " 3");
    EXPECT_EQ(T.Position(), T.Max());
    EXPECT_EQ(Form->StatusBar1->SimpleText(), "Position: " + std::to_string(T.Max()));

    // Press, a move with the button held, release: the same as a drag, step by step.
    Thumb = T.ThumbRect();
    const int Y2 = (Thumb.Top + Thumb.Bottom) / 2;
    Run("press TrackBar1 " + std::to_string(X) + " " + std::to_string(Y2) + "\nmove TrackBar1 " +
        std::to_string(X) + " -50 left\nrelease TrackBar1 " + std::to_string(X) + " -50");
    EXPECT_EQ(T.Position(), T.Min());

    Run("type TrackBar1 \"\"\nkey End\nkey Home\nkey Down\nkey Down");
    EXPECT_TRUE(T.Focused());
    EXPECT_EQ(T.Position(), 2);
}

TEST_F(HeadlessSession, PagesAndGridCellsAreChosenByIndex)
{
    EXPECT_EQ(Run("page PageControl1 1\nselect DrawGrid1 2 3\nkey Enter"), mrOk);
    EXPECT_EQ(Form->PageControl1->ActivePageIndex(), 1);
    EXPECT_EQ(Form->DrawGrid1->Col(), 2);
    EXPECT_EQ(Form->DrawGrid1->Row(), 3);
    EXPECT_EQ(Form->StatusBar1->SimpleText(), "Cell: 2,3");
    TRect Cell = Form->DrawGrid1->CellRect(1, 1);
    EXPECT_EQ(PixelOf(*Form->DrawGrid1, (Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2),
              TSampleForm::CellColor(1, 1));
    EXPECT_EQ(Form->Report(), "name: \ncell: 2,3\nposition: 0\npage: 1\nmark: -1,-1\nclicks: 0\n");
}

TEST_F(HeadlessSession, MnemonicsAndTabReachTheirControls)
{
    EXPECT_EQ(Run("key Alt+C\nkey Alt+c\ntype EditName \"a\"\nkey Shift+Tab\nkey Tab\ntext \"b\""), mrCancel);
    EXPECT_EQ(Form->Clicks(), 2);
    // Tab back into the edit selects its text, so the typing replaces it.
    EXPECT_TRUE(Form->EditName->Focused());
    EXPECT_EQ(Form->EditName->Text(), "b");
}

TEST_F(HeadlessSession, SnapshotsSaveTheSurfaceOrOneControlsPart)
{
    const std::string Whole = TempFile("whole.png"), Part = TempFile("part.png"), Final = TempFile("final.png");
    std::remove(Final.c_str());
    auto B = std::make_unique<THeadlessBackEnd>("click PaintBox1 5 5\nsnapshot " + Whole + "\nsnapshot \"" + Part +
                                                "\" PaintBox1\nclick PaintBox1 20 100");
    B->SetFinalSnapshot(Final);
    Back = B.get();
    Application->SetBackEnd(std::move(B));
    EXPECT_EQ(Form->ShowModal(), mrCancel);

    TBitmap Saved = TBitmap::LoadFromPNG(Whole);
    ASSERT_EQ(Saved.Width(), Form->ClientWidth());
    ASSERT_EQ(Saved.Height(), Form->ClientHeight());
    TPoint O = Form->PaintBox1->SurfaceOrigin();
    EXPECT_EQ(Saved.Pixel(O.X + 5, O.Y + 5), clRed);
    EXPECT_EQ(Saved.Pixel(O.X + 20, O.Y + 100), clWhite) << "the later click must not be in the snapshot";

    TBitmap Box = TBitmap::LoadFromPNG(Part);
    EXPECT_EQ(Box.Width(), Form->PaintBox1->Width());
    EXPECT_EQ(Box.Height(), Form->PaintBox1->Height());
    EXPECT_EQ(Box.Pixel(5, 5), clRed);

    EXPECT_EQ(TBitmap::LoadFromPNG(Final), Form->Surface());
    EXPECT_EQ(Form->Surface().Pixel(O.X + 20, O.Y + 100), clRed);
}

TEST_F(HeadlessSession, AnExceptionInAHandlerIsReportedAndTheLoopGoesOn)
{
    Form->ButtonCount->OnClick = [](TObject*) { throw Exception("count failed"); };
    ::testing::internal::CaptureStderr();
    TModalResult R = Run("click ButtonCount\ntype EditName \"after\"\nclick ButtonCount\nclick ButtonOK");
    std::string Err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(R, mrOk);
    EXPECT_EQ(Form->EditName->Text(), "after");
    EXPECT_EQ(Back->Errors(), (std::vector<std::string>{"count failed", "count failed"}));
    EXPECT_NE(Err.find("count failed"), std::string::npos) << Err;
    EXPECT_FALSE(Back->Failed());

    // Painting after an event is part of the turn: its errors are reported too, and
    // so is something thrown that is not an exception object.
    Form->ButtonCount->OnClick = [](TObject*) { throw 42; };
    Form->PaintBox1->OnPaint = [](TObject*) { throw Exception("paint failed"); };
    ::testing::internal::CaptureStderr();
    R = Run("click PaintBox1 5 5\nclick ButtonCount\ntype EditName \"still\"\nkey Enter");
    Err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(R, mrOk);
    EXPECT_EQ(Form->EditName->Text(), "still");
    EXPECT_EQ(Form->Mark(), (TPoint{5, 5}));
    ASSERT_GE(Back->Errors().size(), 2u);
    EXPECT_EQ(Back->Errors()[0], "paint failed");
    EXPECT_EQ(Back->Errors().back(), "Unknown exception in an event handler");
}

TEST_F(HeadlessSession, ALineThatCannotBeCarriedOutEndsTheRunWithItsLineNumber)
{
    struct TCase {
        std::string Script;
        std::string Message;
    };
    const TCase Cases[] = {
        {"click ButtonCount\n\nclick Nope\nclick ButtonCount", "script line 3: no control named 'Nope' on SampleForm"},
        {"select DrawGrid1 0 0", "script line 1: 'DrawGrid1' is not showing"},
        {"page PageControl1 1\nselect DrawGrid1 5 0", "script line 2: cell 5,0 is outside 'DrawGrid1' (5x4)"},
        {"select PageControl1 0 0", "script line 1: 'PageControl1' is a TPageControl, not a draw grid"},
        {"page PageControl1 2", "script line 1: page 2 is outside 'PageControl1' (2 pages)"},
        {"type LabelName \"x\"", "script line 1: 'LabelName' is a TLabel, not a control that takes the focus"},
    };
    for (const TCase& C : Cases) {
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(Run(C.Script), mrCancel) << C.Script;
        std::string Err = ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(Back->Failed()) << C.Script;
        EXPECT_EQ(Back->ScriptError(), C.Message);
        EXPECT_NE(Err.find(C.Message), std::string::npos) << Err;
    }
    EXPECT_EQ(Form->Clicks(), 1) << "nothing after the failed line may run";

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Run("snapshot /nonexistent/dir/x.png"), mrCancel);
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(Back->ScriptError().rfind("script line 1: ", 0), 0u) << Back->ScriptError();
    EXPECT_NE(Back->ScriptError().find("/nonexistent/dir/x.png"), std::string::npos) << Back->ScriptError();
}

// A script is read again line by line as it runs: a verb whose module went after the
// script was loaded fails its own line when the run reaches it, and nothing after it
// runs; blank lines and comments count in line numbers and leave nothing to run.
TEST_F(HeadlessSession, ALineWhoseVerbWentAfterLoadingFailsWhenReached)
{
    static const int Module = 0;
    RegisterScriptVerb({"nudge", "nudge", 0, 0, [](const std::vector<TScriptToken>&, TScriptCommand&) {},
                        [](const TScriptCommand&, TForm&, TScriptEvents& Out) { Out.push_back([](TForm&) {}); }},
                       &Module);
    Back = &UseScript("click ButtonCount\n\n# a comment\nnudge\nclick ButtonCount\n");
    NotifyModuleUnload(&Module);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(Back->ScriptError(), "script line 4: unknown command 'nudge'");
    EXPECT_EQ(Form->Clicks(), 1);

    EXPECT_EQ(Run("click ButtonCount\n\n  # the end\n\n"), mrCancel);
    EXPECT_TRUE(Back->AtEnd());
    EXPECT_FALSE(Back->Failed());
    EXPECT_EQ(Form->Clicks(), 2);
}

TEST_F(HeadlessSession, NestedModalFormsReadTheSameScript)
{
    std::unique_ptr<TSampleForm> Inner;
    TModalResult InnerResult = mrNone;
    Form->ButtonCount->OnClick = [&](TObject*) {
        Inner = std::make_unique<TSampleForm>(Application);
        InnerResult = Inner->ShowModal();
    };
    EXPECT_EQ(Run("click ButtonCount\ntype EditName \"inner\"\nkey Enter\ntype EditName \"outer\"\nkey Escape"),
              mrCancel);
    ASSERT_TRUE(Inner);
    EXPECT_EQ(InnerResult, mrOk);
    EXPECT_EQ(Inner->EditName->Text(), "inner");
    EXPECT_EQ(Form->EditName->Text(), "outer");

    // The script ends inside the nested form: both runs end with Cancel.
    InnerResult = mrNone;
    EXPECT_EQ(Run("click ButtonCount\ntype EditName \"x\""), mrCancel);
    EXPECT_EQ(InnerResult, mrCancel);
    EXPECT_EQ(Application->RunDepth(), 0);
}

// A form opened on a press (as a "…" button does) takes the release with it: the form
// below must not keep the press's capture, or its next clicks all go to that control.
TEST_F(HeadlessSession, AFormOpenedOnAPressLeavesNoCaptureBehind)
{
    std::unique_ptr<TSampleForm> Inner;
    Form->PaintBox1->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        Inner = std::make_unique<TSampleForm>(Application);
        Inner->ShowModal();
    };
    int Clicks = 0;
    Form->ButtonCount->OnClick = [&](TObject*) { ++Clicks; };
    EXPECT_EQ(Run("click PaintBox1\nkey Escape\nclick ButtonCount\nclick ButtonCount\nkey Escape"), mrCancel);
    ASSERT_TRUE(Inner);
    EXPECT_EQ(Clicks, 2);
}

TEST_F(HeadlessSession, TheBackEndCannotBeSwappedUnderARunningLoop)
{
    bool Raised = false;
    Form->ButtonCount->OnClick = [&](TObject*) {
        try {
            Application->SetBackEnd(std::make_unique<THeadlessBackEnd>());
        } catch (const Exception&) {
            Raised = true;
        }
    };
    EXPECT_EQ(Run("click ButtonCount\nclick ButtonOK"), mrOk);
    EXPECT_TRUE(Raised);
}

} // namespace

// The emergency end. With a hook set, SIGTERM or SIGHUP during a modal run ends the
// program once the event being handled is done (no later event runs): the reason, then
// the hook's last words, then status 128 + N. Outside a run the signal acts as if never
// caught. EmergencyExit (a lost display) ends the same way with the status given.
TEST_F(HeadlessSession, ASignalDuringARunEndsTheProgramThroughTheEmergencyHook)
{
    const auto SetHook = [](int& Clicks) {
        Application->SetTitle("sample");
        Application->SetEmergencyHook([&Clicks] { std::fprintf(stderr, "saved after %d click\n", Clicks); });
    };
    // Each click counts and raises Signal.
    const auto RaiseOnClick = [this](int& Clicks, int Signal) {
        Form->ButtonCount->OnClick = [&Clicks, Signal](TObject*) {
            ++Clicks;
            std::raise(Signal);
        };
    };
    for (const int Signal : {SIGTERM, SIGHUP}) {
        EXPECT_EXIT(
            {
                int Clicks = 0;
                SetHook(Clicks);
                RaiseOnClick(Clicks, Signal);
                Run("click ButtonCount\nclick ButtonCount\n");
                std::fprintf(stderr, "the run went on\n");
            },
            ::testing::ExitedWithCode(128 + Signal), "^sample: ended by SIG(TERM|HUP)\nsaved after 1 click\n$");
    }
    EXPECT_EXIT(
        {
            int Clicks = 0;
            SetHook(Clicks);
            std::raise(SIGTERM);
            std::fprintf(stderr, "not ended\n");
        },
        ::testing::KilledBySignal(SIGTERM), "^$");
    EXPECT_EXIT(
        {
            int Clicks = 0;
            SetHook(Clicks);
            Application->EmergencyExit(1, "lost the display");
        },
        ::testing::ExitedWithCode(1), "^sample: lost the display\nsaved after 0 click\n$");
}
