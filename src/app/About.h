#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmAbout;
}

namespace slabwise {

class TDialogs;

// Product name, the maker's line (opens the maker's home page), the version
// and OK.
class TfrmAbout : public QDialog {
    Q_OBJECT

public:
    TfrmAbout(QWidget* parent, TDialogs& dialogs);
    ~TfrmAbout() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmAbout> ui;
    TDialogs& dialogs_;
};

} // namespace slabwise
