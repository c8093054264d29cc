// Attempt series: their stored form, their texts, the best mark and the tie-break keys.
#include "model/D_Result.h"

#include "foundation/LxClass.h"
#include "foundation/LxString.h"
#include "foundation/Windows1252.h"
#include "model/D_Ovelser.h"
#include "model/D_Tekster.h"
#include "platform/LittleEndian.h"

#include <QBuffer>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <limits>

namespace {

constexpr quint16 SerieFieldCount = 6;
constexpr qint32 NoBest = -99999;
constexpr qint32 NoBestVind = 99999;
constexpr int TieBreakBase = 99999;

// Bounds-checked little-endian reading of a stored series.
class TSerieReader {
public:
    explicit TSerieReader(const QByteArray& bytes)
        : bytes_(bytes) {}

    bool Integer(qint32& value) {
        return Take(4, [&](const char* at) { value = loadLE<qint32>(at); });
    }
    bool Word(quint16& value) {
        return Take(2, [&](const char* at) { value = loadLE<quint16>(at); });
    }
    bool Text(QString& value) {
        quint16 length = 0;
        return Word(length) && Take(length, [&](const char* at) { value = Windows1252::Decode(at, length); });
    }

private:
    template <typename Use>
    bool Take(qsizetype count, Use use) {
        if (count > bytes_.size() - pos_)
            return false;
        use(bytes_.constData() + pos_);
        pos_ += count;
        return true;
    }

    const QByteArray& bytes_;
    qsizetype pos_ = 0;
};

// One attempt of fieldCount fields, in stored order (the fourth is the text); false when it ends early.
bool ReadSerie(TSerieReader& reader, quint16 fieldCount, TSerie& serie) {
    qint32* const integers[SerieFieldCount] = {&serie.Value, &serie.Kode,   &serie.SerieNr,
                                               nullptr,      &serie.Point1, &serie.Point2};
    for (quint16 field = 0; field < fieldCount; ++field) {
        qint32* integer = integers[field];
        if (!(integer ? reader.Integer(*integer) : reader.Text(serie.Tekst)))
            return false;
    }
    return true;
}

QString Digits(qint32 kode) {
    return kode > 0 ? QString::number(kode) : QString();
}

QString ZeroPadded(qint64 value, int width) {
    return IntToZeroStr(value, width);
}

// The ZeroPadded texts of values one after another, each in width. The tie-break keys of a big round are
// made for every row: the key is written in place, where padding texts would make several strings a mark.
template <typename Values>
QString ZeroPaddedRun(const Values& values, int width) {
    if (std::any_of(values.begin(), values.end(), [](qint64 value) { return value < 0; })) {
        QString key;
        for (const qint64 value : values)
            key += ZeroPadded(value, width);
        return key;
    }
    QString key(qsizetype(values.size()) * width, Qt::Uninitialized);
    QChar* out = key.data();
    for (qint64 value : values) {
        // The last width digits, as ZeroPadded cuts them.
        for (int k = width - 1; k >= 0; --k) {
            out[k] = QChar(char16_t(u'0' + value % 10));
            value /= 10;
        }
        out += width;
    }
    return key;
}

// A vertical-jump entry's tries: one of the shorthands 1-4 or up to three of "*", "-" and "+".
qint32 ParseForsog(const QString& symbols) {
    static const QString shorthands[] = {QStringLiteral("+"), QStringLiteral("-+"), QStringLiteral("--+"),
                                         QStringLiteral("---")};
    QString tries = symbols;
    if (tries.size() == 1 && tries.at(0) >= u'1' && tries.at(0) <= u'4')
        tries = shorthands[tries.at(0).unicode() - u'1'];
    const bool valid =
        tries.size() <= MaxForsogPrHoejde &&
        std::all_of(tries.begin(), tries.end(), [](QChar c) { return c == u'*' || c == u'-' || c == u'+'; });
    if (!valid)
        throw EConvertError(QStringLiteral("\"%1\" er ikke gyldige forsøg: højst tre af * (pas), - (fejl) og "
                                           "+ (klaret), eller 1-4")
                                .arg(symbols));
    return ParseForsogKode(tries);
}

// Why tries at one height cannot have been jumped; empty when they can.
QString UmuligeForsog(const QString& tries) {
    if (tries.size() > MaxForsogPrHoejde)
        return QStringLiteral("der kan højst være tre forsøg på en højde");
    for (qsizetype i = 0; i + 1 < tries.size(); ++i) {
        if (tries.at(i) == u'+' || tries.at(i) == u'*')
            return QStringLiteral("der kan ikke være forsøg efter klaret (+) eller pas (*) på samme højde");
    }
    return {};
}

// The tries at the entry's height (and mark number) over the row's attempts in order, the entry in
// place of attempt index: one height may be spread over several attempts.
QString ForsogPaaHoejde(const TSerier& serier, int index, const TSerie& entry) {
    QString tries;
    for (int i = 0; i < std::max(serier.Count(), index + 1); ++i) {
        const TSerie* serie = i == index ? &entry : serier.GetSerie(i);
        if (serie && !serie->IsEmpty() && serie->Value == entry.Value && serie->SerieNr == entry.SerieNr)
            tries += FormatForsogKode(serie->Kode);
    }
    return tries;
}

// A horizontal jump's mark with at most two decimals ("11.5", "7.45"): no wind digits after it.
bool IsMarkWithDecimals(const QString& text) {
    const qsizetype point = text.lastIndexOf(u'.');
    return point >= 0 && text.size() - (point + 1) <= 2;
}

} // namespace

