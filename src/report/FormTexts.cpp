#include "FormTexts.h"

#include "model/DesignChecks.h"
#include "model/ProjectText.h"
#include "model/PunchingTable.h"
#include "model/ResultTexts.h"
#include "views/LocaleNumber.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace slabwise {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// The days of a project date count from here.
const QDate DateEpoch(1899, 12, 30);
// The range a date picker takes; a date outside is held at its end.
const QDate FirstDate(1752, 9, 14);
const QDate LastDate(9999, 12, 31);

} // namespace

QString ProjectTextShown(const TMatData& mat, const TProjectTextBox& box) {
    return FromUtf8(ProjectTextToUtf8(mat.*box.Member)).left(ProjectTextLength);
}

QDate ProjectDate(const TMatData& mat) {
    const double days = std::floor(mat.ProjectDate);
    const auto first = static_cast<double>(DateEpoch.daysTo(FirstDate));
    const auto last = static_cast<double>(DateEpoch.daysTo(LastDate));
    // A date no picker could hold, NaN too, stands at the nearer end.
    if (!(days >= first)) return FirstDate;
    if (days > last) return LastDate;
    return DateEpoch.addDays(static_cast<qint64>(days));
}

QString ProjectDateText(const TMatData& mat) {
    return QLocale().toString(ProjectDate(mat), QLocale::ShortFormat);
}

QString UnitLabelText(const TUnitLabel& unit, uint8_t unitSystem) {
    return QString::fromUtf8(unit.Prefix.data(), static_cast<qsizetype>(unit.Prefix.size())) +
           FromUtf8(UnitText(unit.Quantity, unitSystem));
}

QString UtilizationValueText(Real utilization) {
    // "N.A." is no percentage.
    return FormatLocaleFixed(utilization, UtilizationDecimals(utilization), 18) +
           (std::isnan(utilization) ? QString() : QStringLiteral("%"));
}

QString UtilizationText(Real utilization) {
    return QStringLiteral("Utilization: ") + UtilizationValueText(utilization);
}

QString SummaryText(const TMatData& mat) {
    const QString unit = FromUtf8(UnitText(TQuantity::DesignLength, mat.UnitSystem));
    // The decimals are those of the boxes the numbers stand in.
    const auto box = [&mat](int tag, Real value) { return BoxValueText(mat, tag, value); };
    const QString topBars =
        mat.TopBarsOverride > 0 ? box(TagBarsOverride, mat.TopBarsOverride) : box(TagBarsMin, mat.TopBarsMin);
    const QString bottomBars =
        mat.BotBarsOverride > 0 ? box(TagBarsOverride, mat.BotBarsOverride) : box(TagBarsMin, mat.BotBarsMin);
    return FormatLocaleFixed(mat.ThicknessIn, 2, 8) + u' ' + unit + QStringLiteral(" Mat with ") + topBars +
           u' ' + FromUtf8(ChoiceText(mat, TChoice::TopBar)) + QStringLiteral(" bars @ ") +
           box(TagSpacing, mat.TopSpacing) + u' ' + unit +
           QStringLiteral(" on center spacing top bars\rand ") + bottomBars + u' ' +
           FromUtf8(ChoiceText(mat, TChoice::BottomBar)) + QStringLiteral(" bars @ ") +
           box(TagSpacing, mat.BotSpacing) + u' ' + unit + QStringLiteral(" on center spacing bottom bars");
}

QString FormText(const TMatData& mat, TFormText text) {
    switch (text) {
    case TFormText::Rigidity:
        // A failed analysis has no class to name.
        return std::isnan(mat.BetaL) ? QString() : FromUtf8(RigidityText(mat.BetaL));
    case TFormText::Validity:
        return FromUtf8(ValidityMessage(mat));
    case TFormText::TopUtilization:
        return UtilizationText(mat.TopUtil);
    case TFormText::BottomUtilization:
        return UtilizationText(mat.BottomUtil);
    case TFormText::ShearUtilization:
        return UtilizationText(mat.ShearUtil);
    case TFormText::Summary:
        return SummaryText(mat);
    }
    return {};
}

QString ChoiceShown(const TMatData& mat, TChoice choice) {
    return FromUtf8(ChoiceText(mat, choice));
}

QSize LogoBoxSize(const TMatData& mat) {
    if (!mat.Logo) return {};
    return {LogoBoxWidth(mat.Logo->Width(), mat.Logo->Height()), LogoBoxHeight};
}

namespace {

// The reason of a column that was not checked, without the "N.A." its line
// already shows.
QString Reason(const std::string& hint) {
    QString reason = QString::fromStdString(hint);
    for (const QLatin1String prefix : {QLatin1String("N.A.: "), QLatin1String("Not computed: ")})
        if (reason.startsWith(prefix)) reason = reason.mid(prefix.size());
    if (!reason.isEmpty()) reason[0] = reason[0].toUpper();
    return reason;
}

} // namespace

TPunchingTableTexts PunchingTableTexts(const TMatData& mat) {
    TPunchingTableTexts table;
    for (const TPunchingHeading& heading : PunchingHeadings)
        table.Headings << QString::fromStdString(PunchingHeadingText(mat, heading));
    const QString note = QString::fromLatin1(PunchingMomentNote).mid(2);
    for (const int load : PunchingLoads(mat)) {
        const TPunchingResult r = EvaluatePunching(mat, load - 1);
        TPunchingLine line;
        line.Load = load;
        line.Checked = r.State == TPunchingState::Checked;
        line.Failed = !r.Passes;
        line.Cells << QStringLiteral("#%1").arg(load);
        if (!line.Checked) {
            line.Cells << QStringLiteral("N.A.") << Reason(r.Hint);
        } else {
            for (const TPunchingHeading& heading : PunchingHeadings) {
                const Real value = PunchingValue(r, heading.Column);
                if (heading.Column == TPunchingColumn::Section)
                    line.Cells << QString::fromLatin1(PunchingSectionName(r.Governing));
                else if (heading.Tag < 0)
                    line.Cells << UtilizationValueText(value);
                else if (heading.Tag > 0)
                    line.Cells << BoxValueText(mat, heading.Tag, value);
            }
        }
        if (r.MomentAtColumn) {
            line.Remark = note;
            line.Remark[0] = line.Remark[0].toUpper();
        }
        table.Lines.push_back(std::move(line));
    }
    return table;
}

} // namespace slabwise
