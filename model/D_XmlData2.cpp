#include "model/D_XmlData2.h"

#include "foundation/Exception.h"
#include "foundation/LxString.h"
#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"
#include "model/D_Context.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_ResultHold.h"
#include "model/D_ResultTable.h"
#include "model/D_Staevne.h"
#include "model/D_Tekster.h"

#include <QDate>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>
#include <vector>

namespace {

const QString XmlDeclaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>");
// Keys of the record files, each beginning with StID.
constexpr int KlubNrKey = 0;
constexpr int DeltagerStartnummerKey = 0;
constexpr int ResultatStartnummerKey = 1;
constexpr qint64 SecondsPerDay = 24 * 60 * 60;

void AppendReference(QString& out, char32_t code) {
    out += QStringLiteral("&#");
    out += QString::number(static_cast<quint32>(code));
    out += u';';
}

// The characters of a value as the document may hold them (see the header).
void AppendEscaped(QString& out, const QString& value) {
    const qsizetype count = value.size();
    for (qsizetype i = 0; i < count; ++i) {
        const char16_t c = value.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < count && QChar::isLowSurrogate(value.at(i + 1).unicode())) {
            AppendReference(out, QChar::surrogateToUcs4(c, value.at(++i).unicode()));
            continue;
        }
        switch (c) {
        case u'"':
        case u'&':
        case u'<':
        case u'>':
        case u'\t':
        case u'\n':
        case u'\r':
            AppendReference(out, c);
            continue;
        default:
            break;
        }
        // Control characters, a surrogate without its other half and the two non-characters are no
        // characters of a well-formed document.
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || QChar::isSurrogate(c) || c == 0xFFFE || c == 0xFFFF)
            continue;
        if (c > 0xFF)
            AppendReference(out, c);
        else
            out += QChar(c);
    }
}

// "yyyy-mm-dd"; empty for no date.
QString DateText(TDateTime value) {
    const QDate date = DateTimeToQDate(value);
    return value == 0 || !date.isValid() ? QString() : date.toString(QStringLiteral("yyyy-MM-dd"));
}

// "hh:nn:ss" of the fraction of a day, which a round's time with the meet's start time may pass.
QString TimeText(TDateTime value) {
    const qint64 seconds = std::llround((value - std::floor(value)) * SecondsPerDay) % SecondsPerDay;
    return IntToZeroStr(seconds / 3600, 2) + u':' + IntToZeroStr(seconds / 60 % 60, 2) + u':' +
           IntToZeroStr(seconds % 60, 2);
}

QString DateTimeText(TDateTime date, TDateTime time) {
    return DateText(date) + u'T' + TimeText(time);
}

TStaevneManager& OpenMeet() {
    TStaevneManager* meet = ModelContext().StaevneManager.get();
    if (!meet || meet->GetCurrentIndex() < 0)
        throw Exception(QStringLiteral("Der er ikke åbnet noget stævne"));
    return *meet;
}

TOvelseManager& EventManager() {
    TOvelseManager* ovelser = ModelContext().OvelseManager.get();
    if (!ovelser)
        throw Exception(QStringLiteral("Stævnets øvelser er ikke indlæst"));
    return *ovelser;
}

// The elements of a list in its order, passing over those deleted; the list's current element stays.
template <typename Visit>
void ForEachInOrder(TDataList& list, Visit visit) {
    const TDataListIndex* index = list.CurrentIndex();
    for (int pos = 0; pos < list.GetCount(); ++pos) {
        TDataElement& element =
            *list.GetRawElement(index ? index->Map()[static_cast<std::size_t>(pos)] : pos);
        if (!element.DeleteRequested && !element.Deleted)
            visit(element);
    }
}

qint32 Restype(const TOvelseInfo* info) {
    return info ? info->Ovelse().GetField(OvelseField::Restype)->GetAsInteger() : 0;
}

QString Integer(const TDataElement& element, int fieldNo) {
    return IntStr(element.GetField(fieldNo)->GetAsInteger());
}

// A participant as the clubs' part lists it.
struct TXmlDeltager {
    qint32 Startnummer = 0;
    QString Navn;
    qint32 Aargang = 0;
    QString Koen;
};

