#pragma once

#include "report/ReportSource.h"

#include <memory>

namespace slabwise {

class TfrmMain;

// The report's view of the main window: its controls as displayed, its
// check pictures and its model.
std::unique_ptr<TReportSource> MakeReportSource(const TfrmMain& window);

} // namespace slabwise
