#include "ui/board/ResultatInfoPages.h"

#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"
#include "model/D_BoardFil.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_ResultTable.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"
#include "print/D_TeksterDiplom.h"
#include "storage/BtvTransaction.h"
#include "ui/board/ResultatInfoJpeg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr int FirstFontSize = 10;
// A measure that never reaches the row stops here.
constexpr int LastFontSize = 2000;
constexpr int FontMargin = 3;
constexpr double SmallFactor = 0.8;
constexpr int NrPercent = 9;
constexpr int StartnrPercent = 18;
constexpr int ResultatPercent = 40;
constexpr int NavnPercent = 45;

int Percent(int width, int percent) {
    return static_cast<int>(std::lround(width * percent / 100.0));
}

QString Counts(const TBoardRound& round) {
    return QStringLiteral("I mål: ") + QString::number(round.AntalResultater) +
           QStringLiteral("  Tilmeldt: ") + QString::number(round.AntalStartere);
}

QString ResultatText(const TOvelseInfo& info, const TResultat& row) {
    if (!IsKodeBlank(row.RK))
        return row.RK.Text().trimmed();
    if (CurrentSystemData().Motionsloeb) {
        const QTime tid = MotionsloebTid(row.Resultat, info.GetTid());
        return tid.isValid() ? tid.toString(QStringLiteral("H:mm:ss")) : QString();
    }
    return FormatOvelseResultatNoWind(info, row.Resultat);
}

// A picture named in the file: as it stands when it is a full path, else in the program folder.
QString PicturePath(const QString& name) {
    const QString trimmed = name.trimmed();
    return QDir::isAbsolutePath(QString(trimmed).replace(u'\\', u'/')) ? ResolvePath(trimmed)
                                                                       : DataDirFile(trimmed);
}

} // namespace

// ---------------------------------------------------------------- layout

int FitFontSize(int rowHeight, const TTextHeight& textHeight) {
    int size = FirstFontSize;
    while (size < LastFontSize && textHeight(size) < rowHeight)
        ++size;
    return size - FontMargin;
}

TBoardLayout BoardLayout(QSize screen, int linesPerScreen, const TTextHeight& textHeight) {
    TBoardLayout layout;
    layout.RowHeight = screen.height() / std::max(linesPerScreen, 1);
    layout.FontSize = std::max(FitFontSize(layout.RowHeight, textHeight), 1);
    layout.SmallSize = std::max(static_cast<int>(std::lround(layout.FontSize * SmallFactor)), 1);
    layout.SmallDrop = textHeight(layout.FontSize) - textHeight(layout.SmallSize) - 1;
    layout.HeadingSize = std::max(layout.FontSize / 2, 1);
    layout.NrRight = Percent(screen.width(), NrPercent);
    layout.StartnrRight = Percent(screen.width(), StartnrPercent);
    layout.ResultatRight = Percent(screen.width(), ResultatPercent);
    layout.NavnLeft = Percent(screen.width(), NavnPercent);
    return layout;
}

// ---------------------------------------------------------------- the cycle

TBoardPages::TBoardPages(int board)
    : board_(board)
    , manager_(std::make_unique<TResultatManager>())
    , records_(std::make_unique<TResultatRecordTable>()) {
    records_->Open();
    ShowTitle();
}

TBoardPages::~TBoardPages() = default;

int TBoardPages::RowsPerPage() const {
    // A fun run keeps the last line for its counts.
    return LinesPerScreen - FirstRowLine - (CurrentSystemData().Motionsloeb ? 1 : 0);
}

void TBoardPages::Read(bool moveOn) {
    ++reloadCount_;
    TCursor from = cursor_;
    if (ReadFileIfChanged())
        from = {};
    else if (retry_)
        from = *retry_;
    else if (moveOn)
        from = Advanced(cursor_);
    retry_.reset();
    Show(from);
}

std::optional<TBoardPages::TFileStamp> TBoardPages::StampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return TFileStamp{qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, qint64(st.st_size),
                      quint64(st.st_ino)};
}

