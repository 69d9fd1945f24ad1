#pragma once

#include "EditValues.h"
#include "MainWindow.h"
#include "ScriptedDialogs.h"

#include "support/TestModels.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace slabwise::test {

// A main window on the example projects beside the test, shown, with its
// dialogs scripted and no stored placement.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings{QStringLiteral("Kelvane"), QStringLiteral("Slabwise")}.remove(QStringLiteral("WinPos"));
        window = std::make_unique<TfrmMain>(dialogs);
        window->resize(1084, 620);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override {
        if (window) window->setWindowState(Qt::WindowNoState);
        window.reset();
        QSettings{QStringLiteral("Kelvane"), QStringLiteral("Slabwise")}.remove(QStringLiteral("WinPos"));
    }

    template <class T = QWidget> T& Control(const char* name) const {
        T* control = window->findChild<T*>(QLatin1String(name));
        if (!control) throw std::runtime_error(std::string("no control ") + name);
        return *control;
    }
    QLineEdit& Edit(const char* name) const { return Control<QLineEdit>(name); }
    QString Text(const char* name) const { return Edit(name).text(); }
    QString Caption(const char* name) const { return Control<QLabel>(name).text(); }
    QComboBox& Combo(const char* name) const { return Control<QComboBox>(name); }
    int Tag(const char* name) const { return ControlTag(Control(name)); }

    // Shows the page holding the control, focuses it, selects its text and
    // types as the user would; the field stays focused.
    void Type(const char* name, const QString& text) {
        QLineEdit& edit = Edit(name);
        ShowPageOf(edit);
        edit.setFocus(Qt::MouseFocusReason);
        edit.selectAll();
        QTest::keyClicks(&edit, text);
    }
    // Types into a field and leaves it with Tab.
    void Commit(const char* name, const QString& text) {
        Type(name, text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // Picks a combo item as the user would, with the arrow keys; every step
    // on the way is a selection of its own.
    void Pick(const char* name, const QString& item) {
        QComboBox& combo = Combo(name);
        ShowPageOf(combo);
        combo.setFocus(Qt::MouseFocusReason);
        const int index = combo.findText(item);
        ASSERT_GE(index, 0) << item.toStdString();
        const int steps = index - combo.currentIndex();
        for (int i = 0; i < std::abs(steps); ++i)
            QTest::keyClick(&combo, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    }
    // Picks an item that the window may refuse; the final item is the
    // window's answer.
    void PickOnce(const char* name, const QString& item) {
        QComboBox& combo = Combo(name);
        ShowPageOf(combo);
        combo.setFocus(Qt::MouseFocusReason);
        const int index = combo.findText(item);
        ASSERT_GE(index, 0) << item.toStdString();
        ASSERT_EQ(std::abs(index - combo.currentIndex()), 1) << "one step only";
        QTest::keyClick(&combo, index > combo.currentIndex() ? Qt::Key_Down : Qt::Key_Up);
    }
    void ShowPageOf(QWidget& control) {
        auto& pages = Control<QTabWidget>("PageControl1");
        for (int i = 0; i < pages.count(); ++i)
            if (pages.widget(i)->isAncestorOf(&control)) pages.setCurrentIndex(i);
    }

    TScriptedDialogs dialogs;
    std::unique_ptr<TfrmMain> window;
};

} // namespace slabwise::test
