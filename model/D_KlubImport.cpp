#include "model/D_KlubImport.h"

#include "foundation/Exception.h"
#include "foundation/LxString.h"
#include "model/D_Klub.h"
#include "model/D_KlubEdit.h"
#include "model/D_Ovelser.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"

#include <algorithm>
#include <unordered_set>

namespace {

constexpr int FieldCount = 15;
constexpr QChar NonBreakingSpace = QChar(0xA0);
// A failure list longer than this shows the number of the others instead.
constexpr int ShownFejl = 25;
// The birth year and the rank are stored in two bytes.
constexpr qint32 SmallIntMax = 32767;

// Positions of a line.
namespace Pos {
enum : int {
    Startnr,
    Navn,
    Aargang,
    Klasse,
    Ovelse,
    TilmeldtRes,
    PR,
    EA,
    Kode,
    Klub,
    KontaktPerson,
    Adresse1,
    Adresse2,
    Email,
    Telefon
};
}

struct TAldersgruppe {
    QStringView Gruppe;
    QStringView Piger;
    QStringView Drenge;
};
constexpr TAldersgruppe Aldersgrupper[] = {
    {u"U12", u"P12", u"D12"}, {u"U14", u"P14", u"D14"}, {u"U16", u"P16", u"D16"}, {u"16+", u"P18", u"D18"}};

struct TEngelskOvelse {
    QStringView Engelsk;
    QStringView Ovelse;
};
constexpr TEngelskOvelse EngelskeOvelser[] = {{u"HJ", u"HØ"}, {u"LJ", u"LÆ"}, {u"TJ", u"TR"}, {u"SP", u"KU"},
                                              {u"DI", u"DI"}, {u"BA", u"BO"}, {u"SLJ", u"SL"}};

constexpr QStringView Kategorier = u"ABCD";
constexpr QStringView UdenKategori = u"5";

// The text without leading and trailing blanks; the same string, unshared, when it has none.
QString Trimmed(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return begin == 0 && end == text.size() ? text : text.sliced(begin, end - begin);
}

QString Code(const QString& text) {
    return Trimmed(text).toUpper();
}

bool IsBlank(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == u' '; });
}

QString LeadingDigits(QStringView text) {
    qsizetype n = 0;
    while (n < text.size() && text[n].isDigit())
        ++n;
    return text.left(n).toString();
}

bool IsWholeNumber(const QString& text) {
    return !text.isEmpty() && LeadingDigits(text).size() == text.size();
}

// The candidate code of a distance and what follows it; empty when the rest decides nothing.
QString DistanceCode(const QString& digits, QStringView rest) {
    // A relay first: its rest ("X100MSTAFET") may well contain the other markers.
    if (rest.startsWith(u'X'))
        return digits + u'X' + LeadingDigits(rest.mid(1));
    if (rest.contains(u"HÆK") || rest.contains(u'F'))
        return digits + u'H';
    if (rest.contains(u"KAP"))
        return digits + u'G';
    // Metres: "100M", "110MH" for hurdles, "100METER".
    if (rest.startsWith(u'M'))
        return rest.mid(1).startsWith(u'H') ? digits + u'H' : digits;
    return {};
}

bool IsEmpty(const TImportRow& row) {
    return std::all_of(row.cbegin(), row.cend(), IsBlank);
}

// The same athlete: birth year and name, and the start number when both rows have one.
bool SameAthlete(const TImportRow& row, const TImportRow& named) {
    if (Trimmed(row[ImportCol::Aargang]) != Trimmed(named[ImportCol::Aargang]) ||
        row[ImportCol::Navn] != named[ImportCol::Navn])
        return false;
    const QString a = Trimmed(row[ImportCol::Startnr]);
    const QString b = Trimmed(named[ImportCol::Startnr]);
    return a.isEmpty() || b.isEmpty() || a == b;
}

QString ErrorText(const std::exception& error) {
    if (const auto* ovelse = dynamic_cast<const EOvelseManagerError*>(&error))
        return ovelse->Text();
    return MessageOf(error);
}

qint32 SmallInteger(const QString& text, const QString& what) {
    const qint32 value = ParseOvelseInteger(text);
    if (value < 0 || value > SmallIntMax)
        throw Exception(QStringLiteral("%1 skal være et tal fra 0 til %2").arg(what).arg(SmallIntMax));
    return value;
}

