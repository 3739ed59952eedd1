// Arbitrary bytes as a form resource: the reader either builds the form or raises
// EReadError with nothing left behind; a form it built writes out and reads back to
// the same text.

#include <cstdint>
#include <string_view>

#include "platform/toolkit/Form.h"
#include "platform/toolkit/resources/FormReader.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

const TFormBindings& Bindings()
{
    static const TFormBindings B = [] {
        TFormBindings R;
        R.Handlers["FormCreate"] = TNotifyEvent([](TObject*) {});
        R.Handlers["ButtonClick"] = TNotifyEvent([](TObject*) {});
        R.Handlers["GridDrawCell"] = TDrawCellEvent([](TObject*, int, int, const TRect&, TGridDrawState) {});
        R.Handlers["GridSelectCell"] = TSelectCellEvent([](TObject*, int, int, bool&) {});
        R.Handlers["FormMouseMove"] = TMouseMoveEvent([](TObject*, TShiftState, int, int) {});
        R.Handlers["BoxMouseDown"] = TMouseEvent([](TObject*, TMouseButton, TShiftState, int, int) {});
        return R;
    }();
    return B;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    RegisterToolkitClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    std::string_view Text(reinterpret_cast<const char*>(Data), Size);
    TForm Root(nullptr);
    try {
        ReadComponentRes(Root, Text, Bindings());
    } catch (const EReadError&) {
        if (Root.ComponentCount() != 0 || Root.ControlCount() != 0)
            Abort("a failed read left components behind", std::string(Text));
        return 0;
    }

    std::string Written = WriteComponentRes(Root);
    TForm Again(nullptr);
    try {
        ReadComponentRes(Again, Written, Bindings());
    } catch (const EReadError& E) {
        Abort("the writer's text does not read back", std::string(E.what()) + "\n" + Written);
    }
    if (WriteComponentRes(Again) != Written)
        Abort("the text read back writes differently", Written + "\n---\n" + WriteComponentRes(Again));
    return 0;
}
