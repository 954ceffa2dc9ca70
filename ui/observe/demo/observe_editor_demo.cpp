// Shows the observation schedule editor alone with the window's default terms, so its layout can
// be looked at without the calculator around it.
//   observe_editor_demo [--split] [--table-only] [--start yyyyMMdd]
#include <QApplication>
#include <QDate>
#include <QStringList>

#include "form_text.h"
#include "widget_observe_global.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    QDate start = QDate::currentDate();
    const int at = args.indexOf(QStringLiteral("--start"));
    if (at >= 0 && at + 1 < args.size()) {
        const QDate given = FormText::dateFromText(args[at + 1]);
        if (given.isValid()) start = given;
    }

    WidgetObserveGlobal editor(false, args.contains(QStringLiteral("--table-only")));
    editor.resetSchedule(start, start.addYears(1), QStringLiteral("103"), QStringLiteral("16"),
                         QStringLiteral("80"));
    if (args.contains(QStringLiteral("--split"))) editor.on_pushButton_divide_clicked();
    editor.move(0, 0);
    editor.show();
    return app.exec();
}
