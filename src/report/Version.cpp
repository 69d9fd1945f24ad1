#include "Version.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace slabwise {

namespace {

constexpr size_t MagicSize = 16;

// The record every executable linking this library carries: a marker that
// occurs nowhere else in the file, then four little-endian 32-bit numbers.
struct TVersionRecord {
    char Magic[MagicSize];
    uint32_t Numbers[4];
};

[[gnu::used]] constinit const TVersionRecord VersionRecord{
    {'\x7f', 'S', 'L', 'A', 'B', 'W', 'I', 'S', 'E', '-', 'F', 'V', 'E', 'R', '\x01', '\x00'},
    {SLABWISE_VERSION_MAJOR, SLABWISE_VERSION_MINOR, SLABWISE_VERSION_PATCH, SLABWISE_VERSION_TWEAK}};

[[noreturn]] void NoVersion(const std::filesystem::path& path) {
    throw std::runtime_error("Can't get file version information for " + path.string());
}

uint32_t ReadLittleEndian(const char* bytes) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

} // namespace

std::string VersionRecordBytes(const TFileVersion& version) {
    std::string bytes(VersionRecord.Magic, MagicSize);
    for (uint32_t number : version)
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((number >> (8 * i)) & 0xff));
    return bytes;
}

TFileVersion GetFileVersion(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) NoVersion(path);
    const std::string_view magic(VersionRecord.Magic, MagicSize);
    constexpr size_t RecordSize = sizeof(TVersionRecord);
    constexpr size_t ChunkSize = size_t{1} << 20;
    // Chunks overlap by a record less one byte, so a record split across two
    // reads is still found.
    std::vector<char> buffer(ChunkSize + RecordSize);
    size_t kept = 0;
    while (in) {
        in.read(buffer.data() + kept, static_cast<std::streamsize>(ChunkSize));
        const size_t filled = kept + static_cast<size_t>(in.gcount());
        const std::string_view view(buffer.data(), filled);
        for (size_t at = view.find(magic); at != std::string_view::npos; at = view.find(magic, at + 1)) {
            if (at + RecordSize > filled) break;
            const char* numbers = buffer.data() + at + MagicSize;
            return {ReadLittleEndian(numbers), ReadLittleEndian(numbers + 4), ReadLittleEndian(numbers + 8),
                    ReadLittleEndian(numbers + 12)};
        }
        kept = std::min(filled, RecordSize - 1);
        std::memmove(buffer.data(), buffer.data() + filled - kept, kept);
    }
    NoVersion(path);
}

QString GetVersionText(const std::filesystem::path& path) {
    const TFileVersion version = GetFileVersion(path);
    return QStringLiteral("%1.%2.%3").arg(version[0]).arg(version[1]).arg(version[2]);
}

QString GetVersionText() {
    return GetVersionText(std::filesystem::path("/proc/self/exe"));
}

} // namespace slabwise
