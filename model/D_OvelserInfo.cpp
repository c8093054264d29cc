#include "model/D_Ovelser.h"

#include "model/D_OvelserCodes.h"
#include "model/D_OvelserKeys.h"

#include "foundation/LxString.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"

#include <QStringBuilder>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace {

qint32 Int(const TDataElement& element, int fieldNo) {
    return element.GetField(fieldNo)->GetAsInteger();
}

double Fraction(TDateTime value) {
    return value - std::trunc(value);
}

// The number right-justified in width with fill, as RightJustify gives its text (a longer one keeps its
// rightmost characters), appended without a text of its own: the keys are made for every round.
void AppendNumber(QString& to, qint64 value, int width, char fill) {
    std::array<char, 24> digits{};
    const int n = static_cast<int>(std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr -
                                   digits.data());
    for (int i = n; i < width; ++i)
        to.append(QLatin1Char(fill));
    to.append(QLatin1StringView(digits.data() + std::max(0, n - width), std::min(n, width)));
}

constexpr int SortCodeWidth = 5;

QString SortCode(qint32 value) {
    QString code;
    AppendNumber(code, value, SortCodeWidth, ' ');
    return code;
}

// "yyyymmddhhnnss" of the stored date and time as they stand: no time zone takes part.
QString StampKey(TDateTime value) {
    const QDate date = DateTimeToQDate(value);
    if (!date.isValid() || date.year() < 0)
        return QString(14, u'0');
    const QTime time = DateTimeToQTime(value);
    QString key;
    key.reserve(14);
    AppendNumber(key, date.year(), 4, '0');
    for (const int part : {date.month(), date.day(), time.hour(), time.minute(), time.second()})
        AppendNumber(key, part, 2, '0');
    return key;
}

} // namespace

TOvelseInfo::TOvelseInfo(TOvelseElement& ovelse, TOvDefElement* ovDef, TKlasseElement& klasse,
                         TOvelseRkElement& ovelseRk, TOvelseRnElement& ovelseRn, TAfvStedElement& afvSted)
    : ovelse_(&ovelse)
    , ovDef_(ovDef)
    , klasse_(&klasse)
    , ovelseRk_(&ovelseRk)
    , ovelseRn_(&ovelseRn)
    , afvSted_(&afvSted) {}

void TOvelseInfo::AddPoint(const QString& key, const QString& name, const QString& extraText,
                           qint32 placering, double points) {
    if (points != 0)
        points_.Add(key, name, extraText, placering, points);
}

// ---------------------------------------------------------------- codes

QString TOvelseInfo::GetKlasseKode() const {
    return klasse_->GetTrimmedString(KlasseField::Klasse);
}

QString TOvelseInfo::GetOvelseKode() const {
    return ovelse_->GetTrimmedString(OvelseField::Ovelse);
}

QString TOvelseInfo::GetAttributKode() const {
    return ovelseRk_->GetTrimmedString(OvelseRkField::Attribut);
}

QString TOvelseInfo::GetStedKode() const {
    return afvSted_->GetTrimmedString(AfvStedField::Sted);
}

// ---------------------------------------------------------------- date and time

int TOvelseInfo::GetUgedag() const {
    const QDate date = DateTimeToQDate(ovelseRn_->GetField(OvelseRnField::DatoTid)->GetAsFloat());
    return date.isValid() ? date.dayOfWeek() : 0;
}

TDateTime TOvelseInfo::GetDato() const {
    return std::trunc(ovelseRn_->GetField(OvelseRnField::DatoTid)->GetAsFloat());
}

TDateTime TOvelseInfo::GetTid() const {
    return Fraction(ovelseRn_->GetField(OvelseRnField::DatoTid)->GetAsFloat()) +
           Fraction(CurrentSystemData().Dato);
}

TDateTime TOvelseInfo::GetHeatTid(int heat) const {
    return GetTid() + static_cast<double>(GetTidPrHeat()) * (heat - 1) / 86400.0;
}

QString TOvelseInfo::GetDatoTidText() const {
    const TDateTime datoTid = ovelseRn_->GetField(OvelseRnField::DatoTid)->GetAsFloat();
    const TDateTime tid = GetTid();
    if (datoTid == 0 || tid == 0)
        return {};
    // Start time and round time together may pass midnight; the clock shows the time of day.
    const qint64 minutes = std::llround(tid * 24 * 60) % (24 * 60);
    const QString klokken = QString::number(minutes / 60) + u'.' + IntToZeroStr(minutes % 60, 2);
    const QString dag = GetLongDayName(DateTimeToQDate(datoTid));
    const TSystemData& data = CurrentSystemData();
    if (data.Oversattelse)
        return dag + QStringLiteral("  ") + data.OversattelsesTekster.value(15) + u' ' + klokken;
    return dag + QStringLiteral("  kl. ") + klokken;
}

