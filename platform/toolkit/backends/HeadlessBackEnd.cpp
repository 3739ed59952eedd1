#include "platform/toolkit/backends/HeadlessBackEnd.h"

#include "platform/rtl/Files.h"
#include "platform/toolkit/Form.h"

namespace {

// Far beyond any script a person writes or a test generates.
constexpr size_t MaxScriptSize = 16u << 20;

} // namespace

THeadlessBackEnd::THeadlessBackEnd() = default;

THeadlessBackEnd::THeadlessBackEnd(std::string_view Script) { LoadScript(Script); }

THeadlessBackEnd::~THeadlessBackEnd() = default;

void THeadlessBackEnd::LoadScript(std::string_view Script) { Start(TEventScript(std::string(Script))); }

void THeadlessBackEnd::Start(TEventScript Script)
{
    FScript = std::move(Script);
    FScriptName.clear();
    FLine = 0;
    FPending.clear();
    FScriptError.clear();
}

void THeadlessBackEnd::LoadScriptFile(const std::string& FileName)
{
    std::string Text;
    try {
        Text = ReadFileText(FileName, MaxScriptSize);
    } catch (const EInOutError& E) {
        throw EScriptError(E.Message());
    }
    try {
        Start(TEventScript(std::move(Text)));
    } catch (const EScriptError& E) {
        throw EScriptError(QuotedFileName(FileName) + ": " + E.Message());
    }
    FScriptName = QuotedFileName(FileName) + ": ";
}

void THeadlessBackEnd::FormShown(TForm&) { ++FDepth; }

void THeadlessBackEnd::Present(TForm&) {}

void THeadlessBackEnd::FormHidden(TForm& Form)
{
    --FDepth;
    if (FDepth == 0 && !FFinalSnapshot.empty()) Form.Surface().SaveToPNG(FFinalSnapshot);
}

void THeadlessBackEnd::ShowError(const std::string& Message) { FErrors.push_back(Message); }

bool THeadlessBackEnd::ProcessNextEvent(TForm& Form)
{
    if (Failed()) return false;
    try {
        TScriptCommand C;
        while (FPending.empty()) {
            if (!FScript.Next(C)) return false;
            FLine = C.Line;
            ExpandScriptCommand(C, Form, FPending);
        }
    } catch (const EScriptError& E) {
        FPending.clear();
        FScriptError = FScriptName + E.Message();
        throw EScriptError(FScriptError);
    }
    TScriptEvent Event = std::move(FPending.front());
    FPending.pop_front();
    try {
        Event(Form);
    } catch (const EScriptError& E) {
        // A line whose check fails as it runs ("inspect" of a row that is not there)
        // fails the script as one that cannot be expanded does.
        // The pending events are all of the command expanded last.
        FPending.clear();
        FScriptError = FScriptName + "script line " + std::to_string(FLine) + ": " + E.Message();
        throw EScriptError(FScriptError);
    }
    return true;
}
