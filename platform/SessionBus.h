#pragma once

#include <QByteArray>

namespace mirelo {

// The session bus address the D-Bus library would use: the variable
// DBUS_SESSION_BUS_ADDRESS when it is set, else the user's socket "bus" in
// $XDG_RUNTIME_DIR. Empty when the library would launch a bus of its own.
QByteArray SessionBusAddress();

enum class BusAnswer {
    Answers,    // a bus took the connection and answered
    Refused,    // no socket of the address takes connections: the library gives up at once
    Silent,     // a socket takes the connection, or would, and says nothing
    NotChecked, // an address of a kind not checked here (TCP, a launcher, ...)
};

// Does what a bus client does first, on the address's Unix sockets in turn:
// connects and asks to be let in. Qt asks the session bus about a desktop menu
// bar and screen readers while the window is built, without a time limit, so a
// bus that takes connections but never answers would keep the window from
// ever showing. Silent when no answer comes within `timeoutMs`.
BusAnswer CheckSessionBus(const QByteArray& address, int timeoutMs);

} // namespace mirelo
