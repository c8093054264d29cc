#include "model/D_Startnumre.h"

#include "foundation/BusyCursor.h"
#include "foundation/DanishOrder.h"
#include "foundation/Exception.h"
#include "foundation/LxString.h"
#include "model/D_DBDef.h"
#include "model/D_Result.h"
#include "model/D_ResultTable.h"
#include "storage/BtvTransaction.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <limits>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

constexpr qint32 HoejesteStartnummer = std::numeric_limits<qint32>::max();
// A club number is a 2-byte field.
constexpr qint32 HoejesteKlubNr = std::numeric_limits<qint16>::max();
// Relay teams are participants whose name ends in this.
const QChar StafetMaerke = u'%';

// Made whole when read: a sort key has no empty state.
struct TDeltagerPost {
    quint32 Position;
    qint32 Startnummer;
    qint32 KlubNr;
    bool Stafet;
    QCollatorSortKey Navn;
    qint32 Ny;
};

struct TNummerPost {
    quint32 Position = 0;
    qint32 Nummer = 0;
};

struct TResultatPost {
    quint32 Position = 0;
    qint32 Startnummer = 0;
    // A relay's result: its key, to read it whole with its member list.
    std::optional<TResultatKey> Stafet;
};

struct TKlubPost {
    quint32 Position;
    qint32 KlubNr;
    QString Navn;
    QCollatorSortKey Noegle;
};

TIntervalList ReadRanges(const QString& text) {
    TIntervalList ranges;
    ranges.SetAsText(TrimBlanks(text));
    return ranges;
}

// Every record of the current meet, by First and Next.
template <typename Table, typename Read>
void ForEachRecord(Table& table, Read read) {
    for (bool found = table.First(); found; found = table.Next())
        read(table);
}

qint32 Integer(const TDataTable& table, int fieldNo) {
    return table.GetField(fieldNo)->GetAsInteger();
}

// The catalogue's relay events, by code.
std::unordered_set<QString> StafetOvelser() {
    std::unordered_set<QString> koder;
    TOvelseTable ovelser;
    ovelser.Open();
    ForEachRecord(ovelser, [&](TOvelseTable& table) {
        if (Integer(table, OvelseField::Ovtype) == int(TOvtype::Stafet))
            koder.insert(table.GetField(OvelseField::Ovelse)->GetTrimmedString().toUpper());
    });
    return koder;
}

// A fun-run meet gives no relay numbers, so only its own ranges count there.
void CheckRanges(const TIntervalList& individ, const TIntervalList& stafet, bool motionsloeb) {
    if (individ.Count() == 0)
        throw Exception(QStringLiteral("Gyldigt startnummer-interval skal først angives"));
    if (motionsloeb)
        return CheckRanges(individ, TIntervalList(), false);
    for (const TIntervalList* ranges : {&individ, &stafet}) {
        if (ranges->Count() > 0 && ranges->GetInterval(0).Low < 1)
            throw Exception(QStringLiteral("Startnumre begynder ved 1: ") + ranges->AsText() +
                            QStringLiteral(" kan ikke bruges"));
    }
    for (int i = 0; i < individ.Count(); ++i) {
        for (int s = 0; s < stafet.Count(); ++s) {
            const TInterval& a = individ.GetInterval(i);
            const TInterval& b = stafet.GetInterval(s);
            if (a.Low <= b.High && b.Low <= a.High)
                throw Exception(QStringLiteral("Startnumre ") + individ.AsText() +
                                QStringLiteral(" og stafetstartnumre ") + stafet.AsText() +
                                QStringLiteral(" overlapper hinanden"));
        }
    }
}

