#include "InputStep.h"

#include "ProjectDocument.h"

#include <utility>

namespace slabwise {

TInputStep::TInputStep(const QString& caption, std::string before, std::string after,
                       TProjectDocument& document)
    : QUndoCommand(caption), before_(std::move(before)), after_(std::move(after)), document_(document) {}

void TInputStep::undo() {
    document_.RestoreInputs(before_);
    done_ = false;
}

void TInputStep::redo() {
    if (!done_) document_.RestoreInputs(after_);
    done_ = true;
}

} // namespace slabwise
