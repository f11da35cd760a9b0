#pragma once

#include <functional>

class QObject;

namespace mirelo {

// An end asked by the desktop or the shell (SIGTERM, SIGHUP, SIGINT) runs
// `onQuit` on the thread of `context`, from its event loop, for as long as
// `context` lives.
void OnQuitSignals(QObject* context, std::function<void()> onQuit);

} // namespace mirelo
