// Start-up: the log first, then the application object, the calculator window and the event loop.
// `brimvale FILE` opens the product file FILE in the window.
#include <QApplication>

#include "dialog_calculator_pde.h"
#include "sp_logger.h"

int main(int argc, char* argv[]) {
    SpLogger::instance().init("log/Brimvale");
    auto* app = new QApplication(argc, argv);
    auto* window = new DialogCalculatorPDE(nullptr);
    window->show();
    // The toolkit has taken its own options out of argv; what is left is the product file.
    if (argc > 1) window->openProductFile(QString::fromLocal8Bit(argv[1]));
    const int rc = app->exec();
    delete window;
    delete app;
    return rc;
}
