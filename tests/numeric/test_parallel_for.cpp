#include "numeric/ParallelFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace raylen;

TEST(ParallelFor, VisitsEveryIndexOnceInContiguousBlocks)
{
    for (size_t count : {1u, 7u, 1000u, 1001u})
        for (size_t grain : {1u, 64u, 5000u})
            for (unsigned workers : {1u, 2u, 3u, 8u}) {
                std::vector<int> visits(count, 0);
                std::vector<std::pair<size_t, size_t>> blocks;
                std::atomic<int> calls{0};
                std::mutex m;
                parallelFor(count, grain, [&](size_t b, size_t e) {
                    ++calls;
                    for (size_t i = b; i < e; ++i)
                        ++visits[i];
                    std::lock_guard<std::mutex> lock(m);
                    blocks.emplace_back(b, e);
                }, workers);
                for (int v : visits)
                    ASSERT_EQ(v, 1) << count << " " << grain << " " << workers;
                const size_t expected = std::min<size_t>(workers, (count + grain - 1) / grain);
                EXPECT_EQ(static_cast<size_t>(calls.load()), std::max<size_t>(expected, 1));
                for (auto [b, e] : blocks)
                    EXPECT_TRUE(e - b >= std::min(grain, count) || blocks.size() == 1);
            }
}

TEST(ParallelFor, RunsBlocksOnOtherThreadsAndNestedCallsInLine)
{
    std::vector<std::thread::id> ids(4);
    std::vector<int> nestedBlocks(4, 0);
    parallelFor(4, 1, [&](size_t b, size_t) {
        ids[b] = std::this_thread::get_id();
        parallelFor(100, 1, [&](size_t, size_t) { ++nestedBlocks[b]; }, 4);
    }, 4);
    EXPECT_EQ(ids[0], std::this_thread::get_id());
    EXPECT_NE(ids[1], ids[0]);
    EXPECT_EQ(nestedBlocks, std::vector<int>(4, 1));
}

TEST(ParallelFor, RethrowsTheFirstBlocksExceptionAfterAllBlocksEnd)
{
    std::atomic<int> finished{0};
    try {
        parallelFor(3, 1, [&](size_t b, size_t) {
            if (b >= 1)
                throw std::runtime_error("block " + std::to_string(b));
            ++finished;
        }, 3);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "block 1");
    }
    EXPECT_EQ(finished.load(), 1);
    EXPECT_GE(availableCores(), 1u);
}

TEST(ParallelFor, WorkerLimitCapsTheDefaultWorkers)
{
    const unsigned before = workerLimit();
    setWorkerLimit(1);
    EXPECT_EQ(availableCores(), 1u);
    std::atomic<int> calls{0};
    parallelFor(1000, 1, [&](size_t, size_t) { ++calls; });
    EXPECT_EQ(calls.load(), 1);
    setWorkerLimit(0);
    EXPECT_GE(availableCores(), 1u);
    setWorkerLimit(before);
}
