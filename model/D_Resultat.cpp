// One result row: its columns, setters, predicates, orders, texts and derived numbers.
#include "model/D_Result.h"

#include "foundation/LxString.h"
#include "model/D_Ovelser.h"
#include "model/D_PointBeregning.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"

#include <limits>
#include <utility>

namespace {

constexpr qint32 Word = 0xFFFF;
constexpr qint32 SmallMin = std::numeric_limits<qint16>::min();
constexpr qint32 SmallMax = std::numeric_limits<qint16>::max();
constexpr int MaxAlder = 125;
constexpr int HeatOrderNone = 9999;

// A value that does not fit where it is stored is refused rather than cut.
qint32 Checked(qint32 value, qint32 low, qint32 high, const QString& what) {
    if (value < low || value > high)
        throw EResultError(QStringLiteral("%1 skal være et tal fra %2 til %3").arg(what).arg(low).arg(high));
    return value;
}

qint32 ParseInteger(const QString& text) {
    return TrimBlanks(text).isEmpty() ? 0 : ParseOvelseInteger(text);
}

QString CharText(QChar c) {
    return c.isNull() ? QString() : QString(c);
}

template <typename T, typename V>
void Assign(T& field, V value, bool& modified) {
    if (field != static_cast<T>(value)) {
        field = static_cast<T>(value);
        modified = true;
    }
}

bool IsDeltagerColumn(TResultColumn column) {
    return column == TResultColumn::Navn || column == TResultColumn::Aargang ||
           column == TResultColumn::Koen || column == TResultColumn::Licensnummer;
}

} // namespace

TResultat::TResultat(TResultatManager* manager, TOvelseInfo* ovelseInfo)
    : Manager(manager)
    , OvelseInfo(ovelseInfo)
    , Serier(this) {}

TResultat::~TResultat() = default;

qint32 TResultat::Ovtype() const {
    return OvelseInfo ? OvelseInfo->Ovelse().GetOvtype() : 0;
}

bool TResultat::IsSerieOvelse() const {
    return OvelseInfo && OvelseInfo->Ovelse().IsSerieOvelse();
}

bool TResultat::IsVindPrForsog() const {
    return OvelseInfo && OvelseInfo->IsVindPrForsog();
}

QString TResultat::FormatMark(qint32 value) const {
    return OvelseInfo ? FormatOvelseResultatNoWind(*OvelseInfo, value) : FormatResultat(0, value);
}

qint32 TResultat::ParseMark(const QString& text) const {
    return OvelseInfo ? ParseOvelseResultat(*OvelseInfo, text) : ParseResultat(0, text);
}

// ---------------------------------------------------------------- result code

quint8 ResKodeStatus(const QString& text) {
    if (IsKodeBlank(text))
        return 0;
    switch (text.at(0).toUpper().unicode()) {
    case u'D':
        return 2;
    case u'U':
        return 3;
    case u'V':
        return 4;
    case u'A':
        return 5;
    case u'E':
        return 6;
    default:
        return 7;
    }
}

quint8 UdenforKonkStatus(const QString& text) {
    if (text.isEmpty())
        return 0;
    const QChar first = text.at(0);
    if (first.toUpper() == u'U')
        return UdenforKonkUK;
    return first == u'-' || first == QChar(1) ? UdenforKonkHold : 0;
}

// ---------------------------------------------------------------- setters

// A text is kept as long as its column is stored.
void TResultat::SetText(QString& field, const QString& value, TResultColumn column) {
    Assign(field, value.left(ResultColumnStorageSize(column)), Modified);
}

// A code is assigned whole, so that it keeps its status.
template <quint8 (*StatusOf)(const QString&)>
void TResultat::SetKode(TStatusKode<StatusOf>& field, const QString& value, TResultColumn column) {
    const QString kept = value.left(ResultColumnStorageSize(column));
    if (field != kept) {
        field = kept;
        Modified = true;
    }
}

void TResultat::SetHeat(qint32 value) {
    Assign(Heat, Checked(value, 0, MaxHeatNr, QStringLiteral("Heat")), Modified);
}

void TResultat::SetRank(qint32 value) {
    Assign(Rank, Checked(value, 0, Word, QStringLiteral("Rank")), Modified);
}

void TResultat::SetEfter(qint32 value) {
    Assign(Efter, Checked(value, 0, Word, QStringLiteral("Efteranmeldelse")), Modified);
}

