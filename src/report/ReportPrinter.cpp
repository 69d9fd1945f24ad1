// The report on a printer, and the printer's paper: the only part of the
// report that needs the print support, so that only programs that print
// load it and its printer back ends.

#include "ReportOutput.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace slabwise {

QPageSize DefaultReportPaper() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull() && printer.defaultPageSize().isValid()) return printer.defaultPageSize();
    return LocaleDefaultPaper();
}

void PrintReport(const TReportSource& source, QPrinter& printer, const TPageProgress& onPage) {
    printer.setFullPage(true);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(QStringLiteral("Kelvane Slabwise"));
    PrintReport(source, static_cast<QPagedPaintDevice&>(printer), onPage);
}

} // namespace slabwise