// The attempt's mark, or its pass or foul.
QString AttemptText(const TOvelseInfo& info, const TSerie& serie) {
    if (serie.IsPass())
        return QStringLiteral("-");
    if (serie.IsFoul())
        return QStringLiteral("X");
    return FormatOvelseResultatNoWind(info, serie.Value);
}

// The attempts a row element lists: relay legs whatever the setting, the attempts of jumps and throws
// unless the meet leaves series out.
std::vector<int> ListedAttempts(const TResultat& row) {
    std::vector<int> listed;
    const TOvelseElement* ovelse = row.OvelseInfo ? &row.OvelseInfo->Ovelse() : nullptr;
    if (!ovelse)
        return listed;
    const bool stafet = ovelse->IsStafetOvelse();
    const bool forsog =
        !CurrentSystemData().UndladSerier && (ovelse->IsSpringOvelse() || ovelse->IsKasteOvelse());
    if (!stafet && !forsog)
        return listed;
    for (int i = 0; i < row.GetSerieCount(); ++i) {
        const TSerie& serie = *row.GetSerie(i);
        if (!serie.IsEmpty() && (!stafet || serie.Value > 0))
            listed.push_back(i);
    }
    return listed;
}

} // namespace

// ---------------------------------------------------------------- primitives

void TXmlData2::Begin(QStringList& list) {
    list.clear();
    list_ = &list;
    heatRow_ = nullptr;
    // The texts of no mark follow the decimal separator, which may have changed since the last document.
    zeroMarks_.clear();
    list.append(XmlDeclaration);
    OpenElement("Zuno");
    TextAttribute("xmlns", ZunoXmlNamespace);
    EndStartTag(false);
}

void TXmlData2::End() {
    CloseElement("Zuno");
    list_ = nullptr;
}

void TXmlData2::OpenElement(const char* name) {
    // The line is built in one buffer that keeps its room; the list gets a copy of its own size.
    line_.resize(0);
    line_ += u'<';
    line_ += QLatin1String(name);
    line_ += u' ';
}

void TXmlData2::Attribute(const char* name, const QString& value, const QString& defaultText) {
    if (value.isEmpty() || value == defaultText)
        return;
    line_ += QLatin1String(name);
    line_ += QStringLiteral("=\"");
    AppendEscaped(line_, value);
    line_ += QStringLiteral("\" ");
}

void TXmlData2::TextAttribute(const char* name, const QString& value) {
    Attribute(name, value, QString());
}

void TXmlData2::IntegerAttribute(const char* name, qint64 value) {
    if (value != 0)
        TextAttribute(name, IntStr(value));
}

void TXmlData2::BooleanAttribute(const char* name, bool value) {
    TextAttribute(name, value ? QStringLiteral("true") : QStringLiteral("false"));
}

void TXmlData2::EndStartTag(bool empty) {
    line_ += empty ? QLatin1String("/>") : QLatin1String(">");
    list_->append(QString(line_.constData(), line_.size()));
    line_.resize(0);
}

void TXmlData2::CloseElement(const char* name) {
    list_->append(QStringLiteral("</") + QLatin1String(name) + u'>');
}

const QString& TXmlData2::MarkText(qint32 restype, qint32 value) {
    // Most rows have no seeding mark and no record: their texts are made once.
    if (value == 0) {
        auto zero = zeroMarks_.find(restype);
        if (zero == zeroMarks_.end())
            zero = zeroMarks_.emplace(restype, FormatResultat(restype, 0)).first;
        return zero->second;
    }
    mark_ = FormatResultat(restype, value);
    return mark_;
}

// ---------------------------------------------------------------- documents

void TXmlData2::MakeXmlStaevne(QStringList& list) {
    MakeXmlMeet(list, true);
}

void TXmlData2::MakeXmlStaevneInfo(QStringList& list) {
    MakeXmlMeet(list, false);
}

