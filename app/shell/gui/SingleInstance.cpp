#include "shell/gui/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace raylen {

SingleInstance::SingleInstance()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    lock_ = std::make_unique<QLockFile>(folder + "/raylen.lock");
    // A lock left by a copy that died is taken over (its process is gone);
    // a live copy's lock never goes stale by age.
    lock_->setStaleLockTime(0);
    acquired_ = lock_->tryLock(0);
}

SingleInstance::~SingleInstance() = default;

} // namespace raylen
