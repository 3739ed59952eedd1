#include "apps/designer/UndoHistory.h"

#include "platform/rtl/SysUtils.h"

void TUndoHistory::Clear()
{
    FSteps.clear();
    FPending = {};
    FApplied = 0;
    FSaved = 0;
}

const TUndoStep* TUndoHistory::EndStep(std::string RowPath)
{
    TUndoStep Step = std::move(FPending);
    FPending = {};
    if (Step.Changes.empty()) return nullptr;
    Step.RowPath = std::move(RowPath);
    // The steps undone before this edit can no longer be redone; if the saved page was
    // among them, no undo reaches it again.
    if (FSaved > FApplied) FSaved = Unreachable;
    FSteps.resize(FApplied);
    FSteps.push_back(std::move(Step));
    FApplied = FSteps.size();
    if (FSteps.size() > FMaxSteps) {
        FSteps.pop_front();
        --FApplied;
        FSaved = FSaved == 0 || FSaved == Unreachable ? Unreachable : FSaved - 1;
    }
    return &FSteps.back();
}

const TUndoStep* TUndoHistory::Undo()
{
    if (!CanUndo()) return nullptr;
    const TUndoStep& Step = FSteps[--FApplied];
    for (auto It = Step.Changes.rbegin(); It != Step.Changes.rend(); ++It)
        SetPropValue(*It->Instance, *It->PropInfo, It->Before);
    return &Step;
}

const TUndoStep* TUndoHistory::Redo()
{
    if (!CanRedo()) return nullptr;
    const TUndoStep& Step = FSteps[FApplied++];
    for (const TPropertyChange& C : Step.Changes) SetPropValue(*C.Instance, *C.PropInfo, C.After);
    return &Step;
}

bool TUndoHistory::Touches(const TUndoStep& Step, std::string_view PropName)
{
    for (const TPropertyChange& C : Step.Changes)
        if (SameText(C.PropInfo->Name, PropName)) return true;
    return false;
}
