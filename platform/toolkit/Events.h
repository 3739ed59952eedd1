#pragma once
// Input and the toolkit's event types, in one place: the controls declare their event
// members with them, and the form reader binds handlers of exactly these types.

#include <cstdint>
#include <functional>

#include "platform/graphics/Types.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Set.h"
#include "platform/toolkit/Export.h"

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
// A left-button press carries ssLeft; a move with the button held does too.
using TShiftState = TSet<TShiftStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// The shift state that a held mouse button shows as.
constexpr TShiftStateItem ButtonShift(TMouseButton Button)
{
    return Button == mbLeft ? ssLeft : Button == mbRight ? ssRight : ssMiddle;
}

inline TShiftState operator|(TShiftState A, TShiftState B) { return TShiftState::FromBits(A.Bits() | B.Bits()); }

// Keys by code. Letters and digits use their uppercase ASCII codes ('A', '0').
using TKey = int;
constexpr TKey vkBack = 8, vkTab = 9, vkReturn = 13, vkEscape = 27, vkSpace = 32, vkPrior = 33,
               vkNext = 34, vkEnd = 35, vkHome = 36, vkLeft = 37, vkUp = 38, vkRight = 39,
               vkDown = 40, vkInsert = 45, vkDelete = 46, vkF1 = 112, vkF2 = 113, vkF7 = 118,
               vkF8 = 119, vkF10 = 121, vkApps = 93; // vkApps: the context-menu key

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7;

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

extern QELL_TOOLKIT_API const TTypeInfo TypeInfoTNotifyEvent;
extern QELL_TOOLKIT_API const TTypeInfo TypeInfoTMouseEvent;
extern QELL_TOOLKIT_API const TTypeInfo TypeInfoTMouseMoveEvent;
extern QELL_TOOLKIT_API const TTypeInfo TypeInfoTDrawCellEvent;
extern QELL_TOOLKIT_API const TTypeInfo TypeInfoTSelectCellEvent;
extern QELL_TOOLKIT_API const TTypeInfo TypeInfoTCloseQueryEvent;
