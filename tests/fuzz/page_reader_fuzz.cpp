// Arbitrary bytes as a page file, read by the designer's page reader into the real
// component classes: the reader either builds a page or raises EReadError; every name
// on a page it built is an identifier that no other name there has (the page's
// included), and the page writes out and reads back to the same text.

#include <cstdint>
#include <string_view>
#include <unordered_set>

#include "apps/designer/document/PageFile.h"
#include "platform/components/Components.h"
#include "platform/toolkit/resources/FormReader.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    RegisterComponentClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    std::string_view Text(reinterpret_cast<const char*>(Data), Size);
    std::unique_ptr<TQellPage> Page;
    try {
        Page = ReadPageText(Text);
    } catch (const EReadError&) {
        return 0;
    }

    std::unordered_set<std::string> Names;
    for (TComponent* C : PageComponents(*Page)) {
        if (C->Name().empty()) continue;
        if (!TComponent::IsValidIdent(C->Name())) Abort("a name that is not an identifier", C->Name());
        if (!Names.insert(UpperCase(C->Name())).second) Abort("two components share a name", C->Name());
        if (FindPageComponent(*Page, C->Name()) != C) Abort("a component its name does not find", C->Name());
    }

    const std::string Written = PageText(*Page);
    std::unique_ptr<TQellPage> Again;
    try {
        Again = ReadPageText(Written);
    } catch (const EReadError& E) {
        Abort("the writer's text does not read back", std::string(E.what()) + "\n" + Written);
    }
    if (PageText(*Again) != Written)
        Abort("the text read back writes differently", Written + "\n---\n" + PageText(*Again));
    return 0;
}
