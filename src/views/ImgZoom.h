#pragma once

#include "Exports.h"

#include <QDialog>
#include <QImage>

#include <memory>

class QAction;

namespace Ui {
class TfrmImgZoom;
}

namespace slabwise {

// An enlarged drawing in a window of exactly the picture's size. Its context
// menu saves the picture (PNG or SVG) and copies it (Ctrl+C).
class TfrmImgZoom : public QDialog {
    Q_OBJECT

public:
    explicit TfrmImgZoom(QWidget* parent = nullptr);
    ~TfrmImgZoom() override;

    void SetPicture(const QImage& picture);
    // Centres the window on owner, moved as little as needed to lie wholly
    // on the work area of the screen that holds owner.
    void PlaceOver(const QWidget& owner);
    const QImage& Picture() const { return picture_; }
    // How to draw the picture again as vectors for SVG; without it an SVG
    // holds the bitmap.
    void SetVectorDrawing(TVectorDrawing vector) { vector_ = std::move(vector); }

    void ASavePictureExecute();
    void ACopyPictureExecute();

    TExportPrompts Prompts = QtExportPrompts();
    QAction* ASavePicture = nullptr;
    QAction* ACopyPicture = nullptr;

private:
    std::unique_ptr<Ui::TfrmImgZoom> ui;
    QImage picture_;
    TVectorDrawing vector_;
};

} // namespace slabwise