void TXmlData2::MakeXmlMeet(QStringList& list, bool withResults) {
    TStaevneManager& meet = OpenMeet();
    TOvelseManager& ovelser = EventManager();
    // A reload would free the rounds that an open editor's result manager holds.
    if (ovelser.GetReloadedStID() != meet.GetCurrentStID())
        ovelser.Reload();
    Begin(list);
    WriteStaevneStart(meet);
    WriteKlasser();
    WriteSteder();
    if (withResults)
        WriteKlubber(nullptr);
    // One manager for all rounds: making it counts every round once.
    TResultatManager manager;
    manager.KeepKlubber = true;
    for (const auto& [key, info] : ovelser.KlasseIndex()) {
        WriteOvelseStart(*info);
        if (withResults && info->AntalDeltagere > 0) {
            manager.LoadOvelse(info);
            if (info->OvelseRn().IsResTypeResultat())
                manager.SortResultatHeat();
            else
                manager.SortHeatResultat();
            WriteResultater(manager, {});
            WriteHold(manager);
        }
        CloseElement("Ovelse");
    }
    WriteStaevneEnd();
    End();
}

void TXmlData2::MakeXmlOvelse(QStringList& list, TResultatManager& manager, bool klubber,
                              const QStringList& heats) {
    TStaevneManager& meet = OpenMeet();
    Begin(list);
    WriteStaevneStart(meet);
    WriteKlasser();
    WriteSteder();
    std::set<qint32> written;
    if (TOvelseInfo* info = manager.OvelseInfo()) {
        WriteOvelseStart(*info);
        written = WriteResultater(manager, heats);
        const bool alleHeats = std::all_of(heats.begin(), heats.end(),
                                           [](const QString& heat) { return TrimBlanks(heat).isEmpty(); });
        // A team counts the rows of every heat.
        if (alleHeats)
            WriteHold(manager);
        CloseElement("Ovelse");
    }
    if (klubber)
        WriteKlubber(&written);
    WriteStaevneEnd();
    End();
}

void TXmlData2::MakeXmlFileList(QStringList& list, const QStringList& texts) {
    Begin(list);
    for (const QString& text : texts) {
        OpenElement("File");
        TextAttribute("Name", text);
        EndStartTag(true);
    }
    End();
}

// ---------------------------------------------------------------- the meet

void TXmlData2::WriteStaevneStart(TStaevneManager& meet) {
    const QString navn = meet.GetStaevneNavn(meet.GetCurrentIndex());
    OpenElement("Node");
    for (const TStaevneTreeNode& node : meet.LoadStaevneTree()) {
        if (node.Navne && node.Navne->contains(navn)) {
            TextAttribute("Text", node.Caption);
            IntegerAttribute("Level", node.Level);
            break;
        }
    }
    EndStartTag(false);

    const TSystemData& data = meet.SystemData();
    OpenElement("Staevne");
    TextAttribute("Id", IntStr(meet.GetCurrentStID()));
    TextAttribute("Navn", navn);
    TextAttribute("Overskrift1", data.Overskrift1);
    TextAttribute("Overskrift2", data.Overskrift2);
    TextAttribute("Overskrift3", data.Overskrift3);
    TextAttribute("Arrangor", data.Arrangor);
    TextAttribute("Stadion", data.Stadion);
    TextAttribute("Dato", DateText(data.Dato));
    BooleanAttribute("Indendors", data.Indendors);
    BooleanAttribute("BrugPersonligRekord", data.BrugPersonligRekord);
    BooleanAttribute("UndladSerier", data.UndladSerier);
    BooleanAttribute("TidsskemaUofficielt", data.TidsskemaUofficielt);
    BooleanAttribute("AltidFinale", data.AltidFinale);
    BooleanAttribute("UdeladRettelserFoerSeedning", data.UdeladRettelserFoerSeedning);
    BooleanAttribute("DT", data.DT);
    BooleanAttribute("VT", data.VT);
    BooleanAttribute("LTU", data.LTU);
    BooleanAttribute("EgenTurnering", data.EgenTurnering);
    BooleanAttribute("FlereRunder", data.FlereRunder);
    BooleanAttribute("Redid", data.Redid);
    BooleanAttribute("Engelsk", data.Engelsk);
    BooleanAttribute("Oversattelse", data.Oversattelse);
    if (meet.IsHoldTurnering()) {
        IntegerAttribute("AntalTaellendeDeltagere", data.AntalTaellendeDeltagere);
        IntegerAttribute("AntalDeltagerePrOvelse", data.AntalDeltagerePrOvelse);
        IntegerAttribute("MaxAntalOvelserPrDeltager", data.MaxAntalOvelserPrDeltager);
    }
    if (data.DT) {
        IntegerAttribute("AntalDTHold", data.AntalDTHold);
        QString halve;
        for (const QString& ovelse : data.DTOvelserHalvePoints)
            halve += ovelse + u';';
        TextAttribute("DTOvelserHalvePoints", halve);
    }
    EndStartTag(false);

    const TScoreboard& scoreboard = meet.Scoreboard();
    OpenElement("Scoreboard");
    TextAttribute("Command", scoreboard.Command);
    TextAttribute("Header", scoreboard.Header);
    TextAttribute("PreliminaryTime", scoreboard.PreliminaryTime);
    EndStartTag(true);
}

