#pragma once
// Barcodes drawn as bars on a painter: EAN-13 and interleaved 2 of 5.
#include <QString>

class QPainter;

enum class TBarcodeKind : int { Ean13 = 0, Interleaved2of5 = 1 };

// Removes leading "0" and blank characters.
QString StripLeadingZeros(const QString& Text);

// Draws Code as black bars from Left, Top, Height high, in whole modules of whole pixels fitted to Width
// (at least one pixel each). No check digit is added and no text is printed. Nothing is drawn for a code
// that is not all digits (blanks around it aside), whose value is 0, or that is too long for its kind.
// The painter's state is left as it was.
void DrawBarcode(QPainter& Canvas, const QString& Code, TBarcodeKind Kind, int Left, int Top, int Height,
                 int Width);
