#pragma once

namespace mirelo {

// The window's fonts are named as on the desktop they were designed for
// ("MS Sans Serif", "Arial", "Times New Roman", "Courier New"); this makes the
// metric-compatible Liberation families stand in for them. Once per program,
// after the application object exists.
void SubstituteClassicFonts();

} // namespace mirelo
