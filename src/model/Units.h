#pragma once

#include <cstdint>
#include <string>

namespace slabwise {

// Kinds of quantity whose unit text depends on the unit system.
enum class TQuantity {
    Length,        // ft, m: L, B, T, positions, Lr
    Strength,      // ksi, MPa: Fc, E, Fy
    Subgrade,      // pci, KN/m^3
    Pressure,      // ksf, KPa: qa, soil pressure
    Inertia,       // ft^4, m^4
    LineLoad,      // kips/ft, KN/m
    Force,         // kips, KN: point loads, factored and allowable shear
    AppliedMoment, // ft-kips, KN-m
    Shear,         // k, KN: shear results
    Moment,        // ft-k, KN-m: bending moment results
    DesignLength,  // in, mm: deflection, covers, spacing, depths
    SteelArea,     // in^2, mm^2
    DesignMoment,  // k-ft, KN-m: factored and allowable moments
    Beta,          // 1/ft, 1/m
    Rigidity,      // kip-ft^2, KN-m^2
    Slope,         // rad in both systems
    SoilStrength,  // ksf, KN/m^2: unconfined compressive strength of clay
};

// The unit caption the program shows beside a quantity.
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
