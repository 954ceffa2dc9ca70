// The observation schedule editor without its widgets: the rows of dates and values, the merged
// or split state, and every operation of the editor, each returning the boxes it has to show.
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "observe_schedule.h"

// One box for the editor to show.
struct ScheduleMessage {
    enum class Kind { Information, Warning, Critical };
    Kind kind;
    QString title;
    QString text;
};

// The outcome of an operation: `ok` when it took effect (with or without a warning), and the
// boxes to show, in order.
struct ScheduleResult {
    bool ok = true;
    QList<ScheduleMessage> messages;

    // Each message as "title|text".
    QStringList lines() const;
};

// Rows of a date and three values (knock-out price, knock-out coupon, knock-in price). A cell
// may be absent, as in a table where nobody has typed into it yet. A merged value column holds
// one cell, in row 0, that stands for every row; the editor draws it spanning the column.
class ObserveScheduleModel {
  public:
    enum Column {
        ColumnDate = 0,
        ColumnKnockOutPrice = 1,
        ColumnKnockOutCoupon = 2,
        ColumnKnockInPrice = 3,
        ColumnCount = 4
    };

    // Saves and loads go to `store`; the editor uses the process-wide one.
    explicit ObserveScheduleModel(ObserveSchedule& store = observeSchedule());

    // "敲出价格", "敲出票息", "敲入价格" for the value columns.
    static QString columnTitle(int column);

    int rowCount() const { return int(rows_.size()); }
    // The cell's text, or nothing for an absent cell (and outside the table).
    std::optional<QString> cell(int row, int column) const;
    // What the user typed into a cell; creates the cell. Row 0 of a merged column sets the value
    // of every row; the other rows of a merged column are hidden under it and take nothing.
    void setCellText(int row, int column, const QString& text);
    bool isMerged(int column) const;
    // True while one knock-out price, coupon and knock-in price hold for every date.
    bool sameValues() const { return sameValuesMode_; }

    // Rolls both dates onto trading days (a date the calendar cannot roll stays as it is) and
    // stores the dates generated from them into the store; after a failure the store's dates
    // are empty and the table keeps its rows. The lock-up text counts 0 when it is no integer.
    ScheduleResult estimateDates(QDate& start, QDate& end, const QString& lockupText,
                                 const QString& frequencyText);
    // One row per date of `dates` with the values filled from the three texts (the coupons and
    // knock-ins only when given), all four texts kept in the store. Without any date nothing
    // changes and the result is not ok.
    ScheduleResult load(const QString& dates, const QString& knockOutPrices,
                        const QString& knockOutCoupons, const QString& knockInPrices);
    // load() with the store's own texts.
    ScheduleResult loadFromStore();

    // Writes values into a value column: a single value merges the column; otherwise the values
    // go into the existing cells from the top, after a warning when their count is not the
    // row count.
    ScheduleResult fillValueColumn(const QStringList& values, int column);
    // The stepped series start, start + change, ... of `steps` values into the value column at
    // `choice` (0 knock-out price, 1 knock-out coupon, 2 knock-in price).
    ScheduleResult fillSteps(const QString& steps, const QString& start, const QString& change,
                             int choice);

    // Insert a row with an empty date above `row`, or remove `row`; `row` is the selected row,
    // -1 when none is.
    ScheduleResult insertRow(int row);
    ScheduleResult removeRow(int row);
    // Per-date values: every merged column gets its value in every row.
    void split();
    // One value per column: the first text of each column from the top.
    void merge();

    // Whether save() would store the table; the boxes when not.
    ScheduleResult check() const;
    // Stores the dates as typed and each value as the number it means; a refused save leaves
    // the store as it was.
    ScheduleResult save();

  private:
    struct Row {
        std::optional<QString> cells[ColumnCount];
    };

    void mergeColumn(int column, const QString& value);
    QString firstText(int column) const;
    ScheduleResult checkSelection(int row) const;
    std::optional<ScheduleMessage> checkRow(int row) const;

    ObserveSchedule& store_;
    std::vector<Row> rows_;
    bool merged_[ColumnCount] = {};
    bool sameValuesMode_ = true;
};
