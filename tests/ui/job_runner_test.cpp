// The job runner on a virtual clock: results come back only when the test turns the UI
// thread's posted calls, so what is waiting, running and applied is decided by the test.

#include <future>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ui/clock.h"
#include "ui/job_runner.h"

using namespace vimora::ui;

namespace {

/// Holds a job on the runner's thread until opened.
class Gate
{
public:
    void open() { m_promise.set_value(); }
    std::shared_future<void> opened() const { return m_opened; }

private:
    std::promise<void> m_promise;
    std::shared_future<void> m_opened = m_promise.get_future().share();
};

class JobRunnerTest : public testing::Test
{
protected:
    JobRunnerTest() { m_previous = Clock::setCurrent(&clock); }
    ~JobRunnerTest() override { Clock::setCurrent(m_previous); }

    /// A job that records its work and its apply under name.
    JobRunner::Work job(int name)
    {
        return [this, name]() -> JobRunner::Apply {
            worked.push_back(name); // one thread at a time: the runner's
            return [this, name] {
                applied.push_back(name);
                appliedOnUiThread = appliedOnUiThread && std::this_thread::get_id() == uiThread;
            };
        };
    }
    /// A job that waits for the gate before doing anything.
    static JobRunner::Work held(const Gate &gate)
    {
        return [opened = gate.opened()]() -> JobRunner::Apply {
            opened.wait();
            return {};
        };
    }

    VirtualClock clock;
    std::vector<int> worked, applied;
    bool appliedOnUiThread = true;
    const std::thread::id uiThread = std::this_thread::get_id();

private:
    Clock *m_previous = nullptr;
};

TEST_F(JobRunnerTest, InOrderJobsAllRunAndApplyInOrderOnTheUiThread)
{
    JobRunner runner;

    for (int i = 0; i < 5; ++i)
        runner.post(job(i));
    EXPECT_TRUE(runner.isBusy());
    runner.waitForIdle();

    EXPECT_EQ(worked, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(applied, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(appliedOnUiThread);
    EXPECT_FALSE(runner.isBusy());
}

TEST_F(JobRunnerTest, WaitForWorkLeavesResultsForTheUiThread)
{
    JobRunner runner;

    runner.post(job(1));
    runner.waitForWork();

    EXPECT_EQ(worked, std::vector<int>{1});
    EXPECT_TRUE(applied.empty());
    EXPECT_TRUE(runner.isBusy());
    clock.runPending();
    EXPECT_EQ(applied, std::vector<int>{1});
    EXPECT_FALSE(runner.isBusy());
}

TEST_F(JobRunnerTest, LatestWinsReplacesWaitingJobsOfItsGroupButNotTheRunningOne)
{
    JobRunner runner;
    Gate gate;

    runner.post(held(gate));
    runner.post(job(1), JobPolicy::LatestWins);
    runner.post(job(2), JobPolicy::InOrder);
    runner.post(job(3), JobPolicy::LatestWins);
    runner.post(job(10), JobPolicy::LatestWins, 7);
    runner.post(job(4), JobPolicy::LatestWins);
    gate.open();
    runner.waitForIdle();

    // 1 and 3 were replaced; 2 is in order; 10 is another group's.
    EXPECT_EQ(applied, (std::vector<int>{2, 10, 4}));
    EXPECT_EQ(worked, applied);
}

TEST_F(JobRunnerTest, APreparedJobReadsWhatTheJobBeforeItApplied)
{
    JobRunner runner;
    Gate gate;
    int shown = 0;
    std::vector<int> read;
    const auto addOne = [&] {
        runner.postPrepared([&]() -> JobRunner::Work {
            const int input = shown;
            read.push_back(input);
            return [&shown, input]() -> JobRunner::Apply { return [&shown, input] { shown = input + 1; }; };
        });
    };

    runner.post(held(gate));
    addOne();
    addOne();
    addOne();
    EXPECT_TRUE(read.empty()); // nothing read while the job before runs
    gate.open();
    runner.waitForIdle();

    EXPECT_EQ(read, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(shown, 3);
}

TEST_F(JobRunnerTest, LatestWinsPreparedJobsReadOnceForTheLastRequest)
{
    JobRunner runner;
    Gate gate;
    std::vector<int> prepared;

    runner.post(held(gate));
    for (int value : {1, 2, 3})
        runner.postPrepared(
            [&, value]() -> JobRunner::Work {
                prepared.push_back(value);
                return job(value);
            },
            JobPolicy::LatestWins);
    gate.open();
    runner.waitForIdle();

    EXPECT_EQ(prepared, std::vector<int>{3});
    EXPECT_EQ(applied, std::vector<int>{3});
}

TEST_F(JobRunnerTest, AThrowingJobIsReportedOnceAndTheJobsAfterItRun)
{
    std::vector<QString> failures;
    bool toldOnUiThread = false;
    JobRunner runner([&](const QString &reason) {
        failures.push_back(reason);
        toldOnUiThread = std::this_thread::get_id() == uiThread;
    });

    runner.post([]() -> JobRunner::Apply { throw std::runtime_error("disk gone"); });
    runner.post(job(1));
    runner.postPrepared([]() -> JobRunner::Work { throw std::runtime_error("no picture"); });
    runner.post([]() -> JobRunner::Apply { return [] { throw std::runtime_error("view gone"); }; });
    runner.post(job(2));
    runner.waitForIdle();

    EXPECT_EQ(failures, (std::vector<QString>{"disk gone", "no picture", "view gone"}));
    EXPECT_TRUE(toldOnUiThread);
    EXPECT_EQ(applied, (std::vector<int>{1, 2}));
    EXPECT_FALSE(runner.isBusy());
}

TEST_F(JobRunnerTest, ResultsArrivingAfterTheOwnerWentAreDropped)
{
    auto runner = std::make_unique<JobRunner>([this](const QString &) { applied.push_back(-1); });
    Gate gate;

    runner->post(job(1));
    runner->post([]() -> JobRunner::Apply { throw std::runtime_error("late"); });
    runner->waitForWork();
    runner->post(held(gate));
    runner->postPrepared([this]() -> JobRunner::Work { return job(2); });
    gate.open();
    runner.reset();
    clock.runPending();

    // The job handed over ran (a write is never cut short); the waiting one never started,
    // and neither result nor failure reached the gone owner.
    EXPECT_EQ(worked, std::vector<int>{1});
    EXPECT_TRUE(applied.empty());
}

TEST_F(JobRunnerTest, ClearPendingKeepsOnlyTheRunningJob)
{
    JobRunner runner;
    Gate gate;

    runner.post(held(gate));
    runner.post(job(1));
    runner.postPrepared([this]() -> JobRunner::Work { return job(2); });
    runner.clearPending();
    gate.open();
    runner.waitForIdle();

    EXPECT_TRUE(worked.empty());
    EXPECT_FALSE(runner.isBusy());
}

TEST_F(JobRunnerTest, ARunnerIdleForAWhileStartsAgain)
{
    JobRunner runner;

    runner.post(job(1));
    runner.waitForIdle();
    runner.post(job(2));
    runner.waitForIdle();

    EXPECT_EQ(applied, (std::vector<int>{1, 2}));
}

} // namespace
