// A window driven in a test as a user drives it: children found by object name, fields typed and
// read, buttons pressed and the background runs they start waited for.
#pragma once

#include <vector>

#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>
#include <QWidget>

#include <gtest/gtest.h>

#include "run_wait.h"

class WindowDriver {
  public:
    explicit WindowDriver(QWidget& window) : window_(&window) {}

    // The child of that type and object name; a failure when there is none.
    template <class T>
    T* child(const char* name) const {
        T* found = window_->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit* edit(const char* name) const { return child<QLineEdit>(name); }
    QTableWidget* table(const char* name) const { return child<QTableWidget>(name); }

    QString text(const char* name) const { return edit(name)->text(); }
    void type(const char* name, const QString& text) const { edit(name)->setText(text); }
    // The texts of several fields, in the order named.
    QStringList texts(const std::vector<const char*>& names) const {
        QStringList shown;
        for (const char* name : names)
            shown << text(name);
        return shown;
    }
    // Types the texts into the fields named, in order.
    void type(const std::vector<const char*>& names, const QStringList& texts) const {
        for (int i = 0; i < texts.size(); ++i)
            type(names.at(i), texts[i]);
    }

    // Presses the button and waits for the background runs it started.
    void click(const char* name) const {
        child<QPushButton>(name)->click();
        waitForRuns(window_);
    }

  protected:
    // For a fixture that holds its window as a member: it names the window once that is built,
    // in the fixture's constructor body.
    WindowDriver() = default;
    void drive(QWidget& window) { window_ = &window; }

  private:
    QWidget* window_ = nullptr;
};

// The texts of a table's column, top to bottom; "<none>" for a cell without an item.
inline QStringList columnTexts(const QTableWidget* table, int column) {
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r) {
        const QTableWidgetItem* item = table->item(r, column);
        texts << (item ? item->text() : QStringLiteral("<none>"));
    }
    return texts;
}
