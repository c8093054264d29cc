#include "foundation/LxString.h"

#include "support/Test.h"

namespace {
struct Case {
    const char* line;
    int result;
    const char* field;
    const char* rest;
};

void Check(const Case& c, const QString& separators) {
    QString line = QString::fromUtf8(c.line);
    QString field = "old";
    EXPECT_EQ(NextCSVField(separators, line, field), c.result) << c.line;
    EXPECT_EQ(field, QString::fromUtf8(c.field)) << c.line;
    EXPECT_EQ(line, QString::fromUtf8(c.rest)) << c.line;
}
} // namespace

// Every state of the field reader against every character class.
TEST(Csv, StateTable) {
    const Case cases[] = {
        {";x", 0, "", "x"},                  // 1 separator
        {"", 0, "", ""},                     // 1 end
        {"  a b ;x", 0, "a b ", "x"},        // 1 blank, 4 blank and other; trailing blanks stay
        {" \"a\";x", 0, "a", "x"},           // 1 blank then quote
        {"ab\"c;d", 0, "ab\"c", "d"},        // 4 quote is ordinary
        {"abc", 0, "abc", ""},               // 4 end
        {"\"a;b c\";x", 0, "a;b c", "x"},    // 2 separator, blank, other; 3 separator
        {"\"a\"\"b\"", 0, "a\"b", ""},       // 3 quote (doubled), 3 end
        {"\"\",x", 0, "", "x"},              // empty quoted field
        {"\"a\"  ;x", 0, "a", "x"},          // 3 blank, 5 blank, 5 separator
        {"\"a\"  ", 0, "a", ""},             // 5 end
        {"\"abc", 5, "", "\"abc"},           // 2 end: after the last character
        {"\"a\"b;x", 4, "", "\"a\"b;x"},     // 3 other
        {"\"a\" b", 5, "", "\"a\" b"},       // 5 other
        {"\"a\" \";x", 5, "", "\"a\" \";x"}, // 5 quote
        {"\"æ\tø\",å", 0, "æ\tø", "å"},      // tab is an ordinary character
    };
    for (const Case& c : cases)
        Check(c, ";,");
}

TEST(Csv, UnitWideSetReadsAWholeLineAndTCSVReportsTheUnreadRest) {
    EXPECT_EQ(GetCSVSeparators(), ";,");
    QString line = "a;b,c";
    QString field;
    QStringList fields;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ParseCSVField(line, field), 0);
        fields << field;
    }
    EXPECT_EQ(fields, QStringList({"a", "b", "c", ""}));

    TCSV csv("navn;klub,\"x, y\",\"bad\"z,more");
    EXPECT_EQ(csv.NextField(), "navn;klub");
    EXPECT_EQ(csv.NextField(), "x, y");
    EXPECT_EQ(ErrorText([&] { csv.NextField(); }), "Fejl i CSV-felt: \"bad\"z,more");
    EXPECT_EQ(GetCSVSeparators(), ";,"); // a given set does not disturb the unit-wide one
}
