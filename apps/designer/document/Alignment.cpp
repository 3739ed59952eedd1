#include "apps/designer/document/Alignment.h"

#include <algorithm>
#include <numeric>

namespace {

TRect Moved(const TRect& R, int Left, int Top) { return Bounds(Left, Top, R.Width(), R.Height()); }

// Equal gaps along one axis: Start and Size give a rectangle's place and extent there.
template <typename TStart, typename TSize, typename TPlace>
std::vector<TRect> Spaced(const std::vector<TRect>& Rects, TStart Start, TSize Size, TPlace Place)
{
    std::vector<size_t> Order(Rects.size());
    std::iota(Order.begin(), Order.end(), 0);
    std::stable_sort(Order.begin(), Order.end(), [&](size_t A, size_t B) { return Start(Rects[A]) < Start(Rects[B]); });
    const TRect& First = Rects[Order.front()];
    const TRect& Last = Rects[Order.back()];
    long Used = 0;
    for (const TRect& R : Rects) Used += Size(R);
    const long Span = Start(Last) + Size(Last) - Start(First);
    const long Gaps = static_cast<long>(Rects.size()) - 1, Free = Span - Used;
    // Floor division, so that a negative free space (overlaps) spreads as evenly.
    const long Gap = Free >= 0 ? Free / Gaps : -((-Free + Gaps - 1) / Gaps);
    long Extra = Free - Gap * Gaps;
    std::vector<TRect> Out = Rects;
    long At = Start(First);
    for (size_t I = 0; I < Order.size(); ++I) {
        const TRect& R = Rects[Order[I]];
        Out[Order[I]] = Place(R, static_cast<int>(At));
        At += Size(R) + Gap + (Extra > 0 ? 1 : 0);
        if (Extra > 0) --Extra;
    }
    return Out;
}

} // namespace

std::vector<TRect> Aligned(const std::vector<TRect>& Rects, TAlignment How)
{
    if (Rects.size() < 2) return Rects;
    const TRect Lead = Rects[0];
    std::vector<TRect> Out;
    Out.reserve(Rects.size());
    const auto Each = [&](auto Make) {
        for (const TRect& R : Rects) Out.push_back(Make(R));
        return Out;
    };
    switch (How) {
    case TAlignment::Lefts: return Each([&](const TRect& R) { return Moved(R, Lead.Left, R.Top); });
    case TAlignment::Rights: return Each([&](const TRect& R) { return Moved(R, Lead.Right - R.Width(), R.Top); });
    case TAlignment::Tops: return Each([&](const TRect& R) { return Moved(R, R.Left, Lead.Top); });
    case TAlignment::Bottoms: return Each([&](const TRect& R) { return Moved(R, R.Left, Lead.Bottom - R.Height()); });
    case TAlignment::Centres:
        return Each([&](const TRect& R) { return Moved(R, Lead.Left + (Lead.Width() - R.Width()) / 2, R.Top); });
    case TAlignment::Middles:
        return Each([&](const TRect& R) { return Moved(R, R.Left, Lead.Top + (Lead.Height() - R.Height()) / 2); });
    case TAlignment::SameWidth: return Each([&](const TRect& R) { return Bounds(R.Left, R.Top, Lead.Width(), R.Height()); });
    case TAlignment::SameHeight: return Each([&](const TRect& R) { return Bounds(R.Left, R.Top, R.Width(), Lead.Height()); });
    case TAlignment::SameSize: return Each([&](const TRect& R) { return Bounds(R.Left, R.Top, Lead.Width(), Lead.Height()); });
    case TAlignment::SpaceAcross:
        return Spaced(
            Rects, [](const TRect& R) { return R.Left; }, [](const TRect& R) { return R.Width(); },
            [](const TRect& R, int At) { return Moved(R, At, R.Top); });
    case TAlignment::SpaceDown:
        return Spaced(
            Rects, [](const TRect& R) { return R.Top; }, [](const TRect& R) { return R.Height(); },
            [](const TRect& R, int At) { return Moved(R, R.Left, At); });
    }
    return Rects;
}

const char* AlignmentCaption(TAlignment How)
{
    switch (How) {
    case TAlignment::Lefts: return "Align left edges";
    case TAlignment::Rights: return "Align right edges";
    case TAlignment::Tops: return "Align top edges";
    case TAlignment::Bottoms: return "Align bottom edges";
    case TAlignment::Centres: return "Align horizontal centres";
    case TAlignment::Middles: return "Align vertical centres";
    case TAlignment::SameWidth: return "Make same width";
    case TAlignment::SameHeight: return "Make same height";
    case TAlignment::SameSize: return "Make same size";
    case TAlignment::SpaceAcross: return "Space evenly across";
    case TAlignment::SpaceDown: return "Space evenly down";
    }
    return "";
}
