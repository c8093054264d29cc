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
