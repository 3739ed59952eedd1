#pragma once
// Reading and writing form resources: nested "object Name: TClass … end" blocks with
// "Property = value" lines (integers, 'quoted strings' with '' for a quote, identifiers,
// [set, members]).

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/toolkit/ClassRegistry.h"

class EWriteError : public Exception {
public:
    using Exception::Exception;
};

// What a form offers the reader: slots for its component fields and its handlers.
// Names are matched without case.
struct TFormBindings {
    // Component name -> assigns the created component to the form's field, answering
    // false when its class does not fit the field. A read that fails calls it again with
    // nullptr, so that no field keeps a freed component. A field that no object of the
    // resource fills is an error.
    std::map<std::string, std::function<bool(TComponent*)>> Fields;
    std::map<std::string, THandler> Handlers;
};

// A TFormBindings::Fields slot that fills Field with a component of class T.
template <typename T>
std::function<bool(TComponent*)> FieldSlot(T*& Field)
{
    return [&Field](TComponent* C) {
        Field = dynamic_cast<T*>(C);
        return Field != nullptr;
    };
}

// Reads Text into Root: the outermost object must have Root's class and sets Root's
// properties; nested objects are created through the class registry, owned by Root and
// parented to the enclosing object (a control must sit directly in a windowed control;
// at most 64 levels). A root whose owner already has its name becomes Name_1 (_2, …).
// Then Loaded() runs on every component, children first, then on Root. Any unknown
// class, property, value or handler, or a syntax error, raises EReadError
// "line N: …" naming the word; every component created so far is freed and Root's
// children are gone again, its name and EventBindings restored. docs/form-resources.md
// has the full format.
void ReadComponentRes(TComponent& Root, std::string_view Text, const TFormBindings& Bindings);

// Writes Root and its owned components (nested by parent) in the same format; reading
// the text back into a fresh root of the same class rebuilds the same components.
// Raises EWriteError for a class that is not registered or a value that the format
// cannot carry (a string with NUL or invalid UTF-8, an identifier that is not one).
std::string WriteComponentRes(const TComponent& Root);
