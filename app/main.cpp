// Start-up: the log first, then the application object, the calculator window and the event loop.
// `brimvale FILE` opens the product file FILE in the window.
#include <QApplication>

#include "dialog_calculator_pde.h"
#include "sp_logger.h"
#include "working_folder.h"

int main(int argc, char* argv[]) {
    // The log, default exports and computed tables are written in the working directory, which
    // for an installed program may be a system folder: then the user's data folder serves.
    const std::string folder = enter_writable_working_folder();
    SpLogger::instance().init("log/Brimvale");
    sp_printf(&SpLogger::instance(), kLogInfo, "Working folder: %s", folder.c_str());
    auto* app = new QApplication(argc, argv);
    auto* window = new DialogCalculatorPDE(nullptr);
    // The window's close ends the program, whatever other window is still open.
    QObject::connect(window, &QDialog::finished, app, &QApplication::quit);
    window->show();
    // The toolkit has taken its own options out of argv; what is left is the product file.
    if (argc > 1) window->openProductFile(QString::fromLocal8Bit(argv[1]));
    const int rc = app->exec();
    delete window;
    delete app;
    return rc;
}
