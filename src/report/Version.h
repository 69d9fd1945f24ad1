#pragma once

// The version record every program of ours carries, and its text.

#include <QString>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace slabwise {

// Major, minor, release, build.
using TFileVersion = std::array<uint32_t, 4>;

// Reads the version information that every program of ours carries (linking
// this library embeds it); throws std::runtime_error with "Can't get file
// version information for " and the path for any other file.
TFileVersion GetFileVersion(const std::filesystem::path& path);
// "major.minor.release" of the given file, or of the running executable.
QString GetVersionText(const std::filesystem::path& path);
QString GetVersionText();
// The bytes of a version record for the given numbers, as a program file
// holds it.
std::string VersionRecordBytes(const TFileVersion& version);

} // namespace slabwise
