#pragma once

#include "WebUpdate.h"

#include <QMessageBox>
#include <QString>
#include <QUrl>

#include <functional>

class QDialog;
class QWidget;

namespace slabwise {

// Every message, question, browser request, start of a downloaded program
// and the end of the program that an update check may cause goes through
// this seam, so tests answer and record them and nothing ever runs.
class TUpdateShell : public TUpdateLauncher {
public:
    // A message box with an OK button.
    virtual void Notify(QWidget* parent, QMessageBox::Icon icon, const QString& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool Ask(QWidget* parent, QMessageBox::Icon icon, const QString& text) = 0;
    virtual void OpenUrl(const QUrl& url) = 0;
    // Shows a dialog modally and returns when it has closed.
    virtual void RunModal(QDialog& dialog) = 0;
};

// The real one. `mayEnd` is asked before an update starts (the owner's
// save question; by default yes); `terminate` ends the program after it
// started (by default the event loops are left with exit code 0).
class TQtUpdateShell : public TUpdateShell {
public:
    explicit TQtUpdateShell(std::function<bool()> mayEnd = {}, std::function<void()> terminate = {});

    void Notify(QWidget* parent, QMessageBox::Icon icon, const QString& text) override;
    bool Ask(QWidget* parent, QMessageBox::Icon icon, const QString& text) override;
    void OpenUrl(const QUrl& url) override;
    void RunModal(QDialog& dialog) override;
    bool MayEnd() override;
    bool OpenWithDesktop(const QString& file) override;
    bool Run(const QString& program, const QStringList& arguments) override;
    void Terminate() override;

private:
    std::function<bool()> mayEnd_;
    std::function<void()> terminate_;
};

} // namespace slabwise
