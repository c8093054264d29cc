#pragma once
// The 14 record files of the meet data: one table class per file with its record layout, the list and
// element classes that hold its records in memory, and the field classes that turn stored codes into
// text. All meets share the files; every record of a meet-bound file carries its meet's number (StID)
// in field 2, and meet-bound tables and lists see only the current meet's records.
#include "model/D_DBDefFields.h"
#include "storage/BtvFile.h"
#include "storage/DBData.h"
#include "storage/DBField.h"

#include <QByteArray>
#include <QChar>
#include <QString>

#include <functional>
#include <memory>
#include <span>

class TStreamReader;
class TStreamWriter;

// The current meet's number; -1 when no meet is open or there is no meet manager.
qint32 CurrentStID();
// The language of the catalogue records the current meet reads: 1 with its Engelsk setting, else 0.
quint8 CurrentSprog();

// ---------------------------------------------------------------- code fields

// The result status letter, read as its Danish word and written from a letter or word.
class TResKodeField : public TStringField {
public:
    using TStringField::TStringField;
    QString GetAsString() const override;
    void SetAsString(const QString& value) override;
    // The letter as stored.
    QString GetKode() const { return TStringField::GetAsString(); }
    // Empty or one blank.
    bool IsBlank() const;
    bool IsCodeE() const;
    bool IsCodeV() const;
};

// The outside-competition code, read and written as its text.
class TUdenforKonkField : public TStringField {
public:
    using TStringField::TStringField;
    QString GetAsString() const override;
    void SetAsString(const QString& value) override;
    QString GetKode() const { return TStringField::GetAsString(); }
};

// "Ja" or "Nej"; 1 for a yes-word in any case, 0 for every other text.
class TBooleanField : public TSmallintField {
public:
    using TSmallintField::TSmallintField;
    QString GetAsString() const override;
    void SetAsString(const QString& value) override;
};

// Wind in tenths of m/s, read and written as wind text.
class TVindField : public TSmallintField {
public:
    using TSmallintField::TSmallintField;
    QString GetAsString() const override;
    void SetAsString(const QString& value) override;
};

// A round letter. A final has no letter: it is stored as one zero byte, which reads back empty.
class TRundeField : public TStringField {
public:
    using TStringField::TStringField;
    void SetAsString(const QString& value) override;
};

// ---------------------------------------------------------------- tables

// One field of a record layout: stored name, type code and size in bytes.
struct TZunoFieldDef {
    const char* Name;
    TFieldType FieldType;
    int Size;
};
using TZunoFieldList = std::span<const TZunoFieldDef>;

// One record of a table section in the meet transfer file: the fixed part, zero-filled to the reading
// table's record length, and (in a file with variable-length records) the variable part without its
// length in front.
struct TTransferRecord {
    QByteArray Fixed;
    QByteArray Variable;
};

// The base of the 14 tables: the file in the data folder (ProgramDir), fields from the class's own
// layout, time stamps in fields 0 and 1. A meet-bound table walks only the current meet's records in
// key-0 order; the two catalogue tables walk every record of the current language in physical order.
class TZunoDataTable : public TBtvTable {
public:
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

    bool IsStaevneBound() const { return staevneBound_; }
    TZunoFieldList FieldList() const { return fields_; }
    // The sum of the layout's field sizes.
    static int RecordLengthOf(TZunoFieldList fields);

protected:
    bool GetFieldDef(int index, QString& name, TFieldType& fieldType, int& size) override;
    void SetLanguageFiltered() { staevneBound_ = false; }
    // Physical order, skipping records whose language field differs from CurrentSprog.
    bool FirstOfLanguage(int sprogFieldNo);
    bool NextOfLanguage(int sprogFieldNo);

private:
    bool IsCurrentMeet() const;

    TZunoFieldList fields_;
    bool staevneBound_ = true;
};

class TStaevneTable : public TZunoDataTable {
public:
    static constexpr const char* FileName = "STAEVNE.ZU2";
    static TZunoFieldList Fields();
    TStaevneTable();
};

class TOvelseTable : public TZunoDataTable {
public:
    static constexpr const char* FileName = "OVELSE.ZU2";
    static TZunoFieldList Fields();
    TOvelseTable();
    bool First() override;
    bool Next() override;
};

class TOvDefTable : public TZunoDataTable {
public:
    static constexpr const char* FileName = "OVDEF.ZU2";
    static TZunoFieldList Fields();
    TOvDefTable();
    bool First() override;
    bool Next() override;
};

class TKlasseTable : public TZunoDataTable {
public:
    static constexpr const char* FileName = "KLASSE.ZU2";
    static TZunoFieldList Fields();
    TKlasseTable();
};

class TOvelseRkTable : public TZunoDataTable {
public:
    static constexpr const char* FileName = "OVELSERK.ZU2";
    static TZunoFieldList Fields();
    TOvelseRkTable();
};

class TOvelseRnTable : public TZunoDataTable {
public:
    static constexpr const char* FileName = "OVELSERN.ZU2";
    static TZunoFieldList Fields();
    TOvelseRnTable();

protected:
    TFieldClass GetFieldClass(int fieldNo) override;
};

class TAfvStedTable : public TZunoDataTable {
public:
    static constexpr const char* FileName = "AFVSTED.ZU2";
    static TZunoFieldList Fields();
    TAfvStedTable();
};

class TKlubTable : public TZunoDataTable {
public:
    static constexpr const char* FileName = "KLUB.ZU2";
    static TZunoFieldList Fields();
    TKlubTable();
};

class TDeltagerTable : public TZunoDataTable {
public:
    static constexpr const char* FileName = "DELTAGER.ZU2";
    static TZunoFieldList Fields();
    TDeltagerTable();
};

