#pragma once

#include <QString>
#include <QUndoCommand>

#include <string>

namespace slabwise {

class TProjectDocument;

// One committed change of the project's inputs, as the whole input record
// before and after it, so a change that also moved or clamped other inputs
// (a unit switch, a shorter strip) goes back in one step.
class TInputStep : public QUndoCommand {
public:
    TInputStep(const QString& caption, std::string before, std::string after, TProjectDocument& document);
    void undo() override;
    // The first call comes from the push, after the change has been made.
    void redo() override;

private:
    std::string before_;
    std::string after_;
    TProjectDocument& document_;
    bool done_ = true;
};

} // namespace slabwise
