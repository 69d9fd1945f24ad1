#pragma once

#include "Dialogs.h"
#include "document/ProjectDocument.h"
#include "model/DesignChecks.h"
#include "model/FormFields.h"
#include "model/InputFields.h"
#include "model/MatData.h"
#include "model/Units.h"
#include "views/DiagramDraw.h"
#include "views/Exports.h"

#include <QMainWindow>
#include <QPixmap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QComboBox;
class QShowEvent;
class QLabel;
class QLineEdit;

namespace Ui {
class TfrmMain;
}

namespace slabwise {

struct TUpdateCommands;
class TFieldHints;
class TRecentFiles;

// The main window: the one editor of the document's model. Every committed
// input re-reads all controls into the model, analyses it, rewrites every
// control from it and records one step of the document's history; what the
// document changes itself (New, Open, undo) the window hears and shows.
class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    // exampleFolder: where the model finds the example projects (beside the
    // executable, else the installed data folder, unless told otherwise).
    explicit TfrmMain(TDialogs& dialogs, QWidget* parent = nullptr,
                      const std::filesystem::path& exampleFolder = TMatData::DefaultExampleFolder());
    ~TfrmMain() override;

    TMatData& Model() { return *model_; }
    const TMatData& Model() const { return *model_; }
    TProjectDocument& Document() const { return *document_; }
    const QString& FileName() const { return fileName_; }
    bool Modified() const;
    uint8_t LastUnitSystem() const { return lastUnitSystem_; }
    const QString& DocumentsFolder() const { return documentsFolder_; }

    // Committed fields (FieldCommits.cpp): every control read back into the
    // model. Returns the notices of the values it had to change.
    QStringList UpdateModel();
    void SetModified(bool modified);
    // The field the user leaves: the model, the analysis, the display and one
    // undo step; a unit or bar-system switch says which bars it replaced.
    void CommitField(QObject* sender);
    // The model into every control (ResultsPanel.cpp).
    void UpdateDisplay();
    // The unit captions (WindowBinding.cpp).
    void SetUnits();

    // The status bar (StatusNotices.cpp): the hint of the field being edited.
    void ShowFieldHint(QWidget* control, const QString& text);
    QLabel& FieldHint() const { return *fieldHint_; }
    // Values a commit or a unit switch changed, in the status bar: as much as
    // fits, the whole on hover; New and Open clear them.
    void ShowNotices(const QStringList& notices);
    void ClearNotices();
    // The width the notices may take beside the hint.
    int NoticeRoom() const;

    // Bar sizes (BarSizes.cpp).
    void FillBarSizeCombos();
    void FillBarSizeCombo(QComboBox& combo);
    void SelectBarSize(QComboBox& combo, int32_t bar);
    int32_t GetBarSize(const QComboBox& combo) const;

    // Documents (WindowDocuments.cpp).
    bool QuerySaveChanges();
    void ANewExecute();
    void AOpenExecute();
    // Opens a project picked in "Open Recent"; a file that is gone leaves the
    // list with a message.
    void OpenRecentFile(const QString& path);
    TRecentFiles& RecentFiles() const { return *recentFiles_; }
    // The project named on the command line, opened as Open would; a refusal
    // is shown as a warning and the new project stays.
    void OpenFromCommandLine(const QString& fileName);
    void ASaveExecute();
    void ASaveAsExecute();
    QString Caption() const;

    // Exit, the web site, about and the user guide (MainWindow.cpp).
    void AExitExecute();
    void AWebExecute();
    void AAboutExecute();
    // Help > User Guide (F1): the guide installed with the program, in the
    // browser; where the program looks for it.
    void AUserGuideExecute();
    QString UserGuideFolder;

    // The logo (WindowLogo.cpp): a click on it or on Logo chooses one, Clear
    // removes it.
    void ChooseLogo();
    void RemoveLogo();
    void LayoutLogo();

    // Child windows (ChildWindows.cpp). Enlarged pictures: a click on
    // Image1, Image2 or Image8, or on the enlarge button in its corner.
    void EnlargePicture(QObject* sender);
    void EnlargeButtonClicked(QObject* sender);
    // vector: how to draw the picture again as vectors, for its SVG export.
    void ShowZoomedPicture(const QImage& bitmap, const TVectorDrawing& vector = {});
    // The results table (a click on Label74) and the graphs windows.
    void Label74Click();
    void ShowGraphs();
    // The subgrade-modulus help of the button with that Tag.
    void ShowSubgradeHelp(QObject* sender);
    // The printed report: the output choice, then preview, printer or PDF;
    // and the report straight to a PDF file.
    void APrintExecute();
    void AExportPdfExecute();
    // File > Export CSV...: the results at the nodes, as the table lists them.
    void AExportCsvExecute();
    // How the exports here and in the windows opened from here ask for files.
    TExportPrompts ExportPrompts = QtExportPrompts();

