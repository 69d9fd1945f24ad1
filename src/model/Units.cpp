#include "Units.h"

#include "BarTables.h"

namespace slabwise {

std::string UnitText(TQuantity quantity, uint8_t unitSystem) {
    const bool si = unitSystem != UnitsEnglish;
    switch (quantity) {
    case TQuantity::Length:
        return si ? "m" : "ft";
    case TQuantity::Strength:
        return si ? "MPa" : "ksi";
    case TQuantity::Subgrade:
        return si ? "KN/m^3" : "pci";
    case TQuantity::Pressure:
        return si ? "KPa" : "ksf";
    case TQuantity::Inertia:
        return si ? "m^4" : "ft^4";
    case TQuantity::LineLoad:
        return si ? "KN/m" : "kips/ft";
    case TQuantity::Force:
        return si ? "KN" : "kips";
    case TQuantity::AppliedMoment:
        return si ? "KN-m" : "ft-kips";
    case TQuantity::Shear:
        return si ? "KN" : "k";
    case TQuantity::Moment:
        return si ? "KN-m" : "ft-k";
    case TQuantity::DesignLength:
        return si ? "mm" : "in";
    case TQuantity::SteelArea:
        return si ? "mm^2" : "in^2";
    case TQuantity::DesignMoment:
        return si ? "KN-m" : "k-ft";
    case TQuantity::Beta:
        return si ? "1/m" : "1/ft";
    case TQuantity::Rigidity:
        return si ? "KN-m^2" : "kip-ft^2";
    case TQuantity::Slope:
        return "rad";
    case TQuantity::SoilStrength:
        return si ? "KN/m^2" : "ksf";
    }
    return "";
}

} // namespace slabwise

namespace slabwise {

std::string DrawingMark(TDrawingMark mark, uint8_t unitSystem) {
    const bool si = unitSystem != UnitsEnglish;
    switch (mark) {
    case TDrawingMark::Length:
        return si ? UnitText(TQuantity::Length, unitSystem) : "'";
    case TDrawingMark::LineLoad:
        return si ? UnitText(TQuantity::LineLoad, unitSystem) : "k/ft";
    case TDrawingMark::Force:
        return si ? UnitText(TQuantity::Force, unitSystem) : "k";
    case TDrawingMark::Moment:
        return si ? UnitText(TQuantity::AppliedMoment, unitSystem) : "ft-k";
    case TDrawingMark::DesignLength:
        return si ? UnitText(TQuantity::DesignLength, unitSystem) : "\"";
    }
    return "";
}

} // namespace slabwise
