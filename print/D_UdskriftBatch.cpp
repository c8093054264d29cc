#include "print/D_UdskriftBatch.h"
#include "print/D_Html.h"
#include "print/D_Udskrift.h"

#include "model/D_Ovelser.h"
#include "storage/DBFieldDate.h"

#include <QDate>
#include <QSet>

#include <functional>
#include <unordered_map>

namespace {

// A class's or an event's code as codes are compared: trimmed and upper-cased.
QString Code(const QString& code) {
    return code.trimmed().toUpper();
}

QString KlasseOf(const TOvelseInfo& info) {
    return Code(info.GetKlasseKode());
}

// The event of a class, whatever its round.
QString EventKey(const TOvelseInfo& info) {
    return KlasseOf(info) + u'\n' + Code(info.GetOvelseKode());
}

QString DatoSuffix(TDateTime dato) {
    return dato == 0 ? UdateretSuffix : u'_' + DateTimeToQDate(dato).toString(QStringLiteral("yyyyMMdd"));
}

// Sets made in the order their first rounds come in `first`, each filled from `order`, a round going into
// the set its key names.
template <typename Key, typename Suffix>
std::vector<TListeSet> Grouped(const TOvelseInfoIndex& first, const TOvelseInfoIndex& order, Key key,
                               Suffix suffix) {
    std::vector<TListeSet> sets;
    std::unordered_map<QString, std::size_t> setOf;
    for (const auto& [sortKey, info] : first)
        if (const QString k = key(*info); setOf.emplace(k, sets.size()).second)
            sets.push_back({suffix(*info), {}});
    for (const auto& [sortKey, info] : order)
        sets[setOf.at(key(*info))].Rounds.push_back(info);
    return sets;
}

// A class's rounds in combined-event order: its combined events themselves, their disciplines by number,
// then its other rounds in programme order.
void CombinedOrder(const TOvelseManager& ovelser, std::vector<TListeSet>& sets) {
    struct TParts {
        std::vector<TOvelseInfo*> Combined;
        std::vector<TOvelseInfo*> Disciplines;
        std::vector<TOvelseInfo*> Others;
    };
    std::unordered_map<QString, TParts> parts;
    QSet<const TOvelseInfo*> inCombined;
    for (const auto& [key, info] : ovelser.MangekampIndex()) {
        TParts& klasse = parts[KlasseOf(*info)];
        (info->Ovelse().IsMangekampOvelse() ? klasse.Combined : klasse.Disciplines).push_back(info);
        inCombined.insert(info);
    }
    for (const auto& [key, info] : ovelser.KlasseIndex())
        if (!inCombined.contains(info))
            parts[KlasseOf(*info)].Others.push_back(info);
    for (TListeSet& set : sets) {
        if (set.Rounds.empty())
            continue;
        const TParts& klasse = parts[KlasseOf(*set.Rounds.front())];
        set.Rounds = klasse.Combined;
        set.Rounds.insert(set.Rounds.end(), klasse.Disciplines.begin(), klasse.Disciplines.end());
        set.Rounds.insert(set.Rounds.end(), klasse.Others.begin(), klasse.Others.end());
    }
}

std::vector<TOvelseInfo*> Rounds(const TOvelseInfoIndex& index,
                                 const std::function<bool(const TOvelseInfo&)>& wanted) {
    std::vector<TOvelseInfo*> rounds;
    for (const auto& [key, info] : index)
        if (wanted(*info))
            rounds.push_back(info);
    return rounds;
}

} // namespace

std::vector<TListeSet> PlanListeSets(const TOvelseManager& ovelser, const TListePlanOptions& options) {
    const TOvelseInfoIndex& programme = ovelser.KlasseIndex();
    const TOvelseInfoIndex& order = options.OrderByTime ? ovelser.TidIndex() : programme;
    if (options.ByAgeGroup) {
        std::vector<TListeSet> sets = Grouped(
            programme, order, KlasseOf, [](const TOvelseInfo& info) { return u'_' + info.GetKlasseKode(); });
        if (options.OrderByEventNo && !options.OrderByTime)
            CombinedOrder(ovelser, sets);
        return sets;
    }
    if (options.ByDay)
        return Grouped(
            ovelser.TidIndex(), order,
            [](const TOvelseInfo& info) { return QString::number(static_cast<qint64>(info.GetDato())); },
            [](const TOvelseInfo& info) { return DatoSuffix(info.GetDato()); });
    return {TListeSet{{}, Rounds(order, [](const TOvelseInfo&) { return true; })}};
}

