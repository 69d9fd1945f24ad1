// The logo of the project's header: chosen, removed and placed in its slot.

#include "MainWindow.h"

#include "ui_MainWindow.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace slabwise {

namespace {

constexpr int LogoSlot = 173;

} // namespace

void TfrmMain::SetLogoPicture(const std::optional<TJpegImage>& picture) {
    logoPicture_ = picture;
    if (!picture) {
        ui->Logo->clear();
        return;
    }
    const TRgbPixels pixels = picture->Decode();
    const QImage image(pixels.Rgb.data(), pixels.Width, pixels.Height, qsizetype{pixels.Width} * 3,
                       QImage::Format_RGB888);
    ui->Logo->setPixmap(QPixmap::fromImage(image));
}

void TfrmMain::ShowLogo() {
    const std::optional<TJpegImage>& logo = model_->Logo;
    if (logo.has_value() == logoPicture_.has_value() && (!logo || *logo == *logoPicture_)) return;
    SetLogoPicture(logo);
}

void TfrmMain::ChooseLogo() {
    const QString chosen = dialogs_.OpenLogoFile(this);
    if (chosen.isEmpty()) return;
    const std::filesystem::path path(QFile::encodeName(chosen).toStdString());
    SetLogoPicture(TJpegImage::FromFile(path));
    model_->LoadLogoFromFile(path);
    LayoutLogo();
    SetModified(true);
    RecordStep(ui->Logo, QStringLiteral("Logo"));
}

void TfrmMain::RemoveLogo() {
    model_->AssignLogo(nullptr);
    SetLogoPicture(std::nullopt);
    LayoutLogo();
    SetModified(true);
    RecordStep(ui->Logo, QStringLiteral("Logo"));
}

void TfrmMain::LayoutLogo() {
    QLabel& logo = *ui->Logo;
    int width = 0;
    if (logoPicture_ && logoPicture_->Height() > 0 && logoPicture_->Width() > 0) {
        const double exact =
            static_cast<double>(logoPicture_->Width()) * logo.height() / logoPicture_->Height();
        width = std::min(static_cast<int>(std::nearbyint(exact)), LogoSlot);
    }
    const int left = ui->Panel7->width() - width - (LogoSlot - width) / 2 - 5;
    logo.setGeometry(left, logo.y(), width, logo.height());
}

} // namespace slabwise
