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
        return si ? "kN/m\u00B3" : "pci";
    case TQuantity::Pressure:
        return si ? "kPa" : "ksf";
    case TQuantity::Inertia:
        return si ? "m\u2074" : "ft\u2074";
    case TQuantity::LineLoad:
        return si ? "kN/m" : "kips/ft";
    case TQuantity::Force:
        return si ? "kN" : "kips";
    case TQuantity::Moment:
        return si ? "kN-m" : "ft-kips";
    case TQuantity::Shear:
        return si ? "kN" : "k";
    case TQuantity::DesignLength:
        return si ? "mm" : "in";
    case TQuantity::SteelArea:
        return si ? "mm\u00B2" : "in\u00B2";
    case TQuantity::Beta:
        return si ? "1/m" : "1/ft";
    case TQuantity::Rigidity:
        return si ? "kN-m\u00B2" : "kip-ft\u00B2";
    case TQuantity::Slope:
        return "rad";
    case TQuantity::SoilStrength:
        return si ? "kPa" : "ksf";
    case TQuantity::Percent:
        return "%";
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
        return si ? UnitText(TQuantity::Moment, unitSystem) : "ft-k";
    case TDrawingMark::DesignLength:
        return si ? UnitText(TQuantity::DesignLength, unitSystem) : "\"";
    }
    return "";
}

} // namespace slabwise
