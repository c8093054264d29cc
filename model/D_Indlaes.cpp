#include "model/D_Indlaes.h"

#include "foundation/Exception.h"
#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"
#include "model/D_Globals.h"
#include "model/D_Klub.h"
#include "model/D_KlubEdit.h"
#include "model/D_Ovelser.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"
#include "storage/BtvTransaction.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>

#include <array>
#include <limits>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace {

// ---------------------------------------------------------------- the files' forms

// ".\Deltagere.csv": the line padded to this many fields; the fields up to the class are needed.
constexpr int DeltagereFieldCount = 21;
constexpr int DeltagereMinFields = 8;
namespace DeltagereCol {
enum : int { Startnummer, Navn, Aargang, Koen, Ovelse, Seedning, Klub, Klasse, Status, PersonligRekord };
}

// ".\tilmeldinger.csv".
constexpr int TilmeldingerMinFields = 6;
namespace TilmeldingerCol {
enum : int { Startnummer, Navn, Klub, Klasse, Ovelse, Hold };
}
const QString StafetMark = QStringLiteral("R");
// Teams are lettered A to Z behind the club's name: " - A".
constexpr int MaxStafetHold = 26;
const QString HoldSeparator = QStringLiteral(" - ");

constexpr int ResultatStartnummerKey = 1;
constexpr char Utf8Bom[] = "\xEF\xBB\xBF";

struct TOvelseNavn {
    QStringView Navn;
    QStringView Ovelse;
};
constexpr std::array<TOvelseNavn, 29> OvelseNavne = {{
    {u"40m", u"40"},
    {u"60m", u"60"},
    {u"80m", u"80"},
    {u"100m", u"100"},
    {u"200m", u"200"},
    {u"300m", u"300"},
    {u"400m", u"400"},
    {u"600m", u"600"},
    {u"800m", u"800"},
    {u"1000m", u"1000"},
    {u"1500m", u"1500"},
    {u"3000m", u"3000"},
    {u"60m hæk", u"60H"},
    {u"80m hæk", u"80H"},
    {u"100m hæk", u"100H"},
    {u"110m hæk", u"110H"},
    {u"300m hæk", u"300H"},
    {u"400m hæk", u"400H"},
    {u"2000m forh.", u"2000H"},
    {u"3000m forh.", u"3000H"},
    {u"højde", u"HØ"},
    {u"stang", u"ST"},
    {u"længde", u"LÆ"},
    {u"trespring", u"TR"},
    {u"kugle", u"KU"},
    {u"diskos", u"DI"},
    {u"hammer", u"HA"},
    {u"spyd", u"SP"},
    {u"bold", u"BO"},
}};

constexpr std::array<QStringView, 10> FieldEventOvelser = {u"LÆ", u"HØ", u"ST", u"TR", u"KU",
                                                           u"DI", u"HA", u"SP", u"BO", u"VÆ"};

// The result type of a mark read as a field event's, and as a time.
constexpr qint32 FieldEventRestype = 3;
constexpr qint32 TimeRestype = 1;

qint32 IntegerOr0(const QString& text) {
    bool ok = false;
    const qint32 value = text.toInt(&ok);
    return ok ? value : 0;
}

// A mark as written in the files: only its digits, "," and "."; "0" when nothing is left.
QString MarkDigits(const QString& text) {
    QString digits;
    for (const QChar c : text)
        if (c.isDigit() || c == u',' || c == u'.')
            digits += c;
    return digits.isEmpty() ? QStringLiteral("0") : digits;
}

// An integer of a mark field (a veteran team league's rank and personal record), within limit.
qint32 MarkInteger(const QString& text, qint32 limit) {
    const QString digits = MarkDigits(text);
    bool ok = false;
    const qint32 value = digits.toInt(&ok);
    if (!ok || value > limit)
        throw EConvertError(QStringLiteral("\"%1\" er ikke et gyldigt tal").arg(text));
    return value;
}

QString StartnummerText(qint32 startnummer) {
    return QString::number(startnummer);
}

QString KlasseOvelseText(const QString& klasse, const QString& ovelse) {
    return QStringLiteral("Klasse: ") + klasse + QStringLiteral(", Øvelse: ") + ovelse;
}