// ---------------------------------------------------------------- settings

qint32 TOvelseInfo::GetAntalPrHeat() const {
    return Int(*ovelseRn_, OvelseRnField::AntalPrHeat);
}

qint32 TOvelseInfo::GetHeatinddeling() const {
    return Int(*ovelseRn_, OvelseRnField::Heatinddeling);
}

qint32 TOvelseInfo::GetBanefordeling() const {
    return Int(*ovelseRn_, OvelseRnField::Banefordeling);
}

qint32 TOvelseInfo::GetBanenummerering() const {
    return Int(*ovelseRn_, OvelseRnField::Banenummerering);
}

qint32 TOvelseInfo::GetTidPrHeat() const {
    return Int(*ovelseRn_, OvelseRnField::TidPrHeat);
}

qint32 TOvelseInfo::GetAntalPrHold() const {
    return Int(*ovelseRn_, OvelseRnField::AntalPrHold);
}

QString TOvelseInfo::GetMKOvelse() const {
    return ovelseRk_->GetTrimmedString(OvelseRkField::MKOvelse);
}

qint32 TOvelseInfo::GetMKOvelseNr() const {
    return Int(*ovelseRk_, OvelseRkField::MKOvelseNr);
}

qint32 TOvelseInfo::GetPointBeregning() const {
    const qint32 own = Int(*ovelseRk_, OvelseRkField::PointBeregning);
    return own > 0 ? own - 1 : CurrentSystemData().PointBeregning;
}

bool TOvelseInfo::IsFinaleType1() const {
    return ovelseRn_->IsFinaleTypeABC();
}

bool TOvelseInfo::IsFinaleType2() const {
    return ovelseRn_->IsFinaleTypeCBA();
}

bool TOvelseInfo::HasVindmaaling() const {
    return Int(*ovelse_, OvelseField::Vindmaaling) != 0 && !CurrentSystemData().Indendors;
}

bool TOvelseInfo::IsVindPrHeat() const {
    const qint32 vind = Int(*ovelseRn_, OvelseRnField::Vindmaaling);
    return vind == 1 || (vind == 0 && HasVindmaaling() && ovelse_->IsTidOvelse());
}

bool TOvelseInfo::IsVindPrForsog() const {
    const qint32 vind = Int(*ovelseRn_, OvelseRnField::Vindmaaling);
    return vind == 2 || (vind == 0 && HasVindmaaling() && !ovelse_->IsTidOvelse());
}

// ---------------------------------------------------------------- rounds

QString TOvelseInfo::StoredRunde() const {
    // Asked for every cell of the overview: read from the record's bytes.
    const char16_t letter = FirstCodeLetter(*ovelseRn_, OvelseRnField::Runde);
    return letter == 0 ? QString() : QString(QChar(letter));
}

QString TOvelseInfo::Runder() const {
    return ovelseRk_->GetTrimmedString(OvelseRkField::Runder).toUpper();
}

QString TOvelseInfo::GetRunde() const {
    const QString runde = StoredRunde();
    if (!runde.isEmpty())
        return runde;
    const char16_t first = FirstCodeLetter(*ovelseRk_, OvelseRkField::Runder);
    return first == 0 ? QString() : QString(QChar(first));
}

QChar TOvelseInfo::GetNextRunde() const {
    const int nr = GetRundeNr();
    const QString runder = Runder();
    return nr >= 1 && nr < runder.size() ? runder.at(nr) : QChar(0);
}

int TOvelseInfo::GetRundeNr() const {
    const QString runde = StoredRunde();
    return runde.isEmpty() ? 1 : static_cast<int>(Runder().indexOf(runde)) + 1;
}

int TOvelseInfo::GetAntalRunder() const {
    return static_cast<int>(Runder().size());
}

bool TOvelseInfo::IsLastRunde() const {
    return GetRundeNr() == GetAntalRunder();
}

QString TOvelseInfo::RundeLevel() const {
    return RundeLevelOf(GetRunde());
}

QString TOvelseInfo::RundeLevelOf(const QString& runde) {
    const QChar c = runde.isEmpty() ? QChar() : runde.at(0);
    if (c == u'I' || c == u'K')
        return QStringLiteral(" 1");
    if (c == u'M')
        return QStringLiteral(" 2");
    if (c == u'S')
        return QStringLiteral(" 3");
    return QStringLiteral(" 4");
}

