#pragma once

#include <stdexcept>

namespace slabwise {

// A project file that this program cannot read: a foreign or newer header,
// or a body that holds more than the model has room for.
class EWrongFileFormat : public std::runtime_error {
public:
    EWrongFileFormat() : std::runtime_error("Wrong file format") {}
};

// The version every project file is written with; older ones are still read.
constexpr double ProjectFileVersion = 0.5;

} // namespace slabwise
