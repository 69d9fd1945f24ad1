#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace slabwise {

// The project texts (organisation, project name, job number, designer) are
// held as the project file stores them: one byte a character, Latin-1. Every
// program part that shows or takes such a text converts through these two
// functions, so a file reads the same in the window, the report and the tools.

// The stored bytes as UTF-8. Every byte is a character, so any file text
// converts and nothing is lost.
std::string ProjectTextToUtf8(std::string_view stored);

struct TProjectText {
    std::string Bytes;
    // Characters the code page has no byte for, stored as '?'; a byte that
    // is not part of a valid UTF-8 sequence counts as one.
    std::size_t Replaced = 0;
};
TProjectText ProjectTextFromUtf8(std::string_view utf8);

// What the user is told when a text had to be changed to be stored, e.g.
// "Project Name: 2 characters are not Latin-1; \"?\" used".
std::string ProjectTextNotice(std::string_view caption, std::size_t replaced);

} // namespace slabwise