// The event rows and marks of a check, each class and event looked up once.
class TEntryCheck {
public:
    explicit TEntryCheck(TOvelseManager& ovelser)
        : ovelser_(ovelser) {}

    void Check(const TImportRow& row, bool redid) {
        const QString klasse = Code(row[ImportCol::Klasse]);
        const QString ovelse = Code(row[ImportCol::Ovelse]);
        if (ovelse.isEmpty())
            return;
        const TOvelseElement* event = EventOf(klasse, ovelse);
        for (const int col : {ImportCol::TilmeldtRes, ImportCol::PR}) {
            if (event && !row[col].isEmpty())
                ParseResultat(event->GetField(OvelseField::Restype)->GetAsInteger(), row[col]);
        }
        if (redid && !row[ImportCol::Kode].isEmpty())
            SmallInteger(row[ImportCol::Kode], QStringLiteral("Kode"));
    }

private:
    // The catalogue's event of the row's event row; raises the event manager's error when the meet has
    // no such event row.
    const TOvelseElement* EventOf(const QString& klasse, const QString& ovelse) {
        const std::pair key(klasse, ovelse);
        if (const auto known = events_.constFind(key); known != events_.cend())
            return *known;
        ovelser_.LocateOvelseRk(klasse, ovelse);
        const TOvelseElement* event = ovelser_.FindOvelse(ovelse);
        events_.insert(key, event);
        return event;
    }

    TOvelseManager& ovelser_;
    QHash<std::pair<QString, QString>, const TOvelseElement*> events_;
};

// The row of a line's positions: marks cleaned unless the meet takes them as typed, the athlete and
// class of the nearest row above for "-" or nothing, and the event normalised with the row's class.
TImportRow MakeRow(const QStringList& f, const TImportSettings& settings, const std::vector<TImportRow>& rows,
                   TOvelseNormaliser& normaliser) {
    TImportRow row;
    row[ImportCol::Startnr] = f[Pos::Startnr];
    row[ImportCol::Navn] = f[Pos::Navn];
    row[ImportCol::Aargang] = f[Pos::Aargang];
    row[ImportCol::Klasse] = f[Pos::Klasse].toUpper();
    row[ImportCol::TilmeldtRes] = settings.VT ? f[Pos::TilmeldtRes] : KunResultat(f[Pos::TilmeldtRes]);
    row[ImportCol::PR] = settings.VT ? f[Pos::PR] : KunResultat(f[Pos::PR]);
    row[ImportCol::EA] = f[Pos::EA].toUpper();
    row[ImportCol::Kode] = f[Pos::Kode].toUpper();
    if (const auto above = std::find_if_not(rows.crbegin(), rows.crend(), IsEmpty); above != rows.crend()) {
        if (row[ImportCol::Navn].isEmpty() || row[ImportCol::Navn] == u"-") {
            row[ImportCol::Navn] = (*above)[ImportCol::Navn];
            row[ImportCol::Aargang] = (*above)[ImportCol::Aargang];
        }
        if (row[ImportCol::Klasse].isEmpty() || row[ImportCol::Klasse] == u"-")
            row[ImportCol::Klasse] = (*above)[ImportCol::Klasse];
    }
    row[ImportCol::Ovelse] = normaliser(f[Pos::Ovelse].toUpper(), row[ImportCol::Klasse]);
    return row;
}

} // namespace

// ---------------------------------------------------------------- reading the lines

TImportSettings ImportSettings(const QString& separator, bool useTab, bool startnummerInkluderet) {
    TImportSettings settings;
    settings.Separator = useTab ? QChar(u'\t') : separator.isEmpty() ? QChar(u';') : separator.at(0);
    settings.StartnummerInkluderet = startnummerInkluderet;
    const TSystemData& data = CurrentSystemData();
    settings.Redid = data.Redid;
    settings.VT = data.VT;
    return settings;
}

QStringList ImportFields(const QString& line, QChar separator, bool startnummerInkluderet) {
    QStringList fields;
    fields.reserve(FieldCount);
    if (!startnummerInkluderet)
        fields.append(QString());
    TCSV csv(line);
    csv.Separators = QString(separator);
    while (fields.size() < FieldCount && !csv.Line.isEmpty()) {
        QString field = csv.NextField();
        field.remove(NonBreakingSpace);
        fields.append(Trimmed(field));
    }
    while (fields.size() < FieldCount)
        fields.append(QString());
    return fields;
}