// ---------------------------------------------------------------- TSerie and TSerier

bool TSerie::IsCleared() const {
    return Digits(Kode).contains(QChar(u'0' + int(TForsog::Klaret)));
}

TSerier::TSerier(TResultat* owner)
    : owner_(owner) {}

void TSerier::Edited() {
    if (owner_)
        owner_->SerieEdited();
}

void TSerier::Clear() {
    if (items_.empty())
        return;
    items_.clear();
    Edited();
}

int TSerier::Add() {
    items_.emplace_back();
    Edited();
    return Count() - 1;
}

void TSerier::Delete(int index) {
    if (index < 0 || index >= Count())
        return;
    items_.erase(items_.begin() + index);
    Edited();
}

TSerie* TSerier::GetSerie(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    // The attempts are edited through a row that is read as const, as they were when held apart.
    return const_cast<TSerie*>(&items_[static_cast<std::size_t>(index)]);
}

QByteArray TSerier::SaveToString() const {
    if (items_.empty())
        return {};
    QByteArray blob;
    QBuffer buffer(&blob);
    buffer.open(QIODevice::WriteOnly);
    TStreamWriter writer(&buffer);
    writer.WriteInteger(Count());
    for (const TSerie& serie : items_) {
        writer.WriteWord(SerieFieldCount);
        writer.WriteInteger(serie.Value);
        writer.WriteInteger(serie.Kode);
        writer.WriteInteger(serie.SerieNr);
        writer.WriteString(serie.Tekst);
        writer.WriteInteger(serie.Point1);
        writer.WriteInteger(serie.Point2);
    }
    return blob;
}

bool TSerier::LoadFromString(const QByteArray& blob) {
    items_.clear();
    TSerieReader reader(blob);
    qint32 count = 0;
    if (!reader.Integer(count))
        return true;
    if (count < 0)
        return false;
    // Every attempt takes at least its field count, so a count the bytes cannot hold ends with them.
    items_.reserve(static_cast<std::size_t>(std::min<qint64>(count, blob.size() / 2)));
    for (qint32 i = 0; i < count; ++i) {
        TSerie serie;
        quint16 fieldCount = 0;
        if (!reader.Word(fieldCount) || fieldCount > SerieFieldCount || !ReadSerie(reader, fieldCount, serie))
            return false;
        items_.push_back(std::move(serie));
    }
    return true;
}

