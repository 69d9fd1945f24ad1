#pragma once

#include "ReportSource.h"

#include <QPageSize>
#include <QString>

#include <functional>
#include <stdexcept>

class QPagedPaintDevice;
class QPrinter;

namespace slabwise {

// A report that could not be written; the message names the file and why.
class EReportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Letter where the locale uses it, A4 elsewhere.
QPageSize LocaleDefaultPaper();
// The default printer's paper, or the locale's when there is no printer.
// This and the QPrinter PrintReport live in slabwise_report_printer, which
// only programs that print link: the print support and its printer plugins
// are costly to load for a program that only writes files.
QPageSize DefaultReportPaper();

// What a PDF says about itself.
struct TPdfTexts {
    QString Title;
    QString Author;
    QString Creator;
};
// Title from the project name, author from the designer (else the
// organisation), creator the program with its version.
TPdfTexts ProjectPdfTexts(const TReportSource& source);

using TPageProgress = std::function<void(int page)>;

// The whole report on a paged device that is ready to paint on (a QPrinter
// set up for printing or preview, a QPdfWriter). Margins of the device's
// layout are ignored: the report places everything from the paper's corner.
void PrintReport(const TReportSource& source, QPagedPaintDevice& device, const TPageProgress& onPage = {});
void PrintReport(const TReportSource& source, QPrinter& printer, const TPageProgress& onPage = {});

// Writes the report to a PDF file. The file appears complete or not at all:
// it is written beside the target under a temporary name and renamed.
// Throws EReportError naming the path and the reason.
void WriteReportPdf(const TReportSource& source, const QString& path, const QPageSize& paper,
                    const TPdfTexts& texts, const TPageProgress& onPage = {});

} // namespace slabwise
