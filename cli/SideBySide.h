#pragma once
// Runs independent jobs in a few worker processes and relays what each job
// wrote to standard output and standard error in job order, so that the
// output reads as if they had run one after another.
#include <cstddef>
#include <functional>

namespace cli {

// Forks `workers` children of this process (so nothing is loaded or started
// twice); each takes the next job not yet taken and runs job(k), which
// returns its exit status. A worker keeps its heap from job to job, so
// later jobs reuse the pages the earlier ones touched. Returns the first
// non-zero status in job order, else 0. Call only while this process runs
// no other thread. A worker calls workerEnd, if given, after its last job.
// A job whose worker died before it reported (a crash, a kill) counts as
// failed; lost(k), if given, then prints why, in its place among the outputs.
int runSideBySide(size_t count, unsigned workers, const std::function<int(size_t)>& job,
                  const std::function<void()>& workerEnd = nullptr,
                  const std::function<void(size_t)>& lost = nullptr);

} // namespace cli
