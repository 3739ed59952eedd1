#pragma once
// Unit IWQellBase of the runtime component package: the persistent appearance objects
// that carry a web component's colours, the components that put them on a page, and
// the page itself. docs/components.md lists every published property with its type,
// range and default.
//
// Every class publishes its properties beside its code; each default is the value the
// member is declared with, so a new instance writes nothing. Colours of the web
// framework are TIWColor (TypeInfoTIWColor), the page's own colour is a toolkit TColor
// (TypeInfoTColor): an inspector tells them apart by that.

#include <string>
#include <vector>

#include "colour/IWColors.h"
#include "platform/components/Export.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/Classes.h"

// How the corners of a shape are drawn: square, slightly rounded (a quarter of the
// shorter side, at most 8 pixels) or fully rounded (half the shorter side).
enum TQellShape { qsRectangle, qsRounded, qsPill };
extern QELL_COMPONENTS_API const TTypeInfo TypeInfoTQellShape;

enum TQellTextAlign { qaLeft, qaCenter, qaRight };
extern QELL_COMPONENTS_API const TTypeInfo TypeInfoTQellTextAlign;

// The largest width or height, and the farthest position, of anything on a page.
constexpr int MaxQellExtent = 4096;

// ---------------------------------------------------------------------------------
// Appearance objects: persistent sub-objects with published colours and looks.

class QELL_COMPONENTS_API TQellButtonAppearance : public TPersistent {
    QELL_CLASS(TQellButtonAppearance, TPersistent)
    TIWColor BackgroundColor = clBtnFace;
    TIWColor BorderColor = 0x696969; // DimGray
    TIWColor TextColor = clBtnText;
    TIWColor ShadowColor = 0xC8C8C8;
    int BorderWidth = 1;
    int CornerRadius = 4;
    int ShadowDepth = 2; // towards the lower right
    TQellTextAlign TextAlign = qaCenter;
};

class QELL_COMPONENTS_API TQellOnOffButtonAppearance : public TPersistent {
    QELL_CLASS(TQellOnOffButtonAppearance, TPersistent)
    TIWColor OnColor = 0x32CD32; // LimeGreen
    TIWColor OffColor = 0xCCCCCC;
    TIWColor ThumbColor = clWindow;
    TIWColor BorderColor = clBtnShadow;
    TQellShape Shape = qsPill;
    int BorderWidth = 1;
    int ThumbMargin = 2; // between the border and the thumb
};

class QELL_COMPONENTS_API TQellTrackbarAppearance : public TPersistent {
    QELL_CLASS(TQellTrackbarAppearance, TPersistent)
    TIWColor TrackColor = 0xDDDDDD;
    TIWColor FillColor = 0xFF901E; // DodgerBlue: the track from Min to the thumb
    TIWColor ThumbColor = clBtnFace;
    TIWColor ThumbBorderColor = clBtnShadow;
    int TrackHeight = 4;
    int ThumbSize = 16;
    TQellShape ThumbShape = qsPill;
};

class QELL_COMPONENTS_API TQellListItemAppearance : public TPersistent {
    QELL_CLASS(TQellListItemAppearance, TPersistent)
    TIWColor BackgroundColor = clWindow;
    TIWColor TextColor = clWindowText;
    TIWColor SelectedColor = clHighlight;
    TIWColor SelectedTextColor = clHighlightText;
    TIWColor DividerColor = 0xDCDCDC; // Gainsboro
    int ItemHeight = 24;
    int TextIndent = 8;
    bool ShowDividers = true;
    TQellTextAlign TextAlign = qaLeft;
};

// The marks under a track bar: those up to the thumb are on, the others off.
class QELL_COMPONENTS_API TQellIndicator : public TPersistent {
    QELL_CLASS(TQellIndicator, TPersistent)
    TIWColor OnColor = clHighlight;
    TIWColor OffColor = 0xC0C0C0; // Silver
    bool Visible = true;
    int Count = 11; // spread evenly from Min to Max
    int Size = 6;
    TQellShape Shape = qsPill;
};

class QELL_COMPONENTS_API TQellSpinnerAppearance : public TPersistent {
    QELL_CLASS(TQellSpinnerAppearance, TPersistent)
    TIWColor BackgroundColor = clBtnFace;
    TIWColor BorderColor = 0x808080; // Gray
    TIWColor HighlightColor = 0xFACE87; // LightSkyBlue: the selected slot's band
    TIWColor HighlightTextColor = 0x000000; // Black
    int VisibleSlots = 3; // the selected one in the middle
    int SlotHeight = 20;
    int BorderWidth = 1;
    int CornerRadius = 4;
    bool Wrap = false; // the slots go round: the last is followed by the first
};

