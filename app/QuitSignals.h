#pragma once

class QWidget;

namespace mirelo {

// An orderly end asked by the desktop or the shell (SIGTERM, SIGHUP, SIGINT)
// closes `window` the normal way, so its close handler saves the settings.
void CloseOnQuitSignals(QWidget* window);

} // namespace mirelo
