#include "ui/ovelse/OversigtInfo.h"

#include "foundation/Exception.h"
#include "foundation/LxString.h"
#include "model/D_Ovelser.h"
#include "model/D_StaevneDefRaekke.h"
#include "model/D_StaevneSystemData.h"
#include "ui/ovelse/Oversigt.h"

#include <array>
#include <cmath>

namespace {

constexpr int MaxTimer = 23;
constexpr int MaxMinutter = 59;

qint32 RundeField(const TOvelseInfo& info, int fieldNo) {
    return info.OvelseRn().GetField(fieldNo)->GetAsInteger();
}

QString JaNej(bool value) {
    return value ? QStringLiteral("JA") : QStringLiteral("NEJ");
}

// The text of a stored choice; nothing for a value outside the texts.
template <std::size_t N>
QString Choice(const std::array<const char*, N>& texts, qint32 value) {
    if (value < 0 || value >= static_cast<qint32>(N))
        return {};
    return QString::fromUtf8(texts[static_cast<std::size_t>(value)]);
}

Exception NoTid(const QString& text, const QString& why) {
    return Exception(QStringLiteral("Ugyldigt klokkeslæt \"") + text + QStringLiteral("\": ") + why);
}

} // namespace

QStringList StatusPanelCaptions() {
    return {QStringLiteral("Tidspunkt"),  QStringLiteral("Klasse"), QStringLiteral("Øvelse"),
            QStringLiteral("Aktive"),     QStringLiteral("Afbud"),  QStringLiteral("Seedet"),
            QStringLiteral("Resultater"), QStringLiteral("Valgte")};
}

QStringList StatusPanelTexts(const TOvelseInfo& info) {
    return {u' ' + TidText(info),
            info.GetKlasseKode(),
            info.GetOvelseKode() + u' ' + info.GetRunde(),
            IntStr(info.AntalAktiveDeltagere),
            IntStr(info.AntalDeltagere - info.AntalAktiveDeltagere),
            JaNej(info.SeedningFindes),
            JaNej(info.ResultaterFindes)};
}

QString InfoLinie1Text(const TOvelseInfo& info) {
    QString text = QStringLiteral("Antal pr heat: ") + IntStr(RundeField(info, OvelseRnField::AntalPrHeat)) +
                   QStringLiteral(",  Antal til næste runde: ") +
                   IntStr(RundeField(info, OvelseRnField::AntalVidereIalt)) +
                   QStringLiteral(",  Antal placering pr. heat: ") +
                   IntStr(RundeField(info, OvelseRnField::AntalViderePlac));
    if (RundeField(info, OvelseRnField::VidereSeedning) == 1)
        text += QStringLiteral(", Brug SG");
    return text;
}

QString InfoLinie2Text(const TOvelseInfo& info) {
    QString text = QStringLiteral("Resultater sorteres efter: ") +
                   (RundeField(info, OvelseRnField::ResType) != 0 ? QStringLiteral("Bedste tid")
                                                                  : QStringLiteral("Heat"));
    switch (RundeField(info, OvelseRnField::FinaleType)) {
    case 1:
        text += QStringLiteral(", A/B finaler");
        break;
    case 2:
        text += QStringLiteral(", B/A finaer");
        break;
    default:
        break;
    }
    return text;
}

QString InfoLinie3Text(const TOvelseInfo& info) {
    static constexpr std::array<const char*, 5> Heat = {"Bedste resultater først", "Bedste resultater sidst",
                                                        "Fordeling af resultater", "Lodtrækning",
                                                        "DT-seedning"};
    static constexpr std::array<const char*, 8> Bane = {"Bedste resultater først",
                                                        "Bedste resultater sidst",
                                                        "Vifte",
                                                        "Bedste 4 i midten",
                                                        "Lodtrækning",
                                                        "Startnummer",
                                                        "Navn",
                                                        "Klub + navn"};
    static constexpr std::array<const char*, 3> Nummerering = {"Start fra bane 1", "Start fra bane 2",
                                                               "Placer på midterbaner"};
    QString text = QStringLiteral("Heat: ") + Choice(Heat, RundeField(info, OvelseRnField::Heatinddeling)) +
                   QStringLiteral(", Bane: ") + Choice(Bane, RundeField(info, OvelseRnField::Banefordeling));
    if (const QString nummerering = Choice(Nummerering, RundeField(info, OvelseRnField::Banenummerering));
        !nummerering.isEmpty())
        text += QStringLiteral(", ") + nummerering;
    return text;
}

QString InfoLinie4Text(const TOvelseInfo& info) {
    static constexpr std::array<const char*, 4> Vind = {"Standard", "Pr.heat", "Pr.deltager", "Ingen"};
    QString text =
        QStringLiteral("Vindmåling: ") + Choice(Vind, RundeField(info, OvelseRnField::Vindmaaling));
    if (RundeField(info, OvelseRnField::AutoCalcPoint) == 1)
        text += QStringLiteral(", Automatisk point beregning");
    if (const qint32 prHold = RundeField(info, OvelseRnField::AntalPrHold); prHold > 0) {
        text += QStringLiteral(", Antal pr.hold: ") + IntStr(prHold);
        if (RundeField(info, OvelseRnField::HoldPoint) == 1)
            text += QStringLiteral(", Hold point");
    }
    return text;
}

QString VarighedText(int seconds) {
    return QStringLiteral("Tid: ") + IntStr(std::lround(seconds / 60.0));
}

QString GetFullDayName(int ugedag) {
    static constexpr std::array<const char*, 7> Danish = {"Mandag", "Tirsdag", "Onsdag", "Torsdag",
                                                          "Fredag", "Lørdag",  "Søndag"};
    static constexpr std::array<const char*, 7> English = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                                           "Friday", "Saturday", "Sunday"};
    if (ugedag < 1 || ugedag > 7)
        return {};
    const auto day = static_cast<std::size_t>(ugedag - 1);
    return QString::fromUtf8(CurrentSystemData().Engelsk ? English[day] : Danish[day]);
}

int ParseOversigtTid(const QString& text) {
    const QString tid = TrimBlanks(text);
    const QString minutter = tid.right(2);
    const auto digits = [](const QString& part) {
        return std::all_of(part.begin(), part.end(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; });
    };
    if (tid.size() < 2 || !digits(minutter))
        throw NoTid(text, QStringLiteral("skriv timer og minutter som cifre, f.eks. 930 for 09:30"));
    QString timer = tid.left(tid.size() - 2);
    const auto firstOther =
        std::find_if(timer.begin(), timer.end(), [](QChar ch) { return ch < u'0' || ch > u'9'; });
    timer.truncate(static_cast<qsizetype>(firstOther - timer.begin()));
    // More than two hour digits can only be too many hours.
    const int hours = timer.size() > 2 ? MaxTimer + 1 : timer.toInt();
    const int minutes = minutter.toInt();
    if (hours > MaxTimer || minutes > MaxMinutter)
        throw NoTid(text, QStringLiteral("timerne skal være 0-23 og minutterne 0-59"));
    return hours * 60 + minutes;
}

void SetRundeTid(TOvelseInfo& info, int minutes) {
    const double start = CurrentSystemData().Dato;
    const QTime startTid = DateTimeToQTime(start - std::floor(start));
    const QDate dato = DateTimeToQDate(info.GetDato());
    info.OvelseRn()
        .GetField(OvelseRnField::DatoTid)
        ->SetAsFloat(RundeDatoTid(dato, QTime(minutes / 60, minutes % 60),
                                  startTid.isValid() ? startTid : QTime(0, 0)));
}
