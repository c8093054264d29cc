// Points by place, and points tables read from fixed-column or CSV files.
#include "model/D_PointBeregning.h"

#include "foundation/LxString.h"
#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"
#include "model/D_Tekster.h"

#include <QFile>

#include <algorithm>
#include <limits>

namespace {

constexpr qint32 CsvHeader = 9999;
constexpr qint32 CsvEltidKorr = 9998;
const QString EltidKorrMarker = QStringLiteral("ELTIDKORR:");
constexpr int FixedResultWidth = 8;
constexpr int FixedPointsWidth = 5;

// A whole number with blanks around it; false for anything else.
bool ReadInteger(const QString& text, qint32& value) {
    try {
        value = ParseOvelseInteger(text);
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

// The lines of a Windows-1252 text file, whatever their ends; EPointTabelError when it cannot be read.
QStringList ReadLines(const QString& fileName) {
    QFile file(ResolvePath(fileName));
    if (!file.open(QIODevice::ReadOnly))
        throw EPointTabelError(fileName);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EPointTabelError(fileName);
    QStringList lines = Windows1252::Decode(bytes).split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

} // namespace

// ---------------------------------------------------------------- points by place

TPlaceringsPoint::TPlaceringsPoint(const QString& text) {
    if (text.trimmed().isEmpty())
        return;
    for (const QString& item : text.split(u',')) {
        if (item.trimmed() == u"*") {
            repeat_ = true;
            break;
        }
        qint32 points = 0; // also for an item that is no number
        ReadInteger(item, points);
        points_.push_back(points);
    }
}

qint32 TPlaceringsPoint::GetPoint(qint32 placering) const {
    if (placering >= 1 && placering <= qint32(points_.size()))
        return points_[placering - 1];
    return repeat_ && !points_.empty() ? points_.back() : 0;
}

// ---------------------------------------------------------------- points tables

EPointTabelError::EPointTabelError(const QString& fileName)
    : Exception(QStringLiteral("Kan ikke indlæse pointtabel \"%1\"").arg(fileName)) {}

void TPointTabel::Clear() {
    rows_.clear();
    EltidKorr = 0;
}

void TPointTabel::AddRow(qint32 result, qint32 points) {
    if (result >= 1 && points >= 1)
        rows_.push_back({result, points});
}

void TPointTabel::LoadFromFile(const QString& fileName) {
    Clear();
    for (const QString& rawLine : ReadLines(fileName)) {
        const QString line = rawLine.toUpper();
        const qsizetype marker = line.indexOf(EltidKorrMarker);
        qint32 value = 0;
        if (marker >= 0) {
            if (ReadInteger(RemoveResultatSeparators(line.mid(marker + EltidKorrMarker.size())), value))
                EltidKorr = value;
            continue;
        }
        qint32 points = 0;
        if (ReadInteger(RemoveResultatSeparators(line.left(FixedResultWidth)), value) &&
            ReadInteger(RemoveResultatSeparators(line.mid(FixedResultWidth, FixedPointsWidth)), points))
            AddRow(value, points);
    }
}

void TPointTabel::LoadFromCSV(const QString& fileName, const QString& eventCode) {
    Clear();
    const QString code = eventCode.trimmed().toUpper();
    qsizetype column = -1;
    for (const QString& line : ReadLines(fileName)) {
        const QStringList fields = line.split(u',');
        qint32 first = 0;
        if (!ReadInteger(fields[0], first))
            continue;
        if (first == CsvHeader) {
            const auto named = std::find_if(fields.begin() + 1, fields.end(), [&](const QString& field) {
                return field.trimmed().toUpper() == code;
            });
            if (named == fields.end()) {
                // A table without the event scores nothing, whatever rows were read before the header.
                Clear();
                return;
            }
            column = named - fields.begin();
            continue;
        }
        qint32 value = 0;
        if (column < 0 || column >= fields.size() ||
            !ReadInteger(RemoveResultatSeparators(fields[column]), value))
            continue;
        if (first == CsvEltidKorr)
            EltidKorr = value;
        else
            AddRow(value, first);
    }
}

void TPointTabel::ScaleResults() {
    constexpr qint32 factor = 100;
    for (TPointTabelData& row : rows_)
        row.Result = row.Result > std::numeric_limits<qint32>::max() / factor
                         ? std::numeric_limits<qint32>::max()
                         : row.Result * factor;
}

qint32 TPointTabel::GetPoint(qint32 value) const {
    const TPointTabelData* previous = nullptr;
    for (const TPointTabelData& row : rows_) {
        if (row.Result == value)
            return row.Points;
        if (previous && ((previous->Result < value && value < row.Result) ||
                         (previous->Result > value && value > row.Result)))
            return std::min(previous->Points, row.Points);
        previous = &row;
    }
    return 0;
}
