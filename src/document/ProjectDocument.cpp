#include "ProjectDocument.h"

#include "InputStep.h"

#include <QFile>
#include <QScopedValueRollback>
#include <QUndoStack>

#include <sstream>
#include <stdexcept>
#include <utility>

namespace slabwise {

namespace {

std::filesystem::path PathOf(const QString& fileName) {
    return std::filesystem::path(QFile::encodeName(fileName).toStdString());
}

} // namespace

TProjectDocument::TProjectDocument(const std::filesystem::path& exampleFolder, QObject* parent)
    : QObject(parent), model_(exampleFolder), history_(new QUndoStack(this)) {
    lastInputs_ = InputRecord();
}

void TProjectDocument::SetModified(bool modified) {
    if (modified == modified_) return;
    modified_ = modified;
    emit Changed(TChange::ModifiedFlag);
}

void TProjectDocument::New() {
    model_.SetDefaults();
    TChanges what = TChange::NewProject;
    if (!fileName_.isEmpty()) what |= TChange::FileName;
    fileName_.clear();
    // The listeners show the new project and read it back; what they leave
    // is the unmodified start of the history.
    emit Changed(what);
    SetModified(false);
    ResetHistory();
}

TOpenReport TProjectDocument::Open(const QString& fileName) {
    // Raises, with the model as it was, before anything here changes.
    TOpenReport report = OpenProject(model_, PathOf(fileName));
    TChanges what = TChange::OpenedProject;
    if (fileName != fileName_) what |= TChange::FileName;
    fileName_ = fileName;
    emit Changed(what);
    // What differs from the file is not mistaken for it.
    SetModified(!report.Clean());
    ResetHistory();
    return report;
}

void TProjectDocument::Save() {
    if (fileName_.isEmpty()) throw std::logic_error("An unnamed project is saved under a name.");
    WriteTo(fileName_);
}

void TProjectDocument::SaveAs(const QString& fileName) {
    WriteTo(fileName);
}

void TProjectDocument::WriteTo(const QString& fileName) {
    // A write that raises leaves the name, the flag and the history alone.
    model_.SaveToFile(PathOf(fileName));
    TChanges what;
    if (fileName != fileName_) what |= TChange::FileName;
    if (modified_) what |= TChange::ModifiedFlag;
    fileName_ = fileName;
    modified_ = false;
    history_->setClean();
    if (what) emit Changed(what);
}

std::string TProjectDocument::InputRecord() const {
    std::ostringstream record;
    model_.SaveToStream(record);
    return std::move(record).str();
}

void TProjectDocument::RecordStep(const std::function<QString()>& caption) {
    if (restoring_) return;
    std::string now = InputRecord();
    if (now == lastInputs_) return;
    history_->push(new TInputStep(caption(), std::exchange(lastInputs_, now), now, *this));
}

void TProjectDocument::ApplyInputs(const QString& caption, const std::function<void(TMatData&)>& edit) {
    TMatData edited = model_;
    edit(edited);
    model_ = std::move(edited);
    {
        // What the listeners read back belongs to this step, not one of its
        // own.
        const QScopedValueRollback restoring(restoring_, true);
        emit Changed(TChange::InputsRestored);
    }
    std::string now = InputRecord();
    if (now == lastInputs_) return;
    std::string before = std::exchange(lastInputs_, now);
    history_->push(new TInputStep(caption, std::move(before), std::move(now), *this));
    SetModified(!history_->isClean());
}

void TProjectDocument::ResetHistory() {
    history_->clear();
    lastInputs_ = InputRecord();
}

bool TProjectDocument::Undo() {
    if (!history_->canUndo()) return false;
    history_->undo();
    // Back at the saved (or opened, or new) inputs the project is unchanged.
    SetModified(!history_->isClean());
    return true;
}

bool TProjectDocument::Redo() {
    if (!history_->canRedo()) return false;
    history_->redo();
    SetModified(!history_->isClean());
    return true;
}

void TProjectDocument::RestoreInputs(const std::string& record) {
    const QScopedValueRollback restoring(restoring_, true);
    const double fileVersion = model_.FileVersion;
    std::istringstream in(record);
    model_.LoadFromStream(in);
    model_.FileVersion = fileVersion;
    // The listeners show the inputs and read them back; what they read is
    // the "before" of the next step.
    emit Changed(TChange::InputsRestored);
    lastInputs_ = InputRecord();
}

} // namespace slabwise
