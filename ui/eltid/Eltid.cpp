#include "ui/eltid/Eltid.h"

#include "foundation/LxDisk.h"
#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"
#include "model/D_Context.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Tekster.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>

// ---------------------------------------------------------------- one heat

struct TEltidHeat::TBefore {
    QString RK;
    qint32 Resultat = 0;
    quint16 PK = 0;
    quint16 Plac = 0;
    QString VK;
    qint32 Vind = 0;
    qint32 Tusindedele = 0;
    bool Modified = false;

    bool SameAs(const TResultat& row) const {
        return RK == row.RK && Resultat == row.Resultat && PK == row.PK && Plac == row.Plac && VK == row.VK &&
               Vind == row.Vind && Tusindedele == row.Tusindedele;
    }
};

TEltidHeat::TEltidHeat(TResultatManager& manager, qint32 heat)
    : manager_(manager)
    , heat_(heat) {
    for (int i = 0; i < manager.Count(); ++i) {
        TResultat* row = manager.GetResultat(i);
        if (row->Heat != heat)
            continue;
        rows_.push_back(row);
        before_.emplace(row, TBefore{row->RK, row->Resultat, row->PK, row->Plac, row->VK, row->Vind,
                                     row->Tusindedele, row->Modified});
        // The first row of a number, as the manager's lookups find it.
        byStartnummer_.emplace(row->Startnummer, row);
        byBane_.emplace(row->Bane, row);
    }
}

TEltidHeat::~TEltidHeat() = default;

TResultat* TEltidHeat::FindStartnummer(qint32 startnummer) const {
    const auto found = byStartnummer_.find(startnummer);
    return found == byStartnummer_.end() ? nullptr : found->second;
}

TResultat* TEltidHeat::FindBane(qint32 bane) const {
    const auto found = byBane_.find(bane);
    return found == byBane_.end() ? nullptr : found->second;
}

const TEltidHeat::TBefore& TEltidHeat::BeforeOf(const TResultat& row) const {
    return before_.at(&row);
}

void TEltidHeat::RestoreModified(TResultat& row) const {
    const TBefore& before = BeforeOf(row);
    if (before.SameAs(row))
        row.Modified = before.Modified;
}

void TEltidHeat::RestoreMatch(TResultat& row) const {
    const TBefore& before = BeforeOf(row);
    row.Resultat = before.Resultat;
    row.Tusindedele = before.Tusindedele;
    row.PK = before.PK;
    row.Plac = before.Plac;
    row.VK = before.VK;
    RestoreModified(row);
}

void TEltidHeat::RestoreAll() const {
    for (TResultat* row : rows_) {
        const TBefore& before = BeforeOf(*row);
        RestoreMatch(*row);
        row->RK = before.RK;
        row->Vind = before.Vind;
        RestoreModified(*row);
    }
}

void TEltidHeat::SetVind(qint32 vind) const {
    for (TResultat* row : rows_)
        row->SetVind(vind);
}

// ---------------------------------------------------------------- lines

namespace {

// A whole number of the text, 0 for any other text.
qint32 NumberOf(const QString& text) {
    bool ok = false;
    const qint32 n = text.trimmed().toInt(&ok);
    return ok ? n : 0;
}

const QString Fejl = QStringLiteral("FEJL");

} // namespace

qint32 TEltidData::BaneNr() const {
    return NumberOf(Bane);
}

qint32 TEltidData::StartNr() const {
    return NumberOf(Startnr);
}

QString TEltidData::StatusText() const {
    if (IsFejl())
        return Fejl;
    return IsStatus() ? FormatResKode(Kode) : QStringLiteral("OK");
}

QString TEltidData::FejlText() const {
    if (!LineFejl.isEmpty())
        return LineFejl;
    if (!MatchFejl.isEmpty())
        return MatchFejl;
    if (Resultat == nullptr)
        return QStringLiteral("Ingen i heatet har startnummer ") + Startnr + QStringLiteral(" eller bane ") +
               Bane;
    return {};
}

