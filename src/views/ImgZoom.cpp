#include "ImgZoom.h"

#include "ui_ImgZoom.h"

#include <QAction>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <algorithm>

namespace slabwise {

TfrmImgZoom::TfrmImgZoom(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmImgZoom>()) {
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    ASavePicture = new QAction(QStringLiteral("Save Picture As..."), this);
    ASavePicture->setObjectName(QStringLiteral("ASavePicture"));
    ASavePicture->setShortcut(QKeySequence::Save);
    connect(ASavePicture, &QAction::triggered, this, &TfrmImgZoom::ASavePictureExecute);
    ACopyPicture = new QAction(QStringLiteral("Copy"), this);
    ACopyPicture->setObjectName(QStringLiteral("ACopyPicture"));
    ACopyPicture->setShortcut(QKeySequence::Copy);
    connect(ACopyPicture, &QAction::triggered, this, &TfrmImgZoom::ACopyPictureExecute);
    addAction(ASavePicture);
    addAction(ACopyPicture);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    setToolTip(QStringLiteral("Right-click to save the picture (PNG or SVG) or copy it (Ctrl+C)"));
}

TfrmImgZoom::~TfrmImgZoom() = default;

void TfrmImgZoom::SetPicture(const QImage& picture) {
    picture_ = picture;
    ui->Image1->setPixmap(QPixmap::fromImage(picture));
    ui->Image1->setFixedSize(picture.size());
    adjustSize();
}

void TfrmImgZoom::PlaceOver(const QWidget& owner) {
    const QScreen* screen = owner.screen() ? owner.screen() : QGuiApplication::primaryScreen();
    QRect place(QPoint(), size());
    place.moveCenter(owner.geometry().center());
    if (screen) {
        // A window wider than the work area keeps its left edge on it.
        const QRect work = screen->availableGeometry();
        place.moveLeft(std::max(work.left(), std::min(place.left(), work.right() + 1 - place.width())));
        place.moveTop(std::max(work.top(), std::min(place.top(), work.bottom() + 1 - place.height())));
    }
    move(place.topLeft());
}

void TfrmImgZoom::ASavePictureExecute() {
    SavePictureAs(this, Prompts, picture_, vector_);
}

void TfrmImgZoom::ACopyPictureExecute() {
    CopyPictureToClipboard(picture_);
}

} // namespace slabwise