void TXmlData2::WriteStaevneEnd() {
    CloseElement("Staevne");
    CloseElement("Node");
}

void TXmlData2::WriteKlasser() {
    WriteCodeList(EventManager().KlasseList(), "Klasse", KlasseField::Klasse, KlasseField::Korttekst,
                  KlasseField::Sortkode);
}

void TXmlData2::WriteSteder() {
    WriteCodeList(EventManager().AfvStedList(), "Sted", AfvStedField::Sted, AfvStedField::Tekst,
                  AfvStedField::Sortkode);
}

void TXmlData2::WriteCodeList(TDataList& list, const char* name, int codeField, int textField,
                              int sortField) {
    ForEachInOrder(list, [&](const TDataElement& element) {
        OpenElement(name);
        TextAttribute("Id", element.GetTrimmedString(codeField));
        TextAttribute("Tekst", element.GetTrimmedString(textField));
        TextAttribute("SortKode", Integer(element, sortField));
        EndStartTag(true);
    });
}

void TXmlData2::WriteKlubber(const std::set<qint32>* startnumre) {
    TOvelseManager& ovelser = EventManager();
    // The rounds in programme order, to list each participant's entries in it.
    std::unordered_map<const TOvelseInfo*, int> programme;
    for (const auto& [key, info] : ovelser.KlasseIndex())
        programme.emplace(info, static_cast<int>(programme.size()));

    TDeltagerTable deltagerTable;
    deltagerTable.Open();
    std::map<qint32, std::vector<TXmlDeltager>> byKlub;
    const auto take = [&] {
        const auto field = [&](int fieldNo) { return deltagerTable.GetField(fieldNo); };
        byKlub[field(DeltagerField::KlubNr)->GetAsInteger()].push_back(
            {field(DeltagerField::Startnummer)->GetAsInteger(),
             field(DeltagerField::Navn)->GetTrimmedString(), field(DeltagerField::Aargang)->GetAsInteger(),
             field(DeltagerField::Koen)->GetTrimmedString()});
    };
    if (startnumre) {
        for (const qint32 startnummer : *startnumre) {
            if (deltagerTable.FindStaevneKey(DeltagerStartnummerKey, {startnummer}))
                take();
        }
    } else {
        for (bool found = deltagerTable.First(); found; found = deltagerTable.Next())
            take();
    }

    // Each participant's entries: the rounds of the meet that hold its start number, in programme order.
    // The whole meet's from its rounds in turn; a few participants' by their start numbers.
    std::unordered_map<qint32, std::vector<const TOvelseInfo*>> entries;
    if (startnumre) {
        TResultatTable resultatTable;
        resultatTable.Open();
        for (const auto& [klubNr, deltagere] : byKlub) {
            for (const TXmlDeltager& deltager : deltagere) {
                std::vector<const TOvelseInfo*>& own = entries[deltager.Startnummer];
                for (bool found =
                         resultatTable.FindStaevneKey(ResultatStartnummerKey, {deltager.Startnummer});
                     found; found = resultatTable.NextStaevneKey()) {
                    if (const TOvelseInfo* info = ovelser.FindOvelseInfoByRecord(resultatTable))
                        own.push_back(info);
                }
                std::stable_sort(own.begin(), own.end(), [&](const TOvelseInfo* a, const TOvelseInfo* b) {
                    return programme.at(a) < programme.at(b);
                });
            }
        }
    } else {
        TResultatRecordTable resultatTable;
        resultatTable.Open();
        for (const auto& [key, info] : ovelser.KlasseIndex()) {
            for (bool found = resultatTable.FirstOfRound(*info); found; found = resultatTable.NextOfRound())
                entries[resultatTable.GetField(ResultatField::Startnummer)->GetAsInteger()].push_back(info);
        }
    }
    const std::vector<const TOvelseInfo*> none;

    const auto writeDeltager = [&](const TXmlDeltager& deltager) {
        OpenElement("Deltager");
        TextAttribute("StartNr", IntStr(deltager.Startnummer));
        TextAttribute("Navn", deltager.Navn);
        IntegerAttribute("Aargang", deltager.Aargang);
        IntegerAttribute("Alder", CalcAlder(deltager.Aargang));
        TextAttribute("Koen", deltager.Koen);
        EndStartTag(false);
        const auto own = entries.find(deltager.Startnummer);
        for (const TOvelseInfo* info : own == entries.end() ? none : own->second) {
            OpenElement("Ovelse");
            TextAttribute("KlasseId", info->GetKlasseKode());
            TextAttribute("OvelseId", info->GetOvelseKode());
            if (info->GetAntalRunder() > 1)
                TextAttribute("Runde", info->GetRunde());
            TextAttribute("RundeTekst", info->GetRundeText());
            IntegerAttribute("RundeNr", info->GetRundeNr());
            IntegerAttribute("AntalRunder", info->GetAntalRunder());
            EndStartTag(true);
        }
        CloseElement("Deltager");
    };
    const auto writeKlub = [&](const TKlubTable& klub, std::vector<TXmlDeltager>& deltagere) {
        const auto text = [&](int fieldNo) { return klub.GetField(fieldNo)->GetTrimmedString(); };
        OpenElement("Klub");
        TextAttribute("Id", IntStr(klub.GetField(KlubField::KlubNr)->GetAsInteger()));
        TextAttribute("Navn", text(KlubField::Navn));
        TextAttribute("KortNavn", text(KlubField::KortNavn));
        IntegerAttribute("PrisGruppe", klub.GetField(KlubField::Prisgruppe)->GetAsInteger());
        TextAttribute("HoldKode", text(KlubField::HoldKode));
        IntegerAttribute("PointRunde1", std::llround(klub.GetField(KlubField::PointRunde1)->GetAsFloat()));
        TextAttribute("KontaktPerson", text(KlubField::KontaktPerson));
        for (const auto& [name, fieldNo] :
             {std::pair("Adresse1", KlubField::Adresse1), std::pair("Adresse2", KlubField::Adresse2),
              std::pair("Adresse3", KlubField::Adresse3), std::pair("Adresse4", KlubField::Adresse4),
              std::pair("Adresse5", KlubField::Adresse5), std::pair("Telefon", KlubField::Telefon),
              std::pair("Fax", KlubField::Fax), std::pair("Email", KlubField::Email)})
            TextAttribute(name, text(fieldNo));
        EndStartTag(false);
        std::stable_sort(
            deltagere.begin(), deltagere.end(),
            [](const TXmlDeltager& a, const TXmlDeltager& b) { return a.Startnummer < b.Startnummer; });
        for (const TXmlDeltager& deltager : deltagere)
            writeDeltager(deltager);
        CloseElement("Klub");
    };

    TKlubTable klubTable;
    klubTable.Open();
    if (startnumre) {
        for (auto& [klubNr, deltagere] : byKlub) {
            if (klubTable.FindStaevneKey(KlubNrKey, {klubNr}))
                writeKlub(klubTable, deltagere);
        }
        return;
    }
    for (bool found = klubTable.First(); found; found = klubTable.Next())
        writeKlub(klubTable, byKlub[klubTable.GetField(KlubField::KlubNr)->GetAsInteger()]);
}

