#pragma once

#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace mirelo {

// Runs two set-up steps on a thread of its own, so the caller can go on with
// other work: the first at once, the second only once it is asked for, `delay`
// after RequestSecond or as soon as someone waits for it, whichever comes
// first. Never asked for, it never runs. An exception thrown by a step is
// thrown again, once, to the first caller that waits for that step.
class SetUpThread {
public:
    SetUpThread(std::function<void()> first, std::function<void()> second,
                std::chrono::milliseconds delay);
    // Skips the second step if it has not begun, waits for it if it has.
    ~SetUpThread();
    SetUpThread(const SetUpThread&) = delete;
    SetUpThread& operator=(const SetUpThread&) = delete;

    void WaitFirst();
    // Without waiting: the second step will run `delay` from now, unless it
    // was asked for already or is waited for sooner.
    void RequestSecond();
    // Starts the second step now if it is still waiting, and waits for it.
    void WaitSecond();
    // Without waiting: whether the second step has ended (or was skipped).
    bool SecondDone() const;
    // The second step will not run; if it is running, waits for its end.
    // False when it had not begun, so nothing it makes exists.
    bool SkipSecond();

private:
    enum class Step { First, Waiting, Second, Done };

    void Run();
    void Wait(Step past, std::exception_ptr& error);

    std::function<void()> first_;
    std::function<void()> second_;
    std::chrono::milliseconds delay_;
    mutable std::mutex lock_;
    std::condition_variable changed_;
    Step step_ = Step::First;
    bool wanted_ = false;
    bool requested_ = false;
    std::chrono::steady_clock::time_point due_;
    bool skip_ = false;
    bool secondRan_ = false;
    std::exception_ptr firstError_;
    std::exception_ptr secondError_;
    std::thread thread_;
};

} // namespace mirelo
