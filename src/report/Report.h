#pragma once

#include "ReportCanvas.h"
#include "ReportSource.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace slabwise {

// Report drawings are offered at this many pixels per inch of printed width.
constexpr double ReportPixelsPerInch = 200;

// The body of the report, written top to bottom, page by page.
void ReportSystem1Print(ReportCanvas& canvas, const TReportSource& source);
// The footer of a finished page.
void ReportSystem1PrintFooter(ReportCanvas& canvas, const QString& version);
// The decoder of pictures handed to the canvas: "JPG" (the logo) or "BMP"
// (drawings and graphs). Anything else, or bytes that do not decode, give
// an empty image.
QImage ReportSystem1DecodeImage(const QByteArray& data, const QString& kind);

// A canvas on the back end wired to the footer and the decoder, the whole
// report written and the last page finished. onPage hears each page start.
void RunReport(TReportBackEnd& backEnd, const TReportSource& source,
               const std::function<void(int page)>& onPage = {});

// The picture blocks, each at the current position of the canvas.
void PrintDrawingsPage(ReportCanvas& canvas, const TMatData& model);
void PrintReinforcementDrawing(ReportCanvas& canvas, const TMatData& model);
void PrintResultsTable(ReportCanvas& canvas, const TMatData& model, uint8_t unitSystem);
void PrintGraphsPage(ReportCanvas& canvas, const TMatData& model);

} // namespace slabwise
