#pragma once
// The program's XML documents: the whole meet, the meet's information without clubs and results, one
// round with its results, and a list of file names. Each start tag and each end tag is one line of a
// string list; SaveXmlFile puts the list in place as the file.
//
// The documents are declared ISO-8859-1: a character outside Latin-1 is written as a character
// reference, as are the quote, "&", "<", ">" and the tab, CR and LF of a value; other control characters
// are dropped, so that every document is well-formed.
#include <QString>
#include <QStringList>

#include <map>
#include <set>

class TDataList;
class TOvelseInfo;
class TResultat;
class TResultatManager;
struct TSerie;
class TStaevneManager;

// The schema the root element names: an address of this project's own, under a name that no one owns.
inline const QString ZunoXmlNamespace = QStringLiteral("http://zuno2.invalid/Zuno2Data.xsd");

class TXmlData2 {
public:
    TXmlData2() = default;
    TXmlData2(const TXmlData2&) = delete;
    TXmlData2& operator=(const TXmlData2&) = delete;

    // Each document replaces what the list held. The three meet documents need an open meet (Exception
    // otherwise).

    // The meet with its classes, venues, clubs with their participants and entries, and every round with
    // its records and results. The event manager is read anew only when it does not hold the current
    // meet's programme, so the rounds an open editor holds stay alive; one result manager loads every
    // round in turn.
    void MakeXmlStaevne(QStringList& list);
    // The same without the clubs and without results.
    void MakeXmlStaevneInfo(QStringList& list);
    // The manager's round with its records, and its rows in their present order: only those of the heats
    // named in heats (heat numbers as texts; all heats when none is named), and then, with all heats
    // written, its teams. With klubber, the clubs and participants of the rows written (relay members
    // included) follow.
    void MakeXmlOvelse(QStringList& list, TResultatManager& manager, bool klubber, const QStringList& heats);
    // An empty element File per text.
    void MakeXmlFileList(QStringList& list, const QStringList& texts);

private:
    // ---- Primitives
    void Begin(QStringList& list);
    void End();
    void OpenElement(const char* name);
    // Appends name="value" unless the value is empty or the default text.
    void Attribute(const char* name, const QString& value, const QString& defaultText);
    void TextAttribute(const char* name, const QString& value);
    // Left out when 0.
    void IntegerAttribute(const char* name, qint64 value);
    void BooleanAttribute(const char* name, bool value);
    // "/>" for an empty element, else ">"; the line goes into the list.
    void EndStartTag(bool empty);
    void CloseElement(const char* name);
    // FormatResultat, valid until the next call.
    const QString& MarkText(qint32 restype, qint32 value);

    // ---- Parts of the documents
    void MakeXmlMeet(QStringList& list, bool withResults);
    void WriteStaevneStart(TStaevneManager& meet);
    void WriteStaevneEnd();
    void WriteKlasser();
    void WriteSteder();
    // An empty element per element of the list: its code, text and sort code.
    void WriteCodeList(TDataList& list, const char* name, int codeField, int textField, int sortField);
    // Every club of the meet, or only those of the participants with these start numbers.
    void WriteKlubber(const std::set<qint32>* startnumre);
    // The round's element with its records, left open.
    void WriteOvelseStart(const TOvelseInfo& info);
    void WriteRekorder(const TOvelseInfo& info);
    // The rows in the manager's present order, heat by heat; returns the start numbers written, relay
    // members included.
    std::set<qint32> WriteResultater(TResultatManager& manager, const QStringList& heats);
    void WriteRow(TResultat& row);
    void WriteSerie(const TResultat& row, const TSerie& serie, int index);
    void WriteHold(TResultatManager& manager);

    QStringList* list_ = nullptr;
    QString line_;
    // The first row of the heat being written; null before the first row.
    TResultat* heatRow_ = nullptr;
    // The text of a mark of 0 by result type, and the last other mark (see MarkText).
    std::map<qint32, QString> zeroMarks_;
    QString mark_;
};

// Writes the lines as the file fileName, each ended by CR LF, in Windows-1252, under a temporary name that
// becomes the file's only once it is whole (a display program may be reading the folder). Raises
// Exception with a Danish message when it cannot; the file of that name is then as it was.
void SaveXmlFile(const QStringList& lines, const QString& fileName);
