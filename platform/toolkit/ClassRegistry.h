#pragma once
// Classes and their published properties, as the form reader and writer see them.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/toolkit/Control.h"
#include "platform/toolkit/DrawGrid.h"

// An event handler a form offers by name; each On… property takes one of these types.
using THandler = std::variant<TNotifyEvent, TMouseEvent, TMouseMoveEvent, TDrawCellEvent, TSelectCellEvent>;

// A value as written in a form resource.
struct TIdent {
    std::string Name; // an identifier: enum value, True/False, colour name, handler name
    friend bool operator==(const TIdent&, const TIdent&) = default;
};
struct TSetValue {
    std::vector<std::string> Members;
    friend bool operator==(const TSetValue&, const TSetValue&) = default;
};
using TValue = std::variant<int64_t, std::string, TIdent, TSetValue>;

class EReadError : public Exception {
public:
    using Exception::Exception;
};

// One published property. Set raises EReadError (without line; the reader adds it)
// when the value has the wrong kind or is out of range. Get answers nullopt when the
// property holds its default, so the writer leaves it out.
struct TPropInfo {
    std::function<void(TComponent&, const TValue&)> Set;
    std::function<std::optional<TValue>(const TComponent&)> Get;
    // For On… properties: binds the handler, answering false on a wrong handler type.
    std::function<bool(TComponent&, const THandler&)> SetEvent;
};

struct TClassInfo {
    std::string Name;
    const TClassInfo* Parent = nullptr;
    // Null for classes that cannot be created by the reader (forms read into themselves).
    std::function<TComponent*(TComponent* Owner)> Create;
    // Property names as written ("Font.Height"); looked up without case, then in Parent.
    std::map<std::string, TPropInfo, TTextLess> Properties;
    const TPropInfo* FindProperty(const std::string& Name) const;
};

// Registers a class (replacing one of the same name); the pointer stays valid.
const TClassInfo* RegisterClass(TClassInfo Info);
// Case-insensitive; nullptr when unknown.
const TClassInfo* FindClass(const std::string& Name);
// The toolkit's own classes, registered once (idempotent).
void RegisterToolkitClasses();
// Registers a form class that reads its resource into itself through TForm's
// properties (it has no factory), after the toolkit's classes. Idempotent.
void RegisterFormClass(const std::string& Name);
