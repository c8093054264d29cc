#pragma once
// A program folder of a benchmark's own, installed from the shipped data, with its own registry and model
// context: the context (and the registry) are the model's while a Use lives, so several folders can stand
// side by side in one run.

#include "model/D_Context.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "tools/setup/Installation.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <utility>

class TBenchFolder {
public:
    TBenchFolder() {
        dir_ = folder_.path() + u'/';
        config_ = folder_.path() + QStringLiteral("/.config");
        Use use(*this);
        InstallProgramFolder(dir_, QStringLiteral(ZUNO_SOURCE_DIR "/data"));
        ModelContext().ProgramDir = dir_;
        ModelContext().StaevneManager = std::make_unique<TStaevneManager>();
        ModelContext().OvelseManager = std::make_unique<TOvelseManager>();
    }
    ~TBenchFolder() {
        Use use(*this);
        ModelContext().OvelseManager.reset();
        ModelContext().StaevneManager.reset();
    }
    TBenchFolder(const TBenchFolder&) = delete;
    TBenchFolder& operator=(const TBenchFolder&) = delete;

    class Use {
    public:
        explicit Use(TBenchFolder& folder)
            : folder_(folder)
            , config_(qgetenv("XDG_CONFIG_HOME")) {
            qputenv("XDG_CONFIG_HOME", folder_.config_.toLocal8Bit());
            std::swap(ModelContext(), folder_.context_);
        }
        ~Use() {
            std::swap(ModelContext(), folder_.context_);
            qputenv("XDG_CONFIG_HOME", config_);
        }
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;

    private:
        TBenchFolder& folder_;
        QByteArray config_;
    };

    const QString& Dir() const { return dir_; }

private:
    QTemporaryDir folder_;
    QString dir_;
    QString config_;
    TModelContext context_;
};

// A program folder with one meet of its own; its model context is held here while another one is in use.
class TBenchMeet {
public:
    TBenchMeet() {
        Use use(*this);
        ModelContext().StaevneManager->CreateStaevne(QStringLiteral("Stævne"));
    }
    TBenchMeet(const TBenchMeet&) = delete;
    TBenchMeet& operator=(const TBenchMeet&) = delete;

    // The meet's context for the guard's lifetime.
    class Use : public TBenchFolder::Use {
    public:
        explicit Use(TBenchMeet& meet)
            : TBenchFolder::Use(meet.folder_) {}
    };

    const QString& Dir() const { return folder_.Dir(); }

private:
    TBenchFolder folder_;
};

// The registry values a run writes go to a folder of the run's own while this lives; with offscreen, a
// run that makes windows draws them offscreen unless a platform is set.
class TBenchRunHome {
public:
    explicit TBenchRunHome(bool offscreen = false) {
        qputenv("XDG_CONFIG_HOME", home_.path().toLocal8Bit());
        if (offscreen && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }

private:
    QTemporaryDir home_;
};
