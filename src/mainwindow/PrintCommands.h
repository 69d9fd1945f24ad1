#pragma once

#include "report/ReportSource.h"

#include <memory>

namespace slabwise {

class TfrmMain;

// The report of the main window's project, built from its model as the
// window shows it.
std::unique_ptr<TReportSource> MakeReportSource(const TfrmMain& window);

} // namespace slabwise