QString TSerier::GetTieBreakKey(qint32 ovtype) const {
    if (ovtype == int(TOvtype::VertikalSpring)) {
        // The last mark-numbered clearance, then the best height's try and the failures below it.
        qint32 markNr = 0;
        qint32 markHoejde = 0;
        qint32 best = -1;
        for (const TSerie& serie : items_) {
            if (serie.IsEmpty() || !serie.IsCleared())
                continue;
            if (serie.SerieNr > 0) {
                markNr = serie.SerieNr;
                markHoejde = serie.Value;
            } else {
                best = std::max(best, serie.Value);
            }
        }
        int forsog = 0;
        int fejl = 0;
        for (const TSerie& serie : items_) {
            if (serie.IsEmpty() || serie.SerieNr != 0)
                continue;
            const QString digits = Digits(serie.Kode);
            if (serie.Value == best && forsog == 0 && serie.IsCleared())
                forsog = static_cast<int>(digits.indexOf(QChar(u'0' + int(TForsog::Klaret)))) + 1;
            else if (serie.Value < best)
                fejl += static_cast<int>(digits.count(QChar(u'0' + int(TForsog::Fejl))));
        }
        const std::array<qint32, 4> parts{markNr, markHoejde, TieBreakBase - forsog, TieBreakBase - fejl};
        return ZeroPaddedRun(parts, 5);
    }
    if (ovtype == int(TOvtype::HorisontalSpring) || ovtype == int(TOvtype::Kast)) {
        QVarLengthArray<qint32, 8> marks;
        for (const TSerie& serie : items_) {
            if (serie.IsMark())
                marks.push_back(serie.Value);
        }
        std::sort(marks.begin(), marks.end(), std::greater<>());
        return ZeroPaddedRun(marks, 10);
    }
    return {};
}

// ---------------------------------------------------------------- a row's series

void TResultat::ClearSerier() {
    if (Serier.Count() == 0)
        return;
    Serier.Clear();
    Modified = true;
}

TSerie* TResultat::GetSerie(int index) const {
    return Serier.GetSerie(index);
}

QString TResultat::GetSerieText(int index) const {
    return SerieText(index, false);
}

QString TResultat::GetSerieEditText(int index) const {
    return SerieText(index, true);
}

QString TResultat::SerieText(int index, bool edit) const {
    const TSerie* serie = Serier.GetSerie(index);
    if (!serie || serie->IsEmpty())
        return {};
    switch (Ovtype()) {
    case int(TOvtype::VertikalSpring):
        if (edit)
            return FormatSerieNr(serie->SerieNr) + IntStr(serie->Value) + u',' +
                   FormatForsogKode(serie->Kode);
        if (serie->Value <= 0)
            return {};
        return FormatSerieNr(serie->SerieNr) + FormatMark(serie->Value) + QStringLiteral(" (") +
               TrimRightChar(FormatForsogKodeXO(serie->Kode), u' ') + u')';
    case int(TOvtype::Stafet):
        return IntStr(serie->Value);
    default:
        if (serie->IsPass())
            return QStringLiteral("-");
        if (serie->IsFoul())
            return QStringLiteral("X");
        if (Ovtype() == int(TOvtype::HorisontalSpring) && IsVindPrForsog()) {
            if (edit)
                return IntStr(serie->Value) + u',' +
                       (serie->Kode == SerieUdenVind ? QStringLiteral("x") : IntStr(serie->Kode));
            return FormatMark(serie->Value) + QStringLiteral(" (") + FormatVind(serie->Kode) + u')';
        }
        return edit ? IntStr(serie->Value) : FormatMark(serie->Value);
    }
}

namespace {

bool IsPassText(const QString& text) {
    return text == u"*" || text == u"-";
}

bool IsFoulText(const QString& text) {
    return text.compare(u"X", Qt::CaseInsensitive) == 0;
}

} // namespace

