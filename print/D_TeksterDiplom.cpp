#include "print/D_TeksterDiplom.h"

#include "foundation/LxString.h"
#include "model/D_Ovelser.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"
#include "print/PrUtil.h"

#include <cmath>
#include <limits>

namespace {

constexpr int MsPerDay = 24 * 60 * 60 * 1000;

} // namespace

QTime MotionsloebTid(qint32 resultat, TDateTime start) {
    const qint64 packed = qint64(resultat) * 100;
    if (packed < 0 || packed > std::numeric_limits<qint32>::max())
        return {};
    const QTime finish = TidToDateTime(static_cast<qint32>(packed));
    if (!finish.isValid())
        return {};
    const double startOfDay = start - std::floor(start);
    qint64 ms = finish.msecsSinceStartOfDay() - std::llround(startOfDay * MsPerDay);
    if (ms < 0)
        ms += MsPerDay;
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms % MsPerDay));
}

QString MotionsloebSpeedText(const QTime& tid, const QString& ovelseText) {
    QString distance;
    for (const QChar c : ovelseText) {
        if (c >= u'0' && c <= u'9')
            distance += c;
        else if (c == u'.' || c == u',')
            distance += u',';
    }
    const double metres = std::nearbyint(CommaStrToFloatDef(distance, 0) * 1000);
    const double speed = CalcKmPerHour(DateTimeToTid(tid), metres);
    if (std::nearbyint(speed) == 0)
        return {};
    return QStringLiteral("Km/time: ") + FloatToStrDec(speed, 1);
}

TDiplomStyle2 DiplomStyle2(const TOvelseInfo& info, qint32 /*nummer*/, qint32 vind, qint32 resultat,
                           const QString& navn2, const QString& navn1) {
    const TSystemData& meet = CurrentSystemData();
    TDiplomStyle2 diplom;
    diplom.Navn1 = navn1;
    diplom.Navn2 = navn2;
    diplom.OvelseText = info.GetOvelseText();
    diplom.TopDistance = meet.DiplomNed1;
    if (meet.Motionsloeb) {
        const QTime tid = MotionsloebTid(resultat, info.GetTid());
        diplom.TidText = tid.isValid() ? tid.toString(QStringLiteral("hh:mm:ss")) : QString();
        if (tid.isValid())
            diplom.SpeedText = MotionsloebSpeedText(tid, diplom.OvelseText);
    } else {
        diplom.TidText = FormatOvelseResultatNoWind(info, resultat);
    }
    if (info.HasVindmaaling())
        diplom.TidText += QStringLiteral(" w:") + FormatVind(vind);
    return diplom;
}

void PrintDiplomStyle2(TPrint& print, double& row, const TDiplomStyle2& diplom) {
    const auto line = [&](TPrintAlignment alignment, const QString& text) {
        print.AddField(TPrintSection::Body, alignment, 0, row, 0, TFieldKind::Text, text);
        row += 1;
    };
    const auto blank = [&] { line(TPrintAlignment::Left, QStringLiteral(" ")); };
    const auto text = [&](const QString& value) { line(TPrintAlignment::CenterMargins, value); };
    TPrintFont& font = print.LineFont();

    blank();
    font.Name = QStringLiteral("Verdana");
    font.Style = PrintFontStyle::Bold;
    font.Size = 24;
    print.GetLine(TPrintSection::Body, std::trunc(row)).SetSpaceBefore(diplom.TopDistance);
    text(diplom.Navn1);
    font.Style = 0;
    text(diplom.Navn2);
    blank();
    font.Size = 48;
    text(diplom.OvelseText);
    font.Size = 24;
    blank();
    font.Size = 30;
    font.Style = PrintFontStyle::Bold;
    text(QStringLiteral("Tid: ") + diplom.TidText);
    font.Style = 0;
    if (!diplom.SpeedText.isEmpty())
        text(diplom.SpeedText);

    print.Print();
    print.ClearSection(TPrintSection::Body);
}

void PrintDiplomStyle2(TPrint& print, double& row, const TOvelseInfo& info, qint32 nummer, qint32 vind,
                       qint32 resultat, const QString& navn2, const QString& navn1) {
    PrintDiplomStyle2(print, row, DiplomStyle2(info, nummer, vind, resultat, navn2, navn1));
}
