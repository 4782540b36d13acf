// The error a picture file raises when it cannot be read or written; the
// message is the text shown to the user (UTF-8).
#pragma once

#include <stdexcept>

namespace tabulo::graph {

class EPictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Pictures larger than this many pixels are refused before any pixel is
// decoded, so that a hostile header cannot make the program allocate
// gigabytes (64 M pixels are 256 MB as a 32-bit image).
inline constexpr long long kMaxPicturePixels = 64LL * 1024 * 1024;

inline constexpr const char* kPictureTooLargeMessage = "画像が大きすぎます（6400万画素まで）";

}  // namespace tabulo::graph
