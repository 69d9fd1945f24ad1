#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;

namespace slabwise {

// The "Open Recent" submenu of the File menu: the projects last opened or
// saved, most recent first, kept in the per-user settings beside the window
// placement.
class TRecentFiles : public QObject {
    Q_OBJECT

public:
    static constexpr int MaxCount = 8;

    // Puts the submenu into fileMenu before `before`; picking an entry calls
    // open with its path.
    TRecentFiles(QMenu& fileMenu, QAction* before, std::function<void(const QString&)> open,
                 QObject* parent = nullptr);

    QStringList Files() const { return files_; }
    QMenu& Menu() const { return *menu_; }
    // Moves the file to the top, dropping the oldest beyond MaxCount.
    void Add(const QString& path);
    void Remove(const QString& path);
    void Clear();

private:
    void Load();
    void Save() const;
    void Rebuild();

    QMenu* menu_;
    std::function<void(const QString&)> open_;
    QStringList files_;
};

} // namespace slabwise
