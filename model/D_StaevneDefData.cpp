#include "model/D_StaevneDefData.h"

#include "StaevneDefTables.h"
#include "model/D_StdKlasser.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <map>

namespace {

const QString NaturligeFile = QStringLiteral("natural-events.csv");
const QString ProgrammerFile = QStringLiteral("team-league-programmes.csv");

// The data lines of an embedded file, each split at ";": "#" lines are comments, and the first other
// line must be the header. A line whose field count the check refuses is reported and left out.
class TDataFile {
public:
    TDataFile(const QString& name, QStringList& errors)
        : name_(name)
        , errors_(errors) {}

    template <typename Check>
    std::vector<QStringList> Read(const QStringList& header, Check fieldCountOk) {
        const char* text = nullptr;
        for (const EmbeddedFile& file : StaevneDefTables) {
            if (name_ == QLatin1String(file.name))
                text = file.text;
        }
        if (!text) {
            errors_ << name_ + QStringLiteral(": not embedded");
            return {};
        }
        std::vector<QStringList> rows;
        bool headerSeen = false;
        const QStringList lines = QString::fromUtf8(text).split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString line = lines[i].trimmed();
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            const QStringList fields = line.split(u';');
            if (!headerSeen) {
                headerSeen = true;
                if (fields != header) {
                    Error(i + 1, line);
                    return {};
                }
            } else if (!fieldCountOk(fields.size())) {
                Error(i + 1, line);
            } else {
                rows.push_back(fields);
                lineNos_.push_back(i + 1);
            }
        }
        return rows;
    }

    // The file's line number of a row that Read gave.
    qsizetype LineNo(std::size_t row) const { return lineNos_.at(row); }
    void Error(qsizetype lineNo, const QString& text) {
        errors_ << QStringLiteral("%1:%2: %3").arg(name_).arg(lineNo).arg(text);
    }

private:
    QString name_;
    QStringList& errors_;
    std::vector<qsizetype> lineNos_;
};

struct TTables {
    std::array<QStringList, StdKlasseCount> Naturlige;
    std::map<QString, std::vector<THoldProgramPost>> Programmer;
    QStringList Errors;
};

void ReadNaturlige(TTables& tables) {
    TDataFile file(NaturligeFile, tables.Errors);
    const std::vector<QStringList> rows =
        file.Read({QStringLiteral("classes"), QStringLiteral("events")}, [](qsizetype n) { return n >= 2; });
    std::array<bool, StdKlasseCount> seen{};
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const QStringList ovelser = rows[row].mid(1);
        for (const QString& klasse : rows[row].front().split(u' ', Qt::SkipEmptyParts)) {
            const int nr = FindStdKlasse(klasse);
            if (nr < 0 || GetStdKlasseKode(nr) != klasse || seen.at(static_cast<std::size_t>(nr))) {
                file.Error(file.LineNo(row), klasse);
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
    TDataFile file(ProgrammerFile, tables.Errors);
    const QStringList header = {QStringLiteral("table"),  QStringLiteral("event"),
                                QStringLiteral("time"),   QStringLiteral("doubleTime"),
                                QStringLiteral("timed"),  QStringLiteral("perHeat"),
                                QStringLiteral("weight"), QStringLiteral("laneOrder")};
    const std::vector<QStringList> rows = file.Read(header, [&](qsizetype n) { return n == header.size(); });
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const QStringList& f = rows[row];
        THoldProgramPost post{f[1], f[2], f[3], 0, 0, 1, f[7]};
        if (!ReadInt(f[4], post.Tidtagning) || !ReadInt(f[5], post.AntalPrHeat) ||
            !ReadInt(f[6], post.Vaegt)) {
            file.Error(file.LineNo(row), f.join(u';'));
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
