#include "model/D_Staevne.h"

#include "foundation/BusyCursor.h"
#include "foundation/CodeText.h"
#include "foundation/Exception.h"
#include "foundation/LxClass.h"
#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"
#include "model/D_Context.h"
#include "platform/LittleEndian.h"
#include "storage/BtvTransaction.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

const QString& DataDir() {
    return ModelContext().ProgramDir;
}

QString DatoText(TDateTime dato) {
    return dato == 0 ? QString() : DateToStr(dato);
}

const TCodeText<TStaevneStatus> StatusTexts[] = {
    {TStaevneStatus::Oprettes, "er ved at blive oprettet,"},
    {TStaevneStatus::Slettes, "er ved at blive slettet,"},
    {TStaevneStatus::Importeres, "er under import,"},
};

[[noreturn]] void RefuseNavn(const QString& navn, const QString& why) {
    throw Exception(QStringLiteral("Illegalt stævnenavn: ") + navn + CrLf + why);
}

// A name becomes a folder name on Windows and on Linux, and must fit the record's Navn field.
void CheckFolderName(const QString& navn) {
    static const QString Forbidden = QStringLiteral("\\/:*?\"<>|");
    for (const QChar c : navn) {
        if (c.unicode() < 32 || Forbidden.contains(c))
            RefuseNavn(navn, QStringLiteral("Et stævnenavn må ikke indeholde: \\ / : * ? \" < > |"));
    }
    if (navn == u"." || navn == u"..")
        RefuseNavn(navn, QStringLiteral("Et stævnenavn må ikke være \".\" eller \"..\""));
    const QByteArray bytes = Windows1252::Encode(navn);
    if (Windows1252::Decode(bytes) != navn)
        RefuseNavn(navn, QStringLiteral("Et stævnenavn kan kun indeholde tegn fra tegnsættet Windows-1252"));
    const int size = TStaevneTable::Fields()[StaevneField::Navn].Size;
    if (bytes.size() > size)
        RefuseNavn(navn, QStringLiteral("Et stævnenavn må højst være på %1 tegn").arg(size));
}

// The meet's folder when its name makes it a direct child of the data folder, not the data folder
// itself nor a place elsewhere; empty otherwise.
QString OwnFolder(const QString& navn) {
    if (navn.isEmpty() || navn == u"." || navn == u".." || navn.contains(u'/') || navn.contains(u'\\'))
        return {};
    const QString folder = StaevneDirOf(navn);
    return QFileInfo(folder).path() == ResolvePath(DataDir()) ? folder : QString();
}

// The folder a new name gives, in exactly that letter case.
QString NewFolder(const QString& navn) {
    const QString folder = StaevneDirOf(navn);
    return folder.left(folder.lastIndexOf(u'/') + 1) + navn;
}

bool EntryExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// A folder made for a meet holds this file with the meet's number. Only such a folder is the meet's to
// remove with all it holds: a folder it did not make (an older version took over existing folders) may
// hold what the user keeps there.
const QString OwnFolderMark = QStringLiteral(".zuno-staevne");

QString MarkFile(const QString& folder) {
    return ResolvePath(PathJoin(folder, OwnFolderMark));
}

// Where an earlier version wrote the mark: beside the folder, under a name holding a backslash.
QString MisplacedMarkFile(const QString& folder) {
    return folder + u'\\' + OwnFolderMark;
}

bool MarkSays(const QString& file, qint32 stID) {
    QFile mark(file);
    return mark.open(QIODevice::ReadOnly) && mark.read(32).trimmed() == QByteArray::number(stID);
}

bool MarkedFor(const QString& folder, qint32 stID) {
    return MarkSays(MarkFile(folder), stID) || MarkSays(MisplacedMarkFile(folder), stID);
}