// ---------------------------------------------------------------- rounds

void TXmlData2::WriteOvelseStart(const TOvelseInfo& info) {
    const TOvelseElement& ovelse = info.Ovelse();
    const TOvelseRnElement& runde = info.OvelseRn();
    OpenElement("Ovelse");
    TextAttribute("Id", info.GetOvelseKode());
    TextAttribute("Tekst", ovelse.GetTrimmedString(OvelseField::Korttekst));
    TextAttribute("SortKode", Integer(ovelse, OvelseField::Sortkode));
    if (!info.GetAttributKode().isEmpty() && !CurrentSystemData().VT) {
        TextAttribute("Attribut", info.GetAttributKode());
        TextAttribute("AttributTekst",
                      info.OvDef() ? info.OvDef()->GetTrimmedString(OvDefField::Tekst) : QString());
    }
    IntegerAttribute("AntalRunder", info.GetAntalRunder());
    TextAttribute("Runde", info.GetRunde());
    TextAttribute("RundeTekst", info.GetRundeText());
    IntegerAttribute("RundeNr", info.GetRundeNr());
    TextAttribute("KlasseId", info.GetKlasseKode());
    TextAttribute("FinaleType", info.IsFinaleType1()   ? QStringLiteral("ABC")
                                : info.IsFinaleType2() ? QStringLiteral("CBA")
                                                       : QStringLiteral("123"));
    TextAttribute("ResultatSort",
                  runde.IsResTypeHeat() ? QStringLiteral("Heat") : QStringLiteral("Resultat"));
    if (runde.GetField(OvelseRnField::DatoTid)->GetAsFloat() != 0)
        TextAttribute("DatoTid", DateTimeText(info.GetDato(), info.GetTid()));
    if (info.SidstRettet != 0)
        TextAttribute("SidstRettet", DateTimeText(info.SidstRettet, info.SidstRettet));
    TextAttribute("Sted", info.GetStedKode());
    IntegerAttribute("AntalAktiveDeltagere", info.AntalAktiveDeltagere);
    IntegerAttribute("AntalDeltagere", info.AntalDeltagere);
    IntegerAttribute("AntalHeat", info.AntalHeat);
    IntegerAttribute("MaxHeatNr", info.MaxHeatNr);
    IntegerAttribute("AntalResultater", info.AntalResultater);
    BooleanAttribute("Heat0Findes", info.Heat0Findes);
    BooleanAttribute("SeedningFindes", info.SeedningFindes);
    BooleanAttribute("ResultaterFindes", info.ResultaterFindes);
    BooleanAttribute("TidOvelse", ovelse.IsTidOvelse());
    BooleanAttribute("HorizontalSpringOvelse", ovelse.IsHorizontalSpringOvelse());
    BooleanAttribute("VertikalSpringOvelse", ovelse.IsVertikalSpringOvelse());
    BooleanAttribute("KasteOvelse", ovelse.IsKasteOvelse());
    BooleanAttribute("SpringOvelse", ovelse.IsSpringOvelse());
    BooleanAttribute("SerieOvelse", ovelse.IsSerieOvelse());
    BooleanAttribute("StafetOvelse", ovelse.IsStafetOvelse());
    BooleanAttribute("LobeOvelse", ovelse.IsLobeOvelse());
    BooleanAttribute("MangekampOvelse", ovelse.IsMangekampOvelse());
    TextAttribute("MKOvelse", info.GetMKOvelse());
    TextAttribute("MKOvelseNr", IntStr(info.GetMKOvelseNr()));
    for (const auto& [name, fieldNo] : {std::pair("AntalForsog", OvelseRnField::AntalForsog),
                                        std::pair("AntalForsogFinale", OvelseRnField::AntalForsogFinale),
                                        std::pair("AntalTilFinale", OvelseRnField::AntalTilFinale),
                                        std::pair("TidPrForsog", OvelseRnField::TidPrForsog),
                                        std::pair("TidPrDeltager", OvelseRnField::TidPrDeltager),
                                        std::pair("TidPrHeat", OvelseRnField::TidPrHeat),
                                        std::pair("AntalVidereIalt", OvelseRnField::AntalVidereIalt),
                                        std::pair("AntalViderePlac", OvelseRnField::AntalViderePlac)})
        TextAttribute(name, Integer(runde, fieldNo));
    BooleanAttribute("VindMaaling", info.HasVindmaaling());
    BooleanAttribute("VindPrHeat", info.IsVindPrHeat());
    BooleanAttribute("VindPrDeltager", info.IsVindPrForsog());
    IntegerAttribute("AntalPrHeat", info.GetAntalPrHeat());
    IntegerAttribute("HeatInddeling", info.GetHeatinddeling());
    IntegerAttribute("Banefordeling", info.GetBanefordeling());
    IntegerAttribute("Banenummerering", info.GetBanenummerering());
    TextAttribute("ResType", Integer(runde, OvelseRnField::ResType));
    EndStartTag(false);
    WriteRekorder(info);
}

