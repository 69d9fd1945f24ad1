// The main window's frame: its making and ending, the actions, help and closing.

#include "MainWindow.h"

#include "FieldHints.h"
#include "RecentFiles.h"
#include "ThinnestDesignDialog.h"
#include "UpdateCommands.h"
#include "VersionFoldersPlacement.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QStatusBar>
#include <QTabBar>
#include <QUrl>

#include <exception>

namespace slabwise {

namespace {

constexpr int CheckPictureSize = 18;

} // namespace

TfrmMain::TfrmMain(TDialogs& dialogs, QWidget* parent, const std::filesystem::path& exampleFolder)
    : QMainWindow(parent), ui(std::make_unique<Ui::TfrmMain>()), dialogs_(dialogs),
      document_(std::make_unique<TProjectDocument>(exampleFolder)), fileName_(document_->FileName()) {
    // The pictures (":/icons/...") are the program's, registered by linking
    // its icons.
    ui->setupUi(this);
    // Where a value that a commit had to change is reported.
    statusBar()->setSizeGripEnabled(false);
    passPicture_ = QIcon(QStringLiteral(":/icons/pass.svg")).pixmap(CheckPictureSize, CheckPictureSize);
    failPicture_ = QIcon(QStringLiteral(":/icons/fail.svg")).pixmap(CheckPictureSize, CheckPictureSize);
    // A larger desktop font may need more than the designed minimum; the
    // window never shrinks below what its pages need.
    setMinimumSize(minimumSize().expandedTo(layout()->minimumSize()));
    // A hidden bearing check keeps its place, so the columns do not move.
    QSizePolicy keep = ui->Image9->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    ui->Image9->setSizePolicy(keep);
    // Clicking a tab takes the focus first, so the field being edited is
    // committed before the page changes.
    ui->PageControl1->tabBar()->setFocusPolicy(Qt::StrongFocus);
    BindControls();
    SetUpPunching();
    ConnectActions();
    SetupUndo();
    SetUpUpdates();
    fieldHints_ = std::make_unique<TFieldHints>(*this);
    recentFiles_ = new TRecentFiles(
        *ui->File1, ui->ASave, [this](const QString& path) { Guarded([&] { OpenRecentFile(path); }); }, this);
    AddExportActions();

    LoadWindowPlacement(*this);
    model_ = &document_->Model();
    connect(document_.get(), &TProjectDocument::Changed, this,
            [this](TProjectDocument::TChanges what) { DocumentChanged(what); });
    // The hint of the field being edited sits in the status bar, right of the
    // notices: a bubble beside the field covered the next one and took its
    // click.
    fieldHint_ = new QLabel(statusBar());
    fieldHint_->setObjectName(QStringLiteral("FieldHint"));
    fieldHint_->setTextFormat(Qt::PlainText);
    fieldHint_->setContentsMargins(6, 0, 6, 0);
    fieldHint_->setAttribute(Qt::WA_TransparentForMouseEvents);
    statusBar()->addPermanentWidget(fieldHint_);
    fieldHint_->hide();
    statusBar()->installEventFilter(this);
    documentsFolder_ = GetProductDocumentsFolder();
    UserGuideFolder = QCoreApplication::applicationDirPath();
    SelectFirstPage();
    ANewExecute();
}

TfrmMain::~TfrmMain() {
    // The controls outlive this body; nothing they do while they go may reach
    // the model or the window's state.
    for (QWidget* control : watched_) control->removeEventFilter(this);
    QObject::disconnect(ui->PageControl1, nullptr, this, nullptr);
    SaveWindowPlacement(*this);
}

void TfrmMain::ConnectActions() {
    connect(ui->ANew, &QAction::triggered, this, [this] { Guarded([this] { ANewExecute(); }); });
    connect(ui->AOpen, &QAction::triggered, this, [this] { Guarded([this] { AOpenExecute(); }); });
    connect(ui->ASave, &QAction::triggered, this, [this] {
        Guarded([this] {
            CommitBeforeAction(ui->ASave);
            ASaveExecute();
        });
    });
    connect(ui->APrint, &QAction::triggered, this, [this] {
        Guarded([this] {
            CommitBeforeAction(ui->APrint);
            APrintExecute();
        });
    });
    connect(ui->AFindThinnestDesign, &QAction::triggered, this, [this] {
        Guarded([this] {
            CommitBeforeAction(ui->AFindThinnestDesign);
            ShowThinnestDesign(this, *document_, dialogs_);
        });
    });
    connect(ui->AExportPdf, &QAction::triggered, this, [this] {
        Guarded([this] {
            CommitBeforeAction(ui->AExportPdf);
            AExportPdfExecute();
        });
    });
    connect(ui->ASaveAs, &QAction::triggered, this, [this] { Guarded([this] { ASaveAsExecute(); }); });
    connect(ui->AExit, &QAction::triggered, this, [this] { Guarded([this] { AExitExecute(); }); });
    connect(ui->AWeb, &QAction::triggered, this, [this] { Guarded([this] { AWebExecute(); }); });
    connect(ui->AAbout, &QAction::triggered, this, [this] { Guarded([this] { AAboutExecute(); }); });
    connect(ui->AUserGuide, &QAction::triggered, this, [this] { Guarded([this] { AUserGuideExecute(); }); });
}

void TfrmMain::AExitExecute() {
    close();
}

void TfrmMain::AWebExecute() {
    OpenWebAddress(dialogs_, this, QUrl(QLatin1String(MakerHomePage)));
}

void TfrmMain::AUserGuideExecute() {
    const QString guide = FindUserGuide(UserGuideFolder);
    if (guide.isEmpty()) {
        dialogs_.ShowMessage(
            this, QStringLiteral("The user guide (%1) is not installed beside the program "
                                 "in %2 nor in its data folder.")
                      .arg(QLatin1String(UserGuideName), QDir::toNativeSeparators(UserGuideFolder)));
        return;
    }
    if (!dialogs_.OpenUrl(QUrl::fromLocalFile(guide)))
        dialogs_.ShowMessage(this, QStringLiteral("No web browser could be started. The user guide is %1")
                                       .arg(QDir::toNativeSeparators(guide)));
}

void TfrmMain::AAboutExecute() {
    dialogs_.ShowAbout(this);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    bool mayClose = false;
    Guarded([&] { mayClose = QuerySaveChanges(); });
    if (mayClose)
        event->accept();
    else
        event->ignore();
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The next refresh redraws whatever this one could not.
    try {
        UpdateDisplay();
    } catch (const std::exception&) {
    }
}

} // namespace slabwise
