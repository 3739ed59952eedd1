#include "apps/designer/document/UndoHistory.h"

#include <algorithm>

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

void TUndoHistory::Clear()
{
    FSteps.clear();
    FPending = {};
    FApplied = 0;
    FSaved = 0;
}

namespace {

void UndoStep(const TUndoStep& Step)
{
    for (auto It = Step.Changes.rbegin(); It != Step.Changes.rend(); ++It)
        SetPropValue(*It->Instance, *It->PropInfo, It->Before);
    for (auto It = Step.Structure.rbegin(); It != Step.Structure.rend(); ++It) (*It)->Undo();
}

void RedoStep(const TUndoStep& Step)
{
    for (const auto& S : Step.Structure) S->Redo();
    for (const TPropertyChange& C : Step.Changes) SetPropValue(*C.Instance, *C.PropInfo, C.After);
}

// Adds Step's changes to Into's: a property Into changed already takes Step's value after.
void Merge(TUndoStep& Into, TUndoStep& Step)
{
    for (TPropertyChange& C : Step.Changes) {
        const auto Same = std::find_if(Into.Changes.begin(), Into.Changes.end(), [&](const TPropertyChange& I) {
            return I.Instance == C.Instance && I.PropInfo == C.PropInfo;
        });
        if (Same != Into.Changes.end()) Same->After = C.After;
        else Into.Changes.push_back(std::move(C));
    }
    for (auto& S : Step.Structure) Into.Structure.push_back(std::move(S));
    for (TComponent* C : Step.Components)
        if (std::find(Into.Components.begin(), Into.Components.end(), C) == Into.Components.end())
            Into.Components.push_back(C);
    Into.Time = Step.Time;
}

} // namespace

void TUndoHistory::CancelPending()
{
    UndoStep(FPending);
    FPending = {};
}

const TUndoStep* TUndoHistory::EndStep(std::string RowPath, std::vector<TComponent*> Components,
                                       std::string MergeKey, std::chrono::steady_clock::time_point Time)
{
    TUndoStep Step = std::move(FPending);
    FPending = {};
    if (Step.Changes.empty() && Step.Structure.empty()) return nullptr;
    Step.RowPath = std::move(RowPath);
    Step.Components = std::move(Components);
    Step.MergeKey = std::move(MergeKey);
    Step.Time = Time;
    if (!Step.MergeKey.empty() && FApplied == FSteps.size() && FApplied > 0 && FSaved != FApplied) {
        TUndoStep& Last = FSteps.back();
        if (Last.MergeKey == Step.MergeKey && Step.Time - Last.Time < std::chrono::seconds(1)) {
            Merge(Last, Step);
            return &Last;
        }
    }
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
    UndoStep(Step);
    return &Step;
}

const TUndoStep* TUndoHistory::Redo()
{
    if (!CanRedo()) return nullptr;
    const TUndoStep& Step = FSteps[FApplied++];
    RedoStep(Step);
    return &Step;
}

bool TUndoHistory::Touches(const TUndoStep& Step, std::string_view PropName)
{
    for (const TPropertyChange& C : Step.Changes)
        if (SameText(C.PropInfo->Name, PropName)) return true;
    return false;
}

bool DiffPageValues(TPersistent& Target, TPersistent& Source, std::vector<TPropertyChange>& Changes)
{
    if (&Target.ClassInfo() != &Source.ClassInfo()) return false;
    for (const TPropInfo* P : Target.ClassInfo().AllProperties()) {
        switch (P->Kind()) {
        case TTypeKind::Method: break;
        case TTypeKind::Class: {
            TPersistent* T = GetObjectProp(Target, *P);
            TPersistent* S = GetObjectProp(Source, *P);
            if (!T || !S) {
                if (T != S) return false;
                break;
            }
            auto* TC = dynamic_cast<TCollection*>(T);
            auto* SC = dynamic_cast<TCollection*>(S);
            if (TC && SC) {
                if (TC->Count() != SC->Count()) return false;
                for (int I = 0; I < TC->Count(); ++I)
                    if (!DiffPageValues(*TC->Items(I), *SC->Items(I), Changes)) return false;
            } else if (!DiffPageValues(*T, *S, Changes)) {
                return false;
            }
            break;
        }
        case TTypeKind::String:
            if (!P->ReadOnly() && GetStrProp(Target, *P) != GetStrProp(Source, *P))
                Changes.push_back({&Target, P, GetStrProp(Target, *P), GetStrProp(Source, *P)});
            break;
        default:
            if (!P->ReadOnly() && GetOrdProp(Target, *P) != GetOrdProp(Source, *P))
                Changes.push_back({&Target, P, GetOrdProp(Target, *P), GetOrdProp(Source, *P)});
            break;
        }
    }
    auto* TComp = dynamic_cast<TComponent*>(&Target);
    auto* SComp = dynamic_cast<TComponent*>(&Source);
    if (!TComp || !SComp) return true;
    if (TComp->ComponentCount() != SComp->ComponentCount()) return false;
    for (int I = 0; I < TComp->ComponentCount(); ++I) {
        TComponent* S = SComp->FindComponent(TComp->Components(I)->Name());
        if (!S || !DiffPageValues(*TComp->Components(I), *S, Changes)) return false;
    }
    return true;
}