// ---------------------------------------------------------------- the meet

// The open meet as an import sees it: its clubs and participants loaded, the entries of a stored
// participant read when first asked for, and everything written in one transaction when saved. Codes
// are found through maps of its own, kept as it makes elements.
class TImportTarget {
public:
    explicit TImportTarget(TIndlaesRapport& rapport)
        : rapport_(rapport) {
        if (CurrentStID() < 0 || !OvelseManager)
            throw Exception(QStringLiteral("Der er intet stævne åbent"));
        TDeltagerList& deltagere = klubber_.DeltagerList();
        deltagere.LoadFromTable();
        for (int raw = 0; raw < deltagere.GetCount(); ++raw) {
            auto* deltager = static_cast<TDeltagerElement*>(deltagere.GetRawElement(raw));
            const qint32 startnummer = deltager->GetField(DeltagerField::Startnummer)->GetAsInteger();
            deltagere_.insert(startnummer, deltager);
            stored_.insert(startnummer);
        }
    }

    // Room for the participants and entries of that many lines.
    void Reserve(qsizetype lines) {
        deltagere_.reserve(deltagere_.size() + lines);
        tilmeldinger_.reserve(tilmeldinger_.size() + lines);
    }

    // Stores every change; raises when not all could be, and then nothing of them stays.
    void Save() {
        if (!klubber_.SaveAll())
            throw Exception(QStringLiteral("Indlæsningen kunne ikke gemmes, og intet af filen er gemt"));
        transaction_.Commit();
    }

    bool HasOvelseRk(const QString& klasse, const QString& ovelse) const {
        return OvelseManager->FindOvelseRk(klasse, ovelse) != nullptr;
    }

    // ---- clubs
    TKlubElement* FindKlub(const QString& navn) {
        return static_cast<TKlubElement*>(klubber_.KlubList().FindCodes({KlubField::Navn}, {navn}));
    }
    TKlubElement& NewKlub(const QString& navn) {
        TKlubElement& klub = klubber_.NewKlub();
        klub.GetField(KlubField::Navn)->SetAsString(navn);
        ++rapport_.NyeKlubber;
        return klub;
    }
    static qint32 KlubNr(const TDataElement& element, int fieldNo) {
        return element.GetField(fieldNo)->GetAsInteger();
    }
    // The name of the club with the number; the number itself when there is none.
    QString KlubNavn(qint32 klubNr) {
        const TDataElement* klub =
            klubber_.KlubList().FindCodes({KlubField::KlubNr}, {QString::number(klubNr)});
        return klub != nullptr ? klub->GetTrimmedString(KlubField::Navn) : QString::number(klubNr);
    }

    // ---- participants
    TDeltagerElement* FindDeltager(qint32 startnummer) const { return deltagere_.value(startnummer); }
    TDeltagerElement* FindDeltagerByNavn(qint32 klubNr, const QString& navn) {
        return static_cast<TDeltagerElement*>(klubber_.DeltagerList().FindCodes(
            {DeltagerField::KlubNr, DeltagerField::Navn}, {QString::number(klubNr), navn}));
    }
    TDeltagerElement& NewDeltager(qint32 klubNr, qint32 startnummer) {
        TDeltagerElement& deltager = klubber_.GetDeltager(klubber_.NewDeltager());
        deltager.GetField(DeltagerField::KlubNr)->SetAsInteger(klubNr);
        deltager.GetField(DeltagerField::Startnummer)->SetAsInteger(startnummer);
        deltagere_.insert(startnummer, &deltager);
        ++rapport_.NyeDeltagere;
        return deltager;
    }
    // The participant with the start number belongs to another club than klubNr (-1: a club not yet
    // made): the problem text for the line; empty when the number is free or the club's own.
    QString OtherKlubProblem(const TDeltagerElement* deltager, qint32 klubNr, const QString& line) {
        if (deltager == nullptr || KlubNr(*deltager, DeltagerField::KlubNr) == klubNr)
            return {};
        return QStringLiteral("Startnummer ") + deltager->GetTrimmedString(DeltagerField::Startnummer) +
               QStringLiteral(" er allerede brugt i klubben ") +
               KlubNavn(KlubNr(*deltager, DeltagerField::KlubNr)) + QStringLiteral(": ") + line;
    }