// ---------------------------------------------------------------- texts

QString TOvelseInfo::GetRundeText() const {
    return GetRundeNavn(GetRunde());
}

QString TOvelseInfo::GetKlasseText() const {
    const QString tekst = klasse_->GetTrimmedString(KlasseField::Korttekst);
    return CurrentSystemData().Motionsloeb ? GetKlasseKode() + QStringLiteral(": ") + tekst : tekst;
}

QString TOvelseInfo::GetOvelseText() const {
    const QString tekst = ovelse_->GetTrimmedString(OvelseField::Korttekst);
    if (GetAntalRunder() >= 2 || CurrentSystemData().AltidFinale)
        return tekst + QStringLiteral(" - ") + GetRundeText();
    return tekst;
}

QString TOvelseInfo::GetKlasseOvelseText() const {
    return GetKlasseText() + QStringLiteral(" - ") + GetOvelseText();
}

QString TOvelseInfo::GetKlasseOvelseKode() const {
    return GetKlasseKode() + QStringLiteral(" - ") + GetOvelseKode();
}

QString TOvelseInfo::GetAttributText() const {
    if (ovDef_ == nullptr)
        return {};
    return QStringLiteral("( ") + ovDef_->GetTrimmedString(OvDefField::Tekst) + QStringLiteral(" )");
}

QString TOvelseInfo::HeatLetter(int heat) const {
    int offset = -1;
    if (IsFinaleType1() && heat >= 1)
        offset = heat - 1;
    else if (IsFinaleType2() && heat >= 1 && heat <= MaxHeatNr)
        offset = (MaxHeatNr - heat) + (MaxHeatNr - AntalHeat);
    // Past "Z" the heat keeps its number.
    if (offset < 0 || offset >= 26)
        return {};
    return QString(QChar(u'A' + offset));
}

QString TOvelseInfo::GetHeatNavn(int heat) const {
    const QString letter = HeatLetter(heat);
    return letter.isEmpty() ? QString::number(heat) : letter;
}

QString TOvelseInfo::HeatWord(bool engelskGroup) const {
    if (ovelse_->IsTidOvelse())
        return QStringLiteral("HEAT");
    return engelskGroup && CurrentSystemData().Engelsk ? QStringLiteral("GROUP") : QStringLiteral("GRUPPE");
}

QString TOvelseInfo::GetHeatText(int heat) const {
    const QString letter = HeatLetter(heat);
    if (!letter.isEmpty())
        return letter + u'-' +
               (CurrentSystemData().Engelsk ? QStringLiteral("FINAL") : QStringLiteral("FINALE"));
    return HeatWord(false) + u' ' + QString::number(heat);
}

QString TOvelseInfo::GetHeatAntalText(int heat) const {
    if (!HeatLetter(heat).isEmpty())
        return GetHeatText(heat);
    return HeatWord(true) + u' ' + QString::number(heat) + QStringLiteral(" / ") + QString::number(AntalHeat);
}

// ---------------------------------------------------------------- keys

QString TOvelseInfo::KlasseSortKey(const QString& level) const {
    return SortCode(Int(*klasse_, KlasseField::Sortkode)) + SortCode(Int(*ovelse_, OvelseField::Sortkode)) +
           level;
}

QString TOvelseInfo::StedSortCode() const {
    return SortCode(Int(*afvSted_, AfvStedField::Sortkode));
}

QString TOvelseInfo::DatoTidKey() const {
    return StampKey(ovelseRn_->GetField(OvelseRnField::DatoTid)->GetAsFloat());
}

QString TOvelseInfo::GetKlasseSortKey() const {
    return KlasseSortKey(RundeLevel());
}

QString TOvelseInfo::GetOvelseSortKey() const {
    return SortCode(Int(*ovelse_, OvelseField::Sortkode)) + RundeLevel() +
           SortCode(Int(*klasse_, KlasseField::Sortkode));
}

QString TOvelseInfo::GetTidSortKey() const {
    return DatoTidKey() + StedSortCode() + GetKlasseSortKey();
}

QString TOvelseInfo::GetStedTidSortKey() const {
    return StedSortCode() + DatoTidKey() + GetKlasseSortKey();
}

QString TOvelseInfo::GetDatoTidKey() const {
    return DatoTidKey();
}