// The new numbers of everyone, in the order they are given, and what they must not meet.
class TPlan {
public:
    // udenDeltager: the numbers of entries whose participant is gone, which nobody may be given.
    TPlan(const TStartnummerValg& valg, std::vector<TDeltagerPost>& deltagere,
          std::vector<TKlubPost>& klubber, const std::unordered_set<qint32>& udenDeltager)
        : individ_(ReadRanges(valg.Startnumre))
        , stafet_(ReadRanges(valg.StafetStartnumre))
        , udenDeltager_(udenDeltager) {
        CheckRanges(individ_, stafet_, valg.Motionsloeb);
        if (valg.Motionsloeb)
            PlanMotionsloeb(deltagere);
        else
            PlanKlubvis(deltagere, klubber);
    }

private:
    qint32 Next(TStartnummerRaekke& numre) const {
        qint32 nummer = numre.Next();
        while (udenDeltager_.contains(nummer))
            nummer = numre.Next();
        return nummer;
    }

    // Each in bib order, the order in which the meet's numbers stand.
    void PlanMotionsloeb(std::vector<TDeltagerPost>& deltagere) {
        std::vector<TDeltagerPost*> orden;
        for (TDeltagerPost& deltager : deltagere)
            orden.push_back(&deltager);
        std::stable_sort(orden.begin(), orden.end(), [](const TDeltagerPost* a, const TDeltagerPost* b) {
            return a->Startnummer < b->Startnummer;
        });
        TStartnummerRaekke numre(individ_);
        for (TDeltagerPost* deltager : orden)
            deltager->Ny = Next(numre);
    }

    // The clubs by name; each club's individuals by name, then those of no club; then the relay teams.
    void PlanKlubvis(std::vector<TDeltagerPost>& deltagere, std::vector<TKlubPost>& klubber) {
        std::stable_sort(klubber.begin(), klubber.end(), [](const TKlubPost& a, const TKlubPost& b) {
            const int c = a.Noegle.compare(b.Noegle);
            return c != 0 ? c < 0 : a.KlubNr < b.KlubNr;
        });
        std::unordered_map<qint32, int> klubOrden;
        for (std::size_t i = 0; i < klubber.size(); ++i)
            klubOrden.try_emplace(klubber[i].KlubNr, static_cast<int>(i));
        const int udenKlub = static_cast<int>(klubber.size());
        const auto orden = [&](bool stafet) {
            std::vector<std::pair<int, TDeltagerPost*>> valgte;
            for (TDeltagerPost& deltager : deltagere) {
                if (deltager.Stafet != stafet)
                    continue;
                const auto klub = klubOrden.find(deltager.KlubNr);
                valgte.emplace_back(klub == klubOrden.end() ? udenKlub : klub->second, &deltager);
            }
            std::stable_sort(valgte.begin(), valgte.end(), [](const auto& a, const auto& b) {
                if (a.first != b.first)
                    return a.first < b.first;
                const int c = a.second->Navn.compare(b.second->Navn);
                return c != 0 ? c < 0 : a.second->Startnummer < b.second->Startnummer;
            });
            return valgte;
        };

        TStartnummerRaekke numre(individ_);
        std::vector<qint32> individNumre;
        for (const auto& valgt : orden(false)) {
            valgt.second->Ny = Next(numre);
            individNumre.push_back(valgt.second->Ny);
        }
        // Without relay ranges the teams go on from the individuals' numbers.
        std::optional<TStartnummerRaekke> stafetNumre;
        if (stafet_.Count() > 0)
            stafetNumre.emplace(stafet_);
        TStartnummerRaekke& holdNumre = stafetNumre ? *stafetNumre : numre;
        std::vector<qint32> stafetNumreGivet;
        for (const auto& valgt : orden(true)) {
            valgt.second->Ny = Next(holdNumre);
            stafetNumreGivet.push_back(valgt.second->Ny);
        }
        // Both run upwards: a number both give is found by walking them side by side.
        auto i = individNumre.begin();
        for (const qint32 nummer : stafetNumreGivet) {
            i = std::lower_bound(i, individNumre.end(), nummer);
            if (i != individNumre.end() && *i == nummer)
                throw Exception(QStringLiteral("Startnumrene rækker ikke: startnummer ") +
                                QString::number(nummer) +
                                QStringLiteral(" skulle gives både til en deltager og til et stafethold. "
                                               "Gør intervallerne større, så de ikke mødes."));
        }
    }

