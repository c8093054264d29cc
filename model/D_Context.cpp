#include "model/D_Context.h"

#include "foundation/LxDisk.h"
#include "foundation/PathResolver.h"

TModelContext::~TModelContext() {
    OvelseManager.reset();
    StaevneManager.reset();
}

TDateTime TModelContext::Now() const {
    return Clock ? Clock() : NowDateTime();
}

TModelContext& ModelContext() {
    static TModelContext context;
    return context;
}

QString DataDirFile(const QString& name) {
    return ResolvePath(PathJoin(ModelContext().ProgramDir, name));
}

QString StaevneDirOf(const QString& navn) {
    return DataDirFile(navn);
}

const QString& CurrentStaevneDir() {
    return ModelContext().StaevneDir;
}

TModelContextScope::TModelContextScope(TModelContext context)
    : saved_(std::move(ModelContext())) {
    ModelContext() = std::move(context);
}

TModelContextScope::~TModelContextScope() {
    TModelContext& context = ModelContext();
    context.OvelseManager.reset();
    context.StaevneManager.reset();
    context = std::move(saved_);
}

TClockScope::TClockScope(TClock clock)
    : saved_(std::exchange(ModelContext().Clock, std::move(clock))) {}

TClockScope::TClockScope(TDateTime at)
    : TClockScope([at] { return at; }) {}

TClockScope::~TClockScope() {
    ModelContext().Clock = std::move(saved_);
}