void KonverterEngelsk(QStringList& fields) {
    for (const int pos : {Pos::Aargang, Pos::Klasse, Pos::Ovelse})
        fields[pos] = fields[pos].toUpper();
    const QString koen = fields[Pos::Aargang];
    if (koen == u"G" || koen == u"B") {
        for (const TAldersgruppe& gruppe : Aldersgrupper) {
            if (fields[Pos::Klasse] == gruppe.Gruppe) {
                fields[Pos::Klasse] = (koen == u"G" ? gruppe.Piger : gruppe.Drenge).toString();
                fields[Pos::Aargang].clear();
                break;
            }
        }
    }
    for (const TEngelskOvelse& ovelse : EngelskeOvelser) {
        if (fields[Pos::Ovelse] == ovelse.Engelsk) {
            fields[Pos::Ovelse] = ovelse.Ovelse.toString();
            break;
        }
    }
    const QString kategori = Code(fields[Pos::TilmeldtRes]);
    const qsizetype rank = kategori.size() == 1 ? Kategorier.indexOf(kategori.at(0)) : -1;
    fields[Pos::Kode] = rank >= 0 ? QString::number(rank + 1) : UdenKategori.toString();
    fields[Pos::TilmeldtRes].clear();
}

QString KunResultat(const QString& text) {
    QString mark = text;
    mark.remove(u' ');
    while (!mark.isEmpty()) {
        const QChar last = mark.back();
        if (last.isDigit() || last == u',' || last == u'.')
            break;
        mark.chop(1);
    }
    return mark;
}

QString NormaliserOvelse(TOvelseManager& ovelser, const QString& ovelse, const QString& klasse) {
    QString text = ovelse.toUpper();
    text.remove(u' ');
    QString code;
    if (!text.isEmpty() && ovelser.FindOvelse(text)) {
        code = text;
    } else {
        const QString digits = LeadingDigits(text);
        if (!digits.isEmpty() && text.size() > digits.size()) {
            const QString candidate = DistanceCode(digits, QStringView(text).mid(digits.size()));
            if (!candidate.isEmpty() && ovelser.FindOvelse(candidate))
                code = candidate;
        }
        if (code.isEmpty() && !text.isEmpty() && !IsWholeNumber(text) && ovelser.FindOvelse(text.left(2)))
            code = text.left(2);
    }
    if (!code.isEmpty() && ovelser.FindOvelseRk(klasse, code))
        return code;
    return ovelse;
}

QString TOvelseNormaliser::operator()(const QString& ovelse, const QString& klasse) {
    const std::pair key(klasse, ovelse);
    if (const auto known = known_.constFind(key); known != known_.cend())
        return *known;
    const QString code = NormaliserOvelse(ovelser_, ovelse, klasse);
    known_.insert(key, code);
    return code;
}

TImportData FortolkCSVData(const QString& text, const TImportSettings& settings, TOvelseManager& ovelser) {
    TImportData data;
    // One line at a time: a long list is never held twice.
    QStringView rest(text);
    if (rest.endsWith(u'\n'))
        rest.chop(1);
    data.Rows.reserve(static_cast<std::size_t>(rest.count(u'\n') + 1));
    TOvelseNormaliser normaliser(ovelser);
    try {
        while (!text.isEmpty()) {
            const qsizetype end = rest.indexOf(u'\n');
            QStringView line = end < 0 ? rest : rest.first(end);
            if (line.endsWith(u'\r'))
                line.chop(1);
            QStringList f = ImportFields(line.toString(), settings.Separator, settings.StartnummerInkluderet);
            const bool first = data.Rows.empty();
            // An empty line stays an empty row, which the check removes.
            if (std::all_of(f.cbegin(), f.cend(), [](const QString& field) { return field.isEmpty(); })) {
                data.Rows.emplace_back();
            } else {
                if (settings.Redid)
                    KonverterEngelsk(f);
                if (first)
                    data.Klub = {f[Pos::Klub],     f[Pos::KontaktPerson], f[Pos::Adresse1],
                                 f[Pos::Adresse2], f[Pos::Email],         f[Pos::Telefon]};
                data.Rows.push_back(MakeRow(f, settings, data.Rows, normaliser));
            }
            if (end < 0)
                break;
            rest = rest.sliced(end + 1);
        }
    } catch (const std::exception& error) {
        data.Error = QStringLiteral("Error in FortolkCSVData: ") + MessageOf(error);
    }
    if (data.Rows.empty())
        data.Rows.emplace_back();
    return data;
}

