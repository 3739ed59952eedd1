#pragma once
// Property editors: how the designer's inspector shows and changes one property of the
// selected objects. The inspector creates an editor for each property row (through the
// registry, EditorRegistry.h), hands it the selected objects and the property of each
// (SetPropEntry), and calls it: GetValue for the text, GetValues for a drop-down list,
// SetValue for typed text or a chosen item, Edit for the "…" button. An editor keeps no
// state beyond its entries; every operation reads or writes the objects.
//
// Editors are reference counted (TInterfacedObject): whoever creates one holds it in a
// TInterfacePtr, and it goes with the last reference.
//
// Editors, their registry and the inspector that calls them are used from the GUI
// thread only, the thread that runs the toolkit's modal loop; nothing here locks.

#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "platform/designide/Export.h"
#include "platform/rtl/Interfaces.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/TypInfo.h"

// A property's value: an ordinal's number or a string's text.
using TPropValue = std::variant<int64_t, std::string>;

// One object's property as an edit found it and as it left it.
struct TPropertyChange {
    TPersistent* Instance = nullptr;
    const TPropInfo* PropInfo = nullptr;
    TPropValue Before, After;
};

// The designer an editor reports its changes to.
class QELL_DESIGNIDE_API IDesigner {
public:
    virtual ~IDesigner() = default;
    // Each object whose property the edit under way changed, before Modified: what an
    // undo step keeps. Base: nothing.
    virtual void PropertyChanged(const TPropertyChange&) {}
    // One user edit of the selection has been written (one call whatever the path:
    // typed, chosen from the list or set by a dialog).
    virtual void Modified() = 0;
};

// Writes Value into Instance's property, as an undo or redo does.
QELL_DESIGNIDE_API void SetPropValue(TPersistent& Instance, const TPropInfo& Prop, const TPropValue& Value);

enum TPropertyAttribute {
    paValueList,      // GetValues offers the values: the inspector shows a drop-down button
    paSubProperties,  // GetProperties offers sub-properties: the row expands
    paDialog,         // Edit opens a dialog: the inspector shows a "…" button
    paMultiSelect,    // the editor serves several selected objects at once
    paReadOnly,       // the value cannot be typed
    paRevertable,     // the value can be set back to the default
    paSortList,       // the values are shown sorted
};
using TPropertyAttributes = TSet<TPropertyAttribute>;

class TPropertyEditor;
using TGetPropProc = std::function<void(const TInterfacePtr<TPropertyEditor>& Prop)>;

// A property editor's class: its name and how to make one for a selection of
// PropCount objects.
struct TPropertyEditorClass {
    std::string Name;
    std::function<TPropertyEditor*(IDesigner* Designer, int PropCount)> Create;
};

// Defines Class's metaclass (TPropertyEditorClass), in the .cpp of the class.
#define QELL_PROPERTY_EDITOR_CLASS(Class)                                                        \
    const TPropertyEditorClass& Class::EditorClass()                                             \
    {                                                                                            \
        static const TPropertyEditorClass Info{#Class, [](IDesigner* Designer, int PropCount) {   \
                                                   return static_cast<TPropertyEditor*>(         \
                                                       new Class(Designer, PropCount));          \
                                               }};                                               \
        return Info;                                                                             \
    }

// The base of every editor. Virtual operations say what a derived editor may change;
// the non-virtual ones are the access every editor shares.
class QELL_DESIGNIDE_API TPropertyEditor : public TInterfacedObject {
    QELL_CLASS(TPropertyEditor, TInterfacedObject)
    TPropertyEditor(IDesigner* Designer, int PropCount);
    static const TPropertyEditorClass& EditorClass();

    // Called once the entries are set, before any other call.
    virtual void Initialize() {}
    // Entry Index: the Index-th selected object and its property.
    void SetPropEntry(int Index, TPersistent* Instance, const TPropInfo* PropInfo);
    // Whether every object holds the property's default (nothing to write).
    virtual bool GetIsDefault();
    // The row became the selected one.
    virtual void Activate() {}
    // Whether every selected object has the same value. Base: only with one object.
    virtual bool AllEqual();
    // Whether typed text may complete to a value of the list. Base: true.
    virtual bool AutoFill();
    // The "…" action. Base: with a value list, sets the next value of the list (what a
    // double click on the value does).
    virtual void Edit();
    // Base: multi-select and revertable.
    virtual TPropertyAttributes GetAttributes();
    // The longest text that can be typed. Base: 255.
    virtual int GetEditLimit();
    // The row's name. Base: the property's name.
    virtual std::string GetName();
    // Calls Proc with an editor for each sub-property. Base: none.
    virtual void GetProperties(const TGetPropProc& Proc);
    // The property of the first object (nullptr for a row without one).
    virtual const TPropInfo* GetPropInfo();
    // The value as text. Base: "(unknown)".
    virtual std::string GetValue();
    virtual std::u16string GetValueW();
    // Calls Proc with each value the list offers, before it returns. Base: none.
    virtual void GetValues(const TGetStrProc& Proc);
    // Sets every object's property from Text. Raises on a text it cannot take, having
    // written nothing. Base: does nothing.
    virtual void SetValue(const std::string& Value);
    virtual void SetValueW(const std::u16string& Value);

    int PropCount() const { return static_cast<int>(FEntries.size()); }
    TPersistent* GetComponent(int Index) const { return FEntries.at(static_cast<size_t>(Index)).Instance; }
    const TPropInfo* GetPropInfoAt(int Index) const { return FEntries.at(static_cast<size_t>(Index)).PropInfo; }
    IDesigner* Designer() const { return FDesigner; }

