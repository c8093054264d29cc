// The club manager's start numbers: who has one in the meet, changing one, and the relay legs that
// follow a changed one.
#include "model/D_Klub.h"

#include "foundation/Exception.h"
#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_ResultTable.h"
#include "platform/LittleEndian.h"

#include <set>
#include <tuple>

namespace {

constexpr int KlubNrKey = 0;
constexpr int DeltagerStartnummerKey = 0;

bool IsLive(const TDataElement& element) {
    return !element.DeleteRequested && !element.Deleted;
}

qint32 StoredStartnummer(const TDataElement& deltager) {
    const int offset = deltager.GetField(DeltagerField::Startnummer)->Offset;
    return loadLE<qint32>(deltager.Buffer()->Saved() + offset);
}

template <typename Element>
std::vector<Element*> LiveOf(const std::vector<TDataElement*>& elements) {
    std::vector<Element*> live;
    for (TDataElement* element : elements) {
        if (IsLive(*element))
            live.push_back(static_cast<Element*>(element));
    }
    return live;
}

// One relay result whose legs get new numbers.
struct TStafetUpdate {
    quint32 Position;
    TResultatKey Key;
    QByteArray Serie;
};

// The legs of a stored series with the moves applied; nullopt when none moved or the series is damaged.
std::optional<QByteArray> MovedSerie(const QByteArray& stored, const std::map<qint32, qint32>& moves) {
    TSerier serier;
    if (!serier.LoadFromString(stored))
        return std::nullopt;
    bool moved = false;
    for (int i = 0; i < serier.Count(); ++i) {
        TSerie& leg = *serier.GetSerie(i);
        if (const auto move = moves.find(leg.Value); move != moves.end()) {
            leg.Value = move->second;
            moved = true;
        }
    }
    if (!moved)
        return std::nullopt;
    return serier.SaveToString();
}

} // namespace

QString TKlubManager::FindKlubNavnByStartnummer(qint32 startnummer) {
    if (!deltagerTable_.FindStaevneKey(DeltagerStartnummerKey, {startnummer}))
        return {};
    const qint32 klubNr = deltagerTable_.GetField(DeltagerField::KlubNr)->GetAsInteger();
    if (!klubTable_.FindStaevneKey(KlubNrKey, {klubNr}))
        return {};
    return TrimBlanks(klubTable_.GetField(KlubField::Navn)->GetAsString());
}

std::vector<TResultatElement*> TKlubManager::GetResultater(qint32 startnummer) {
    return LiveOf<TResultatElement>(resultatList_.Tracker().WithKey(startnummer));
}

std::vector<TDeltagerElement*> TKlubManager::GetDeltagere(qint32 startnummer) {
    return LiveOf<TDeltagerElement>(deltagerList_.Tracker().WithKey(startnummer));
}

void TKlubManager::DeleteDeltager(TDeltagerElement& deltager) {
    for (TResultatElement* resultat :
         GetResultater(deltager.GetField(DeltagerField::Startnummer)->GetAsInteger()))
        MarkDeleted(*resultat);
    MarkDeleted(deltager);
}

bool TKlubManager::IsStartnummerUsed(qint32 startnummer, const TDataElement* self, QString* holder) {
    const auto klubNavn = [this](qint32 klubNr) {
        return klubTable_.FindStaevneKey(KlubNrKey, {klubNr})
                   ? klubTable_.GetField(KlubField::Navn)->GetTrimmedString()
                   : QString();
    };
    const auto tell = [&](const QString& navn, qint32 klubNr) {
        if (holder)
            *holder = StartnummerHolder(navn, klubNavn(klubNr));
        return true;
    };
    // The loaded participants as they stand now.
    for (const TDeltagerElement* other : GetDeltagere(startnummer)) {
        if (other != self)
            return tell(other->GetTrimmedString(DeltagerField::Navn),
                        other->GetField(DeltagerField::KlubNr)->GetAsInteger());
    }
    // The stored ones, unless loaded: those count as they stand now.
    TKlubDataTracker& loaded = deltagerList_.Tracker();
    for (bool found = deltagerTable_.FindStaevneKey(DeltagerStartnummerKey, {startnummer}); found;
         found = deltagerTable_.NextStaevneKey()) {
        if (loaded.AtPosition(deltagerTable_.GetPosition()) == nullptr)
            return tell(deltagerTable_.GetField(DeltagerField::Navn)->GetTrimmedString(),
                        deltagerTable_.GetField(DeltagerField::KlubNr)->GetAsInteger());
    }
    return false;
}

