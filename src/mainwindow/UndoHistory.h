#pragma once

#include <QString>

class QWidget;

namespace slabwise {

// What an edit step is called in the Edit menu: the caption beside the
// control ("Strip Length, L"), or the load and its variable for the load
// tables ("Point Load 3, P").
QString CommitCaption(const QWidget& control);

// Gives each line edit of the window its own undo while it has something
// of its own to take back; after that the undo and redo keys reach the
// window's history.
void InstallUndoKeys(QWidget& window);

} // namespace slabwise
