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
        const int slot = int(rows_.size());
        rows_.push_back(row);
        before_.push_back(TBefore{row->RK, row->Resultat, row->PK, row->Plac, row->VK, row->Vind,
                                  row->Tusindedele, row->Modified});
        // The first row of a number, as the manager's lookups find it.
        byStartnummer_.emplace(row->Startnummer, slot);
        byBane_.emplace(row->Bane, slot);
    }
    if (const TOvelseInfo* info = manager.OvelseInfo()) {
        const QChar next = info->GetNextRunde();
        if (!next.isNull())
            nextRunde_ = QString(next.toUpper());
        viderePlac_ = info->OvelseRn().GetField(OvelseRnField::AntalViderePlac)->GetAsInteger();
    }
}

TEltidHeat::~TEltidHeat() = default;

int TEltidHeat::SlotOfStartnummer(qint32 startnummer) const {
    const auto found = byStartnummer_.find(startnummer);
    return found == byStartnummer_.end() ? -1 : found->second;
}

int TEltidHeat::SlotOfBane(qint32 bane) const {
    const auto found = byBane_.find(bane);
    return found == byBane_.end() ? -1 : found->second;
}

void TEltidHeat::RestoreModified(TResultat& row, const TBefore& before) const {
    if (before.SameAs(row))
        row.Modified = before.Modified;
}

void TEltidHeat::RestoreMatch(TResultat& row, const TBefore& before) const {
    row.Resultat = before.Resultat;
    row.Tusindedele = before.Tusindedele;
    row.PK = before.PK;
    row.Plac = before.Plac;
    row.VK = before.VK;
    RestoreModified(row, before);
}

void TEltidHeat::RestoreMatch(int slot) const {
    if (slot >= 0 && slot < int(rows_.size()))
        RestoreMatch(*rows_[std::size_t(slot)], before_[std::size_t(slot)]);
}

void TEltidHeat::RestoreAll() const {
    for (std::size_t slot = 0; slot < rows_.size(); ++slot) {
        TResultat& row = *rows_[slot];
        const TBefore& before = before_[slot];
        row.RK = before.RK;
        row.Vind = before.Vind;
        RestoreMatch(row, before);
    }
}

QString TEltidHeat::VidereKode(qint32 plac) const {
    return plac >= 1 && plac <= viderePlac_ ? nextRunde_ : QString();
}

void TEltidHeat::SetVind(qint32 vind) const {
    for (TResultat* row : rows_)
        row->SetVind(vind);
}

// ---------------------------------------------------------------- lines

