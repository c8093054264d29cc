#pragma once
// The field classes that turn the stored codes of the record files into text and back.
#include "storage/DBField.h"

#include <QString>

// The result status letter, read as its Danish word and written from a letter or word.
class TResKodeField : public TStringField {
public:
    using TStringField::TStringField;
    QString GetAsString() const override;
    void SetAsString(const QString& value) override;
    // The letter as stored.
    QString GetKode() const { return TStringField::GetAsString(); }
    // Empty or one blank.
    bool IsBlank() const;
    bool IsCodeE() const;
    bool IsCodeV() const;
};

// The outside-competition code, read and written as its text.
class TUdenforKonkField : public TStringField {
public:
    using TStringField::TStringField;
    QString GetAsString() const override;
    void SetAsString(const QString& value) override;
    QString GetKode() const { return TStringField::GetAsString(); }
};

// "Ja" or "Nej"; 1 for a yes-word in any case, 0 for every other text.
class TBooleanField : public TSmallintField {
public:
    using TSmallintField::TSmallintField;
    QString GetAsString() const override;
    void SetAsString(const QString& value) override;
};

// Wind in tenths of m/s, read and written as wind text.
class TVindField : public TSmallintField {
public:
    using TSmallintField::TSmallintField;
    QString GetAsString() const override;
    void SetAsString(const QString& value) override;
};

// A round letter. A final has no letter: it is stored as one zero byte, which reads back empty.
class TRundeField : public TStringField {
public:
    using TStringField::TStringField;
    void SetAsString(const QString& value) override;
};
