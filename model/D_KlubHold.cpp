#include "model/D_KlubHold.h"

#include "foundation/Exception.h"
#include "foundation/LxString.h"
#include "model/D_Klub.h"
#include "model/D_KlubEdit.h"
#include "model/D_Ovelser.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"

#include <unordered_map>
#include <unordered_set>

namespace {

const QString RowError = QStringLiteral("Error in SaveHoldturnering (1): ");
const QString CellError = QStringLiteral("Error in SaveHoldturnering (2): ");

bool TakesMarks(const THoldSettings& settings) {
    return settings.IndtastSeedning || settings.IndtastPR;
}

int MarkField(const THoldSettings& settings) {
    return settings.IndtastSeedning ? ResultatField::Seedning : ResultatField::PersonligRekord;
}

// The member's number in the team: a whole number of at least 1; nullopt for any other text.
std::optional<qint32> HoldNummer(const QString& text) {
    qint32 number = 0;
    try {
        number = ParseOvelseInteger(text);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
    if (number < 1)
        return std::nullopt;
    return number;
}

// Writes a cell's text into the result: the mark parsed before, or a place in the team, or an
// outside-competition code.
void StoreCell(const THoldSettings& settings, TResultatElement& resultat, const QString& text,
               std::optional<qint32> mark) {
    if (mark) {
        resultat.GetField(MarkField(settings))->SetAsInteger(*mark);
    } else if (const std::optional<qint32> nummer = HoldNummer(text)) {
        resultat.GetField(ResultatField::UdenforKonk)->SetAsString(QString());
        resultat.GetField(ResultatField::Rank)->SetAsInteger(*nummer);
    } else {
        resultat.GetField(ResultatField::UdenforKonk)->SetAsString(text);
    }
}

// A new entry of the row's participant in the column's own round.
TResultatElement& NewHoldResultat(TKlubManager& klubber, const TOvelseInfo& info, qint32 startnummer) {
    TResultatElement& resultat = klubber.GetResultat(klubber.NewResultat());
    const TOvelseRnElement& runde = info.OvelseRn();
    for (const int fieldNo : {ResultatField::Klasse, ResultatField::Ovelse, ResultatField::Runde})
        resultat.GetField(fieldNo)->SetAsString(runde.GetField(fieldNo)->GetAsString());
    resultat.GetField(ResultatField::Startnummer)->SetAsInteger(startnummer);
    return resultat;
}

} // namespace

THoldSettings HoldSettings(const TSystemData& systemData) {
    return {systemData.UndladKontrol, systemData.IndtastSeedning, systemData.IndtastPR,
            systemData.AntalDeltagerePrOvelse, systemData.MaxAntalOvelserPrDeltager};
}

std::vector<TOvelseInfo*> HoldColumns(const TOvelseManager& ovelser) {
    std::vector<TOvelseInfo*> columns;
    for (const auto& [key, info] : ovelser.KlasseIndex())
        columns.push_back(info);
    return columns;
}

QString HoldCellText(const THoldSettings& settings, const TOvelseInfo& info,
                     const TResultatElement& resultat) {
    if (TakesMarks(settings)) {
        const qint32 mark = resultat.GetField(MarkField(settings))->GetAsInteger();
        return mark == 0 ? QString() : FormatOvelseResultatNoWind(info, mark);
    }
    const QString kode = resultat.GetTrimmedString(ResultatField::UdenforKonk);
    return kode.isEmpty() ? resultat.GetTrimmedString(ResultatField::Rank) : kode;
}

std::vector<THoldRow> HoldRows(TKlubManager& klubber, TOvelseManager& ovelser, const THoldSettings& settings,
                               const std::vector<TOvelseInfo*>& columns) {
    std::unordered_map<const TOvelseInfo*, std::size_t> columnOf;
    for (std::size_t col = 0; col < columns.size(); ++col)
        columnOf.emplace(columns[col], col);
    const auto emptyCells = [&columns] {
        std::vector<THoldCell> cells(columns.size());
        for (std::size_t col = 0; col < columns.size(); ++col)
            cells[col].Info = columns[col];
        return cells;
    };
    std::vector<THoldRow> rows;
    std::unordered_set<const TResultatElement*> shown;
    TDeltagerList& deltagere = klubber.DeltagerList();
    for (int pos = 0; pos < deltagere.GetCount(); ++pos) {
        TDeltagerElement* deltager = deltagere.GetElement(pos);
        if (deltager->DeleteRequested || deltager->Deleted)
            continue;
        THoldRow row{deltager, deltager->GetTrimmedString(DeltagerField::Navn),
                     deltager->GetTrimmedString(DeltagerField::Aargang),
                     deltager->GetTrimmedString(DeltagerField::Koen), emptyCells()};
        const qint32 startnummer = deltager->GetField(DeltagerField::Startnummer)->GetAsInteger();
        for (TResultatElement* resultat : klubber.GetResultater(startnummer)) {
            const auto col = columnOf.find(ovelser.FindOvelseInfoByRecord(*resultat));
            if (col == columnOf.end() || row.Cells[col->second].Resultat || !shown.insert(resultat).second)
                continue;
            THoldCell& cell = row.Cells[col->second];
            cell.Resultat = resultat;
            cell.Text = cell.Shown = HoldCellText(settings, *cell.Info, *resultat);
        }
        rows.push_back(std::move(row));
    }
    if (rows.empty())
        rows.push_back({nullptr, {}, {}, {}, emptyCells()});
    return rows;
}

QString CheckHoldCell(const THoldSettings& settings, const TOvelseInfo& info, const QString& text) {
    const QString typed = TrimBlanks(text).toUpper();
    if (settings.UndladKontrol || typed.isEmpty())
        return typed;
    if (TakesMarks(settings)) {
        ParseOvelseResultat(info, typed);
        return typed;
    }
    if (const QString kode = ParseUdenforKonk(typed); !kode.isEmpty())
        return FormatUdenforKonk(kode);
    const qint32 most = settings.AntalDeltagerePrOvelse;
    const std::optional<qint32> nummer = HoldNummer(typed);
    if (nummer && (most <= 0 || *nummer <= most))
        return QString::number(*nummer);
    throw Exception(QStringLiteral("Der kan kun være ") + QString::number(most) +
                    (most > 1 ? QStringLiteral(" deltagere") : QStringLiteral(" deltager")) +
                    QStringLiteral(" pr. øvelse"));
}

std::vector<std::pair<int, QString>> HoldColumnChanges(const THoldSettings& settings,
                                                       const QStringList& column, int row,
                                                       const QString& before, const QString& now) {
    std::vector<std::pair<int, QString>> changes;
    if (settings.UndladKontrol || TakesMarks(settings) || !HoldNummer(now))
        return changes;
    const QString given = HoldNummer(before) ? QString::number(*HoldNummer(before)) : QString();
    if (given == now)
        return changes;
    for (int other = 0; other < column.size(); ++other) {
        if (other != row && TrimBlanks(column.at(other)) == now)
            changes.emplace_back(other, given);
    }
    return changes;
}

void CheckHoldEvents(const THoldSettings& settings, int filled) {
    if (settings.UndladKontrol || TakesMarks(settings))
        return;
    const qint32 most = settings.MaxAntalOvelserPrDeltager;
    if (most > 0 && filled > most)
        throw Exception(QStringLiteral("En deltager kan maksimalt have ") + QString::number(most) +
                        QStringLiteral(" øvelser"));
}

THoldSaveResult SaveHoldturnering(TKlubManager& klubber, const THoldSettings& settings,
                                  const std::vector<THoldRow>& rows) {
    THoldSaveResult saved;
    saved.NewStartnumre.assign(rows.size(), 0);
    const TKlubElement* klub = klubber.GetCurrentKlub();
    if (!klub)
        return saved;
    const qint32 klubNr = klub->GetField(KlubField::KlubNr)->GetAsInteger();

    // The members no row shows go, with their results.
    std::unordered_set<const TDeltagerElement*> onSheet;
    for (const THoldRow& row : rows)
        onSheet.insert(row.Deltager);
    std::vector<TDeltagerElement*> gone;
    for (int pos = 0; pos < klubber.DeltagerList().GetCount(); ++pos) {
        TDeltagerElement* deltager = klubber.DeltagerList().GetElement(pos);
        if (!deltager->DeleteRequested && !deltager->Deleted && !onSheet.contains(deltager))
            gone.push_back(deltager);
    }
    for (TDeltagerElement* deltager : gone)
        klubber.DeleteDeltager(*deltager);

    for (std::size_t r = 0; r < rows.size(); ++r) {
        const THoldRow& row = rows[r];
        TDeltagerElement* deltager = row.Deltager;
        if (!deltager && TrimBlanks(row.Navn).isEmpty())
            continue;
        try {
            if (!deltager) {
                const qint32 startnummer = klubber.GetNextStartnummer();
                deltager = &klubber.GetDeltager(klubber.NewDeltager());
                deltager->GetField(DeltagerField::KlubNr)->SetAsInteger(klubNr);
                deltager->GetField(DeltagerField::Startnummer)->SetAsInteger(startnummer);
                saved.NewStartnumre[r] = startnummer;
            }
            SetDeltagerText(*deltager, DeltagerField::Navn, row.Navn);
            SetDeltagerText(*deltager, DeltagerField::Aargang, row.Aargang);
            SetDeltagerText(*deltager, DeltagerField::Koen, row.Koen);
        } catch (const std::exception& error) {
            saved.Errors.append(RowError + MessageOf(error));
        }
        if (!deltager)
            continue;
        const qint32 startnummer = deltager->GetField(DeltagerField::Startnummer)->GetAsInteger();
        for (const THoldCell& cell : row.Cells) {
            const QString text = TrimBlanks(cell.Text).toUpper();
            if (cell.Resultat && text == TrimBlanks(cell.Shown).toUpper())
                continue;
            try {
                if (text.isEmpty()) {
                    if (cell.Resultat)
                        klubber.MarkDeleted(*cell.Resultat);
                    continue;
                }
                // Parsed before a new result is made: a refused mark leaves none behind.
                std::optional<qint32> mark;
                if (TakesMarks(settings))
                    mark = ParseOvelseResultat(*cell.Info, text);
                TResultatElement& resultat =
                    cell.Resultat ? *cell.Resultat : NewHoldResultat(klubber, *cell.Info, startnummer);
                StoreCell(settings, resultat, text, mark);
            } catch (const std::exception& error) {
                saved.Errors.append(CellError + MessageOf(error));
            }
        }
    }
    return saved;
}
