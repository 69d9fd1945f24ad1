#pragma once

#include "Real.h"

#include <cstdint>
#include <string>

namespace slabwise {

// MPa per psi, exact by the definitions of the pound-force and the inch. The
// concrete provisions written with sqrt(f'c) in psi take f'c in MPa through it.
inline constexpr Real MPaPerPsi = 0.006894757293168361L;

// Kinds of quantity whose unit text depends on the unit system.
enum class TQuantity {
    Length,       // ft, m: L, B, T, positions, Lr
    Strength,     // ksi, MPa: Fc, E, Fy
    Subgrade,     // pci, kN/m³
    Pressure,     // ksf, kPa: qa, soil pressure
    Inertia,      // ft⁴, m⁴
    LineLoad,     // kips/ft, kN/m
    Force,        // kips, kN: point loads, factored and allowable shear
    Moment,       // ft-kips, kN-m: every moment, applied, computed or designed for
    Shear,        // k, kN: shear results
    DesignLength, // in, mm: deflection, covers, spacing, depths
    SteelArea,    // in², mm²
    Beta,         // 1/ft, 1/m
    Rigidity,     // kip-ft², kN-m²
    Slope,        // rad in both systems
    SoilStrength, // ksf, kPa: unconfined compressive strength of clay
    Percent,      // % in both systems
};

// The unit caption the program shows beside a quantity, in UTF-8, with SI
// symbols as SI writes them.
std::string UnitText(TQuantity quantity, uint8_t unitSystem);

} // namespace slabwise

namespace slabwise {

// Short marks the drawings write beside a number: the English forms are the
// draughtsman's ("12.5'", "#6 @ 10.5\"", "3 k/ft"), the SI ones are the unit
// texts above.
enum class TDrawingMark {
    Length,       // ' or m, written right after a position
    LineLoad,     // k/ft
    Force,        // k
    Moment,       // ft-k
    DesignLength, // " or mm, written right after a cover or spacing
};
std::string DrawingMark(TDrawingMark mark, uint8_t unitSystem);

} // namespace slabwise
