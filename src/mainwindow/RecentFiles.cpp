#include "RecentFiles.h"

#include "VersionFoldersPlacement.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace slabwise {

namespace {

const QString Group = QStringLiteral("RecentFiles");

QString Key(int i) {
    return QStringLiteral("File%1").arg(i + 1);
}

// One spelling per file, so the same project never takes two entries.
QString Canonical(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

TRecentFiles::TRecentFiles(QMenu& fileMenu, QAction* before, std::function<void(const QString&)> open,
                           QObject* parent)
    : QObject(parent), menu_(new QMenu(QStringLiteral("Open &Recent"), &fileMenu)), open_(std::move(open)) {
    menu_->setObjectName(QStringLiteral("RecentFiles1"));
    fileMenu.insertMenu(before, menu_);
    Load();
    Rebuild();
}

void TRecentFiles::Add(const QString& path) {
    const QString file = Canonical(path);
    files_.removeAll(file);
    files_.prepend(file);
    while (files_.size() > MaxCount) files_.removeLast();
    Save();
    Rebuild();
}

void TRecentFiles::Remove(const QString& path) {
    files_.removeAll(Canonical(path));
    Save();
    Rebuild();
}

void TRecentFiles::Clear() {
    files_.clear();
    Save();
    Rebuild();
}

void TRecentFiles::Load() {
    QSettings settings{QLatin1String(MakerName), QLatin1String(ProductName)};
    settings.beginGroup(Group);
    files_.clear();
    for (int i = 0; i < MaxCount; ++i) {
        const QString file = settings.value(Key(i)).toString();
        if (!file.isEmpty() && !files_.contains(file)) files_ << file;
    }
}

void TRecentFiles::Save() const {
    QSettings settings{QLatin1String(MakerName), QLatin1String(ProductName)};
    settings.remove(Group);
    settings.beginGroup(Group);
    for (int i = 0; i < files_.size(); ++i) settings.setValue(Key(i), files_[i]);
}

void TRecentFiles::Rebuild() {
    // The entry being picked may be the one that asks for the rebuild, so
    // the old entries go once it has returned.
    for (QAction* old : menu_->actions()) {
        menu_->removeAction(old);
        old->setParent(nullptr);
        old->deleteLater();
    }
    for (int i = 0; i < files_.size(); ++i) {
        const QString file = files_[i];
        // "&1 " makes the number the entry's access key; a "&" in the path
        // is shown, not taken as one.
        QString shown = QDir::toNativeSeparators(file);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = menu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        entry->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        entry->setData(file);
        connect(entry, &QAction::triggered, this, [this, file] { open_(file); });
    }
    menu_->addSeparator();
    QAction* clear = menu_->addAction(QStringLiteral("Clear List"));
    clear->setObjectName(QStringLiteral("ClearRecentFiles"));
    connect(clear, &QAction::triggered, this, [this] { Clear(); });
    clear->setEnabled(!files_.isEmpty());
    menu_->setEnabled(!files_.isEmpty());
}

} // namespace slabwise
