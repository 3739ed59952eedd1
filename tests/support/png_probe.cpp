// png_probe FILE [X Y]...: what a shell test needs to know of a PNG the program wrote:
// its width and height on the first line, then each pixel asked for, one a line, as a
// colour value is written ($00BBGGRR), so that it compares with `colour resolve`.

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "platform/graphics/Bitmap.h"

int main(int argc, char** argv)
{
    if (argc < 2 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: png_probe FILE [X Y]...\n");
        return 2;
    }
    try {
        const TBitmap Bitmap = TBitmap::LoadFromPNG(argv[1]);
        std::printf("%d %d\n", Bitmap.Width(), Bitmap.Height());
        for (int I = 2; I < argc; I += 2) {
            const TColor C = Bitmap.Pixel(std::atoi(argv[I]), std::atoi(argv[I + 1]));
            if (C < 0) {
                std::fprintf(stderr, "png_probe: (%s, %s) is outside the picture\n", argv[I], argv[I + 1]);
                return 1;
            }
            std::printf("$%08X\n", static_cast<unsigned>(C));
        }
    } catch (const std::exception& E) {
        std::fprintf(stderr, "png_probe: %s\n", E.what());
        return 1;
    }
    return 0;
}