// ---------------------------------------------------------------- the reader

TEltid::TEltid(TEltidHeat& heat, int cameraIndex, const QString& systemWord, TEltidListing listing)
    : heat_(heat)
    , systemName_(systemWord + QString::number(cameraIndex))
    , listing_(std::move(listing)) {}

TEltid::~TEltid() = default;

void TEltid::SetFlags(bool minutTilSekund, bool omega1000) {
    minutTilSekund_ = minutTilSekund;
    omega1000_ = omega1000;
}

QString TEltid::PathFileName() const {
    return DataDirFile(systemName_ + QStringLiteral(".path"));
}

QString TEltid::FilesFileName() const {
    return DataDirFile(systemName_ + QStringLiteral(".files"));
}

const QString& TEltid::ReadResultFolder() {
    const QStringList lines = ReadTextLines(PathFileName());
    resultFolder_ = lines.isEmpty() ? QString() : lines.first().trimmed();
    return resultFolder_;
}

namespace {

QStringList ReadNames(const QString& fileName) {
    QStringList names;
    for (const QString& line : ReadTextLines(fileName)) {
        const QString name = line.trimmed();
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

} // namespace

TEltidFileList TEltid::GetFileList(bool tidligere) {
    TEltidFileList list;
    list.Folder = ReadResultFolder();
    if (!list.Folder.isEmpty()) {
        const QStringList read = ReadNames(FilesFileName());
        const QString folder = ResolvePath(list.Folder);
        if (tidligere) {
            list.Names = read;
        } else if (!QFileInfo(folder).isDir()) {
            list.Fejl = QStringLiteral("Eltid-mappen ") + list.Folder + QStringLiteral(" findes ikke");
        } else {
            QSet<QString> skip;
            skip.reserve(read.size());
            for (const QString& name : read)
                skip.insert(name.toUpper());
            list.Names = ListEltidFolder(folder, listing_, skip);
        }
    }
    fileList_ = list.Names;
    return list;
}

void TEltid::AddReadFiles(const QStringList& names) const {
    QStringList read = ReadNames(FilesFileName());
    for (const QString& name : names) {
        if (!read.contains(name, Qt::CaseInsensitive))
            read.append(name);
    }
    WriteTextLines(FilesFileName(), read);
}

void TEltid::RemoveReadFiles() const {
    const QString path = ResolvePath(FilesFileName());
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw Exception(QStringLiteral("Filen ") + FilesFileName() + QStringLiteral(" kunne ikke slettes"));
}

void TEltid::SetReference(const QString& chosenFile) {
    const QString folder = QFileInfo(ResolvePath(chosenFile)).absolutePath();
    WriteTextLines(PathFileName(), {folder});
    resultFolder_ = folder;
}

// ---------------------------------------------------------------- reading

void TEltid::Choose(const QString& baseName) {
    ReadResultFolder();
    for (TEltidData& line : lines_)
        Unmatch(line);
    lines_.clear();
    heatVind_.clear();
    heatVindFejl_.clear();
    baseName_ = baseName;
    poller_ = std::make_unique<TEltidPoller>(std::make_unique<TEltidFileWatch>(
        resultFolder_, GetResultFileName(baseName), GetWindFileName(baseName)));
}

TEltidPoll TEltid::Take(const std::optional<TEltidCheck>& check) {
    if (!check)
        return TEltidPoll::Waiting;
    if (Apply(*check))
        return TEltidPoll::Read;
    // A failing file is looked at again next time: its failure comes back until it is mended.
    if (!check->Fejl.isEmpty())
        throw Exception(check->Fejl);
    return TEltidPoll::Unchanged;
}

TEltidPoll TEltid::Poll(std::chrono::milliseconds wait) {
    return poller_ ? Take(poller_->Poll(wait)) : TEltidPoll::Unchanged;
}

TEltidPoll TEltid::PollNow() {
    return poller_ ? Take(poller_->PollNow()) : TEltidPoll::Unchanged;
}

std::chrono::milliseconds TEltid::Waiting() const {
    return poller_ ? poller_->Running() : std::chrono::milliseconds(0);
}

bool TEltid::Apply(const TEltidCheck& check) {
    if (check.Result)
        ReadResult(*check.Result);
    if (check.Wind)
        ReadVind(*check.Wind);
    return check.HasNews();
}

void TEltid::ReadResult(const QByteArray& bytes) {
    for (TEltidData& line : lines_)
        Unmatch(line);
    lines_.clear();
    const QString text = Windows1252::Decode(bytes);
    BeginParse();
    ForEachTextLine(text, [this](QStringView line) { ParseResultLine(line); });
    const auto order = [](const TEltidData& line) {
        return line.PlacNr > 0 ? line.PlacNr : std::numeric_limits<qint32>::max();
    };
    std::stable_sort(lines_.begin(), lines_.end(),
                     [&order](const TEltidData& a, const TEltidData& b) { return order(a) < order(b); });
    for (TEltidData& line : lines_)
        Match(line, false);
}

void TEltid::ReadVind(const QByteArray& bytes) {
    heatVind_.clear();
    heatVindFejl_.clear();
    const QString text = Windows1252::Decode(bytes);
    BeginParse();
    ForEachTextLine(text, [this](QStringView line) { ParseWindLine(line); });
}

void TEltid::AddLine(QStringView plac, QStringView bane, QStringView startnr, QStringView tid) {
    bool isNumber = false;
    const qint32 placNr = plac.toInt(&isNumber);
    // A line with neither a place nor an athlete is a heading or a remark, not a result.
    const auto athlete = [](QStringView field) { return field.toInt() > 0; };
    if (!isNumber && EltidStatusKode(plac).isEmpty() && !athlete(startnr) && !athlete(bane))
        return;
    TEltidData& line = lines_.emplace_back();
    line.Plac = plac.toString();
    line.Startnr = startnr.toString();
    // The start number alone matches when there is one.
    line.Bane = NumberOf(line.Startnr) > 0 ? QStringLiteral("0") : bane.toString();
    if (isNumber && placNr >= 1) {
        line.PlacNr = placNr;
        if (const std::optional<TEltidTid> time = ConvertEltidTid(tid, minutTilSekund_)) {
            line.Tid = time->Text;
            line.Mark = time->Mark;
            line.Tusindedele = time->Tusindedele;
        } else {
            line.Tid = tid.trimmed().toString();
            line.LineFejl = QStringLiteral("Tiden \"") + line.Tid + QStringLiteral("\" kan ikke læses");
        }
        return;
    }
    line.Tid = tid.trimmed().toString();
    line.Kode = EltidStatusKode(plac);
    if (line.Kode.isEmpty())
        line.LineFejl = QStringLiteral("Placeringen \"") + line.Plac + QStringLiteral("\" er ikke et tal");
}

void TEltid::TakeVind(QStringView text) {
    heatVind_ = text.toString();
    heatVindFejl_ = CheckEltidVind(heatVind_).Fejl;
}

// ---------------------------------------------------------------- matching

bool TEltid::MatchedElsewhere(const TResultat& row, const TEltidData& line) const {
    return std::any_of(lines_.begin(), lines_.end(),
                       [&](const TEltidData& other) { return &other != &line && other.Resultat == &row; });
}

void TEltid::Unmatch(TEltidData& line) {
    if (line.Resultat)
        heat_.RestoreMatch(*std::exchange(line.Resultat, nullptr));
}

void TEltid::Write(const TEltidData& line, TResultat& row) const {
    row.CheckHeat();
    row.SetResultat(line.Mark);
    row.SetTusindedele(line.Tusindedele);
    row.SetPK(line.PlacNr);
    row.SetPlac(line.PlacNr);
    const QChar next = row.OvelseInfo ? row.OvelseInfo->GetNextRunde() : QChar();
    const qint32 viderePlac =
        row.OvelseInfo ? row.OvelseInfo->OvelseRn().GetField(OvelseRnField::AntalViderePlac)->GetAsInteger()
                       : 0;
    if (!next.isNull() && line.PlacNr >= 1 && line.PlacNr <= viderePlac)
        row.SetVK(QString(next.toUpper()));
    else
        row.SetVK(QString());
}

void TEltid::Match(TEltidData& line, bool byBane) {
    Unmatch(line);
    line.MatchFejl.clear();
    line.MatchByBane = byBane;
    if (!line.LineFejl.isEmpty())
        return;
    TResultat* row = nullptr;
    if (!byBane && line.StartNr() > 0)
        row = heat_.FindStartnummer(line.StartNr());
    if (!row && line.BaneNr() > 0)
        row = heat_.FindBane(line.BaneNr());
    if (!row)
        return;
    if (MatchedElsewhere(*row, line)) {
        line.MatchFejl = QStringLiteral("En linje før denne har samme løber");
        return;
    }
    line.Resultat = row;
    if (line.IsStatus())
        return; // its status is given on acceptance
    try {
        Write(line, *row);
    } catch (const Exception& error) {
        Unmatch(line);
        line.MatchFejl = error.Message();
    }
}

void TEltid::MatchAgain() {
    for (TEltidData& line : lines_) {
        if (!line.Resultat && !line.MatchFejl.isEmpty())
            Match(line, line.MatchByBane);
    }
}

TEltidData& TEltid::LineAt(int index) {
    if (index < 0 || index >= int(lines_.size()))
        throw Exception(QStringLiteral("Linje %1 findes ikke").arg(index + 1));
    return lines_[std::size_t(index)];
}

namespace {

// A typed lane or start number; raises for a text that is no number of 0 or more.
QString TypedNumber(const QString& text, const QString& what) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("0");
    bool ok = false;
    const qint32 n = trimmed.toInt(&ok);
    if (!ok || n < 0)
        throw Exception(what + QStringLiteral(" skal være et tal: ") + trimmed);
    return QString::number(n);
}

} // namespace

void TEltid::SetLineBane(int index, const QString& text) {
    TEltidData& line = LineAt(index);
    line.Bane = TypedNumber(text, QStringLiteral("Banen"));
    Match(line, true);
    MatchAgain();
}

void TEltid::SetLineStartnr(int index, const QString& text) {
    TEltidData& line = LineAt(index);
    line.Startnr = TypedNumber(text, QStringLiteral("Startnummeret"));
    Match(line, false);
    MatchAgain();
}

int TEltid::FejlCount() const {
    return int(
        std::count_if(lines_.begin(), lines_.end(), [](const TEltidData& line) { return line.IsFejl(); }));
}

// ---------------------------------------------------------------- acceptance

void TEltid::Finish() {
    // The lines with a time, in place order: a time shared with a neighbour is a tie the place decides.
    std::vector<const TEltidData*> timed;
    for (const TEltidData& line : lines_) {
        if (line.Mark > 0 && line.LineFejl.isEmpty())
            timed.push_back(&line);
    }
    for (std::size_t i = 0; i < timed.size(); ++i) {
        const TEltidData& line = *timed[i];
        if (!line.Resultat)
            continue;
        const bool tied = (i > 0 && timed[i - 1]->Mark == line.Mark) ||
                          (i + 1 < timed.size() && timed[i + 1]->Mark == line.Mark);
        if (!tied)
            line.Resultat->SetPK(0);
    }
    for (const TEltidData& line : lines_) {
        if (line.Resultat && line.IsStatus() && IsKodeBlank(line.Resultat->RK))
            line.Resultat->SetRK(line.Kode);
    }
    for (TResultat* row : heat_.Rows()) {
        if (row->Resultat == 0 && IsKodeBlank(row->RK))
            row->SetRK(QStringLiteral("E"));
    }
}
