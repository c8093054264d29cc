#pragma once
// The 14 record files of the meet data: one table class per file, driven by the file's description, and
// the list and element classes that hold its records in memory. All meets share the files; every record
// of a meet-bound file carries its meet's number (StID) in field 2, and meet-bound tables and lists see
// only the current meet's records.
#include "model/D_DBDefCodeFields.h"
#include "model/D_DBDefFiles.h"
#include "storage/BtvFile.h"
#include "storage/DBData.h"
#include "storage/DBField.h"

#include <QByteArray>
#include <QChar>
#include <QString>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class TStreamReader;
class TStreamWriter;

// The current meet's number; -1 when no meet is open or there is no meet manager.
qint32 CurrentStID();
// The language of the catalogue records the current meet reads: 1 with its Engelsk setting, else 0.
quint8 CurrentSprog();

// ---------------------------------------------------------------- tables

// One record of a table section in the meet transfer file: the fixed part, zero-filled to the reading
// table's record length, and (in a file with variable-length records) the variable part without its
// length in front.
struct TTransferRecord {
    QByteArray Fixed;
    QByteArray Variable;
};

// The base of the 14 tables: the file in the data folder (ProgramDir), fields, code fields and language
// field from the file's description, time stamps in fields 0 and 1. A meet-bound table walks only the
// current meet's records in key-0 order; the two catalogue tables walk every record of the current
// language in physical order.
class TZunoDataTable : public TBtvTable {
public:
    explicit TZunoDataTable(const TRecordFileDef& file);
    // A meet-bound table of another name and layout (an older generation's file).
    TZunoDataTable(const QString& fileName, const QString& prefix, TZunoFieldList fields);

    bool First() override;
    bool Next() override;
    // Deletes every record First and Next give: all of the current meet's. Opens the table when it is
    // closed and then closes it again.
    virtual void DeleteAll();

    // ---- Sections of the meet transfer file. ExportTable, ImportTable, SkipTable and ReadSection
    // open the table when it is closed and close it again; a failure leaves no record half-inserted.
    // Writes the table's name, then each record First and Next give behind a byte 1, then a byte 0.
    // Raises when a record's variable part cannot be read whole.
    void ExportTable(TStreamWriter& writer);
    // Reads a section into this table: every record inserted with the meet number stID (0 for -1, so
    // the record manager numbers it). The section's name must be this table's but for its extension.
    // Returns the number of records.
    int ImportTable(TStreamReader& reader, qint32 stID);
    // Reads and drops a section of exactly this table's name.
    int SkipTable(TStreamReader& reader);
    // Reads a section, checking its name (wholeName: the extension too) and every record, and hands
    // each record to onRecord when there is one; writes nothing. Returns the number of records.
    int ReadSection(TStreamReader& reader, bool wholeName,
                    const std::function<void(const TTransferRecord&)>& onRecord = {});
    // One record as ExportTable wrote it. A size above the table's record length raises "Kritisk fejl";
    // a shorter record reads with its missing fields zero. A variable part longer than what is left of
    // the stream raises EStreamError. The table must be open.
    TTransferRecord ReadRecord(TStreamReader& reader);
    // Inserts the record with the meet number stID (0 for -1) and writes its variable part; prepare,
    // when given, may set fields before the post. The new record is the current one.
    void InsertRecord(const TTransferRecord& record, qint32 stID, const std::function<void()>& prepare = {});
    // The current record's variable part without its length: empty when the record has none. Raises
    // when it cannot be read whole.
    QByteArray ReadVariableData();

    // ---- Lookups in key keyNo of a meet-bound table (its first segment StID); values are whole numbers
    // for the segments after it. The record found is the current one.
    // The first of the current meet's records whose key begins with values; false when there is none.
    bool FindStaevneKey(int keyNo, std::initializer_list<qint64> values = {});
    // The record after it in that key while its key still begins with the same values.
    bool NextStaevneKey();
    // The meet's last record in that key's order: the last whose key lies below the next meet number.
    bool LastStaevneKey(int keyNo);

    bool IsStaevneBound() const { return sprogFieldNo_ < 0; }
    TZunoFieldList FieldList() const { return fields_; }
    static int RecordLengthOf(TZunoFieldList fields) { return ::RecordLengthOf(fields); }

protected:
    bool GetFieldDef(int index, QString& name, TFieldType& fieldType, int& size) override;
    TFieldClass GetFieldClass(int fieldNo) override;
    // The model's clock.
    TDateTime Now() const override;

private:
    bool IsCurrentMeet() const;
    bool IsCurrentSprog();

    TZunoFieldList fields_;
    // The segments FindStaevneKey sought, with their bytes.
    std::vector<std::pair<TSegmentDef, QByteArray>> soughtKey_;
    std::span<const TFieldClassDef> fieldClasses_;
    int sprogFieldNo_ = -1;
};

// The table of one of the 14 files.
template <TRecordFileNo File>
class TZunoTable : public TZunoDataTable {
public:
    static const TRecordFileDef& Def() { return RecordFileDef(File); }
    static TZunoFieldList Fields() { return Def().Fields; }
    TZunoTable()
        : TZunoDataTable(Def()) {}
};

