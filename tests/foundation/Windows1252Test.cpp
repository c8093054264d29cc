#include "foundation/Windows1252.h"

#include "support/Test.h"

TEST(Windows1252, EveryByteRoundTrips) {
    QByteArray all(256, 0);
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QString text = Windows1252::Decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(Windows1252::Encode(text), all);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));
    EXPECT_EQ(text.at(0x9F), QChar(0x0178));
    for (int undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(text.at(undefined).unicode(), undefined);
}

TEST(Windows1252, DanishLettersAndCharactersWithoutAByte) {
    EXPECT_EQ(Windows1252::Encode("æøåÆØÅ é ü").toHex(' '), "e6 f8 e5 c6 d8 c5 20 e9 20 fc");
    EXPECT_EQ(Windows1252::Decode(QByteArray("\xe6\xf8\xe5\xc6\xd8\xc5")), "æøåÆØÅ");
    EXPECT_EQ(Windows1252::Encode("€–„"), "\x80\x96\x84");
    // U+0080 has no byte (0x80 is the euro sign); a character beyond the BMP is one '?'.
    EXPECT_EQ(Windows1252::Encode(QString(QChar(0x80)) + "Łx😀"), "??x?");
    EXPECT_EQ(Windows1252::Encode(QString(QChar(0xD800))), "?");
}
