#include "model/D_StaevneDataTabel.h"

#include "foundation/Exception.h"
#include "foundation/LxString.h"
#include "foundation/Windows1252.h"
#include "model/D_Ovelser.h"
#include "model/D_Vare.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using K = TStaevneDataTabel::TKolonneArt;

// Numbers kept in 2-byte fields.
constexpr qint32 HoejesteNummer = std::numeric_limits<qint16>::max();
constexpr int PrisDecimaler = 2;

QString Quoted(const QString& text) {
    return u'"' + text + u'"';
}

// A whole number from low to HoejesteNummer; raises naming what it is.
qint32 Nummer(const QString& text, qint32 low, const QString& hvad) {
    bool ok = false;
    const qint32 value = TrimBlanks(text).toInt(&ok);
    if (!ok || value < low || value > HoejesteNummer)
        throw Exception(hvad + u' ' + Quoted(TrimBlanks(text)) +
                        QStringLiteral(" skal være et helt tal fra ") + QString::number(low) +
                        QStringLiteral(" til ") + QString::number(HoejesteNummer));
    return value;
}

double Pris(const QString& text) {
    const QString trimmed = TrimBlanks(text);
    if (trimmed.isEmpty())
        return 0;
    double value = 0;
    try {
        value = CommaStrToFloat(trimmed);
    } catch (const Exception&) {
        throw Exception(QStringLiteral("Prisen ") + Quoted(trimmed) + QStringLiteral(" er ikke et beløb"));
    }
    const double scaled = value * std::pow(10.0, PrisDecimaler);
    if (!std::isfinite(value) || value < 0 || std::abs(scaled - std::round(scaled)) > 1e-6)
        throw Exception(QStringLiteral("Prisen ") + Quoted(trimmed) +
                        QStringLiteral(" skal være et beløb på 0 eller mere med højst 2 decimaler"));
    return value;
}

// ---------------------------------------------------------------- the four tables

class TKlasseTabel : public TStaevneDataTabel {
public:
    explicit TKlasseTabel(TOvelseManager& ovelser)
        : TStaevneDataTabel(ovelser.KlasseList(),
                            {{QStringLiteral("#"), K::Nummer, KlasseField::Sortkode, 30, 0},
                             {QStringLiteral("Klasse"), K::Kode, KlasseField::Klasse, 50, 3},
                             {QStringLiteral("Navn"), K::Tekst, KlasseField::Korttekst, 150, 20},
                             {QStringLiteral("Beskrivelse"), K::Tekst, KlasseField::Langtekst, 300, 80}},
                            QStringLiteral("Klasse skal udfyldes."),
                            QStringLiteral("Klasse er allerede oprettet."))
        , ovelser_(ovelser) {}

protected:
    TDataElement* NewRecord(const QString& kode) override { return ovelser_.AddKlasse(kode); }
    QString InUse(const TDataElement& record) override {
        const QString kode = record.GetTrimmedString(KlasseField::Klasse);
        if (!ovelser_.IsKlasseUsed(kode))
            return {};
        return QStringLiteral("Kan ikke slette klasse ") + Quoted(kode) +
               QStringLiteral(", da der findes øvelser i klassen.");
    }

private:
    TOvelseManager& ovelser_;
};

class TAfvStedTabel : public TStaevneDataTabel {
public:
    explicit TAfvStedTabel(TOvelseManager& ovelser)
        : TStaevneDataTabel(ovelser.AfvStedList(),
                            {{QStringLiteral("#"), K::Nummer, AfvStedField::Sortkode, 30, 0},
                             {QStringLiteral("Sted"), K::Kode, AfvStedField::Sted, 90, 10},
                             {QStringLiteral("Beskrivelse"), K::Tekst, AfvStedField::Tekst, 300, 50}},
                            QStringLiteral("Afviklingssted skal udfyldes."),
                            QStringLiteral("Afviklingssted er allerede oprettet."))
        , ovelser_(ovelser) {}

protected:
    TDataElement* NewRecord(const QString& kode) override { return ovelser_.AddAfvSted(kode); }
    QString InUse(const TDataElement& record) override {
        const QString kode = record.GetTrimmedString(AfvStedField::Sted);
        if (!ovelser_.IsAfvStedUsed(kode))
            return {};
        return QStringLiteral("Kan ikke slette afviklingssted ") + Quoted(kode) +
               QStringLiteral(", da der findes oprettede øvelser på stedet.");
    }

private:
    TOvelseManager& ovelser_;
};

