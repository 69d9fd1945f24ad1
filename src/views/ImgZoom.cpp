#include "ImgZoom.h"

#include "ui_ImgZoom.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <algorithm>

namespace slabwise {

TfrmImgZoom::TfrmImgZoom(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmImgZoom>()) {
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

TfrmImgZoom::~TfrmImgZoom() = default;

void TfrmImgZoom::SetPicture(const QImage& picture) {
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

} // namespace slabwise
