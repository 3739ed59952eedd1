#pragma once
// Run-time type information of published properties: what the form reader and writer,
// the designer's property inspector and its property editors know of a class without
// knowing the class. Each class describes itself once, in its Publish function (see
// Publish.h); TClassInfo is that description, TPropInfo one property and TTypeInfo
// one property type.
//
// Types are told apart by their type information, not by their C++ type: TColor and
// the web framework's TIWColor are both 32-bit integers, but a property of one has
// TypeInfoTColor and of the other TypeInfoTIWColor, so an editor can be registered for
// one and not the other.

#include <any>
#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Export.h"
#include "platform/rtl/SysUtils.h"

class TPersistent;
class TComponent;
class TClassInfo;

enum class TTypeKind {
    Integer,     // a 32-bit integer, possibly with names for some values (TColor)
    Int64,
    Enumeration, // values 0..n-1 with names (Boolean: False, True)
    Set,         // a set of an enumeration's values, bit i for value i
    String,
    Class,       // a persistent sub-object owned by the instance (Font, Appearance)
    Method,      // an event: a handler of exactly the event's type
};

struct TTypeInfo {
    TTypeKind Kind = TTypeKind::Integer;
    const char* Name = "";
    // Integer, Int64 and Enumeration: the values a property of the type can hold.
    int64_t MinValue = 0, MaxValue = 0;
    // Enumeration: the value names, value i named EnumNames[i].
    std::span<const char* const> EnumNames = {};
    // Set: the enumeration of its elements.
    const TTypeInfo* ElementType = nullptr;
    // Class: the class of the sub-object.
    const TClassInfo& (*ClassType)() = nullptr;
    // Integer: the names some values have (clBtnFace), compared without case, and the
    // text a value is written as in form files and shown in the inspector: a name or an
    // integer literal. Null: plain decimal integers.
    bool (*IdentToInt)(const std::string& Ident, int64_t& Value) = nullptr;
    std::string (*IntToText)(int64_t Value) = nullptr;
};

// Type information of each kind, as constants.
constexpr TTypeInfo IntegerTypeInfo(const char* Name, int64_t Min, int64_t Max, TTypeKind Kind = TTypeKind::Integer)
{
    TTypeInfo T;
    T.Kind = Kind;
    T.Name = Name;
    T.MinValue = Min;
    T.MaxValue = Max;
    return T;
}

// An enumeration from its value names.
constexpr TTypeInfo EnumTypeInfo(const char* Name, std::span<const char* const> Names)
{
    TTypeInfo T = IntegerTypeInfo(Name, 0, static_cast<int64_t>(Names.size()) - 1, TTypeKind::Enumeration);
    T.EnumNames = Names;
    return T;
}

// A set of an enumeration's values (at most 32 of them).
constexpr TTypeInfo SetTypeInfo(const char* Name, const TTypeInfo& Element)
{
    TTypeInfo T = IntegerTypeInfo(Name, 0, (int64_t{1} << Element.EnumNames.size()) - 1, TTypeKind::Set);
    T.ElementType = &Element;
    return T;
}

constexpr TTypeInfo ClassTypeInfo(const char* Name, const TClassInfo& (*Class)())
{
    TTypeInfo T = IntegerTypeInfo(Name, 0, 0, TTypeKind::Class);
    T.ClassType = Class;
    return T;
}

constexpr TTypeInfo MethodTypeInfo(const char* Name) { return IntegerTypeInfo(Name, 0, 0, TTypeKind::Method); }

// A 32-bit integer type some of whose values have names, given by the type's own
// conversions; its 32 bits may also be given unsigned ($FF000000 or 4278190080).
template <typename V, bool (*IdentToValue)(const std::string&, V&), std::string (*ValueToText)(V)>
constexpr TTypeInfo NamedIntegerTypeInfo(const char* Name)
{
    TTypeInfo T = IntegerTypeInfo(Name, INT32_MIN, int64_t{UINT32_MAX});
    T.IdentToInt = [](const std::string& Ident, int64_t& Value) {
        V Named;
        if (!IdentToValue(Ident, Named)) return false;
        Value = Named;
        return true;
    };
    T.IntToText = [](int64_t Value) { return ValueToText(static_cast<V>(Value)); };
    return T;
}
constexpr TTypeInfo StringTypeInfo(const char* Name) { return IntegerTypeInfo(Name, 0, 0, TTypeKind::String); }

// The runtime's own types.
extern QELL_RTL_API const TTypeInfo TypeInfoInteger;
extern QELL_RTL_API const TTypeInfo TypeInfoInt64;
extern QELL_RTL_API const TTypeInfo TypeInfoBoolean;
extern QELL_RTL_API const TTypeInfo TypeInfoString;

// A property that cannot take a value, or a value out of its range.
class QELL_RTL_API EPropertyError : public Exception {
public:
    using Exception::Exception;
};

// A relation between two of a class's properties, declared beside them for a library
// that gives it a meaning (the contrast checks read which colour is drawn on which).
// The runtime keeps it and reads nothing of it: Name says to that library which relation
// it is, and From and To are paths of properties that the library resolves.
struct TPropRelation {
    std::string Name;
    std::string From, To;
};