class TGruppeTabel : public TStaevneDataTabel {
public:
    explicit TGruppeTabel(TVareManager& varer)
        : TStaevneDataTabel(varer.GruppeList(),
                            {{QStringLiteral("#"), K::Nummer, -1, 30, 0},
                             {QStringLiteral("Gruppe"), K::Kode, GruppeField::Gruppe, 60, 0},
                             {QStringLiteral("Tekst"), K::Tekst, GruppeField::Tekst, 300, 50}},
                            QStringLiteral("Gruppe skal udfyldes."),
                            QStringLiteral("Gruppe er allerede oprettet."))
        , varer_(varer) {}

protected:
    TDataElement* NewRecord(const QString& kode) override { return varer_.AddGruppe(kode); }
    QString InUse(const TDataElement& record) override {
        const qint32 gruppe = record.GetField(GruppeField::Gruppe)->GetAsInteger();
        if (!varer_.IsGruppeUsed(gruppe))
            return {};
        return QStringLiteral("Kan ikke slette gruppe ") + Quoted(QString::number(gruppe)) +
               QStringLiteral(", da den er i brug.");
    }

private:
    TVareManager& varer_;
};

class TVareTabel : public TStaevneDataTabel {
public:
    explicit TVareTabel(TVareManager& varer)
        : TStaevneDataTabel(varer.VareList(),
                            {{QStringLiteral("#"), K::Nummer, -1, 30, 0},
                             {QStringLiteral("Varenummer"), K::Kode, VareField::Varenummer, 90, 0},
                             {QStringLiteral("Gruppe"), K::Gruppe, VareField::Gruppe, 60, 0},
                             {QStringLiteral("Tekst"), K::Tekst, VareField::Korttekst, 220, 30},
                             {QStringLiteral("Pris"), K::Pris, VareField::Pris, 80, 0}},
                            QStringLiteral("Varenummer skal udfyldes."),
                            QStringLiteral("Vare er allerede oprettet."))
        , varer_(varer) {}

protected:
    TDataElement* NewRecord(const QString& kode) override { return varer_.AddVare(kode); }
    QString InUse(const TDataElement& record) override {
        const qint32 nummer = record.GetField(VareField::Varenummer)->GetAsInteger();
        if (!varer_.IsVareUsed(nummer))
            return {};
        return QStringLiteral("Kan ikke slette vare ") + Quoted(QString::number(nummer)) +
               QStringLiteral(", da der findes registreringer på varen.");
    }
    bool GruppeFindes(const QString& gruppe) override {
        int pos = -1;
        return varer_.FindGruppe(gruppe, pos);
    }

private:
    TVareManager& varer_;
};

} // namespace

// ---------------------------------------------------------------- the family

TStaevneDataTabel::TStaevneDataTabel(TDataList& list, std::vector<TKolonne> kolonner, QString mangler,
                                     QString findes)
    : list_(list)
    , kolonner_(std::move(kolonner))
    , mangler_(std::move(mangler))
    , findes_(std::move(findes)) {
    for (std::size_t i = 0; i < kolonner_.size(); ++i) {
        if (kolonner_[i].Art == K::Nummer && kolonner_[i].FieldNo >= 0)
            sortkode_ = static_cast<int>(i);
    }
}

TStaevneDataTabel::~TStaevneDataTabel() = default;