void TResultat::SetSerieText(int index, const QString& text) {
    if (index < 0)
        RaiseListIndexError(index);
    // The entry is parsed whole before anything changes.
    TSerie parsed;
    const QString entry = TrimBlanks(text);
    if (!entry.isEmpty()) {
        const qint32 ovtype = Ovtype();
        if (ovtype == int(TOvtype::VertikalSpring)) {
            QString rest = entry;
            const qsizetype colon = rest.indexOf(u':');
            if (colon >= 0) {
                parsed.SerieNr = ParseSerieNr(rest.left(colon));
                rest = rest.mid(colon + 1);
            }
            if (!rest.contains(u',')) {
                if (rest.size() >= 3)
                    rest.insert(rest.size() - 1, u',');
                else
                    rest += QStringLiteral(",4");
            }
            const qsizetype comma = rest.indexOf(u',');
            parsed.Value = ParseMark(rest.left(comma));
            parsed.Kode = ParseForsog(TrimBlanks(rest.mid(comma + 1)));
            const QString tries = ForsogPaaHoejde(Serier, index, parsed);
            if (const QString why = UmuligeForsog(tries); !why.isEmpty())
                throw EConvertError(
                    QStringLiteral("\"%1\" kan ikke bruges: forsøgene på %2 ville blive \"%3\", og %4")
                        .arg(entry, FormatMark(parsed.Value), tries, why));
        } else if (ovtype == int(TOvtype::Stafet)) {
            parsed.Value = ParseOvelseInteger(entry);
        } else if (IsPassText(entry)) {
            parsed.Value = SeriePas;
        } else if (IsFoulText(entry)) {
            parsed.Value = SerieUgyldig;
        } else if (ovtype == int(TOvtype::HorisontalSpring) && IsVindPrForsog()) {
            QString mark = entry;
            if (!mark.contains(u',')) {
                qsizetype at = mark.indexOf(u'-');
                if (at < 0) {
                    const auto found = std::find_if(mark.begin(), mark.end(), [](QChar c) {
                        return c == u'x' || c == u'X' || c == u'*';
                    });
                    at = found == mark.end() ? -1 : found - mark.begin();
                }
                if (at < 0 && mark.size() > 2 && !IsMarkWithDecimals(mark))
                    at = mark.size() - 2;
                if (at >= 0)
                    mark.insert(at, u',');
            }
            const qsizetype comma = mark.indexOf(u',');
            if (comma >= 0) {
                parsed.Value = ParseMark(mark.left(comma));
                parsed.Kode = ParseVindTekst(mark.mid(comma + 1));
            } else {
                parsed.Value = ParseMark(mark);
            }
        } else {
            parsed.Value = ParseMark(entry);
        }
    }

    const QString before = GetSerieText(index);
    while (Serier.Count() <= index)
        Serier.Add();
    TSerie& serie = *Serier.GetSerie(index);
    serie.Value = parsed.Value;
    serie.Kode = parsed.Kode;
    serie.SerieNr = parsed.SerieNr;
    if (GetSerieText(index) != before) {
        Modified = true;
        SerieEdited();
    }
    CalcSerieResultat();
}

