#pragma once
// One running copy per user: a lock file in the user's runtime folder.
#include <memory>

class QLockFile;

namespace raylen {

class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    // False when another copy holds the lock.
    bool acquired() const { return acquired_; }

private:
    std::unique_ptr<QLockFile> lock_;
    bool acquired_ = false;
};

} // namespace raylen
