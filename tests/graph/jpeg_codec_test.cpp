#include <gtest/gtest.h>

#include <cstdlib>

#include "graph/engine/jpeg_codec.h"

namespace tabulo::graph {
namespace {

RgbImage gradient(int width, int height) {
    RgbImage image{width, height, std::vector<unsigned char>(static_cast<std::size_t>(width) * height * 3)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &image.pixels[(static_cast<std::size_t>(y) * width + x) * 3];
            p[0] = static_cast<unsigned char>(x * 255 / width);
            p[1] = static_cast<unsigned char>(y * 255 / height);
            p[2] = 128;
        }
    }
    return image;
}

TEST(JpegCodec, RoundTripKeepsSizeAndColoursWithinJpegLoss) {
    const RgbImage original = gradient(64, 48);
    const std::string bytes = encodeJpeg(original, kJpegQuality);
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xD8");
    // Baseline: a start-of-frame 0 marker, no progressive one.
    EXPECT_NE(bytes.find("\xFF\xC0"), std::string::npos);
    EXPECT_EQ(bytes.find("\xFF\xC2"), std::string::npos);
    const RgbImage decoded = decodeJpeg(bytes);
    ASSERT_EQ(decoded.width, 64);
    ASSERT_EQ(decoded.height, 48);
    long worst = 0;
    for (std::size_t i = 0; i < original.pixels.size(); ++i) {
        worst = std::max(worst, std::labs(long(original.pixels[i]) - long(decoded.pixels[i])));
    }
    EXPECT_LT(worst, 24);
}

TEST(JpegCodec, BadDataIsAPictureErrorNeverACrash) {
    EXPECT_THROW(decodeJpeg(""), EPictureError);
    EXPECT_THROW(decodeJpeg("not a jpeg at all"), EPictureError);
    std::string bytes = encodeJpeg(gradient(32, 32), 90);
    // Garbage after the header.
    std::string corrupt = bytes.substr(0, 20) + std::string(200, '\x55');
    EXPECT_THROW(decodeJpeg(corrupt), EPictureError);
    // Cut in the middle of the scan: decodes what is there.
    const std::string large = encodeJpeg(gradient(256, 256), 90);
    const RgbImage cut = decodeJpeg(large.substr(0, large.size() * 2 / 3));
    EXPECT_EQ(cut.width, 256);
    EXPECT_EQ(cut.pixels.size(), 256u * 256 * 3);
}

TEST(JpegCodec, HugeDimensionsAreRefusedBeforeDecoding) {
    std::string bytes = encodeJpeg(gradient(16, 16), 90);
    const std::size_t frame = bytes.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    // Start of frame: marker, length (2), precision (1), height (2), width (2).
    for (std::size_t at : {frame + 5, frame + 7}) {
        bytes[at] = static_cast<char>(20000 >> 8);
        bytes[at + 1] = static_cast<char>(20000 & 0xFF);
    }
    try {
        decodeJpeg(bytes);
        FAIL() << "a 20000 x 20000 picture was decoded";
    } catch (const EPictureError& error) {
        EXPECT_STREQ(error.what(), kPictureTooLargeMessage);
    }
}

}  // namespace
}  // namespace tabulo::graph
