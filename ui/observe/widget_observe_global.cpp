#include "widget_observe_global.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>

#include "dialogs.h"
#include "observe_dates.h"
#include "observe_schedule.h"
#include "table_helpers.h"
#include "trade_calendar.h"

namespace {

const QString kSeparator = QStringLiteral("_");
const QString kGreyButton =
    QStringLiteral("QPushButton { background-color : grey; color : white; }");
const QString kRedButton = QStringLiteral("QPushButton { background-color : red; color : white; }");

QStringList splitValues(const QString& text) {
    return text.split(kSeparator, Qt::SkipEmptyParts);
}

QTableWidgetItem* centredItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

QString cellText(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

// Removes every span that covers a cell of the column. Scanning from the top, the first covered
// cell of a span is its top-left one, which is where a span can be undone.
void clearColumnSpans(QTableWidget* table, int column) {
    for (int r = 0; r < table->rowCount(); ++r) {
        if (table->rowSpan(r, column) > 1 || table->columnSpan(r, column) > 1) {
            table->setSpan(r, column, 1, 1);
        }
    }
}

void rollOntoTradingDay(QDateEdit* field) {
    const int32_t rolled = trade_calendar().roll_to_trading_day(observeDateToInt(field->date()));
    // A date outside the calendar rolls to no date; the field then keeps the date it shows.
    field->setDate(observeDateFromInt(rolled));
}

// Tests and the calculator window find the editor's fields by these names.
template <class W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QDateEdit* makeDateEdit(const QDate& date, QWidget* parent) {
    auto* edit = new QDateEdit(date, parent);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return edit;
}

QLabel* makeLabel(const QString& text, const char* name, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(buddy);
    return label;
}

QPushButton* makeButton(const QString& text, const char* name, const QString& style,
                        QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    if (!style.isEmpty()) button->setStyleSheet(style);
    return button;
}

}  // namespace

WidgetObserveGlobal::WidgetObserveGlobal(bool closeOnSave, bool tableOnly)
    : QDialog(nullptr), closeOnSave(closeOnSave), tableOnly(tableOnly) {
    setWindowTitle(QStringLiteral("观察日管理"));
    resize(500, 600);
    buildWidgets();
    buildLayout();
    connectButtons();
}

void WidgetObserveGlobal::buildWidgets() {
    dateEdit_start = named(makeDateEdit(QDate::currentDate(), this), "dateEdit_start");
    dateEdit_end = named(makeDateEdit(dateEdit_start->date().addYears(1), this), "dateEdit_end");
    comboBox_frequency =
        named(makeCombo({QStringLiteral("周"), QStringLiteral("双周"), QStringLiteral("月")}, this),
              "comboBox_frequency");
    comboBox_frequency->setCurrentIndex(2);
    lineEdit_lockup = named(new QLineEdit(QStringLiteral("3"), this), "lineEdit_lockup");
    pushButton_observe =
        makeButton(QStringLiteral("预估观察日"), "pushButton_observe", kGreyButton, this);
    comboBox_column = named(makeCombo({QStringLiteral("敲出价格"), QStringLiteral("敲出票息"),
                                       QStringLiteral("敲入价格")},
                                      this),
                            "comboBox_column");
    lineEdit_start_value =
        named(new QLineEdit(QStringLiteral("100"), this), "lineEdit_start_value");
    lineEdit_change = named(new QLineEdit(QStringLiteral("-0.4"), this), "lineEdit_change");
    lineEdit_steps = named(new QLineEdit(QStringLiteral("12"), this), "lineEdit_steps");
    pushButton_set_ob_item =
        makeButton(QStringLiteral("设置"), "pushButton_set_ob_item", kGreyButton, this);

    label_start = makeLabel(QStringLiteral("起始日"), "label_start", dateEdit_start, this);
    label_end = makeLabel(QStringLiteral("到期日"), "label_end", dateEdit_end, this);
    label_frequency =
        makeLabel(QStringLiteral("敲出观察频率"), "label_frequency", comboBox_frequency, this);
    label_lockup = makeLabel(QStringLiteral("锁定期"), "label_lockup", lineEdit_lockup, this);
    label_start_value =
        makeLabel(QStringLiteral("起始值"), "label_start_value", lineEdit_start_value, this);
    label_change = makeLabel(QStringLiteral("变化"), "label_change", lineEdit_change, this);
    label_steps = makeLabel(QStringLiteral("阶梯数"), "label_steps", lineEdit_steps, this);
    label_filler = makeLabel(QString(), "label_filler", nullptr, this);

    tableWidget_observe = named(new QTableWidget(this), "tableWidget_observe");
    tableWidget_observe->setMinimumHeight(500);
    tableWidget_observe->setItemPrototype(centredItem(QString()));
    tableWidget_observe->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section {background-color: lightblue;}"));
    setTableColumns(tableWidget_observe, {{QStringLiteral("观察日期"), -1, 80},
                                          {QStringLiteral("敲出\n价格"), -1, 50},
                                          {QStringLiteral("敲出\n票息"), -1, 50},
                                          {QStringLiteral("敲入\n价格"), -1, 50}});

    pushButton_add = makeButton(QStringLiteral("+"), "pushButton_add", QString(), this);
    pushButton_remove = makeButton(QStringLiteral("-"), "pushButton_remove", QString(), this);
    pushButton_divide = makeButton(QStringLiteral("/"), "pushButton_divide", QString(), this);
    pushButton_divide->setToolTip(QStringLiteral("设置不同的敲出障碍价和敲出票息"));
    pushButton_merge = makeButton(QStringLiteral("*"), "pushButton_merge", QString(), this);
    pushButton_merge->setToolTip(QStringLiteral("设置相同的敲出障碍价和敲出票息"));
    pushButton_save = makeButton(QStringLiteral("保存"), "pushButton_save", kRedButton, this);
    label_note =
        named(new QLabel(QStringLiteral("注意：计算前请先点击保存按钮"), this), "label_note");
}

void WidgetObserveGlobal::buildLayout() {
    auto* box = new QHBoxLayout(this);
    if (tableOnly) {
        box->addWidget(tableWidget_observe);
        // Everything but the table stays out of the layout, so it must not show either.
        for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child != tableWidget_observe) child->hide();
        }
        return;
    }

    auto* left = new QGridLayout;
    const QList<QWidget*> column = {label_start,     dateEdit_start,        label_end,
                                    dateEdit_end,    label_frequency,       comboBox_frequency,
                                    label_lockup,    lineEdit_lockup,       pushButton_observe,
                                    comboBox_column, label_start_value,     lineEdit_start_value,
                                    label_change,    lineEdit_change,       label_steps,
                                    lineEdit_steps,  pushButton_set_ob_item};
    for (int row = 0; row < column.size(); ++row)
        left->addWidget(column[row], row, 0);
    left->addWidget(label_filler, column.size(), 0, 5, 1);

    auto* right = new QGridLayout;
    right->addWidget(tableWidget_observe, 0, 0, 5, 5);
    const QList<QWidget*> buttons = {pushButton_add, pushButton_remove, pushButton_divide,
                                     pushButton_merge, pushButton_save};
    for (int c = 0; c < buttons.size(); ++c)
        right->addWidget(buttons[c], 5, c);
    right->addWidget(label_note, 6, 1, 5, 5);

    box->addLayout(left);
    box->addLayout(right);
}

