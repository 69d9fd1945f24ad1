#include "ProjectText.h"

#include <cstdint>

namespace slabwise {

namespace {

// The code point of the UTF-8 sequence at text[i] and its length in bytes;
// a length of 0 when the bytes there are no valid sequence (overlong forms,
// surrogates and values beyond U+10FFFF included).
struct TCodePoint {
    uint32_t Value = 0;
    std::size_t Length = 0;
};

TCodePoint DecodeUtf8(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) return {lead, 1};
    std::size_t extra = 0;
    uint32_t code = 0;
    uint32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, code = lead & 0x1Fu, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, code = lead & 0x0Fu, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, code = lead & 0x07u, smallest = 0x10000;
    } else {
        return {};
    }
    if (text.size() - i <= extra) return {};
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) return {};
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
    return {code, extra + 1};
}

} // namespace

std::string ProjectTextToUtf8(std::string_view stored) {
    std::string out;
    out.reserve(stored.size() * 2);
    for (const char c : stored) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

TProjectText ProjectTextFromUtf8(std::string_view utf8) {
    TProjectText text;
    text.Bytes.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const TCodePoint point = DecodeUtf8(utf8, i);
        if (point.Length == 0 || point.Value > 0xFF) {
            text.Bytes += '?';
            ++text.Replaced;
        } else {
            text.Bytes += static_cast<char>(point.Value);
        }
        i += point.Length == 0 ? 1 : point.Length;
    }
    return text;
}

std::string ProjectTextNotice(std::string_view caption, std::size_t replaced) {
    const std::string count = std::to_string(replaced);
    return std::string(caption) + ": " + count + (replaced == 1 ? " character is" : " characters are") +
           " not Latin-1; \"?\" used";
}

} // namespace slabwise