class QELL_COMPONENTS_API TQellPopupAppearance : public TPersistent {
    QELL_CLASS(TQellPopupAppearance, TPersistent)
    TIWColor OverlayColor = 0x404040; // what the popup dims while it is open
    TIWColor BorderColor = 0x696969; // DimGray
    TIWColor TitleBarColor = clActiveCaption;
    TIWColor TitleTextColor = clCaptionText;
    TIWColor BodyColor = clWindow;
    int TitleHeight = 24;
    int BorderWidth = 1;
    bool Modal = true; // the overlay covers the page
    bool CloseButton = true;
};

extern QELL_COMPONENTS_API const TTypeInfo TypeInfoTQellButtonAppearance;
extern QELL_COMPONENTS_API const TTypeInfo TypeInfoTQellOnOffButtonAppearance;
extern QELL_COMPONENTS_API const TTypeInfo TypeInfoTQellTrackbarAppearance;
extern QELL_COMPONENTS_API const TTypeInfo TypeInfoTQellListItemAppearance;
extern QELL_COMPONENTS_API const TTypeInfo TypeInfoTQellIndicator;
extern QELL_COMPONENTS_API const TTypeInfo TypeInfoTQellSpinnerAppearance;
extern QELL_COMPONENTS_API const TTypeInfo TypeInfoTQellPopupAppearance;

// ---------------------------------------------------------------------------------
// The page and the components on it.

// The root of a page file. The form reader reads into a page; it never creates one.
class QELL_COMPONENTS_API TQellPage : public TComponent {
    QELL_CLASS(TQellPage, TComponent)
    using TComponent::TComponent;
    std::string Title;
    int Width = 640;
    int Height = 480;
    TColor Color = clWindow;
};

// A component placed on a page, with a preview of itself.
class QELL_COMPONENTS_API TQellControl : public TComponent {
    QELL_CLASS(TQellControl, TComponent)
    int Left = 0, Top = 0; // on the page
    int Width, Height;

    // Draws the component in its colours, (0, 0) at its top-left, within Width x
    // Height, whatever its properties hold; the caller binds Canvas to the place. Sets
    // the canvas's pen, brush and font as it needs them. Colours go through the canvas,
    // which draws toolkit codes (clBtnFace) as ColorToRGB gives them.
    virtual void Paint(TCanvas& Canvas) const = 0;

protected:
    TQellControl(TComponent* AOwner, int AWidth, int AHeight);
};

// Shows its background, border, shadow and caption in the text colour.
class QELL_COMPONENTS_API TQellButton : public TQellControl {
    QELL_CLASS(TQellButton, TQellControl)
    explicit TQellButton(TComponent* AOwner);
    std::string Caption = "Button";
    TQellButtonAppearance Appearance;
    void Paint(TCanvas& Canvas) const override;
};

// Shows its on or off colour as Checked says, its border, and its thumb.
class QELL_COMPONENTS_API TQellOnOffButton : public TQellControl {
    QELL_CLASS(TQellOnOffButton, TQellControl)
    explicit TQellOnOffButton(TComponent* AOwner);
    bool Checked = false;
    TQellOnOffButtonAppearance Appearance;
    void Paint(TCanvas& Canvas) const override;
};

// Shows its track, filled up to the thumb, the thumb, and the indicator's marks. A
// position outside Min..Max shows at the nearer end; Max <= Min shows the thumb at Min.
class QELL_COMPONENTS_API TQellTrackbar : public TQellControl {
    QELL_CLASS(TQellTrackbar, TQellControl)
    explicit TQellTrackbar(TComponent* AOwner);
    int Min = 0, Max = 100, Position = 50;
    TQellTrackbarAppearance Appearance;
    TQellIndicator Indicator;
    void Paint(TCanvas& Canvas) const override;
};

// Shows its items one per row, the one at ItemIndex (from 0; -1 for none) highlighted.
class QELL_COMPONENTS_API TQellList : public TQellControl {
    QELL_CLASS(TQellList, TQellControl)
    explicit TQellList(TComponent* AOwner);
    // The items' texts, separated by '|'; empty for none.
    std::string Items = "Item 1|Item 2|Item 3";
    int ItemIndex = 0;
    TQellListItemAppearance ItemAppearance;
    std::vector<std::string> ItemTexts() const;
    void Paint(TCanvas& Canvas) const override;
};

// Shows the overlay around a box whose title bar carries Title (and a close cross) above
// the body.
class QELL_COMPONENTS_API TQellPopup : public TQellControl {
    QELL_CLASS(TQellPopup, TQellControl)
    explicit TQellPopup(TComponent* AOwner);
    std::string Title = "Popup";
    TQellPopupAppearance Appearance;
    void Paint(TCanvas& Canvas) const override;
};

// Plain text. Not one of the classes whose colours the web colour editor serves.
class QELL_COMPONENTS_API TQellLabel : public TQellControl {
    QELL_CLASS(TQellLabel, TQellControl)
    explicit TQellLabel(TComponent* AOwner);
    std::string Caption = "Label";
    TIWColor TextColor = clWindowText;
    void Paint(TCanvas& Canvas) const override;
};
