#include "foundation/Barcode.h"

#include "support/Test.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

namespace {

constexpr int Left = 10;
constexpr int Top = 5;
constexpr int Height = 30;

struct Drawing {
    QImage Image;
    explicit Drawing(int Width)
        : Image(std::max(Width, 100) + 2 * Left, Height + 2 * Top, QImage::Format_RGB32) {
        Image.fill(Qt::white);
    }
    bool Black(int X, int Y) const { return qGray(Image.pixel(X, Y)) < 128; }
    // The row across the middle as module bits, from Left, for Count modules of Module pixels.
    QByteArray Modules(int Module, int Count) const {
        QByteArray Bits;
        for (int m = 0; m < Count; ++m)
            Bits += Black(Left + m * Module + Module / 2, Top + Height / 2) ? '1' : '0';
        return Bits;
    }
    // Black pixels outside the box Left, Top, Width x Height.
    int BlackOutside(int Width) const {
        int Count = 0;
        for (int Y = 0; Y < Image.height(); ++Y)
            for (int X = 0; X < Image.width(); ++X)
                if (Black(X, Y) && (X < Left || X >= Left + Width || Y < Top || Y >= Top + Height))
                    ++Count;
        return Count;
    }
    bool Blank() const { return BlackOutside(-Left - 1) == 0; }
};

Drawing Draw(const QString& Code, TBarcodeKind Kind, int Width) {
    Drawing Result(Width);
    QPainter Painter(&Result.Image);
    DrawBarcode(Painter, Code, Kind, Left, Top, Height, Width);
    return Result;
}

// Module patterns checked by decoding them against the EAN-13 and Interleaved 2 of 5 tables.
const QByteArray Ean5901234123457 =
    "1010001011010011101100110010011011110100111010101011001101101100100001010111"
    "0010011101000100101";
const QByteArray Upc036000291452 =
    "1010001101011110101011110001101000110100011010101011011001110100110011010111"
    "0010011101101100101";
const QByteArray Ean42 = "1010001101000110100011010001101000110100011010101011100101110010111001011100101"
                         "0111001101100101";

TEST(Barcode, Ean13AndUpcADrawTheirModulesInsideTheBox) {
    const Drawing D = Draw("5901234123457", TBarcodeKind::Ean13, 200);
    EXPECT_EQ(D.Modules(2, 95), Ean5901234123457);
    EXPECT_EQ(D.BlackOutside(190), 0);
    EXPECT_TRUE(D.Black(Left, Top) && D.Black(Left, Top + Height - 1));
    // Twelve significant digits are UPC-A; blanks around the code do not count.
    const Drawing Upc = Draw("  036000291452 ", TBarcodeKind::Ean13, 95);
    EXPECT_EQ(Upc.Modules(1, 95), Upc036000291452);
    EXPECT_EQ(Upc.BlackOutside(95), 0);
    // Short codes are zero-padded; leading zeros do not count towards the length; too narrow a box
    // still gets one-pixel modules.
    EXPECT_EQ(Draw("00000000000000042", TBarcodeKind::Ean13, 95).Modules(1, 95), Ean42);
    EXPECT_EQ(Draw("42", TBarcodeKind::Ean13, 50).Modules(1, 95), Ean42);
}

TEST(Barcode, NothingIsDrawnForZeroTooLongOrNonDigitCodes) {
    for (const char* Code : {"", "0", "000 ", "12a4", "12 34", "-5"}) {
        EXPECT_TRUE(Draw(Code, TBarcodeKind::Ean13, 200).Blank()) << Code;
        EXPECT_TRUE(Draw(Code, TBarcodeKind::Interleaved2of5, 200).Blank()) << Code;
    }
    EXPECT_TRUE(Draw("12345678901234", TBarcodeKind::Ean13, 200).Blank());
    EXPECT_FALSE(Draw("12345678901234", TBarcodeKind::Interleaved2of5, 200).Blank());
    EXPECT_TRUE(Draw("123", static_cast<TBarcodeKind>(7), 200).Blank());
}

TEST(Barcode, Interleaved2of5StaysInsideItsBox) {
    // 8 digits take 7 x 8 + 8 = 64 modules: 3 pixels each in a box of 200 (5 x 8 + 8 would give 4).
    const Drawing D = Draw("1234567", TBarcodeKind::Interleaved2of5, 200);
    EXPECT_EQ(D.BlackOutside(192), 0);
    EXPECT_EQ(D.Modules(3, 64), "1010100101101101001001100101011010010110010110101101101001001101");
    for (int Width : {64, 127, 128, 300})
        EXPECT_EQ(Draw("00123456", TBarcodeKind::Interleaved2of5, Width).BlackOutside(Width), 0) << Width;
    EXPECT_EQ(Draw("00123456", TBarcodeKind::Interleaved2of5, 64).Modules(1, 64),
              "1010101011001100101101001010110011011010010100110100110010101101");
}

TEST(Barcode, PainterStateIsRestored) {
    QImage Image(120, 40, QImage::Format_RGB32);
    QPainter Painter(&Image);
    const QPen Pen(Qt::red, 3);
    const QBrush Brush(Qt::blue, Qt::Dense4Pattern);
    Painter.setPen(Pen);
    Painter.setBrush(Brush);
    DrawBarcode(Painter, "123456", TBarcodeKind::Ean13, 0, 0, 40, 100);
    DrawBarcode(Painter, "123456", TBarcodeKind::Interleaved2of5, 0, 0, 40, 100);
    EXPECT_EQ(Painter.pen(), Pen);
    EXPECT_EQ(Painter.brush(), Brush);
}

} // namespace