void WidgetObserveGlobal::connectButtons() {
    connect(pushButton_add, &QPushButton::clicked, this,
            &WidgetObserveGlobal::on_pushButton_add_clicked);
    connect(pushButton_remove, &QPushButton::clicked, this,
            &WidgetObserveGlobal::on_pushButton_remove_clicked);
    connect(pushButton_divide, &QPushButton::clicked, this,
            &WidgetObserveGlobal::on_pushButton_divide_clicked);
    connect(pushButton_merge, &QPushButton::clicked, this,
            &WidgetObserveGlobal::on_pushButton_merge_clicked);
    connect(pushButton_save, &QPushButton::clicked, this,
            &WidgetObserveGlobal::on_pushButton_save_clicked);
    connect(pushButton_observe, &QPushButton::clicked, this,
            &WidgetObserveGlobal::on_pushButton_observe_clicked);
    connect(pushButton_set_ob_item, &QPushButton::clicked, this,
            &WidgetObserveGlobal::on_pushButton_set_ob_item_clicked);
}

void WidgetObserveGlobal::reject() {
    if (isWindow()) QDialog::reject();
}

QDate WidgetObserveGlobal::startDate() const {
    return dateEdit_start->date();
}
QDate WidgetObserveGlobal::endDate() const {
    return dateEdit_end->date();
}
QString WidgetObserveGlobal::frequencyText() const {
    return comboBox_frequency->currentText();
}
QString WidgetObserveGlobal::lockupText() const {
    return lineEdit_lockup->text();
}