    TIntervalList individ_;
    TIntervalList stafet_;
    const std::unordered_set<qint32>& udenDeltager_;
};

// Old number to new: the first participant in bib order holding a number takes what carries it.
std::unordered_map<qint32, qint32> NummerSkift(const std::vector<TDeltagerPost>& deltagere) {
    std::vector<const TDeltagerPost*> orden;
    for (const TDeltagerPost& deltager : deltagere)
        orden.push_back(&deltager);
    std::stable_sort(orden.begin(), orden.end(), [](const TDeltagerPost* a, const TDeltagerPost* b) {
        return a->Startnummer < b->Startnummer;
    });
    std::unordered_map<qint32, qint32> skift;
    for (const TDeltagerPost* deltager : orden)
        skift.try_emplace(deltager->Startnummer, deltager->Ny);
    return skift;
}

// Fun-run: the club numbered with a participant's old bib takes the new bib as its number.
std::unordered_map<qint32, qint32> KlubSkift(const std::unordered_map<qint32, qint32>& nummerSkift,
                                             const std::vector<TKlubPost>& klubber) {
    std::unordered_map<qint32, qint32> skift;
    for (const TKlubPost& klub : klubber) {
        const auto ny = nummerSkift.find(klub.KlubNr);
        if (ny == nummerSkift.end())
            continue;
        if (ny->second > HoejesteKlubNr)
            throw Exception(QStringLiteral("I et motionsløb bliver startnummeret også klubnummer, og et "
                                           "klubnummer kan højst være ") +
                            QString::number(HoejesteKlubNr) + QStringLiteral(": startnummer ") +
                            QString::number(ny->second) + QStringLiteral(" kan ikke bruges"));
        skift.try_emplace(klub.KlubNr, ny->second);
    }
    std::unordered_set<qint32> nyeNumre;
    for (const auto& [gammelt, nyt] : skift)
        nyeNumre.insert(nyt);
    for (const TKlubPost& klub : klubber) {
        if (!skift.contains(klub.KlubNr) && nyeNumre.contains(klub.KlubNr))
            throw Exception(QStringLiteral("Klubnummer ") + QString::number(klub.KlubNr) +
                            QStringLiteral(" skulle gives til en deltagers klub, men klubben \"") +
                            klub.Navn + QStringLiteral("\" har det allerede"));
    }
    return skift;
}

// The number a map gives, or the number itself.
qint32 Skiftet(const std::unordered_map<qint32, qint32>& skift, qint32 nummer) {
    const auto ny = skift.find(nummer);
    return ny == skift.end() ? nummer : ny->second;
}

// Writes the field at each collected position whose number changes.
void SkiftNumre(TZunoDataTable& table, const std::vector<TNummerPost>& poster, int fieldNo,
                const std::unordered_map<qint32, qint32>& skift) {
    for (const TNummerPost& post : poster) {
        const qint32 ny = Skiftet(skift, post.Nummer);
        if (ny == post.Nummer)
            continue;
        table.GotoPosition(post.Position);
        table.Edit();
        table.GetField(fieldNo)->SetAsInteger(ny);
        table.Post();
    }
}

std::vector<TNummerPost> ReadNumre(TZunoDataTable& table, int fieldNo) {
    std::vector<TNummerPost> poster;
    ForEachRecord(table, [&](TZunoDataTable& t) {
        poster.push_back({t.GetPosition(), Integer(t, fieldNo)});
    });
    return poster;
}

