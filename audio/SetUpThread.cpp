#include "SetUpThread.h"

#include <utility>

namespace mirelo {

SetUpThread::SetUpThread(std::function<void()> first, std::function<void()> second,
                         std::chrono::milliseconds delay)
    : first_(std::move(first)), second_(std::move(second)), delay_(delay),
      thread_([this] { Run(); }) {}

SetUpThread::~SetUpThread() {
    SkipSecond();
    thread_.join();
}

void SetUpThread::Run() {
    std::exception_ptr error;
    try {
        first_();
    } catch (...) {
        error = std::current_exception();
    }
    std::unique_lock<std::mutex> lock(lock_);
    firstError_ = error;
    step_ = Step::Waiting;
    changed_.notify_all();
    // Asleep until the second step is asked for, then until its time comes.
    const auto ready = [this] { return wanted_ || skip_; };
    changed_.wait(lock, [&] { return ready() || requested_; });
    if (!ready())
        changed_.wait_until(lock, due_, ready);
    if (skip_) {
        step_ = Step::Done;
        changed_.notify_all();
        return;
    }
    step_ = Step::Second;
    lock.unlock();
    error = nullptr;
    try {
        second_();
    } catch (...) {
        error = std::current_exception();
    }
    lock.lock();
    secondError_ = error;
    secondRan_ = true;
    step_ = Step::Done;
    changed_.notify_all();
}

void SetUpThread::Wait(Step past, std::exception_ptr& error) {
    std::unique_lock<std::mutex> lock(lock_);
    if (past == Step::Done && step_ != Step::Done) {
        wanted_ = true;
        changed_.notify_all();
    }
    changed_.wait(lock, [&] { return step_ >= past; });
    if (error)
        std::rethrow_exception(std::exchange(error, nullptr));
}

void SetUpThread::RequestSecond() {
    std::lock_guard<std::mutex> lock(lock_);
    if (requested_)
        return;
    requested_ = true;
    due_ = std::chrono::steady_clock::now() + delay_;
    changed_.notify_all();
}

void SetUpThread::WaitFirst() {
    Wait(Step::Waiting, firstError_);
}

void SetUpThread::WaitSecond() {
    Wait(Step::Done, secondError_);
}

bool SetUpThread::SecondDone() const {
    std::lock_guard<std::mutex> lock(lock_);
    return step_ == Step::Done;
}

bool SetUpThread::SkipSecond() {
    std::unique_lock<std::mutex> lock(lock_);
    skip_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return step_ == Step::Done; });
    return secondRan_;
}

} // namespace mirelo
