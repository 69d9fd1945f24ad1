#pragma once

#include <stdexcept>

namespace slabwise {

// A project file that this program cannot read: a foreign or newer header,
// or a body that holds more than the model has room for.
class EWrongFileFormat : public std::runtime_error {
public:
    EWrongFileFormat() : std::runtime_error("Wrong file format") {}
};

// The newest version this program reads. Files are written as 0.5, which
// every earlier reader of that version understands, unless they need the
// soil flag that 0.6 adds.
constexpr double ProjectFileVersion = 0.6;

} // namespace slabwise
