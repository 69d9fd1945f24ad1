#include "JpegImage.h"

#include <cerrno>
#include <csetjmp>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>

#include <jpeglib.h>

namespace slabwise {

namespace {

// A logo is shown at most 173 x 73 pixels and printed a few centimetres
// wide; 4 megapixels (2048 x 2048, or 4096 x 1024) is several times what a
// 600 dpi print of it needs. A hostile header can claim 65500 x 65500, and a
// file of a few kilobytes then costs seconds and hundreds of megabytes, so
// larger images are refused before anything of their size is allocated.
constexpr uint64_t MaxPixels = 4'194'304;
// Every progressive scan costs a pass over the whole image, and a tiny file
// can hold thousands of empty ones. Encoders write about ten.
constexpr int MaxScans = 64;
// What the library may allocate for one decode: the coefficients of a
// progressive image of MaxPixels in four full-resolution components take
// 32 MiB; the rest is room for its row buffers.
constexpr long MaxDecoderMemory = 64L << 20;

// libjpeg's default error_exit ends the process, so errors jump back to the
// function that started the library call. The frames jumped over belong to
// libjpeg and to the callbacks below, which hold nothing with a destructor.
struct TErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// Takes a printf format so that no object with a destructor is alive when
// the jump leaves this frame.
[[noreturn]] __attribute__((format(printf, 2, 3))) void FailWith(j_common_ptr cinfo, const char* format,
                                                                 ...) {
    auto* err = reinterpret_cast<TErrorManager*>(cinfo->err);
    va_list args;
    va_start(args, format);
    std::vsnprintf(err->message, sizeof err->message, format, args);
    va_end(args);
    std::longjmp(err->jump, 1);
}

[[noreturn]] void OnError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<TErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings (for instance a missing end marker) do not stop decoding, and the
// library must not write to the console.
void OnMessage(j_common_ptr) {}

void InstallErrorManager(TErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.output_message = OnMessage;
    err.message[0] = '\0';
}

void OnProgress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > MaxScans)
        FailWith(cinfo, "JPEG image has more than %d scans", MaxScans);
}

// Owns a decompressor for the duration of one decode, whichever way it ends.
struct TDecodeJob {
    TErrorManager err{};
    jpeg_progress_mgr progress{};
    jpeg_decompress_struct cinfo{};
    std::vector<uint8_t> row;
    TRgbPixels* pixels = nullptr; // null: decode only to validate

    TDecodeJob() {
        InstallErrorManager(err);
        cinfo.err = &err.pub;
        progress.progress_monitor = OnProgress;
    }
    ~TDecodeJob() { jpeg_destroy_decompress(&cinfo); }
    TDecodeJob(const TDecodeJob&) = delete;
    TDecodeJob& operator=(const TDecodeJob&) = delete;
};

void ToRgb(const TDecodeJob& job, uint8_t* target) {
    const jpeg_decompress_struct& cinfo = job.cinfo;
    const uint8_t* source = job.row.data();
    if (cinfo.out_color_space == JCS_RGB) {
        std::memcpy(target, source, static_cast<size_t>(cinfo.output_width) * 3);
        return;
    }
    // Adobe writes CMYK inverted (0 = full ink); other writers store ink amounts.
    const bool inverted = cinfo.saw_Adobe_marker;
    for (JDIMENSION x = 0; x < cinfo.output_width; ++x, source += 4, target += 3) {
        const unsigned k = inverted ? source[3] : 255u - source[3];
        for (int c = 0; c < 3; ++c) {
            const unsigned ink = inverted ? source[c] : 255u - source[c];
            target[c] = static_cast<uint8_t>((ink * k + 127) / 255);
        }
    }
}

