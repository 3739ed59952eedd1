#pragma once
// Reading and writing form resources: nested "object Name: TClass … end" blocks with
// "Property = value" lines (integers, 'quoted strings' with '' for a quote, identifiers,
// [set, members]; Font.Height names a sub-object's property). docs/form-resources.md
// has the full format.

#include <any>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/toolkit/Export.h"
#include "platform/toolkit/resources/ClassRegistry.h"

class QELL_TOOLKIT_API EReadError : public Exception {
public:
    using Exception::Exception;
};

class QELL_TOOLKIT_API EWriteError : public Exception {
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
    // Handler name -> the handler, an event of the type the On… property takes.
    std::map<std::string, std::any> Handlers;
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

// A TFormBindings::Handlers entry that calls Method on Self. The event type is the
// method's own signature, so a handler bound to an event of another shape is refused
// by name when the resource is read.
template <typename C, typename... A>
std::any Handler(C* Self, void (C::*Method)(A...))
{
    return std::function<void(A...)>([Self, Method](A... Args) { (Self->*Method)(std::forward<A>(Args)...); });
}

// The handlers a read bound, by instance and property, so that a writer can write them
// back: the form's own handlers are not values the components could report.
struct TBoundEvent {
    const TPersistent* Instance;
    std::string Property; // as the class spells it
    std::string Handler;  // as the form spells it
};
using TBoundEvents = std::vector<TBoundEvent>;

// Reads Text into Root: the outermost object must have Root's class and sets Root's
// properties; nested objects are created through the class registry, owned by Root and
// parented to the enclosing object (a control must sit directly in a windowed control;
// at most 64 levels). A root whose owner already has its name becomes Name_1 (_2, …).
// Then Loaded() runs on every component, children first, then on Root. Bound handlers
// are appended to Events when given. Any unknown class, property, value or handler, or
// a syntax error, raises EReadError "line N: …" naming the word; every component
// created so far is freed, Root's children are gone again and its name restored, and
// Events is as it was.
QELL_TOOLKIT_API void ReadComponentRes(TComponent& Root, std::string_view Text, const TFormBindings& Bindings,
                                       TBoundEvents* Events = nullptr);

// Writes Root and its owned components (nested by parent) in the same format, with the
// handlers in Events; reading the text back into a fresh root of the same class
// rebuilds the same components. Raises EWriteError for a component whose class is not
// registered or a value that the format cannot carry (a string with NUL or invalid
// UTF-8, a handler name that is not an identifier).
QELL_TOOLKIT_API std::string WriteComponentRes(const TComponent& Root, const TBoundEvents* Events = nullptr);
