// The graphics library (bitmaps, PNG files, fonts) stands for the imaging package
// vclimg210.bpl.

#include "platform/graphics/GraphicsUnits.h"

QELL_DEFINE_UNIT(Graphics, [] {}, [] {})
QELL_DEFINE_UNIT(PngImage, [] {}, [] {})

namespace {

const TPlatformModule Module(HInstance(), "vclimg210.bpl");
const TLibraryUnits Units{{Graphics_Initialization, Graphics_Finalization},
                          {PngImage_Initialization, PngImage_Finalization}};

} // namespace