bool IsEmptyFolder(const QString& path) {
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink() &&
           QDir(path).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

// A meet never takes over what is there, since deleting it would take that along; an empty folder
// (one a meet left when its work was cut short) holds nothing to lose.
void RefuseTakenFolder(const QString& navn, const QString& folder) {
    if (EntryExists(folder) && !IsEmptyFolder(folder))
        RefuseNavn(navn, QStringLiteral("Der findes allerede en mappe eller fil med navnet ") +
                             QFileInfo(folder).fileName() + QStringLiteral(" i datamappen"));
}

// The same directory entry (a file system that ignores letter case gives one entry two names).
bool SameEntry(const QString& a, const QString& b) {
    struct stat sa {};
    struct stat sb {};
    return ::lstat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::lstat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace

TStaevneManager::TStaevneManager()
    : table_(std::make_unique<TStaevneTable>()) {
    SetSystemDataDefaults();
    table_->Open();
    LoadStaevneList();
    LoadRegistry();
    ModelContext().SystemData = &data_;
    UpdateContext();
}

TStaevneManager::~TStaevneManager() {
    TModelContext& context = ModelContext();
    if (context.SystemData == &data_) {
        context.SystemData = nullptr;
        context.CurrentStID = -1;
        context.StaevneDir.clear();
    }
}

// ---------------------------------------------------------------- the list

const TStaevneManager::TListedMeet& TStaevneManager::Meet(int index) const {
    if (index < 0 || index >= GetStaevneCount())
        RaiseListIndexError(index);
    return meets_[static_cast<std::size_t>(index)];
}

QString TStaevneManager::GetStaevneNavn(int index) const {
    return Meet(index).Navn;
}

QString TStaevneManager::GetStaevneDatoText(int index) const {
    return Meet(index).DatoText;
}

qint32 TStaevneManager::GetStaevneStID(int index) const {
    return Meet(index).StID;
}

int TStaevneManager::IndexOfStaevneNavn(const QString& navn) const {
    if (navn.isEmpty())
        return -1;
    for (std::size_t i = 0; i < meets_.size(); ++i) {
        if (meets_[i].Navn == navn)
            return static_cast<int>(i);
    }
    return -1;
}

int TStaevneManager::IndexOfStID(qint32 stID) const {
    for (std::size_t i = 0; i < meets_.size(); ++i) {
        if (meets_[i].StID == stID)
            return static_cast<int>(i);
    }
    return -1;
}

QString TStaevneManager::RecordNavn() const {
    return TrimBlanks(table_->GetField(StaevneField::Navn)->GetAsString());
}

void TStaevneManager::SetStatus(TStaevneStatus status) {
    table_->GetField(StaevneField::Status)->SetAsInteger(static_cast<int>(status));
}

void TStaevneManager::GotoCurrent() {
    table_->GotoPosition(Meet(currentIndex_).Position);
}

void TStaevneManager::LoadStaevneList() {
    bool lastReadable = false;
    meets_.clear();
    SetCurrent(-1);
    table_->SetIndexNumber(0);
    for (table_->GetFirst(); !table_->GetEof(); table_->GetNext()) {
        const QString navn = RecordNavn();
        const int status = table_->GetField(StaevneField::Status)->GetAsInteger();
        if (status != static_cast<int>(TStaevneStatus::Klar)) {
            ShowError(nullptr, QStringLiteral("Stævnet: ") + navn + CrLf +
                                   CodeText(StatusTexts, static_cast<TStaevneStatus>(status)) + CrLf +
                                   QStringLiteral("men funktionen er ikke korrekt tilendebragt.") + CrLf +
                                   CrLf + QStringLiteral("Stævnet vil ikke optræde i stævneoversigten."));
            continue;
        }
        const quint32 position = table_->GetPosition();
        const qint32 stID = table_->GetField(StaevneField::StID)->GetAsInteger();
        lastReadable = LoadBlock();
        if (!lastReadable)
            ShowError(nullptr,
                      QStringLiteral("Fejl i data for stævnet: ") + navn + CrLf + CrLf +
                          QStringLiteral("Data er nulstillet, husk at oprette igen under \"StævneData\"."));
        meets_.push_back({navn, position, stID, DatoText(data_.Dato)});
    }
    // The settings are the last listed meet's, as after reading each meet's in turn; its registry values
    // and printer need reading once only.
    if (lastReadable)
        LoadRegistryOf(meets_.back().Navn);
}

// ---------------------------------------------------------------- meets

void TStaevneManager::OpenStaevne(int index) {
    if (index < 0 || index >= GetStaevneCount())
        return;
    const TBusyCursor busy;
    table_->GotoPosition(meets_[static_cast<std::size_t>(index)].Position);
    SetCurrent(index);
    LoadSystemData();
    ReloadOvelseManager();
}

void TStaevneManager::SetCurrent(int index) {
    currentIndex_ = index;
    currentStID_ = index < 0 ? -1 : table_->GetField(StaevneField::StID)->GetAsInteger();
    UpdateContext();
}

void TStaevneManager::UpdateContext() {
    staevneDir_ = currentIndex_ < 0 ? QString() : StaevneDirOf(GetStaevneNavn(currentIndex_));
    TModelContext& context = ModelContext();
    if (context.SystemData != &data_)
        return;
    context.CurrentStID = GetCurrentStID();
    context.StaevneDir = staevneDir_;
}

void TStaevneManager::ReloadOvelseManager() {
    if (const auto& changed = ModelContext().OnStaevneChanged)
        changed();
}

void TStaevneManager::CheckStaevneNavn(const QString& navn) {
    CheckNavn(TrimBlanks(navn));
}

void TStaevneManager::CheckNavn(const QString& navn) const {
    if (navn.isEmpty())
        throw Exception(QStringLiteral("Der skal angives et stævnenavn"));
    CheckFolderName(navn);
    for (const TListedMeet& meet : meets_) {
        if (meet.Navn.compare(navn, Qt::CaseInsensitive) == 0)
            RefuseNavn(navn, QStringLiteral("Stævnenavnet er allerede brugt"));
    }
    RefuseTakenFolder(navn, StaevneDirOf(navn));
}

void TStaevneManager::CheckStoredNavn(const QString& navn, qint32 ownStID) {
    TStaevneTable stored;
    stored.Open();
    stored.SetIndexNumber(0);
    for (stored.GetFirst(); !stored.GetEof(); stored.GetNext()) {
        if (stored.GetField(StaevneField::StID)->GetAsInteger() == ownStID ||
            stored.GetField(StaevneField::Status)->GetAsInteger() != static_cast<int>(TStaevneStatus::Klar))
            continue;
        if (TrimBlanks(stored.GetField(StaevneField::Navn)->GetAsString())
                .compare(navn, Qt::CaseInsensitive) == 0)
            RefuseNavn(navn, QStringLiteral("Stævnenavnet er allerede brugt"));
    }
}

void TStaevneManager::GotoStoredCurrent() {
    const TListedMeet& meet = Meet(currentIndex_);
    table_->SetIndexNumber(0);
    if (!table_->FindKey({TKeyValue(qint64{meet.StID})}) ||
        table_->GetField(StaevneField::Status)->GetAsInteger() != static_cast<int>(TStaevneStatus::Klar))
        throw Exception(
            QStringLiteral("Stævnet ") + meet.Navn + QStringLiteral(" findes ikke længere") + CrLf +
            QStringLiteral("Det kan være slettet fra en anden ZUNO, der bruger samme datamappe."));
}

TStaevneManager::TNewFolder::TNewFolder(const QString& navn)
    : folder_(StaevneDirOf(navn)) {
    RefuseTakenFolder(navn, folder_);
    made_ = QDir().mkdir(folder_);
    if (!made_ && !IsEmptyFolder(folder_))
        RefuseNavn(navn, QStringLiteral("Mappen ") + folder_ + QStringLiteral(" kunne ikke oprettes"));
}

TStaevneManager::TNewFolder::~TNewFolder() {
    // Only a folder it made, and only while it is empty.
    if (made_ && !kept_)
        QDir().rmdir(folder_);
}

void TStaevneManager::TNewFolder::Keep(qint32 stID) {
    kept_ = true;
    MarkStaevneDir(folder_, stID);
}

void TStaevneManager::MarkStaevneDir(const QString& folder, qint32 stID) {
    QFile mark(MarkFile(folder));
    if (mark.open(QIODevice::WriteOnly | QIODevice::Truncate) && mark.write(QByteArray::number(stID)) > 0 &&
        mark.flush())
        QFile::remove(MisplacedMarkFile(folder));
}

void TStaevneManager::MakeStaevneDir(const QString& folder, qint32 stID) {
    const QString resolved = ResolvePath(folder);
    if (!EntryExists(resolved)) {
        if (QDir().mkpath(resolved))
            MarkStaevneDir(resolved, stID);
        return;
    }
    // A mark an earlier version put beside the folder moves into it.
    if (MarkSays(MisplacedMarkFile(resolved), stID) && QFileInfo(resolved).isDir())
        MarkStaevneDir(resolved, stID);
}

int TStaevneManager::CreateStaevne(const QString& name, const std::function<void()>& fill) {
    const QString navn = TrimBlanks(name);
    CheckNavn(navn);
    TNewFolder folder(navn);
    // What is open now is open again when the create fails, without reading the files: a commit that
    // failed half-way leaves them to the record manager until its next call.
    const int beforeIndex = currentIndex_;
    const qint32 beforeStID = currentStID_;
    const TSystemData beforeData = data_;
    const TStaevneRegistry beforeRegistry = registry_;
    bool listed = false;
    qint32 stID = -1;
    try {
        // All or nothing: a write that fails (a full disk) or a process killed on the way leaves no
        // record. Status 1 until the meet is whole, so that a create cut short all the same is reported,
        // not listed.
        TBtvTransaction transaction;
        // Another program on this data folder may have taken the name since the list was read.
        CheckStoredNavn(navn, -1);
        table_->Insert();
        table_->GetField(StaevneField::Navn)->SetAsString(navn);
        SetStatus(TStaevneStatus::Oprettes);
        table_->Post();
        stID = NumberNewMeet();
        WriteVariablePart(TSystemData().GetVariablePart());
        // A new meet starts from the defaults, not from what the base key or a former meet of that name
        // held.
        SetSystemDataDefaults();
        WriteMeetRegistry(navn, registry_);
        meets_.push_back({navn, table_->GetPosition(), stID, QString()});
        listed = true;
        // The new meet is the tables' current one while fill writes it; what the event manager shows
        // changes once the meet is stored.
        SetCurrent(GetStaevneCount() - 1);
        if (fill)
            fill();
        GotoCurrent();
        table_->Edit();
        SetStatus(TStaevneStatus::Klar);
        table_->Post();
        transaction.Commit();
    } catch (...) {
        table_->Cancel();
        if (listed) {
            meets_.pop_back();
            currentIndex_ = beforeIndex;
            currentStID_ = beforeStID;
            data_ = beforeData;
            registry_ = beforeRegistry;
            UpdateContext();
            DeleteRegistryKey(navn);
        }
        throw;
    }
    folder.Keep(stID);
    const int index = GetStaevneCount() - 1;
    OpenStaevne(index);
    return index;
}

qint32 TStaevneManager::NumberNewMeet() {
    // The record manager numbers the meet file's key, never giving a number twice. Records that an older
    // version's work, cut short, left in the other files keep their numbers: a new meet goes above them.
    qint32 stray = 0;
    for (const TRecordFileDef& file : RecordFileDefs()) {
        if (!file.IsStaevneBound() || &file == &TStaevneTable::Def())
            continue;
        TZunoDataTable table(file);
        table.Open();
        table.SetIndexNumber(0);
        table.GetLast();
        if (!table.GetEof())
            stray = std::max(stray, table.GetField(StaevneField::StID)->GetAsInteger());
    }
    qint32 stID = table_->GetField(StaevneField::StID)->GetAsInteger();
    if (stID <= stray) {
        stID = stray + 1;
        table_->Edit();
        table_->GetField(StaevneField::StID)->SetAsInteger(stID);
        table_->Post();
    }
    return stID;
}

QString TStaevneManager::RenameFolder(const QString& gammelt, const QString& nyt) {
    const QString from = OwnFolder(gammelt);
    const QString to = NewFolder(nyt);
    if (from.isEmpty() || !EntryExists(from)) {
        // Nothing to move: a new folder, made for the meet, is all it needs.
        if (!EntryExists(to) && !QDir().mkdir(to))
            RefuseNavn(nyt, QStringLiteral("Mappen ") + to + QStringLiteral(" kunne ikke oprettes"));
        if (IsEmptyFolder(to))
            MarkStaevneDir(to, currentStID_);
        return {};
    }
    if (from == to)
        return {};
    const Exception failed(QStringLiteral("Det var ikke muligt at ændre stævnenavnet fra ") + gammelt +
                           QStringLiteral(" til ") + nyt);
    // Only an empty folder may go to make room.
    if (EntryExists(to) && !SameEntry(from, to) && (!IsEmptyFolder(to) || !QDir().rmdir(to)))
        throw failed;
    // A mark an earlier version put beside the folder would stay behind under the old name.
    if (MarkSays(MisplacedMarkFile(from), currentStID_))
        MarkStaevneDir(from, currentStID_);
    if (!QDir().rename(from, to))
        throw failed;
    return from;
}

void TStaevneManager::RenameStaevne(const QString& nytNavn) {
    if (currentIndex_ < 0)
        return;
    const QString nyt = TrimBlanks(nytNavn);
    QString gammelt = meets_[static_cast<std::size_t>(currentIndex_)].Navn;
    if (nyt == gammelt)
        return;
    bool caseOnly = false;
    QString movedFrom;
    try {
        TBtvTransaction transaction;
        // The meet as stored now: another program on this data folder may have renamed or deleted it,
        // or taken the new name, since the list was read.
        GotoStoredCurrent();
        gammelt = RecordNavn();
        caseOnly = nyt.compare(gammelt, Qt::CaseInsensitive) == 0;
        if (caseOnly) {
            CheckFolderName(nyt);
        } else {
            CheckNavn(nyt);
            CheckStoredNavn(nyt, currentStID_);
        }
        movedFrom = RenameFolder(gammelt, nyt);
        table_->Edit();
        table_->GetField(StaevneField::Navn)->SetAsString(nyt);
        table_->Post();
        transaction.Commit();
    } catch (...) {
        table_->Cancel();
        // The folder goes back to the name the record still holds.
        if (!movedFrom.isEmpty())
            QDir().rename(NewFolder(nyt), movedFrom);
        throw;
    }
    meets_[static_cast<std::size_t>(currentIndex_)].Navn = nyt;
    UpdateContext();
    if (lastUsedName_ == gammelt)
        lastUsedName_ = nyt;
    SaveStaevneData();
    // Registry keys ignore letter case: after a change of case only, the key is the same one.
    if (!caseOnly)
        DeleteRegistryKey(gammelt);
}

void TStaevneManager::DeleteStaevne() {
    if (currentIndex_ < 0)
        return;
    // The tables delete the records of the global manager's current meet: it must be this one.
    if (ModelContext().StaevneManager.get() != this)
        throw Exception(QStringLiteral("Stævnet kan kun slettes gennem programmets stævnestyring"));
    const TBusyCursor busy;
    const qint32 stID = currentStID_;
    QString navn;
    // All or nothing: a meet is never left with part of its records.
    try {
        TBtvTransaction transaction;
        // The meet as stored now, under the name it has there.
        GotoStoredCurrent();
        navn = RecordNavn();
        const quint32 position = table_->GetPosition();
        table_->Edit();
        SetStatus(TStaevneStatus::Slettes);
        table_->Post();
        // Every meet-bound file but the meet file itself, whose record goes last.
        for (const TRecordFileDef& file : RecordFileDefs()) {
            if (file.IsStaevneBound() && &file != &TStaevneTable::Def())
                TZunoDataTable(file).DeleteAll();
        }
        table_->GotoPosition(position);
        table_->Delete();
        transaction.Commit();
    } catch (...) {
        // The record manager has undone it all: the meet is as it was.
        table_->Cancel();
        try {
            GotoCurrent();
        } catch (...) {
        }
        throw;
    }
    meets_.erase(meets_.begin() + currentIndex_);
    SetCurrent(-1);
    // Only the meet's own folder, and with what it holds only when the meet made it (else only when it is
    // empty); a link is never followed.
    if (const QString folder = OwnFolder(navn); !folder.isEmpty()) {
        if (EntryExists(folder)) {
            if (MarkedFor(folder, stID))
                RemoveTree(folder);
            else
                QDir().rmdir(folder);
        }
        QFile::remove(MisplacedMarkFile(folder));
    }
    DeleteRegistryKey(navn);
    SetSystemDataDefaults();
    // Nothing of the deleted meet's programme may stay on show.
    ReloadOvelseManager();
}

// ---------------------------------------------------------------- settings

void TStaevneManager::SetSystemDataDefaults() {
    // An empty variable part gives the defaults, made usable as after a read.
    data_.LoadVariablePart(QByteArray());
    registry_ = TStaevneRegistry();
}

QByteArray TStaevneManager::ReadVariablePart() {
    const quint32 start = static_cast<quint32>(table_->GetRecordLength());
    QByteArray part(4, '\0');
    const quint32 n = table_->ReadChunk(part.data(), start, 4);
    if (n < 4)
        return part.left(static_cast<qsizetype>(n));
    const qint32 length = loadLE<qint32>(part.constData());
    // Read in pieces: a damaged length must not ask for more memory than the record holds.
    constexpr quint32 Piece = 65536;
    QByteArray piece(Piece, '\0');
    quint32 offset = start + 4;
    for (quint32 wanted = length > 0 ? static_cast<quint32>(length) : 0; wanted > 0;) {
        const quint32 ask = std::min(wanted, Piece);
        const quint32 got = table_->ReadChunk(piece.data(), offset, ask);
        part.append(piece.constData(), static_cast<qsizetype>(got));
        if (got < ask)
            break;
        wanted -= got;
        offset += got;
    }
    return part;
}

void TStaevneManager::WriteVariablePart(const QByteArray& part) {
    table_->WriteChunk(part.constData(), static_cast<quint32>(table_->GetRecordLength()),
                       static_cast<quint32>(part.size()));
}

bool TStaevneManager::LoadSystemData() {
    if (!LoadBlock())
        return false;
    LoadRegistry();
    return true;
}

bool TStaevneManager::LoadBlock() {
    SetSystemDataDefaults();
    return data_.LoadVariablePart(ReadVariablePart());
}

bool TStaevneManager::SaveSystemData() {
    const bool write = !data_.IsNewerBlock();
    if (write)
        WriteVariablePart(data_.GetVariablePart());
    SaveRegistry();
    return write;
}

bool TStaevneManager::SaveStaevneData() {
    if (currentIndex_ < 0)
        return false;
    GotoCurrent();
    return SaveSystemData();
}

void TStaevneManager::SetDato(TDateTime dato) {
    data_.Dato = dato;
    if (currentIndex_ >= 0)
        meets_[static_cast<std::size_t>(currentIndex_)].DatoText = DatoText(dato);
}

void TStaevneManager::SetOvelseRettet(TDateTime tid) {
    if (currentIndex_ < 0)
        return;
    GotoCurrent();
    table_->Edit();
    try {
        table_->GetField(StaevneField::OvelseRettet)->SetAsDateTime(tid);
        table_->Post();
    } catch (...) {
        table_->Cancel();
        throw;
    }
}

bool TStaevneManager::IsDTVTLTUTurnering() const {
    return data_.DT || data_.VT || data_.LTU;
}

bool TStaevneManager::IsHoldTurnering() const {
    return IsDTVTLTUTurnering() || data_.EgenTurnering;
}

bool TStaevneManager::IsDTOvelseHalvePoints(const QString& ovelse) const {
    const QString kode = TrimBlanks(ovelse).toUpper();
    for (const QString& halve : data_.DTOvelserHalvePoints) {
        if (TrimBlanks(halve).toUpper() == kode)
            return true;
    }
    return false;
}

QString TStaevneManager::GetFoerText() const {
    return IsHoldTurnering() ? QStringLiteral("FØR") : QString();
}

QString TStaevneManager::GetNuText() const {
    return IsHoldTurnering() ? QStringLiteral("NU") : QString();
}

// ---------------------------------------------------------------- files

QString TStaevneManager::GetStaevneDir() const {
    return staevneDir_;
}

QString TStaevneManager::GetRptFileName() const {
    return DataDirFile(data_.ReportFilename);
}

QString TStaevneManager::GetSlfFileName() const {
    return DataDirFile(QStringLiteral("ZUNO2.SLF"));
}

QString TStaevneManager::GetHtmlExt() const {
    return data_.OnlyHtmlBody ? QStringLiteral(".body") : QStringLiteral(".htm");
}
