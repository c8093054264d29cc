// Reading attempt-series files into a round's rows.
#include "model/D_ResultSerieFil.h"

#include "foundation/Exception.h"
#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"

#include <QFile>

#include <algorithm>
#include <optional>

namespace {

bool IsSeparatorBlank(QChar c) {
    return c.unicode() <= u' ';
}

// A line cut as a comma text: fields separated by commas or blanks, a double-quoted field may hold
// either ("" standing for one quote), a comma at the end giving one more empty field.
QStringList SplitCommaText(const QString& line) {
    QStringList fields;
    qsizetype at = 0;
    const qsizetype end = line.size();
    while (at < end && IsSeparatorBlank(line.at(at)))
        ++at;
    while (at < end) {
        QString field;
        if (line.at(at) == u'"') {
            ++at;
            while (at < end) {
                if (line.at(at) == u'"') {
                    if (at + 1 < end && line.at(at + 1) == u'"') {
                        field += u'"';
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                field += line.at(at++);
            }
        } else {
            const qsizetype start = at;
            while (at < end && !IsSeparatorBlank(line.at(at)) && line.at(at) != u',')
                ++at;
            field = line.mid(start, at - start);
        }
        fields << field;
        while (at < end && IsSeparatorBlank(line.at(at)))
            ++at;
        if (at < end && line.at(at) == u',') {
            if (at + 1 == end)
                fields << QString();
            ++at;
            while (at < end && IsSeparatorBlank(line.at(at)))
                ++at;
        }
    }
    return fields;
}

// The file's O, X and - as the program's +, - and *.
QString VertikalSymbols(const QString& line) {
    QString converted = line;
    for (QChar& c : converted) {
        if (c == u'-')
            c = u'*';
        else if (c == u'X' || c == u'x')
            c = u'-';
        else if (c == u'O' || c == u'o')
            c = u'+';
    }
    return converted;
}

bool OnlyTries(const QString& field) {
    return !field.isEmpty() && std::all_of(field.begin(), field.end(),
                                           [](QChar c) { return c == u'+' || c == u'-' || c == u'*'; });
}

// The height of attempt index: the row's own, else the first row's that has one.
std::optional<TSerie> KnownHeight(const TResultatManager& manager, const TResultat& row, int index) {
    const auto heightOf = [index](const TResultat& r) -> std::optional<TSerie> {
        const TSerie* serie = r.GetSerie(index);
        if (serie && serie->IsMark())
            return *serie;
        return std::nullopt;
    };
    if (auto own = heightOf(row))
        return own;
    for (int i = 0; i < manager.Count(); ++i) {
        if (auto other = heightOf(*manager.GetResultat(i)))
            return other;
    }
    return std::nullopt;
}

} // namespace

QString ResultatSerieFilNavn(const TOvelseInfo& info) {
    const TOvelseRnElement& runde = info.OvelseRn();
    const QString rundeDel = info.GetRundeNr() == 1 ? QStringLiteral("-0") : info.GetRunde();
    return QStringLiteral("EVENT-") + runde.GetTrimmedString(OvelseRnField::Klasse) + u'-' +
           runde.GetTrimmedString(OvelseRnField::Ovelse) + u'-' + rundeDel + QStringLiteral(".CSV");
}

QString ResultatSerieFilSti(const TOvelseInfo& info) {
    return PathJoin(CurrentSystemData().CsvLoadFilePath, ResultatSerieFilNavn(info));
}

QStringList ReadResultatSerieFil(TResultatManager& manager, const QString& path) {
    const QString resolved = ResolvePath(path);
    QFile file(resolved);
    if (resolved.isEmpty() || !file.exists())
        throw Exception(QStringLiteral("Findes ikke: ") + (resolved.isEmpty() ? path : resolved));
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Kan ikke læse ") + resolved + QStringLiteral(": ") +
                        file.errorString());
    const TOvelseInfo* info = manager.OvelseInfo();
    const bool vertikal = info && info->Ovelse().IsVertikalSpringOvelse();
    QStringList messages;
    QStringList forMange;
    const QStringList lines = Windows1252::Decode(file.readAll()).split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        line.replace(u';', u',');
        if (vertikal)
            line = VertikalSymbols(line);
        const QStringList fields = SplitCommaText(line);
        if (fields.size() < 2)
            continue;
        bool ok = false;
        qint32 startnummer = TrimBlanks(fields.at(0)).toInt(&ok);
        if (!ok)
            startnummer = -1;
        const int index = manager.IndexOfStartnummer(startnummer);
        if (index < 0)
            continue;
        TResultat& row = *manager.GetResultat(index);
        if (fields.size() - 1 > SerieFilForsog)
            forMange << IntStr(startnummer);
        const int forsog = std::min<int>(static_cast<int>(fields.size()) - 1, SerieFilForsog);
        for (int n = 1; n <= forsog; ++n) {
            QString field = fields.at(n);
            field.replace(u':', u',');
            // In vertical jumps a lone "-" is a failure (the file's X); elsewhere it is a pass.
            if (!vertikal && field == u"-")
                field = QStringLiteral("*");
            const auto failed = [&](const QString& why) {
                messages << QStringLiteral("Startnummer %1, forsøg %2: %3").arg(startnummer).arg(n).arg(why);
            };
            if (const QString kode = ParseResKode(TrimBlanks(field)); !kode.isEmpty()) {
                row.SetRK(kode);
                continue;
            }
            if (vertikal && OnlyTries(TrimBlanks(field))) {
                const std::optional<TSerie> height = KnownHeight(manager, row, n - 1);
                if (!height) {
                    failed(QStringLiteral("ingen højde at sætte forsøgene på"));
                    continue;
                }
                field = (height->SerieNr > 0 ? IntStr(height->SerieNr) + u':' : QString()) +
                        IntStr(height->Value) + u',' + TrimBlanks(field);
            }
            if (const std::optional<QString> error = [&]() -> std::optional<QString> {
                    try {
                        row.SetSerieText(n - 1, field);
                    } catch (const Exception& e) {
                        return e.Message();
                    }
                    return std::nullopt;
                }())
                failed(*error);
        }
    }
    if (!forMange.isEmpty())
        messages.prepend(
            QStringLiteral("Højst %1 forsøg læses; flere er ikke læst for startnummer ").arg(SerieFilForsog) +
            forMange.join(QStringLiteral(", ")));
    return messages;
}
