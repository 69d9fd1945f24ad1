#pragma once

#include "model/InputHints.h"
#include "model/MatData.h"

#include <QHash>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

class QLineEdit;
class QWidget;

namespace slabwise {

// The hint of every numeric input of the main window (caption, limits and
// unit, as the model words them) and the notices of values a commit had to
// change.
class TFieldHints {
public:
    // Finds the input boxes among the window's children by their names.
    explicit TFieldHints(const QWidget& window);

    // Sets every input's tooltip, which the hint bubble also shows, for the
    // model's unit system and strip length.
    void Show(const TMatData& model);
    // GetEditValue, noting when the value used is not the one typed.
    Real Read(QLineEdit& edit, const TMatData& model, double min = 0, double max = 0);
    // The strip width: the width box, or for a round mat its length,
    // whatever the box says.
    Real ReadWidth(QLineEdit& edit, const TMatData& model);
    // Reads every box limited by its own row under the model's rows, noting
    // each value they pull in: a unit switch re-limits every box at once.
    // Positions are left to the reading that follows, which bounds them by
    // the strip length.
    void ReadUnderRows(const TMatData& model);
    // The notices since the last call.
    QStringList TakeNotices();

private:
    struct TField {
        TInput Input;
        int Number;
    };
    // What a hint is worded from besides its own row: the unit system picks
    // the limits, the strip's length, width and thickness bound the inputs
    // that are bound by them. The hints stand while it stays the same.
    struct THintBasis {
        uint8_t UnitSystem;
        char Separator;
        Real StripLength, StripWidth, Thickness;
        bool operator==(const THintBasis&) const = default;
    };
    std::optional<THintBasis> shownFor_;
    QHash<QLineEdit*, TField> fields_;
    // The boxes in the window's reading order.
    std::vector<QLineEdit*> order_;
    QStringList notices_;
};

} // namespace slabwise
