#pragma once

// The colours of the drawings, one list for the three views.

#include "DiagramCanvas.h"

#include <QColor>

namespace slabwise::palette {

inline const QColor Soil = WinColor(0x5EA3FF);
inline const QColor Silver = WinColor(0xC0C0C0);
// Point loads.
inline const QColor Teal = WinColor(0x808000);
// Applied moments.
inline const QColor Maroon = WinColor(0x000080);
// Leaders of the bar labels.
inline const QColor Red = WinColor(0x0000FF);

} // namespace slabwise::palette
