// The parallel loop when helper threads cannot start (no memory for their stacks, a process
// limit) or fail: the loop goes on with the threads that started and hands a helper's
// exception back to the caller, and the count of threads that can start is told beforehand.

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "linesearch/ParallelFor.h"
#include "linesearch/Threads.h"

namespace zantrel {

namespace {

// Starts threads as std::jthread does until `successes` have started, then fails as a thread
// without memory for its stack does.
ThreadStarter FailingAfter(int successes, std::atomic<int>& tries) {
    return [successes, &tries](std::function<void()> body) {
        if (tries++ >= successes)
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        return std::jthread(std::move(body));
    };
}

TEST(ParallelFor, GoesOnWithTheThreadsThatStartAndDoesEveryPieceOnce) {
    for (const int successes : {0, 1, 3}) {
        SCOPED_TRACE(successes);
        std::atomic<int> tries{0};
        std::vector<std::atomic<int>> done(500);
        std::vector<std::atomic<int>> byWorker(8);
        const int workers = ParallelFor(
            500, 8,
            [&](int piece, int worker) {
                ++done[piece];
                ++byWorker[worker];
            },
            FailingAfter(successes, tries));
        EXPECT_EQ(workers, successes + 1);
        EXPECT_EQ(tries.load(), successes + 1);  // no try after the first failure
        for (const auto& count : done)
            EXPECT_EQ(count.load(), 1);
        for (int worker = workers; worker < 8; ++worker)
            EXPECT_EQ(byWorker[worker].load(), 0) << worker;
    }
    // Every helper starting: every thread asked for, no more than pieces.
    EXPECT_EQ(ParallelFor(3, 8, [](int, int) {}), 3);
    EXPECT_EQ(ParallelFor(100, 4, [](int, int) {}), 4);
}

TEST(ParallelFor, AHelpersExceptionIsThrownOnTheCallingThread) {
    std::atomic<int> ran{0};
    const auto body = [&](int piece, int worker) {
        ++ran;
        if (worker != 0 || piece == 7)
            throw std::runtime_error("piece " + std::to_string(piece));
    };
    EXPECT_THROW(ParallelFor(1000, 4, body), std::runtime_error);
    EXPECT_LT(ran.load(), 1000);                                 // the handing out stopped
    EXPECT_THROW(ParallelFor(10, 1, body), std::runtime_error);  // the calling thread's own
}

TEST(ParallelFor, TheThreadsThatCanStartAreCountedBeforehand) {
    for (const int successes : {0, 2, 5}) {
        std::atomic<int> tries{0};
        EXPECT_EQ(CountStartableThreads(8, FailingAfter(successes, tries)), successes + 1);
    }
    EXPECT_EQ(CountStartableThreads(1), 1);
    EXPECT_EQ(CountStartableThreads(6), 6);
}

}  // namespace

}  // namespace zantrel