    // ---- entries: the start number's records without a round letter
    TResultatElement* FindTilmelding(qint32 startnummer, const QString& klasse, const QString& ovelse) {
        LoadTilmeldinger(startnummer);
        return tilmeldinger_.value(TilmeldingKey(startnummer, klasse, ovelse));
    }
    TResultatElement& NewTilmelding(qint32 startnummer, const QString& klasse, const QString& ovelse) {
        TResultatElement& tilmelding = klubber_.GetResultat(klubber_.NewResultat());
        tilmelding.GetField(ResultatField::Klasse)->SetAsString(klasse);
        tilmelding.GetField(ResultatField::Ovelse)->SetAsString(ovelse);
        tilmelding.GetField(ResultatField::Runde)->SetAsString(QString());
        tilmelding.GetField(ResultatField::Startnummer)->SetAsInteger(startnummer);
        tilmeldinger_.insert(TilmeldingKey(startnummer, klasse, ovelse), &tilmelding);
        ++rapport_.NyeTilmeldinger;
        return tilmelding;
    }

private:
    // The entries of a participant made in this import are all in the list already.
    void LoadTilmeldinger(qint32 startnummer) {
        if (!stored_.contains(startnummer) || !read_.insert(startnummer).second)
            return;
        TResultatList& list = klubber_.ResultatList();
        auto& table = static_cast<TZunoDataTable&>(list.Table());
        for (bool found = table.FindStaevneKey(ResultatStartnummerKey, {startnummer}); found;
             found = table.NextStaevneKey()) {
            auto* resultat = static_cast<TResultatElement*>(list.GetRawElement(list.AddCurrent()));
            if (!resultat->GetTrimmedString(ResultatField::Runde).isEmpty())
                continue;
            const qint64 key = TilmeldingKey(startnummer, resultat->GetTrimmedString(ResultatField::Klasse),
                                             resultat->GetTrimmedString(ResultatField::Ovelse));
            if (!tilmeldinger_.contains(key))
                tilmeldinger_.insert(key, resultat);
        }
    }
    // The start number and the class and event, compared trimmed and upper-cased, as one number: the
    // pairs of class and event are few and numbered as they come.
    qint64 TilmeldingKey(qint32 startnummer, const QString& klasse, const QString& ovelse) {
        const QString pair = TrimBlanks(klasse).toUpper() + u'/' + TrimBlanks(ovelse).toUpper();
        const qint64 pairNo =
            pairNumbers_.try_emplace(pair, static_cast<qint64>(pairNumbers_.size())).first->second;
        return (pairNo << 32) | static_cast<quint32>(startnummer);
    }

    TIndlaesRapport& rapport_;
    TKlubManager klubber_{AlleKlubber};
    // Declared after the manager: a transaction not committed is aborted before its tables close.
    TBtvTransaction transaction_;
    // The participants by start number, and the entries (records without a round letter) loaded or
    // made, by TilmeldingKey.
    QHash<qint32, TDeltagerElement*> deltagere_;
    QHash<qint64, TResultatElement*> tilmeldinger_;
    std::unordered_map<QString, qint64> pairNumbers_;
    // The start numbers of the meet's stored participants, and those whose stored entries are loaded.
    std::unordered_set<qint32> stored_;
    std::unordered_set<qint32> read_;
};

// ---------------------------------------------------------------- the imports

class TImport {
public:
    explicit TImport(TIndlaesRapport& rapport)
        : rapport_(rapport)
        , meet_(rapport) {}

    void Save() { meet_.Save(); }
    void Reserve(qsizetype lines) { meet_.Reserve(lines); }

protected:
    void Report(int lineNo, const QString& problem) {
        rapport_.Problemer << problem + QStringLiteral(", line = ") + QString::number(lineNo);
    }
    // The line's fields, at least minFields of them; empty (the line reported) when it has fewer, a
    // malformed field, or a character the record files cannot hold (it would be stored as '?').
    std::optional<QStringList> Fields(int lineNo, const QString& line, int minFields) {
        try {
            CheckStoredText(line);
        } catch (const Exception& bad) {
            Report(lineNo, bad.Message());
            return std::nullopt;
        }
        QStringList fields;
        if (!SplitRegistrationFields(line, fields)) {
            Report(lineNo, QStringLiteral("Fejl i CSV-felt: ") + line);
            return std::nullopt;
        }
        if (fields.size() < minFields) {
            Report(lineNo, QStringLiteral("For få felter: ") + line);
            return std::nullopt;
        }
        return fields;
    }

