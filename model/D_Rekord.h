#pragma once
// Records lists read from their files in the meet's records folder.
#include <QString>

#include <memory>
#include <vector>

class TRekorder;

// One best mark of a records list. Key1 is the event code, Key2 the attribute code (empty for any),
// both upper-cased; Kategori is matched against "#" + category in a class's long text.
class TRekord {
public:
    TRekorder* Owner() const { return owner_; }

    QString Kategori;
    QString Key1;
    QString Key2;
    QString Resultat;
    QString Navn;
    QString Klub;
    QString Sted;
    QString Dato;

private:
    friend class TRekorder;
    TRekorder* owner_ = nullptr;
};

// The folder under the data folder that holds the records lists.
inline constexpr char16_t RekorderFolder[] = u"_rekorder";

// The name of the records list called name in dataFolder, as LoadFromFile takes it.
QString RekorderName(const QString& dataFolder, const QString& name);

// A records list read from a text file, with its entries in file order and grouped by event code.
// The entries point back at their list, so a list stays where it was created.
class TRekorder {
public:
    TRekorder() = default;
    TRekorder(const TRekorder&) = delete;
    TRekorder& operator=(const TRekorder&) = delete;

    // The file that LoadFromFile(name) reads: name + ".TXT", found as Windows would find it.
    static QString FileNameOf(const QString& name);

    // Empties the list and reads name + ".TXT" (Windows-1252). False, with the list left empty, when the
    // file is missing or cannot be read, so a caller can pass over it with a warning.
    //
    // Each line is trimmed. An empty line or one beginning with ";" is a comment; one beginning with "="
    // gives the title (the last one wins). Any other line is a record of fields each ended by ";", kept
    // only with exactly seven: event key ("event" or "event/attribute"), category, mark, name, club,
    // place, date. Text after the last ";" is ignored.
    bool LoadFromFile(const QString& name);
    // Frees the entries and forgets the title and the groups.
    void Clear();

    // Appends the entry, keeping the groups up to date.
    TRekord* Add(std::unique_ptr<TRekord> rekord);
    int GetCount() const { return static_cast<int>(rekorder_.size()); }
    // Null out of range.
    TRekord* GetRekord(int index) const;
    const QString& Titel() const { return titel_; }

    // Every run of consecutive entries with the same event code is one group; a code that comes again
    // after another starts a further group.
    void BuildIndex();
    // The first group whose event code equals key exactly.
    bool FindGroup(const QString& key, int& first, int& count) const;

private:
    struct Group {
        QString key;
        int first = 0;
        int count = 0;
    };
    void AddToIndex(int index);

    QString titel_;
    std::vector<std::unique_ptr<TRekord>> rekorder_;
    std::vector<Group> groups_;
};
