// The locale's number texts, the one path every window, drawing and edit box
// takes: the separators come from Qt's locale alone, whatever the process's C
// locale is; the consumers' own tests only show that they take this path.

#include "views/LocaleNumber.h"

#include "support/ScopedLocale.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <string>

using namespace slabwise;

namespace {

// Qt's default locale for the life of a case, put back afterwards.
class TScopedQtLocale {
public:
    explicit TScopedQtLocale(const char* name) { QLocale::setDefault(QLocale(QString::fromLatin1(name))); }
    ~TScopedQtLocale() { QLocale::setDefault(previous_); }
    TScopedQtLocale(const TScopedQtLocale&) = delete;
    TScopedQtLocale& operator=(const TScopedQtLocale&) = delete;

private:
    QLocale previous_;
};

TEST(LocaleNumber, SeparatorsFollowQtsLocaleOnly) {
    struct TCase {
        const char* cLocale; // the process's C locale, as LANG sets it
        const char* qtLocale;
        char16_t decimal;
        char16_t group;
        const char* fixed;    // 2.675 to two decimals
        const char* negative; // -1234.5 to two decimals
        const char* grouped;  // 1234567.891 grouped to two decimals
    };
    const TCase cases[] = {
        {"C", "en_US", u'.', u',', "2.68", "-1234.50", "1,234,567.89"},
        {"de_DE.UTF-8", "de_DE", u',', u'.', "2,68", "-1234,50", "1.234.567,89"},
        {"fr_FR.UTF-8", "fr_FR", u',', u'\u202f', "2,68", "-1234,50", "1\u202f234\u202f567,89"},
        // A comma C locale under an English Qt locale changes nothing, and
        // Qt's locale alone is enough for the comma.
        {"de_DE.UTF-8", "en_US", u'.', u',', "2.68", "-1234.50", "1,234,567.89"},
        {"C", "de_DE", u',', u'.', "2,68", "-1234,50", "1.234.567,89"},
        // A decimal separator outside ASCII falls back to the point, which
        // typed numbers then use too; the group separator stays the locale's.
        {"C", "ar_EG", u'.', u'\u066c', "2.68", "-1234.50", "1\u066c234\u066c567.89"},
    };
    std::string missing;
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.cLocale) + " / " + c.qtLocale);
        const test::TScopedCLocale cLocale(c.cLocale);
        if (!cLocale.Active()) {
            missing += std::string(" ") + c.cLocale;
            continue;
        }
        const TScopedQtLocale qtLocale(c.qtLocale);
        EXPECT_EQ(LocaleDecimalSeparator(), QChar(c.decimal));
        EXPECT_EQ(LocaleGroupSeparator(), QChar(c.group));
        EXPECT_EQ(FormatLocaleFixed(2.675L, 2), QString::fromUtf8(c.fixed));
        EXPECT_EQ(FormatLocaleFixed(-1234.5L, 2), QString::fromUtf8(c.negative));
        EXPECT_EQ(FormatLocaleGrouped(1234567.891L, 2), QString::fromUtf8(c.grouped));
    }
    if (!missing.empty()) GTEST_SKIP() << "not installed (scripts/install-deps generates them):" << missing;
}

} // namespace
