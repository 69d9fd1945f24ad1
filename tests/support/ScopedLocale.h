#pragma once

#include <cctype>
#include <clocale>
#include <string>

namespace slabwise::test {

// The locales a desktop session hands the program through LANG: the plain C
// locale, a decimal comma with point groups, and a decimal comma with space
// groups. scripts/install-deps generates the two that are not built in.
inline constexpr const char* UserLocaleNames[] = {"C", "de_DE.UTF-8", "fr_FR.UTF-8"};

// A locale name as a test name: "de_DE.UTF-8" becomes "de_DE_UTF_8".
inline std::string LocaleTestName(std::string name) {
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

// Sets every category of the process's C locale, as QGuiApplication does from
// the environment, and puts the previous one back when it goes. Active() is
// false when the locale is not installed; nothing was changed then.
class TScopedCLocale {
public:
    explicit TScopedCLocale(const char* name) {
        previous_ = std::setlocale(LC_ALL, nullptr);
        active_ = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~TScopedCLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    TScopedCLocale(const TScopedCLocale&) = delete;
    TScopedCLocale& operator=(const TScopedCLocale&) = delete;

    bool Active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

} // namespace slabwise::test
