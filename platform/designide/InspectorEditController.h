#pragma once
// The property inspector's in-place editing of the selected row's value: the edit box
// that covers the value while the user types, and the drop-down list of the editor's
// values below (or above) it. It sets values only through the row's editor, and a
// user's text is never dropped: leaving the box by any route (Enter, Tab, Up, Down, a
// click elsewhere, an action of the inspector) sets it first, and text the editor
// refuses stays in the box, with the focus, to be mended.
//
// In the box: Enter sets the value; Escape puts it back; Ctrl+Z puts it back too while
// the text differs; Up and Down set it and move to the row above or below; Alt+Down
// opens the list on what was typed. In the list: Escape or Alt+Up closes it; choosing
// an item sets it; leaving it closes it and sets text typed before it opened.
//
// The inspector owns one; used from the GUI thread only.

#include <functional>
#include <string>

#include "platform/designide/Export.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/ListBox.h"

class TPropertyInspector;
class TInspectorEdit;
class TInspectorList;

class QELL_DESIGNIDE_API TInspectorEditController {
public:
    // The edit box goes on View, hidden; the list is made when first opened.
    explicit TInspectorEditController(TPropertyInspector& View);
    // Frees the list, which sits on the form rather than on the view.
    ~TInspectorEditController();
    TInspectorEditController(const TInspectorEditController&) = delete;
    TInspectorEditController& operator=(const TInspectorEditController&) = delete;

    // Whether the box is showing, and the box itself (its text is what was typed).
    bool Editing() const;
    TEdit* Edit() const;
    // Starts typing into the selected row, with Text (all of it selected, or the caret
    // after it). False when no row is selected or its editor is read-only.
    bool Begin(const std::string& Text, bool SelectAll);
    // Sets the value from the box's text. Unchanged text closes the box and counts as
    // set. A refusal is shown in a message box; the property keeps its value and the
    // box its text, all selected. Answers whether the value was set.
    bool Commit();
    // Puts the value back and closes the box, the focus going back to the view.
    void Cancel();
    // Whether the box holds text that differs from the value it started with.
    bool Changed() const;
    // Before an action that leaves the box: Commit; when the editor refuses the text,
    // the box keeps it and the focus and the answer is false (the action is not to be
    // carried out). True when nothing was being typed.
    bool Leave();
    // Keeps the box over the selected row's value as the view scrolls or resizes; a
    // value scrolled out of view ends the typing (Cancel).
    void Place();

    // The open list, or nullptr.
    TListBox* List() const;
    // Opens the selected row's list (the editor's values, paValueList) below its value
    // (above when the form has no room below), the current value selected and the
    // list focused. Text typed so far stays in the box and starts the list's
    // type-ahead; without typed text the box closes. Nothing without a form or a list.
    void OpenList();
    // Closes the list; the focus goes back to the box, if typing, else to the view.
    void CloseList();
    // Sets the value of the open list's item at Index (replacing typed text) and
    // closes the list. Nothing when no list is open or Index is out of range.
    void Choose(int Index);

    // Runs Action, a change of a value through an editor: what it throws is shown in
    // a message box. The rows are built again afterwards, in every case. Answers
    // whether it ran through.
    bool Change(const std::function<void()>& Action);

private:
    TPropertyInspector& FView;
    TInspectorEdit* FEdit;
    TInspectorList* FList = nullptr;
    std::string FEditStart; // the value the box started with
    friend class TInspectorEdit;
};
