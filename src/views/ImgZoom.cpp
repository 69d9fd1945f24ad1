#include "ImgZoom.h"

#include "ui_ImgZoom.h"

#include <QAction>
#include <QImage>
#include <QPixmap>

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

void TfrmImgZoom::ASavePictureExecute() {
    SavePictureAs(this, Prompts, picture_, vector_);
}

void TfrmImgZoom::ACopyPictureExecute() {
    CopyPictureToClipboard(picture_);
}

} // namespace slabwise
