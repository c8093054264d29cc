#include "PrintRecorder.h"

#include "foundation/Windows1252.h"
#include "support/Files.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

namespace {

class TRecordingEngine : public QPaintEngine {
public:
    explicit TRecordingEngine(TRecordingDevice& device)
        : QPaintEngine(QPaintEngine::AllFeatures)
        , device_(device) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    Type type() const override { return QPaintEngine::User; }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}

    void drawTextItem(const QPointF& position, const QTextItem& item) override {
        const QRectF clip = painter()->hasClipping() ? painter()->clipBoundingRect() : QRectF();
        device_.Texts.push_back({item.text(), position, item.font(), clip, device_.Page});
    }
    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i)
            device_.Rects.push_back({rects[i], device_.Page});
    }
    void drawRects(const QRect* rects, int count) override {
        for (int i = 0; i < count; ++i)
            device_.Rects.push_back({QRectF(rects[i]), device_.Page});
    }

private:
    TRecordingDevice& device_;
};

} // namespace

TRecordingDevice::TRecordingDevice(int dpi, QSizeF inches)
    : dpi_(dpi)
    , inches_(inches)
    , engine_(std::make_unique<TRecordingEngine>(*this)) {}

TRecordingDevice::~TRecordingDevice() = default;

QPaintEngine* TRecordingDevice::paintEngine() const {
    return engine_.get();
}

int TRecordingDevice::metric(PaintDeviceMetric metricKind) const {
    switch (metricKind) {
    case PdmWidth:
        return qRound(inches_.width() * dpi_);
    case PdmHeight:
        return qRound(inches_.height() * dpi_);
    case PdmWidthMM:
        return qRound(inches_.width() * 25.4);
    case PdmHeightMM:
        return qRound(inches_.height() * 25.4);
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return dpi_;
    case PdmDepth:
        return 32;
    default:
        return QPaintDevice::metric(metricKind);
    }
}

QStringList TRecordingDevice::TextsOf(int page) const {
    QStringList texts;
    for (const TRecordedText& text : Texts)
        if (text.Page == page)
            texts.append(text.Text);
    return texts;
}

const TRecordedText* TRecordingDevice::Find(const QString& text) const {
    for (const TRecordedText& recorded : Texts)
        if (recorded.Text == text)
            return &recorded;
    return nullptr;
}

void RecordPrint(TPrint& print, TRecordingDevice& device) {
    print.SetResolution(static_cast<quint16>(device.Dpi()));
    QPainter painter(&device);
    print.OutputPages(painter, static_cast<int>(device.width() * 0.99), device.height(),
                      [&device] { ++device.Page; });
}

QStringList PdfFilePages(const QString& fileName) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), fileName, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0)
        return {QStringLiteral("<pdftotext failed>")};
    QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QStringList PdfPages(TPrint& print, int dpi) {
    QTemporaryDir folder;
    const QString fileName = folder.filePath(QStringLiteral("list.pdf"));
    {
        QPdfWriter writer(fileName);
        writer.setResolution(dpi);
        writer.setPageSize(QPageSize(QPageSize::Letter));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        print.PrintOn(writer);
    }
    return PdfFilePages(fileName);
}

QStringList SectionLines(const TCustomPrint& print, TPrintSection section, double fromRow, double toRow) {
    QStringList lines;
    const TPrintLines& all = print.Lines(section);
    for (int i = 0; i < all.Count(); ++i) {
        if (all[i].Row < fromRow || all[i].Row > toRow)
            continue;
        QStringList fields;
        for (const TPrintField& field : all[i].Fields)
            fields.append(QStringLiteral("%1 %2 %3 %4 %5 %6 ")
                              .arg(static_cast<int>(field.Alignment))
                              .arg(static_cast<int>(field.Kind))
                              .arg(field.X)
                              .arg(field.Font->Font.Name)
                              .arg(field.Font->Font.Size)
                              .arg(field.Font->Font.Style) +
                          field.Text);
        lines.append(QString::number(all[i].Row) + ": " + fields.join(" | "));
        if (all[i].SpaceBefore != 0)
            lines.last() += QStringLiteral(" [%1]").arg(all[i].SpaceBefore);
    }
    return lines;
}

QStringList PageLines(const QString& fileName) {
    QString text = Windows1252::Decode(ReadFile(fileName));
    EXPECT_TRUE(text.endsWith("\r\n") || text.isEmpty()) << fileName.toStdString();
    EXPECT_EQ(text.count(u'\n'), text.count("\r\n")) << "a line end without CR in " << fileName.toStdString();
    text.chop(2);
    return text.split("\r\n");
}

QString HtmlXPath(const QString& fileName, const QString& xpath) {
    QProcess xmllint;
    xmllint.start("xmllint", {"--html", "--nowarning", "--xpath", xpath, fileName});
    if (!xmllint.waitForFinished())
        return "<xmllint did not run>";
    return QString::fromUtf8(xmllint.readAllStandardOutput()).trimmed();
}
