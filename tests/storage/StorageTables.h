#pragma once
// Tables of the storage tests over real record files: a file made for them, a table with a field list of
// its own, and the same table logging its storage calls next to its events, any of which can be made to
// fail.
#include "storage/BtvFile.h"

#include "support/Test.h"

#include "recordmanager/RecordManagerSupport.h"

#include <utility>
#include <vector>

// A record file at path: record length, variable-length flag and keys (1-based segment positions).
inline void CreateRecordFile(const QString& path, uint16_t recordLength, bool variable,
                             std::initializer_list<std::initializer_list<RmTest::Segment>> keys,
                             bool duplicates = false) {
    RmTest::StatBuilder stat(recordLength, variable);
    for (const auto& key : keys)
        stat.key(key, duplicates);
    ASSERT_EQ(RmTest::createFile(path.toStdString(), stat.bytes()), RecordManager::StatusSuccess);
}

struct TDef {
    const char* Name;
    quint8 Type;
    int Size;
};

// Oprettet, SidstRettet, Nr, Navn, Klasse: 33 bytes, stamped on insert and update.
inline const std::vector<TDef> TestFields = {
    {"Oprettet", 9, 8}, {"SidstRettet", 9, 8}, {" Nr ", 1, 4}, {"Navn", 0, 10}, {"Klasse", 0, 3}};

class TTestBtvTable : public TBtvTable {
public:
    TTestBtvTable(const QString& directory, const QString& name, std::vector<TDef> fields = TestFields)
        : fields_(std::move(fields)) {
        UseBuiltInFieldDefs = true;
        CreateTimeStampFieldNo = 0;
        ModifiedTimeStampFieldNo = 1;
        SetDirectory(directory);
        SetTableName(name);
    }

    // The time the table stamps its posts with.
    TDateTime Stamp = 45000.5;

    void Add(qint32 nr, const QString& navn, const QString& klasse) {
        Insert();
        GetField(2)->SetAsInteger(nr);
        GetField(3)->SetAsString(navn);
        GetField(4)->SetAsString(klasse);
        Post();
    }

protected:
    TDateTime Now() const override { return Stamp; }
    bool GetFieldDef(int index, QString& name, TFieldType& fieldType, int& size) override {
        if (index >= static_cast<int>(fields_.size()))
            return false;
        const TDef& def = fields_[static_cast<std::size_t>(index)];
        name = def.Name;
        fieldType = static_cast<TFieldType>(def.Type);
        size = def.Size;
        return true;
    }

private:
    std::vector<TDef> fields_;
};

class TLoggedTable : public TTestBtvTable {
public:
    TLoggedTable(const QString& directory, const QString& name, std::vector<TDef> fields = TestFields)
        : TTestBtvTable(directory, name, std::move(fields)) {
        using Event = TDataTableNotifyEvent TDataTable::*;
        const std::pair<Event, const char*> events[] = {
            {&TDataTable::BeforeOpen, "BeforeOpen"},     {&TDataTable::AfterOpen, "AfterOpen"},
            {&TDataTable::BeforeClose, "BeforeClose"},   {&TDataTable::AfterClose, "AfterClose"},
            {&TDataTable::BeforeEdit, "BeforeEdit"},     {&TDataTable::AfterEdit, "AfterEdit"},
            {&TDataTable::BeforeInsert, "BeforeInsert"}, {&TDataTable::AfterInsert, "AfterInsert"},
            {&TDataTable::OnNewRecord, "OnNewRecord"},   {&TDataTable::BeforePost, "BeforePost"},
            {&TDataTable::AfterPost, "AfterPost"},       {&TDataTable::BeforeCancel, "BeforeCancel"},
            {&TDataTable::AfterCancel, "AfterCancel"},   {&TDataTable::BeforeDelete, "BeforeDelete"},
            {&TDataTable::AfterDelete, "AfterDelete"}};
        for (const auto& [event, eventName] : events)
            this->*event = [this, text = eventName](TDataTable&) { Log.append(QString::fromLatin1(text)); };
    }
    ~TLoggedTable() override { CloseForDestroy(); }

    // Storage calls and events in the order they happened.
    QStringList Log;
    // The storage call of this name raises instead of running.
    QString FailOn;

protected:
    void InternalOpen() override {
        Call("InternalOpen");
        TBtvTable::InternalOpen();
    }
    void InternalClose() override {
        Call("InternalClose");
        TBtvTable::InternalClose();
    }
    void InternalEdit() override {
        Call("InternalEdit");
        TBtvTable::InternalEdit();
    }
    void InternalInsert() override {
        Call("InternalInsert");
        TBtvTable::InternalInsert();
    }
    void InternalUpdate() override {
        Call("InternalUpdate");
        TBtvTable::InternalUpdate();
    }
    void InternalDelete() override {
        Call("InternalDelete");
        TBtvTable::InternalDelete();
    }

private:
    void Call(const char* name) {
        Log.append(QString::fromLatin1(name));
        if (FailOn == QLatin1String(name))
            throw Exception(QStringLiteral("%1 failed").arg(QLatin1String(name)));
    }
};
