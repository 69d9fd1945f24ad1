#pragma once

#include "model/MatData.h"
#include "support/TestModels.h"

#include <memory>
#include <string>
#include <vector>

namespace slabwise::test {

// The example project of a unit system, read from the source tree and analysed.
inline std::unique_ptr<TMatData> AnalysedExample(uint8_t units) {
    auto mat = NewModel(units);
    const std::string file = units == UnitsEnglish ? "Example English Units.ksw" : "Example SI Units.ksw";
    mat->LoadFromFile(std::string(SLABWISE_SOURCE_DATA) + "/" + file);
    mat->Analyze();
    return mat;
}

// A flexible strip pushed down near one end and lifted near the other: every
// result changes sign along it, the soil pressure too.
inline std::unique_ptr<TMatData> BothSignsStrip() {
    auto mat = Strip(UnitsEnglish, 48, 10, 1.5L, 100, 4);
    mat->PointLoads[0] = {1, 150};
    mat->PointLoads[1] = {47, -60};
    mat->Analyze();
    return mat;
}

// Every station holds the same values: the graphs have nothing to span.
inline std::unique_ptr<TMatData> EqualValuesStrip(uint8_t units = UnitsSI) {
    auto mat = Strip(units, 12, 3, 0.6L, 27000, 28);
    for (int i = 0; i < StationCount; ++i) {
        TMatStation& st = mat->Stations[static_cast<size_t>(i)];
        st.X = i < NodeCount ? mat->StripLength * i / 100 : mat->StripLength / 2;
        st.Shear = 12.5L;
        st.Moment = -40;
        st.Slope = 0;
        st.Deflection = -2.75L;
        st.Pressure = 55;
    }
    return mat;
}

// A rigid strip under a uniform load alone: it settles evenly, and shear and
// moment are nothing but round-off.
inline std::unique_ptr<TMatData> UniformLoadStrip() {
    auto mat = Strip(UnitsEnglish, 20, 10, 2, 100, 4);
    mat->FullUniformLoad = 2;
    mat->Analyze();
    return mat;
}

struct TNamedModel {
    std::string name;
    std::unique_ptr<TMatData> model;
};

inline std::vector<TNamedModel> GraphModels() {
    std::vector<TNamedModel> models;
    models.push_back({"english_example", AnalysedExample(UnitsEnglish)});
    models.push_back({"si_example", AnalysedExample(UnitsSI)});
    models.push_back({"both_signs", BothSignsStrip()});
    models.push_back({"equal_values", EqualValuesStrip()});
    models.push_back({"uniform_load", UniformLoadStrip()});
    return models;
}

} // namespace slabwise::test
