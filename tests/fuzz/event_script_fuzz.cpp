// Arbitrary bytes as an event script, read and then run against a small form with one
// control of each kind: reading either succeeds or raises EScriptError, and running
// ends (by the script's end or a button) with every error an EScriptError, whatever
// the lines say. Snapshots are checked but never written, so that no input can write
// files.

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/backends/HeadlessBackEnd.h"
#include "platform/toolkit/resources/FormReader.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

const char* const SmallForm = R"(object F: TForm
  ClientWidth = 300
  ClientHeight = 200
  object Pages: TPageControl
    Width = 200
    Height = 150
    object One: TTabSheet
      Caption = 'One'
      object Grid: TDrawGrid
        Width = 120
        Height = 90
        ColCount = 4
        RowCount = 3
        DefaultColWidth = 24
        FixedRows = 1
      end
    end
    object Two: TTabSheet
      Caption = 'Two'
      object Track: TTrackBar
        Orientation = trVertical
        Max = 20
      end
      object Box: TPaintBox
        Left = 60
        Width = 40
        Height = 40
      end
    end
  end
  object Name1: TEdit
    Left = 210
  end
  object Label1: TLabel
    Left = 210
    Top = 40
    Caption = 'Label'
  end
  object Ok: TButton
    Left = 210
    Top = 160
    Caption = '&OK'
    Default = True
    ModalResult = 1
  end
  object Cancel: TButton
    Left = 100
    Top = 160
    Caption = '&Cancel'
    Cancel = True
    ModalResult = 2
  end
  object Status: TStatusBar
    Top = 180
  end
end
)";

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The snapshot verb as the scripts know it, but saving nothing.
    const TScriptVerb* Real = FindScriptVerb("snapshot");
    TScriptVerb Check = *Real;
    Check.Expand = [](const TScriptCommand& C, TForm& Form, TScriptEvents& Out) {
        if (!C.Words.empty()) ScriptSupport::FindControl(Form, C.Words[0], true);
        Out.push_back([](TForm&) {});
    };
    RegisterScriptVerb(std::move(Check));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string_view Script(reinterpret_cast<const char*>(Data), Size);
    std::unique_ptr<THeadlessBackEnd> Back;
    try {
        Back = std::make_unique<THeadlessBackEnd>(Script);
    } catch (const EScriptError&) {
        return 0;
    }
    THeadlessBackEnd& Events = *Back;
    Application->SetBackEnd(std::move(Back));
    {
        TForm Form(nullptr);
        ReadComponentRes(Form, SmallForm, {});
        Form.ShowModal();
        for (const std::string& E : Events.Errors())
            if (E.rfind("script line ", 0) != 0) Abort("an error that is not the script's", E);
    }
    Application->SetBackEnd(std::make_unique<THeadlessBackEnd>());
    return 0;
}
