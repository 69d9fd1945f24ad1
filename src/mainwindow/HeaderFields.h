#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <string>
#include <string_view>

namespace slabwise {

// The project's header fields read from the window's boxes. Project texts
// are held as the file stores them; a character the file cannot hold is
// noted under the box's caption.
std::string ToModelText(const QString& text, std::string_view caption, QStringList& notices);

// The project date as the count of days the file stores.
double DateToDays(const QDate& date);

} // namespace slabwise
