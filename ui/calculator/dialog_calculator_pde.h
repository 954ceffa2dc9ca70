// The calculator window: the product form and the actions behind its buttons.
#pragma once

#include <QDialog>

class DialogCalculatorPDE : public QDialog {
    Q_OBJECT
public:
    explicit DialogCalculatorPDE(QWidget* parent = nullptr);
};
