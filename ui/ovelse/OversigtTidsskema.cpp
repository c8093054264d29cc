// The two schedules of the overview: one column per venue, one row per start time, rounds at the same
// time and venue stacked below each other; the five-minute schedule also gives a row to every five
// minutes between the rounds of a day.
#include "ui/ovelse/Oversigt.h"

#include "foundation/LxString.h"
#include "model/D_Ovelser.h"
#include "model/D_Tekster.h"

#include <unordered_map>

namespace {

constexpr int LabelWidth = 70;
constexpr int StedWidth = 80;
constexpr int RedidStedWidth = 100;
constexpr int MixedWidth = 120;
constexpr int FemMinutter = 5;
constexpr int MinutesPerDay = 1440;

QString TidLabel(const QDate& dato, int minutes) {
    return GetShortDayName(dato) + u' ' + IntToZeroStr(minutes / 60, 2) + u':' +
           IntToZeroStr(minutes % 60, 2);
}

struct TShownRound {
    TOvelseInfo* Info;
    // The round's date and time to the second, as the time index's first word holds it.
    quint64 TidKey;
    int Col;
};

} // namespace

void BuildTidsskema(TOversigt& oversigt, TOvelseManager& ovelser, const TOversigtValg& valg,
                    TResultatManager* manager) {
    oversigt.AddColumn({QString(), LabelWidth, Qt::AlignLeft, false, true});
    TRecordColumns steder(oversigt, [&valg](const TDataElement& sted) {
        QString header = sted.GetTrimmedString(AfvStedField::Sted);
        if (const QString tekst = sted.GetTrimmedString(AfvStedField::Tekst); valg.Redid && !tekst.isEmpty())
            header = tekst;
        return TOversigtColumn{header, valg.Redid ? RedidStedWidth : StedWidth, Qt::AlignLeft};
    });
    steder.AddList(ovelser.AfvStedList());

    // The rounds shown, in time order, with their columns; a column of more than one event is mixed.
    TOversigtNames names(valg.Redid);
    std::vector<TShownRound> shown;
    std::unordered_map<int, QString> columnOvelse;
    const TOvelseInfoIndex& index = ovelser.TidIndex();
    oversigt.Reserve(index.Count());
    for (int pos = 0; pos < index.Count(); ++pos) {
        TOvelseInfo* info = index.GetItem(pos);
        if (!IsShown(*info, valg))
            continue;
        const int col = steder.ColOf(info->AfvSted());
        oversigt.SetTidOrder(info, static_cast<int>(shown.size()));
        shown.push_back({info, index.GetKey(pos)[0], col});
        const QString& ovelse = names.Ovelse(*info);
        const auto [first, added] = columnOvelse.emplace(col, ovelse);
        if (!added && first->second != ovelse) {
            oversigt.ColumnRef(col).Mixed = true;
            oversigt.ColumnRef(col).Width = MixedWidth;
        }
    }
    int labelCol = -1;
    if (!valg.HoldTurnering) {
        labelCol = oversigt.ColCount();
        oversigt.AddColumn({QString(), LabelWidth, Qt::AlignLeft, false, true});
    }

    quint64 lastKey = 0;
    int timeRow = -1;
    int lastMinutes = 0;
    TDateTime lastDato = 0;
    for (const TShownRound& round : shown) {
        const TOvelseInfo& info = *round.Info;
        if (timeRow < 0 || round.TidKey != lastKey) {
            const int minutes = TidMinutes(info);
            const QDate dato = DateTimeToQDate(info.GetDato());
            // Five-minute steps only between rounds of one date: rounds weeks apart make no rows between.
            if (valg.Sortering == TOversigtSortering::FemMinutter && valg.Ugedag != 0 && timeRow >= 0 &&
                lastDato == info.GetDato()) {
                int step = (lastMinutes + FemMinutter - 1) / FemMinutter * FemMinutter;
                if (step == lastMinutes)
                    step += FemMinutter;
                for (; step < minutes && step < MinutesPerDay; step += FemMinutter)
                    oversigt.AddRow(TidLabel(dato, step));
            }
            timeRow = oversigt.AddRow(TidLabel(dato, minutes));
            lastKey = round.TidKey;
            lastMinutes = minutes;
            lastDato = info.GetDato();
        }
        int row = timeRow;
        while (row < oversigt.RowCount() && oversigt.Info(round.Col, row))
            ++row;
        if (row == oversigt.RowCount())
            oversigt.AddRow();
        oversigt.Place(round.Col, row, round.Info,
                       OversigtCellText(info, valg, oversigt.Column(round.Col).Mixed, names));
    }
    oversigt.SetRoundRowsEnd(oversigt.RowCount());
    if (labelCol >= 0) {
        for (int row = 1; row < oversigt.RowCount(); ++row)
            oversigt.SetText(labelCol, row, oversigt.Text(0, row));
        return;
    }

    // A team meet: the club points follow the venues, below the rounds their sums.
    for (int extra = valg.FlereRunder ? 6 : 2; extra > 0; --extra)
        oversigt.AddRow();
    if (oversigt.ColCount() > 1)
        oversigt.SetText(1, 0, QString());
    oversigt.SetFirstPointsColumn(oversigt.ColCount());
    if (manager)
        BuildKlubPoints(oversigt, valg, *manager);
}
