#include "print/PrUtilCanvas.h"

#include <QPaintDevice>

#include <algorithm>
#include <array>

namespace {

struct TFamily {
    const char16_t* Name;
    const char16_t* Family;
    // A heavy face of its own: drawn with the family's bold face.
    bool Heavy = false;
};

constexpr std::array<TFamily, 11> Families = {{
    {u"Arial", u"Liberation Sans"},
    {u"Arial Black", u"Liberation Sans", true},
    {u"Helvetica", u"Liberation Sans"},
    {u"MS Sans Serif", u"Liberation Sans"},
    {u"System", u"Liberation Sans"},
    {u"Times New Roman", u"Liberation Serif"},
    {u"Times", u"Liberation Serif"},
    {u"Courier New", u"Liberation Mono"},
    {u"Courier", u"Liberation Mono"},
    {u"Verdana", u"DejaVu Sans"},
    {u"Tahoma", u"DejaVu Sans"},
}};

// A device whose pixels are units: fonts measured on it give their sizes in units.
class TUnitDevice : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metricKind) const override {
        switch (metricKind) {
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return static_cast<int>(UnitsPerInch);
        case PdmWidth:
        case PdmHeight:
        case PdmDepth:
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metricKind);
        }
    }
};

const TFamily* FindFamily(const QString& name) {
    const QString trimmed = name.trimmed();
    for (const TFamily& family : Families)
        if (trimmed.compare(QString::fromUtf16(family.Name), Qt::CaseInsensitive) == 0)
            return &family;
    return nullptr;
}

QFont BaseFont(const TPrintFont& font) {
    QFont qfont(DeviceFontFamily(font.Name));
    const TFamily* family = FindFamily(font.Name);
    qfont.setBold((font.Style & PrintFontStyle::Bold) || (family && family->Heavy));
    qfont.setItalic(font.Style & PrintFontStyle::Italic);
    qfont.setUnderline(font.Style & PrintFontStyle::Underline);
    qfont.setStrikeOut(font.Style & PrintFontStyle::StrikeOut);
    // Design metrics: widths grow exactly with the size, so every resolution wraps alike.
    qfont.setHintingPreference(QFont::PreferNoHinting);
    qfont.setKerning(false);
    return qfont;
}

} // namespace

QString DeviceFontFamily(const QString& name) {
    const TFamily* family = FindFamily(name);
    return family ? QString::fromUtf16(family->Family) : name.trimmed();
}

QFont DeviceFont(const TPrintFont& font, int size, int dpi) {
    QFont qfont = BaseFont(font);
    qfont.setPixelSize(std::max(1, RoundHalfEven(BoundedFontSize(size) * double(dpi) / 72.0)));
    return qfont;
}

TUnitMetrics::TUnitMetrics()
    : device_(std::make_unique<TUnitDevice>()) {}
TUnitMetrics::~TUnitMetrics() = default;

const QFontMetricsF& TUnitMetrics::Metrics(const TPrintFont& font, int size) {
    size = BoundedFontSize(size);
    const TKey key{font.Name, size, font.Style};
    auto it = metrics_.find(key);
    if (it == metrics_.end()) {
        QFont qfont = BaseFont(font);
        qfont.setPointSize(size);
        it = metrics_.emplace(key, QFontMetricsF(qfont, device_.get())).first;
    }
    return it->second;
}

int TUnitMetrics::Height(const TPrintFont& font) {
    return std::max(0, RoundHalfEven(Metrics(font, font.Size).height()));
}

double TUnitMetrics::Width(const TPrintFont& font, int size, const QString& text) {
    return Metrics(font, size).horizontalAdvance(text);
}
