#include "graph/engine/jpeg_codec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace tabulo::graph {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return:
// it jumps back to the call that started the work. Only C frames lie in
// between, and the functions that set the jump point hold no C++ objects
// whose destructors a jump would skip.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings (corrupt or truncated data) are not printed; libjpeg goes on.
void quietMessage(j_common_ptr) {}

void installErrors(ErrorManager& manager) {
    jpeg_std_error(&manager.pub);
    manager.pub.error_exit = errorExit;
    manager.pub.output_message = quietMessage;
    manager.message[0] = '\0';
}

void cmykRowToRgb(const unsigned char* cmyk, unsigned char* rgb, unsigned width) {
    // Adobe writes CMYK JPEGs inverted: 255 means no ink.
    for (unsigned i = 0; i < width; ++i) {
        const unsigned k = cmyk[4 * i + 3];
        for (unsigned c = 0; c < 3; ++c) rgb[3 * i + c] = static_cast<unsigned char>(cmyk[4 * i + c] * k / 255);
    }
}

enum class DecodeOutcome { Ok, Failed, TooLarge };

DecodeOutcome decodeInto(jpeg_decompress_struct* info, ErrorManager* errors, const std::string* bytes,
                         RgbImage* image, std::vector<unsigned char>* row) {
    if (setjmp(errors->jump)) return DecodeOutcome::Failed;
    jpeg_mem_src(info, reinterpret_cast<const unsigned char*>(bytes->data()), bytes->size());
    jpeg_read_header(info, TRUE);
    if (static_cast<long long>(info->image_width) * info->image_height > kMaxPicturePixels) {
        return DecodeOutcome::TooLarge;
    }
    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    info->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(info);
    const unsigned width = info->output_width;
    image->width = static_cast<int>(width);
    image->height = static_cast<int>(info->output_height);
    image->pixels.assign(static_cast<std::size_t>(width) * 3 * info->output_height, 0);
    row->assign(static_cast<std::size_t>(width) * info->output_components, 0);
    while (info->output_scanline < info->output_height) {
        unsigned char* target = image->pixels.data() + static_cast<std::size_t>(info->output_scanline) * width * 3;
        JSAMPROW rows[1] = {cmyk ? row->data() : target};
        jpeg_read_scanlines(info, rows, 1);
        if (cmyk) cmykRowToRgb(row->data(), target, width);
    }
    jpeg_finish_decompress(info);
    return DecodeOutcome::Ok;
}

bool encodeInto(jpeg_compress_struct* info, ErrorManager* errors, const RgbImage* image, int quality,
                unsigned char** buffer, unsigned long* size) {
    if (setjmp(errors->jump)) return false;
    jpeg_mem_dest(info, buffer, size);
    info->image_width = static_cast<JDIMENSION>(image->width);
    info->image_height = static_cast<JDIMENSION>(image->height);
    info->input_components = 3;
    info->in_color_space = JCS_RGB;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, quality, TRUE);
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        JSAMPROW rows[1] = {const_cast<unsigned char*>(image->pixels.data()) +
                            static_cast<std::size_t>(info->next_scanline) * image->width * 3};
        jpeg_write_scanlines(info, rows, 1);
    }
    jpeg_finish_compress(info);
    return true;
}

}  // namespace

RgbImage decodeJpeg(const std::string& bytes) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    installErrors(errors);
    info.err = &errors.pub;
    jpeg_create_decompress(&info);
    RgbImage image;
    std::vector<unsigned char> row;
    const DecodeOutcome outcome = decodeInto(&info, &errors, &bytes, &image, &row);
    jpeg_destroy_decompress(&info);
    switch (outcome) {
    case DecodeOutcome::Ok: return image;
    case DecodeOutcome::TooLarge: throw EPictureError(kPictureTooLargeMessage);
    case DecodeOutcome::Failed: break;
    }
    throw EPictureError(std::string("JPEG を読み込めません: ") + errors.message);
}

std::string encodeJpeg(const RgbImage& image, int quality) {
    if (image.width <= 0 || image.height <= 0) throw EPictureError("空の画像は保存できません");
    jpeg_compress_struct info{};
    ErrorManager errors{};
    installErrors(errors);
    info.err = &errors.pub;
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = encodeInto(&info, &errors, &image, quality, &buffer, &size);
    jpeg_destroy_compress(&info);
    std::string bytes;
    if (ok && buffer) bytes.assign(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    if (!ok) throw EPictureError(std::string("JPEG を書き込めません: ") + errors.message);
    return bytes;
}

}  // namespace tabulo::graph
