#pragma once

#include "model/FormFields.h"
#include "model/MatData.h"

#include <QDate>
#include <QSize>
#include <QString>

namespace slabwise {

// The texts the main window shows for a project, built from the project
// alone, so that the window and the report print the same words and
// numbers under the user's locale.

// A project text as shown in its box: UTF-8 from the stored bytes, cut to
// the box's length.
QString ProjectTextShown(const TMatData& mat, const TProjectTextBox& box);
// The project's date, as the date picker holds it, and in the locale's
// short format.
QDate ProjectDate(const TMatData& mat);
QString ProjectDateText(const TMatData& mat);
// A unit label's caption in the unit system: its prefix and the unit.
QString UnitLabelText(const TUnitLabel& unit, uint8_t unitSystem);
// "Utilization: 87.21%"; "Utilization: N.A." without a value.
QString UtilizationText(Real utilization);
// The reinforcement in one sentence, broken into its two lines by a
// carriage return.
QString SummaryText(const TMatData& mat);
// The caption of a label the project decides.
QString FormText(const TMatData& mat, TFormText text);
QString ChoiceShown(const TMatData& mat, TChoice choice);
// The logo box's size in pixels; empty without a logo.
QSize LogoBoxSize(const TMatData& mat);

} // namespace slabwise
