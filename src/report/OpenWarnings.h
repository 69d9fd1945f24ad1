#pragma once

#include "model/OpenProject.h"

#include <QString>

#include <exception>

namespace slabwise {

// What the user is told after Open of a file that was not taken as it
// stands: what was not read, what the file's version lacks and each value
// changed to fit the limits.
QString OpenChangedWarning(const QString& fileName, const TOpenReport& report);
// What the user is told when a file is refused ("Wrong file format" and the
// like).
QString OpenRefusedWarning(const QString& fileName, const std::exception& error);

} // namespace slabwise
