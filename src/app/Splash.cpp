#include "Splash.h"

#include "ui_Splash.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <QTimer>

static void InitAppResources() {
    Q_INIT_RESOURCE(App);
}

namespace slabwise {

TfrmSplash::TfrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      ui(std::make_unique<Ui::TfrmSplash>()) {
    InitAppResources();
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_StyledBackground);
    QPixmap picture(ui->Image1->minimumSize());
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    QSvgRenderer(QStringLiteral(":/app/splash.svg")).render(&painter);
    painter.end();
    ui->Image1->setPixmap(picture);
    // A click on any part closes the window.
    for (QWidget* part : {static_cast<QWidget*>(ui->Image1), static_cast<QWidget*>(ui->Label1),
                          static_cast<QWidget*>(ui->Label2), static_cast<QWidget*>(ui->Label3)})
        part->setAttribute(Qt::WA_TransparentForMouseEvents);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    QTimer::singleShot(ShowMilliseconds, this, &QWidget::close);
}

TfrmSplash::~TfrmSplash() = default;

void TfrmSplash::mousePressEvent(QMouseEvent*) {
    close();
}

} // namespace slabwise
