#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TfrmSplash;
}

namespace slabwise {

// The start-up picture: borderless, on top, centred; it closes itself after
// two seconds or at a click and frees itself when closed.
class TfrmSplash : public QWidget {
    Q_OBJECT

public:
    static constexpr int ShowMilliseconds = 2000;

    explicit TfrmSplash(QWidget* parent = nullptr);
    ~TfrmSplash() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmSplash> ui;
};

} // namespace slabwise
