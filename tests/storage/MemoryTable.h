#pragma once
// A record table kept in memory, for testing the table's state machine and the lists without the record
// manager. Keys order by their bytes; every storage call is logged next to the table's events, and any
// call can be made to fail.
#include "storage/DBFile.h"

#include <QByteArray>
#include <QStringList>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

struct TMemoryFieldDef {
    QString Name;
    quint8 FieldType;
    qint32 Size;
};

// The "file": survives the table's open and close.
struct TMemoryFile {
    bool Exists = true;
    int RecordLength = 0;
    std::vector<std::vector<TSegmentDef>> Keys;
    std::map<quint32, QByteArray> Records;
    quint32 NextPosition = 1;
};

class TMemoryTable : public TDataTable {
public:
    TMemoryTable(std::shared_ptr<TMemoryFile> file, std::vector<TMemoryFieldDef> fields)
        : file_(std::move(file))
        , fieldList_(std::move(fields)) {
        SetDirectory(QStringLiteral("/data"));
        SetTableName(QStringLiteral("TEST.ZU2"));
        using Hook = TDataTableNotifyEvent TDataTable::*;
        const std::pair<Hook, const char*> hooks[] = {
            {&TDataTable::BeforeOpen, "BeforeOpen"},     {&TDataTable::AfterOpen, "AfterOpen"},
            {&TDataTable::BeforeClose, "BeforeClose"},   {&TDataTable::AfterClose, "AfterClose"},
            {&TDataTable::BeforeEdit, "BeforeEdit"},     {&TDataTable::AfterEdit, "AfterEdit"},
            {&TDataTable::BeforeInsert, "BeforeInsert"}, {&TDataTable::AfterInsert, "AfterInsert"},
            {&TDataTable::OnNewRecord, "OnNewRecord"},   {&TDataTable::BeforePost, "BeforePost"},
            {&TDataTable::AfterPost, "AfterPost"},       {&TDataTable::BeforeCancel, "BeforeCancel"},
            {&TDataTable::AfterCancel, "AfterCancel"},   {&TDataTable::BeforeDelete, "BeforeDelete"},
            {&TDataTable::AfterDelete, "AfterDelete"}};
        for (const auto& [hook, name] : hooks)
            this->*hook = [this, name](TDataTable&) { Log.append(QString::fromLatin1(name)); };
    }
    ~TMemoryTable() override { CloseForDestroy(); }

    // Storage calls and events in the order they happened.
    QStringList Log;
    // The storage call of this name raises instead of running.
    QString FailOn;

