#include "ui/Kelvo2MainProgJobs.h"

#include "foundation/Exception.h"
#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/PathResolver.h"
#include "model/D_Context.h"
#include "model/D_Globals.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "model/D_XmlData2.h"
#include "print/D_HtmlFile.h"
#include "print/D_KlubUdskrift.h"
#include "print/D_UdskriftBatch.h"
#include "print/D_UdskriftKlubstilling.h"
#include "print/D_UdskriftProgramliste.h"
#include "print/D_UdskriftResultatliste.h"
#include "print/D_UdskriftStartliste.h"
#include "storage/BtvTransaction.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <optional>

namespace {

const QString FileNameSwitch = QStringLiteral("/FILENAME=");
const QString PrefixSwitch = QStringLiteral("/PREFIX=");
const QString HeatSwitch = QStringLiteral("/HEAT=");

bool Has(const char* switchText, const QStringList& arguments) {
    return HasSwitch(QLatin1String(switchText), arguments);
}

bool MeetOpen() {
    return StaevneManager && StaevneManager->GetCurrentIndex() >= 0 && OvelseManager;
}

[[noreturn]] void Refuse(const char* job, const QString& why) {
    throw Exception(QLatin1String(job) + QStringLiteral(": ") + why +
                    QStringLiteral(", så der er ikke skrevet noget"));
}

// ---------------------------------------------------------------- the event lists

TListePlanOptions PlanOptions(const QStringList& arguments) {
    TListePlanOptions options;
    options.ByAgeGroup = Has("/BY_AGE_GROUP", arguments);
    options.ByDay = Has("/BY_DAY", arguments);
    options.OrderByTime = Has("/ORDER_BY_TIME", arguments);
    options.OrderByEventNo = Has("/ORDER_BY_EVENT_NO", arguments);
    options.OneFile = Has("/ONE_FILE", arguments);
    return options;
}

// The job's pages of the meet's rounds as the switches plan them.
void RunEventList(TUdskrift& job, TResultatManager& data, const QStringList& arguments) {
    SetUpBatchHtml(job, data, Has("/PRINT_EMPTY", arguments));
    const TListePlanOptions options = PlanOptions(arguments);
    const std::vector<TListeSet> sets = PlanListeSets(*OvelseManager, options);
    if (!options.OneFile) {
        RunListeSets(job, sets);
        return;
    }
    const TOneFileNames names(*OvelseManager, SwitchArgument(PrefixSwitch, arguments));
    RunListeSets(job, sets, &names);
}

void RunRedid(const QStringList&) {
    TResultatManager data;
    TResultatlisteUdskrift job;
    SetUpBatchHtml(job, data, false);
    RunListeSets(job, PlanRedidSets(*OvelseManager));
}

void RunHtmlResults(const QStringList& arguments) {
    TResultatManager data;
    TResultatlisteUdskrift job;
    job.InklusivKlubstilling = Has("/STANDINGS", arguments);
    job.InklusivMangekampStilling = false;
    RunEventList(job, data, arguments);
}

void RunHtmlAthletes(const QStringList& arguments) {
    TResultatManager data;
    TProgramlisteUdskrift job;
    RunEventList(job, data, arguments);
}

void RunHtmlStartList(const QStringList& arguments) {
    TResultatManager data;
    TStartlisteUdskrift job;
    RunEventList(job, data, arguments);
}

// The standings of the programme's first class, with the results board's template.
void RunHtmlTeam(const QStringList&) {
    const std::vector<TKlasseElement*> klasser = OvelseManager->GetKlasser();
    if (klasser.empty()) {
        ShowInformation(nullptr, QStringLiteral("/HTML_TEAM: stævnet har ingen klasse med øvelser, så der er "
                                                "ikke skrevet nogen klubstilling"));
        return;
    }
    TResultatManager data;
    TKlubstillingHoldUdskrift job;
    SetUpBatchHtml(job, data, false);
    job.SetUdskrivEnLangSide(false);
    job.KlasseFilter = klasser.front()->GetTrimmedString(KlasseField::Klasse);
    job.BoardFile = true;
    job.Run();
}

// Every club of the meet by name, with its participants, entries, account and bibs.
void RunKlubList(const QStringList& arguments, const QString& section, bool starttid) {
    TKlubManager manager(AlleKlubber);
    manager.KlubList().SetIndex({KlubField::Navn});
    TKlubUdskrift job;
    job.KlubManager = &manager;
    for (int i = 0; i < manager.GetKlubCount(); ++i)
        job.Klubber.push_back(&manager.GetKlub(i));
    for (const TKlasseElement* klasse : OvelseManager->GetKlasser())
        job.Klasser.append(klasse->GetTrimmedString(KlasseField::Korttekst));
    job.Order = Has("/ORDER_BY_BIBNO", arguments) ? DeltagerField::Startnummer : DeltagerField::Navn;
    job.UdskrivRegnskab = true;
    job.UdskrivDeltagere = true;
    job.UdskrivStartnumre = true;
    job.UdskrivTilPrinter = false;
    job.Run(section, starttid, SwitchArgument(PrefixSwitch, arguments), true);
}

void RunHtmlTeamStartList(const QStringList& arguments) {
    RunKlubList(arguments, QStringLiteral("KlubInfoListeStarttid"), true);
}

void RunHtmlTeamResults(const QStringList& arguments) {
    RunKlubList(arguments, QStringLiteral("KlubInfoListeResultat"), false);
}

// ---------------------------------------------------------------- XML

QString XmlFileName(const char* job, const QStringList& arguments) {
    const QString fileName = SwitchArgument(FileNameSwitch, arguments);
    if (fileName.isEmpty())
        Refuse(job, QStringLiteral("der er ikke givet noget filnavn med ") + FileNameSwitch);
    return fileName;
}

// The round "/KLASSE=", "/OVELSE=" and "/RUNDE=" name, and the heats of "/HEAT=" (none: every heat).
struct TXmlRound {
    TOvelseInfo* Info = nullptr;
    QStringList Heats;
};

TXmlRound FindXmlRound(const QStringList& arguments) {
    const QString klasse = SwitchArgument(QStringLiteral("/KLASSE="), arguments);
    const QString ovelse = SwitchArgument(QStringLiteral("/OVELSE="), arguments);
    QString runde = SwitchArgument(QStringLiteral("/RUNDE="), arguments).trimmed().toUpper();
    // "F" of an event held in one round, and "I" of one held in more, name its first round.
    if (const TOvelseInfo* first = OvelseManager->FindOvelseInfo(klasse, ovelse, QString()))
        if ((runde == u"F" && first->GetAntalRunder() == 1) || (runde == u"I" && first->GetAntalRunder() > 1))
            runde.clear();
    TXmlRound round;
    round.Info = OvelseManager->FindOvelseInfo(klasse, ovelse, runde);
    if (!round.Info)
        Refuse("/XML_OVELSE", QStringLiteral("stævnet har ingen runde med klassen \"") + klasse +
                                  (runde.isEmpty() ? QStringLiteral("\" og øvelsen \"") + ovelse + u'"'
                                                   : QStringLiteral("\", øvelsen \"") + ovelse +
                                                         QStringLiteral("\" og runden \"") + runde + u'"'));

    const QString given = FindSwitchValue(HeatSwitch, arguments);
    if (given.isEmpty())
        return round; // not given: every heat
    const QString heat = given == HeatSwitch ? QStringLiteral("1") : given.trimmed().toUpper();
    bool number = false;
    const int nr = heat.toInt(&number);
    if (!number || nr < 0)
        Refuse("/XML_OVELSE", QStringLiteral("heatet \"") + heat + QStringLiteral("\" (") + HeatSwitch +
                                  QStringLiteral(") er ikke et heatnummer"));
    if (nr > 0)
        round.Heats = {QString::number(nr)};
    return round;
}

void CheckXmlOvelse(const QStringList& arguments) {
    XmlFileName("/XML_OVELSE", arguments);
    FindXmlRound(arguments);
}

void RunXmlOvelse(const QStringList& arguments) {
    const QString fileName = XmlFileName("/XML_OVELSE", arguments);
    const TXmlRound round = FindXmlRound(arguments);
    TResultatManager manager;
    manager.LoadOvelse(round.Info);
    manager.SortHeatBaneSide();
    QStringList lines;
    TXmlData2().MakeXmlOvelse(lines, manager, true, round.Heats);
    SaveXmlFile(lines, fileName);
}

void CheckXmlStaevneInfo(const QStringList& arguments) {
    XmlFileName("/XML_STAEVNE_INFO", arguments);
}

void RunXmlStaevneInfo(const QStringList& arguments) {
    QStringList lines;
    TXmlData2().MakeXmlStaevneInfo(lines);
    SaveXmlFile(lines, XmlFileName("/XML_STAEVNE_INFO", arguments));
}

void CheckXmlStaevne(const QStringList& arguments) {
    XmlFileName("/XML_STAEVNE", arguments);
}

void RunXmlStaevne(const QStringList& arguments) {
    QStringList lines;
    TXmlData2().MakeXmlStaevne(lines);
    SaveXmlFile(lines, XmlFileName("/XML_STAEVNE", arguments));
}

void RunKip(const QStringList&) {
    KipJob();
}

// Every job, in the order in which they are run.
constexpr std::array<TBatchJob, 11> Jobs{{
    {"/REDID", nullptr, RunRedid},
    {"/KIP", nullptr, RunKip},
    {"/HTML_RESULTS", nullptr, RunHtmlResults},
    {"/HTML_ATHLETES", nullptr, RunHtmlAthletes},
    {"/HTML_START_LIST", nullptr, RunHtmlStartList},
    {"/HTML_TEAM", nullptr, RunHtmlTeam},
    {"/HTML_TEAM_START_LIST", nullptr, RunHtmlTeamStartList},
    {"/HTML_TEAM_RESULTS", nullptr, RunHtmlTeamResults},
    {"/XML_OVELSE", CheckXmlOvelse, RunXmlOvelse},
    {"/XML_STAEVNE_INFO", CheckXmlStaevneInfo, RunXmlStaevneInfo},
    {"/XML_STAEVNE", CheckXmlStaevne, RunXmlStaevne},
}};

bool Asked(const TBatchJob& job, const QStringList& arguments) {
    return Has(job.Switch, arguments);
}

} // namespace

