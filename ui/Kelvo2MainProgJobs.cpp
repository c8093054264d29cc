#include "ui/Kelvo2MainProgJobs.h"

#include "foundation/Exception.h"
#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "foundation/PathResolver.h"
#include "model/D_Context.h"
#include "model/D_Globals.h"
#include "model/D_Staevne.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>

namespace {

void RunKip(const QStringList&) {
    KipJob();
}

// Every job, in the order in which they are run. The jobs whose writers come later are named, so that a
// script asking for one fails instead of opening a window.
constexpr std::array<TBatchJob, 11> Jobs{{
    {"/REDID", nullptr},
    {"/KIP", RunKip},
    {"/HTML_RESULTS", nullptr},
    {"/HTML_ATHLETES", nullptr},
    {"/HTML_START_LIST", nullptr},
    {"/HTML_TEAM", nullptr},
    {"/HTML_TEAM_START_LIST", nullptr},
    {"/HTML_TEAM_RESULTS", nullptr},
    {"/XML_OVELSE", nullptr},
    {"/XML_STAEVNE_INFO", nullptr},
    {"/XML_STAEVNE", nullptr},
}};

bool Asked(const TBatchJob& job, const QStringList& arguments) {
    return HasSwitch(QLatin1String(job.Switch), arguments);
}

} // namespace

bool IsBatchCommandLine(const QStringList& arguments) {
    return std::any_of(Jobs.begin(), Jobs.end(),
                       [&arguments](const TBatchJob& job) { return Asked(job, arguments); });
}

void RunBatchJobs(const QStringList& arguments) {
    for (const TBatchJob& job : Jobs) {
        if (!Asked(job, arguments))
            continue;
        if (!job.Run)
            throw Exception(QStringLiteral("Kørslen ") + QLatin1String(job.Switch) +
                            QStringLiteral(" findes endnu ikke i denne udgave af ZUNO"));
        job.Run(arguments);
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