    void GetFirst() override { MoveTo(Ordered(), 0); }
    void GetLast() override {
        const auto order = Ordered();
        MoveTo(order, static_cast<int>(order.size()) - 1);
    }
    void GetNext() override { Step(Ordered(), 1); }
    void GetPrevious() override { Step(Ordered(), -1); }
    void StepFirst() override { MoveTo(Physical(), 0); }
    void StepLast() override {
        const auto order = Physical();
        MoveTo(order, static_cast<int>(order.size()) - 1);
    }
    void StepNext() override { Step(Physical(), 1); }
    void StepPrevious() override { Step(Physical(), -1); }
    bool GetEof() override { return eof_; }
    qint32 GetRecordCount() override { return static_cast<qint32>(file_->Records.size()); }
    int GetRecordLength() override { return file_->RecordLength; }
    quint32 GetPosition() override {
        Call("GetPosition");
        return current_;
    }
    void GotoPosition(quint32 position) override {
        Call("GotoPosition");
        if (!file_->Records.count(position))
            throw Exception(QStringLiteral("no record at %1").arg(position));
        Load(position);
    }

protected:
    quint16 InitIndexDefs() override {
        int size = 0;
        for (const auto& key : file_->Keys) {
            TIndexDef& index = IndexDefs.Add();
            for (const TSegmentDef& segment : key)
                index.AddSegment(segment.Position, segment.Length);
            size = std::max(size, index.GetKeyLength());
        }
        return static_cast<quint16>(size);
    }
    void InitFieldDefs(const QString&, const QString&, QString&) override {
        qint32 offset = 0;
        for (std::size_t i = 0; i < fieldList_.size(); ++i) {
            const TMemoryFieldDef& def = fieldList_[i];
            FieldDefs.Add({static_cast<qint32>(i), def.Name, offset, def.Size, def.FieldType});
            offset += def.Size;
        }
    }
    void InternalOpen() override {
        Call("InternalOpen");
        if (!file_->Exists)
            throw Exception(QStringLiteral("file not found"));
    }
    void InternalClose() override { Call("InternalClose"); }
    void InternalEdit() override {
        Call("InternalEdit");
        if (!file_->Records.count(current_))
            throw Exception(QStringLiteral("no current record"));
    }
    void InternalInsert() override {
        Call("InternalInsert");
        current_ = file_->NextPosition++;
        file_->Records[current_] = Bytes();
    }
    void InternalUpdate() override {
        Call("InternalUpdate");
        file_->Records.at(current_) = Bytes();
    }
    void InternalDelete() override {
        Call("InternalDelete");
        file_->Records.erase(current_);
    }
    bool InternalGetKey(int operation) override {
        Call("InternalGetKey");
        const auto order = Ordered();
        const QByteArray sought(reinterpret_cast<const char*>(KeyBuffer()),
                                GetIndexDefs().GetItem(IndexNumber()).GetKeyLength());
        for (std::size_t i = 0; i < order.size(); ++i) {
            const QByteArray key = KeyOf(order[i]);
            if (operation == FindKeyGreaterOrEqual ? key >= sought : key == sought) {
                MoveTo(order, static_cast<int>(i));
                std::memcpy(KeyBuffer(), key.constData(), static_cast<std::size_t>(key.size()));
                return true;
            }
        }
        eof_ = true;
        return false;
    }

private:
    void Call(const char* name) {
        Log.append(QString::fromLatin1(name));
        if (FailOn == QLatin1String(name))
            throw Exception(QStringLiteral("%1 failed").arg(QLatin1String(name)));
    }
    QByteArray Bytes() const {
        return QByteArray(reinterpret_cast<const char*>(RecordBuffer()->Current()), RecordBuffer()->Size());
    }
    QByteArray KeyOf(quint32 position) const {
        QByteArray key;
        const QByteArray& record = file_->Records.at(position);
        for (const TSegmentDef& segment : file_->Keys.at(static_cast<std::size_t>(IndexNumber())))
            key += record.mid(segment.Position, segment.Length);
        return key;
    }
    std::vector<quint32> Physical() const {
        std::vector<quint32> order;
        for (const auto& [position, record] : file_->Records)
            order.push_back(position);
        return order;
    }
    std::vector<quint32> Ordered() const {
        std::vector<quint32> order = Physical();
        if (!file_->Keys.empty())
            std::stable_sort(order.begin(), order.end(),
                             [this](quint32 a, quint32 b) { return KeyOf(a) < KeyOf(b); });
        return order;
    }
    void Load(quint32 position) {
        current_ = position;
        eof_ = false;
        RecordBuffer()->Load(file_->Records.at(position).constData());
    }
    void MoveTo(const std::vector<quint32>& order, int i) {
        if (i < 0 || i >= static_cast<int>(order.size()))
            eof_ = true;
        else
            Load(order[static_cast<std::size_t>(i)]);
    }
    void Step(const std::vector<quint32>& order, int direction) {
        const auto at = std::find(order.begin(), order.end(), current_);
        MoveTo(order, at == order.end() ? -1 : static_cast<int>(at - order.begin()) + direction);
    }

    std::shared_ptr<TMemoryFile> file_;
    std::vector<TMemoryFieldDef> fieldList_;
    quint32 current_ = 0;
    bool eof_ = false;
};
