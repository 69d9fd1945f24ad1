#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace slabwise::test {

// A progressive JPEG of 16 x 8 flat pixels whose frame header claims
// width x height, its last scan repeated until the file holds `scans` scans.
// A few kilobytes that make a decoder do the work of a large image: the
// missing data reads as zeros, and every scan is a pass over all of it.
// components 3 is YCbCr, 4 is CMYK, both at full resolution.
inline std::vector<uint8_t> InflatedProgressiveJpeg(unsigned width, unsigned height, int scans,
                                                    int components = 3) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = 16;
    cinfo.image_height = 8;
    cinfo.input_components = components;
    cinfo.in_color_space = components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    for (int c = 0; c < cinfo.num_components; ++c)
        cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    const std::vector<uint8_t> row(16 * static_cast<size_t>(components), 100);
    while (cinfo.next_scanline < cinfo.image_height) {
        auto pointer = const_cast<JSAMPROW>(row.data());
        jpeg_write_scanlines(&cinfo, &pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> encoded(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);

    size_t lastScan = 0;
    int written = 0;
    for (size_t i = 0; i + 1 < encoded.size(); ++i) {
        if (encoded[i] == 0xFF && (encoded[i + 1] == 0xC2)) {
            // Progressive frame header: length, precision, then height and
            // width, big-endian.
            encoded[i + 5] = static_cast<uint8_t>(height >> 8), encoded[i + 6] = static_cast<uint8_t>(height);
            encoded[i + 7] = static_cast<uint8_t>(width >> 8), encoded[i + 8] = static_cast<uint8_t>(width);
        }
        if (encoded[i] == 0xFF && encoded[i + 1] == 0xDA) lastScan = i, ++written;
    }
    const size_t end = encoded.size() - 2; // the end-of-image marker
    std::vector<uint8_t> bytes(encoded.begin(), encoded.begin() + static_cast<std::ptrdiff_t>(end));
    for (; written < scans; ++written)
        bytes.insert(bytes.end(), encoded.begin() + static_cast<std::ptrdiff_t>(lastScan),
                     encoded.begin() + static_cast<std::ptrdiff_t>(end));
    bytes.insert(bytes.end(), {0xFF, 0xD9});
    return bytes;
}

} // namespace slabwise::test
