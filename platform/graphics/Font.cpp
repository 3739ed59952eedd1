#include "platform/graphics/Font.h"

#include "platform/rtl/Publish.h"

namespace {

void Publish(TPublisher<TFont>& P)
{
    P.String("Name", &TFont::Name, &TFont::SetName, TFont::DefaultName).Describe("The font family's name.");
    P.Ordinal("Height", TypeInfoInteger, &TFont::Height, &TFont::SetHeight, TFont::DefaultHeight).Range(-1000, 1000)
        .Describe("The font's size: negative in pixels of character height, positive in pixels of cell height.");
    P.Ordinal("Color", TypeInfoTColor, &TFont::Color, &TFont::SetColor, TFont::DefaultColor)
        .Describe("The colour of the text.");
}

} // namespace

QELL_DEFINE_CLASS_INFO(TFont, Publish)

const TTypeInfo TypeInfoTFont = ClassTypeInfo("TFont", &TFont::StaticClassInfo);

TFont& TFont::operator=(const TFont& Other)
{
    if (*this == Other) return *this;
    FName = Other.FName;
    FHeight = Other.FHeight;
    FColor = Other.FColor;
    FStyle = Other.FStyle;
    Changed();
    return *this;
}

void TFont::Assign(const TPersistent& Source)
{
    if (const auto* F = dynamic_cast<const TFont*>(&Source)) {
        *this = *F;
        return;
    }
    TPersistent::Assign(Source);
}

void TFont::SetName(const std::string& V)
{
    if (V == FName) return;
    FName = V;
    Changed();
}

void TFont::SetHeight(int V)
{
    if (V == FHeight) return;
    FHeight = V;
    Changed();
}

void TFont::SetColor(TColor V)
{
    if (V == FColor) return;
    FColor = V;
    Changed();
}

void TFont::SetStyle(TFontStyles V)
{
    if (V == FStyle) return;
    FStyle = V;
    Changed();
}

void TFont::Changed()
{
    if (OnChange) OnChange();
}
