// The combined-event layout of the overview: one column per combined event, the event itself in row 1
// and its disciplines from row 3 on by their numbers. A number outside the event's disciplines, or one
// taken already, puts its round in the first free row instead, and says so.
#include "ui/ovelse/Oversigt.h"

#include "foundation/LxString.h"
#include "model/D_Ovelser.h"

#include <algorithm>
#include <map>

namespace {

constexpr int LabelWidth = 70;
constexpr int MangekampWidth = 70;
constexpr int MangekampRow = 1;
constexpr int FirstDisciplinRow = 3;
constexpr int MKKeyLength = 6;

void EnsureRows(TOversigt& oversigt, int row) {
    while (oversigt.RowCount() <= row)
        oversigt.AddRow();
}

QString Kode(const TOvelseInfo& info) {
    return info.GetKlasseKode() + u' ' + info.GetOvelseKode() + u' ' + info.GetRunde();
}

} // namespace

void BuildMangekamp(TOversigt& oversigt, TOvelseManager& ovelser, const TOversigtValg& valg) {
    oversigt.AddColumn({QString(), LabelWidth, Qt::AlignLeft, false, true});
    // Every round of a combined event, by its code as the combined-event index orders them; the shown
    // ones are placed, all of them bound the discipline numbers.
    struct TGroup {
        std::vector<TOvelseInfo*> Alle;
        std::vector<TOvelseInfo*> Shown;
    };
    std::map<QString, TGroup> groups;
    const TOvelseInfoIndex& index = ovelser.KlasseIndex();
    for (int pos = 0; pos < index.Count(); ++pos) {
        TOvelseInfo* info = index.GetItem(pos);
        const QString mk = info->GetMKOvelse();
        if (mk.isEmpty())
            continue;
        TGroup& group = groups[RightJustify(mk.toUpper(), MKKeyLength)];
        group.Alle.push_back(info);
        if (IsShown(*info, valg))
            group.Shown.push_back(info);
    }
    for (auto& [key, group] : groups) {
        const int col = oversigt.ColCount();
        oversigt.AddColumn({group.Alle.front()->GetMKOvelse(), MangekampWidth, Qt::AlignHCenter});
        const int disciplines = static_cast<int>(group.Alle.size());
        std::stable_sort(group.Shown.begin(), group.Shown.end(),
                         [](const TOvelseInfo* a, const TOvelseInfo* b) {
                             return a->GetMKOvelseNr() < b->GetMKOvelseNr();
                         });
        const QString mk = oversigt.Column(col).Header;
        std::vector<TOvelseInfo*> misplaced;
        for (TOvelseInfo* info : group.Shown) {
            const int nr = info->GetMKOvelseNr();
            const bool itself =
                info->Ovelse().IsMangekampOvelse() && nr == static_cast<int>(info->MKOvelser().size()) + 1;
            EnsureRows(oversigt, MangekampRow);
            if (itself && !oversigt.Info(col, MangekampRow)) {
                oversigt.Place(col, MangekampRow, info, OversigtCellText(*info, valg, false));
                continue;
            }
            if (nr < 1 || nr > disciplines) {
                oversigt.Warn(
                    QStringLiteral("Mangekamp %1: %2 har øvelse-nr. %3, som ikke ligger mellem 1 og %4; "
                                   "den er vist i første ledige række")
                        .arg(mk, Kode(*info))
                        .arg(nr)
                        .arg(disciplines));
                misplaced.push_back(info);
                continue;
            }
            const int row = FirstDisciplinRow - 1 + nr;
            EnsureRows(oversigt, row);
            if (TOvelseInfo* other = oversigt.Info(col, row)) {
                oversigt.Warn(
                    QStringLiteral("Mangekamp %1: øvelse-nr. %2 bruges af både %3 og %4; %4 er vist i "
                                   "første ledige række")
                        .arg(mk)
                        .arg(nr)
                        .arg(Kode(*other), Kode(*info)));
                misplaced.push_back(info);
                continue;
            }
            oversigt.Place(col, row, info, OversigtCellText(*info, valg, false));
        }
        int row = FirstDisciplinRow;
        for (TOvelseInfo* info : misplaced) {
            for (EnsureRows(oversigt, row); oversigt.Info(col, row); EnsureRows(oversigt, ++row)) {
            }
            oversigt.Place(col, row, info, OversigtCellText(*info, valg, false));
        }
    }
    oversigt.SetRoundRowsEnd(oversigt.RowCount());
    for (int row = 1; row < oversigt.RowCount(); ++row)
        oversigt.SetText(0, row, IntStr(row));
}
