#pragma once
// Icon files: the standard .ico layout, which is also how an icon group resource is
// stored, so that extracting one gives a file any viewer opens; and its images back,
// as PNG files for the desktop's icon theme.

#include <cstdint>
#include <span>
#include <vector>

#include "tools/PackageIcon.h"

// An .ico file of the images, in order, each 32 bits per pixel: images of 256 pixels
// as PNG, smaller ones as bottom-up BGRA bitmaps followed by their 1-bit AND mask (set
// where a pixel is fully transparent). Images must be square, 1 to 256 pixels.
std::vector<uint8_t> EncodeIconFile(const std::vector<TIconImage>& Images);

// The images of an icon file as EncodeIconFile writes it (32 bits per pixel, PNG or
// bitmap), in order. Raises EPackageFileError for anything else or a damaged file.
std::vector<TIconImage> DecodeIconFile(std::span<const uint8_t> Ico);

// Image as a PNG file with its transparency.
std::vector<uint8_t> EncodePng(const TIconImage& Image);