TOvelseInfo::TIndexKeys TOvelseInfo::GetIndexKeys() const {
    // Numbers only: the keys are made and sorted for every round of the meet.
    const QString stored = StoredRunde();
    const quint64 level = LevelNumber(stored.isEmpty() ? QStringView(Runder()).left(1) : QStringView(stored));
    const quint64 klasseNr = SortCodeNumber(Int(*klasse_, KlasseField::Sortkode));
    const quint64 ovelseNr = SortCodeNumber(Int(*ovelse_, OvelseField::Sortkode));
    const quint64 stamp = StampNumber(ovelseRn_->GetField(OvelseRnField::DatoTid)->GetAsFloat());
    const quint64 sted = SortCodeNumber(Int(*afvSted_, AfvStedField::Sortkode));
    TIndexKeys keys;
    SetNumberKeys(keys, klasseNr, ovelseNr, level, stamp, sted);
    TTextKey kode;
    kode.AddRight(GetKlasseKode().toUpper(), 3);
    kode.AddRight(GetOvelseKode().toUpper(), 6);
    kode.AddLeft(stored, 1);
    keys.Kode = kode.Key();
    const QString mkOvelse = GetMKOvelse();
    const qint32 nr = GetMKOvelseNr();
    keys.HasMK = !mkOvelse.isEmpty() && nr > 0;
    if (keys.HasMK)
        keys.MK = OvelseInfoTextKey(GetMKKey());
    return keys;
}

QString TOvelseInfo::GetKodeKey() const {
    return KodeKey(StoredRunde());
}

QString TOvelseInfo::KodeKey(const QString& storedRunde) const {
    return RightJustify(GetKlasseKode().toUpper(), 3) % RightJustify(GetOvelseKode().toUpper(), 6) %
           LeftJustify(storedRunde, 1);
}

QString TOvelseInfo::GetMKKey() const {
    const QString mkOvelse = GetMKOvelse();
    const qint32 nr = GetMKOvelseNr();
    if (mkOvelse.isEmpty() || nr <= 0)
        return {};
    return MKKeyText(mkOvelse, nr);
}

// ---------------------------------------------------------------- TOvelseInfoIndex

TOvelseInfoKey OvelseInfoTextKey(QStringView text) {
    TTextKey key;
    for (const QChar c : text)
        key.Add(c.unicode());
    return key.Key();
}

void TOvelseInfoIndex::Add(const TOvelseInfoKey& key, TOvelseInfo* info) {
    const auto at =
        std::upper_bound(items_.begin(), items_.end(), key,
                         [](const TOvelseInfoKey& k, const auto& item) { return k < item.first; });
    items_.insert(at, {key, info});
}

void TOvelseInfoIndex::Sort() {
    std::stable_sort(items_.begin(), items_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

int TOvelseInfoIndex::IndexOf(const TOvelseInfoKey& key) const {
    const auto at =
        std::lower_bound(items_.begin(), items_.end(), key,
                         [](const auto& item, const TOvelseInfoKey& k) { return item.first < k; });
    return at != items_.end() && at->first == key ? static_cast<int>(at - items_.begin()) : -1;
}

// ---------------------------------------------------------------- marks of a round

namespace {

qint32 Restype(const TOvelseInfo& info) {
    return info.Ovelse().GetField(OvelseField::Restype)->GetAsInteger();
}

} // namespace

QString FormatOvelseResultat(const TOvelseInfo& info, qint32 resultat, qint32 vind) {
    return FormatOvelseResultat(info.Ovelse().GetOvtype(), Restype(info), info.HasVindmaaling(), resultat,
                                vind);
}

QString FormatOvelseResultatNoWind(const TOvelseInfo& info, qint32 resultat) {
    return FormatOvelseResultatNoWind(info.Ovelse().GetOvtype(), Restype(info), resultat);
}

QString FormatOvelseResultatTenths(const TOvelseInfo& info, qint32 resultat) {
    return FormatOvelseResultatTenths(info.Ovelse().GetOvtype(), Restype(info), resultat);
}

qint32 ParseOvelseResultat(const TOvelseInfo& info, const QString& text) {
    return ParseResultat(Restype(info), text);
}

// ---------------------------------------------------------------- TOvelseInfoStore

TOvelseInfo& TOvelseInfoStore::at(std::size_t index) const {
    if (index >= count_)
        throw std::out_of_range("TOvelseInfoStore::at");
    return (*this)[index];
}

void TOvelseInfoStore::clear() {
    for (std::size_t i = 0; i < count_; ++i)
        blocks_[i / BlockSize][i % BlockSize].reset();
    count_ = 0;
}
