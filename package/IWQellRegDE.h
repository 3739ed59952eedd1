#pragma once
// Unit IWQellRegDE: the package's registration procedure, which binds the colour
// property editor to the TIWColor properties of the component package's classes.

#include "dialog/IWKAVMOBILEDsnColorDialog.h"

// Eight RegisterPropertyEditor calls: TIWKAVMOBILEColorEditor for every TIWColor
// property of TQellButtonAppearance, TQellOnOffButtonAppearance,
// TQellTrackbarAppearance, TQellListItemAppearance, TQellIndicator, TQellSpinnerSlot,
// TQellSpinnerAppearance and TQellPopupAppearance, in that order. Checks nothing; an
// error of the host reaches the caller.
extern "C" QELL_PACKAGE_API void IWQellRegDE_Register() __asm__("IWQellRegDE.Register");

// The unit's counted procedures; they only count.
QELL_DECLARE_UNIT(QELL_PACKAGE_API, IWQellRegDE);
