#include "ListFixture.h"
#include "PrintFit.h"
#include "PrintRecorder.h"

#include "foundation/PathResolver.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "print/D_Print.h"
#include "print/D_Udskrift.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// The folder to keep what was printed and written in; empty: keep nothing.
QString KeepDir() {
    return qEnvironmentVariable("ZUNO_LIST_DIR");
}

QString ErrorsOf(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished())
        return "<" + program + " did not run>";
    return QString::fromUtf8(process.readAllStandardError()).trimmed();
}

} // namespace

TListTest::TListTest() {
    previous_ = SetPrintPreviewWindow([this](TPrint& print) { Capture(print); });
}

TListTest::~TListTest() {
    SetPrintPreviewWindow(previous_);
}

void TListTest::TearDown() {
    EXPECT_EQ(TooWide, QStringList());
}

TSystemData& TListTest::Settings() {
    return Manager().SystemData();
}

void TListTest::AddAthletes() {
    AddKlub(1, "AGF", "AGF");
    AddKlub(2, "Sparta & <Co>", "Sparta");
    AddDeltager(1, "Hans Jensen", 1999);
    AddDeltager(2, "Ole Holm", 98);
    AddDeltager(3, "Per Berg");
    AddDeltager(4, "Kim Lund", 2001, 2);
    AddDeltager(5, "Bo Ask", 0, 2);
    AddDeltager(6, "Jens Ib", 2000, 2);
    AddDeltager(7, "Lars Ny", 2002);
    AddDeltager(8, "Eva Sø");
}

TResultatManager& TListTest::Load(TOvelseInfo& round) {
    data_ = std::make_unique<TResultatManager>();
    data_->LoadOvelse(&round);
    return *data_;
}

void TListTest::Capture(TPrint& print) {
    TooWide += TextsPastRightMargin(dynamic_cast<TStdPrint&>(print));
    Model = SectionLines(print, TPrintSection::Body);
    QTemporaryDir folder;
    const QString keep = KeepDir();
    const QString fileName = keep.isEmpty() ? folder.filePath("list.pdf") : keep + "/" + name_ + ".pdf";
    {
        QPdfWriter writer(fileName);
        writer.setResolution(300);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(print.Orientation == TPrintOrientation::Landscape ? QPageLayout::Landscape
                                                                                    : QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        print.PageNo = 0;
        print.PrintOn(writer);
    }
    for (const QString& page : PdfFilePages(fileName)) {
        QStringList lines;
        for (const QString& line : page.split(u'\n'))
            if (!line.simplified().isEmpty())
                lines.append(line.simplified());
        Pages.append(lines.join(u'\n'));
    }
}

QStringList TListTest::Printed(TUdskrift& job, const QString& name) {
    name_ = name;
    Pages.clear();
    job.SetData(data_.get());
    job.SetUdskrivTilSkaerm(true);
    job.RunOne();
    return Pages.join(u'\n').split(u'\n');
}

QStringList TListTest::PrintedList(TUdskrift& job, const std::vector<TOvelseInfo*>& rounds,
                                   const QString& name) {
    name_ = name;
    Pages.clear();
    job.SetData(data_.get());
    job.SetUdskrivTilSkaerm(true);
    job.RunList(rounds);
    return Pages.join(u'\n').split(u'\n');
}

QString TListTest::Written(TUdskrift& job, const QString& name, const QString& fixedName) {
    job.SetData(data_.get());
    job.SetUdskrivTilSkaerm(false);
    job.SetUdskrivTilPrinter(false);
    job.HtmlUdskrift = true;
    job.HtmlNameSuffix = name.isEmpty() ? QString() : " " + name;
    job.RunOne();
    const QFileInfo named(ResolvePath(job.HtmlPageFileName(fixedName)));
    const QString page = named.dir().filePath(named.fileName().toLower());
    Keep(page, name);
    return page;
}

QStringList TListTest::PrintedBy(TUdskrift& job, const QString& name, const std::function<void()>& run) {
    name_ = name;
    Pages.clear();
    job.SetData(data_.get());
    job.SetUdskrivTilSkaerm(true);
    run();
    return Pages.join(u'\n').split(u'\n');
}

QString TListTest::WrittenBy(TUdskrift& job, const QString& name, const QString& page,
                             const std::function<void()>& run) {
    job.SetData(data_.get());
    job.SetUdskrivTilSkaerm(false);
    job.SetUdskrivTilPrinter(false);
    job.HtmlUdskrift = true;
    run();
    const QString path = ResolvePath(Manager().GetStaevneDir() + "/" + page);
    Keep(path, name);
    return path;
}

void TListTest::Keep(const QString& page, const QString& name) {
    if (const QString keep = KeepDir(); !keep.isEmpty()) {
        QFile::remove(keep + "/" + name + ".htm");
        QFile::copy(page, keep + "/" + name + ".htm");
    }
    EXPECT_EQ(HtmlErrors(page), "") << name.toStdString();
}

QString TListTest::HtmlErrors(const QString& fileName) {
    if (!QFile::exists(fileName))
        return "<no page " + fileName + ">";
    return ErrorsOf("xmllint", {"--html", "--noout", fileName});
}

QString TListTest::XmlErrors(const QString& fileName) {
    if (!QFile::exists(fileName))
        return "<no document " + fileName + ">";
    return ErrorsOf("xmllint", {"--noout", fileName});
}

QStringList Matching(const QStringList& lines, const QString& pattern) {
    const QRegularExpression expression(pattern);
    QStringList matching;
    for (const QString& line : lines)
        if (expression.match(line).hasMatch())
            matching.append(line);
    return matching;
}

qsizetype IndexOf(const QStringList& lines, const QString& pattern) {
    const QRegularExpression expression(pattern);
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (expression.match(lines[i]).hasMatch())
            return i;
    return -1;
}
