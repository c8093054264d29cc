#pragma once
// Codes of the programme's records read straight from the records' bytes: the event manager joins and
// keys every round of a meet each time it reads the programme, and a text made per field read would cost
// more than the rest of that work.
#include "storage/DBData.h"

#include <QString>

#include <string>
#include <string_view>

// Where a text field lies in the records of a table, and how its text is stored.
class TCodeField {
public:
    TCodeField(const TDataTable& table, int fieldNo);

    // The field's stored bytes (Windows-1252) as its text reads, blanks at either end left out.
    std::string_view Trimmed(const TDataElement& element) const;

private:
    // The table's own field: where the bytes lie, and how the text is stored.
    const TStringField* field_;
};

// Appends the code as the lookups by code compare it, trimmed and upper-cased, in UTF-8: two codes are
// the same code exactly when they append the same bytes.
void AppendCode(std::string& key, std::string_view trimmed);

// The field as a text field whose text is its stored bytes (no class of its own reads them otherwise);
// null for any other field and for an unbound one.
const TStringField* PlainTextField(const TField& field);

// The first letter of a code (trimmed stored bytes), upper-cased; 0 for none.
char16_t FirstCodeLetter(std::string_view trimmed);
// The same of a record's code field, read from the record's bytes where the field's text is its bytes.
char16_t FirstCodeLetter(const TDataElement& element, int fieldNo);

// True when every byte is below 0x80: the byte is then the character.
bool IsAsciiCode(std::string_view bytes);
