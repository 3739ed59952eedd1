// The page's colours, and the document's wait for a colour picked from the page and
// setting a property from its text (PageDocument.h).

#include "apps/designer/document/PageColours.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "apps/designer/document/PageDocument.h"
#include "apps/designer/document/RowTexts.h"
#include "colour/IWColors.h"
#include "platform/designide/PropertyPaths.h"

namespace {

bool IsColour(const TPropInfo& P) { return P.PropType == &TypeInfoTIWColor || P.PropType == &TypeInfoTColor; }

// Reports an editor's changes to the document's history and leaves closing the step to
// the caller, which names it by its row.
class TStepRecorder : public IDesigner {
public:
    explicit TStepRecorder(TPageDocument& Document) : FDocument(Document) {}
    void PropertyChanged(const TPropertyChange& Change) override { FDocument.PropertyChanged(Change); }
    void Modified() override {}

private:
    TPageDocument& FDocument;
};

} // namespace

std::vector<TPageColour> PageColours(TQellPage& Page)
{
    std::vector<TPageColour> Found;
    std::unordered_map<TColor, size_t> Index; // a value's place in Found
    const auto Count = [&](TPersistent& Object) {
        ForEachPropertyPath({&Object}, nullptr, [&](const std::string&, const TInterfacePtr<TPropertyEditor>& E) {
            const TPropInfo* P = E->GetPropInfo();
            if (!P || !IsColour(*P)) return;
            const auto Value = static_cast<TColor>(E->GetOrdValue());
            const auto [It, Added] = Index.try_emplace(Value, Found.size());
            if (Added) Found.push_back({Value, 1});
            else ++Found[It->second].Uses;
        });
    };
    Count(Page);
    for (int I = 0; I < Page.ComponentCount(); ++I) Count(*Page.Components(I));
    std::stable_sort(Found.begin(), Found.end(),
                     [](const TPageColour& A, const TPageColour& B) { return A.Uses > B.Uses; });
    return Found;
}

void TPageDocument::SetPicking(TColourPick Pick)
{
    if (Pick.ObjectPaths == FPicking.ObjectPaths && Pick.RowPath == FPicking.RowPath) return;
    FPicking = std::move(Pick);
    TDocumentChange Change;
    Change.Picking = true;
    Change.Action = FPicking.RowPath.empty()
                        ? std::string("Picking cancelled")
                        : "Click the page to pick " + FPicking.RowPath + "; Escape or a right click cancels";
    Notify(Change);
}

void TPageDocument::PickColour(TColor Color)
{
    if (FPicking.RowPath.empty()) return;
    const TColourPick Pick = std::exchange(FPicking, {});
    TDocumentChange Ended;
    Ended.Picking = true;
    Notify(Ended);
    std::vector<TPersistent*> Objects;
    for (const std::string& Path : Pick.ObjectPaths) {
        const TDocumentEntry* E = FindEntry(Path);
        if (!E) throw EPathError(QuotedInput(Path) + " is no longer on the page");
        Objects.push_back(E->Object);
    }
    TStepRecorder Recorder(*this);
    const TInterfacePtr<TPropertyEditor> Editor =
        Objects.empty() ? nullptr : FindPropertyEditor(Objects, &Recorder, Pick.RowPath);
    if (!Editor || !Editor->GetPropInfo() || !IsColour(*Editor->GetPropInfo()))
        throw EPathError(QuotedInput(Pick.RowPath) + " is no colour of what was selected");
    TRowTexts Texts;
    Editor->SetValue(Texts.ValueAs(*Editor->GetComponent(0), *Editor->GetPropInfo(), Color));
    EndEdit(Pick.RowPath);
}

void TPageDocument::SetPropertyText(std::string_view Path, const std::string& Text)
{
    const TPagePath Split = SplitPagePath(*FPage, Path);
    TStepRecorder Recorder(*this);
    const TInterfacePtr<TPropertyEditor> Editor = FindPropertyEditor({Split.Component}, &Recorder, Split.Property);
    if (!Editor)
        throw EPathError("no property " + QuotedInput(Split.Property) + " on " + QuotedInput(Split.Component->Name()));
    Editor->SetValue(Text);
    EndEdit(Split.Property);
}
