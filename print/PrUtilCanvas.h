#pragma once
// The engine's device layer: our fonts for the names the lists use, font metrics in model units that do
// not depend on the device, and the fonts drawn on a device of a given resolution.
#include "print/PrUtilModel.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>

class QPaintDevice;

#include <map>
#include <memory>
#include <tuple>

// The family drawn for a font name: the Windows fonts become their metric twins (Liberation), Arial Black
// the bold Liberation Sans, Verdana and Tahoma the wide DejaVu Sans; other names are asked for as they
// stand.
QString DeviceFontFamily(const QString& name);

// The font of a record at `size` points (bounded), sized in pixels for a device of dpi dots per inch.
QFont DeviceFont(const TPrintFont& font, int size, int dpi);

// Font metrics in units (0.01 mm), measured once per font and size.
class TUnitMetrics {
public:
    TUnitMetrics();
    ~TUnitMetrics();
    TUnitMetrics(const TUnitMetrics&) = delete;
    TUnitMetrics& operator=(const TUnitMetrics&) = delete;

    // The height of " " in the font: its ascent and descent.
    int Height(const TPrintFont& font);
    double Width(const TPrintFont& font, int size, const QString& text);
    double Width(const TPrintFont& font, const QString& text) { return Width(font, font.Size, text); }

private:
    const QFontMetricsF& Metrics(const TPrintFont& font, int size);

    using TKey = std::tuple<QString, int, quint8>;
    std::unique_ptr<QPaintDevice> device_; // a device whose pixels are units
    std::map<TKey, QFontMetricsF> metrics_;
};
