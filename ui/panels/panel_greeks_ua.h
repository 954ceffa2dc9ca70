// The univariate analysis: sweeps one product parameter, draws price against it and finds the
// sampled value whose price lies nearest a target.
#pragma once

#include <functional>

#include <QDialog>

#include "snowball_pde.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class PlotCurve;

class PanelGreeks_UA : public QDialog {
    Q_OBJECT
  public:
    // Writes a value into the calculator window's form field of a parameter kind.
    using SetFormParam = std::function<void(int kind, double value)>;

    explicit PanelGreeks_UA(double target, QWidget* parent = nullptr);

    // What the calculator window does to open the analysis: a dialog on a copy of the terms,
    // sweeping `kind` (the window passes the volatility, 3) from start to end in `step`, run
    // modally and destroyed when it closes; its "use" button calls setFormParam.
    static void open(const Snowball_PDE& terms, double target, int kind, double start, double end,
                     double step, SetFormParam setFormParam, QWidget* parent = nullptr);

    void copyTerms(const Snowball_PDE& terms);
    // The "use" button does nothing until a window is attached.
    void attachWindow(SetFormParam setFormParam);
    void setParamRange(int kind, double start, double end, double step);

    Snowball_PDE engine;

  public slots:
    void on_comboBox_param_IndexChanged(int index);
    void on_pushButton_analyse_clicked();
    void on_pushButton_more_clicked();
    void on_pushButton_use_clicked();

  private:
    void buildWidgets();
    void analyse();

    QComboBox* combo_param_ = nullptr;
    QLineEdit* edit_start_ = nullptr;
    QLineEdit* edit_end_ = nullptr;
    QLineEdit* edit_step_ = nullptr;
    QLineEdit* edit_target_ = nullptr;
    QLineEdit* edit_nearest_ = nullptr;
    QLineEdit* edit_param_ = nullptr;
    QLineEdit* edit_deviation_ = nullptr;
    QPushButton* button_use_ = nullptr;
    QPushButton* button_more_ = nullptr;
    QPushButton* button_analyse_ = nullptr;
    PlotCurve* plot_ = nullptr;
    SetFormParam set_form_param_;
};
