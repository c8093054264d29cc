#pragma once
// Sorted, integer and interval lists, and the binary stream reader and writer.
#include "foundation/Exception.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QIODevice;

// Raised by the lists for an index outside them.
class EListError : public Exception {
public:
    using Exception::Exception;
};

// A read past the end, or a write that cannot be done, on a binary stream.
class EStreamError : public Exception {
public:
    using Exception::Exception;
};

[[noreturn]] void RaiseListIndexError(int index);

// 32-bit integers that grow on demand: an index at or beyond the count first appends -1 entries up to it.
class TIntegerList {
public:
    qint32 Get(int index);
    void Put(int index, qint32 value);
    int Count() const { return static_cast<int>(items_.size()); }
    int Add(qint32 value);
    void Insert(int index, qint32 value);
    void Delete(int index);
    void Clear() { items_.clear(); }
    int IndexOf(qint32 value) const;

private:
    void GrowTo(int index);

    std::vector<qint32> items_;
};

// Items kept in the order of Compare over their keys, found by binary search. Without Duplicates a key
// is held once; with them Find goes to the first equal item. Items may be move-only (std::unique_ptr):
// an Add that is refused leaves the caller's item untouched.
template <typename Item, typename Key>
class TSortedListBase {
public:
    TSortedListBase() = default;
    TSortedListBase(const TSortedListBase&) = delete;
    TSortedListBase& operator=(const TSortedListBase&) = delete;
    virtual ~TSortedListBase() = default;

    // Negative, 0 or positive.
    virtual int Compare(const Key& key1, const Key& key2) const = 0;
    virtual Key GetKey(const Item& item) const = 0;

    // True when found; index is then the (first) equal item, else the place to insert the key.
    bool Find(const Key& key, int& index) const {
        int low = 0;
        int high = Count() - 1;
        bool found = false;
        while (low <= high) {
            const int probe = low + (high - low) / 2;
            const int c = Compare(GetKey(items_[probe]), key);
            if (c < 0) {
                low = probe + 1;
            } else {
                high = probe - 1;
                if (c == 0) {
                    found = true;
                    if (!Duplicates)
                        low = probe;
                }
            }
        }
        index = low;
        return found;
    }

    // The index the item went to, or -1 when its key is present and Duplicates is off.
    int Add(Item&& item) {
        int index = 0;
        if (Find(GetKey(item), index) && !Duplicates)
            return -1;
        return AddAt(index, std::move(item));
    }
    int Add(const Item& item) { return Add(Item(item)); }

    // Inserts at index without regard to the order; the caller keeps the list sorted.
    int AddAt(int index, Item&& item) {
        if (index < 0 || index > Count())
            RaiseListIndexError(index);
        items_.insert(items_.begin() + index, std::move(item));
        return index;
    }
    int AddAt(int index, const Item& item) { return AddAt(index, Item(item)); }