class TResultatTable : public TZunoDataTable {
public:
    static constexpr const char* FileName = "RESULTAT.ZU2";
    static TZunoFieldList Fields();
    TResultatTable();

protected:
    TFieldClass GetFieldClass(int fieldNo) override;
};

class TKlubkobTable : public TZunoDataTable {
public:
    static constexpr const char* FileName = "KLUBKOB.ZU2";
    static TZunoFieldList Fields();
    TKlubkobTable();
};

class TVareTable : public TZunoDataTable {
public:
    static constexpr const char* FileName = "VARE.ZU2";
    static TZunoFieldList Fields();
    TVareTable();
};

class TGruppeTable : public TZunoDataTable {
public:
    static constexpr const char* FileName = "GRUPPE.ZU2";
    static TZunoFieldList Fields();
    TGruppeTable();
};

class TBetalingTable : public TZunoDataTable {
public:
    static constexpr const char* FileName = "BETALING.ZU2";
    static TZunoFieldList Fields();
    TBetalingTable();
};

// ---------------------------------------------------------------- elements

class TZunoDataElement : public TDataElement {
public:
    using TDataElement::TDataElement;
};

// An event of the catalogue; the type predicates read its Ovtype.
class TOvelseElement : public TZunoDataElement {
public:
    using TZunoDataElement::TZunoDataElement;
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

class TOvDefElement : public TZunoDataElement {
public:
    using TZunoDataElement::TZunoDataElement;
};

class TKlasseElement : public TZunoDataElement {
public:
    using TZunoDataElement::TZunoDataElement;
};

class TOvelseRkElement : public TZunoDataElement {
public:
    using TZunoDataElement::TZunoDataElement;
};

class TOvelseRnElement : public TZunoDataElement {
public:
    using TZunoDataElement::TZunoDataElement;
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

class TAfvStedElement : public TZunoDataElement {
public:
    using TZunoDataElement::TZunoDataElement;
};

class TKlubElement : public TZunoDataElement {
public:
    using TZunoDataElement::TZunoDataElement;
};

class TDeltagerElement : public TZunoDataElement {
public:
    using TZunoDataElement::TZunoDataElement;
};

class TResultatElement : public TZunoDataElement {
public:
    using TZunoDataElement::TZunoDataElement;
};

class TKlubkobElement : public TZunoDataElement {
public:
    using TZunoDataElement::TZunoDataElement;
};

class TVareElement : public TZunoDataElement {
public:
    using TZunoDataElement::TZunoDataElement;
};

class TGruppeElement : public TZunoDataElement {
public:
    using TZunoDataElement::TZunoDataElement;
};

class TBetalingElement : public TZunoDataElement {
public:
    using TZunoDataElement::TZunoDataElement;
};

// ---------------------------------------------------------------- lists

// A list over one of the 14 tables. In a meet-bound list every element added gets the current meet's
// number in field 2.
class TZunoDataList : public TDataList {
public:
    explicit TZunoDataList(TDataTable& table);
    int AddCurrent() override;
    int AddNew() override;
    bool IsStaevneBound() const { return staevneBound_; }

protected:
    bool staevneBound_ = false;

private:
    int SetStID(int raw);
};

class TZunoStaevneDataList : public TZunoDataList {
public:
    explicit TZunoStaevneDataList(TDataTable& table);
};

// A list whose elements are of one class, with a typed GetElement.
template <typename Element, typename Base>
class TZunoTypedList : public Base {
public:
    using Base::Base;
    Element* GetElement(int pos) { return static_cast<Element*>(TDataList::GetElement(pos)); }

protected:
    std::unique_ptr<TDataElement> CreateElement() override {
        return std::make_unique<Element>(this, this->Table());
    }
};

// clang-format off
class TOvelseList : public TZunoTypedList<TOvelseElement, TZunoDataList> { using TZunoTypedList::TZunoTypedList; };
class TOvDefList : public TZunoTypedList<TOvDefElement, TZunoDataList> { using TZunoTypedList::TZunoTypedList; };
class TKlasseList : public TZunoTypedList<TKlasseElement, TZunoStaevneDataList> { using TZunoTypedList::TZunoTypedList; };
class TOvelseRkList : public TZunoTypedList<TOvelseRkElement, TZunoStaevneDataList> { using TZunoTypedList::TZunoTypedList; };
class TOvelseRnList : public TZunoTypedList<TOvelseRnElement, TZunoStaevneDataList> { using TZunoTypedList::TZunoTypedList; };
class TAfvStedList : public TZunoTypedList<TAfvStedElement, TZunoStaevneDataList> { using TZunoTypedList::TZunoTypedList; };
class TKlubList : public TZunoTypedList<TKlubElement, TZunoStaevneDataList> { using TZunoTypedList::TZunoTypedList; };
class TDeltagerList : public TZunoTypedList<TDeltagerElement, TZunoStaevneDataList> { using TZunoTypedList::TZunoTypedList; };
class TResultatList : public TZunoTypedList<TResultatElement, TZunoStaevneDataList> { using TZunoTypedList::TZunoTypedList; };
class TKlubkobList : public TZunoTypedList<TKlubkobElement, TZunoStaevneDataList> { using TZunoTypedList::TZunoTypedList; };
class TVareList : public TZunoTypedList<TVareElement, TZunoStaevneDataList> { using TZunoTypedList::TZunoTypedList; };
class TGruppeList : public TZunoTypedList<TGruppeElement, TZunoStaevneDataList> { using TZunoTypedList::TZunoTypedList; };
class TBetalingList : public TZunoTypedList<TBetalingElement, TZunoStaevneDataList> { using TZunoTypedList::TZunoTypedList; };
// clang-format on
