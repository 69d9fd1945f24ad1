#include "HeaderFields.h"

#include "model/ProjectText.h"

#include <utility>

namespace slabwise {

namespace {

const QDate DateEpoch(1899, 12, 30);

} // namespace

std::string ToModelText(const QString& text, std::string_view caption, QStringList& notices) {
    TProjectText stored = ProjectTextFromUtf8(text.toStdString());
    if (stored.Replaced > 0) notices << QString::fromStdString(ProjectTextNotice(caption, stored.Replaced));
    return std::move(stored.Bytes);
}

double DateToDays(const QDate& date) {
    return static_cast<double>(DateEpoch.daysTo(date));
}

} // namespace slabwise