void TKlubManager::CheckStartnummer(qint32 startnummer, const TDataElement* self) {
    if (startnummer < 1)
        throw Exception(QStringLiteral("Startnummeret skal være større end 0"));
    QString holder;
    if (IsStartnummerUsed(startnummer, self, &holder))
        throw Exception(StartnummerGivetText(startnummer, holder));
}

QString StartnummerHolder(const QString& navn, const QString& klub) {
    return klub.isEmpty() ? navn : navn + QStringLiteral(", ") + klub;
}

QString StartnummerGivetText(qint32 startnummer, const QString& holder) {
    return QStringLiteral("Startnummer %1 er allerede givet til %2").arg(startnummer).arg(holder);
}

void TKlubManager::ChangeStartnummer(TDeltagerElement& deltager, qint32 startnummer) {
    TField& field = *deltager.GetField(DeltagerField::Startnummer);
    const qint32 old = field.GetAsInteger();
    if (old == startnummer)
        return;
    CheckStartnummer(startnummer, &deltager);
    // Taken before the number changes hands: the results of the old number are this participant's.
    const std::vector<TResultatElement*> resultater =
        old != 0 ? GetResultater(old) : std::vector<TResultatElement*>{};
    field.SetAsInteger(startnummer);
    for (TResultatElement* resultat : resultater)
        resultat->GetField(ResultatField::Startnummer)->SetAsInteger(startnummer);
}

std::map<qint32, qint32> TKlubManager::StartnummerMoves(bool all) {
    std::vector<TDataElement*> elements;
    if (all || !deltagerList_.Tracker().Changed(elements)) {
        elements.clear();
        for (int raw = 0; raw < deltagerList_.GetCount(); ++raw)
            elements.push_back(deltagerList_.GetRawElement(raw));
    }
    std::map<qint32, qint32> moves;
    for (const TDataElement* deltager : elements) {
        if (deltager->IsNew || !IsLive(*deltager))
            continue;
        const qint32 stored = StoredStartnummer(*deltager);
        const qint32 now = deltager->GetField(DeltagerField::Startnummer)->GetAsInteger();
        if (stored != now)
            moves[stored] = now;
    }
    return moves;
}

bool CarryStafetStartnumre(const std::map<qint32, qint32>& moves) {
    if (moves.empty() || !OvelseManager)
        return true;
    TResultatRecordTable table;
    table.Open();
    std::vector<TStafetUpdate> updates;
    std::set<std::tuple<QString, QString, QString>> rounds;
    for (int i = 0; i < OvelseManager->GetInfoCount(); ++i) {
        const TOvelseInfo& info = *OvelseManager->GetInfo(i);
        if (!info.Ovelse().IsStafetOvelse() ||
            !rounds
                 .emplace(info.GetKlasseKode(), info.GetOvelseKode(),
                          TrimmedRunde(info.OvelseRn().GetField(OvelseRnField::Runde)->GetAsString()))
                 .second)
            continue;
        for (bool found = table.FirstOfRound(info); found; found = table.NextOfRound()) {
            if (table.SerieShort())
                continue;
            if (std::optional<QByteArray> serie = MovedSerie(table.Serie(), moves))
                updates.push_back({table.GetPosition(), table.CurrentKey(), *serie});
        }
    }
    bool saved = true;
    for (const TStafetUpdate& update : updates) {
        try {
            table.ReadEntryAt(update.Position, update.Key);
            table.Edit();
            table.PostWithSerie(update.Serie);
        } catch (const std::exception& error) {
            table.Cancel();
            ShowError(nullptr,
                      QStringLiteral("Stafetturene kunne ikke få de nye startnumre: ") + MessageOf(error));
            saved = false;
        }
    }
    return saved;
}