void TXmlData2::WriteRekorder(const TOvelseInfo& info) {
    for (const TRekord* rekord : info.Rekorder()) {
        OpenElement("Rekord");
        TextAttribute("Id", rekord->Owner()->Titel() + QStringLiteral(" (") + rekord->Kategori +
                                QStringLiteral("): "));
        TextAttribute("Navn", rekord->Navn);
        TextAttribute("Klub", rekord->Klub);
        TextAttribute("Dato", rekord->Dato);
        TextAttribute("Sted", rekord->Sted);
        TextAttribute("Resultat", rekord->Resultat);
        EndStartTag(true);
    }
}

std::set<qint32> TXmlData2::WriteResultater(TResultatManager& manager, const QStringList& heats) {
    std::set<qint32> filter;
    bool filtered = false;
    for (const QString& heat : heats) {
        const QString text = TrimBlanks(heat);
        if (text.isEmpty())
            continue;
        filtered = true;
        bool ok = false;
        if (const qint32 nr = text.toInt(&ok); ok)
            filter.insert(nr);
    }
    const std::vector<TResultat*> rows = manager.GetResultater();
    // A heat's wind is that of its last row.
    std::map<qint32, qint32> heatVind;
    for (const TResultat* row : rows)
        heatVind[row->Heat] = row->Vind;

    std::set<qint32> written;
    heatRow_ = nullptr;
    for (TResultat* row : rows) {
        if (filtered && !filter.contains(row->Heat))
            continue;
        if (!heatRow_ || heatRow_->Heat != row->Heat) {
            if (heatRow_)
                CloseElement("Heat");
            heatRow_ = row;
            OpenElement("Heat");
            TextAttribute("Id", IntStr(row->Heat));
            if (row->OvelseInfo && row->OvelseInfo->IsVindPrHeat())
                TextAttribute("Vind", FormatVind(heatVind[row->Heat]));
            EndStartTag(false);
        }
        WriteRow(*row);
        written.insert(row->Startnummer);
        if (row->OvelseInfo && row->OvelseInfo->Ovelse().IsStafetOvelse()) {
            for (const int i : ListedAttempts(*row))
                written.insert(row->GetSerie(i)->Value);
        }
    }
    if (heatRow_)
        CloseElement("Heat");
    heatRow_ = nullptr;
    return written;
}

