#pragma once

#include <QString>
#include <QUndoCommand>

#include <functional>
#include <string>

class QWidget;

namespace slabwise {

// What an edit step is called in the Edit menu: the caption beside the
// control ("Strip Length, L"), or the load and its variable for the load
// tables ("Point Load 3, P").
QString CommitCaption(const QWidget& control);

// One committed change of the project's inputs, as the whole input record
// before and after it, so a change that also moved or clamped other inputs
// (a unit switch, a shorter strip) goes back in one step.
class TInputStep : public QUndoCommand {
public:
    using TApply = std::function<void(const std::string& record)>;
    TInputStep(const QString& caption, std::string before, std::string after, TApply apply);
    void undo() override;
    // The first call comes from the push, after the change has been made.
    void redo() override;

private:
    std::string before_;
    std::string after_;
    TApply apply_;
    bool done_ = true;
};

} // namespace slabwise