using TStaevneTable = TZunoTable<TRecordFileNo::Staevne>;
using TOvelseTable = TZunoTable<TRecordFileNo::Ovelse>;
using TOvDefTable = TZunoTable<TRecordFileNo::OvDef>;
using TKlasseTable = TZunoTable<TRecordFileNo::Klasse>;
using TOvelseRkTable = TZunoTable<TRecordFileNo::OvelseRk>;
using TOvelseRnTable = TZunoTable<TRecordFileNo::OvelseRn>;
using TAfvStedTable = TZunoTable<TRecordFileNo::AfvSted>;
using TKlubTable = TZunoTable<TRecordFileNo::Klub>;
using TDeltagerTable = TZunoTable<TRecordFileNo::Deltager>;
using TResultatTable = TZunoTable<TRecordFileNo::Resultat>;
using TKlubkobTable = TZunoTable<TRecordFileNo::Klubkob>;
using TVareTable = TZunoTable<TRecordFileNo::Vare>;
using TGruppeTable = TZunoTable<TRecordFileNo::Gruppe>;
using TBetalingTable = TZunoTable<TRecordFileNo::Betaling>;

// ---------------------------------------------------------------- elements

class TZunoDataElement : public TDataElement {
public:
    using TDataElement::TDataElement;
};

// A record of one of the 14 files in a list.
template <TRecordFileNo File>
class TZunoElement : public TZunoDataElement {
public:
    using TZunoDataElement::TZunoDataElement;
};

// An event of the catalogue; the type predicates read its Ovtype.
class TOvelseElement : public TZunoElement<TRecordFileNo::Ovelse> {
public:
    using TZunoElement::TZunoElement;
    qint32 GetOvtype() const;
    bool IsOvtype(TOvtype type) const;
    bool IsTidOvelse() const;
    bool IsLobeOvelse() const;
    bool IsVertikalSpringOvelse() const;
    bool IsHorizontalSpringOvelse() const;
    bool IsSpringOvelse() const;
    bool IsKasteOvelse() const;
    // The rows carry a series: attempts, heights or relay legs.
    bool IsSerieOvelse() const;
    bool IsStafetOvelse() const;
    bool IsMangekampOvelse() const;
};

class TOvelseRnElement : public TZunoElement<TRecordFileNo::OvelseRn> {
public:
    using TZunoElement::TZunoElement;
    bool IsResTypeHeat() const;
    bool IsResTypeResultat() const;
    bool IsRankAsSeedning() const;
    bool IsFinaleTypeABC() const;
    bool IsFinaleTypeCBA() const;
    // The round letter; the zero character for a final.
    QChar GetRundeChar() const;
    // The 26 characters kept in ExtraText, ExtraText2 and ExtraText3.
    QString GetExtraText() const;
    void SetExtraText(const QString& text);
};

using TOvDefElement = TZunoElement<TRecordFileNo::OvDef>;
using TKlasseElement = TZunoElement<TRecordFileNo::Klasse>;
using TOvelseRkElement = TZunoElement<TRecordFileNo::OvelseRk>;
using TAfvStedElement = TZunoElement<TRecordFileNo::AfvSted>;
using TKlubElement = TZunoElement<TRecordFileNo::Klub>;
using TDeltagerElement = TZunoElement<TRecordFileNo::Deltager>;
using TResultatElement = TZunoElement<TRecordFileNo::Resultat>;
using TKlubkobElement = TZunoElement<TRecordFileNo::Klubkob>;
using TVareElement = TZunoElement<TRecordFileNo::Vare>;
using TGruppeElement = TZunoElement<TRecordFileNo::Gruppe>;
using TBetalingElement = TZunoElement<TRecordFileNo::Betaling>;

// ---------------------------------------------------------------- lists

// A list over one of the 14 tables. In a meet-bound list every element added gets the current meet's
// number in field 2.
class TZunoDataList : public TDataList {
public:
    TZunoDataList(TDataTable& table, bool staevneBound);
    int AddCurrent() override;
    int AddNew() override;
    bool IsStaevneBound() const { return staevneBound_; }

private:
    int SetStID(int raw);

    bool staevneBound_;
    // The meet number as read records hold it: the element's own field is made only to change it.
    std::optional<TFieldReader> stID_;
};

// The list of one of the 14 files, its elements of one class, with a typed GetElement.
template <TRecordFileNo File, typename Element = TZunoElement<File>>
class TZunoList : public TZunoDataList {
public:
    explicit TZunoList(TDataTable& table)
        : TZunoDataList(table, RecordFileDef(File).IsStaevneBound()) {}
    Element* GetElement(int pos) { return static_cast<Element*>(TDataList::GetElement(pos)); }

protected:
    TElementPtr CreateElement() override { return MakeElement<Element>(); }
};

using TOvelseList = TZunoList<TRecordFileNo::Ovelse, TOvelseElement>;
using TOvDefList = TZunoList<TRecordFileNo::OvDef>;
using TKlasseList = TZunoList<TRecordFileNo::Klasse>;
using TOvelseRkList = TZunoList<TRecordFileNo::OvelseRk>;
using TOvelseRnList = TZunoList<TRecordFileNo::OvelseRn, TOvelseRnElement>;
using TAfvStedList = TZunoList<TRecordFileNo::AfvSted>;
using TKlubList = TZunoList<TRecordFileNo::Klub>;
using TDeltagerList = TZunoList<TRecordFileNo::Deltager>;
using TResultatList = TZunoList<TRecordFileNo::Resultat>;
using TKlubkobList = TZunoList<TRecordFileNo::Klubkob>;
using TVareList = TZunoList<TRecordFileNo::Vare>;
using TGruppeList = TZunoList<TRecordFileNo::Gruppe>;
using TBetalingList = TZunoList<TRecordFileNo::Betaling>;