void TXmlData2::WriteRow(TResultat& row) {
    const TSystemData& data = CurrentSystemData();
    const qint32 restype = Restype(row.OvelseInfo);
    // What a stored mark of 0 reads as: no mark.
    const QString& noMark = MarkText(0, 0);
    OpenElement("Deltager");
    IntegerAttribute("StartNr", row.Startnummer);
    Attribute("BaneNr", IntStr(row.Bane), QStringLiteral("0"));
    Attribute("SideNr", IntStr(row.Side), QStringLiteral("0"));
    // The status letter, its text in the lists and its Danish word.
    TextAttribute("ResKode", TrimBlanks(row.RK));
    TextAttribute("ResText", FormatResKode(row.RK));
    TextAttribute("ResStatus", FormatResKodeTekst(row.RK));
    Attribute("EfterAnm", FormatJaNej(row.Efter != 0), FormatJaNej(false));
    Attribute("SG", IntStr(row.SG), QStringLiteral("0"));
    Attribute("Seedning", MarkText(restype, row.Seedning), noMark);
    Attribute("PR", MarkText(restype, row.PR), noMark);
    TextAttribute("Kommentar", TrimBlanks(row.Bem + u' ' + row.Bem2));
    if (row.HasResultat()) {
        // Placing numbers every row, a disqualified one too; only a valid result has a place.
        if (row.IsValid())
            Attribute("Plac", IntStr(row.Plac), QStringLiteral("0"));
        Attribute("PlacKode", IntStr(row.PK), QStringLiteral("0"));
        Attribute("Resultat", MarkText(restype, row.Resultat), noMark);
        Attribute("Reaktion", IntStr(row.Reaktion), QStringLiteral("0"));
        if (row.Point != 0)
            TextAttribute("Points", row.GetFieldText(TResultColumn::Point));
        TextAttribute("VidereKode", row.VK);
        if (row.OvelseInfo && row.OvelseInfo->IsVindPrForsog())
            TextAttribute("Vind", FormatVind(row.Vind));
        if (data.VT)
            TextAttribute("VTKorrResultat", row.GetFieldText(TResultColumn::AlderRes));
        if (const TStaevneManager* meet = ModelContext().StaevneManager.get();
            meet && meet->IsHoldTurnering())
            TextAttribute("Rank", IntStr(row.Rank));
        Attribute("MilliSeconds", IntStr(row.Tusindedele), QStringLiteral("0"));
    }
    const std::vector<int> attempts = ListedAttempts(row);
    EndStartTag(attempts.empty());
    if (attempts.empty())
        return;
    for (const int i : attempts)
        WriteSerie(row, *row.GetSerie(i), i);
    CloseElement("Deltager");
}

