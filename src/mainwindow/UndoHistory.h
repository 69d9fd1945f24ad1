#pragma once

#include <QString>

class QWidget;

namespace slabwise {

// What an edit step is called in the Edit menu: an input's caption in the
// input list ("Strip Length, L"; "Point Load 3, P" for the load tables), else
// the caption beside the control.
QString CommitCaption(const QWidget& control);

// Gives each line edit of the window its own undo while it has something
// of its own to take back; after that the undo and redo keys reach the
// window's history.
void InstallUndoKeys(QWidget& window);

} // namespace slabwise
