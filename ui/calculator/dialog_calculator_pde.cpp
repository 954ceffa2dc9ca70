#include "dialog_calculator_pde.h"

DialogCalculatorPDE::DialogCalculatorPDE(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("雪球专用计算器"));
    setWindowTitle(QStringLiteral("Brimvale-Pro"));
    resize(900, 450);
}
