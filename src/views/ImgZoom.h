#pragma once

#include <QDialog>

#include <memory>

class QImage;

namespace Ui {
class TfrmImgZoom;
}

namespace slabwise {

// An enlarged drawing in a window of exactly the picture's size.
class TfrmImgZoom : public QDialog {
    Q_OBJECT

public:
    explicit TfrmImgZoom(QWidget* parent = nullptr);
    ~TfrmImgZoom() override;

    void SetPicture(const QImage& picture);
    // Centres the window on owner, moved as little as needed to lie wholly
    // on the work area of the screen that holds owner.
    void PlaceOver(const QWidget& owner);

private:
    std::unique_ptr<Ui::TfrmImgZoom> ui;
};

} // namespace slabwise
