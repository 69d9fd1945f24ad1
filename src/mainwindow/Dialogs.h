#pragma once

#include <QAbstractFileIconProvider>
#include <QString>
#include <QUrl>

#include <exception>
#include <functional>

class QDialog;
class QPrinter;
class QWidget;

namespace slabwise {

struct TOpenReport;

enum class TAnswer { Yes, No, Cancel };
// Where a printed report goes.
enum class TReportOutput { Cancel, Preview, Printer, PdfFile };

// Every modal question, message, file dialog and shell request of the main
// window goes through this seam, so tests answer them without a screen or a
// browser.
class TDialogs {
public:
    virtual ~TDialogs() = default;

    // A Yes/No/Cancel confirmation; closing the box counts as Cancel.
    virtual TAnswer Confirm(QWidget* parent, const QString& text) = 0;
    // A plain message box with an OK button (errors and notices).
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
    // A warning box with an OK button: something the user must not miss.
    virtual void ShowWarning(QWidget* parent, const QString& text) = 0;
    // File dialogs: an empty result means the user cancelled. `preset` is the
    // file name shown at first; `folder` the initial folder.
    virtual QString OpenProjectFile(QWidget* parent, const QString& folder, const QString& preset) = 0;
    virtual QString SaveProjectFile(QWidget* parent, const QString& folder, const QString& preset) = 0;
    virtual QString OpenLogoFile(QWidget* parent) = 0;
    // Hands a web address to the user's default browser; false when none
    // could be started.
    virtual bool OpenUrl(const QUrl& url) = 0;
    // Shows a dialog modally and returns when it closes.
    virtual void RunModal(QDialog& dialog) = 0;
    virtual void ShowAbout(QWidget* parent) = 0;
    // The report's output choice ("Output Options"), the printer set-up and
    // the PDF file's save dialog; Cancel, false or empty when cancelled.
    virtual TReportOutput ChooseReportOutput(QWidget* parent) = 0;
    virtual bool SetUpPrinter(QWidget* parent, QPrinter& printer) = 0;
    virtual QString SaveReportFile(QWidget* parent, const QString& folder, const QString& preset) = 0;
};

// The real dialogs. The about box lives with the program's entry, which hands
// in how to show it.
class TQtDialogs : public TDialogs {
public:
    explicit TQtDialogs(std::function<void(QWidget*, TDialogs&)> showAbout = {});

    TAnswer Confirm(QWidget* parent, const QString& text) override;
    void ShowMessage(QWidget* parent, const QString& text) override;
    void ShowWarning(QWidget* parent, const QString& text) override;
    QString OpenProjectFile(QWidget* parent, const QString& folder, const QString& preset) override;
    QString SaveProjectFile(QWidget* parent, const QString& folder, const QString& preset) override;
    QString OpenLogoFile(QWidget* parent) override;
    bool OpenUrl(const QUrl& url) override;
    void RunModal(QDialog& dialog) override;
    void ShowAbout(QWidget* parent) override;
    TReportOutput ChooseReportOutput(QWidget* parent) override;
    bool SetUpPrinter(QWidget* parent, QPrinter& printer) override;
    QString SaveReportFile(QWidget* parent, const QString& folder, const QString& preset) override;

private:
    std::function<void(QWidget*, TDialogs&)> showAbout_;
};

// Icons and type names of the file dialogs from the file's name and kind
// alone. The stock provider reads a file's first bytes to tell its type,
// which blocks for ever on files such as /proc/kmsg and so froze the dialog.
class TNameOnlyIconProvider : public QAbstractFileIconProvider {
public:
    using QAbstractFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

// Opens a web address in the browser, or says in a message that none could
// be started and which address to visit.
void OpenWebAddress(TDialogs& dialogs, QWidget* parent, const QUrl& url);

// The project dialogs' filter and default extension.
inline const char* const ProjectFileFilter = "Kelvane Slabwise files (*.ksw);;All Files (*.*)";
inline const char* const ProjectFileExtension = "ksw";
inline const char* const LogoFileFilter = "JPEG files (*.jpg *.jpeg)";
inline const char* const ReportFileFilter = "PDF files (*.pdf);;All Files (*.*)";

} // namespace slabwise
