#include "server/ServedFiles.h"
#include "server/HttpFile.h"

#include "support/Test.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The parts of a path, or "refused".
QString Parts(const QString& path) {
    const std::optional<QStringList> parts = RequestPathParts(path);
    return parts ? parts->join(u'|') : QStringLiteral("refused");
}

// What the file holds from where its reading stands, read in blocks as the gateway reads it.
QByteArray Content(THttpFile& file) {
    QByteArray content;
    char block[1000];
    for (qint64 count; (count = file.Read(block, sizeof block)) > 0;)
        content.append(block, qsizetype(count));
    return content;
}

// A program folder beside a folder of secrets, with links of every kind.
class ServedFolderTest : public ::testing::Test {
protected:
    ServedFolderTest() {
        WriteFile(Path("prog/images/felt.jpg"), "billede");
        WriteFile(Path("prog/style.css"), "body {}");
        WriteFile(Path("secret/pw.css"), "hemmeligt");
        QDir().mkpath(Path("prog/mappe.css"));
        QFile::link("../secret/pw.css", Path("prog/ud.css"));
        QFile::link(Path("secret/pw.css"), Path("prog/absolut-ud.css"));
        QFile::link(Path("secret"), Path("prog/hemmelig"));
        QFile::link("style.css", Path("prog/ind.css"));
        QFile::link(Path("prog/style.css"), Path("prog/absolut-ind.css"));
        QFile::link("findes-ikke.css", Path("prog/dinglende.css"));
        ::mkfifo(QFile::encodeName(Path("prog/ror.css")).constData(), 0600);
        folder_ = std::make_unique<TServedFolder>(Path("prog"));
    }

    QString Path(const QString& name) const { return dir_.filePath(name); }
    // The content of the file served for the path, or "none".
    QByteArray Served(const QString& path) const {
        const std::optional<QStringList> parts = RequestPathParts(path);
        std::unique_ptr<THttpFile> file = parts ? folder_->Open(*parts) : nullptr;
        return file ? Content(*file) : QByteArray("none");
    }

    QTemporaryDir dir_;
    std::unique_ptr<TServedFolder> folder_;
};

} // namespace

TEST(RequestPath, IsDecodedOnceAndSplitAtEitherSlash) {
    EXPECT_EQ(Parts("\\images\\felt.jpg"), "images|felt.jpg");
    EXPECT_EQ(Parts("/images//felt.jpg/"), "images|felt.jpg");
    EXPECT_EQ(Parts("\\"), "");
    EXPECT_EQ(Parts("/a%20b%2Fc%5cd.css"), "a b|c|d.css");
    EXPECT_EQ(Parts("/%C3%A6bler.css"), "æbler.css");      // UTF-8
    EXPECT_EQ(Parts("/%E6bler.css"), "æbler.css");         // Windows-1252, no UTF-8
    EXPECT_EQ(Parts("/%252e%252e/x.css"), "%2e%2e|x.css"); // once only: no ".." appears
    EXPECT_EQ(Parts("/50%.css"), "50%.css");               // a lone "%" stays
    EXPECT_EQ(Parts("/.profile.css"), ".profile.css");
    EXPECT_EQ(Parts("/..a/b..c/..."), "..a|b..c|...");
}

TEST(RequestPath, PartsThatClimbStandStillOrHoldControlsOrColonsAreRefused) {
    for (const QString& path :
         QStringList{"/../x.css", "\\..\\x.css", "/images/../../x.css", "/%2e%2e/x.css", "/%2E%2E%2Fx.css",
                     "/a%5c..%5cx.css", "/./x.css", "/x.css/.", "/x%00.css",
                     QString("/x") + QChar(0) + ".css", "/x%0d%0a.css", "/x%7f.css", "/x%C2%85.css",
                     "/C:/x.css", "/c%3A%5cx.css", "/x.css:stream", "http:\\\\host\\x.css"})
        EXPECT_EQ(Parts(path), "refused") << path.toStdString();
}

TEST_F(ServedFolderTest, OnlyRegularFilesInsideTheFolderAreOpened) {
    EXPECT_EQ(Served("/images/felt.jpg"), "billede");
    EXPECT_EQ(Served("/IMAGES/FELT.JPG"), "billede"); // any letter case
    EXPECT_EQ(Served("/Style.CSS"), "body {}");
    EXPECT_EQ(Served("/ind.css"), "body {}");         // a link that stays inside
    EXPECT_EQ(Served("/absolut-ind.css"), "body {}"); // and an absolute one that does
    for (const QString& path : QStringList{
             "/ud.css", "/absolut-ud.css", "/hemmelig/pw.css", "/HEMMELIG/PW.CSS", "/dinglende.css",
             "/mappe.css", "/ror.css", "/findes-ikke.css", "/../secret/pw.css", "/%2e%2e/secret/pw.css",
             "/" + Path("secret/pw.css"), "/" + QString(Path("secret/pw.css")).replace('/', "%2F")})
        EXPECT_EQ(Served(path), "none") << path.toStdString();
    // A folder that is not there serves nothing, not even from where the program runs.
    const TServedFolder missing(Path("findes-ikke"));
    EXPECT_EQ(missing.Open({"style.css"}), nullptr);
}

TEST_F(ServedFolderTest, TheFileIsReadAsItIsWhenItIsSent) {
    const std::unique_ptr<THttpFile> file = folder_->Open({"style.css"});
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->Name(), QFileInfo(Path("prog/style.css")).canonicalFilePath());
    WriteFile(Path("prog/style.css"), QByteArray(100000, 'x')); // grown since it was opened
    EXPECT_EQ(file->Size(), 100000);
    EXPECT_EQ(Content(*file).size(), 100000);
    ASSERT_EQ(::truncate(QFile::encodeName(Path("prog/style.css")).constData(), 3), 0); // and shrunk
    const std::unique_ptr<THttpFile> again = folder_->Open({"style.css"});
    EXPECT_EQ(again->Size(), 3);
    EXPECT_EQ(Content(*again), "xxx");
}
