#include "foundation/Barcode.h"

#include <QPainter>
#include <array>

namespace {

// Digit patterns of EAN-13, seven modules each, "1" a bar module: set A (odd parity), set B (even) and
// set C (right half).
constexpr std::array<const char*, 10> SetA = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                              "0110001", "0101111", "0111011", "0110111", "0001011"};
constexpr std::array<const char*, 10> SetB = {"0100111", "0110011", "0011011", "0100001", "0011101",
                                              "0111001", "0000101", "0010001", "0001001", "0010111"};
constexpr std::array<const char*, 10> SetC = {"1110010", "1100110", "1101100", "1000010", "1011100",
                                              "1001110", "1010000", "1000100", "1001000", "1110100"};
// The sets of digits 2 to 7, chosen by the first digit.
constexpr std::array<const char*, 10> Parity = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                                "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};
// Interleaved 2 of 5: the five elements of each digit, "W" wide.
constexpr std::array<const char*, 10> Itf = {"NNWWN", "WNNNW", "NWNNW", "WWNNN", "NNWNW",
                                             "WNWNN", "NWWNN", "NNNWW", "WNNWN", "NWNWN"};

constexpr int EanModules = 95;

class TPainterStateGuard {
public:
    explicit TPainterStateGuard(QPainter& Painter)
        : painter_(Painter) {
        painter_.save();
    }
    ~TPainterStateGuard() { painter_.restore(); }
    TPainterStateGuard(const TPainterStateGuard&) = delete;
    TPainterStateGuard& operator=(const TPainterStateGuard&) = delete;

private:
    QPainter& painter_;
};

bool AllDigits(const QString& Text) {
    for (const QChar Ch : Text)
        if (Ch < u'0' || Ch > u'9')
            return false;
    return !Text.isEmpty();
}

int Digit(QChar Ch) {
    return Ch.unicode() - u'0';
}

// "1" and "0" per module, left to right.
QByteArray EanModulesOf(const QString& Digits13) {
    QByteArray Bits("101");
    const char* Sets = Parity[Digit(Digits13[0])];
    for (int i = 1; i <= 6; ++i)
        Bits += (Sets[i - 1] == 'A' ? SetA : SetB)[Digit(Digits13[i])];
    Bits += "01010";
    for (int i = 7; i <= 12; ++i)
        Bits += SetC[Digit(Digits13[i])];
    Bits += "101";
    return Bits;
}

QByteArray ItfModulesOf(const QString& EvenDigits) {
    QByteArray Bits("1010");
    for (qsizetype i = 0; i < EvenDigits.size(); i += 2) {
        const char* Bars = Itf[Digit(EvenDigits[i])];
        const char* Spaces = Itf[Digit(EvenDigits[i + 1])];
        for (int e = 0; e < 5; ++e) {
            Bits += Bars[e] == 'W' ? "11" : "1";
            Bits += Spaces[e] == 'W' ? "00" : "0";
        }
    }
    Bits += "1101";
    return Bits;
}

void DrawModules(QPainter& Canvas, const QByteArray& Bits, int Left, int Top, int Height, int Module) {
    const TPainterStateGuard Guard(Canvas);
    Canvas.setPen(Qt::NoPen);
    Canvas.setBrush(Qt::black);
    for (qsizetype i = 0; i < Bits.size();) {
        qsizetype End = i;
        while (End < Bits.size() && Bits[End] == Bits[i])
            ++End;
        if (Bits[i] == '1')
            Canvas.fillRect(QRect(Left + int(i) * Module, Top, int(End - i) * Module, Height),
                            Canvas.brush());
        i = End;
    }
}

} // namespace

QString StripLeadingZeros(const QString& Text) {
    qsizetype i = 0;
    while (i < Text.size() && (Text[i] == u'0' || Text[i] == u' '))
        ++i;
    return Text.mid(i);
}

void DrawBarcode(QPainter& Canvas, const QString& Code, TBarcodeKind Kind, int Left, int Top, int Height,
                 int Width) {
    const QString Digits = Code.trimmed();
    if (!AllDigits(Digits) || StripLeadingZeros(Digits).isEmpty())
        return;
    switch (Kind) {
    case TBarcodeKind::Ean13: {
        const QString Significant = StripLeadingZeros(Digits);
        if (Significant.size() > 13)
            return;
        // Up to 8 digits are drawn as EAN-13 and 9 to 12 as UPC-A; UPC-A is EAN-13 with a first digit of 0,
        // so both come down to the code zero-padded to 13 digits.
        DrawModules(Canvas, EanModulesOf(Significant.rightJustified(13, u'0')), Left, Top, Height,
                    std::max(1, Width / EanModules));
        break;
    }
    case TBarcodeKind::Interleaved2of5: {
        const QString Even = Digits.size() % 2 ? u'0' + Digits : Digits;
        // Seven modules a digit (two wide elements of two, three narrow of one), eight for start and stop.
        const int Modules = 7 * int(Even.size()) + 8;
        DrawModules(Canvas, ItfModulesOf(Even), Left, Top, Height, std::max(1, Width / Modules));
        break;
    }
    }
}
