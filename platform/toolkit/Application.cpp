#include "platform/toolkit/Application.h"

#include <cstdio>
#include <new>

#include "platform/rtl/Guard.h"
#include "platform/rtl/Publish.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/backends/HeadlessBackEnd.h"

TApplication* Application = nullptr;

namespace {

// Creates the application object when the library loads and frees it, with the forms
// it still owns, when the program exits.
struct TApplicationLifetime {
    TApplicationLifetime() { Application = new TApplication; }
    ~TApplicationLifetime()
    {
        delete Application;
        Application = nullptr;
    }
};

const TApplicationLifetime ApplicationLifetime;

} // namespace

const TClassInfo& TApplication::StaticClassInfo()
{
    static const TClassInfo Info = MakeClassInfo<TApplication>("TApplication", PublishNothing<TApplication>);
    return Info;
}

TApplication::TApplication() : TComponent(nullptr), FBackEnd(std::make_unique<THeadlessBackEnd>()) {}

TApplication::~TApplication()
{
    // Forms go first, while the back end that may still show them exists.
    while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
}

void TApplication::SetBackEnd(std::unique_ptr<TBackEnd> BackEnd)
{
    if (!BackEnd) throw Exception("SetBackEnd: no back end given");
    // The running loops read events from the current back end; swapping it under them
    // would leave them with a freed event source.
    if (FRunDepth > 0) throw Exception("Cannot change the back end while a form runs modally");
    FBackEnd = std::move(BackEnd);
}

TModalResult TApplication::RunModal(TForm& Form)
{
    TRestoreOnExit<int> Depth(FRunDepth, FRunDepth + 1);
    // A form opened from a press (a dialog button acting on the press) gets its release.
    if (FRunning) FRunning->CancelMouseCapture();
    TRestoreOnExit<TForm*> Running(FRunning, &Form);
    TBackEnd& Source = *FBackEnd;
    Form.SetModalResult(mrNone);
    try {
        Form.PaintAll();
    } catch (const std::exception& E) {
        HandleException(E);
    }
    Source.FormShown(Form);
    try {
        Form.FlushPaint();
    } catch (const std::exception& E) {
        HandleException(E);
    }
    Source.Present(Form);
    bool More = true;
    while (More && Form.ModalResult() == mrNone) {
        try {
            More = Source.ProcessNextEvent(Form);
        } catch (const std::bad_alloc&) {
            Source.FormHidden(Form);
            throw;
        } catch (const std::exception& E) {
            HandleException(E);
        } catch (...) {
            HandleException(Exception("Unknown exception in an event handler"));
        }
        try {
            if (Form.FlushPaint()) Source.Present(Form);
        } catch (const std::exception& E) {
            HandleException(E);
        }
    }
    if (Form.ModalResult() == mrNone) Form.SetModalResult(mrCancel);
    Source.FormHidden(Form);
    return Form.ModalResult();
}

void TApplication::HandleException(const std::exception& E)
{
    std::fprintf(stderr, "%s: %s\n", FTitle.empty() ? "Exception" : FTitle.c_str(), E.what());
    std::fflush(stderr);
    try {
        FBackEnd->ShowError(E.what());
    } catch (...) {
        // Reporting must not itself end the loop.
    }
}
