#include "foundation/Barcode.h"

#include "support/QtPrinters.h"
#include <QImage>
#include <QPainter>
#include <algorithm>

#include <gtest/gtest.h>
#include <ostream>

namespace {

constexpr int Left = 10;
constexpr int Top = 5;
constexpr int Height = 30;

// Right-half (set C) patterns of the EAN-13 standard; set A is their complement and set B their mirror.
const char* const RightSet[10] = {"1110010", "1100110", "1101100", "1000010", "1011100",
                                  "1001110", "1010000", "1000100", "1001000", "1110100"};
// Odd/even parity of left digits 2 to 7 per first digit ("O" odd: set A).
const char* const FirstDigitParity[10] = {"OOOOOO", "OOEOEE", "OOEEOE", "OOEEEO", "OEOOEE",
                                          "OEEOOE", "OEEEOO", "OEOEOE", "OEOEEO", "OEEOEO"};

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

QByteArray Complement(QByteArray Bits) {
    for (char& Bit : Bits)
        Bit = Bit == '1' ? '0' : '1';
    return Bits;
}

// Reads the 13 digits back from 95 module bits; "?" where a pattern is not a digit.
QString DecodeEan(const QByteArray& Bits) {
    if (Bits.size() != 95 || !Bits.startsWith("101") || Bits.mid(45, 5) != "01010" || !Bits.endsWith("101"))
        return "bad guards";
    QString Digits;
    QByteArray Parities;
    for (int i = 0; i < 12; ++i) {
        const QByteArray Pattern = Bits.mid(i < 6 ? 3 + 7 * i : 50 + 7 * (i - 6), 7);
        QChar Found = u'?';
        for (int d = 0; d < 10; ++d) {
            const QByteArray C(RightSet[d]);
            QByteArray Mirror(C);
            std::reverse(Mirror.begin(), Mirror.end());
            if ((i >= 6 && Pattern == C) || (i < 6 && (Pattern == Complement(C) || Pattern == Mirror)))
                Found = QChar(u'0' + d);
        }
        if (i < 6)
            Parities += Pattern.count('1') % 2 ? 'O' : 'E';
        Digits += Found;
    }
    for (int d = 0; d < 10; ++d)
        if (Parities == FirstDigitParity[d])
            return QChar(u'0' + d) + Digits;
    return "bad parity " + QString::fromLatin1(Parities);
}

TEST(Barcode, Ean13ReadsBackFromThePixels) {
    const Drawing D = Draw("5901234123457", TBarcodeKind::Ean13, 200);
    EXPECT_EQ(DecodeEan(D.Modules(2, 95)), "5901234123457");
    EXPECT_EQ(D.BlackOutside(190), 0);
    EXPECT_TRUE(D.Black(Left, Top) && D.Black(Left, Top + Height - 1));
}

TEST(Barcode, TwelveSignificantDigitsAreUpcAOf95Modules) {
    const Drawing D = Draw("  036000291452 ", TBarcodeKind::Ean13, 95);
    EXPECT_EQ(DecodeEan(D.Modules(1, 95)), "0036000291452");
    EXPECT_TRUE(D.Black(Left + 94, Top));
    EXPECT_EQ(D.BlackOutside(95), 0);
    // Short codes are zero-padded; leading zeros do not count towards the length.
    EXPECT_EQ(DecodeEan(Draw("00000000000000042", TBarcodeKind::Ean13, 95).Modules(1, 95)), "0000000000042");
    // Too narrow a box still gets one-pixel modules.
    EXPECT_EQ(DecodeEan(Draw("42", TBarcodeKind::Ean13, 50).Modules(1, 95)), "0000000000042");
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

// Interleaved 2 of 5 digit patterns, "W" wide.
const char* const ItfPattern[10] = {"NNWWN", "WNNNW", "NWNNW", "WWNNN", "NNWNW",
                                    "WNWNN", "NWWNN", "NNNWW", "WNNWN", "NWNWN"};

// Reads the digits back from the run widths (in modules) of a drawing.
QString DecodeItf(const Drawing& D, int Module, int Width) {
    QList<int> Runs;
    int Run = 0;
    bool Colour = true;
    for (int X = Left; X < Left + Width; X += Module) {
        if (D.Black(X, Top) != Colour) {
            Runs << Run;
            Run = 0;
            Colour = !Colour;
        }
        ++Run;
    }
    if (Run && Colour)
        Runs << Run;
    if (Runs.size() < 7 || Runs.mid(0, 4) != QList<int>{1, 1, 1, 1} ||
        Runs.mid(Runs.size() - 3) != QList<int>{2, 1, 1})
        return "bad start or stop";
    QString Digits;
    for (qsizetype i = 4; i + 10 <= Runs.size() - 3; i += 10) {
        QByteArray Bars, Spaces;
        for (int e = 0; e < 5; ++e) {
            Bars += Runs[i + 2 * e] == 2 ? 'W' : 'N';
            Spaces += Runs[i + 2 * e + 1] == 2 ? 'W' : 'N';
        }
        for (const QByteArray& Pattern : {Bars, Spaces})
            for (int d = 0; d < 10; ++d)
                if (Pattern == ItfPattern[d])
                    Digits += QChar(u'0' + d);
    }
    return Digits;
}

TEST(Barcode, Interleaved2of5StaysInsideItsBoxAndReadsBack) {
    // 8 digits take 7 x 8 + 8 = 64 modules: 3 pixels each in a box of 200 (5 x 8 + 8 would give 4).
    const Drawing D = Draw("1234567", TBarcodeKind::Interleaved2of5, 200);
    EXPECT_EQ(D.BlackOutside(192), 0);
    EXPECT_EQ(DecodeItf(D, 3, 200), "01234567");
    for (int Width : {64, 127, 128, 300})
        EXPECT_EQ(Draw("00123456", TBarcodeKind::Interleaved2of5, Width).BlackOutside(Width), 0) << Width;
    EXPECT_EQ(DecodeItf(Draw("00123456", TBarcodeKind::Interleaved2of5, 64), 1, 64), "00123456");
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

TEST(Barcode, StripLeadingZerosTakesZerosAndBlanksOnly) {
    EXPECT_EQ(StripLeadingZeros(" 0 0120 "), "120 ");
    EXPECT_EQ(StripLeadingZeros("000"), "");
    EXPECT_EQ(StripLeadingZeros("\t01"), "\t01");
}

} // namespace
