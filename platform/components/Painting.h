#pragma once
// Drawing helpers that the components' previews share. Private to the library.

#include <string>

#include "platform/components/IWQellBase.h"

// Space between a border and the text inside it.
constexpr int TextPadding = 4;

// Fills R with Color, its corners rounded with Radius (at most half the shorter side):
// a pixel of a corner is filled when its centre lies inside the corner's circle.
void FillRoundRect(TCanvas& C, const TRect& R, int Radius, TColor Color);
// R in Border with, BorderWidth inside it on every side, the inside in Fill; the
// inside's corners follow the outside's.
void FillFramed(TCanvas& C, const TRect& R, int Radius, int BorderWidth, TColor Border, TColor Fill);
// The corner radius that Shape gives a shape filling R.
int ShapeRadius(TQellShape Shape, const TRect& R);
// Text in the default font and Color, centred vertically in R and aligned across it. A
// text wider than R is cut after the last character that fits; nothing is drawn when R
// is lower than the font, so the text never leaves R.
void DrawCaption(TCanvas& C, const TRect& R, const std::string& Text, TColor Color, TQellTextAlign Align);
