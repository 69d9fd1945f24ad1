#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace slabwise {

// Raised with libjpeg's own message when bytes are not a decodable JPEG.
class EJpegError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The largest logo file taken, from a project or from disk; checked before
// any of it is read, so a size a stream merely declares costs nothing.
constexpr uint64_t MaxLogoBytes = uint64_t{16} << 20;

// The error for a logo of `size` bytes, more than MaxLogoBytes.
EJpegError LogoTooLarge(uint64_t size);

// Decoded pixels, 8-bit RGB, row by row without padding.
struct TRgbPixels {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Rgb;
};

// A logo picture held as a complete JPEG file. Construction decodes the bytes
// once, so an image that exists is known to be a valid JPEG.
class TJpegImage {
public:
    // Throws EJpegError when the bytes are not a JPEG.
    static TJpegImage FromJpegBytes(std::vector<uint8_t> bytes);
    // Throws EJpegError, or std::filesystem::filesystem_error when unreadable.
    static TJpegImage FromFile(const std::filesystem::path& path);
    // Encodes with the library's default settings.
    static TJpegImage FromPixels(const TRgbPixels& pixels);

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    TRgbPixels Decode() const;

    bool operator==(const TJpegImage& other) const { return bytes_ == other.bytes_; }

private:
    TJpegImage() = default;
    std::vector<uint8_t> bytes_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace slabwise
