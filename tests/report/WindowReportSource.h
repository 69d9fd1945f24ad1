#pragma once

#include "MainWindow.h"
#include "VersionFoldersPlacement.h"
#include "report/ReportSource.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSet>

namespace slabwise::test {

// The report's view of the main window as it was read before the report
// was built from the model: each text as the window's control shows it.
// What the model-built report prints is held to it.
class TWindowReportSource : public TReportSource {
public:
    explicit TWindowReportSource(const TfrmMain& window) : window_(window) {}

    QString Text(const QString& control) const override {
        const QWidget* widget = window_.findChild<QWidget*>(control);
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            // A label that breaks its line on screen keeps its sentence,
            // with the carriage return, as its caption.
            const QVariant caption = label->property("Caption");
            return caption.isValid() ? caption.toString() : label->text();
        }
        if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
        if (const auto* combo = qobject_cast<const QComboBox*>(widget)) return combo->currentText();
        if (const auto* date = qobject_cast<const QDateEdit*>(widget))
            return QLocale().toString(date->date(), QLocale::ShortFormat);
        return {};
    }
    bool CheckFailed(const QString& picture) const override {
        // A check the window hides (no allowable bearing given) is not made.
        const auto* box = window_.findChild<QLabel*>(picture);
        return box && !box->isHidden() && box->property("Tag").toInt() == 1;
    }
    const TMatData& Model() const override { return window_.Model(); }
    QSize LogoBoxSize() const override {
        const auto* logo = window_.findChild<QLabel*>(QStringLiteral("Logo"));
        return logo ? logo->size() : QSize();
    }
    uint8_t UnitSystem() const override { return window_.LastUnitSystem(); }
    QString VersionText() const override { return GetVersionText(); }

private:
    const TfrmMain& window_;
};

// Another source, noting every name the report asks it for.
class TAskedNames : public TReportSource {
public:
    explicit TAskedNames(const TReportSource& source) : source_(source) {}

    mutable QSet<QString> Texts;
    mutable QSet<QString> Pictures;

    QString Text(const QString& control) const override {
        Texts.insert(control);
        return source_.Text(control);
    }
    bool CheckFailed(const QString& picture) const override {
        Pictures.insert(picture);
        return source_.CheckFailed(picture);
    }
    const TMatData& Model() const override { return source_.Model(); }
    QSize LogoBoxSize() const override { return source_.LogoBoxSize(); }
    uint8_t UnitSystem() const override { return source_.UnitSystem(); }
    QString VersionText() const override { return source_.VersionText(); }

private:
    const TReportSource& source_;
};

} // namespace slabwise::test
