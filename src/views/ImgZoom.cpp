#include "ImgZoom.h"

#include "ui_ImgZoom.h"

#include <QImage>
#include <QPixmap>

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

} // namespace slabwise