void TXmlData2::WriteSerie(const TResultat& row, const TSerie& serie, int index) {
    const TOvelseInfo& info = *row.OvelseInfo;
    const TOvelseElement& ovelse = info.Ovelse();
    if (ovelse.IsStafetOvelse()) {
        OpenElement("Stafet");
        IntegerAttribute("Tur", index + 1);
        IntegerAttribute("StartNr", serie.Value);
    } else if (ovelse.IsVertikalSpringOvelse()) {
        OpenElement("SpringVertikal");
        IntegerAttribute("OmspringNr", serie.SerieNr);
        TextAttribute("Resultat", FormatOvelseResultatNoWind(info, serie.Value));
        TextAttribute("Spring", TrimBlanks(FormatForsogKodeXO(serie.Kode)));
    } else if (ovelse.IsHorizontalSpringOvelse()) {
        OpenElement("SpringHorizontal");
        IntegerAttribute("Runde", index + 1);
        TextAttribute("Resultat", AttemptText(info, serie));
        // A pass has no jump and no wind.
        if (info.IsVindPrForsog() && !serie.IsPass())
            TextAttribute("Vind", FormatVind(serie.Kode));
    } else {
        OpenElement("Kast");
        IntegerAttribute("Runde", index + 1);
        TextAttribute("Resultat", AttemptText(info, serie));
    }
    EndStartTag(true);
}

void TXmlData2::WriteHold(TResultatManager& manager) {
    const THoldResultater* hold = manager.HoldResultater();
    for (int i = 0; hold && i < hold->Count(); ++i) {
        const THold& team = *hold->GetHold(i);
        const TResultat& total = *team.HoldResultat;
        OpenElement("Hold");
        Attribute("Plac", IntStr(total.Plac), QStringLiteral("0"));
        TextAttribute("Resultat", FormatResultat(Restype(hold->OvelseInfo), total.Resultat));
        if (total.Point != 0)
            TextAttribute("Points", total.GetFieldText(TResultColumn::Point));
        EndStartTag(false);
        for (int m = 0; m < team.Count(); ++m) {
            OpenElement("HoldDeltager");
            IntegerAttribute("Nr", m + 1);
            IntegerAttribute("StartNr", team.GetResultat(m)->Startnummer);
            EndStartTag(true);
        }
        CloseElement("Hold");
    }
}

// ---------------------------------------------------------------- files

void SaveXmlFile(const QStringList& lines, const QString& fileName) {
    QSaveFile file(ResolvePath(fileName));
    // Written in blocks: a whole meet's document is never held twice.
    constexpr qsizetype BlockSize = 1 << 20;
    QByteArray block;
    block.reserve(BlockSize + 4096);
    const auto flush = [&] {
        const bool written = file.write(block) == block.size();
        block.resize(0);
        return written;
    };
    bool ok = file.open(QIODevice::WriteOnly);
    for (qsizetype i = 0; ok && i < lines.size(); ++i) {
        block += Windows1252::Encode(lines.at(i));
        block += "\r\n";
        if (block.size() >= BlockSize)
            ok = flush();
    }
    if (!ok || !flush() || !file.commit())
        throw Exception(QStringLiteral("XML-filen ") + fileName + QStringLiteral(" kunne ikke gemmes") +
                        CrLf + file.errorString());
}
