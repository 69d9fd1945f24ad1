#include "FieldHints.h"

#include "EditValues.h"
#include "views/LocaleNumber.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QWidget>

namespace slabwise {

namespace {

struct TFieldName {
    const char* Edit;
    TInput Input;
};

const TFieldName FixedFields[] = {
    {"Edit1", TInput::StripLength},
    {"Edit2", TInput::StripWidth},
    {"Edit3", TInput::Thickness},
    {"Edit63", TInput::Fc},
    {"Edit5", TInput::SubgradeModulus},
    {"Edit62", TInput::AllowableBearing},
    {"Edit10", TInput::FullUniformLoad},
    {"Edit36", TInput::EffWidthPercent},
    {"Edit38", TInput::Fy},
    {"Edit64", TInput::ShearLoadFactor},
    {"Edit65", TInput::MomentLoadFactor},
    {"Edit40", TInput::TopCover},
    {"Edit43", TInput::TopBarsOverride},
    {"Edit49", TInput::BottomCover},
    {"Edit52", TInput::BotBarsOverride},
};

// Load boxes by name: prefix, number, variable.
struct TLoadName {
    const char* Suffix;
    TInput Input;
};

const struct {
    const char* Prefix;
    int Count;
    TLoadName Suffixes[3];
} LoadFields[] = {
    {"EditDist",
     DistLoadCount,
     {{"b", TInput::DistStart}, {"wb", TInput::DistIntensity}, {"e", TInput::DistEnd}}},
    {"EditPoint", PointLoadCount, {{"a", TInput::PointPosition}, {"p", TInput::PointForce}, {}}},
    {"EditMom", MomentCount, {{"c", TInput::MomentPosition}, {"m", TInput::MomentValue}, {}}},
};

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
    for (const TFieldName& field : FixedFields) add(QLatin1String(field.Edit), field.Input, 0);
    for (int i = 1; i <= UserPointCount; ++i) add(QStringLiteral("Edit%1").arg(5 + i), TInput::UserPoint, i);
    for (const auto& group : LoadFields)
        for (int n = 1; n <= group.Count; ++n)
            for (const TLoadName& suffix : group.Suffixes)
                if (suffix.Suffix)
                    add(QLatin1String(group.Prefix) + QString::number(n) + QLatin1String(suffix.Suffix),
                        suffix.Input, n);
}

void TFieldHints::Show(const TMatData& model) const {
    const char separator = Separator();
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
