#include "model/D_KlubEdit.h"

#include "foundation/Exception.h"
#include "foundation/LxString.h"
#include "foundation/Windows1252.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_Tekster.h"

#include <unordered_map>
#include <unordered_set>

namespace {

QString Code(const QString& text) {
    return TrimBlanks(text).toUpper();
}

// The event of the entry; raises error 2 when the meet has none of its code.
TOvelseElement& EventOf(TOvelseManager& ovelser, const TResultatElement& resultat) {
    return ovelser.LocateOvelse(resultat.GetField(ResultatField::Ovelse)->GetAsString());
}

bool IsMarkField(int fieldNo) {
    return fieldNo == ResultatField::Seedning || fieldNo == ResultatField::PersonligRekord;
}

// Sets the field from the text, or leaves it as it was when the text is refused.
void SetField(TField& field, const QString& text) {
    const QString before = field.GetAsString();
    try {
        field.SetAsString(text);
    } catch (...) {
        field.SetAsString(before);
        throw;
    }
}

} // namespace

void CheckStoredText(const QString& text) {
    if (Windows1252::Decode(Windows1252::Encode(text)) != text)
        throw Exception(QStringLiteral("\"") + text +
                        QStringLiteral("\" kan kun indeholde tegn fra tegnsættet Windows-1252"));
}

std::vector<TDeltagerRow> DeltagerRows(TKlubManager& klubber, TOvelseManager& ovelser) {
    // A club's results name few rounds: each is looked up once, by the stored bytes of its class, event
    // and round letter, which lie next to each other in the record.
    const TZunoFieldList fields = RecordFileDef(TRecordFileNo::Resultat).Fields;
    const int roundOffset = FieldOffsetOf(fields, ResultatField::Klasse);
    const int roundLength = FieldOffsetOf(fields, ResultatField::Startnummer) - roundOffset;
    std::unordered_map<QByteArray, TOvelseInfo*> rounds;
    const auto roundOf = [&](const TResultatElement& resultat) {
        const QByteArray key(reinterpret_cast<const char*>(resultat.Buffer()->Current()) + roundOffset,
                             roundLength);
        const auto known = rounds.find(key);
        if (known != rounds.end())
            return known->second;
        return rounds.emplace(key, ovelser.FindOvelseInfoByRecord(resultat)).first->second;
    };
    std::vector<TDeltagerRow> rows;
    std::unordered_set<const TResultatElement*> shown;
    TDeltagerList& deltagere = klubber.DeltagerList();
    rows.reserve(static_cast<std::size_t>(deltagere.GetCount() + klubber.ResultatList().GetCount()));
    for (int pos = 0; pos < deltagere.GetCount(); ++pos) {
        TDeltagerElement* deltager = deltagere.GetElement(pos);
        if (deltager->DeleteRequested || deltager->Deleted)
            continue;
        TDeltagerRow row{deltager};
        const qint32 startnummer = deltager->GetField(DeltagerField::Startnummer)->GetAsInteger();
        for (TResultatElement* resultat : klubber.GetResultater(startnummer)) {
            TOvelseInfo* info = roundOf(*resultat);
            if (!info || !shown.insert(resultat).second)
                continue;
            if (row.Resultat) {
                rows.push_back(row);
                row = {};
            }
            row.Resultat = resultat;
            row.Info = info;
        }
        rows.push_back(row);
    }
    return rows;
}

// ---------------------------------------------------------------- participants

qint32 ParseStartnummer(const QString& text) {
    const qint32 startnummer = ParseOvelseInteger(text);
    if (startnummer < 1)
        throw Exception(QStringLiteral("Startnummeret skal være større end 0"));
    return startnummer;
}

QString DeltagerText(const TDeltagerElement& deltager, int fieldNo) {
    return deltager.GetTrimmedString(fieldNo);
}

QString SetDeltagerText(TDeltagerElement& deltager, int fieldNo, const QString& text) {
    const QString typed = TrimBlanks(text);
    CheckStoredText(typed);
    SetField(*deltager.GetField(fieldNo), typed);
    return DeltagerText(deltager, fieldNo);
}

// ---------------------------------------------------------------- entries

TOvelseRkElement& CheckEntry(TOvelseManager& ovelser, const QString& klasse, const QString& ovelse) {
    ovelser.LocateKlasse(klasse);
    ovelser.LocateOvelse(ovelse);
    return ovelser.LocateOvelseRk(klasse, ovelse);
}

void CheckSecondEntry(TKlubManager& klubber, qint32 startnummer, const QString& klasse, const QString& ovelse,
                      const TResultatElement* self) {
    const QString k = Code(klasse);
    const QString o = Code(ovelse);
    for (const TResultatElement* other : klubber.GetResultater(startnummer)) {
        if (other == self || !TrimBlanks(other->GetField(ResultatField::Runde)->GetAsString()).isEmpty())
            continue;
        if (Code(other->GetField(ResultatField::Klasse)->GetAsString()) == k &&
            Code(other->GetField(ResultatField::Ovelse)->GetAsString()) == o)
            throw Exception(QStringLiteral("Startnummer %1 er allerede tilmeldt %2 i klasse %3")
                                .arg(startnummer)
                                .arg(o, k));
    }
}

TResultatElement& NewEntry(TKlubManager& klubber, TOvelseManager& ovelser, qint32 startnummer,
                           const QString& klasse, const QString& ovelse) {
    CheckEntry(ovelser, klasse, ovelse);
    CheckSecondEntry(klubber, startnummer, klasse, ovelse, nullptr);
    TResultatElement& resultat = klubber.GetResultat(klubber.NewResultat());
    resultat.GetField(ResultatField::Klasse)->SetAsString(Code(klasse));
    resultat.GetField(ResultatField::Ovelse)->SetAsString(Code(ovelse));
    resultat.GetField(ResultatField::Runde)->SetAsString(QString());
    resultat.GetField(ResultatField::Startnummer)->SetAsInteger(startnummer);
    return resultat;
}

QString EntryText(TOvelseManager& ovelser, const TResultatElement& resultat, int fieldNo) {
    if (!IsMarkField(fieldNo))
        return resultat.GetTrimmedString(fieldNo);
    const qint32 mark = resultat.GetField(fieldNo)->GetAsInteger();
    if (mark == 0)
        return {};
    const TOvelseElement* ovelse =
        ovelser.FindOvelse(resultat.GetField(ResultatField::Ovelse)->GetAsString());
    if (!ovelse)
        return QString::number(mark);
    return FormatOvelseResultatNoWind(ovelse->GetOvtype(),
                                      ovelse->GetField(OvelseField::Restype)->GetAsInteger(), mark);
}

QString SetEntryText(TOvelseManager& ovelser, TResultatElement& resultat, int fieldNo, const QString& text) {
    const QString typed = TrimBlanks(text);
    TField& field = *resultat.GetField(fieldNo);
    if (fieldNo == ResultatField::Klasse) {
        ovelser.LocateKlasse(typed);
        field.SetAsString(Code(typed));
    } else if (fieldNo == ResultatField::Ovelse) {
        ovelser.LocateOvelse(typed);
        field.SetAsString(Code(typed));
    } else if (IsMarkField(fieldNo)) {
        const TOvelseElement& ovelse = EventOf(ovelser, resultat);
        field.SetAsInteger(ParseResultat(ovelse.GetField(OvelseField::Restype)->GetAsInteger(), typed));
    } else {
        CheckStoredText(typed);
        SetField(field, typed);
    }
    return EntryText(ovelser, resultat, fieldNo);
}
