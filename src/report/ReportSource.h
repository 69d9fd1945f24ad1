#pragma once

#include "model/MatData.h"

#include <QSize>
#include <QString>

#include <cstdint>

namespace slabwise {

// What the report reads from the main window: its controls as displayed and
// its model. The window implements it; so can anything that shows a project
// the same way.
class TReportSource {
public:
    virtual ~TReportSource() = default;
    // The caption of a label, the text of an edit or combo box, the date of
    // the date picker in the system's short date format; looked up by the
    // control's name.
    virtual QString Text(const QString& control) const = 0;
    // True when the named pass/fail picture shows a failed check.
    virtual bool CheckFailed(const QString& picture) const = 0;
    virtual const TMatData& Model() const = 0;
    // The logo box's size in pixels as the window shows it.
    virtual QSize LogoBoxSize() const = 0;
    // The unit system the window's captions are written for.
    virtual uint8_t UnitSystem() const = 0;
    virtual QString VersionText() const = 0;
};

} // namespace slabwise
