#include "HeaderFields.h"

#include "model/ProjectText.h"

#include <cmath>
#include <utility>

namespace slabwise {

namespace {

const QDate DateEpoch(1899, 12, 30);

} // namespace

QString FromModelText(const std::string& text) {
    return QString::fromStdString(ProjectTextToUtf8(text));
}

std::string ToModelText(const QString& text, std::string_view caption, QStringList& notices) {
    TProjectText stored = ProjectTextFromUtf8(text.toStdString());
    if (stored.Replaced > 0) notices << QString::fromStdString(ProjectTextNotice(caption, stored.Replaced));
    return std::move(stored.Bytes);
}

QDate DaysToDate(double days) {
    return DateEpoch.addDays(static_cast<qint64>(std::floor(days)));
}

double DateToDays(const QDate& date) {
    return static_cast<double>(DateEpoch.daysTo(date));
}

} // namespace slabwise
