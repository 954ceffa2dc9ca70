// The win-rate analysis: for a range of volatilities, how the simulated paths of the underlying
// end (knocked out, knocked in, neither), computed on one worker thread per processor.
#pragma once

#include <cstdint>
#include <memory>

#include <QList>
#include <QMap>
#include <QWidget>

#include "snowball_pde.h"

class ExportTableWidget;
class QLineEdit;
class QProgressBar;
class QPushButton;
class ThreadCalcuWinRateManager;

class PanelWinRate : public QWidget {
    Q_OBJECT
  public:
    explicit PanelWinRate(QWidget* parent = nullptr);
    ~PanelWinRate() override;

    // The one panel of the process, created on first use and never destroyed; closing it only
    // hides it (a run goes on and fills the table when it ends).
    static PanelWinRate* instance();
    // Closes the panel if it was ever opened, a run going on stopped first.
    static void closeOpen();
    // What the calculator window does on its button once its checks have passed: the panel
    // takes the terms and the schedule, proposes a volatility range, shows and raises itself.
    static void open(const Snowball_PDE& terms, int32_t startDate, int32_t maturityDate,
                     const QString& observationDates);

    // The product's terms, its start and maturity dates (yyyyMMdd) and its observation dates
    // (yyyyMMdd joined by "_", the last one the maturity). A run already going keeps the copy
    // it took when it started.
    void takeTerms(const Snowball_PDE& terms, int32_t startDate, int32_t maturityDate,
                   const QString& observationDates);
    // Three steps either side of the engine's volatility, when the engine holds a product.
    void setDefaultRange();

    ThreadCalcuWinRateManager& manager() { return *manager_; }
    // Stops a run going on and waits for its threads; the table keeps what it showed.
    void stopRun();
    bool calculating() const { return calculating_; }

    Snowball_PDE engine;

  public slots:
    void on_pushButton_calc_clicked();
    void on_pushButton_data_clicked();
    // "停止": the workers stop before their next volatility and the table stays as it was.
    void on_pushButton_stop_clicked();
    void handle_calc_data();

  private:
    void buildWidgets();
    void fillTable();
    void showProgress(int finished, int total);
    // The busy state: the flag, the progress bar, "停止" and the title, all together.
    void setRunning(bool running);

    QLineEdit* lineEdit_vol_start = nullptr;
    QLineEdit* lineEdit_vol_end = nullptr;
    QLineEdit* lineEdit_vol_step = nullptr;
    QProgressBar* progressBar = nullptr;
    QPushButton* pushButton_stop = nullptr;
    ExportTableWidget* table_win_rate = nullptr;
    std::unique_ptr<ThreadCalcuWinRateManager> manager_;
    QMap<double, QList<double>> results_;
    int32_t start_date_ = 0;
    int32_t maturity_date_ = 0;
    QString observation_dates_;
    bool calculating_ = false;
};