    TIndlaesRapport& rapport_;
    TImportTarget meet_;
};

class TDeltagereImport : public TImport {
public:
    using TImport::TImport;

    void Line(int lineNo, const QString& line) {
        std::optional<QStringList> read = Fields(lineNo, line, DeltagereMinFields);
        if (!read)
            return;
        QStringList& f = *read;
        while (f.size() < DeltagereFieldCount)
            f << QString();
        const qint32 startnummer = IntegerOr0(f[DeltagereCol::Startnummer]);
        const QString klubNavn = f[DeltagereCol::Klub].left(KlubFieldSize::Navn).trimmed();
        if (startnummer < 1)
            return Report(lineNo, QStringLiteral("Startnummer 0: ") + klubNavn + QStringLiteral("  ") + line);
        if (klubNavn.isEmpty())
            return Report(lineNo, QStringLiteral("Ikke fundet: ") + klubNavn + QStringLiteral("  ") + line);

        const QString klasse = Klasse(f);
        const QString ovelse = OvelseOfRegistrationName(f[DeltagereCol::Ovelse]).toUpper();
        const auto tilmeldingText = [&] {
            return KlasseOvelseText(klasse, ovelse) + QStringLiteral(", StartNr: ") +
                   StartnummerText(startnummer);
        };
        if (!meet_.HasOvelseRk(klasse, ovelse))
            return Report(lineNo, tilmeldingText());
        TMarks marks;
        try {
            marks = Marks(f, ovelse);
        } catch (const Exception& bad) {
            return Report(lineNo, bad.Message() + QStringLiteral(": ") + line);
        }
        TKlubElement* klub = meet_.FindKlub(klubNavn);
        TDeltagerElement* deltager = meet_.FindDeltager(startnummer);
        const qint32 klubNr = klub != nullptr ? TImportTarget::KlubNr(*klub, KlubField::KlubNr) : -1;
        if (const QString other = meet_.OtherKlubProblem(deltager, klubNr, line); !other.isEmpty())
            return Report(lineNo, other);

        // The line is whole: written from here on.
        if (klub == nullptr)
            klub = &meet_.NewKlub(klubNavn);
        if (deltager == nullptr)
            deltager = &meet_.NewDeltager(TImportTarget::KlubNr(*klub, KlubField::KlubNr), startnummer);
        deltager->GetField(DeltagerField::Navn)->SetAsString(f[DeltagereCol::Navn]);
        deltager->GetField(DeltagerField::Aargang)->SetAsInteger(Aargang(f[DeltagereCol::Aargang]));
        if (CurrentSystemData().VT)
            deltager->GetField(DeltagerField::Koen)->SetAsString(f[DeltagereCol::Koen].toUpper());

        TResultatElement* tilmelding = meet_.FindTilmelding(startnummer, klasse, ovelse);
        if (tilmelding != nullptr)
            Report(lineNo, tilmeldingText());
        else
            tilmelding = &meet_.NewTilmelding(startnummer, klasse, ovelse);
        marks.Store(*tilmelding);
        const QString status = f[DeltagereCol::Status].toUpper();
        if (status == u"A" || status == u"/A" || status == u"S")
            tilmelding->GetField(ResultatField::ResultatKode)->SetAsString(QStringLiteral("A"));
        else if (status == u"E" || status == u"/E")
            tilmelding->GetField(ResultatField::Efteranmeldelse)->SetAsInteger(1);
    }

private:
    // The marks of an entry, by the fields they go into.
    struct TMarks {
        std::vector<std::pair<int, qint32>> Fields;
        void Store(TResultatElement& tilmelding) const {
            for (const auto& [fieldNo, value] : Fields)
                tilmelding.GetField(fieldNo)->SetAsInteger(value);
        }
    };