// ---------------------------------------------------------------- the check

QString FejlText(const TImportFejl& fejl) {
    return QStringLiteral("Fejl i linie ") + QString::number(fejl.Row) + QStringLiteral(", ") + fejl.Text;
}

QString FejlListe(const std::vector<TImportFejl>& fejl) {
    QStringList lines;
    for (const TImportFejl& one : fejl) {
        if (lines.size() == ShownFejl) {
            lines.append(QStringLiteral("... og %1 linier mere").arg(fejl.size() - ShownFejl));
            break;
        }
        lines.append(FejlText(one));
    }
    return lines.join(CrLf);
}

TImportKontrol AutoKontrol(std::vector<TImportRow>& rows, TOvelseManager& ovelser, bool redid,
                           const TImportKlub& klub) {
    TImportKontrol result;
    if (rows.size() > 1) {
        std::erase_if(rows, IsEmpty);
        if (rows.empty())
            rows.emplace_back();
        const TImportRow* named = nullptr;
        for (TImportRow& row : rows) {
            if (row[ImportCol::Navn].isEmpty() && named) {
                row[ImportCol::Navn] = (*named)[ImportCol::Navn];
                row[ImportCol::Aargang] = (*named)[ImportCol::Aargang];
            }
            // Compared with the athlete's first row: a third row is no new athlete either.
            if (named && SameAthlete(row, *named)) {
                row[ImportCol::Navn].clear();
                row[ImportCol::Aargang].clear();
            } else if (!row[ImportCol::Navn].isEmpty()) {
                named = &row;
            }
        }
    }
    result.Markers.assign(rows.size(), ImportRowOk);
    if (rows.size() == 1 && IsEmpty(rows.front()))
        return result;
    result.Checked = true;
    try {
        for (const QString* text :
             {&klub.Navn, &klub.KontaktPerson, &klub.Adresse1, &klub.Adresse2, &klub.Email, &klub.Telefon})
            CheckStoredText(*text);
    } catch (const std::exception& error) {
        result.Fejl.push_back({1, ErrorText(error)});
    }

    TEntryCheck entries(ovelser);
    int athleteRow = 0; // the row of the athlete the rows belong to; 0 before the first
    bool athleteFailed = false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TImportRow& row = rows[i];
        const int number = static_cast<int>(i) + 1;
        const bool hasName = !row[ImportCol::Navn].isEmpty();
        try {
            if (hasName) {
                athleteRow = number;
                athleteFailed = false;
            }
            // Refused whole, as a registration file's line is.
            for (const QString& text : row)
                CheckStoredText(text);
            if (hasName) {
                if (!row[ImportCol::Startnr].isEmpty())
                    ParseStartnummer(row[ImportCol::Startnr]);
                if (!row[ImportCol::Aargang].isEmpty())
                    SmallInteger(row[ImportCol::Aargang], QStringLiteral("Årgang"));
            } else if (athleteRow == 0) {
                throw Exception(QStringLiteral("der er ikke angivet et navn"));
            } else if (athleteFailed) {
                throw Exception(QStringLiteral("deltageren i linie %1 har fejl").arg(athleteRow));
            }
            entries.Check(row, redid);
        } catch (const std::exception& error) {
            result.Markers[i] = ImportRowFejl;
            result.Fejl.push_back({number, ErrorText(error)});
            if (hasName)
                athleteFailed = true;
        }
    }
    return result;
}

// ---------------------------------------------------------------- the update

namespace {

// Makes the participants and entries of the import's rows, one row at a time.
class TImportUpdate {
public:
    TImportUpdate(TKlubManager& klubber, TOvelseManager& ovelser, bool redid)
        : klubber_(klubber)
        , ovelser_(ovelser)
        , redid_(redid)
        , next_(klubber.GetNextStartnummer()) {}

