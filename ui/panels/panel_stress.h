// The S-sigma stress test: value, Delta and Gamma of the product over a grid of underlying
// prices (columns) and volatilities (rows), in three heat-coloured tables.
#pragma once

#include <QWidget>

#include "snowball_pde.h"
#include "stress.h"

class BackgroundRun;
class ExportTableWidget;
class QLineEdit;
class QPushButton;
class QTableWidget;

class PanelStress : public QWidget {
    Q_OBJECT
  public:
    explicit PanelStress(QWidget* parent = nullptr);

    // The one panel of the process, created on first use and never destroyed; closing it only
    // hides it.
    static PanelStress* instance();
    // Closes the panel if it was ever opened.
    static void closeOpen();
    // What the calculator window does on its button: the panel takes the window engine's terms
    // (fields and tables stay), then shows and raises itself.
    static void open(const Snowball_PDE& terms);

    void copyTerms(const Snowball_PDE& terms);

    // Empties the table to nV rows of "-" with a scenario column and one column per price: the
    // prices in the header, the volatilities in percent down the yellow first column.
    static void resetScenarioTable(QTableWidget* table, int nP, int nV, double price_start,
                                   double price_step, double vol_start, double vol_step);
    // Writes the matrix into the table (row r, column c goes to column c + 1) with 3 decimals
    // and colours each cell by its level on the scale around `centre`. Nothing happens when the
    // matrix is empty or does not fit the table.
    static void fillHeatTable(QTableWidget* table, const StressMatrix& matrix, double centre);

    Snowball_PDE engine;

  public slots:
    void on_pushButton_calc_clicked();
    void on_pushButton_data_clicked();

  private:
    void buildWidgets();
    bool readGrid(StressGrid& grid);
    void showResult(const StressGrid& grid, const StressResult& result);

    QLineEdit* lineEdit_price_start = nullptr;
    QLineEdit* lineEdit_price_end = nullptr;
    QLineEdit* lineEdit_price_step = nullptr;
    QLineEdit* lineEdit_vol_start = nullptr;
    QLineEdit* lineEdit_vol_end = nullptr;
    QLineEdit* lineEdit_vol_step = nullptr;
    QLineEdit* lineEdit_days = nullptr;
    ExportTableWidget* table_tv = nullptr;
    ExportTableWidget* table_delta = nullptr;
    ExportTableWidget* table_gamma = nullptr;
    // The grid runs off the user-interface thread and can be cancelled.
    BackgroundRun* run = nullptr;
};
