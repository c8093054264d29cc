#pragma once
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

// Appends lines to one text file, opening and closing it for every line, while Enabled.
class TTraceLog {
public:
    explicit TTraceLog(QString fileName)
        : FileName(std::move(fileName)) {}
    void Write(const QString& text);

    QString FileName;
    bool Enabled = false;
};

// A log with one file per day: FilenamePrefix + "yyyymmdd" + FilenameSuffix, each line stamped
// "dd-mm-yyyy hh:nn:ss" and two blanks.
class TDateLog {
public:
    using Clock = std::function<QDateTime()>;

    // The clock gives the time of each line; the system clock when none is given.
    explicit TDateLog(Clock clock = {});
    ~TDateLog();
    TDateLog(const TDateLog&) = delete;
    TDateLog& operator=(const TDateLog&) = delete;

    // Writes a line; a failure is swallowed.
    void Log(const QString& text) noexcept;
    // Writes a line; a failure reaches the caller.
    void Write(const QString& text);

    QString FilenamePrefix;
    QString FilenameSuffix;

private:
    Clock clock_;
    std::unique_ptr<TTraceLog> log_;
    QDate logDate_;
    QString logPrefix_;
};