// The relay's member list with each member's new number; none when nothing changes or the stored list
// cannot be read whole (it is then left as it is).
std::optional<QByteArray> SkiftetHoldliste(const QByteArray& stored,
                                           const std::unordered_map<qint32, qint32>& skift) {
    TSerier serier;
    if (!serier.LoadFromString(stored))
        return std::nullopt;
    bool skiftet = false;
    for (int i = 0; i < serier.Count(); ++i) {
        TSerie& medlem = *serier.GetSerie(i);
        if (medlem.IsEmpty())
            continue;
        const qint32 ny = Skiftet(skift, medlem.Value);
        skiftet = skiftet || ny != medlem.Value;
        medlem.Value = ny;
    }
    if (!skiftet)
        return std::nullopt;
    return serier.SaveToString();
}

} // namespace

// ---------------------------------------------------------------- TStartnummerRaekke

TStartnummerRaekke::TStartnummerRaekke(const TIntervalList& ranges)
    : ranges_(ranges) {
    if (ranges_.Count() == 0)
        throw Exception(QStringLiteral("Gyldigt startnummer-interval skal først angives"));
}

qint32 TStartnummerRaekke::Next() {
    if (!started_) {
        started_ = true;
        last_ = ranges_.GetInterval(0).Low;
        return last_;
    }
    if (range_ + 1 < ranges_.Count() && last_ >= ranges_.GetInterval(range_).High) {
        ++range_;
        last_ = ranges_.GetInterval(range_).Low;
        return last_;
    }
    if (last_ == HoejesteStartnummer)
        throw Exception(QStringLiteral("Startnumrene rækker ud over det største startnummer ") +
                        QString::number(HoejesteStartnummer));
    return ++last_;
}

// ---------------------------------------------------------------- the reassignment

QString StartnummerRapportText(const TStartnummerRapport& rapport, int maxLines) {
    QString text = QStringLiteral("Omfordeling af startnumre er nu færdig");
    const std::vector<TTilmeldingUdenDeltager>& udeladte = rapport.UdenDeltager;
    if (udeladte.empty())
        return text;
    text +=
        CrLf + CrLf +
        QStringLiteral("Tilmeldinger uden deltager har beholdt deres startnummer, som ingen andre har fået "
                       "(%1):")
            .arg(udeladte.size());
    const std::size_t shown = std::min<std::size_t>(static_cast<std::size_t>(maxLines), udeladte.size());
    for (std::size_t i = 0; i < shown; ++i)
        text += CrLf + QStringLiteral("Klasse %1, øvelse %2, startnummer %3")
                           .arg(udeladte[i].Klasse, udeladte[i].Ovelse)
                           .arg(udeladte[i].Startnummer);
    if (shown < udeladte.size())
        text += CrLf + QStringLiteral("... og %1 mere").arg(udeladte.size() - shown);
    return text;
}

bool HarStartnumre(const QString& startnumre) {
    return ReadRanges(startnumre).Count() > 0;
}

