#pragma once

#include <QCoreApplication>
#include <chrono>
#include <cstdio>

namespace mirelo {

// For the start-up benchmark (bench/measure_run): prints when the first paint
// was on screen, on the monotonic clock, and ends the program without a close
// request, so nothing is saved. Called from the event loop just after that paint.
inline void ReportFirstPaintAndExit() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf(
        "first-paint-ns %lld\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    std::fflush(stdout);
    QCoreApplication::exit(0);
}

} // namespace mirelo
