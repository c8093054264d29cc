#include "print/PrUtilModel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Trunc(cm × 1000), refused when negative or above limit.
qint64 TruncUnits(double cm, qint64 limit) {
    if (!(cm >= 0))
        RaisePrintValueError(cm); // negative, or not a number
    const double units = std::trunc(cm * UnitsPerCm);
    if (units > static_cast<double>(limit))
        RaisePrintValueError(cm);
    return static_cast<qint64>(units);
}

} // namespace

void RaisePrintValueError(double value) {
    throw EPrintError(QStringLiteral("Programmeringsfejl (SPrintFieldSetXError): %1 er ikke en gyldig værdi")
                          .arg(QString::asprintf("%g", value)));
}

quint16 CmToUnits(double cm) {
    return static_cast<quint16>(TruncUnits(cm, std::numeric_limits<quint16>::max()));
}

double UnitsToCm(qint64 units) {
    return static_cast<double>(units) / UnitsPerCm;
}

int RoundHalfEven(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded == rounded))
        return 0;
    if (rounded >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (rounded <= std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(rounded);
}

int BoundedFontSize(qint64 size) {
    return static_cast<int>(std::clamp<qint64>(size, 1, MaxFontSize));
}

int BoundedUnits(qint64 units) {
    return static_cast<int>(std::clamp<qint64>(units, -MaxExtentUnits, MaxExtentUnits));
}

int BoundedPixels(double pixels) {
    return std::clamp(RoundHalfEven(pixels), -MaxDevicePixels, MaxDevicePixels);
}

// ---------------------------------------------------------------- fonts

TPrintProp& TPrintPropList::FindOrAdd(const TPrintFont& font) {
    for (const auto& prop : props_)
        if (prop->Font == font)
            return *prop;
    return Add(font);
}

TPrintProp& TPrintPropList::Add(const TPrintFont& font) {
    props_.push_back(std::make_unique<TPrintProp>(TPrintProp{font, 0}));
    return *props_.back();
}

int TPrintPropList::IndexOf(const TPrintProp* prop) const {
    for (std::size_t i = 0; i < props_.size(); ++i)
        if (props_[i].get() == prop)
            return static_cast<int>(i);
    return -1;
}

// ---------------------------------------------------------------- blocks

bool TPrintBlockList::Add(double from, double to) {
    // The blocks are disjoint, so the last one starting at or before `to` is the only one that can reach
    // back to `from`.
    auto after = byFrom_.upper_bound(to);
    if (after != byFrom_.begin() && blocks_[std::prev(after)->second].To >= from)
        return false;
    byFrom_.emplace(from, blocks_.size());
    blocks_.push_back(TPrintBlock{from, to, 0});
    return true;
}

const TPrintBlock* TPrintBlockList::StartingAt(double row) const {
    const auto it = byFrom_.find(row);
    return it == byFrom_.end() ? nullptr : &blocks_[it->second];
}

void TPrintBlockList::Clear() {
    blocks_.clear();
    byFrom_.clear();
}

// ---------------------------------------------------------------- variables

int TVariableList::Compare(const QString& key1, const QString& key2) const {
    return QString::compare(key1, key2, Qt::CaseInsensitive);
}

void TVariableList::SetValue(const QString& name, const QString& value) {
    int index = 0;
    if (Find(name, index))
        Delete(index);
    AddAt(index, TVariable{name, value});
}

QString TVariableList::GetValue(const QString& name) const {
    int index = 0;
    if (Find(name, index))
        return Items(index).Value;
    return QStringLiteral("? <") + name + QStringLiteral("> ?");
}

// ---------------------------------------------------------------- lines

void TPrintLine::SetFixedHeight(double cm) {
    Height = -static_cast<qint32>(TruncUnits(cm, MaxLineHeight));
}

int TPrintLines::Compare(const double& key1, const double& key2) const {
    return key1 < key2 ? -1 : (key1 > key2 ? 1 : 0);
}

TPrintLine& TPrintLines::FindOrAdd(double row) {
    int index = 0;
    if (!Find(row, index))
        AddAt(index, std::make_unique<TPrintLine>(row));
    return *Items(index);
}
