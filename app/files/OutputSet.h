#pragma once
// Related outputs written as one unit: while an OutputSet lives, every save
// of this thread through AtomicFileWriter is written and synced under a
// temporary name beside its target but not put in place. commit() then puts
// all of them in place, or none: a failure part-way renames the old files
// back. A set destroyed without commit removes its temporaries and leaves
// every target as it was.
//
// Sets that write into one folder are serialised by a lock on the folder
// during their commit, so two runs writing the same names never mix their
// files. A process killed during the commit may leave some new and some old
// targets, and its temporaries, which the next save into the folder removes.
#include <string>
#include <vector>

namespace raylen {

class OutputSet {
public:
    OutputSet();
    ~OutputSet();
    OutputSet(const OutputSet&) = delete;
    OutputSet& operator=(const OutputSet&) = delete;

    // Empty on success, else "OutputSet, " + the Basic error.
    std::string commit();

    // The set saves of this thread go to, or nullptr.
    static OutputSet* current();
    // Takes over a complete, synced temporary to be put in place of target.
    void add(const std::string& temporary, const std::string& target);

private:
    struct Staged {
        std::string temporary;
        std::string target;
    };
    void place();
    std::vector<Staged> staged_;
    OutputSet* outer_;
};

} // namespace raylen
