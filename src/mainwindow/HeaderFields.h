#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <string>
#include <string_view>

namespace slabwise {

// The project's header fields as the window's boxes hold them. Project texts
// are held as the file stores them; the model converts.
QString FromModelText(const std::string& text);
// A character the file cannot hold is noted under the box's caption.
std::string ToModelText(const QString& text, std::string_view caption, QStringList& notices);

// The project date is a count of days, as the file stores it.
QDate DaysToDate(double days);
double DateToDays(const QDate& date);

} // namespace slabwise
