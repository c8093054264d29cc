#include "print/D_UdskriftKlubstilling.h"
#include "print/D_Html.h"

#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"

#include <utility>
#include <vector>

TKlubstillingHoldUdskrift::TKlubstillingHoldUdskrift(QObject* owner)
    : TKlubstillingBase(owner) {
    if (StaevneManager)
        Print().LoadLayout(QStringLiteral("Klubstilling_Hold"), StaevneManager->GetRptFileName());
    // An age group's standings have their heading; the one overall standing takes the list's title.
    NoHeading = !CurrentSystemData().OstHoldTurnering;
}

void TKlubstillingHoldUdskrift::OpenHtml() {
    OpenHtmlPage(QStringLiteral("klubstilling"), QStringLiteral("KLUBSTILLING"));
}

QStringList TKlubstillingHoldUdskrift::AgeGroups() {
    QStringList groups;
    if (!OvelseManager)
        return groups;
    for (const auto& entry : OvelseManager->OvelseIndex()) {
        // A class code without age digits makes no age group.
        const QString group = entry.second->GetKlasseKode().mid(1, 2);
        if (!group.isEmpty() && !groups.contains(group))
            groups.append(group);
    }
    return groups;
}

void TKlubstillingHoldUdskrift::Run() {
    const bool ost = CurrentSystemData().OstHoldTurnering;
    const QString filter = KlasseFilter;
    const QString suffix = HeadingSuffix;
    // Each run: the class filter and the heading's suffix.
    std::vector<std::pair<QString, QString>> runs;
    if (!ost)
        runs.emplace_back(filter, suffix);
    else if (!filter.isEmpty())
        runs.emplace_back(filter, filter.mid(1, 2) + QStringLiteral(" ÅR"));
    else
        for (const QString& group : AgeGroups())
            runs.emplace_back(QStringLiteral("X") + group, group + QStringLiteral(" ÅR"));

    const bool print = WantsPrint();
    if (!print && !HtmlUdskrift)
        return;
    if (!print)
        OpenHtml();
    for (const auto& [klasse, heading] : runs) {
        KlasseFilter = klasse;
        HeadingSuffix = heading;
        if (print) {
            PrintOverallClubStandings(*this);
        } else {
            // The page tells the age groups apart.
            if (ost)
                WriteHtmlSectionTitle(*Html, QStringLiteral("l1"), heading);
            WriteOverallClubStandingsHtml(*this);
        }
    }
    KlasseFilter = filter;
    HeadingSuffix = suffix;
    if (print)
        Print().Print();
    else
        CloseHtml();
}
