#include "FieldHints.h"

#include "EditValues.h"
#include "model/InputFields.h"
#include "views/LocaleNumber.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QWidget>

namespace slabwise {

namespace {

char Separator() {
    return LocaleDecimalSeparator().toLatin1();
}

} // namespace

TFieldHints::TFieldHints(const QWidget& window) {
    const auto add = [&](const QString& name, TInput input, int number) {
        if (auto* edit = window.findChild<QLineEdit*>(name)) {
            fields_.insert(edit, {input, number});
            order_.push_back(edit);
        }
    };
    // The inputs without a number first, then the user points and the loads:
    // the order in which a unit switch reports what it pulled in.
    for (const bool numbered : {false, true})
        ForEachInput([&](const TInputField& field, int number) {
            if (field.Numbered() == numbered)
                add(QString::fromStdString(InputControl(field.Input, number)), field.Input, number);
        });
}

void TFieldHints::Show(const TMatData& model) {
    const char separator = Separator();
    const THintBasis basis{model.UnitSystem, separator, model.StripLength, model.StripWidth, model.Thickness};
    if (shownFor_ == basis) return;
    shownFor_ = basis;
    for (auto it = fields_.cbegin(); it != fields_.cend(); ++it) {
        const QString hint =
            QString::fromStdString(InputHint(model, it.value().Input, it.value().Number, separator));
        if (it.key()->toolTip() != hint) it.key()->setToolTip(hint);
    }
}

Real TFieldHints::Read(QLineEdit& edit, const TMatData& model, double min, double max) {
    const QString typed = edit.text();
    const Real value = GetEditValue(edit, model, min, max);
    // A rewritten box was limited; a box without a digit read as 0.
    static const QRegularExpression digit(QStringLiteral("[0-9]"));
    const auto field = fields_.constFind(&edit);
    if (field != fields_.cend() && (edit.text() != typed || !typed.contains(digit)))
        notices_ << QString::fromStdString(ClampNotice(model, field.value().Input, field.value().Number,
                                                       typed.trimmed().toStdString(), value, Separator()));
    return value;
}

Real TFieldHints::ReadWidth(QLineEdit& edit, const TMatData& model) {
    return model.Shape == 1 ? model.StripLength : Read(edit, model);
}

void TFieldHints::ReadUnderRows(const TMatData& model) {
    for (QLineEdit* edit : order_) {
        const TInput input = fields_.value(edit).Input;
        if (InputField(input).Bound != TInputBound::Row) continue;
        if (input == TInput::StripWidth)
            ReadWidth(*edit, model);
        else
            Read(*edit, model);
    }
}

QStringList TFieldHints::TakeNotices() {
    QStringList notices;
    notices.swap(notices_);
    return notices;
}

} // namespace slabwise
