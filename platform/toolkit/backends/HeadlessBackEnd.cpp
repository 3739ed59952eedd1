#include "platform/toolkit/backends/HeadlessBackEnd.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/toolkit/Form.h"

namespace {

// The whole file, or EScriptError with the reason (a folder, a missing file, no right).
std::string ReadScriptFile(const std::string& FileName)
{
    std::FILE* F = std::fopen(FileName.c_str(), "rb");
    if (!F) throw EScriptError("cannot read event script " + FileName + ": " + std::strerror(errno));
    std::string Text;
    char Buffer[65536];
    size_t Got;
    while ((Got = std::fread(Buffer, 1, sizeof Buffer, F)) > 0) Text.append(Buffer, Got);
    const int Error = std::ferror(F) ? errno : 0;
    std::fclose(F);
    if (Error != 0) throw EScriptError("cannot read event script " + FileName + ": " + std::strerror(Error));
    return Text;
}

} // namespace

THeadlessBackEnd::THeadlessBackEnd() = default;

THeadlessBackEnd::THeadlessBackEnd(std::string_view Script) { LoadScript(Script); }

THeadlessBackEnd::~THeadlessBackEnd() = default;

void THeadlessBackEnd::LoadScript(std::string_view Script)
{
    std::vector<TScriptCommand> Commands = ParseScript(Script);
    FCommands = std::move(Commands);
    FScriptName.clear();
    FNext = 0;
    FPending.clear();
    FScriptError.clear();
}

void THeadlessBackEnd::LoadScriptFile(const std::string& FileName)
{
    const std::string Text = ReadScriptFile(FileName);
    try {
        LoadScript(Text);
    } catch (const EScriptError& E) {
        throw EScriptError(FileName + ": " + E.Message());
    }
    FScriptName = FileName + ": ";
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
        while (FPending.empty()) {
            if (FNext >= FCommands.size()) return false;
            ExpandScriptCommand(FCommands[FNext++], Form, FPending);
        }
    } catch (const EScriptError& E) {
        FPending.clear();
        FScriptError = FScriptName + E.Message();
        throw EScriptError(FScriptError);
    }
    TScriptEvent Event = std::move(FPending.front());
    FPending.pop_front();
    Event(Form);
    return true;
}
