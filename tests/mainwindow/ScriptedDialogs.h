#pragma once

#include "Dialogs.h"

#include <QDialog>
#include <QImage>
#include <QPrinter>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace slabwise::test {

// Answers the main window's dialogs from a script and records what was asked.
// An empty script answers Cancel to questions and cancels file dialogs.
class TScriptedDialogs : public TDialogs {
public:
    std::deque<TAnswer> Answers;
    std::deque<QString> OpenFiles;
    std::deque<QString> SaveFiles;
    std::deque<QString> LogoFiles;
    std::deque<TReportOutput> ReportOutputs;
    std::deque<QString> ReportFiles;
    // The printer set-up answers with printing into this PDF; empty cancels.
    QString PrinterFile;

    QStringList Questions;
    QStringList Messages;
    QStringList Warnings;
    QStringList OpenPresets;
    QStringList SavePresets;
    QStringList Folders;
    std::vector<QUrl> OpenedUrls;
    // Whether a browser starts when a web address is opened.
    bool BrowserStarts = true;
    int AboutShown = 0;
    int OutputChoices = 0;
    QStringList ReportPresets;
    // Titles of the modal dialogs run, in order.
    QStringList ModalTitles;
    // Size and picture of the last modal dialog run.
    QSize ModalSize;
    QRect ModalFrame;
    QImage ModalPicture;
    QString ModalClass;

    TAnswer Confirm(QWidget*, const QString& text) override {
        Questions << text;
        return Take(Answers, TAnswer::Cancel);
    }
    void ShowMessage(QWidget*, const QString& text) override { Messages << text; }
    void ShowWarning(QWidget*, const QString& text) override { Warnings << text; }
    QString OpenProjectFile(QWidget*, const QString& folder, const QString& preset) override {
        Folders << folder;
        OpenPresets << preset;
        return Take(OpenFiles, QString());
    }
    QString SaveProjectFile(QWidget*, const QString& folder, const QString& preset) override {
        Folders << folder;
        SavePresets << preset;
        return Take(SaveFiles, QString());
    }
    QString OpenLogoFile(QWidget*) override { return Take(LogoFiles, QString()); }
    bool OpenUrl(const QUrl& url) override {
        OpenedUrls.push_back(url);
        return BrowserStarts;
    }
    // Looks at each modal dialog while it is shown.
    std::function<void(QDialog&)> OnModal;

    void RunModal(QDialog& dialog) override {
        dialog.show();
        if (OnModal) OnModal(dialog);
        ModalSize = dialog.size();
        ModalFrame = dialog.geometry();
        ModalClass = QLatin1String(dialog.metaObject()->className());
        ModalTitles << dialog.windowTitle();
        ModalPicture = dialog.grab().toImage();
        dialog.close();
    }
    void ShowAbout(QWidget*) override { ++AboutShown; }
    TReportOutput ChooseReportOutput(QWidget*) override {
        ++OutputChoices;
        return Take(ReportOutputs, TReportOutput::Cancel);
    }
    bool SetUpPrinter(QWidget*, QPrinter& printer) override {
        if (PrinterFile.isEmpty()) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(PrinterFile);
        return true;
    }
    QString SaveReportFile(QWidget*, const QString& folder, const QString& preset) override {
        Folders << folder;
        ReportPresets << preset;
        return Take(ReportFiles, QString());
    }

private:
    template <class T> static T Take(std::deque<T>& script, T fallback) {
        if (script.empty()) return fallback;
        T value = script.front();
        script.pop_front();
        return value;
    }
};

} // namespace slabwise::test