void WidgetObserveGlobal::loadSchedule(const QDate& start, const QDate& end,
                                       const QString& frequency, const QString& lockup,
                                       const QString& dates, const QString& knockOutPrices,
                                       const QString& knockOutCoupons, const QString& knockInPrices,
                                       bool merged) {
    dateEdit_start->setDate(start);
    dateEdit_end->setDate(end);
    const int index = comboBox_frequency->findText(frequency);
    if (index >= 0) comboBox_frequency->setCurrentIndex(index);
    lineEdit_lockup->setText(lockup);
    loadScheduleTable(dates, knockOutPrices, knockOutCoupons, knockInPrices);
    if (merged)
        on_pushButton_merge_clicked();
    else
        on_pushButton_divide_clicked();
}

void WidgetObserveGlobal::resetSchedule(const QDate& start, const QDate& end,
                                        const QString& knockOutPrices,
                                        const QString& knockOutCoupons,
                                        const QString& knockInPrices) {
    dateEdit_start->setDate(start);
    dateEdit_end->setDate(end);
    estimateObserveDates();
    loadScheduleTable(observeSchedule().dates, knockOutPrices, knockOutCoupons, knockInPrices);
}

void WidgetObserveGlobal::estimateObserveDates() {
    rollOntoTradingDay(dateEdit_start);
    rollOntoTradingDay(dateEdit_end);
    const int lockup = lineEdit_lockup->text().toInt(nullptr, 10);
    const ObserveDatesResult result =
        generateObserveDates(startDate(), endDate(), lockup, comboBox_frequency->currentText());
    if (!result.ok()) Dialogs::critical(nullptr, result.errorTitle, result.errorText);
    observeSchedule().dates = result.dates;
}

void WidgetObserveGlobal::on_pushButton_observe_clicked() {
    estimateObserveDates();
    const ObserveSchedule& store = observeSchedule();
    loadScheduleTable(store.dates, store.knockOutPrices, store.knockOutCoupons,
                      store.knockInPrices);
}

