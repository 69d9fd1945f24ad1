#pragma once

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace slabwise::test {

// poppler-utils, run on a PDF the report wrote.
inline QString RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString PdfText(const QString& pdf) {
    return RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

// A field of pdfinfo's answer ("Pages", "Title", ...).
inline QString PdfInfo(const QString& pdf, const QString& field) {
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    const auto match =
        QRegularExpression(QStringLiteral("^%1:\\s*(.*)$").arg(field), QRegularExpression::MultilineOption)
            .match(info);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

inline int PdfPages(const QString& pdf) {
    return PdfInfo(pdf, QStringLiteral("Pages")).toInt();
}

// Every page as PNG beside the PDF, for anyone who wants to look.
inline void RenderPages(const QString& pdf, const QString& prefix) {
    RunTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-png"), pdf, prefix});
}

} // namespace slabwise::test
