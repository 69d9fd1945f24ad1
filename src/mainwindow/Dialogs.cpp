#include "Dialogs.h"

#include "model/OpenProject.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QMimeDatabase>

namespace slabwise {

TQtDialogs::TQtDialogs(std::function<void(QWidget*, TDialogs&)> showAbout)
    : showAbout_(std::move(showAbout)) {}

TAnswer TQtDialogs::Confirm(QWidget* parent, const QString& text) {
    const auto button =
        QMessageBox::question(parent, QApplication::applicationName(), text,
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (button == QMessageBox::Yes) return TAnswer::Yes;
    if (button == QMessageBox::No) return TAnswer::No;
    return TAnswer::Cancel;
}

void TQtDialogs::ShowMessage(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QApplication::applicationName(), text);
}

void TQtDialogs::ShowWarning(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QApplication::applicationName(), text);
}

namespace {

QMimeType TypeByName(const QFileInfo& info) {
    return QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
}

} // namespace

QIcon TNameOnlyIconProvider::icon(const QFileInfo& info) const {
    if (info.isRoot()) return icon(Drive);
    if (info.isDir()) return icon(Folder);
    return QIcon::fromTheme(TypeByName(info).iconName(), icon(File));
}

QString TNameOnlyIconProvider::type(const QFileInfo& info) const {
    if (info.isRoot()) return QStringLiteral("Drive");
    if (info.isDir()) return QStringLiteral("Folder");
    if (!info.isFile()) return QStringLiteral("Unknown");
    const QMimeType mime = TypeByName(info);
    return mime.comment().isEmpty() ? mime.name() : mime.comment();
}

namespace {

// "*.ksw" as the preset only filters; it is not a name to offer.
void PresetFile(QFileDialog& dialog, const QString& folder, const QString& preset) {
    dialog.setDirectory(folder);
    if (!preset.isEmpty() && !preset.startsWith(QLatin1Char('*'))) dialog.selectFile(preset);
}

// The icon provider outlives the dialog that uses it.
QString RunFileDialog(QFileDialog& dialog, TNameOnlyIconProvider& icons) {
    dialog.setIconProvider(&icons);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString TQtDialogs::OpenProjectFile(QWidget* parent, const QString& folder, const QString& preset) {
    TNameOnlyIconProvider icons;
    QFileDialog dialog(parent, QStringLiteral("Open"), folder, QString::fromLatin1(ProjectFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QString::fromLatin1(ProjectFileExtension));
    PresetFile(dialog, folder, preset);
    return RunFileDialog(dialog, icons);
}

QString TQtDialogs::SaveProjectFile(QWidget* parent, const QString& folder, const QString& preset) {
    TNameOnlyIconProvider icons;
    QFileDialog dialog(parent, QStringLiteral("Save"), folder, QString::fromLatin1(ProjectFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromLatin1(ProjectFileExtension));
    PresetFile(dialog, folder, preset);
    return RunFileDialog(dialog, icons);
}

QString TQtDialogs::OpenLogoFile(QWidget* parent) {
    TNameOnlyIconProvider icons;
    QFileDialog dialog(parent, QStringLiteral("Open"), QString(), QString::fromLatin1(LogoFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return RunFileDialog(dialog, icons);
}

bool TQtDialogs::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void TQtDialogs::RunModal(QDialog& dialog) {
    dialog.exec();
}

void TQtDialogs::ShowAbout(QWidget* parent) {
    if (showAbout_) showAbout_(parent, *this);
}

void OpenWebAddress(TDialogs& dialogs, QWidget* parent, const QUrl& url) {
    if (dialogs.OpenUrl(url)) return;
    dialogs.ShowMessage(
        parent, QStringLiteral("No web browser could be started. Please visit %1").arg(url.toString()));
}

} // namespace slabwise