bool TBoardPages::ReadFileIfChanged() {
    const QString path = BoardFilPath(BoardFilNavn(board_));
    // Taken before the reading: a file changed while it is read is read again on the next step.
    const std::optional<TFileStamp> stamp = StampOf(path);
    if (fileRead_ && stamp == stamp_)
        return false;
    const bool first = !fileRead_;
    fileRead_ = true;
    // Kept only once the file is read through: a reading that failed is tried again on the next step.
    stamp_.reset();
    // The rounds go before the programme they belong to.
    manager_->LoadOvelse(nullptr);
    round_.reset();
    ovelser_.clear();
    pictures_.clear();
    cycling_ = false;
    if (!stamp)
        return true;
    QFile file(path);
    const TBoardFil fil =
        ParseBoardFil(file.open(QIODevice::ReadOnly) ? Windows1252::Decode(file.readAll()) : QString());
    // The editor writes the file after it changed the programme: its new rounds are to be found. An
    // unchanged programme is not read again: at a big meet that would cost many rounds' loads.
    if (!first)
        OvelseManager->ReloadIfChanged();
    ovelser_ = FindBoardOvelser(*OvelseManager, fil.Keys);
    LoadPictures(fil.Pictures);
    cycling_ = fil.Timer;
    stamp_ = stamp;
    return true;
}

void TBoardPages::LoadPictures(const QStringList& names) {
    const qint64 maxBytes = MaxJpegFileBytes(screenSize_);
    for (const QString& name : names) {
        // Only a file: a pipe would hold the board until someone wrote to it.
        QFile file(PicturePath(name));
        if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly) || file.size() > maxBytes)
            continue;
        // No more than its size: a file that grows meanwhile is not read without end.
        QImage picture = DecodeJpeg(file.read(file.size()), screenSize_);
        if (!picture.isNull())
            pictures_.push_back(std::move(picture));
    }
}

TBoardPages::TCursor TBoardPages::Advanced(TCursor cursor) const {
    if (cursor.Page + 1 < pageCount_)
        return {cursor.Item, cursor.Page + 1};
    const int items = ItemCount();
    return {items > 0 ? (cursor.Item + 1) % items : 0, 0};
}

void TBoardPages::Show(TCursor from) {
    const int rounds = static_cast<int>(ovelser_.size());
    const int items = ItemCount();
    for (int tried = 0; tried < items; ++tried) {
        const int item = (from.Item + tried) % items;
        if (item >= rounds) {
            cursor_ = {item, 0};
            pageCount_ = 1;
            round_.reset();
            screen_ = TBoardScreen{};
            screen_.Kind = TBoardScreenKind::Picture;
            screen_.Picture = item - rounds;
            return;
        }
        std::optional<TBoardRound> round = LoadRound(*ovelser_[static_cast<std::size_t>(item)]);
        if (!round) {
            retry_ = TCursor{item, tried == 0 ? from.Page : 0};
            return;
        }
        if (round->Rows.empty())
            continue;
        const int perPage = RowsPerPage();
        pageCount_ = (static_cast<int>(round->Rows.size()) + perPage - 1) / perPage;
        cursor_ = {item, std::min(tried == 0 ? from.Page : 0, pageCount_ - 1)};
        round_ = std::move(round);
        screen_ = TBoardScreen{};
        screen_.Kind = TBoardScreenKind::Round;
        screen_.KlasseText = round_->KlasseText;
        screen_.OvelseText = round_->OvelseText;
        screen_.Counts = QStringLiteral("    ") + Counts(*round_);
        if (CurrentSystemData().Motionsloeb)
            screen_.MotionCounts = Counts(*round_);
        const auto first = round_->Rows.begin() + static_cast<std::ptrdiff_t>(cursor_.Page) * perPage;
        screen_.Rows.assign(first, first + std::min<std::ptrdiff_t>(perPage, round_->Rows.end() - first));
        return;
    }
    cursor_ = {};
    ShowTitle();
}

