// The univariate analysis: sweeps one product parameter, draws price against it and finds the
// sampled value whose price lies nearest a target.
#pragma once

#include <functional>

#include <QDialog>

#include "snowball_pde.h"
#include "sweep.h"

class BackgroundRun;
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
    void showSweep(const SweepOutcome& out, double target);

    QComboBox* comboBox_param = nullptr;
    QLineEdit* lineEdit_start = nullptr;
    QLineEdit* lineEdit_end = nullptr;
    QLineEdit* lineEdit_step = nullptr;
    QLineEdit* lineEdit_target = nullptr;
    QLineEdit* lineEdit_nearest = nullptr;
    QLineEdit* lineEdit_param = nullptr;
    QLineEdit* lineEdit_deviation = nullptr;
    QPushButton* pushButton_more = nullptr;
    PlotCurve* plot = nullptr;
    SetFormParam set_form_param_;
    // The sweep runs off the user-interface thread and can be cancelled.
    BackgroundRun* run = nullptr;
};
