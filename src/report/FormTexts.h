#pragma once

#include "model/FormFields.h"
#include "model/MatData.h"

#include <QDate>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

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
// "87.21%"; "N.A." without a value.
QString UtilizationValueText(Real utilization);
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

// One line of the punching table: a column that was checked has a cell for
// every heading; one that was not has its load, "N.A." and the reason.
struct TPunchingLine {
    int Load = 0; // 1 to 12
    QStringList Cells;
    bool Checked = false;
    // The column fails the check: too high, or it could not be checked.
    bool Failed = false;
    // Said of a column with an applied moment at it; empty otherwise.
    QString Remark;
};
struct TPunchingTableTexts {
    QStringList Headings;
    std::vector<TPunchingLine> Lines;
};
// The punching table of the project, one line per point load with a column,
// in load order; no lines without a column.
TPunchingTableTexts PunchingTableTexts(const TMatData& mat);

} // namespace slabwise
