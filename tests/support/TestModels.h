#pragma once

#include "model/MatData.h"

#include <filesystem>
#include <memory>

namespace slabwise::test {

// A model that reads no example project: the built-in new project.
inline std::unique_ptr<TMatData> NewModel(uint8_t units = UnitsEnglish) {
    auto mat = std::make_unique<TMatData>(std::filesystem::path{});
    if (units != mat->UnitSystem) {
        mat->SetUnitSystem(units);
        mat->ApplyBuiltInDefaults();
    }
    return mat;
}

// A plain strip with its stiffness inputs set and no loads; beta L follows
// from the length.
inline std::unique_ptr<TMatData> Strip(uint8_t units, Real L, Real B, Real T, Real k, Real Fc) {
    auto mat = NewModel(units);
    mat->StripLength = L;
    mat->StripWidth = B;
    mat->Thickness = T;
    mat->SubgradeModulus = k;
    mat->Fc = Fc;
    return mat;
}

} // namespace slabwise::test
