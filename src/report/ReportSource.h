#pragma once

#include "model/MatData.h"
#include "model/OpenProject.h"

#include <QHash>
#include <QSize>
#include <QString>

#include <cstdint>
#include <filesystem>

namespace slabwise {

// What the report reads of a project: the texts of the main window's
// controls as the window shows them, by the controls' names, and the model.
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

// Opens a project file as Open does (throwing as OpenProject does, leaving
// mat as it was) and analyses it, ready to print. A failed analysis leaves
// what it did not reach as NaN, which prints as "N.A.", as the window shows.
TOpenReport OpenAndAnalyse(TMatData& mat, const std::filesystem::path& fileName);

// The report's view of an analysed project: every text built from the model
// as the window builds it, under the user's locale. The model must outlive
// it and not change while it is read.
class TProjectReportSource : public TReportSource {
public:
    explicit TProjectReportSource(const TMatData& mat);

    QString Text(const QString& control) const override;
    bool CheckFailed(const QString& picture) const override;
    const TMatData& Model() const override { return mat_; }
    QSize LogoBoxSize() const override;
    uint8_t UnitSystem() const override;
    QString VersionText() const override { return version_; }

private:
    const TMatData& mat_;
    QHash<QString, QString> texts_;
    QString version_;
};

} // namespace slabwise
