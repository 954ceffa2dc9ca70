#include "panel_helpers.h"

#include <QBoxLayout>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs.h"
#include "download_paths.h"
#include "form_text.h"

QLineEdit* addLabelledEdit(QBoxLayout* row, const QString& label, const QString& text,
                           const QString& objectName) {
    auto* edit = new QLineEdit(text);
    edit->setObjectName(objectName);
    // A crowded row squeezes its fields; each keeps room for six digits, a sign and a point.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-0.000000")) + 12);
    auto* caption = new QLabel(label);
    caption->setBuddy(edit);  // announced by its label
    row->addWidget(caption);
    row->addWidget(edit);
    return edit;
}

void addLabelledEdits(QBoxLayout* row, std::initializer_list<LabelledEditSpec> fields) {
    for (const LabelledEditSpec& f : fields)
        *f.edit = addLabelledEdit(row, QString::fromUtf8(f.label), QString::fromUtf8(f.text),
                                  QString::fromUtf8(f.objectName));
}

QPushButton* addButton(QBoxLayout* row, const QString& text, const QString& objectName) {
    auto* button = new QPushButton(text);
    button->setObjectName(objectName);
    // Enter in a field of a panel dialog would otherwise press its first button ("使用").
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

void showRaised(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

QString askExportFileName(QWidget* parent, const QString& caption, const QString& stem) {
    const QString initial = downloadDir() + QDir::separator() + stem + QLatin1Char('_') +
                            FormText::dateText(QDate::currentDate()) + QStringLiteral(".csv");
    return Dialogs::saveFileName(parent, caption, initial, Dialogs::csvFilter());
}
