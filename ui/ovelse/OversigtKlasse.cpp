// The class/event layout of the overview: one column per class, one row per event and round letter,
// with the starters, entries and medals summed per row, per class and in all.
#include "ui/ovelse/Oversigt.h"

#include "foundation/LxString.h"
#include "model/D_Ovelser.h"

#include <unordered_map>

namespace {

constexpr int LabelWidth = 70;
constexpr int RedidLabelWidth = 160;
constexpr int KlasseWidth = 60;
constexpr int SumWidth = 60;
constexpr int MedalWidth = 80;

struct TSums {
    qint64 Aktive = 0;
    qint64 Total = 0;
    int Guld = 0;
    int Soelv = 0;
    int Bronze = 0;

    void Add(const TOvelseInfo& info) {
        Aktive += info.AntalAktiveDeltagere;
        Total += info.AntalDeltagere;
        // Medals are counted once per event: in its first round.
        if (info.GetRundeNr() == 1) {
            Guld += info.AntalAktiveDeltagere >= 1;
            Soelv += info.AntalAktiveDeltagere >= 2;
            Bronze += info.AntalAktiveDeltagere >= 3;
        }
    }
    void Add(const TSums& other) {
        Aktive += other.Aktive;
        Total += other.Total;
        Guld += other.Guld;
        Soelv += other.Soelv;
        Bronze += other.Bronze;
    }
    QString MedalText() const {
        if (Guld <= 0)
            return {};
        return IntStr(Guld) + u'-' + IntStr(Soelv) + u'-' + IntStr(Bronze);
    }
};

} // namespace

void BuildKlasseOvelse(TOversigt& oversigt, TOvelseManager& ovelser, const TOversigtValg& valg) {
    oversigt.AddColumn({QString(), valg.Redid ? RedidLabelWidth : LabelWidth, Qt::AlignLeft, false, true});
    TRecordColumns klasser(oversigt, [&valg](const TDataElement& klasse) {
        return TOversigtColumn{
            klasse.GetTrimmedString(valg.Redid ? KlasseField::Korttekst : KlasseField::Klasse), KlasseWidth,
            Qt::AlignHCenter};
    });
    klasser.AddList(ovelser.KlasseList());
    const QString aktivText = valg.Engelsk ? QStringLiteral("ACTIVE") : QStringLiteral("AKTIVE");
    const QString totalText = QStringLiteral("TOTAL");
    const QString medalText = valg.Engelsk ? QStringLiteral("MEDALS") : QStringLiteral("MEDALJER");
    // The rounds with their columns, for the sums per class.
    std::vector<std::pair<const TOvelseInfo*, int>> placed;

    // One row per event and round letter in event order; a second round of the same class, event and
    // letter (another attribute) gets a row of its own, so that no round is hidden.
    std::unordered_map<QString, std::vector<int>> rowsOf;
    std::vector<TSums> rowSums(1);
    const TOvelseInfoIndex& index = ovelser.OvelseIndex();
    for (int pos = 0; pos < index.Count(); ++pos) {
        TOvelseInfo* info = index.GetItem(pos);
        if (!IsShown(*info, valg))
            continue;
        const int col = klasser.ColOf(info->Klasse());
        const QString key = info->GetOvelseKode() + u'\n' + info->GetRunde();
        std::vector<int>& rows = rowsOf[key];
        int row = -1;
        for (const int candidate : rows) {
            if (!oversigt.Info(col, candidate)) {
                row = candidate;
                break;
            }
        }
        if (row < 0) {
            const QString ovelse =
                valg.Redid ? info->Ovelse().GetTrimmedString(OvelseField::Korttekst) : info->GetOvelseKode();
            row = oversigt.AddRow(ovelse + u' ' + info->GetRunde());
            rows.push_back(row);
            rowSums.emplace_back();
        }
        oversigt.Place(col, row, info, OversigtCellText(*info, valg, false));
        placed.emplace_back(info, col);
        rowSums[static_cast<std::size_t>(row)].Add(*info);
    }
    const int aktivCol = oversigt.ColCount();
    oversigt.AddColumn({aktivText, SumWidth, Qt::AlignHCenter});
    const int totalCol = oversigt.ColCount();
    oversigt.AddColumn({totalText, SumWidth, Qt::AlignHCenter});
    const int medalCol = oversigt.ColCount();
    oversigt.AddColumn({medalText, MedalWidth, Qt::AlignHCenter});

    const int roundRows = oversigt.RowCount();
    oversigt.SetRoundRowsEnd(roundRows);
    // Nothing to sum without a round: the overview of an empty meet is its headings and one row.
    if (roundRows == 1)
        return;
    TSums total;
    for (int row = 1; row < roundRows; ++row) {
        const TSums& sums = rowSums[static_cast<std::size_t>(row)];
        oversigt.SetText(aktivCol, row, IntStr(sums.Aktive));
        oversigt.SetText(totalCol, row, IntStr(sums.Total));
        oversigt.SetText(medalCol, row, sums.MedalText());
        total.Add(sums);
    }
    std::vector<TSums> colSums(static_cast<std::size_t>(oversigt.ColCount()));
    for (const auto& [info, col] : placed)
        colSums[static_cast<std::size_t>(col)].Add(*info);
    oversigt.AddRow();
    const int aktivRow = oversigt.AddRow(aktivText);
    const int totalRow = oversigt.AddRow(totalText);
    const int medalRow = oversigt.AddRow(medalText);
    for (int col = 1; col < aktivCol; ++col) {
        const TSums& sums = colSums[static_cast<std::size_t>(col)];
        oversigt.SetText(col, aktivRow, IntStr(sums.Aktive));
        oversigt.SetText(col, totalRow, IntStr(sums.Total));
        oversigt.SetText(col, medalRow, sums.MedalText());
    }
    oversigt.SetText(aktivCol, aktivRow, IntStr(total.Aktive));
    oversigt.SetText(totalCol, totalRow, IntStr(total.Total));
    oversigt.SetText(medalCol, medalRow, total.MedalText());
}
