#pragma once
// Which property editor serves which property. Registrations name a property type, a
// component class and a property name; the inspector asks for each property of the
// selected objects. A registration belongs to the module that made it and goes when
// that module is unloaded, so the inspector never keeps an editor class of a library
// that is gone. Used from the GUI thread only, as the inspector is.

#include <string>
#include <vector>

#include "platform/designide/PropertyEditors.h"
#include "platform/rtl/Modules.h"

// From now on EditorClass serves the properties of type PropertyType (its type
// information, compared by identity; a class type also serves the types of its
// descendant classes, so TypeInfoTCollection serves every collection) of
// ComponentClass and its descendants (nullptr: of every class) named PropertyName
// (empty: every such property). Module: who registers (the caller's).
QELL_DESIGNIDE_API void RegisterPropertyEditor(const TTypeInfo* PropertyType, const TClassInfo* ComponentClass,
                                               const std::string& PropertyName,
                                               const TPropertyEditorClass& EditorClass,
                                               TModuleHandle Module = HInstance());

// The editor class for Prop of an object of class InstanceClass: among the
// registrations that match (the type or an ancestor class's type, the class or an
// ancestor, the name or any name),
// the latest; without one, the host's editor for the type's kind (integers and named
// integers: TIntegerProperty; enumerations: TEnumProperty; sets, strings, sub-objects:
// TSetProperty, TStringProperty, TClassProperty). nullptr for events, which the
// inspector does not show.
QELL_DESIGNIDE_API const TPropertyEditorClass* GetEditorClass(const TPropInfo& Prop, const TClassInfo& InstanceClass);

// One registration, as RegisterPropertyEditor made it.
struct TEditorRegistration {
    const TTypeInfo* PropertyType;
    const TClassInfo* ComponentClass;
    std::string PropertyName;
    const TPropertyEditorClass* EditorClass;
    TModuleHandle Module;
};
// Every registration, oldest first.
QELL_DESIGNIDE_API std::vector<TEditorRegistration> PropertyEditorRegistrations();

// Forgets every registration Module made. Runs by itself when a module is unloaded.
QELL_DESIGNIDE_API void UnregisterModulePropertyEditors(TModuleHandle Module);

// The host's own registrations beyond the editors by kind: TColorProperty for TColor,
// TIWColorProperty for TIWColor, TComponentNameProperty for a component's Name. The unit
// DesignEditors makes them when the library loads, before any package can register its
// own (which, being later, win for the classes they name).
void RegisterHostPropertyEditors();

// Calls Proc with an editor for each property that every object of Selection has (by
// name and type, served by the same editor class), in the first object's order; with
// several objects only editors that allow it (paMultiSelect). Each editor's entries are
// set and Initialize has run.
QELL_DESIGNIDE_API void GetComponentProperties(const std::vector<TPersistent*>& Selection, IDesigner* Designer,
                                               const TGetPropProc& Proc);