namespace {

// A whole number of the text, 0 for any other text.
qint32 NumberOf(QStringView text) {
    return EltidNumber(text).value_or(0);
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
    , listing_(std::move(listing))
    , taken_(heat.Rows().size(), false) {}

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
    QString result;
    if (check.Result) {
        result = Windows1252::Decode(*check.Result);
        ReadResult(result);
    }
    if (check.Wind) {
        // One file with both: decoded once.
        const bool same = check.Result && check.Wind->constData() == check.Result->constData();
        ReadVind(same ? result : Windows1252::Decode(*check.Wind));
    }
    return check.HasNews();
}

void TEltid::ReadResult(const QString& text) {
    // The rows are written anew; only those no line takes any more are given back, afterwards.
    const std::vector<char> taken = std::exchange(taken_, std::vector<char>(taken_.size(), false));
    used_ = 0;
    BeginParse();
    ForEachTextLine(text, [this](QStringView line) { ParseResultLine(line); });
    lines_.erase(lines_.begin() + std::ptrdiff_t(used_), lines_.end());
    const auto before = [](const TEltidData& a, const TEltidData& b) {
        const auto order = [](const TEltidData& line) {
            return line.PlacNr > 0 ? line.PlacNr : std::numeric_limits<qint32>::max();
        };
        return order(a) < order(b);
    };
    // Files come in place order as a rule.
    if (!std::is_sorted(lines_.begin(), lines_.end(), before))
        std::stable_sort(lines_.begin(), lines_.end(), before);
    for (TEltidData& line : lines_)
        Match(line, false);
    for (std::size_t slot = 0; slot < taken.size(); ++slot) {
        if (taken[slot] && !taken_[slot])
            heat_.RestoreMatch(int(slot));
    }
}

void TEltid::ReadVind(const QString& text) {
    heatVind_.clear();
    heatVindFejl_.clear();
    BeginParse();
    ForEachTextLine(text, [this](QStringView line) { ParseWindLine(line); });
}

namespace {

// The text into the string's own room when it has enough: a reading makes the same strings again.
template <typename Text>
void AssignText(QString& target, const Text& text) {
    target.resize(text.size());
    std::copy(text.begin(), text.end(), target.begin());
}

} // namespace

TEltidData& TEltid::NextLine() {
    if (used_ == lines_.size()) {
        ++used_;
        return lines_.emplace_back();
    }
    TEltidData& line = lines_[used_++];
    line.Tusindedele = 0;
    line.Resultat = nullptr;
    line.Slot = -1;
    line.PlacNr = 0;
    line.Mark = 0;
    line.MatchByBane = false;
    for (QString* text : {&line.Kode, &line.LineFejl, &line.MatchFejl}) {
        if (!text->isNull())
            *text = QString();
    }
    return line;
}

void TEltid::AddLine(QStringView plac, QStringView bane, QStringView startnr, QStringView tid) {
    const std::optional<qint32> number = EltidNumber(plac);
    const bool isNumber = number.has_value();
    const qint32 placNr = number.value_or(0);
    // A line with neither a place nor an athlete is a heading or a remark, not a result.
    const auto athlete = [](QStringView field) { return NumberOf(field) > 0; };
    if (!isNumber && EltidStatusKode(plac).isEmpty() && !athlete(startnr) && !athlete(bane))
        return;
    TEltidData& line = NextLine();
    AssignText(line.Plac, plac);
    AssignText(line.Startnr, startnr);
    // The start number alone matches when there is one.
    if (NumberOf(startnr) > 0)
        line.Bane = QStringLiteral("0");
    else
        AssignText(line.Bane, bane);
    if (isNumber && placNr >= 1) {
        line.PlacNr = placNr;
        if (const std::optional<TEltidTid> time = ConvertEltidTid(tid, minutTilSekund_)) {
            AssignText(line.Tid, time->Chars());
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
    if (isNumber)
        line.LineFejl =
            QStringLiteral("Placeringen \"") + line.Plac + QStringLiteral("\" skal være mindst 1");
    else if (line.Kode.isEmpty())
        line.LineFejl = QStringLiteral("Placeringen \"") + line.Plac + QStringLiteral("\" er ikke et tal");
}

void TEltid::TakeVind(QStringView text) {
    heatVind_ = text.toString();
    heatVindFejl_ = CheckEltidVind(heatVind_).Fejl;
}

// ---------------------------------------------------------------- matching

void TEltid::Unmatch(TEltidData& line) {
    if (!line.Resultat)
        return;
    line.Resultat = nullptr;
    const int slot = std::exchange(line.Slot, -1);
    taken_[std::size_t(slot)] = false;
    heat_.RestoreMatch(slot);
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
    int slot = -1;
    if (!byBane && line.StartNr() > 0)
        slot = heat_.SlotOfStartnummer(line.StartNr());
    if (slot < 0 && line.BaneNr() > 0)
        slot = heat_.SlotOfBane(line.BaneNr());
    if (slot < 0)
        return;
    // The line's own row was given back above: a row still taken is another line's, before or after it.
    if (taken_[std::size_t(slot)]) {
        const auto other = std::find_if(lines_.begin(), lines_.end(),
                                        [slot](const TEltidData& each) { return each.Slot == slot; });
        line.MatchFejl = other == lines_.end()
                             ? QStringLiteral("En anden linje har samme løber")
                             : QStringLiteral("Linje %1 har samme løber").arg(other - lines_.begin() + 1);
        return;
    }
    taken_[std::size_t(slot)] = true;
    line.Slot = slot;
    line.Resultat = heat_.Rows()[std::size_t(slot)];
    if (line.IsStatus()) {
        // Its status is given on acceptance; a time an earlier reading gave the row goes.
        heat_.RestoreMatch(slot);
        return;
    }
    try {
        Write(line, *line.Resultat);
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