void TResultat::SetRK(const QString& value) {
    SetKode(RK, value, TResultColumn::RK);
}

void TResultat::SetBem(const QString& value) {
    SetText(Bem, value, TResultColumn::Bem);
}

void TResultat::SetBem2(const QString& value) {
    SetText(Bem2, value, TResultColumn::Bem2);
}

void TResultat::SetTusindedele(qint32 value) {
    Assign(Tusindedele, Checked(value, 0, Word, QStringLiteral("Tusindedele")), Modified);
}

void TResultat::SetSeedning(qint32 value) {
    Assign(Seedning, value, Modified);
}

void TResultat::SetSG(qint32 value) {
    Assign(SG, Checked(value, SmallMin, SmallMax, QStringLiteral("Seedningsgruppe")), Modified);
}

void TResultat::SetResultat(qint32 value) {
    Assign(Resultat, value, Modified);
}

void TResultat::SetReaktion(qint32 value) {
    Assign(Reaktion, Checked(value, SmallMin, SmallMax, QStringLiteral("Reaktion")), Modified);
}

void TResultat::SetPR(qint32 value) {
    Assign(PR, value, Modified);
}

void TResultat::SetPK(qint32 value) {
    Assign(PK, Checked(value, 0, Word, QStringLiteral("PK")), Modified);
}

void TResultat::SetPlac(qint32 value) {
    Assign(Plac, Checked(value, 0, Word, QStringLiteral("Placering")), Modified);
}

void TResultat::SetSide(qint32 value) {
    Assign(Side, Checked(value, 0, Word, QStringLiteral("Side")), Modified);
}

void TResultat::SetBane(qint32 value) {
    Assign(Bane, Checked(value, 0, Word, QStringLiteral("Bane")), Modified);
}

void TResultat::SetVK(const QString& value) {
    SetText(VK, value, TResultColumn::VK);
}

void TResultat::SetPoint(double value) {
    Assign(Point, value, Modified);
}

void TResultat::SetPoint3(qint32 value) {
    Assign(Point3, Checked(value, SmallMin, SmallMax, QStringLiteral("Point3")), Modified);
}

qint32 TResultat::CheckedVind(qint32 value) {
    return Checked(value, SmallMin, SmallMax, QStringLiteral("Vind"));
}

void TResultat::SetVind(qint32 value) {
    Assign(Vind, CheckedVind(value), Modified);
}

void TResultat::SetUK(const QString& value) {
    SetKode(UK, value, TResultColumn::UK);
}

void TResultat::SetVTPoint(qint32 value) {
    Assign(VTPoint, value, Modified);
}

// ---------------------------------------------------------------- columns

std::optional<TResultColumn> ResultColumnOf(int id) {
    if (id < FirstResultColumn || id > LastResultColumn)
        return std::nullopt;
    return static_cast<TResultColumn>(id);
}

QString ResultColumnText(TResultColumn column) {
    const TResultColumnDef* def = FindResultColumnDef(column);
    return def ? QString::fromUtf8(def->Text) : QString();
}

QString TResultat::GetFieldEditText(TResultColumn column) const {
    return GetFieldText(column);
}

