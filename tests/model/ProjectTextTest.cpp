#include "model/ProjectText.h"

#include <gtest/gtest.h>

#include <string>

namespace slabwise {
namespace {

// A stored text and what every program part shows of it: each byte is one
// Latin-1 character, whether or not the bytes happen to be valid UTF-8.
struct TStoredCase {
    const char* What;
    std::string Stored;
    std::string Shown;
};

TEST(ProjectText, StoredBytesShowAsLatin1AndComeBackUnchanged) {
    const TStoredCase cases[] = {
        {"ASCII", "Kelvane EX-01", "Kelvane EX-01"},
        {"accents and degree",
         "Caf\xE9 Br\xFC"
         "cke 20\xB0",
         "Caf\xC3\xA9 Br\xC3\xBC"
         "cke 20\xC2\xB0"},
        {"byte range ends", "\x80\x9F\xA0\xFF", "\xC2\x80\xC2\x9F\xC2\xA0\xC3\xBF"},
        {"invalid UTF-8", "\xE2\x82", "\xC3\xA2\xC2\x82"},
        // No guessing: bytes that form UTF-8 are still two characters.
        {"bytes that look like UTF-8", "\xC3\xA9", "\xC3\x83\xC2\xA9"},
        {"empty", "", ""},
    };
    for (const TStoredCase& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(ProjectTextToUtf8(c.Stored), c.Shown);
        const TProjectText back = ProjectTextFromUtf8(c.Shown);
        EXPECT_EQ(back.Bytes, c.Stored);
        EXPECT_EQ(back.Replaced, 0u);
    }
}

TEST(ProjectText, EveryByteSurvivesTheWayThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const TProjectText back = ProjectTextFromUtf8(ProjectTextToUtf8(all));
    EXPECT_EQ(back.Bytes, all);
    EXPECT_EQ(back.Replaced, 0u);
}

struct TTypedCase {
    const char* What;
    std::string Typed;
    std::string Stored;
    std::size_t Replaced;
};

TEST(ProjectText, CharactersBeyondLatin1AreReplacedAndCounted) {
    const TTypedCase cases[] = {
        {"euro sign", "5 \xE2\x82\xAC", "5 ?", 1},
        {"outside the basic plane", "a\xF0\x9F\x98\x80z", "a?z", 1},
        {"mixed", "\xC3\xA9\xE2\x80\x94\xC3\xBC", "\xE9?\xFC", 1},
        {"stray Latin-1 byte", "Caf\xE9", "Caf?", 1},
        {"cut-off sequence", "x\xE2\x82", "x??", 2},
        {"overlong form", "\xC0\xAF", "??", 2},
        {"surrogate", "\xED\xA0\x80", "???", 3},
    };
    for (const TTypedCase& c : cases) {
        SCOPED_TRACE(c.What);
        const TProjectText stored = ProjectTextFromUtf8(c.Typed);
        EXPECT_EQ(stored.Bytes, c.Stored);
        EXPECT_EQ(stored.Replaced, c.Replaced);
    }
}

TEST(ProjectText, NoticeNamesTheBoxAndTheCount) {
    EXPECT_EQ(ProjectTextNotice("Job #", 1), "Job #: 1 character is not Latin-1; \"?\" used");
    EXPECT_EQ(ProjectTextNotice("Project Name", 3), "Project Name: 3 characters are not Latin-1; \"?\" used");
}

} // namespace
} // namespace slabwise
