#include "model/D_OvelserCodes.h"

#include "foundation/Windows1252.h"
#include "model/D_DBDefCodeFields.h"
#include "storage/DBFile.h"

#include <algorithm>
#include <typeinfo>

TCodeField::TCodeField(const TDataTable& table, int fieldNo)
    : field_(dynamic_cast<const TStringField*>(table.GetField(fieldNo))) {
    if (field_ == nullptr)
        throw Exception(QStringLiteral("Feltet ") + table.GetField(fieldNo)->FieldName +
                        QStringLiteral(" er ikke et tekstfelt"));
}

std::string_view TCodeField::Trimmed(const TDataElement& element) const {
    return TStringField::TrimmedStoredText(field_->BytesIn(element.Buffer()), field_->StringKind);
}

bool IsAsciiCode(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void AppendCode(std::string& key, std::string_view trimmed) {
    if (IsAsciiCode(trimmed)) {
        for (const char c : trimmed)
            key.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
        return;
    }
    // Letters beyond ASCII upper-case as the texts do.
    key +=
        Windows1252::Decode(trimmed.data(), static_cast<qsizetype>(trimmed.size())).toUpper().toStdString();
}

char16_t FirstCodeLetter(std::string_view trimmed) {
    if (trimmed.empty())
        return 0;
    if (IsAsciiCode(trimmed.substr(0, 1))) {
        const char c = trimmed.front();
        return static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    const QString upper =
        Windows1252::Decode(trimmed.data(), static_cast<qsizetype>(trimmed.size())).toUpper();
    return upper.isEmpty() ? 0 : upper.at(0).unicode();
}

const TStringField* PlainTextField(const TField& field) {
    const std::type_info& type = typeid(field);
    const bool plain = type == typeid(TStringField) || type == typeid(TRundeField) ||
                       type == typeid(TLStringField) || type == typeid(TZStringField);
    return plain && field.IsBound() ? static_cast<const TStringField*>(&field) : nullptr;
}

char16_t FirstCodeLetter(const TDataElement& element, int fieldNo) {
    const TField& field = *element.Table().GetField(fieldNo);
    if (const TStringField* text = PlainTextField(field))
        return FirstCodeLetter(
            TStringField::TrimmedStoredText(field.BytesIn(element.Buffer()), text->StringKind));
    const QString upper = element.GetField(fieldNo)->GetTrimmedString().toUpper();
    return upper.isEmpty() ? 0 : upper.at(0).unicode();
}
