#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace slabwise {

// A project file that this program cannot read: a foreign or newer header,
// or a body that holds more than the model has room for.
class EWrongFileFormat : public std::runtime_error {
public:
    EWrongFileFormat() : std::runtime_error("Wrong file format") {}
};

// What a read of a project file could not take from it: the captions of the
// fields from the one the file ended in on, in file order. Empty for a whole
// file.
struct TReadReport {
    std::vector<std::string> NotRead;
    // The captions of the fields the file's version does not hold, which
    // keep their built-in values.
    std::vector<std::string> NotInVersion;
};

// The newest version this program reads. Files are written as the lowest
// version that holds the project: 0.5, which every earlier reader of that
// version understands, 0.6 when they need its soil flag, 0.7 when they need
// its column sizes.
constexpr double ProjectFileVersion = 0.7;

} // namespace slabwise