    int Count() const { return static_cast<int>(items_.size()); }
    const Item& Items(int index) const { return items_[CheckedIndex(index)]; }
    Item& Items(int index) { return items_[CheckedIndex(index)]; }
    void Delete(int index) { items_.erase(items_.begin() + CheckedIndex(index)); }
    void Clear() { items_.clear(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    bool Duplicates = false;

private:
    std::size_t CheckedIndex(int index) const {
        if (index < 0 || index >= Count())
            RaiseListIndexError(index);
        return static_cast<std::size_t>(index);
    }

    std::vector<Item> items_;
};

// A list keyed by something else than its items must say how to get the key (GetKey stays abstract).
template <typename Item, typename Key = Item>
class TSortedList : public TSortedListBase<Item, Key> {};

// A list whose items are their own keys.
template <typename Item>
class TSortedList<Item, Item> : public TSortedListBase<Item, Item> {
public:
    Item GetKey(const Item& item) const override { return item; }
};

struct TInterval {
    TInterval(qint32 low, qint32 high)
        : Low(low)
        , High(high) {}
    // "L-H", or "L" alone when Low = High.
    QString AsText() const;

    qint32 Low;
    qint32 High;
};

// Integer intervals kept sorted, disjoint and not touching, written as text such as "1-3,5,7-9".
class TIntervalList {
public:
    void Clear() { intervals_.clear(); }
    // Merges low-high with every interval it overlaps or touches; high < low adds nothing.
    void AddInterval(qint32 low, qint32 high);
    const TInterval& GetInterval(int index) const;
    int Count() const { return static_cast<int>(intervals_.size()); }
    QString AsText() const;
    // Clears the list and reads the text; a bad text raises "Ugyldigt talinterval ..." with the
    // position, keeping the intervals read before it.
    void SetAsText(const QString& text);

private:
    std::vector<TInterval> intervals_;
};

// Binary primitives, little-endian and unpadded, onto a stream the caller owns. Texts are
// Windows-1252 with a 16-bit length in front.
class TStreamWriter {
public:
    explicit TStreamWriter(QIODevice* stream)
        : stream_(stream) {}
    QIODevice* Stream() const { return stream_; }

    void WriteBuffer(const void* buffer, qint64 count);
    void WriteByte(quint8 value);
    void WriteWord(quint16 value);
    void WriteInteger(qint32 value);
    void WriteBoolean(bool value);
    // A text of more than 65535 bytes is refused, since its length would not read back.
    void WriteString(const QString& text);

private:
    QIODevice* stream_;
};

class TStreamReader {
public:
    explicit TStreamReader(QIODevice* stream)
        : stream_(stream) {}
    QIODevice* Stream() const { return stream_; }

    void ReadBuffer(void* buffer, qint64 count);
    quint8 ReadByte();
    quint16 ReadWord();
    qint32 ReadInteger();
    bool ReadBoolean();
    QString ReadString();

private:
    QIODevice* stream_;
};

// Appends lines to one text file while Enabled. The file stays open between lines, and is opened
// again whenever its name no longer leads to the open file (removed, renamed away, replaced, or a
// relative name in another current folder), so each line lands in the file that bears the name when
// it is written. Every call is one write() of whole
// lines straight to the file: nothing waits in a buffer of ours.
class TTraceLog {
public:
    explicit TTraceLog(QString fileName);
    ~TTraceLog();
    TTraceLog(const TTraceLog&) = delete;
    TTraceLog& operator=(const TTraceLog&) = delete;

    void Write(const QString& text);
    // Lines already encoded, each ending in its line feed.
    void WriteLines(const QByteArray& lines);
    // WriteLines for callers on several threads: appends only while the open file is the current one,
    // and tells whether it did; it opens nothing. Calls of it may overlap one another, not WriteLines.
    bool AppendToOpen(const QByteArray& lines) const;

    QString FileName;
    bool Enabled = false;

private:
    void Open();
    void Close();
    bool IsCurrent() const;
    bool Append(const QByteArray& lines) const;
    Exception WriteError() const;

    int fd_ = -1;
    QString openName_;   // FileName when the file was opened
    QByteArray folder_;  // the current folder a relative FileName was found from; empty for a full one
    QByteArray path_;    // the resolved name, as the system takes it
    quint64 device_ = 0; // the identity of the open file
    quint64 inode_ = 0;
};

// A log with one file per day: FilenamePrefix + "yyyymmdd" + FilenameSuffix, each line stamped
// "dd-mm-yyyy hh:nn:ss" and two blanks.
class TDateLog {
public:
    using Clock = std::function<QDateTime()>;

    // The moment lines are written at: the file they go to and the stamp they begin with.
    struct TStamp {
        QString FileName;
        QByteArray Text; // "dd-mm-yyyy hh:nn:ss" and two blanks
    };

    // The clock gives the time of each line; the system clock when none is given.
    explicit TDateLog(Clock clock = {});
    ~TDateLog();
    TDateLog(const TDateLog&) = delete;
    TDateLog& operator=(const TDateLog&) = delete;

    // Writes a line; a failure is swallowed.
    void Log(const QString& text) noexcept;
    // Writes a line; a failure reaches the caller.
    void Write(const QString& text);

    // Write in halves, for callers on several threads: Stamp tells where and with what stamp lines
    // logged now go (calls of it must not overlap), Line makes a line, and WriteStamped appends lines
    // whole with one write (calls of it must not overlap; the two halves may). A failure reaches the
    // caller.
    TStamp Stamp();
    static QByteArray Line(const TStamp& stamp, const QString& text);
    void WriteStamped(const QString& fileName, const QByteArray& lines);
    // WriteStamped for callers on several threads, as TTraceLog::AppendToOpen.
    bool AppendToOpen(const QString& fileName, const QByteArray& lines) const;

    QString FilenamePrefix;
    QString FilenameSuffix;

private:
    void SetStampTime(const QDateTime& now);

    Clock clock_;
    // Stamping: the day and prefix of the current file, and the current second with its text.
    QDate logDate_;
    QString logPrefix_;
    QString logFileName_;
    qint64 systemSecond_ = -1;
    QDate stampDate_;
    int stampSecond_ = -1;
    QByteArray stampText_;
    // Writing.
    std::unique_ptr<TTraceLog> log_;
};
