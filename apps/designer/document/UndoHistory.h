#pragma once
// The designer's undo history: each step keeps only what its edit changed, the
// property values before and after of each object it wrote and the components it added,
// removed or moved in the page's order, so that an edit costs the same on a page of ten
// components as on one of ten thousand.

#include <chrono>
#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/designide/PropertyEditors.h"

// A change of the page's structure (a component added, removed or moved in the order, a
// collection's item likewise), as a step keeps it: done when recorded, taken back by
// Undo, done again by Redo. What it takes off the page it keeps alive, so that the
// objects of the steps before it are the same objects when it is undone.
class TStructureChange {
public:
    virtual ~TStructureChange() = default;
    virtual void Undo() = 0;
    virtual void Redo() = 0;
};

// One user edit: the structure it changed and the objects' properties it changed, each
// in the order done, the page's components it touched, and the inspector row it was made
// on (a path such as Appearance.TextColor). Edits with the same MergeKey made within a
// second of each other (a run of arrow key presses) share one step.
struct TUndoStep {
    std::vector<std::unique_ptr<TStructureChange>> Structure;
    std::vector<TPropertyChange> Changes;
    std::vector<TComponent*> Components;
    std::string RowPath;
    std::string MergeKey;
    std::chrono::steady_clock::time_point Time;
};

class TUndoHistory {
public:
    explicit TUndoHistory(size_t MaxSteps) : FMaxSteps(MaxSteps) {}

    // Forgets every step; the page as it is now is the saved one.
    void Clear();
    // A change of the edit under way, done already; EndStep closes the edit.
    void Record(const TPropertyChange& Change) { FPending.Changes.push_back(Change); }
    void Record(std::unique_ptr<TStructureChange> Change) { FPending.Structure.push_back(std::move(Change)); }
    // The property changes recorded since the last step.
    const std::vector<TPropertyChange>& Pending() const { return FPending.Changes; }
    // Closes the edit as one step (dropping the steps undone before it) and answers it;
    // nullptr when it changed nothing, and then there is no step. With a MergeKey, an
    // edit made at Time within a second of the last step of the same key, while that
    // step is the last one done and not saved, joins it: a property it changed again
    // keeps its first value before.
    const TUndoStep* EndStep(std::string RowPath, std::vector<TComponent*> Components, std::string MergeKey = {},
                             std::chrono::steady_clock::time_point Time = {});

    bool CanUndo() const { return FApplied > 0; }
    bool CanRedo() const { return FApplied < FSteps.size(); }
    // Writes the last step's values back (in reverse order) and answers it; nullptr when
    // there is none.
    const TUndoStep* Undo();
    // Writes the next step's values again and answers it; nullptr when there is none.
    const TUndoStep* Redo();

    // The page as it is now is what the file holds.
    void MarkSaved() { FSaved = FApplied; }
    // The page as it is now differs from the file, whatever undo does.
    void MarkUnsaved() { FSaved = Unreachable; }
    // Whether the page differs from what was last saved (or read).
    bool IsModified() const { return FSaved != FApplied; }
    // Whether any recorded change touched Prop (renames show in the component list).
    static bool Touches(const TUndoStep& Step, std::string_view PropName);
    // Undoes the edit under way (recorded, not yet ended) and forgets it.
    void CancelPending();

private:
    static constexpr size_t Unreachable = static_cast<size_t>(-1);
    std::deque<TUndoStep> FSteps;
    TUndoStep FPending;
    size_t FApplied = 0; // steps applied: the page is as after step FApplied - 1
    size_t FSaved = 0;   // FApplied when saved, Unreachable when that page is gone
    size_t FMaxSteps;
};

// The changes that make Target's published values Source's, sub-objects, collection
// items and owned components (matched by name) included, appended to Changes; false
// when the two differ in more than values (other components, classes or item counts).
bool DiffPageValues(TPersistent& Target, TPersistent& Source, std::vector<TPropertyChange>& Changes);