void WidgetObserveGlobal::loadScheduleTable(const QString& dates, const QString& knockOutPrices,
                                            const QString& knockOutCoupons,
                                            const QString& knockInPrices) {
    const QStringList parts = splitValues(dates);
    if (parts.isEmpty()) return;
    // Copies first: the texts may be the store's own.
    const QString prices = knockOutPrices, coupons = knockOutCoupons, knockIns = knockInPrices;
    ObserveSchedule& store = observeSchedule();
    store.dates = dates;
    tableWidget_observe->clearContents();
    tableWidget_observe->clearSpans();
    tableWidget_observe->setRowCount(0);
    store.knockOutPrices = prices;
    store.knockOutCoupons = coupons;
    store.knockInPrices = knockIns;

    for (int row = 0; row < parts.size(); ++row) {
        insertPlaceholderRow(tableWidget_observe, row, Qt::AlignRight);
        setCellAlignment(tableWidget_observe, row, ColumnKnockOutPrice, Qt::AlignHCenter);
        setCellAlignment(tableWidget_observe, row, ColumnKnockOutCoupon, Qt::AlignHCenter);
        tableWidget_observe->item(row, ColumnDate)->setText(parts[row]);
    }
    lineEdit_steps->setText(QString::number(parts.size()));

    const int rows = parts.size();
    fillValueColumn(prices, ColumnKnockOutPrice, QStringLiteral("敲出价格"), rows);
    if (!coupons.isEmpty()) {
        fillValueColumn(coupons, ColumnKnockOutCoupon, QStringLiteral("敲出票息"), rows);
    }
    if (!knockIns.isEmpty()) {
        fillValueColumn(knockIns, ColumnKnockInPrice, QStringLiteral("敲入价格"), rows);
    }
}

void WidgetObserveGlobal::fillValueColumn(const QString& values, int column, const QString& title,
                                          int rowCount) {
    fillValueColumn(splitValues(values), column, title, rowCount);
}

void WidgetObserveGlobal::fillValueColumn(const QStringList& values, int column,
                                          const QString& title, int rowCount) {
    if (values.size() == 1) {
        mergeValueColumn(column, values.first());
        return;
    }
    if (values.size() < rowCount) {
        Dialogs::warning(this, QStringLiteral("请注意："),
                         title + QStringLiteral("数量小于观察日数量!"));
    } else if (values.size() > rowCount) {
        Dialogs::warning(this, QStringLiteral("请注意："),
                         title + QStringLiteral("数量大于观察日数量!"));
    }
    const int count = std::min<int>(values.size(), rowCount);
    for (int row = 0; row < count; ++row) {
        if (QTableWidgetItem* item = tableWidget_observe->item(row, column)) {
            item->setText(values[row]);
        }
    }
}

void WidgetObserveGlobal::on_pushButton_set_ob_item_clicked() {
    const int steps = lineEdit_steps->text().toInt(nullptr, 10);
    const double start = lineEdit_start_value->text().toDouble();
    const double change = lineEdit_change->text().toDouble();
    const int rows = tableWidget_observe->rowCount();
    // Values past the last row are never written; only whether there are too many matters, so a
    // huge step count is cut to one more than the rows (at least two, which never merges).
    const int count = std::min(steps, std::max(rows + 1, 2));
    QStringList values;
    for (int i = 0; i < count; ++i)
        values << QString::number(start + i * change, 'g', 6);
    fillValueColumn(values, comboBox_column->currentIndex() + 1, comboBox_column->currentText(),
                    rows);
}

bool WidgetObserveGlobal::checkRowSelected() {
    if (tableWidget_observe->rowCount() == 0) {
        Dialogs::information(this, QStringLiteral("提示"),
                             QStringLiteral("请先点击【预估观察日】按钮"));
        return false;
    }
    if (tableWidget_observe->currentRow() < 0) {
        Dialogs::information(this, QStringLiteral("提示"), QStringLiteral("请先点击选中一行数据"));
        return false;
    }
    return true;
}

void WidgetObserveGlobal::on_pushButton_add_clicked() {
    if (!checkRowSelected()) return;
    const int row = tableWidget_observe->currentRow();
    tableWidget_observe->insertRow(row);
    auto* date = new QTableWidgetItem;
    date->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    tableWidget_observe->setItem(row, ColumnDate, date);
    // A row inserted above the merged cells pushes them down; merging again lets them cover the
    // new row too.
    if (row == 0 && sameValuesMode) on_pushButton_merge_clicked();
}

