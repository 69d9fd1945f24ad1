#pragma once

#include "model/MatData.h"
#include "model/OpenProject.h"

#include <QFlags>
#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <string>

class QUndoStack;

namespace slabwise {

// One open project: its model, the file it belongs to, whether it differs
// from that file, and the history of its committed inputs. Whoever shows it
// listens to Changed; whoever edits it writes the model and records a step.
class TProjectDocument : public QObject {
    Q_OBJECT

public:
    enum class TChange : uint8_t {
        // New put the default project in place.
        NewProject = 1,
        // Open put a file's project in place.
        OpenedProject = 2,
        // Undo or redo put back an earlier input record, or a tool put its
        // own inputs in place: every input may differ from what is shown.
        InputsRestored = 4,
        ModifiedFlag = 8,
        FileName = 16,
    };
    Q_DECLARE_FLAGS(TChanges, TChange)

    // exampleFolder: where the model finds the example projects.
    explicit TProjectDocument(const std::filesystem::path& exampleFolder = TMatData::DefaultExampleFolder(),
                              QObject* parent = nullptr);

    TMatData& Model() { return model_; }
    const TMatData& Model() const { return model_; }
    const QString& FileName() const { return fileName_; }
    bool Modified() const { return modified_; }
    void SetModified(bool modified);
    // The steps of the input history, for the Edit menu's actions.
    QUndoStack& History() const { return *history_; }

    // The default project, unnamed and unmodified. The listeners of
    // NewProject show it and may read it back before the history starts
    // from it.
    void New();
    // Reads a project file all or nothing: a file that is refused raises and
    // changes nothing, neither the project nor its name, flag or history.
    // A project that differs from its file (fields not read, values
    // limited) is modified; the report says how.
    TOpenReport Open(const QString& fileName);
    // Writes the project to its file; unnamed projects go through SaveAs.
    void Save();
    // Writes the project to another file, which becomes its name once
    // written; a failed write keeps the old name.
    void SaveAs(const QString& fileName);

    // The inputs as the file would store them, which one history step
    // restores.
    std::string InputRecord() const;
    // After a commit: one step when the inputs differ from the last record.
    // The caption is only asked for then.
    void RecordStep(const std::function<QString()>& caption);
    // A tool's change of the inputs as one step named caption: edit works on
    // a copy of the project, which takes its place only when edit returns,
    // so an edit that raises changes nothing. The listeners then show the
    // inputs as after an undo and read them back before the step is taken.
    void ApplyInputs(const QString& caption, const std::function<void(TMatData&)>& edit);
    // The history starts again from the current inputs.
    void ResetHistory();
    // Each returns false when there is nothing to step; the project is
    // unmodified exactly when it is back at what was saved or opened.
    bool Undo();
    bool Redo();
    // Puts an input record back; the file version stays the document's, as
    // it tells what the project was read from, not what an input was.
    void RestoreInputs(const std::string& record);

signals:
    void Changed(slabwise::TProjectDocument::TChanges what);

private:
    void SetModifiedFlag(bool modified);
    void WriteTo(const QString& fileName);

    TMatData model_;
    QString fileName_;
    bool modified_ = false;
    QUndoStack* history_ = nullptr;
    // The input record after the last commit, the "before" of the next step.
    std::string lastInputs_;
    bool restoring_ = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TProjectDocument::TChanges)

} // namespace slabwise