    static QString Klasse(const QStringList& f) {
        const QString klasse = f[DeltagereCol::Klasse].toUpper();
        if (klasse == u"SEN")
            return f[DeltagereCol::Koen].toUpper();
        if (klasse == u"MS")
            return QStringLiteral("M");
        if (klasse == u"KS")
            return QStringLiteral("K");
        return klasse;
    }

    static qint32 Aargang(const QString& text) {
        const qint32 aargang = IntegerOr0(text);
        return aargang >= std::numeric_limits<qint16>::min() && aargang <= std::numeric_limits<qint16>::max()
                   ? aargang
                   : 0;
    }

    // Raises EConvertError for a mark that is no number or too large for its field.
    static TMarks Marks(const QStringList& f, const QString& ovelse) {
        const QString& seedning = f[DeltagereCol::Seedning];
        const QString& rekord = f[DeltagereCol::PersonligRekord];
        if (CurrentSystemData().VT)
            return {
                {{ResultatField::Rank, MarkInteger(seedning, std::numeric_limits<qint16>::max())},
                 {ResultatField::PersonligRekord, MarkInteger(rekord, std::numeric_limits<qint32>::max())}}};
        const qint32 restype = IsFieldEventOvelse(ovelse) ? FieldEventRestype : TimeRestype;
        return {{{ResultatField::Seedning, ParseResultat(restype, MarkDigits(seedning))},
                 {ResultatField::PersonligRekord, ParseResultat(restype, MarkDigits(rekord))}}};
    }
};

class TTilmeldingerImport : public TImport {
public:
    // fileNumbers: every start number the file's own lines give, which no relay team may take.
    TTilmeldingerImport(TIndlaesRapport& rapport, std::unordered_set<qint32> fileNumbers)
        : TImport(rapport)
        , fileNumbers_(std::move(fileNumbers)) {}

    void Line(int lineNo, const QString& line) {
        std::optional<QStringList> read = Fields(lineNo, line, TilmeldingerMinFields);
        if (!read)
            return;
        const QStringList& f = *read;
        const TFields fields{f[TilmeldingerCol::Navn], f[TilmeldingerCol::Klub].left(KlubFieldSize::Navn),
                             f[TilmeldingerCol::Klasse].toUpper(), f[TilmeldingerCol::Ovelse].toUpper()};
        if (f[TilmeldingerCol::Startnummer].compare(StafetMark, Qt::CaseInsensitive) == 0)
            Stafet(lineNo, line, fields, IntegerOr0(f[TilmeldingerCol::Hold]));
        else
            Individual(lineNo, line, fields, IntegerOr0(f[TilmeldingerCol::Startnummer]),
                       HoldNr(f[TilmeldingerCol::Hold]));
    }

private:
    struct TFields {
        QString Navn;
        QString Klub;
        QString Klasse;
        QString Ovelse;
    };

    static qint32 HoldNr(const QString& text) {
        const QString letter = text.toUpper();
        for (qint32 nr = 1; nr <= 4; ++nr)
            if (letter == QChar(u'A' + nr - 1))
                return nr;
        return 0;
    }

    QString KlubIkkeFundet(const TFields& f, const QString& line) const {
        return QStringLiteral("Klub ikke fundet: ") + f.Klub + QStringLiteral(", Navn: ") + f.Navn +
               QStringLiteral(", Klasse: ") + f.Klasse + QStringLiteral(", Data: ") + line;
    }
    static QString ExistsText(const TFields& f, qint32 startnummer) {
        return QStringLiteral("Findes allerede, ") + KlasseOvelseText(f.Klasse, f.Ovelse) +
               QStringLiteral(", StartNr: ") + StartnummerText(startnummer);
    }

    // A new entry, or the report that it exists.
    void Enter(int lineNo, const TFields& f, qint32 startnummer, qint32 rank) {
        if (meet_.FindTilmelding(startnummer, f.Klasse, f.Ovelse) != nullptr)
            return Report(lineNo, ExistsText(f, startnummer));
        TResultatElement& tilmelding = meet_.NewTilmelding(startnummer, f.Klasse, f.Ovelse);
        if (rank > 0)
            tilmelding.GetField(ResultatField::Rank)->SetAsInteger(rank);
    }