// One published property. The accessors that its kind needs are set, the others are
// null; a property without a setter is read-only.
struct QELL_RTL_API TPropInfo {
    std::string Name;
    const TTypeInfo* PropType = nullptr;
    // The value not written to form files; none: always written.
    std::optional<int64_t> OrdDefault;
    std::optional<std::string> StrDefault;
    // The ordinal values the setter accepts (the type's range unless narrowed).
    int64_t MinValue = 0, MaxValue = 0;
    // One sentence on what the property does, for the inspector and `props --long`.
    std::string Description;

    std::function<int64_t(const TPersistent&)> GetOrd;
    std::function<void(TPersistent&, int64_t)> SetOrd;
    std::function<std::string(const TPersistent&)> GetStr;
    std::function<void(TPersistent&, const std::string&)> SetStr;
    std::function<TPersistent*(TPersistent&)> GetObj;
    // Binds a handler, answering false when it is not of the event's type.
    std::function<bool(TPersistent&, const std::any&)> SetMethod;
    // Whether the value is written at all (a colour that follows the parent's is not).
    // Null: always.
    std::function<bool(const TPersistent&)> Stored;

    TTypeKind Kind() const { return PropType->Kind; }
    bool IsOrdinal() const;
    bool ReadOnly() const;
};

// A class as its published properties describe it.
class QELL_RTL_API TClassInfo {
public:
    std::string Name;
    const TClassInfo* Parent = nullptr;
    // Creates an instance owned by Owner; null for classes that the form reader must not
    // create (abstract classes, forms, sub-objects).
    std::function<TComponent*(TComponent* Owner)> CreateComponent;
    // The properties this class declares, in order; a name an ancestor declared too is
    // redeclared (a new default), and this definition wins.
    std::vector<TPropInfo> Properties;
    // The relations this class declares between its properties, in order, beyond its
    // ancestors'.
    std::vector<TPropRelation> Relations;

    bool InheritsFrom(const TClassInfo& Ancestor) const;
    // Without case, this class first, then its ancestors; nullptr when none.
    const TPropInfo* FindProperty(std::string_view PropName) const;
    // Every property, ancestors' first, each name once, through its most derived
    // definition. Worked out at the first call and kept (readers walk every object of a
    // page through it), so it is for a class whose properties are all declared.
    const std::vector<const TPropInfo*>& AllProperties() const;

private:
    // A copy of the class starts without it: the list points into its own Properties.
    struct TAllProperties {
        std::vector<const TPropInfo*> List;
        bool Known = false;
        TAllProperties() = default;
        TAllProperties(const TAllProperties&) {}
        TAllProperties& operator=(const TAllProperties&)
        {
            List.clear();
            Known = false;
            return *this;
        }
    };
    mutable TAllProperties FAll;
};

// Reading and writing properties of an instance. Each raises EPropertyError when the
// property does not apply to the instance's class or lacks the accessor; SetOrdProp
// also when the value lies outside MinValue..MaxValue ("N is out of range (A..B)"),
// changing nothing.
QELL_RTL_API int64_t GetOrdProp(const TPersistent& Instance, const TPropInfo& Prop);
QELL_RTL_API void SetOrdProp(TPersistent& Instance, const TPropInfo& Prop, int64_t Value);
QELL_RTL_API std::string GetStrProp(const TPersistent& Instance, const TPropInfo& Prop);
QELL_RTL_API void SetStrProp(TPersistent& Instance, const TPropInfo& Prop, const std::string& Value);
QELL_RTL_API TPersistent* GetObjectProp(TPersistent& Instance, const TPropInfo& Prop);
QELL_RTL_API bool SetMethodProp(TPersistent& Instance, const TPropInfo& Prop, const std::any& Handler);
// Whether the property is written: Stored allows it and its value is not the default.
// A class property is written when any of the sub-object's properties is.
QELL_RTL_API bool IsStoredProp(const TPersistent& Instance, const TPropInfo& Prop);
// The property of the instance's class, or nullptr.
QELL_RTL_API const TPropInfo* GetPropInfo(const TPersistent& Instance, std::string_view Name);

// Enumeration values by name (without case) and names by value: -1 and "" when none.
QELL_RTL_API int64_t GetEnumValue(const TTypeInfo& Type, std::string_view Name);
QELL_RTL_API std::string GetEnumName(const TTypeInfo& Type, int64_t Value);
// A set's value as its members' names, "[a, b]", and back (raising EPropertyError on a
// name that is not a member).
QELL_RTL_API std::string SetToString(const TTypeInfo& SetType, int64_t Value);
QELL_RTL_API int64_t SetMemberBits(const TTypeInfo& SetType, const std::vector<std::string>& Members);

// How the inspector's description line and `props --long` name a property's type: the
// type's name, and for an integer narrower than its type the range ("Integer 0..16",
// "TIWColor", "TQellShape").
QELL_RTL_API std::string PropTypeText(const TPropInfo& Prop);
// The property's default as its value is written ("clBtnFace", "True", "[akLeft, akTop]",
// "8"), or empty when it has none (the value is always written).
QELL_RTL_API std::string PropDefaultText(const TPropInfo& Prop);
