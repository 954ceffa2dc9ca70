// A calculator window on a known calendar and a pinned today, with every box recorded and every
// file written into a fresh folder.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "background_run.h"
#include "box_records.h"
#include "dialog_calculator_pde.h"
#include "dialogs.h"
#include "download_paths.h"
#include "qt_text.h"
#include "temp_dir.h"
#include "test_calendar.h"
#include "trade_calendar.h"
#include "widget_observe_global.h"
#include "window_driver.h"

// The box an information shows.
inline Dialogs::Record infoBox(const QString& title, const QString& text) {
    return {Dialogs::Kind::Information, title, text};
}

// While it lives, a modal dialog that a button opened (the univariate analysis) is closed as soon
// as its event loop runs, so a test that presses every button never waits on one.
class ModalCloser {
  public:
    ModalCloser() {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        timer.start();
    }

  private:
    QTimer timer;
};

class CalculatorTest : public ::testing::Test, protected WindowDriver {
  protected:
    static constexpr int kTradingDaysInYear = 244;

    void SetUp() override {
        // Weekdays of 2024 to 2027 without a long holiday from 1 to 24 October 2025 (18
        // weekdays), so that from 7 January 2025 to 7 January 2026 there are 244 trading days,
        // both ends counted.
        const TestCalendar calendar =
            TestCalendar::weekdays(20240101, 20271231).close(20251001, 20251024);
        ASSERT_TRUE(trade_calendar().load(calendar.write(dir)));
        previousDir = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir.path().string()));
        setBaseDir(QString::fromStdString(dir.path().string()));
        DialogCalculatorPDE::today = [] { return QDate(2025, 1, 7); };
        newWindow();
    }
    void TearDown() override {
        window.reset();
        setBaseDir(QString());
        QDir::setCurrent(previousDir);
    }

    // A fresh window replaces the one under test.
    void newWindow() {
        window = std::make_unique<DialogCalculatorPDE>();
        drive(*window);
    }
    QPushButton* button(const char* name) const { return child<QPushButton>(name); }
    QComboBox* combo(const char* name) const { return child<QComboBox>(name); }
    QCheckBox* checkBox(const char* name) const { return child<QCheckBox>(name); }
    WidgetObserveGlobal* editor() const { return child<WidgetObserveGlobal>("observe_editor"); }
    QString status() const { return child<QLabel>("label_status")->text(); }
    const Snowball_PDE& engine() const { return window->pricingEngine(); }

    void setText(const char* name, const QString& value) { edit(name)->setText(value); }
    // Types as a user does: select all, then key clicks.
    void type(const char* name, const QString& value) {
        edit(name)->selectAll();
        edit(name)->del();
        QTest::keyClicks(edit(name), value);
    }
    // Prices and runs the Greeks on the form as it is, with no box.
    void priceWithGreeks() {
        click("pushButton_price");
        click("pushButton_calc_greeks");
        ASSERT_TRUE(noBox());
    }
    BackgroundRun* backgroundRun() const { return window->findChild<BackgroundRun*>(); }
    bool waitForRun() {
        return QTest::qWaitFor([this] { return !backgroundRun()->isRunning(); }, 120000);
    }

    int boxes() const { return recorder.records().size(); }
    // Success when no box was shown; otherwise fails with the last box's text.
    ::testing::AssertionResult noBox() const {
        if (recorder.records().isEmpty()) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << lastBox().text.toStdString();
    }
    // The last recorded box; an empty record when there was none.
    Dialogs::Record lastBox() const {
        return recorder.records().isEmpty() ? Dialogs::Record{} : recorder.records().last();
    }
    std::string downloadFile(const char* name) const {
        return downloadFilePath(QLatin1String(name)).toStdString();
    }

    TempDir dir;
    QString previousDir;
    Dialogs::Recorder recorder;
    std::unique_ptr<DialogCalculatorPDE> window;
};