int TStaevneDataTabel::KodeKolonne() const {
    for (std::size_t i = 0; i < kolonner_.size(); ++i) {
        if (kolonner_[i].Art == K::Kode)
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<TDataElement*> TStaevneDataTabel::Records() {
    std::vector<TDataElement*> records;
    for (int pos = 0; pos < list_.GetCount(); ++pos) {
        TDataElement* record = list_.GetElement(pos);
        if (!record->DeleteRequested && !record->Deleted)
            records.push_back(record);
    }
    // Sort codes changed since the list was ordered still give the order.
    if (sortkode_ >= 0) {
        const int fieldNo = kolonner_[static_cast<std::size_t>(sortkode_)].FieldNo;
        std::stable_sort(
            records.begin(), records.end(), [fieldNo](const TDataElement* a, const TDataElement* b) {
                return a->GetField(fieldNo)->GetAsInteger() < b->GetField(fieldNo)->GetAsInteger();
            });
    }
    return records;
}

QString TStaevneDataTabel::CellText(const TDataElement& record, int kolonne, int row) const {
    const TKolonne& k = kolonner_.at(static_cast<std::size_t>(kolonne));
    if (k.FieldNo < 0)
        return QString::number(row);
    const TField* field = record.GetField(k.FieldNo);
    switch (k.Art) {
    case K::Pris:
        return FloatToStrDec(field->GetAsFloat(), PrisDecimaler);
    case K::Gruppe:
        return field->GetAsInteger() == 0 ? QString() : QString::number(field->GetAsInteger());
    case K::Nummer:
        return QString::number(field->GetAsInteger());
    case K::Kode:
    case K::Tekst:
        break;
    }
    return field->GetTrimmedString();
}

void TStaevneDataTabel::CheckCell(int kolonne, const QString& text) {
    const TKolonne& k = kolonner_.at(static_cast<std::size_t>(kolonne));
    if (k.FieldNo < 0)
        return;
    switch (k.Art) {
    case K::Nummer:
        // A new row has none yet: it is numbered with the others.
        if (!TrimBlanks(text).isEmpty())
            Nummer(text, 0, QStringLiteral("Nummeret"));
        return;
    case K::Kode:
        if (k.MaxLength == 0)
            Nummer(text, 1, k.Overskrift);
        else
            CheckTekst(TrimBlanks(text), k.MaxLength, k.Overskrift);
        return;
    case K::Tekst:
        CheckTekst(text, k.MaxLength, k.Overskrift);
        return;
    case K::Gruppe:
        if (TrimBlanks(text).isEmpty())
            return;
        Nummer(text, 1, k.Overskrift);
        if (!GruppeFindes(text))
            throw Exception(QStringLiteral("Gruppe ") + TrimBlanks(text) + QStringLiteral(" findes ikke."));
        return;
    case K::Pris:
        Pris(text);
        return;
    }
}

void TStaevneDataTabel::SetCell(TDataElement& record, int kolonne, const QString& text) {
    const TKolonne& k = kolonner_.at(static_cast<std::size_t>(kolonne));
    if (k.FieldNo < 0 || k.Art == K::Kode)
        return;
    CheckCell(kolonne, text);
    TField* field = record.GetField(k.FieldNo);
    switch (k.Art) {
    case K::Nummer:
    case K::Gruppe:
        field->SetAsInteger(TrimBlanks(text).isEmpty() ? 0 : TrimBlanks(text).toInt());
        return;
    case K::Pris:
        field->SetAsFloat(Pris(text));
        return;
    case K::Kode:
    case K::Tekst:
        field->SetAsString(TrimBlanks(text));
        return;
    }
}

TDataElement& TStaevneDataTabel::Add(const QStringList& cells) {
    const int kodeKolonne = KodeKolonne();
    const TKolonne& kodeFelt = kolonner_[static_cast<std::size_t>(kodeKolonne)];
    QString kode = TrimBlanks(cells.value(kodeKolonne));
    if (kode.isEmpty())
        throw Exception(mangler_);
    for (int kolonne = 0; kolonne < static_cast<int>(kolonner_.size()); ++kolonne)
        CheckCell(kolonne, cells.value(kolonne));
    // Numbers compare as numbers, codes trimmed and upper-cased.
    if (kodeFelt.MaxLength == 0)
        kode = QString::number(kode.toInt());
    TDataElement* deleted = nullptr;
    for (int raw = 0; raw < list_.GetCount(); ++raw) {
        TDataElement* record = list_.GetRawElement(raw);
        if (record->Deleted ||
            TrimBlanks(record->GetField(kodeFelt.FieldNo)->GetAsString()).toUpper() != kode.toUpper())
            continue;
        if (!record->DeleteRequested)
            throw Exception(findes_);
        deleted = record;
    }
    // A record deleted in this session and typed again comes back.
    TDataElement* record = deleted;
    if (record != nullptr)
        record->DeleteRequested = false;
    else
        record = NewRecord(kode);
    if (record == nullptr)
        throw Exception(findes_);
    for (int kolonne = 0; kolonne < static_cast<int>(kolonner_.size()); ++kolonne)
        SetCell(*record, kolonne, cells.value(kolonne));
    return *record;
}

void TStaevneDataTabel::Delete(TDataElement& record) {
    if (const QString refusal = InUse(record); !refusal.isEmpty())
        throw Exception(refusal);
    record.DeleteRequested = true;
}

void TStaevneDataTabel::Nummerer(const std::vector<TDataElement*>& rows) {
    if (sortkode_ < 0)
        return;
    const int fieldNo = kolonner_[static_cast<std::size_t>(sortkode_)].FieldNo;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        TField* field = rows[i]->GetField(fieldNo);
        if (field->GetAsInteger() != static_cast<qint32>(i + 1))
            field->SetAsInteger(static_cast<qint32>(i + 1));
    }
}

bool TStaevneDataTabel::GruppeFindes(const QString&) {
    return true;
}

std::unique_ptr<TStaevneDataTabel> KlasseTabel(TOvelseManager& ovelser) {
    return std::make_unique<TKlasseTabel>(ovelser);
}

std::unique_ptr<TStaevneDataTabel> AfvStedTabel(TOvelseManager& ovelser) {
    return std::make_unique<TAfvStedTabel>(ovelser);
}

std::unique_ptr<TStaevneDataTabel> GruppeTabel(TVareManager& varer) {
    return std::make_unique<TGruppeTabel>(varer);
}

std::unique_ptr<TStaevneDataTabel> VareTabel(TVareManager& varer) {
    return std::make_unique<TVareTabel>(varer);
}

void CheckTekst(const QString& text, int maxLength, const QString& hvad) {
    if (Windows1252::Decode(Windows1252::Encode(text)) != text)
        throw Exception(hvad + u' ' + Quoted(text) +
                        QStringLiteral(" kan kun indeholde tegn fra tegnsættet Windows-1252"));
    if (maxLength > 0 && text.size() > maxLength)
        throw Exception(hvad + u' ' + Quoted(text) + QStringLiteral(" er for lang: højst ") +
                        QString::number(maxLength) + QStringLiteral(" tegn"));
}
