// toolkit_sample: runs the sample form headless from an event script or in a window,
// then prints what the user did and exits with the modal result (1 OK, 2 Cancel;
// 3 when the script or the run failed, 64 on a bad command line). With --boxes N it
// shows N message boxes one after another instead, each ended by Enter, and prints each
// one closed and how many: the window stress test drives that.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/backends/HeadlessBackEnd.h"
#include "platform/toolkit/backends/window/WindowBackEnd.h"
#include "tests/toolkit/SampleForm.h"

namespace {

constexpr int ExitFailure = 3, ExitUsage = 64;

int Usage()
{
    std::fputs("usage: toolkit_sample [--script FILE | --window [--scale N]] [--snapshot FILE.png]\n"
               "       toolkit_sample --window --boxes N\n"
               "  --script FILE      drive the form headless with an event script\n"
               "  --window           show the form in a window (headless without a display)\n"
               "  --scale N          window pixels per surface pixel\n"
               "  --snapshot FILE    save the form's surface as PNG when it closes\n"
               "  --boxes N          show N message boxes in a row instead of the form\n"
               "Exits with the modal result: 1 OK, 2 Cancel, 3 failure.\n",
               stderr);
    return ExitUsage;
}

struct TOptions {
    std::string Script;
    std::string Snapshot;
    bool Window = false;
    int Scale = 1;
    long Boxes = 0;
};

bool ParseArgs(int argc, char** argv, TOptions& O)
{
    for (int I = 1; I < argc; ++I) {
        std::string A = argv[I];
        auto Value = [&](std::string& Into) {
            if (I + 1 >= argc) return false;
            Into = argv[++I];
            return true;
        };
        if (A == "--script") {
            if (!Value(O.Script)) return false;
        } else if (A == "--snapshot") {
            if (!Value(O.Snapshot)) return false;
        } else if (A == "--window") {
            O.Window = true;
        } else if (A == "--boxes") {
            std::string S;
            if (!Value(S)) return false;
            char* End = nullptr;
            O.Boxes = std::strtol(S.c_str(), &End, 10);
            if (End == S.c_str() || *End || O.Boxes < 1) return false;
        } else if (A == "--scale") {
            std::string S;
            if (!Value(S)) return false;
            char* End = nullptr;
            long V = std::strtol(S.c_str(), &End, 10);
            if (End == S.c_str() || *End || V < 1 || V > 8) return false;
            O.Scale = static_cast<int>(V);
        } else {
            return false;
        }
    }
    return !(O.Window && !O.Script.empty()) && (O.Boxes == 0 || O.Window);
}

int Run(const TOptions& O)
{
    THeadlessBackEnd* Headless = nullptr;
    std::string Why;
    if (O.Window && TWindowBackEnd::Available(Why)) {
        auto Window = std::make_unique<TWindowBackEnd>(O.Scale);
        Window->SetFinalSnapshot(O.Snapshot);
        Application->SetBackEnd(std::move(Window));
    } else {
        if (O.Window) std::fprintf(stderr, "toolkit_sample: no window (%s); running headless\n", Why.c_str());
        auto Back = std::make_unique<THeadlessBackEnd>();
        if (!O.Script.empty()) Back->LoadScriptFile(O.Script);
        Back->SetFinalSnapshot(O.Snapshot);
        Headless = Back.get();
        Application->SetBackEnd(std::move(Back));
    }
    if (O.Boxes > 0) {
        long Closed = 0;
        for (; Closed < O.Boxes; ++Closed) {
            if (MessageBox("Box " + std::to_string(Closed + 1), "Press Enter.", {{"OK", "OK", mrOk}}) != mrOk) break;
            std::printf("closed %ld\n", Closed + 1);
            std::fflush(stdout);
        }
        std::printf("boxes: %ld\n", Closed);
        return Closed == O.Boxes ? mrOk : ExitFailure;
    }
    std::unique_ptr<TSampleForm> Form = std::make_unique<TSampleForm>(Application);
    TModalResult Result = Form->ShowModal();
    std::printf("result: %d\n%s", Result, Form->Report().c_str());
    std::fflush(stdout);
    if (Headless && Headless->Failed()) return ExitFailure;
    return Result;
}

} // namespace

int main(int argc, char** argv)
{
    TOptions Options;
    if (!ParseArgs(argc, argv, Options)) return Usage();
    try {
        return Run(Options);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "toolkit_sample: %s\n", E.what());
        return ExitFailure;
    }
}
