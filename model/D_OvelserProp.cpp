#include "model/D_OvelserProp.h"

#include "foundation/Exception.h"
#include "model/D_PointBeregning.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 SekunderPrDag = 24 * 60 * 60;
constexpr int FemMinutter = 5;

qint64 SecondsOf(const QTime& time) {
    return time.isValid() ? time.msecsSinceStartOfDay() / 1000 : 0;
}

} // namespace

std::vector<TDateTime> AutoStarttider(const std::vector<TStarttidOvelse>& ovelser, const QTime& start,
                                      const QTime& prHeat, bool rundOp5Min) {
    std::vector<TDateTime> tider;
    qint64 running = SecondsOf(start);
    const qint64 heatSeconds = SecondsOf(prHeat);
    for (const TStarttidOvelse& ovelse : ovelser) {
        if (rundOp5Min) {
            const qint64 minutes = running / 60 % 60;
            if (minutes % FemMinutter != 0)
                running += (FemMinutter - minutes % FemMinutter) * 60;
        }
        tider.push_back(std::floor(ovelse.DatoTid) + double(running) / SekunderPrDag);
        running += std::max<qint32>(ovelse.AntalHeat, 1) * heatSeconds;
    }
    return tider;
}

TDateTime ShiftStarttid(TDateTime datoTid, const QTime& shift, bool plus) {
    const qint64 seconds = SecondsOf(shift) * (plus ? 1 : -1);
    const TDateTime moved = datoTid + double(seconds) / SekunderPrDag;
    // Rounded to the second, as the pickers show it.
    const TDateTime result = std::round(moved * SekunderPrDag) / SekunderPrDag;
    if (result < 0 || !IsValidDateTime(result))
        throw Exception(QStringLiteral("Tiden kan ikke flyttes så meget: starttidspunktet bliver ugyldigt"));
    return result;
}

int PointBeregningItem(qint32 stored) {
    if (stored == 0)
        return 0;
    const int index = GetPointBeregningIndex(stored - 1);
    return index < 0 ? -1 : index + 1;
}

qint32 PointBeregningStored(int item) {
    if (item == 0)
        return 0;
    const qint32 kode = GetPointBeregningKode(item - 1);
    return kode < 0 ? -1 : kode + 1;
}
