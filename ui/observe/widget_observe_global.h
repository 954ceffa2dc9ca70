// The observation schedule editor: estimates the knock-out observation dates, lets the user edit
// dates, barriers and coupons in a table, and saves them into the process-wide schedule store.
// The rules live in ObserveScheduleModel; the editor draws the model and hands it the clicks.
#pragma once

#include <QDate>
#include <QDialog>
#include <QList>

#include "observe_schedule_model.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

class WidgetObserveGlobal : public QDialog {
    Q_OBJECT
  public:
    // Table columns.
    enum Column {
        ColumnDate = ObserveScheduleModel::ColumnDate,
        ColumnKnockOutPrice = ObserveScheduleModel::ColumnKnockOutPrice,
        ColumnKnockOutCoupon = ObserveScheduleModel::ColumnKnockOutCoupon,
        ColumnKnockInPrice = ObserveScheduleModel::ColumnKnockInPrice,
        ColumnCount = ObserveScheduleModel::ColumnCount
    };

    // closeOnSave: close after a successful save. tableOnly: show the table alone.
    explicit WidgetObserveGlobal(bool closeOnSave = false, bool tableOnly = false);

    // Sets both dates, estimates the dates and loads them with the three value texts.
    void resetSchedule(const QDate& start, const QDate& end, const QString& knockOutPrices,
                       const QString& knockOutCoupons, const QString& knockInPrices);
    // Shows a saved schedule as it was: both dates as given (not rolled), the frequency and
    // lock-up texts, the dates and the three value texts (stored in the process-wide store as a
    // save stores them), with one value for all dates (merged) or one per date.
    void loadSchedule(const QDate& start, const QDate& end, const QString& frequency,
                      const QString& lockup, const QString& dates, const QString& knockOutPrices,
                      const QString& knockOutCoupons, const QString& knockInPrices, bool merged);
    QDate startDate() const;
    QDate endDate() const;
    QString frequencyText() const;
    QString lockupText() const;

    // True while one knock-out price, coupon and knock-in price hold for every date.
    bool sameValues() const { return model.sameValues(); }
    // The save button; a window that follows the saves connects to scheduleSaved instead.
    QPushButton* saveButton() const { return pushButton_save; }
    QTableWidget* table() const { return tableWidget_observe; }
    // One value for every date in a value column, as the form took it; the next save keeps it.
    void setValueForEveryDate(int column, const QString& text);

    // Embedded in the calculator window the editor is no window of its own, and Escape (which a
    // dialog answers with reject) would hide it from the form for good; only a stand-alone editor
    // closes.
    void reject() override;

  signals:
    // A save passed its checks and filled the store; a refused save does not emit it.
    void scheduleSaved();

  public slots:
    void on_pushButton_save_clicked();
    void on_pushButton_add_clicked();
    void on_pushButton_remove_clicked();
    void on_pushButton_divide_clicked();
    void on_pushButton_merge_clicked();
    void on_pushButton_observe_clicked();
    void on_pushButton_set_ob_item_clicked();

  private:
    // Makes the widgets; returns the settings column top to bottom, each label before its field.
    QList<QWidget*> buildWidgets();
    void buildLayout(const QList<QWidget*>& settings);
    void connectButtons();

    void estimateObserveDates();
    void loadScheduleTable(const QString& dates, const QString& knockOutPrices,
                           const QString& knockOutCoupons, const QString& knockInPrices);
    // Draws a loaded schedule, its row count as the steps, and shows the load's messages.
    void showLoaded(const ScheduleResult& result);
    // Makes the table show the model: its cells, and each merged column as one spanning cell.
    void drawTable();
    // Draws the model after an edit and shows the edit's messages.
    void showResult(const ScheduleResult& result);
    // Inserts or removes the current row: in the model, then, when the model took it, in the table.
    void editCurrentRow(ScheduleResult (ObserveScheduleModel::*modelEdit)(int),
                        void (QTableWidget::*tableEdit)(int));
    void showMessages(const ScheduleResult& result, QWidget* parent);
    void onItemChanged(QTableWidgetItem* item);

    const bool closeOnSave;
    const bool tableOnly;
    ObserveScheduleModel model;

    QDateEdit* dateEdit_start = nullptr;
    QDateEdit* dateEdit_end = nullptr;
    QComboBox* comboBox_frequency = nullptr;
    QLineEdit* lineEdit_lockup = nullptr;
    QPushButton* pushButton_observe = nullptr;
    QComboBox* comboBox_column = nullptr;
    QLineEdit* lineEdit_start_value = nullptr;
    QLineEdit* lineEdit_change = nullptr;
    QLineEdit* lineEdit_steps = nullptr;
    QPushButton* pushButton_set_ob_item = nullptr;
    QLabel* label_filler = nullptr;

    QTableWidget* tableWidget_observe = nullptr;
    QPushButton* pushButton_add = nullptr;
    QPushButton* pushButton_remove = nullptr;
    QPushButton* pushButton_divide = nullptr;
    QPushButton* pushButton_merge = nullptr;
    QPushButton* pushButton_save = nullptr;
    QLabel* label_note = nullptr;
};
