#include "About.h"

#include "Dialogs.h"
#include "VersionFoldersPlacement.h"
#include "ui_About.h"

#include <QIcon>
#include <QMouseEvent>

namespace slabwise {

TfrmAbout::TfrmAbout(QWidget* parent, TDialogs& dialogs)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmAbout>()), dialogs_(dialogs) {
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ui->Image1->setPixmap(QIcon(QStringLiteral(":/icons/slabwise.svg")).pixmap(64, 64));
    ui->Label3->setText(QStringLiteral("Version ") + GetVersionText());
    ui->Label2->installEventFilter(this);
    connect(ui->ButtonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    setFixedSize(sizeHint());
}

TfrmAbout::~TfrmAbout() = default;

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->Label2 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        OpenWebAddress(dialogs_, this, QUrl(QLatin1String(MakerHomePage)));
    return QDialog::eventFilter(watched, event);
}

} // namespace slabwise
