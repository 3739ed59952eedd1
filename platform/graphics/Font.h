#pragma once
// A text font: family name, size and colour. Persistent, with published properties, so
// that a control's Font reads and writes as a sub-object (Font.Height = -11). A change
// through a setter calls OnChange, which a control uses to stop following its parent's
// font and repaint; copying a font copies the values, never the owner's OnChange.

#include <functional>
#include <string>

#include "platform/colors/Colors.h"
#include "platform/graphics/Export.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Set.h"

// Bold is the one style the toolkit draws (an inspector's changed values). It is not a
// published property: no form resource sets it.
enum TFontStyle { fsBold };
using TFontStyles = TSet<TFontStyle>;

class QELL_GRAPHICS_API TFont : public TPersistent {
    QELL_CLASS(TFont, TPersistent)
    static constexpr const char* DefaultName = "MS Sans Serif";
    static constexpr int DefaultHeight = -11;
    static constexpr TColor DefaultColor = clWindowText;

    TFont() = default;
    TFont(const TFont& Other)
        : FName(Other.FName), FHeight(Other.FHeight), FColor(Other.FColor), FStyle(Other.FStyle)
    {
    }
    // Copies the values and reports the change if there was one.
    TFont& operator=(const TFont& Other);
    void Assign(const TPersistent& Source) override;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& V);
    // Negative: the character height in pixels, as form resources give it; positive: the
    // cell height.
    int Height() const { return FHeight; }
    void SetHeight(int V);
    TColor Color() const { return FColor; }
    void SetColor(TColor V);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles V);

    std::function<void()> OnChange;

    friend bool operator==(const TFont& A, const TFont& B)
    {
        return A.FName == B.FName && A.FHeight == B.FHeight && A.FColor == B.FColor && A.FStyle == B.FStyle;
    }

private:
    void Changed();
    std::string FName = DefaultName;
    int FHeight = DefaultHeight;
    TColor FColor = DefaultColor;
    TFontStyles FStyle;
};

extern QELL_GRAPHICS_API const TTypeInfo TypeInfoTFont;
