// Qualification for the next round and the move of the qualifiers into it.
#include "model/D_Result.h"

#include "foundation/LxString.h"
#include "model/D_Context.h"
#include "model/D_DBDef.h"
#include "model/D_Ovelser.h"
#include "model/D_ResultSortKeys.h"
#include "model/D_ResultTable.h"
#include "storage/BtvTransaction.h"

namespace {

qint32 RoundSetting(const TOvelseInfo& info, int fieldNo) {
    return info.OvelseRn().GetField(fieldNo)->GetAsInteger();
}

// A placed, valid row with a mark of its own.
bool CanQualify(const TResultat& row) {
    return row.IsValid() && row.hasMark() && row.Plac >= 1;
}

// Asks memory ahead for the fields qualifying reads and the code it writes.
void PrefetchVidere(const TResultat& row) {
    // The row's status lies beside Modified.
    for (const void* field : {static_cast<const void*>(&row.Modified),
                              static_cast<const void*>(&row.Resultat), static_cast<const void*>(&row.Plac)})
        __builtin_prefetch(field);
    __builtin_prefetch(&row.VK, 1);
}

} // namespace

int TResultatManager::CalcVidereKode(QChar runde) {
    if (!ovelseInfo_ || ovelser_.size() != 1)
        return 0;
    const qint32 ialt = RoundSetting(*ovelseInfo_, OvelseRnField::AntalVidereIalt);
    const qint32 prPlac = ialt > 0 ? RoundSetting(*ovelseInfo_, OvelseRnField::AntalViderePlac) : 0;
    const QString byPlac(runde.toUpper());
    const QString byResultat(runde.toLower());

    // By place, with places per heat the first of every heat; in the pass that clears the last codes, so
    // that a row keeping its code is not marked changed, and a big round's rows are visited once.
    int coded = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (i + PrefetchRows < rows_.size())
            PrefetchVidere(*rows_[i + PrefetchRows]);
        TResultat& row = *rows_[i];
        const bool byPlace = CanQualify(row) && row.Plac <= prPlac;
        row.SetVK(byPlace ? byPlac : QString());
        coded += byPlace ? 1 : 0;
    }
    if (ialt <= 0)
        return 0;

    // By result: the best of the rest, and with the last of them every row equal to it in the whole
    // result order, tie-breaks and placing code included.
    qint32 rest = ialt - coded;
    if (rest <= 0)
        return coded;
    const TResultSort sort(Rules());
    std::vector<TResultat*> order = GetResultater();
    SortResultater(order, sort, CompareByResultatHeat);
    const TResultat* last = nullptr;
    for (TResultat* row : order) {
        if (last && CompareByResultat(sort, *row, *last) != 0)
            break;
        if (!CanQualify(*row) || !row->VK.isEmpty())
            continue;
        row->SetVK(byResultat);
        ++coded;
        if (!last && --rest == 0)
            last = row;
    }
    return coded;
}

TOvelseInfo& TResultatManager::VidereRunde(QChar runde) const {
    const TOvelseManager* ovelser = ModelContext().OvelseManager.get();
    if (ovelseInfo_ && ovelser_.size() == 1 && ovelser && !runde.isNull()) {
        const QString runder = ovelseInfo_->OvelseRk().GetTrimmedString(OvelseRkField::Runder).toUpper();
        const qsizetype at = runder.indexOf(runde.toUpper());
        // Never this round or one before it: their entries and results are not the qualifiers' to replace.
        if (at >= ovelseInfo_->GetRundeNr()) {
            TOvelseInfo* next = ovelser->FindOvelseInfo(ovelseInfo_->GetKlasseKode(),
                                                        ovelseInfo_->GetOvelseKode(), QString(runde));
            if (next && next != ovelseInfo_)
                return *next;
        }
    }
    throw EResultError(QStringLiteral("Der er ikke mulighed for videre avancement herfra"));
}

TTransferOutcome TResultatManager::TransferVidere(QChar runde, bool replaceResults) {
    TOvelseInfo& next = VidereRunde(runde);
    const QString letter(runde.toUpper());
    std::vector<const TResultat*> videre;
    for (const auto& row : rows_) {
        if (TrimBlanks(row->VK).toUpper() == letter)
            videre.push_back(row.get());
    }
    if (videre.empty())
        return TTransferOutcome::NoneQualified;
    CalcOvelseInfo(next);
    if (next.ResultaterFindes && !replaceResults)
        return TTransferOutcome::NextRoundHasResults;

    TResultatRecordTable& table = *resultatTable_;
    struct TEntry {
        quint32 Position;
        TResultatKey Key;
    };
    std::vector<TEntry> entries;
    for (bool found = table.FirstOfRound(next); found; found = table.NextOfRound())
        entries.push_back({table.GetPosition(), table.CurrentKey()});

    const qint32 prPlac = RoundSetting(*ovelseInfo_, OvelseRnField::AntalViderePlac);
    const bool seedningsGruppe = RoundSetting(*ovelseInfo_, OvelseRnField::VidereSeedning) == 1 && prPlac > 0;
    namespace F = ResultatField;
    try {
        TBtvTransaction transaction;
        for (const TEntry& entry : entries) {
            if (table.FindEntryAt(entry.Position, entry.Key))
                table.Delete();
        }
        for (const TResultat* row : videre) {
            table.Insert();
            table.GetField(F::StID)->SetAsInteger(CurrentStID());
            // The next round's codes as its record holds them, so that the round reads its entries back.
            for (const int fieldNo : {F::Klasse, F::Ovelse, F::Runde})
                table.GetField(fieldNo)->SetAsString(next.OvelseRn().GetField(fieldNo)->GetAsString());
            table.GetField(F::Startnummer)->SetAsInteger(row->Startnummer);
            table.GetField(F::Seedning)->SetAsInteger(row->Resultat);
            table.GetField(F::PersonligRekord)->SetAsInteger(row->PR);
            // Heat winners seed first, then the seconds, ...; qualifiers by result last.
            qint32 gruppe = 0;
            if (seedningsGruppe)
                gruppe = row->Plac >= 1 && row->Plac <= prPlac ? row->Plac : prPlac + 1;
            table.GetField(F::SeedningsGruppe)->SetAsInteger(gruppe);
            table.Post();
        }
        transaction.Commit();
    } catch (...) {
        // The transaction is taken back: the next round is as it was.
        table.Cancel();
        throw;
    }
    CalcOvelseInfo(next);
    return TTransferOutcome::Written;
}
