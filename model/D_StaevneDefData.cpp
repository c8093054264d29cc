#include "model/D_StaevneDefData.h"

#include "StaevneDefTables.h"
#include "model/D_BuiltinData.h"
#include "model/D_StdKlasser.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <functional>
#include <map>

namespace {

const QString NaturligeFile = QStringLiteral("natural-events.csv");
const QString ProgrammerFile = QStringLiteral("team-league-programmes.csv");

// The records of one of the wizard's embedded files.
std::vector<TBuiltinRow> Read(const QString& name, const QStringList& header,
                              const std::function<bool(qsizetype)>& fieldCountOk, QStringList& errors) {
    const char* text = nullptr;
    for (const EmbeddedFile& file : StaevneDefTables) {
        if (name == QLatin1String(file.name))
            text = file.text;
    }
    return ReadBuiltinData(name, text, header, fieldCountOk, errors);
}

struct TTables {
    std::array<QStringList, StdKlasseCount> Naturlige;
    std::map<QString, std::vector<THoldProgramPost>> Programmer;
    QStringList Errors;
};

void ReadNaturlige(TTables& tables) {
    const std::vector<TBuiltinRow> rows = Read(
        NaturligeFile, {QStringLiteral("classes"), QStringLiteral("events")},
        [](qsizetype n) { return n >= 2; }, tables.Errors);
    std::array<bool, StdKlasseCount> seen{};
    for (const TBuiltinRow& row : rows) {
        const QStringList ovelser = row.fields.mid(1);
        for (const QString& klasse : row.fields.front().split(u' ', Qt::SkipEmptyParts)) {
            const int nr = FindStdKlasse(klasse);
            if (nr < 0 || GetStdKlasseKode(nr) != klasse || seen.at(static_cast<std::size_t>(nr))) {
                tables.Errors << BuiltinDataError(NaturligeFile, row.line, klasse);
                continue;
            }
            seen.at(static_cast<std::size_t>(nr)) = true;
            tables.Naturlige.at(static_cast<std::size_t>(nr)) = ovelser;
        }
    }
}

bool ReadInt(const QString& text, int& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

void ReadProgrammer(TTables& tables) {
    const QStringList header = {QStringLiteral("table"),  QStringLiteral("event"),
                                QStringLiteral("time"),   QStringLiteral("doubleTime"),
                                QStringLiteral("timed"),  QStringLiteral("perHeat"),
                                QStringLiteral("weight"), QStringLiteral("laneOrder")};
    const std::vector<TBuiltinRow> rows = Read(
        ProgrammerFile, header, [&](qsizetype n) { return n == header.size(); }, tables.Errors);
    for (const TBuiltinRow& row : rows) {
        const QStringList& f = row.fields;
        THoldProgramPost post{f[1], f[2], f[3], 0, 0, 1, f[7]};
        if (!ReadInt(f[4], post.Tidtagning) || !ReadInt(f[5], post.AntalPrHeat) ||
            !ReadInt(f[6], post.Vaegt)) {
            tables.Errors << BuiltinDataError(ProgrammerFile, row.line, f.join(u';'));
            continue;
        }
        tables.Programmer[f[0]].push_back(post);
    }
}

const TTables& Tables() {
    static const TTables tables = [] {
        TTables read;
        ReadNaturlige(read);
        ReadProgrammer(read);
        return read;
    }();
    return tables;
}

THoldProgram Program(const char* name) {
    const auto& programmer = Tables().Programmer;
    const auto found = programmer.find(QLatin1String(name));
    return found == programmer.end() ? THoldProgram() : THoldProgram(found->second);
}

} // namespace

TOvelseKode SplitOvelseKode(const QString& entry) {
    const qsizetype comma = entry.indexOf(u',');
    if (comma < 0)
        return {entry, {}};
    return {entry.left(comma), entry.mid(comma + 1)};
}

const QStringList& NaturligeOvelser(int klasseNr) {
    static const QStringList none;
    if (klasseNr < 0 || klasseNr >= StdKlasseCount)
        return none;
    return Tables().Naturlige.at(static_cast<std::size_t>(klasseNr));
}

QStringList FaellesNaturligeOvelser(const std::vector<int>& klasser) {
    if (klasser.empty())
        return {};
    QStringList faelles = NaturligeOvelser(klasser.front());
    for (auto klasse = klasser.begin() + 1; klasse != klasser.end() && !faelles.isEmpty(); ++klasse) {
        const QStringList& andre = NaturligeOvelser(*klasse);
        const QSet<QString> har(andre.begin(), andre.end());
        faelles.removeIf([&har](const QString& entry) { return !har.contains(entry); });
    }
    return faelles;
}

THoldProgram DTProgram(bool maend, int division, bool indledende) {
    if (division < DTEliteDivision || division >= DTDivisionCount)
        return {};
    if (division == DTEliteDivision) {
        if (maend)
            return Program(indledende ? "DTMaendEliteIndledende" : "DTMaendEliteFinale");
        return Program(indledende ? "DTKvinderEliteIndledende" : "DTKvinderEliteFinale");
    }
    if (division == 1)
        return Program(maend ? "DTMaend1Division" : "DTKvinder1Division");
    if (division == 2)
        return Program(maend ? "DTMaend2Division" : "DTKvinder2Division");
    if (!maend)
        return Program("DTKvinder3Division");
    return Program(division == 3 ? "DTMaend3Division" : "DTMaend4Division");
}

THoldProgram VTProgram(bool maend) {
    return Program(maend ? "VTMaend" : "VTKvinder");
}

THoldProgram LTUProgram(const QString& klasse) {
    for (const char* ltu : {"D15", "P15", "D19", "P19"}) {
        if (klasse == QLatin1String(ltu))
            return Program((std::string("LTU") + ltu).c_str());
    }
    return {};
}

bool HarDobbeltTider(THoldProgram program) {
    return std::any_of(program.begin(), program.end(),
                       [](const THoldProgramPost& post) { return !post.DobbeltTid.isEmpty(); });
}

TDateTime HoldProgramTid(const QString& tid) {
    const QStringList parts = tid.split(u':');
    bool hoursOk = false;
    bool minutesOk = false;
    const int hours = parts.size() == 2 ? parts[0].toInt(&hoursOk) : 0;
    const int minutes = parts.size() == 2 ? parts[1].toInt(&minutesOk) : 0;
    if (!hoursOk || !minutesOk || hours < 0 || minutes < 0 || minutes > 59)
        return 0;
    return (hours * 60 + minutes) / (24.0 * 60.0);
}

QString HoldBaneFordeling(const QString& baneraekkefoelge) {
    int lanes = 0;
    for (const QChar c : baneraekkefoelge) {
        if (c.isDigit())
            lanes = std::max(lanes, c.digitValue());
    }
    return baneraekkefoelge.left(lanes);
}

const QStringList& StaevneDefDataErrors() {
    return Tables().Errors;
}