    // Update checks: on demand, the automatic one's setting, and the quiet
    // check one second after the window first shows.
    void ACheckUpdatesExecute();
    void AAutoUpdateExecute();
    void Timer1Timer();
    TUpdateCommands& Updates();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // An input box and the row of the input list it shows. start: for an
    // end bounded by its load's start, that start's row.
    struct TInputBinding {
        QLineEdit* Edit;
        const TInputField* Field;
        int Number;
        const TInputField* Start;
    };
    struct TOutputBinding {
        QLineEdit* Edit;
        Real TMatData::*Field;
    };
    struct TUnitCaption {
        QLabel* Label;
        TQuantity Quantity;
        QString Prefix;
    };
    // Shear, moment, deflection and pressure boxes of one user point.
    using TPointResultEdits = std::array<QLineEdit*, 4>;

    // Frame and actions (MainWindow.cpp).
    void ConnectActions();
    void SetUpUpdates();
    void RunCheck(bool silent);
    void AddExportActions();
    // Runs a command; an error is shown in a message box, as the
    // application's default handler would, and the program continues.
    template <class F> void Guarded(F&& command);

    // Binding (WindowBinding.cpp): finds every control by its designer name.
    void BindControls();

    // Commits (FieldCommits.cpp).
    // The commit that runs before Save, Print and Export PDF.
    void CommitBeforeAction(QAction* action);
    // Typing in a box or picking in a list marks the project modified.
    void FieldEdited(QObject* sender);
    void PageChanging();
    void UseReinforcementClicked();
    // A box named like a load's that shows no entry of the load arrays is
    // said, and left out of the reading.
    void ReportStrayLoadBoxes();

    // Focus, keys and clicks (KeyFilter.cpp).
    void FieldEntered(QWidget* control);
    bool NumberKeyAccepted(const QLineEdit& edit, QChar key) const;

    // Documents (WindowDocuments.cpp).
    void SelectFirstPage();
    void FocusUnits();
    void OpenProjectFile(const QString& chosen);
    // Shows what the document says changed.
    void DocumentChanged(TProjectDocument::TChanges what);

    // The bar system list as the model holds it (BarSizes.cpp).
    void ShowBarSystem();
    // The model's logo in its box (WindowLogo.cpp).
    void ShowLogo();
    void SetLogoPicture(const std::optional<TJpegImage>& picture);
    // As much of the notices as fits beside the hint (StatusNotices.cpp).
    void FitNotice();

    // Results panel (ResultsPanel.cpp).
    std::array<std::pair<QLabel*, TDiagramKind>, 3> Pictures() const;
    void SetCheckImage(const TCheckResult& result, QLabel& box);
    void ShowWholeText(QLineEdit& edit);
    void SetPageEnabled(bool enabled);
    // The punching line of every column (PunchingPanel.cpp): the table is
    // made once, a display only fills and shows its lines.
    void SetUpPunching();
    void ShowPunching(const TMatData& m);

    // Undo and redo of committed inputs (WindowHistory.cpp): every commit
    // that changed the input record is one step of the document's history.
    void SetupUndo();
    void RecordStep(QObject* sender, const QString& caption = {});
    void StepHistory(bool redo);

    std::unique_ptr<Ui::TfrmMain> ui;
    TDialogs& dialogs_;
    std::unique_ptr<TProjectDocument> document_;
    // The document's model and file name, under the names the window's code
    // has always used.
    TMatData* model_ = nullptr;
    const QString& fileName_;
    QString documentsFolder_;
    bool refreshing_ = false;
    uint8_t lastUnitSystem_ = UnitsEnglish;
    QLabel* fieldHint_ = nullptr;
    // The notices in full; the status bar shows what fits.
    QString notice_;
    // The picture the Logo box shows; the model keeps its own copy.
    std::optional<TJpegImage> logoPicture_;
    QPixmap passPicture_;
    QPixmap failPicture_;

    // The input boxes in reading order; shown also holds the second boxes
    // (Fc on the reinforcement page), which are never read.
    std::vector<TInputBinding> inputs_;
    std::vector<TInputBinding> shownInputs_;
    // The same boxes as a set: a commit looks every load box up in it.
    QSet<const QLineEdit*> inputBoxes_;
    std::vector<TOutputBinding> outputs_;
    std::vector<TUnitCaption> unitLabels_;
    std::vector<std::pair<QLabel*, TFormText>> formTexts_;
    std::vector<std::pair<QLineEdit*, const TProjectTextBox*>> projectTexts_;
    // The end intensity of each distributed load, which the analysis sets.
    std::array<QLineEdit*, DistLoadCount> distEndEdits_{};
    std::array<TPointResultEdits, UserPointCount> pointResultEdits_{};
    // The pass/fail picture of each check, as the form list names them.
    std::array<QLabel*, CheckPictures.size()> checkBoxes_{};
    std::vector<QLineEdit*> numberEdits_;
    QSet<QLineEdit*> editableNumbers_;
    QSet<QObject*> exitControls_;
    std::vector<QWidget*> watched_;
    std::unique_ptr<TUpdateCommands> updates_;
    std::unique_ptr<TFieldHints> fieldHints_;
    TRecentFiles* recentFiles_ = nullptr;
};

template <class F> void TfrmMain::Guarded(F&& command) {
    try {
        command();
    } catch (const std::exception& error) {
        dialogs_.ShowMessage(this, QString::fromLocal8Bit(error.what()));
    }
}

} // namespace slabwise
