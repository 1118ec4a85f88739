#pragma once
// One running copy per user: a lock file in the user's runtime folder, and
// beside it a local socket through which a second copy hands its files to
// the running one.
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

namespace raylen {

class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    // False when another copy holds the lock.
    bool acquired() const { return acquired_; }
    // In the running copy: files handed over are passed to open, from the
    // event loop.
    void serve(std::function<void(const QStringList&)> open);
    // In a second copy: hands the files (made absolute) to the running
    // copy; false when none took them.
    bool handOver(const QStringList& files) const;

private:
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
    std::function<void(const QStringList&)> open_;
    bool acquired_ = false;
};

} // namespace raylen
