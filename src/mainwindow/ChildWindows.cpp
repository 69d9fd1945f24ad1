// The windows opened from the main window: enlarged drawings, table, graphs, help.

#include "MainWindow.h"

#include "ui_MainWindow.h"
#include "views/Computations.h"
#include "views/DiagramDraw.h"
#include "views/Graphs.h"
#include "views/ImgZoom.h"
#include "views/Tables.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QToolButton>

namespace slabwise {

void TfrmMain::EnlargePicture(QObject* sender) {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect workArea = screen->availableGeometry();
    QImage bitmap(workArea.width() - 20, workArea.height() - 100, QImage::Format_RGB32);
    const TDiagramKind kind = sender == ui->Image1   ? dkPlanSection
                              : sender == ui->Image2 ? dkLoading
                                                     : dkReinforcement;
    const QSize size = bitmap.size();
    DrawDiagramToBitmap(bitmap, *model_, kind);
    ShowZoomedPicture(bitmap, [this, size, kind](QPainter& painter) {
        DrawDiagramToPainter(painter, size, *model_, kind);
    });
}

void TfrmMain::EnlargeButtonClicked(QObject* sender) {
    EnlargePicture(sender == ui->SpeedButton1   ? ui->Image1
                   : sender == ui->SpeedButton2 ? ui->Image2
                                                : ui->Image8);
}

void TfrmMain::Label74Click() {
    // Built from the model, so it names the contact zones when the soil
    // takes no tension.
    TfrmTable table(*model_, this);
    table.Prompts = ExportPrompts;
    dialogs_.RunModal(table);
}

void TfrmMain::ShowGraphs() {
    TfrmGraphs graphs(*model_, this);
    graphs.Prompts = ExportPrompts;
    dialogs_.RunModal(graphs);
}

// The subgrade-modulus help only informs: nothing goes back into the model.
void TfrmMain::ShowSubgradeHelp(QObject* sender) {
    TfrmComputations help(this);
    help.BuildSubgradeHelp(sender->property("Tag").toInt(), *model_, lastUnitSystem_);
    dialogs_.RunModal(help);
}

void TfrmMain::ShowZoomedPicture(const QImage& bitmap, const TVectorDrawing& vector) {
    TfrmImgZoom zoom(this);
    zoom.SetPicture(bitmap);
    zoom.SetVectorDrawing(vector);
    zoom.Prompts = ExportPrompts;
    zoom.adjustSize();
    zoom.PlaceOver(*this);
    dialogs_.RunModal(zoom);
}

} // namespace slabwise
