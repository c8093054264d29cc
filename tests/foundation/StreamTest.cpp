#include "foundation/LxClass.h"

#include "support/Test.h"

#include <QBuffer>

TEST(Streams, LittleEndianLayoutAndRoundTrip) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TStreamWriter writer(&buffer);
    writer.WriteWord(0x1234);
    writer.WriteInteger(-2);
    writer.WriteString("Åse");
    writer.WriteBoolean(true);
    writer.WriteString("");
    writer.WriteInteger(std::numeric_limits<qint32>::min());
    writer.WriteString("Æblegrød € ü");
    buffer.close();

    EXPECT_EQ(bytes.left(14).toHex(' '), "34 12 fe ff ff ff 03 00 c5 73 65 01 00 00");

    buffer.open(QIODevice::ReadOnly);
    TStreamReader reader(&buffer);
    EXPECT_EQ(reader.ReadWord(), 0x1234);
    EXPECT_EQ(reader.ReadInteger(), -2);
    EXPECT_EQ(reader.ReadString(), "Åse");
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_EQ(reader.ReadString(), "");
    EXPECT_EQ(reader.ReadInteger(), std::numeric_limits<qint32>::min());
    EXPECT_EQ(reader.ReadString(), "Æblegrød € ü");
    EXPECT_THROW(reader.ReadByte(), EStreamError);
}

TEST(Streams, ReadingPastTheEndRaises) {
    QByteArray bytes("\x02\x00\x03", 3);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TStreamReader reader(&buffer);
    EXPECT_TRUE(reader.ReadBoolean()); // any non-zero byte
    EXPECT_THROW(reader.ReadInteger(), EStreamError);

    QByteArray shortText("\x05\x00"
                         "ab",
                         4); // says 5 bytes, holds 2
    QBuffer textBuffer(&shortText);
    textBuffer.open(QIODevice::ReadOnly);
    EXPECT_THROW(TStreamReader(&textBuffer).ReadString(), EStreamError);
}

TEST(Streams, OverlongTextIsRefusedNotWrapped) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TStreamWriter writer(&buffer);
    writer.WriteString(QString(65535, u'ø'));
    EXPECT_EQ(bytes.size(), 2 + 65535);
    EXPECT_THROW(writer.WriteString(QString(65536, u'a')), EStreamError);
    EXPECT_EQ(bytes.size(), 2 + 65535); // nothing of the refused text was written

    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    EXPECT_EQ(TStreamReader(&buffer).ReadString(), QString(65535, u'ø'));
}
