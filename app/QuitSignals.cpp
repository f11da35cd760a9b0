#include "QuitSignals.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace mirelo {

namespace {

// A signal handler may only do async-signal-safe work: it writes one byte to a
// socket, and the event loop does the rest on the window's thread.
int signalSockets[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalSockets[0], &byte, 1);
}

} // namespace

void OnQuitSignals(QObject* context, std::function<void()> onQuit) {
    if (signalSockets[0] != -1 ||
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [onQuit = std::move(onQuit)] {
        char byte;
        [[maybe_unused]] const auto read = ::read(signalSockets[1], &byte, 1);
        onQuit();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(sig, &action, nullptr);
}

} // namespace mirelo
