// Deleting and adding a round of one event row.
#include "model/D_OvelserRunde.h"

#include "model/D_Ovelser.h"
#include "storage/BtvTransaction.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int MaxRunderTid = 4;
constexpr int MaxRunderTeknik = 2;

QString Runder(const TOvelseInfo& info) {
    return info.OvelseRk().GetTrimmedString(OvelseRkField::Runder).toUpper();
}

// The rounds of the event row, as the manager's lists hold them.
std::vector<TOvelseRnElement*> RundeElements(TOvelseManager& ovelser, const TOvelseInfo& info) {
    std::vector<TOvelseRnElement*> rounds;
    for (int i = 0; i < ovelser.GetInfoCount(); ++i) {
        const TOvelseInfo& other = *ovelser.GetInfo(i);
        if (&other.OvelseRk() == &info.OvelseRk())
            rounds.push_back(&other.OvelseRn());
    }
    return rounds;
}

// The slot (1-based position in runder) of a stored round letter: an empty letter is the first round.
int SlotOf(const TOvelseRnElement& round, const QString& runder) {
    const QString letter = round.GetTrimmedString(OvelseRnField::Runde).toUpper();
    if (letter.isEmpty() || letter.at(0) == QChar(0))
        return 1;
    return static_cast<int>(runder.indexOf(letter.at(0))) + 1;
}

// Stores what the lists hold now in one transaction, then reads the programme anew whatever happened.
template <typename Change>
bool StoreChange(TOvelseManager& ovelser, Change change) {
    bool saved = false;
    try {
        TBtvTransaction transaction;
        change();
        saved = ovelser.Save();
        if (saved)
            transaction.Commit();
    } catch (...) {
        ovelser.Reload();
        throw;
    }
    ovelser.Reload();
    return saved;
}

} // namespace

QString SletRundeRunder(const TOvelseInfo& info) {
    if (info.AntalDeltagere > 0)
        throw ERundeError(QStringLiteral("Kan ikke slette øvelse, da der er tilmeldte deltagere"));
    const QString runder = Runder(info);
    const int nr = info.GetRundeNr();
    if (nr <= 1) {
        if (runder.size() >= 2)
            throw ERundeError(
                QStringLiteral("Kan ikke slette runde 1 før alle efterfølgende runder er slettet"));
        return {};
    }
    if (runder.size() == 2)
        return QStringLiteral("F");
    QString rest = runder;
    rest.remove(nr - 1, 1);
    if (rest != u"ISF" && rest != u"IF")
        throw ERundeError(
            QStringLiteral("Kan ikke slette øvelsen. Øvelser skal slettes i rigtig rækkefølge, dvs "
                           "mellemheats før semifinale og semifinale før finale"));
    return rest;
}

QString TilfoejRundeRunder(const TOvelseInfo& info) {
    const TOvelseElement& ovelse = info.Ovelse();
    const bool tid = ovelse.IsTidOvelse();
    const qint32 ovtype = ovelse.GetOvtype();
    const bool teknik = ovtype == int(TOvtype::VertikalSpring) || ovtype == int(TOvtype::HorisontalSpring) ||
                        ovtype == int(TOvtype::Kast);
    if (!tid && !teknik)
        throw ERundeError(QStringLiteral("Kan ikke tilføje runder til denne øvelse"));
    const int antal = static_cast<int>(Runder(info).size());
    if (antal >= (tid ? MaxRunderTid : MaxRunderTeknik))
        throw ERundeError(QStringLiteral("Kan ikke tilføje flere runder"));
    switch (antal) {
    case 3:
        return QStringLiteral("IMSF");
    case 2:
        return QStringLiteral("ISF");
    default:
        return tid ? QStringLiteral("IF") : QStringLiteral("KF");
    }
}

bool SletRunde(TOvelseManager& ovelser, TOvelseInfo& info) {
    const QString runder = SletRundeRunder(info);
    TOvelseRkElement& row = info.OvelseRk();
    TOvelseRnElement& round = info.OvelseRn();
    const std::vector<TOvelseRnElement*> rounds = RundeElements(ovelser, info);
    return StoreChange(ovelser, [&] {
        if (runder.isEmpty()) {
            row.DeleteRequested = true;
            for (TOvelseRnElement* each : rounds)
                each->DeleteRequested = true;
        } else {
            round.DeleteRequested = true;
            row.GetField(OvelseRkField::Runder)->SetAsString(runder);
        }
    });
}

bool TilfoejRunde(TOvelseManager& ovelser, TOvelseInfo& info) {
    const QString runder = TilfoejRundeRunder(info);
    TOvelseRkElement& row = info.OvelseRk();
    const std::vector<TOvelseRnElement*> rounds = RundeElements(ovelser, info);
    // The slot no stored round fills under the new rounds; the new round copies the round that comes
    // after it, or the last one.
    const auto taken = [&](int slot) {
        return std::any_of(rounds.begin(), rounds.end(),
                           [&](const TOvelseRnElement* round) { return SlotOf(*round, runder) == slot; });
    };
    int free = 0;
    for (int slot = 1; slot <= runder.size() && free == 0; ++slot) {
        if (!taken(slot))
            free = slot;
    }
    if (free == 0)
        throw ERundeError(QStringLiteral("Kan ikke tilføje flere runder"));
    TOvelseRnElement* model = nullptr;
    for (TOvelseRnElement* round : rounds) {
        const int slot = SlotOf(*round, runder);
        if (slot > free && (!model || slot < SlotOf(*model, runder)))
            model = round;
    }
    for (TOvelseRnElement* round : model ? std::vector<TOvelseRnElement*>() : rounds) {
        if (!model || SlotOf(*round, runder) > SlotOf(*model, runder))
            model = round;
    }
    return StoreChange(ovelser, [&] {
        row.GetField(OvelseRkField::Runder)->SetAsString(runder);
        TOvelseRnElement& added = ovelser.AddOvelseRn(row);
        if (model) {
            for (int fieldNo = OvelseRnField::DatoTid; fieldNo <= OvelseRnField::ExtraText3; ++fieldNo) {
                const TField& from = *model->GetField(fieldNo);
                QByteArray bytes(std::max(from.Size, 0), '\0');
                if (from.ReadBytes(bytes.data()))
                    added.GetField(fieldNo)->WriteBytes(bytes.constData());
            }
        }
        added.GetField(OvelseRnField::Runde)
            ->SetAsString(free == 1 ? QString() : QString(runder.at(free - 1)));
    });
}
