// Runs a program once and prints, on one line, what the start-up report needs:
//   paint_ms  launch to the first painted window, as the program reports it
//             (under MIRELO_FIRST_PAINT_EXIT=1 it prints "first-paint-ns N",
//             N on the monotonic clock, once its first paint is on screen);
//             -1 when it reported none
//   exit_ms   launch to the end of the process
//   cpu_ms    processor time it used, user and system, all threads
//   peak_kib  the process's peak resident memory, from wait4
//   status    its exit status (128 + signal when killed)
// A program that runs longer than 20 seconds is killed.
// Usage: measure_run PROGRAM [ARGUMENTS...]
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr unsigned TimeoutSeconds = 20;
constexpr const char* PaintTag = "first-paint-ns ";

pid_t child = 0;

long long NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void KillChild(int) {
    if (child > 0)
        kill(child, SIGKILL);
}

// Reads the child's output up to its paint report, or to its end. Stops at the
// report: a helper the child started may hold the pipe open long after.
long long ReadPaintTime(int fd) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const std::size_t tag = text.find(PaintTag);
        if (tag != std::string::npos && text.find('\n', tag) != std::string::npos)
            return std::atoll(text.c_str() + tag + std::strlen(PaintTag));
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return -1;
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    int out[2];
    if (pipe(out) != 0) {
        std::perror("pipe");
        return 1;
    }
    const long long start = NowNs();
    child = fork();
    if (child < 0) {
        std::perror("fork");
        return 1;
    }
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execvp(argv[1], argv + 1);
        std::perror(argv[1]);
        _exit(127);
    }
    close(out[1]);
    struct sigaction timeout {};
    timeout.sa_handler = KillChild;
    sigaction(SIGALRM, &timeout, nullptr);
    alarm(TimeoutSeconds);

    const long long paint = ReadPaintTime(out[0]);
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    const long long end = NowNs();
    alarm(0);
    close(out[0]);

    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    std::printf("paint_ms %.3f exit_ms %.3f cpu_ms %.3f peak_kib %ld status %d\n",
                paint > 0 ? static_cast<double>(paint - start) / 1e6 : -1.0,
                static_cast<double>(end - start) / 1e6, ms(usage.ru_utime) + ms(usage.ru_stime),
                usage.ru_maxrss, code);
    return 0;
}