TStartnummerRapport TildelStartnumre(const TStartnummerValg& valg) {
    const TBusyCursor busy;
    TDeltagerTable deltagerTable;
    TKlubTable klubTable;
    TResultatRecordTable resultatTable;
    deltagerTable.Open();
    klubTable.Open();
    resultatTable.Open();

    // Everything is read, and every position taken, before a number changes.
    const QCollator navneOrden = DanishNameOrder();
    std::vector<TDeltagerPost> deltagere;
    ForEachRecord(deltagerTable, [&](TDeltagerTable& t) {
        const QString navn = t.GetField(DeltagerField::Navn)->GetTrimmedString();
        deltagere.push_back({t.GetPosition(), Integer(t, DeltagerField::Startnummer),
                             Integer(t, DeltagerField::KlubNr), navn.endsWith(StafetMaerke),
                             navneOrden.sortKey(navn), 0});
    });
    std::vector<TKlubPost> klubber;
    ForEachRecord(klubTable, [&](TKlubTable& t) {
        const QString navn = t.GetField(KlubField::Navn)->GetTrimmedString();
        klubber.push_back({t.GetPosition(), Integer(t, KlubField::KlubNr), navn, navneOrden.sortKey(navn)});
    });

    std::unordered_set<qint32> deltagerNumre;
    for (const TDeltagerPost& deltager : deltagere)
        deltagerNumre.insert(deltager.Startnummer);
    // An entry whose participant is gone would otherwise become the entry of whoever got its number.
    TStartnummerRapport rapport;
    std::unordered_set<qint32> udenDeltager;
    const std::unordered_set<QString> stafetOvelser = StafetOvelser();
    std::vector<TResultatPost> resultater;
    ForEachRecord(resultatTable, [&](TResultatRecordTable& t) {
        const QString ovelse = t.GetField(ResultatField::Ovelse)->GetTrimmedString().toUpper();
        TResultatPost& post = resultater.emplace_back();
        post.Position = t.GetPosition();
        post.Startnummer = Integer(t, ResultatField::Startnummer);
        if (stafetOvelser.contains(ovelse))
            post.Stafet = t.CurrentKey();
        if (!deltagerNumre.contains(post.Startnummer)) {
            rapport.UdenDeltager.push_back(
                {t.GetField(ResultatField::Klasse)->GetTrimmedString(), ovelse, post.Startnummer});
            udenDeltager.insert(post.Startnummer);
        }
    });

    const TPlan plan(valg, deltagere, klubber, udenDeltager);
    const std::unordered_map<qint32, qint32> nummerSkift = NummerSkift(deltagere);
    std::unordered_map<qint32, qint32> klubSkift;
    if (valg.Motionsloeb)
        klubSkift = KlubSkift(nummerSkift, klubber);

    TBtvTransaction transaction;
    for (const TDeltagerPost& deltager : deltagere) {
        const qint32 klubNr = Skiftet(klubSkift, deltager.KlubNr);
        if (deltager.Ny == deltager.Startnummer && klubNr == deltager.KlubNr)
            continue;
        deltagerTable.GotoPosition(deltager.Position);
        deltagerTable.Edit();
        deltagerTable.GetField(DeltagerField::Startnummer)->SetAsInteger(deltager.Ny);
        deltagerTable.GetField(DeltagerField::KlubNr)->SetAsInteger(klubNr);
        deltagerTable.Post();
    }
    for (const TResultatPost& resultat : resultater) {
        const qint32 ny = Skiftet(nummerSkift, resultat.Startnummer);
        std::optional<QByteArray> holdliste;
        if (resultat.Stafet) {
            resultatTable.ReadEntryAt(resultat.Position, *resultat.Stafet);
            holdliste = SkiftetHoldliste(resultatTable.Serie(), nummerSkift);
        }
        if (ny == resultat.Startnummer && !holdliste)
            continue;
        if (!resultat.Stafet)
            resultatTable.GotoPosition(resultat.Position);
        resultatTable.Edit();
        resultatTable.GetField(ResultatField::Startnummer)->SetAsInteger(ny);
        if (holdliste)
            resultatTable.PostWithSerie(*holdliste);
        else
            resultatTable.Post();
    }
    if (!klubSkift.empty()) {
        std::vector<TNummerPost> klubPoster;
        for (const TKlubPost& klub : klubber)
            klubPoster.push_back({klub.Position, klub.KlubNr});
        SkiftNumre(klubTable, klubPoster, KlubField::KlubNr, klubSkift);
        TKlubkobTable klubkob;
        klubkob.Open();
        SkiftNumre(klubkob, ReadNumre(klubkob, KlubkobField::Klubnr), KlubkobField::Klubnr, klubSkift);
        TBetalingTable betaling;
        betaling.Open();
        SkiftNumre(betaling, ReadNumre(betaling, BetalingField::Klubnr), BetalingField::Klubnr, klubSkift);
    }
    transaction.Commit();
    return rapport;
}
