#pragma once
// The state the model shares: the program folder, the version, the two managers, the current meet and a
// clock. The meet manager keeps the current meet here, and the tables read it from here, so that no
// table needs the meet manager. Tests give the model a context of their own, or just a clock, for one
// scope with a guard.
#include "storage/DBFieldDate.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <utility>

class TOvelseManager;
class TResultatManager;
class TStaevneManager;
class TSystemData;

// An owning pointer to a class that may be incomplete where the owner is destroyed: the deleter is taken
// where the object is handed over.
template <typename T>
class TOwned {
public:
    TOwned() = default;
    ~TOwned() { reset(); }
    TOwned(TOwned&& other) noexcept
        : object_(std::exchange(other.object_, nullptr))
        , delete_(other.delete_) {}
    TOwned& operator=(TOwned&& other) noexcept {
        if (this != &other) {
            reset();
            object_ = std::exchange(other.object_, nullptr);
            delete_ = other.delete_;
        }
        return *this;
    }
    TOwned& operator=(std::unique_ptr<T> object) {
        reset();
        object_ = object.release();
        delete_ = [](T* owned) { delete owned; };
        return *this;
    }

    // The object is no longer reachable through the owner while it is destroyed.
    void reset() {
        if (T* owned = std::exchange(object_, nullptr))
            delete_(owned);
    }
    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
    void (*delete_)(T*) = nullptr;
};

using TClock = std::function<TDateTime()>;

struct TModelContext {
    TModelContext() = default;
    TModelContext(TModelContext&&) = default;
    TModelContext& operator=(TModelContext&&) = default;
    // The managers go first, the event manager before the meet manager, while what they clear in the
    // context is still there: also when the program ends with them alive.
    ~TModelContext();

    // The folder of the executable, with a trailing separator: also the data folder of the 14 record
    // files and the meet folders.
    QString ProgramDir;
    // The program's version text; empty until start-up has read it.
    QString ProgramVersion;
    // Announcer mode: nothing is saved.
    bool SpeakerMode = false;
    TOwned<TStaevneManager> StaevneManager;
    // Declared after the meet manager, so freed before it.
    TOwned<TOvelseManager> OvelseManager;

    // ---- The current meet, kept by the meet manager
    // -1 when no meet is open.
    qint32 CurrentStID = -1;
    // The meet's folder in the data folder (StaevneDirOf); empty when no meet is open.
    QString StaevneDir;
    // The meet's settings; null for the defaults.
    const TSystemData* SystemData = nullptr;
    // Called when another meet (or none) became the current one: the event manager reads its programme.
    std::function<void()> OnStaevneChanged;

    // The result manager the user works in (the event editor's), as its owner made it current; null when
    // none. Nothing in the model sorts or compares by it: every manager follows its own round.
    TResultatManager* CurrentResultatManager = nullptr;

    // ---- The highest club and start numbers the club manager handed out or saw deleted in this run, by
    // meet number: a number freed by a delete is not handed out again.
    std::map<qint32, qint32> HighestKlubNr;
    std::map<qint32, qint32> HighestStartnummer;

    // The wall clock when null.
    TClock Clock;
    TDateTime Now() const;
};

// The model's context.
TModelContext& ModelContext();

// A file or folder of the data folder, found as the path resolver finds every file (an existing one in
// another letter case is that one).
QString DataDirFile(const QString& name);
// The folder of the meet of that name: the data folder's entry of that name.
QString StaevneDirOf(const QString& navn);
// The current meet's folder, as StaevneDirOf gives it; empty when no meet is open.
const QString& CurrentStaevneDir();

// Gives the model the context for the guard's lifetime, then the one it had before. The context's own
// managers are freed first, the event manager before the meet manager.
class TModelContextScope {
public:
    explicit TModelContextScope(TModelContext context = {});
    ~TModelContextScope();
    TModelContextScope(const TModelContextScope&) = delete;
    TModelContextScope& operator=(const TModelContextScope&) = delete;

private:
    TModelContext saved_;
};

// Gives the context the clock for the guard's lifetime.
class TClockScope {
public:
    explicit TClockScope(TClock clock);
    // A clock that stands still at the time.
    explicit TClockScope(TDateTime at);
    ~TClockScope();
    TClockScope(const TClockScope&) = delete;
    TClockScope& operator=(const TClockScope&) = delete;

private:
    TClock saved_;
};