QString TResultat::GetFieldText(TResultColumn column) const {
    // A mark of 0 is no mark; a field event's 0 result with attempts is a foul ("X").
    const auto mark = [this](qint32 value) { return value == 0 ? QString() : FormatMark(value); };
    switch (column) {
    case TResultColumn::Startnummer:
        return IntStr(Startnummer);
    case TResultColumn::Heat:
        return IntStr(Heat);
    case TResultColumn::PK:
        return IntStr(PK);
    case TResultColumn::Plac:
        return IntStr(Plac);
    case TResultColumn::Side:
        return IntStr(Side);
    case TResultColumn::Bane:
        return IntStr(Bane);
    case TResultColumn::Aargang:
        return IntStr(Aargang);
    case TResultColumn::Rank:
        return IntStr(Rank);
    case TResultColumn::Licensnummer:
        return IntStr(Licensnummer);
    case TResultColumn::Point3:
        return IntStr(Point3);
    case TResultColumn::SG:
        return IntStr(SG);
    case TResultColumn::Tusindedele:
        return IntStr(Tusindedele);
    case TResultColumn::Efter:
        return FormatJaNej(Efter != 0);
    case TResultColumn::RK:
        return FormatResKodeTekst(RK);
    case TResultColumn::Seedning:
        return mark(Seedning);
    case TResultColumn::Resultat:
    case TResultColumn::ResultatKopi:
        if (Resultat == 0 && !IsTidOvtype(Ovtype()) && HasSerier())
            return FormatMark(0);
        return mark(Resultat);
    case TResultColumn::VK:
        return VK;
    case TResultColumn::Navn:
        return Navn;
    case TResultColumn::Klub:
        return Klub;
    case TResultColumn::Bem:
        return Bem;
    case TResultColumn::KortNavn:
        return KortNavn;
    case TResultColumn::Klasse:
        return Klasse;
    case TResultColumn::Ovelse:
        return Ovelse;
    case TResultColumn::Bem2:
        return Bem2;
    case TResultColumn::AlderRes:
        return mark(GetAlderRes());
    case TResultColumn::Vind:
        return FormatVind(Vind);
    case TResultColumn::PR:
        return mark(PR);
    case TResultColumn::NavnAargang:
        return GetNavnAargang();
    case TResultColumn::NavnAargangKlub:
        return GetNavnAargangKlub();
    case TResultColumn::Point: {
        const TSystemData& data = CurrentSystemData();
        return FloatToStrDec(Point, data.DT || data.ECup2007 ? 2 : data.AntalPointDec);
    }
    case TResultColumn::Holdkode:
        return CharText(Holdkode);
    case TResultColumn::Koen:
        return CharText(Koen);
    case TResultColumn::Runde:
        return CharText(Runde);
    case TResultColumn::UK:
        return FormatUdenforKonk(UK);
    case TResultColumn::ScanningTid:
        return mark(ScanningTid);
    case TResultColumn::Reaktion:
        return FormatOvelseInteger(Reaktion);
    case TResultColumn::Match:
    default:
        return QStringLiteral("???");
    }
}

void TResultat::SetParticipantField(TResultColumn column, const QString& text) {
    switch (column) {
    case TResultColumn::Navn:
        Navn = text.left(ResultColumnStorageSize(TResultColumn::Navn));
        break;
    case TResultColumn::Aargang:
        Aargang = static_cast<quint16>(Checked(ParseInteger(text), 0, Word, QStringLiteral("Årgang")));
        break;
    case TResultColumn::Licensnummer:
        Licensnummer =
            static_cast<quint16>(Checked(ParseInteger(text), 0, Word, QStringLiteral("Licensnummer")));
        break;
    default: {
        const QString koen = TrimBlanks(text);
        Koen = koen.isEmpty() ? QChar() : koen.at(0);
        break;
    }
    }
}

void TResultat::SetFieldText(TResultColumn column, const QString& text) {
    const QString before = GetFieldText(column);
    switch (column) {
    case TResultColumn::Startnummer:
        Startnummer = ParseInteger(text);
        break;
    case TResultColumn::Heat:
        SetHeat(ParseInteger(text));
        break;
    case TResultColumn::PK:
        SetPK(ParseInteger(text));
        break;
    case TResultColumn::Plac:
        SetPlac(ParseInteger(text));
        break;
    case TResultColumn::Side:
        SetSide(ParseInteger(text));
        break;
    case TResultColumn::Bane:
        SetBane(ParseInteger(text));
        break;
    case TResultColumn::Rank:
        SetRank(ParseInteger(text));
        break;
    case TResultColumn::Point3:
        SetPoint3(ParseInteger(text));
        break;
    case TResultColumn::SG:
        SetSG(ParseInteger(text));
        break;
    case TResultColumn::Tusindedele:
        SetTusindedele(ParseInteger(text));
        break;
    case TResultColumn::Efter:
        SetEfter(ParseJaNej(TrimBlanks(text)) ? 1 : 0);
        break;
    case TResultColumn::RK:
        SetRK(ParseResKode(TrimBlanks(text)));
        break;
    case TResultColumn::Seedning:
        SetSeedning(ParseMark(text));
        break;
    case TResultColumn::PR:
        SetPR(ParseMark(text));
        break;
    case TResultColumn::ScanningTid:
        ScanningTid = ParseMark(text);
        break;
    case TResultColumn::Resultat: {
        const qint32 value = ParseMark(text);
        if (value != 0)
            CheckHeat();
        SetResultat(value);
        break;
    }
    case TResultColumn::VK:
        SetVK(text);
        break;
    case TResultColumn::Vind:
        SetVind(ParseVindTekst(text));
        break;
    case TResultColumn::Bem:
        SetBem(text);
        break;
    case TResultColumn::Bem2:
        SetBem2(text);
        break;
    case TResultColumn::Point:
        SetPoint(TrimBlanks(text).isEmpty() ? 0.0 : CommaStrToFloat(TrimBlanks(text)));
        break;
    case TResultColumn::UK:
        SetUK(ParseUdenforKonk(TrimBlanks(text)));
        break;
    case TResultColumn::Reaktion:
        SetReaktion(ParseInteger(text));
        break;
    case TResultColumn::Navn:
    case TResultColumn::Aargang:
    case TResultColumn::Koen:
    case TResultColumn::Licensnummer:
        SetParticipantField(column, text);
        break;
    default:
        return;
    }
    if (GetFieldText(column) != before) {
        if (IsDeltagerColumn(column))
            DeltagerModified = true;
        else
            Modified = true;
    }
}