    // A row with a name: a new participant, and its entry.
    TDeltagerElement& Deltager(const TImportRow& row) {
        const QString typed = TrimBlanks(row[ImportCol::Startnr]);
        const qint32 startnummer = typed.isEmpty() ? NextStartnummer() : ParseStartnummer(typed);
        klubber_.CheckStartnummer(startnummer, nullptr);
        TDeltagerElement& deltager = klubber_.GetDeltager(klubber_.NewDeltager());
        try {
            klubber_.ChangeStartnummer(deltager, startnummer);
            given_.insert(startnummer);
            SetDeltagerText(deltager, DeltagerField::Navn, row[ImportCol::Navn]);
            if (!row[ImportCol::Aargang].isEmpty())
                SetDeltagerText(deltager, DeltagerField::Aargang, row[ImportCol::Aargang]);
            Entry(deltager, row);
        } catch (...) {
            klubber_.DeleteDeltager(deltager);
            throw;
        }
        return deltager;
    }

    // The row's entry for the participant, when it names a class and an event; true when it made one.
    bool Entry(const TDeltagerElement& deltager, const TImportRow& row) {
        const QString klasse = row[ImportCol::Klasse];
        const QString ovelse = row[ImportCol::Ovelse];
        if (TrimBlanks(klasse).isEmpty() || TrimBlanks(ovelse).isEmpty())
            return false;
        const qint32 startnummer = deltager.GetField(DeltagerField::Startnummer)->GetAsInteger();
        TResultatElement& resultat = NewEntry(klubber_, ovelser_, startnummer, klasse, ovelse);
        try {
            const std::pair<int, int> fields[] = {
                {ImportCol::TilmeldtRes, ResultatField::Seedning},
                {ImportCol::PR, ResultatField::PersonligRekord},
                {ImportCol::EA, ResultatField::Efteranmeldelse},
                {ImportCol::Kode, redid_ ? ResultatField::Rank : ResultatField::ResultatKode}};
            for (const auto& [col, fieldNo] : fields) {
                if (!row[col].isEmpty())
                    SetEntryText(ovelser_, resultat, fieldNo, row[col]);
            }
        } catch (...) {
            klubber_.MarkDeleted(resultat);
            throw;
        }
        ++entries_;
        return true;
    }

    int Entries() const { return entries_; }

private:
    // The next free number, past those this import gave by hand.
    qint32 NextStartnummer() {
        while (given_.contains(next_))
            ++next_;
        return next_++;
    }

    TKlubManager& klubber_;
    TOvelseManager& ovelser_;
    const bool redid_;
    qint32 next_;
    std::unordered_set<qint32> given_;
    int entries_ = 0;
};

} // namespace

TImportResultat AutoOpdDeltagere(TKlubManager& klubber, TOvelseManager& ovelser,
                                 const std::vector<TImportRow>& rows, std::vector<int>& markers, bool redid) {
    TImportResultat result;
    markers.resize(rows.size(), ImportRowOk);
    TImportUpdate update(klubber, ovelser, redid);
    const TDeltagerElement* athlete = nullptr;
    int athleteRow = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TImportRow& row = rows[i];
        const int number = static_cast<int>(i) + 1;
        const bool hasName = !TrimBlanks(row[ImportCol::Navn]).isEmpty();
        if (hasName) {
            athlete = nullptr;
            athleteRow = number;
        }
        if (markers[i] != ImportRowOk || IsEmpty(row))
            continue;
        try {
            if (hasName) {
                athlete = &update.Deltager(row);
                ++result.Deltagere;
            } else if (athlete) {
                update.Entry(*athlete, row);
            } else {
                throw Exception(athleteRow == 0
                                    ? QStringLiteral("der er ikke angivet et navn")
                                    : QStringLiteral("deltageren i linie %1 har fejl").arg(athleteRow));
            }
        } catch (const std::exception& error) {
            markers[i] = ImportRowFejl;
            result.Fejl.push_back({number, ErrorText(error)});
        }
    }
    result.Tilmeldinger = update.Entries();
    return result;
}

TKlubElement* FindKlubByNavn(TKlubManager& klubber, const QString& navn) {
    const QString wanted = Code(navn);
    TKlubList& list = klubber.KlubList();
    // Looked up without moving the current club: the dialog saves its edits into that one.
    for (int raw = 0; raw < list.GetCount(); ++raw) {
        auto* klub = static_cast<TKlubElement*>(list.GetRawElement(raw));
        if (!klub->DeleteRequested && !klub->Deleted &&
            Code(klub->GetTrimmedString(KlubField::Navn)) == wanted)
            return klub;
    }
    return nullptr;
}
