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
    changed_.wait_for(lock, delay_, [this] { return wanted_ || skip_; });
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