// ---------------------------------------------------------------- predicates

bool TResultat::HasResultat() const {
    return Resultat != 0 || IsResKodeDiskUdgaaet(RK) ||
           (IsSerieOvelse() && Ovtype() != int(TOvtype::Stafet) && HasSerier());
}

bool TResultat::HasStarted() const {
    return IsResKodeStarted(RK);
}

bool TResultat::IsAfbud() const {
    return IsResKodeAfbud(ParseResKode(TrimBlanks(RK)));
}

bool TResultat::IsEjMoedt() const {
    return IsResKodeEjMoedt(ParseResKode(TrimBlanks(RK)));
}

bool TResultat::IsVenter() const {
    return IsResKodeVenter(ParseResKode(TrimBlanks(RK)));
}

bool TResultat::IsVindLegal() const {
    return !OvelseInfo || !OvelseInfo->HasVindmaaling() || !HasResultat() || IsLegalVind(Vind);
}

bool TResultat::IsKvinde() const {
    const auto female = [](QChar c) { return c.toUpper() == u'K' || c.toUpper() == u'P'; };
    if (!Koen.isNull() && Koen != u' ')
        return female(Koen);
    const QString klasse = TrimBlanks(Klasse);
    return !klasse.isEmpty() && female(klasse.at(0));
}

// ---------------------------------------------------------------- orders

int TResultat::GetStatusOrderUK() const {
    if (IsValid() && IsUK())
        return HasHeat() ? 11 : 21;
    return GetStatusOrder();
}

int TResultat::GetHeatOrder() const {
    return Heat == 0 ? HeatOrderNone : Heat;
}

// ---------------------------------------------------------------- texts

QString TResultat::GetFormattedNavn() const {
    return CurrentSystemData().UndladInternationaltNavn ? Navn : FormatSurnameFirst(Navn);
}

QString TResultat::GetNavnAargang() const {
    QString text = GetFormattedNavn();
    if (Aargang != 0)
        text += QStringLiteral(" -") + IntStr(Aargang);
    if (Manager && Manager->OvelseCount() > 1)
        text += QStringLiteral(" (") + TrimBlanks(Klasse) + u')';
    return text;
}

QString TResultat::GetNavnAargangKlub() const {
    const QString text = GetNavnAargang();
    return Klub.isEmpty() ? text : text + QStringLiteral(", ") + Klub;
}

QString TResultat::GetBaneSide() const {
    if (Bane != 0 && Side != 0)
        return IntStr(Bane) + u'-' + IntStr(Side);
    if (Bane != 0)
        return IntStr(Bane);
    return Side != 0 ? IntStr(Side) : QString();
}

// ---------------------------------------------------------------- derived numbers

int TResultat::CalcAlder(int aargang) const {
    if (aargang == 0 || !OvelseInfo)
        return 0;
    const QDate dato = DateTimeToQDate(OvelseInfo->GetDato());
    if (!dato.isValid())
        return 0;
    const int year = aargang <= 99 ? 1900 + aargang : aargang;
    const int alder = dato.year() - year;
    return alder >= 0 && alder <= MaxAlder ? alder : 0;
}