TBoardPages::TRoundRecords TBoardPages::ReadRecords(const TOvelseInfo& info) {
    // One snapshot of the round's records, not one read transaction per record.
    const TBtvReadScope reading;
    TRoundRecords records;
    for (bool found = records_->FirstOfRound(info); found; found = records_->NextOfRound()) {
        const std::vector<quint8>& fixed = records_->DataBuffer();
        const QByteArray& serie = records_->Serie();
        records.Bytes.append(reinterpret_cast<const char*>(fixed.data()),
                             static_cast<qsizetype>(fixed.size()));
        records.Bytes.append(QByteArray::number(serie.size())).append(serie);
        // A series may give the result when the round loads.
        records.MayShow =
            records.MayShow ||
            (IsResKodeStarted(records_->GetField(ResultatField::ResultatKode)->GetAsString()) &&
             (records_->GetField(ResultatField::Resultat)->GetAsInteger() != 0 || !serie.isEmpty()));
    }
    return records;
}

std::optional<TBoardRound> TBoardPages::LoadRound(TOvelseInfo& info) {
    // The record files keep no snapshot from one read to the next: a round loaded while the editor saves
    // it could be half the old rows and half the new. A save that came between the reading of its records
    // before the load and after it changed them (every row it writes gets a new time), so records alike on
    // both sides mean the load saw no save.
    TRoundRecords before = ReadRecords(info);
    for (int load = 0; load < MaxLoads; ++load) {
        if (!before.MayShow)
            return TBoardRound{};
        TBoardRound round = LoadOnce(info);
        TRoundRecords after = ReadRecords(info);
        if (after.Bytes == before.Bytes)
            return round;
        before = std::move(after);
    }
    return std::nullopt;
}

TBoardRound TBoardPages::LoadOnce(TOvelseInfo& info) {
    ++loadCount_;
    manager_->LoadOvelse(&info);
    manager_->UpdateOvelseInfo();
    // In result order, so that a page follows another without a result left out.
    if (manager_->Rules().ResType == 0)
        manager_->SortHeatResultat();
    else
        manager_->SortResultatHeat();
    TBoardRound round;
    round.KlasseText = info.GetKlasseText();
    round.OvelseText = info.GetOvelseText();
    round.AntalResultater = info.AntalResultater;
    round.AntalStartere = info.AntalAktiveDeltagere;
    for (int i = 0; i < manager_->Count(); ++i) {
        const TResultat& row = *manager_->GetResultat(i);
        if (!IsResKodeStarted(row.RK) || row.Resultat == 0)
            continue;
        round.Rows.push_back({row.IsValid() && row.Plac != 0 ? QString::number(row.Plac) : QString(),
                              QString::number(row.Startnummer), ResultatText(info, row), row.Navn});
    }
    // What is shown is kept here; the rows go until the next load.
    manager_->Clear();
    return round;
}

void TBoardPages::ShowTitle() {
    pageCount_ = 1;
    round_.reset();
    const TSystemData& meet = CurrentSystemData();
    screen_ = TBoardScreen{};
    screen_.TitleLines = {meet.Overskrift1, meet.Overskrift2, meet.Overskrift3,
                          QStringLiteral("Arrangør: ") + meet.Arrangor};
    screen_.Footer = QStringLiteral("Board #") + QString::number(board_) +
                     QStringLiteral(",  Zuno version ") + ProgramVersion + QStringLiteral("    Reload: ") +
                     QString::number(reloadCount_);
}

TBoardHeadLine FitHeadLine(const TBoardScreen& screen, int width, const QFontMetrics& metrics) {
    const auto fitted = [&metrics](const QString& text, int room) {
        return room <= 0 ? QString() : metrics.elidedText(text, Qt::ElideRight, room);
    };
    TBoardHeadLine line;
    line.OvelseLeft = width - BoardRightMargin - metrics.horizontalAdvance(screen.OvelseText);
    const int leftEnd = line.OvelseLeft - BoardCountsGap;
    line.KlasseText = fitted(screen.KlasseText, leftEnd - BoardLeftMargin);
    line.CountsLeft = BoardLeftMargin + metrics.horizontalAdvance(line.KlasseText) + BoardCountsGap;
    line.Counts = fitted(screen.Counts, leftEnd - line.CountsLeft);
    return line;
}
