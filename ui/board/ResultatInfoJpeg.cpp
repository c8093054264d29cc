#include "ui/board/ResultatInfoJpeg.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace {

const QSize DefaultScreen(1920, 1080);
// Room in libjpeg's memory, per pixel, for the coefficients of a whole progressive picture (two bytes a
// sample, up to four samples a pixel), and for its tables.
constexpr long DecoderBytesPerPixel = 8;
constexpr long DecoderTablesBytes = 16L * 1024 * 1024;
// A JPEG file of pictures as they are takes far less than a byte a pixel.
constexpr qint64 FileBytesPerPixel = 4;

QSize ScreenOr(QSize screen) {
    return screen.isValid() && !screen.isEmpty() ? screen : DefaultScreen;
}

// libjpeg ends the program on a fault unless told otherwise: its faults jump back to the decoder.
struct TErrors {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    bool CutShort = false;
};

[[noreturn]] void OnFault(j_common_ptr jpeg) {
    std::longjmp(reinterpret_cast<TErrors*>(jpeg->err)->Jump, 1);
}

void OnMessage(j_common_ptr jpeg, int level) {
    // A picture that ends too soon decodes with grey where it is missing: no picture to show.
    auto* errors = reinterpret_cast<TErrors*>(jpeg->err);
    if (level < 0 && errors->Manager.msg_code == JWRN_JPEG_EOF)
        errors->CutShort = true;
}

// The largest of 1/8, 1/4 and 1/2 at which the picture still covers the screen; 1 without a screen.
unsigned Denominator(const jpeg_decompress_struct& jpeg, QSize screen) {
    if (!screen.isValid() || screen.isEmpty())
        return 1;
    for (const unsigned denominator : {8U, 4U, 2U})
        if (jpeg.image_width / denominator >= unsigned(screen.width()) &&
            jpeg.image_height / denominator >= unsigned(screen.height()))
            return denominator;
    return 1;
}

// Everything between the jump's mark and a fault is plain C data or owned by the caller, so the jump
// leaves nothing behind.
bool Decode(jpeg_decompress_struct& jpeg, TErrors& errors, const QByteArray& bytes, QSize screen,
            QImage& image) {
    if (setjmp(errors.Jump) != 0)
        return false;
    jpeg_mem_src(&jpeg, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&jpeg, TRUE) != JPEG_HEADER_OK ||
        qint64(jpeg.image_width) * qint64(jpeg.image_height) > MaxJpegPixels(screen))
        return false;
    // What libjpeg would need beyond this it asks of a backing store it has not, and fails.
    jpeg.mem->max_memory_to_use = long(MaxJpegPixels(screen)) * DecoderBytesPerPixel + DecoderTablesBytes;
    jpeg.out_color_space = JCS_EXT_RGBX;
    jpeg.scale_num = 1;
    jpeg.scale_denom = Denominator(jpeg, screen);
    jpeg_start_decompress(&jpeg);
    image = QImage(int(jpeg.output_width), int(jpeg.output_height), QImage::Format_RGBX8888);
    if (image.isNull())
        return false;
    while (jpeg.output_scanline < jpeg.output_height) {
        JSAMPROW row = image.scanLine(int(jpeg.output_scanline));
        jpeg_read_scanlines(&jpeg, &row, 1);
    }
    jpeg_finish_decompress(&jpeg);
    return !errors.CutShort;
}

} // namespace

qint64 MaxJpegPixels(QSize screen) {
    const QSize size = ScreenOr(screen);
    return MaxJpegScreens * size.width() * size.height();
}

qint64 MaxJpegFileBytes(QSize screen) {
    return MaxJpegPixels(screen) * FileBytesPerPixel;
}

QImage DecodeJpeg(const QByteArray& bytes, QSize screen) {
    if (bytes.isEmpty())
        return {};
    jpeg_decompress_struct jpeg{};
    TErrors errors{};
    jpeg.err = jpeg_std_error(&errors.Manager);
    errors.Manager.error_exit = OnFault;
    errors.Manager.emit_message = OnMessage;
    jpeg_create_decompress(&jpeg);
    QImage image;
    const bool whole = Decode(jpeg, errors, bytes, screen, image);
    jpeg_destroy_decompress(&jpeg);
    return whole ? image : QImage();
}