int TResultat::GetAlder() const {
    return CalcAlder(Aargang);
}

qint32 TResultat::GetPRForbedring() const {
    if (!IsValid() || IsUK() || IsUdenforHold() || Resultat == 0 || PR == 0 || !IsVindLegal())
        return 0;
    const bool tid = IsTidOvtype(Ovtype());
    const qint32 eltidKorr =
        OvelseInfo ? OvelseInfo->Ovelse().GetField(OvelseField::EltidKorr)->GetAsInteger() : 0;
    // Times are packed digits: compared in hundredths, a hand time with its timing correction.
    const auto value = [&](qint32 mark) -> qint64 {
        if (!tid)
            return mark;
        return TidToHundredths(mark < 0 ? -mark * 10 + eltidKorr : mark);
    };
    const qint64 forbedring = tid ? value(PR) - value(Resultat) : value(Resultat) - value(PR);
    return forbedring > 0 ? static_cast<qint32>(forbedring) : 0;
}

qint32 TResultat::GetAlderRes() const {
    return OvelseInfo ? CalcAlderRes(IsKvinde(), OvelseInfo->GetOvelseKode(), GetAlder(), Resultat) : 0;
}

qint32 TResultat::GetAlderRes2() const {
    return OvelseInfo ? CalcAlderRes2(IsKvinde(), OvelseInfo->GetOvelseKode(), GetAlder(), Resultat) : 0;
}

qint32 TResultat::GetPlaceringsPoint(int table) const {
    const TPlaceringsPoint* points = Manager ? Manager->PlaceringsPoint(table) : nullptr;
    return points && Resultat != 0 ? points->GetPoint(Plac) : 0;
}

qint32 TResultat::GetPlaceringsPoint1() const {
    return GetPlaceringsPoint(1);
}

qint32 TResultat::GetPlaceringsPoint2() const {
    return GetPlaceringsPoint(2);
}

qint32 TResultat::GetPlaceringsPoint3() const {
    return GetPlaceringsPoint(3);
}

qint32 TResultat::GetPlaceringsPoint4() const {
    return GetPlaceringsPoint(4);
}

qint32 TResultat::VeteranPoint(qint32 alderRes, const TPointTabel* menTable,
                               const TPointTabel* womenTable) const {
    if (!IsValid() || IsUK() || IsUdenforHold() || !HasResultat())
        return 0;
    const TPointTabel* table = IsKvinde() ? womenTable : menTable;
    if (!table)
        return 0;
    if (IsTidOvtype(Ovtype()) && alderRes < 1)
        alderRes = table->EltidKorr - 10 * alderRes;
    return table->GetPoint(alderRes);
}

qint32 TResultat::GetVeteranPoint(const TPointTabel* menTable, const TPointTabel* womenTable) const {
    return VeteranPoint(GetAlderRes(), menTable, womenTable);
}

qint32 TResultat::GetVeteranPoint2(const TPointTabel* menTable, const TPointTabel* womenTable) const {
    return VeteranPoint(GetAlderRes2(), menTable, womenTable);
}

namespace {

// The sum of a field of this start number's rows over the disciplines of a combined event.
template <typename T>
T SumDisciplines(const TResultatManager* manager, qint32 startnummer, T TResultat::*field) {
    T sum = 0;
    for (int i = 0; manager && i < manager->MKResultatCount(); ++i) {
        const TMKResultat& discipline = *manager->GetMKResultat(i);
        const int at = discipline.IndexOfStartnummer(startnummer);
        if (at >= 0)
            sum += discipline.GetResultat(at)->*field;
    }
    return sum;
}

} // namespace

double TResultat::GetMKPoint() {
    if (MKPointSum < 0)
        MKPointSum = SumDisciplines(Manager, Startnummer, &TResultat::Point);
    return Point + MKPointSum;
}

qint32 TResultat::GetMKPoint3() {
    if (MKPoint3Sum < 0)
        MKPoint3Sum = SumDisciplines(Manager, Startnummer, &TResultat::Point3);
    return Point3 + MKPoint3Sum;
}

void TResultat::CheckHeat() const {
    // A fun run is not run in heats: its runners take results without one.
    if (Heat == 0 && !CurrentSystemData().Motionsloeb)
        throw EResultError(QStringLiteral("Ikke tilladt at indlægge resultat på heat 0"));
}