std::vector<TListeSet> PlanRedidSets(const TOvelseManager& ovelser) {
    const auto on = [](int ugedag) {
        return
            [ugedag](const TOvelseInfo& info) { return info.GetDato() != 0 && info.GetUgedag() == ugedag; };
    };
    constexpr int Fredag = 5;
    constexpr int Loerdag = 6;
    return {
        {QStringLiteral("_all"), Rounds(ovelser.KlasseIndex(), [](const TOvelseInfo&) { return true; })},
        {QStringLiteral("_friday"), Rounds(ovelser.TidIndex(), on(Fredag))},
        {QStringLiteral("_saturday"), Rounds(ovelser.TidIndex(), on(Loerdag))},
    };
}

// ---------------------------------------------------------------- one page per event

QString TOneFileNames::BaseName(const QString& prefix, const QString& klasse, const QString& ovelse) {
    QString name;
    // The page names web sites link to: "Ø" becomes "o", "Æ" and "Å" become "a". Events whose names meet
    // that way are told apart by the number TOneFileNames adds.
    for (const QChar c : prefix + klasse.trimmed() + u'-' + ovelse.trimmed()) {
        switch (c.toUpper().unicode()) {
        case u'Æ':
        case u'Å':
            name += u'a';
            break;
        case u'Ø':
            name += u'o';
            break;
        default:
            name += c.toLower();
        }
    }
    return SafeFileName(name);
}

TOneFileNames::TOneFileNames(const TOvelseManager& ovelser, const QString& prefix)
    : prefix_(prefix) {
    // Names are handed out in the natural order of the events, the same in every run of the meet.
    QSet<QString> taken;
    for (const auto& [key, info] : ovelser.KodeIndex()) {
        const QString event = EventKey(*info);
        if (names_.contains(event))
            continue;
        const QString base = BaseName(prefix, info->GetKlasseKode(), info->GetOvelseKode());
        QString name = base;
        for (int n = 2; taken.contains(name.toLower()); ++n)
            name = base + u'_' + QString::number(n);
        taken.insert(name.toLower());
        names_.emplace(event, name);
    }
}

QString TOneFileNames::Name(const TOvelseInfo& first) const {
    const auto found = names_.find(EventKey(first));
    const QString base = found != names_.end()
                             ? found->second
                             : BaseName(prefix_, first.GetKlasseKode(), first.GetOvelseKode());
    return base + u'-' + QString::number(first.GetRundeNr());
}

std::vector<TListePage> PlanOneFilePages(const TListeSet& set, const TOneFileNames& names) {
    std::vector<TListePage> pages;
    std::unordered_map<QString, std::size_t> pageOf;
    for (TOvelseInfo* info : set.Rounds) {
        if (!info)
            continue;
        const auto [at, added] = pageOf.emplace(EventKey(*info), pages.size());
        if (added)
            pages.push_back({names.Name(*info), {}});
        pages[at->second].Rounds.push_back(info);
    }
    return pages;
}

// ---------------------------------------------------------------- the run

void SetUpBatchHtml(TUdskrift& job, TResultatManager& data, bool printEmpty) {
    job.SetData(&data);
    job.SetUdskrivTilSkaerm(false);
    job.SetUdskrivTilPrinter(false);
    job.HtmlUdskrift = true;
    job.SideskiftPrKlasse = false;
    job.SideskiftPrTidspunkt = false;
    job.SideskiftPrHeat = false;
    job.UdskrivTommeOvelser = printEmpty;
    job.HeadingInBody = true;
    job.ListUnseeded = true;
}

void RunListeSets(TUdskrift& job, const std::vector<TListeSet>& sets, const TOneFileNames* names) {
    for (const TListeSet& set : sets) {
        if (!names) {
            job.HtmlFileName.clear();
            job.HtmlNameSuffix = set.Suffix;
            job.RunList(set.Rounds);
            continue;
        }
        for (const TListePage& page : PlanOneFilePages(set, *names)) {
            job.HtmlFileName = page.Name;
            job.RunList(page.Rounds);
        }
    }
    job.HtmlFileName.clear();
}
