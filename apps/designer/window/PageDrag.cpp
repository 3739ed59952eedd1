#include "apps/designer/window/PageDrag.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_set>

namespace {

TRect BoundsOf(const TQellControl& C) { return Bounds(C.Left, C.Top, C.Width, C.Height); }

TRect Normalized(TPoint A, TPoint B)
{
    return Rect(std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X), std::max(A.Y, B.Y));
}

// What a drag snaps to: every control of the page but the moving ones, and the page.
TSnapTargets TargetsBesides(const TQellPage& Page, const std::vector<TPageDocument::TBounds>& Moving)
{
    std::unordered_set<const TQellControl*> Skip;
    for (const TPageDocument::TBounds& B : Moving) Skip.insert(B.Control);
    std::vector<TRect> Rects{Rect(0, 0, Page.Width, Page.Height)};
    Rects.reserve(static_cast<size_t>(Page.ComponentCount()) + 1);
    for (int I = 0; I < Page.ComponentCount(); ++I)
        if (const auto* C = dynamic_cast<const TQellControl*>(Page.Components(I)); C && !Skip.contains(C))
            Rects.push_back(BoundsOf(*C));
    return TSnapTargets(Rects);
}

std::string Counted(size_t N, const std::string& One)
{
    return N == 1 ? One : std::to_string(N) + " components";
}

} // namespace

TMovingEdges TPageDrag::EdgesOf(int Handle)
{
    TMovingEdges E;
    E.Left = Handle == 0 || Handle == 6 || Handle == 7;
    E.Right = Handle == 2 || Handle == 3 || Handle == 4;
    E.Top = Handle == 0 || Handle == 1 || Handle == 2;
    E.Bottom = Handle == 4 || Handle == 5 || Handle == 6;
    return E;
}

void TPageDrag::Reset()
{
    FKind = TKind::None;
    FTravelled = false;
    FHandle = -1;
    FFrom.clear();
    FTargets = {};
    FGuides = {};
}

void TPageDrag::BeginPlace(TPoint P)
{
    Reset();
    FKind = TKind::Place;
    FStart = FNow = P;
}

void TPageDrag::BeginMove(TPoint P)
{
    Reset();
    for (TPersistent* Object : FDocument.Selection())
        if (auto* C = dynamic_cast<TQellControl*>(Object)) FFrom.push_back({C, BoundsOf(*C)});
    if (FFrom.empty()) return;
    FKind = TKind::Move;
    FStart = FNow = P;
    FTargets = TargetsBesides(FDocument.Page(), FFrom);
}

void TPageDrag::BeginResize(TPoint P, TQellControl& Control, int Handle)
{
    Reset();
    FKind = TKind::Resize;
    FStart = FNow = P;
    FHandle = Handle;
    FFrom.push_back({&Control, BoundsOf(Control)});
    FTargets = TargetsBesides(FDocument.Page(), FFrom);
}

void TPageDrag::BeginBand(TPoint P, bool Keep)
{
    Reset();
    FKind = TKind::Band;
    FStart = FNow = P;
    FKeep = Keep;
}

void TPageDrag::MoveTo(TPoint P, bool Snap)
{
    FNow = P;
    if (!FTravelled && std::abs(P.X - FStart.X) < Threshold && std::abs(P.Y - FStart.Y) < Threshold) return;
    FTravelled = true;
    if (FKind != TKind::Move && FKind != TKind::Resize) return;
    const int DX = P.X - FStart.X, DY = P.Y - FStart.Y;
    const int Grid = Snap && FGrid.Snap ? FGrid.Size : 0, Reach = Snap ? TGridSettings::Reach : -1;
    FGuides = {};
    std::vector<TPageDocument::TBounds> To;
    if (FKind == TKind::Move) {
        // The group snaps as one: its outline, then every member by the same shift.
        TRect Box = FFrom[0].Rect;
        for (const TPageDocument::TBounds& F : FFrom)
            Box = Rect(std::min(Box.Left, F.Rect.Left), std::min(Box.Top, F.Rect.Top), std::max(Box.Right, F.Rect.Right),
                       std::max(Box.Bottom, F.Rect.Bottom));
        const TRect Moved = Rect(Box.Left + DX, Box.Top + DY, Box.Right + DX, Box.Bottom + DY);
        const TRect Snapped = FTargets.Move(Moved, Grid, Reach, FGuides);
        const int SX = Snapped.Left - Box.Left, SY = Snapped.Top - Box.Top;
        for (const TPageDocument::TBounds& F : FFrom)
            To.push_back({F.Control, Rect(F.Rect.Left + SX, F.Rect.Top + SY, F.Rect.Right + SX, F.Rect.Bottom + SY)});
    } else {
        const TMovingEdges E = EdgesOf(FHandle);
        TRect R = FFrom[0].Rect;
        if (E.Left) R.Left = std::min(R.Left + DX, R.Right);
        if (E.Right) R.Right = std::max(R.Right + DX, R.Left);
        if (E.Top) R.Top = std::min(R.Top + DY, R.Bottom);
        if (E.Bottom) R.Bottom = std::max(R.Bottom + DY, R.Top);
        To.push_back({FFrom[0].Control, FTargets.Resize(R, E, Grid, Reach, FGuides)});
    }
    FDocument.SetLiveBounds(To);
}

TRect TPageDrag::Outline() const
{
    if ((FKind == TKind::Band || FKind == TKind::Place) && FTravelled) return Normalized(FStart, FNow);
    return {};
}

void TPageDrag::End()
{
    const TKind Kind = FKind;
    const bool Travelled = FTravelled;
    const TRect Area = Normalized(FStart, FNow);
    const size_t Moved = FFrom.size();
    const std::string Name = Moved > 0 ? FFrom[0].Control->Name() : std::string();
    Reset();
    switch (Kind) {
    case TKind::None: break;
    case TKind::Move: FDocument.EndLiveBounds("Moved " + Counted(Moved, Name)); break;
    case TKind::Resize: FDocument.EndLiveBounds("Resized " + Name); break;
    case TKind::Place:
        if (const TClassInfo* Class = FDocument.PlacingClass()) {
            FDocument.SetPlacingClass(nullptr);
            if (Travelled) FDocument.AddComponent(*Class, "", {Area.Left, Area.Top}, TPoint{Area.Width(), Area.Height()});
            else FDocument.AddComponent(*Class, "", FStart);
        }
        break;
    case TKind::Band: {
        if (!Travelled) break;
        std::vector<TPersistent*> Chosen;
        if (FKeep) Chosen = FDocument.Selection();
        const TQellPage& Page = FDocument.Page();
        for (int I = 0; I < Page.ComponentCount(); ++I)
            if (auto* C = dynamic_cast<TQellControl*>(Page.Components(I)))
                if (!Intersect(BoundsOf(*C), Area).IsEmpty() &&
                    std::find(Chosen.begin(), Chosen.end(), C) == Chosen.end())
                    Chosen.push_back(C);
        std::erase(Chosen, static_cast<TPersistent*>(&FDocument.Page()));
        if (Chosen.empty()) Chosen.push_back(&FDocument.Page());
        FDocument.Select(std::move(Chosen));
        break;
    }
    }
}

void TPageDrag::Cancel()
{
    const TKind Kind = FKind;
    Reset();
    if (Kind == TKind::Move || Kind == TKind::Resize) FDocument.CancelLiveBounds();
    FDocument.SetPlacingClass(nullptr);
}