bool IsBatchCommandLine(const QStringList& arguments) {
    return std::any_of(Jobs.begin(), Jobs.end(),
                       [&arguments](const TBatchJob& job) { return Asked(job, arguments); });
}

void RunBatchJobs(const QStringList& arguments) {
    std::vector<const TBatchJob*> asked;
    for (const TBatchJob& job : Jobs)
        if (Asked(job, arguments))
            asked.push_back(&job);
    if (asked.empty())
        return;
    if (!MeetOpen()) {
        QStringList switches;
        for (const TBatchJob* job : asked)
            switches.append(QLatin1String(job->Switch));
        throw Exception(switches.join(u' ') +
                        QStringLiteral(": der er ikke åbnet noget stævne, så der er ikke skrevet noget"));
    }
    for (const TBatchJob* job : asked)
        if (job->Check)
            job->Check(arguments);
    // A run stopped half-way through a page left its temporary file; it would stay for good.
    RemoveStaleHtmlTemps(StaevneManager->GetStaevneDir());
    for (const TBatchJob* job : asked) {
        // A job reads the meet many times over: in one go. What it writes is written as ever.
        const TBtvReadScope reading;
        job->Run(arguments);
    }
}

QString KipJob() {
    if (!StaevneManager || StaevneManager->GetCurrentIndex() < 0)
        throw Exception(QStringLiteral("/KIP: der er ikke åbnet noget stævne, så der er ikke skrevet nogen "
                                       "overførselsfil"));
    const QString stamp =
        DateTimeToQDateTime(ModelContext().Now()).toString(QStringLiteral("yyyyMMdd_HHmmss"));
    const QString fileName = ResolvePath(
        PathJoin(StaevneManager->GetStaevneDir(), QStringLiteral("_kip_") + stamp + QStringLiteral(".kip")));
    // Two runs within one second never overwrite the first one's file.
    return StaevneManager->ExportStaevneToNewFile(fileName);
}

QString SwitchArgument(const QString& switchText, const QStringList& arguments) {
    const QString value = FindSwitchValue(switchText, arguments);
    return value == switchText ? QString() : value;
}

QStringList ProgramParameters() {
    return QCoreApplication::arguments().mid(1);
}
