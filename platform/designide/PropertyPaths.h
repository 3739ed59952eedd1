#pragma once
// Properties by path, as the inspector names its rows: "Caption", a sub-object's
// property "Appearance.TextColor", a collection item "Slots[0]" and its property
// "Slots[0].TextColor". A command line reaches a property this way through the same
// editors the inspector uses.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/designide/PropertyEditors.h"

// How many levels of sub-properties below a top row are offered.
constexpr int MaxPropertyDepth = 8;

// The path of a row named Name under the row at Parent (empty: a top row).
QELL_DESIGNIDE_API std::string PropertyPath(const std::string& Parent, const std::string& Name);
// The depth of the row at Path: 0 for "Caption", 2 for "Slots[0].TextColor".
QELL_DESIGNIDE_API int PropertyPathLevel(std::string_view Path);
// Whether the row of Editor at Level opens into rows of its own: a sub-object or
// collection, above the deepest level offered.
QELL_DESIGNIDE_API bool PropertyRowExpands(TPropertyEditor& Editor, int Level);

// The editor of the row at Path (names compared without case) for the objects of
// Selection, or an empty pointer when there is no such row.
QELL_DESIGNIDE_API TInterfacePtr<TPropertyEditor> FindPropertyEditor(const std::vector<TPersistent*>& Selection,
                                                                     IDesigner* Designer, std::string_view Path);

using TPropertyPathProc = std::function<void(const std::string& Path, const TInterfacePtr<TPropertyEditor>& Editor)>;
// Calls Proc with every row of Selection in the inspector's order, every sub-object
// expanded: each editor, then its sub-properties.
QELL_DESIGNIDE_API void ForEachPropertyPath(const std::vector<TPersistent*>& Selection, IDesigner* Designer,
                                            const TPropertyPathProc& Proc);