    // The club and the event row of a line; null, the line reported, when either is missing. who: what
    // names the line's participant behind a missing event.
    TKlubElement* KlubOfLine(int lineNo, const QString& line, const TFields& f, const QString& who) {
        TKlubElement* klub = meet_.FindKlub(f.Klub);
        if (klub == nullptr)
            Report(lineNo, KlubIkkeFundet(f, line));
        else if (!meet_.HasOvelseRk(f.Klasse, f.Ovelse))
            Report(lineNo,
                   QStringLiteral("Øvelse findes ikke, ") + KlasseOvelseText(f.Klasse, f.Ovelse) + who);
        else
            return klub;
        return nullptr;
    }

    void Stafet(int lineNo, const QString& line, const TFields& f, qint32 hold) {
        TKlubElement* klub = KlubOfLine(lineNo, line, f, QStringLiteral(", Navn: ") + f.Navn);
        if (klub == nullptr)
            return;
        if (hold < 1 || hold > MaxStafetHold)
            return Report(lineNo,
                          QStringLiteral("Antal hold skal være fra 1 til %1: ").arg(MaxStafetHold) + line);
        const qint32 klubNr = TImportTarget::KlubNr(*klub, KlubField::KlubNr);
        // The suffix fits behind the club's name in a participant's name.
        const QString navn = klub->GetTrimmedString(KlubField::Navn)
                                 .left(DeltagerFieldSize::Navn - HoldSeparator.size() - 1)
                                 .trimmed();
        for (qint32 nr = 1; nr <= hold; ++nr) {
            const QString holdNavn = navn + HoldSeparator + QChar(u'A' + nr - 1);
            TDeltagerElement* team = meet_.FindDeltagerByNavn(klubNr, holdNavn);
            if (team == nullptr) {
                team = &meet_.NewDeltager(klubNr, NextStafetStartnummer());
                team->GetField(DeltagerField::Navn)->SetAsString(holdNavn);
            }
            Enter(lineNo, f, team->GetField(DeltagerField::Startnummer)->GetAsInteger(), nr);
        }
    }

    void Individual(int lineNo, const QString& line, const TFields& f, qint32 startnummer, qint32 holdNr) {
        if (startnummer < 1)
            return Report(lineNo, QStringLiteral("Startnummer 0: ") + f.Klub + QStringLiteral("  ") + line);
        if (f.Navn.isEmpty())
            return Report(lineNo, QStringLiteral("Intet navn: ") + line);
        TKlubElement* klub =
            KlubOfLine(lineNo, line, f, QStringLiteral(", StartNr: ") + StartnummerText(startnummer));
        if (klub == nullptr)
            return;
        const qint32 klubNr = TImportTarget::KlubNr(*klub, KlubField::KlubNr);
        TDeltagerElement* deltager = meet_.FindDeltager(startnummer);
        if (const QString other = meet_.OtherKlubProblem(deltager, klubNr, line); !other.isEmpty())
            return Report(lineNo, other);

        if (deltager == nullptr)
            deltager = &meet_.NewDeltager(klubNr, startnummer);
        deltager->GetField(DeltagerField::Navn)->SetAsString(f.Navn);
        Enter(lineNo, f, startnummer, holdNr);
    }

    // The next number from 2001 up that no participant of the meet and no line of the file has.
    qint32 NextStafetStartnummer() {
        while (fileNumbers_.contains(nextStafet_) || meet_.FindDeltager(nextStafet_) != nullptr)
            ++nextStafet_;
        return nextStafet_++;
    }

    std::unordered_set<qint32> fileNumbers_;
    qint32 nextStafet_ = FirstStafetStartnummer;
};

QByteArray ReadProgramFile(const QString& name) {
    const QString path = ResolvePath(PathJoin(ProgramDir, name));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Filen \"") + path + QStringLiteral("\" kan ikke læses: ") +
                        file.errorString());
    return file.readAll();
}

bool IsBlank(const QString& line) {
    return line.trimmed().isEmpty();
}

} // namespace

// ---------------------------------------------------------------- reading

