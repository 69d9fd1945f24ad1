#pragma once

#include "ScopedLocale.h"

#include <QLocale>
#include <QString>

namespace slabwise::test {

// The user's locale as a desktop session sets it for the program: Qt's
// default locale and the process's C locale both follow LANG. Active() is
// false, and nothing changed, when the C locale is not installed.
class TScopedUserLocale {
public:
    explicit TScopedUserLocale(const char* name) : cLocale_(name) {
        if (cLocale_.Active()) QLocale::setDefault(QLocale(QString::fromLatin1(name).section(u'.', 0, 0)));
    }
    ~TScopedUserLocale() { QLocale::setDefault(previous_); }
    TScopedUserLocale(const TScopedUserLocale&) = delete;
    TScopedUserLocale& operator=(const TScopedUserLocale&) = delete;

    bool Active() const { return cLocale_.Active(); }

private:
    QLocale previous_;
    TScopedCLocale cLocale_;
};

} // namespace slabwise::test