void TResultat::CalcSerieResultat() {
    if (!IsSerieOvelse())
        return;
    const qint32 ovtype = Ovtype();
    const bool vindPrForsog = IsVindPrForsog();
    qint32 best = NoBest;
    qint32 bestVind = NoBestVind;
    qint32 legal = NoBest;
    qint32 legalVind = NoBestVind;
    bool found = false;
    bool legalFound = false;
    for (int i = 0; i < Serier.Count(); ++i) {
        const TSerie& serie = *Serier.GetSerie(i);
        if (serie.IsEmpty() || serie.IsPass())
            continue;
        if (ovtype == int(TOvtype::VertikalSpring)) {
            if (serie.IsCleared() && serie.Value > best) {
                best = serie.Value;
                found = true;
            }
        } else if (ovtype == int(TOvtype::HorisontalSpring) || ovtype == int(TOvtype::Kast)) {
            const qint32 vind = vindPrForsog ? serie.Kode : 0;
            if (serie.Value > best || (vindPrForsog && serie.Value == best && vind < bestVind)) {
                best = serie.Value;
                bestVind = vind;
                found = true;
            }
            if (vindPrForsog && IsLegalVind(vind) &&
                (serie.Value > legal || (serie.Value == legal && vind < legalVind))) {
                legal = serie.Value;
                legalVind = vind;
                legalFound = true;
            }
        }
    }
    const bool withVind = found && vindPrForsog && ovtype != int(TOvtype::VertikalSpring);
    // A wind that does not fit is refused before anything changes.
    if (withVind)
        CheckedVind(bestVind);
    BestLegalResultat = legalFound ? legal : 0;
    BestLegalVind = legalFound ? legalVind : 0;
    if (found) {
        SetResultat(best);
        if (withVind)
            SetVind(bestVind);
    } else if (ovtype != int(TOvtype::Stafet)) {
        SetResultat(0);
        SetVind(0);
    }
}

void TResultat::RemoveEmptySerier() {
    const bool vertikal = Ovtype() == int(TOvtype::VertikalSpring);
    for (int i = Serier.Count() - 1; i >= 0; --i) {
        const TSerie& serie = *Serier.GetSerie(i);
        if (serie.IsEmpty() || (vertikal && serie.Value == 0))
            Serier.Delete(i);
    }
}

void TResultat::CheckKorrektion(qint32 delta) const {
    const auto refuse = [this, delta](const QString& why) {
        throw EResultError(QStringLiteral("Korrektionen %1 kan ikke bruges: startnummer %2 (%3) ville få %4")
                               .arg(delta)
                               .arg(Startnummer)
                               .arg(Navn, why));
    };
    const auto checkMark = [&](qint64 corrected) {
        if (corrected <= 0)
            refuse(QStringLiteral("et resultat på 0 eller derunder"));
        if (corrected > std::numeric_limits<qint32>::max())
            refuse(QStringLiteral("et resultat uden for det tilladte"));
    };
    if (delta == 0)
        return;
    if (IsSerieOvelse() && Ovtype() != int(TOvtype::Stafet)) {
        for (int i = 0; i < Serier.Count(); ++i) {
            const TSerie& serie = *Serier.GetSerie(i);
            if (serie.IsMark())
                checkMark(qint64(serie.Value) + delta);
        }
        return;
    }
    if (Resultat == 0)
        return;
    if (!IsTidOvtype(Ovtype())) {
        checkMark(qint64(Resultat) + delta);
        return;
    }
    if (Resultat < 0)
        return;
    const qint64 hundredths = TidToHundredths(Resultat) + delta;
    checkMark(hundredths);
    checkMark(HundredthsToTid(hundredths));
}

void TResultat::AddKorrektion(qint32 delta) {
    if (IsSerieOvelse() && Ovtype() != int(TOvtype::Stafet)) {
        bool changed = false;
        for (int i = 0; i < Serier.Count(); ++i) {
            TSerie& serie = *Serier.GetSerie(i);
            if (serie.IsMark() && delta != 0) {
                serie.Value += delta;
                changed = true;
            }
        }
        if (changed) {
            Modified = true;
            SerieEdited();
        }
        CalcSerieResultat();
        return;
    }
    // A relay's series holds its members' start numbers: its time is corrected instead.
    if (Resultat == 0)
        return;
    if (!IsTidOvtype(Ovtype())) {
        SetResultat(Resultat + delta);
        return;
    }
    // A time is packed as digits of minutes, seconds and hundredths; a hand time (tenths) stays.
    if (Resultat < 0)
        return;
    const qint64 hundredths = TidToHundredths(Resultat) + delta;
    if (hundredths >= 1)
        SetResultat(static_cast<qint32>(std::min<qint64>(HundredthsToTid(hundredths), INT32_MAX)));
}
