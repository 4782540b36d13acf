// JPEG through libjpeg: decoding a file's bytes into 8-bit RGB pixels and
// encoding RGB pixels as a baseline JPEG.
#pragma once

#include <string>
#include <vector>

#include "graph/engine/picture_error.h"

namespace tabulo::graph {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;  // rows of width * 3 bytes, top row first
};

// Throws EPictureError for data libjpeg cannot decode and for pictures
// over kMaxPicturePixels. Data that ends early decodes as far as it goes,
// the rest grey, as libjpeg fills it.
RgbImage decodeJpeg(const std::string& bytes);

// Baseline (not progressive) JPEG at the given quality, libjpeg's defaults
// otherwise.
std::string encodeJpeg(const RgbImage& image, int quality);

inline constexpr int kJpegQuality = 90;

}  // namespace tabulo::graph