// Returns false when libjpeg raised an error; job.err.message then says why.
bool RunDecode(TDecodeJob& job, const std::vector<uint8_t>& bytes) {
    if (setjmp(job.err.jump) != 0) return false;
    jpeg_decompress_struct& cinfo = job.cinfo;
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = MaxDecoderMemory;
    cinfo.progress = &job.progress;
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    const uint64_t pixelCount = uint64_t{cinfo.image_width} * cinfo.image_height;
    if (pixelCount > MaxPixels)
        FailWith(reinterpret_cast<j_common_ptr>(&cinfo), "JPEG image is too large: %u x %u pixels",
                 static_cast<unsigned>(cinfo.image_width), static_cast<unsigned>(cinfo.image_height));
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&cinfo);

    job.row.resize(static_cast<size_t>(cinfo.output_width) * static_cast<size_t>(cinfo.output_components));
    if (job.pixels) {
        job.pixels->Width = static_cast<int>(cinfo.output_width);
        job.pixels->Height = static_cast<int>(cinfo.output_height);
        job.pixels->Rgb.resize(static_cast<size_t>(cinfo.output_width) * cinfo.output_height * 3);
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        const size_t y = cinfo.output_scanline;
        JSAMPROW rowPointer = job.row.data();
        jpeg_read_scanlines(&cinfo, &rowPointer, 1);
        if (job.pixels) ToRgb(job, job.pixels->Rgb.data() + y * cinfo.output_width * 3);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

// Appends the compressed stream to a vector that the caller owns.
struct TVectorDestination {
    jpeg_destination_mgr pub;
    std::vector<uint8_t>* out;
};

void InitDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<TVectorDestination*>(cinfo->dest);
    bool grown = true;
    try {
        dest->out->resize(16384);
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    if (!grown) FailWith(reinterpret_cast<j_common_ptr>(cinfo), "Out of memory while encoding JPEG");
    dest->pub.next_output_byte = dest->out->data();
    dest->pub.free_in_buffer = dest->out->size();
}

boolean EmptyDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<TVectorDestination*>(cinfo->dest);
    const size_t used = dest->out->size();
    bool grown = true;
    try {
        dest->out->resize(used * 2);
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    if (!grown) FailWith(reinterpret_cast<j_common_ptr>(cinfo), "Out of memory while encoding JPEG");
    dest->pub.next_output_byte = dest->out->data() + used;
    dest->pub.free_in_buffer = dest->out->size() - used;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<TVectorDestination*>(cinfo->dest);
    dest->out->resize(dest->out->size() - dest->pub.free_in_buffer);
}

struct TEncodeJob {
    TErrorManager err{};
    jpeg_compress_struct cinfo{};
    TVectorDestination destination{};
    std::vector<uint8_t> bytes;

    TEncodeJob() {
        InstallErrorManager(err);
        cinfo.err = &err.pub;
        destination.pub.init_destination = InitDestination;
        destination.pub.empty_output_buffer = EmptyDestination;
        destination.pub.term_destination = TermDestination;
        destination.out = &bytes;
    }
    ~TEncodeJob() { jpeg_destroy_compress(&cinfo); }
    TEncodeJob(const TEncodeJob&) = delete;
    TEncodeJob& operator=(const TEncodeJob&) = delete;
};

bool RunEncode(TEncodeJob& job, const TRgbPixels& pixels) {
    if (setjmp(job.err.jump) != 0) return false;
    jpeg_compress_struct& cinfo = job.cinfo;
    jpeg_create_compress(&cinfo);
    cinfo.dest = &job.destination.pub;
    cinfo.image_width = static_cast<JDIMENSION>(pixels.Width);
    cinfo.image_height = static_cast<JDIMENSION>(pixels.Height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = static_cast<size_t>(pixels.Width) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        // libjpeg takes non-const rows but only reads them.
        JSAMPROW row = const_cast<uint8_t*>(pixels.Rgb.data()) + cinfo.next_scanline * stride;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

std::filesystem::filesystem_error FileError(const std::string& what, const std::filesystem::path& path,
                                            int error) {
    return std::filesystem::filesystem_error(what, path, std::error_code(error, std::generic_category()));
}

} // namespace

EJpegError LogoTooLarge(uint64_t size) {
    return EJpegError("JPEG file of " + std::to_string(size) + " bytes is larger than the " +
                      std::to_string(MaxLogoBytes >> 20) + " MiB a logo may have");
}

TJpegImage TJpegImage::FromJpegBytes(std::vector<uint8_t> bytes) {
    if (bytes.size() > MaxLogoBytes) throw LogoTooLarge(bytes.size());
    TDecodeJob job;
    if (!RunDecode(job, bytes)) throw EJpegError(job.err.message);
    TJpegImage image;
    image.width_ = static_cast<int>(job.cinfo.image_width);
    image.height_ = static_cast<int>(job.cinfo.image_height);
    image.bytes_ = std::move(bytes);
    return image;
}

TJpegImage TJpegImage::FromFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) throw FileError("Cannot read image", path, EISDIR);
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileError("Cannot open image", path, errno != 0 ? errno : ENOENT);
    std::vector<uint8_t> bytes;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        // A device or a pipe has no size to ask for beforehand.
        if (bytes.size() + static_cast<size_t>(in.gcount()) > MaxLogoBytes)
            throw LogoTooLarge(bytes.size() + static_cast<size_t>(in.gcount()));
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
        if (!in) break;
    }
    if (in.bad()) throw FileError("Cannot read image", path, EIO);
    return FromJpegBytes(std::move(bytes));
}

TJpegImage TJpegImage::FromPixels(const TRgbPixels& pixels) {
    if (pixels.Width <= 0 || pixels.Height <= 0 ||
        pixels.Rgb.size() != static_cast<uint64_t>(pixels.Width) * static_cast<uint64_t>(pixels.Height) * 3)
        throw std::invalid_argument("RGB pixels do not match " + std::to_string(pixels.Width) + " x " +
                                    std::to_string(pixels.Height));
    TEncodeJob job;
    if (!RunEncode(job, pixels)) throw EJpegError(job.err.message);
    TJpegImage image;
    image.width_ = pixels.Width;
    image.height_ = pixels.Height;
    image.bytes_ = std::move(job.bytes);
    return image;
}

TRgbPixels TJpegImage::Decode() const {
    TRgbPixels pixels;
    TDecodeJob job;
    job.pixels = &pixels;
    if (!RunDecode(job, bytes_)) throw EJpegError(job.err.message);
    return pixels;
}

} // namespace slabwise
