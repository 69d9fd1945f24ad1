#include "OpenWarnings.h"

#include <QDir>

namespace slabwise {

namespace {

QString Quoted(const QString& fileName) {
    return QLatin1Char('"') + QDir::toNativeSeparators(fileName) + QLatin1Char('"');
}

QString FromModelText(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QString OpenChangedWarning(const QString& fileName, const TOpenReport& report) {
    QString text =
        Quoted(fileName) + QStringLiteral(" was not opened exactly as it is stored; the project is marked as "
                                          "changed so it is not mistaken for the file.");
    if (!report.NotRead.empty()) {
        text += QStringLiteral("\n\nNot read (the file ends early), these keep the values of a new project:");
        for (const std::string& field : report.NotRead) text += QStringLiteral("\n  ") + FromModelText(field);
    }
    if (!report.NotInVersion.empty()) {
        text += QStringLiteral("\n\nNot in this version %1 file, these take the built-in values:")
                    .arg(FromModelText(report.FileVersion));
        for (const TFieldValue& field : report.NotInVersion)
            text += QStringLiteral("\n  %1: %2 used")
                        .arg(FromModelText(field.Caption), FromModelText(field.Used));
    }
    if (!report.Adjusted.empty()) {
        text += QStringLiteral("\n\nChanged to fit the limits:");
        for (const TAdjustment& change : report.Adjusted)
            text += QStringLiteral("\n  %1: %2 in the file, %3 used")
                        .arg(FromModelText(change.Caption), FromModelText(change.InFile),
                             FromModelText(change.Used));
    }
    return text;
}

QString OpenRefusedWarning(const QString& fileName, const std::exception& error) {
    return QStringLiteral("Cannot open %1:\n%2").arg(Quoted(fileName), QString::fromLocal8Bit(error.what()));
}

} // namespace slabwise