QString IndlaesRapportText(const TIndlaesRapport& rapport, int maxLines) {
    QString text = QStringLiteral("Indlæst: %1 nye klubber, %2 nye deltagere og %3 nye tilmeldinger.")
                       .arg(rapport.NyeKlubber)
                       .arg(rapport.NyeDeltagere)
                       .arg(rapport.NyeTilmeldinger);
    if (rapport.Problemer.isEmpty())
        return text;
    text += CrLf + CrLf + QStringLiteral("Linjer med bemærkninger (%1):").arg(rapport.Problemer.size());
    const int shown = std::min<int>(maxLines, rapport.Problemer.size());
    for (int i = 0; i < shown; ++i)
        text += CrLf + rapport.Problemer[i];
    if (shown < rapport.Problemer.size())
        text += CrLf + QStringLiteral("... og %1 linjer mere").arg(rapport.Problemer.size() - shown);
    return text;
}

QStringList ReadRegistrationLines(const QByteArray& bytes) {
    QString text;
    if (bytes.startsWith(Utf8Bom)) {
        text = QString::fromUtf8(bytes.mid(qstrlen(Utf8Bom)));
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8);
        text = utf8.decode(bytes);
        if (utf8.hasError())
            text = Windows1252::Decode(bytes);
    }
    QStringList lines = text.split(u'\n');
    for (QString& line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    // The break that ends the last line starts none.
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

bool SplitRegistrationFields(const QString& line, QStringList& fields) {
    bool quoted = false;
    bool semicolon = false;
    for (const QChar c : line) {
        if (c == u'"')
            quoted = !quoted;
        else if (c == u';' && !quoted)
            semicolon = true;
    }
    const QString separator = semicolon ? QStringLiteral(";") : QStringLiteral(",");
    fields.clear();
    QString rest = line;
    for (;;) {
        const QString before = rest;
        QString field;
        if (NextCSVField(separator, rest, field) != 0)
            return false;
        fields << field.trimmed();
        if (rest.isEmpty()) {
            // A separator at the very end leaves one more field, an empty one.
            if (before.endsWith(separator))
                fields << QString();
            return true;
        }
    }
}

QString OvelseOfRegistrationName(const QString& name) {
    const QString lower = name.trimmed().toLower();
    for (const TOvelseNavn& known : OvelseNavne)
        if (lower == known.Navn)
            return known.Ovelse.toString();
    return name.trimmed();
}

bool IsFieldEventOvelse(const QString& ovelse) {
    const QString code = ovelse.trimmed().toUpper();
    return std::find(FieldEventOvelser.begin(), FieldEventOvelser.end(), code) != FieldEventOvelser.end();
}

// ---------------------------------------------------------------- importing

TIndlaesRapport ImportDeltagere(const QStringList& lines) {
    TIndlaesRapport rapport;
    TDeltagereImport import(rapport);
    import.Reserve(lines.size());
    for (int lineNo = 0; lineNo < lines.size(); ++lineNo)
        if (!IsBlank(lines[lineNo]))
            import.Line(lineNo, lines[lineNo]);
    import.Save();
    return rapport;
}

TIndlaesRapport ImportTilmeldinger(const QStringList& lines) {
    std::unordered_set<qint32> fileNumbers;
    for (const QString& line : lines) {
        QStringList fields;
        if (SplitRegistrationFields(line, fields) && !fields.isEmpty())
            if (const qint32 startnummer = IntegerOr0(fields.front()); startnummer > 0)
                fileNumbers.insert(startnummer);
    }
    TIndlaesRapport rapport;
    TTilmeldingerImport import(rapport, std::move(fileNumbers));
    import.Reserve(lines.size());
    for (int lineNo = 0; lineNo < lines.size(); ++lineNo)
        if (!IsBlank(lines[lineNo]))
            import.Line(lineNo, lines[lineNo]);
    import.Save();
    return rapport;
}

TIndlaesRapport ImportDeltagereFile(const QString& name) {
    return ImportDeltagere(ReadRegistrationLines(ReadProgramFile(name)));
}

TIndlaesRapport ImportTilmeldingerFile(const QString& name) {
    return ImportTilmeldinger(ReadRegistrationLines(ReadProgramFile(name)));
}
