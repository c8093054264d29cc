#include "model/D_DBDefCodeFields.h"

#include "model/D_Tekster.h"

QString TResKodeField::GetAsString() const {
    return FormatResKodeTekst(GetKode());
}

void TResKodeField::SetAsString(const QString& value) {
    TStringField::SetAsString(ParseResKode(value));
}

bool TResKodeField::IsBlank() const {
    return IsKodeBlank(GetKode());
}

bool TResKodeField::IsCodeE() const {
    const QString kode = GetKode().trimmed();
    return !kode.isEmpty() && kode.at(0).toUpper() == u'E';
}

bool TResKodeField::IsCodeV() const {
    const QString kode = GetKode().trimmed();
    return !kode.isEmpty() && kode.at(0).toUpper() == u'V';
}

QString TUdenforKonkField::GetAsString() const {
    return FormatUdenforKonk(GetKode());
}

void TUdenforKonkField::SetAsString(const QString& value) {
    TStringField::SetAsString(ParseUdenforKonk(value));
}

QString TBooleanField::GetAsString() const {
    return FormatJaNej(GetAsInteger() != 0);
}

void TBooleanField::SetAsString(const QString& value) {
    SetAsInteger(ParseJaNej(value) ? 1 : 0);
}

QString TVindField::GetAsString() const {
    return FormatVind(GetAsInteger());
}

void TVindField::SetAsString(const QString& value) {
    SetAsInteger(ParseVind(value));
}

void TRundeField::SetAsString(const QString& value) {
    if (value.isEmpty() || value == u" ")
        TStringField::SetAsString(QString(QChar(0)));
    else
        TStringField::SetAsString(value);
}
