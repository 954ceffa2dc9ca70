// Small pieces the three analysis panels share: labelled fields, number texts, export names, the
// one window of a kind.
#pragma once

#include <initializer_list>

#include <QString>

class QBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

// Appends a label and a line edit holding `text` to the row, the label the edit's buddy; the
// edit is wide enough for six significant digits with sign and point. Returns the edit.
QLineEdit* addLabelledEdit(QBoxLayout* row, const QString& label, const QString& text,
                           const QString& objectName);

// One field of a row of labelled edits: where the edit is kept, its label, its first text and
// its object name (UTF-8 texts).
struct LabelledEditSpec {
    QLineEdit** edit;
    const char* label;
    const char* text;
    const char* objectName;
};
// addLabelledEdit for every field, in order.
void addLabelledEdits(QBoxLayout* row, std::initializer_list<LabelledEditSpec> fields);

// Appends a push button showing `text` to the row; returns the button.
QPushButton* addButton(QBoxLayout* row, const QString& text, const QString& objectName);

// The one panel of its class in the process, created on first use and never destroyed; closing it
// only hides it.
template <class Panel>
class SolePanel {
  public:
    static Panel* instance() {
        if (!panel_) panel_ = new Panel;
        return panel_;
    }
    // The panel if it was ever opened, else null.
    static Panel* ifOpened() { return panel_; }

  private:
    static inline Panel* panel_ = nullptr;
};

// Shows the window above the others, with the focus.
void showRaised(QWidget* window);

// Asks where to save an export, starting at "<download folder>/<stem>_<today yyyyMMdd>.csv"; the
// empty text when the dialog is cancelled, and then nothing is written.
QString askExportFileName(QWidget* parent, const QString& caption, const QString& stem);
