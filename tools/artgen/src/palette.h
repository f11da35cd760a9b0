#pragma once
// Shared colours. Symbol inks are never pure black: pure black is what the
// tile sheet uses for "no symbol here".

#include <QColor>

namespace artgen::ink {

inline const QColor kDark{24, 24, 36};
inline const QColor kNavy{22, 38, 92};
inline const QColor kRed{200, 28, 36};
inline const QColor kDeepRed{150, 16, 26};
inline const QColor kGreen{22, 128, 58};
inline const QColor kDeepGreen{12, 84, 40};
inline const QColor kLeaf{70, 160, 60};
inline const QColor kBlue{28, 72, 178};
inline const QColor kSky{60, 130, 210};
inline const QColor kGold{222, 160, 20};
inline const QColor kOrange{232, 110, 24};
inline const QColor kPink{232, 96, 140};
inline const QColor kPurple{128, 60, 170};
inline const QColor kBrown{120, 72, 36};
inline const QColor kWhite{255, 255, 255};

// Colour that anti-aliased symbol edges fade towards. All three blanks are
// light, so blending towards their average keeps edges smooth on any of them.
inline const QColor kEdgeBlend{226, 218, 210};

} // namespace artgen::ink