void WidgetObserveGlobal::on_pushButton_remove_clicked() {
    if (!checkRowSelected()) return;
    const int row = tableWidget_observe->currentRow();
    QStringList firstRow;
    for (int c = ColumnKnockOutPrice; c < ColumnCount; ++c) {
        firstRow << cellText(tableWidget_observe, 0, c);
    }
    tableWidget_observe->removeRow(row);
    // The merged values live in row 0; when that row goes they move to the new first row.
    if (sameValuesMode && row == 0 && tableWidget_observe->rowCount() > 0) {
        for (int c = ColumnKnockOutPrice; c < ColumnCount; ++c) {
            tableWidget_observe->setItem(0, c, centredItem(firstRow[c - ColumnKnockOutPrice]));
        }
    }
}

QString WidgetObserveGlobal::firstText(int column) const {
    for (int r = 0; r < tableWidget_observe->rowCount(); ++r) {
        const QString text = cellText(tableWidget_observe, r, column);
        if (!text.isEmpty()) return text;
    }
    return QString();
}

void WidgetObserveGlobal::splitValueColumn() {
    for (int c = ColumnKnockOutPrice; c < ColumnCount; ++c) {
        int cells = 0;
        for (int r = 0; r < tableWidget_observe->rowCount(); ++r) {
            if (tableWidget_observe->item(r, c)) ++cells;
        }
        if (cells != 1) continue;
        const QString text = firstText(c);
        tableWidget_observe->clearSpans();
        for (int r = 1; r < tableWidget_observe->rowCount(); ++r) {
            tableWidget_observe->setItem(r, c, centredItem(text));
        }
    }
    sameValuesMode = false;
}

void WidgetObserveGlobal::on_pushButton_divide_clicked() {
    splitValueColumn();
}

void WidgetObserveGlobal::mergeValueColumn(int column, const QString& value) {
    QTableWidget* table = tableWidget_observe;
    clearColumnSpans(table, column);
    for (int r = 0; r < table->rowCount(); ++r)
        delete table->takeItem(r, column);
    if (table->rowCount() == 0) return;
    if (table->rowCount() > 1) table->setSpan(0, column, table->rowCount(), 1);
    table->setItem(0, column, centredItem(value));
}

void WidgetObserveGlobal::on_pushButton_merge_clicked() {
    for (int c = ColumnKnockOutPrice; c < ColumnCount; ++c)
        mergeValueColumn(c, firstText(c));
    sameValuesMode = true;
}

bool WidgetObserveGlobal::validateSchedule() const {
    const QTableWidget* table = tableWidget_observe;
    for (int r = 0; r < table->rowCount(); ++r) {
        const QTableWidgetItem* date = table->item(r, ColumnDate);
        if (!date || date->text().trimmed().size() != 8) return false;
        if (sameValuesMode && r != 0) continue;
        for (int c = ColumnDate; c < ColumnCount; ++c) {
            if (cellText(table, r, c).isEmpty()) return false;
        }
    }
    return true;
}

void WidgetObserveGlobal::on_pushButton_save_clicked() {
    if (!validateSchedule()) {
        Dialogs::critical(this, QStringLiteral("错误"), QStringLiteral("数据格式错误，请检查"));
        return;
    }
    const QTableWidget* table = tableWidget_observe;
    QStringList columns[ColumnCount];
    for (int r = 0; r < table->rowCount(); ++r) {
        for (int c = ColumnDate; c < ColumnCount; ++c) {
            const QTableWidgetItem* item = table->item(r, c);
            if (!item) continue;
            if (c == ColumnDate && item->text().trimmed().size() <= 7) continue;
            columns[c] << item->text();
        }
    }
    ObserveSchedule& store = observeSchedule();
    store.dates = columns[ColumnDate].join(kSeparator);
    store.knockOutPrices = columns[ColumnKnockOutPrice].join(kSeparator);
    store.knockOutCoupons = columns[ColumnKnockOutCoupon].join(kSeparator);
    store.knockInPrices = columns[ColumnKnockInPrice].join(kSeparator);
    if (closeOnSave) close();
}