    // The first object's value, or the Index-th's.
    int64_t GetOrdValue() const { return GetOrdValueAt(0); }
    int64_t GetOrdValueAt(int Index) const;
    std::string GetStrValue() const { return GetStrValueAt(0); }
    std::string GetStrValueAt(int Index) const;
    // Writes every object, then tells the designer: PropertyChanged for each object
    // whose value changed, then Modified once. A value out of a property's range raises
    // EPropertyError before anything is written. All or none: when a setter raises, every
    // object already written, and the one whose setter raised (which may hold half its
    // value), get their values back, the designer is told nothing, and the setter's
    // error reaches the caller (an error while setting back does not replace it).
    void SetOrdValue(int64_t Value);
    void SetStrValue(const std::string& Value);
    // GetValue when every object agrees (AllEqual), else empty: what the inspector shows.
    std::string GetVisualValue();
    // Whether the row can be set back to its default: the editor says so (paRevertable,
    // not paReadOnly) and every object's property declares a default.
    bool CanRevert();
    // Sets each object's property to its own declared default (which the form writer
    // then leaves out of the file), all or none as SetOrdValue writes, telling the
    // designer as it does. Raises EPropertyError, writing nothing, when CanRevert is
    // false.
    void Revert();
    // Tells the designer that the objects were written.
    void Modified();

private:
    struct TEntry {
        TPersistent* Instance = nullptr;
        const TPropInfo* PropInfo = nullptr;
    };
    // Writes After[I] into entry I, whose value is Before[I], by the rule of SetOrdValue.
    void WriteAll(const std::vector<TPropValue>& Before, const std::vector<TPropValue>& After);
    IDesigner* FDesigner;
    std::vector<TEntry> FEntries;
};

// Integers of every size and named integer types that no editor of their own claims:
// the decimal value, typed in the runtime's integer syntax. The base of every editor of
// a value that is not text: white space around typed text is ignored (ForgiveSpaces).
class QELL_DESIGNIDE_API TOrdinalProperty : public TPropertyEditor {
    QELL_CLASS(TOrdinalProperty, TPropertyEditor)
    using TPropertyEditor::TPropertyEditor;
    bool AllEqual() override;
    int GetEditLimit() override;

protected:
    // Called first by SetValue: when Value has white space (space, tab, line break)
    // around it, sets the value from the text without it, through the virtual SetValue,
    // and answers true; otherwise answers false and does nothing. Going round SetValue
    // again lets a derived editor that parses first and falls back to this class (the
    // package's colour editor) see the trimmed text too, so the inspector and a command
    // line are forgiven in this one place.
    bool ForgiveSpaces(const std::string& Value);
};

class QELL_DESIGNIDE_API TIntegerProperty : public TOrdinalProperty {
    QELL_CLASS(TIntegerProperty, TOrdinalProperty)
    using TOrdinalProperty::TOrdinalProperty;
    static const TPropertyEditorClass& EditorClass();
    std::string GetValue() override;
    // Decimal, or "$" and hexadecimal digits; "Value must be between A and B" outside
    // the property's range.
    void SetValue(const std::string& Value) override;
};

// Enumerations and Booleans: a value list of the names.
class QELL_DESIGNIDE_API TEnumProperty : public TOrdinalProperty {
    QELL_CLASS(TEnumProperty, TOrdinalProperty)
    using TOrdinalProperty::TOrdinalProperty;
    static const TPropertyEditorClass& EditorClass();
    TPropertyAttributes GetAttributes() override;
    std::string GetValue() override;
    void GetValues(const TGetStrProc& Proc) override;
    void SetValue(const std::string& Value) override;
};

// Sets: "[a, b]", typed the same way (brackets optional).
class QELL_DESIGNIDE_API TSetProperty : public TOrdinalProperty {
    QELL_CLASS(TSetProperty, TOrdinalProperty)
    using TOrdinalProperty::TOrdinalProperty;
    static const TPropertyEditorClass& EditorClass();
    std::string GetValue() override;
    void SetValue(const std::string& Value) override;
};

class QELL_DESIGNIDE_API TStringProperty : public TPropertyEditor {
    QELL_CLASS(TStringProperty, TPropertyEditor)
    using TPropertyEditor::TPropertyEditor;
    static const TPropertyEditorClass& EditorClass();
    bool AllEqual() override;
    int GetEditLimit() override;
    std::string GetValue() override;
    void SetValue(const std::string& Value) override;
};

// A component's name: one object at a time, since two cannot share a name.
class QELL_DESIGNIDE_API TComponentNameProperty : public TStringProperty {
    QELL_CLASS(TComponentNameProperty, TStringProperty)
    using TStringProperty::TStringProperty;
    static const TPropertyEditorClass& EditorClass();
    TPropertyAttributes GetAttributes() override;
};

// A sub-object ("(TFont)"): its properties as sub-rows; a collection's items as rows
// "[0]", "[1]", … each with the item's properties.
class QELL_DESIGNIDE_API TClassProperty : public TPropertyEditor {
    QELL_CLASS(TClassProperty, TPropertyEditor)
    using TPropertyEditor::TPropertyEditor;
    static const TPropertyEditorClass& EditorClass();
    TPropertyAttributes GetAttributes() override;
    std::string GetValue() override;
    void GetProperties(const TGetPropProc& Proc) override;
};
