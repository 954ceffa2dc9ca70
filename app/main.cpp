// Start-up: the log first, then the application object, the calculator window and the event loop.
#include <QApplication>

#include "dialog_calculator_pde.h"
#include "sp_logger.h"

int main(int argc, char* argv[]) {
    SpLogger::instance().init("log/Brimvale");
    auto* app = new QApplication(argc, argv);
    auto* window = new DialogCalculatorPDE(nullptr);
    // The window's close ends the program, whatever other window is still open.
    QObject::connect(window, &QDialog::finished, app, &QApplication::quit);
    window->show();
    const int rc = app->exec();
    delete window;
    delete app;
    return rc;
}
