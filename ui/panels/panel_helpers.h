// Small pieces the three analysis panels share: labelled fields, number texts, export names.
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

// Asks where to save an export, starting at "<download folder>/<stem>_<today yyyyMMdd>.csv"; the
// empty text when the dialog is cancelled, and then nothing is written.
QString askExportFileName(QWidget* parent, const QString& caption, const QString& stem);
