#include "widget_observe_global.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>

#include "button_clicks.h"
#include "dialogs.h"
#include "observe_schedule.h"
#include "table_helpers.h"

namespace {

const QString kGreyButton =
    QStringLiteral("QPushButton { background-color : grey; color : white; }");
const QString kRedButton = QStringLiteral("QPushButton { background-color : red; color : white; }");

QTableWidgetItem* centredItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
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
    buildLayout(buildWidgets());
    connectButtons();
}

QList<QWidget*> WidgetObserveGlobal::buildWidgets() {
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

    // The settings column top to bottom, each field under its label (none for the buttons and
    // the column choice).
    const struct {
        QWidget* field;
        const char* label;
        const char* labelName;
    } settings[] = {{dateEdit_start, "起始日", "label_start"},
                    {dateEdit_end, "到期日", "label_end"},
                    {comboBox_frequency, "敲出观察频率", "label_frequency"},
                    {lineEdit_lockup, "锁定期", "label_lockup"},
                    {pushButton_observe, nullptr, nullptr},
                    {comboBox_column, nullptr, nullptr},
                    {lineEdit_start_value, "起始值", "label_start_value"},
                    {lineEdit_change, "变化", "label_change"},
                    {lineEdit_steps, "阶梯数", "label_steps"},
                    {pushButton_set_ob_item, nullptr, nullptr}};
    QList<QWidget*> column;
    for (const auto& s : settings) {
        if (s.label) column << makeLabel(QString::fromUtf8(s.label), s.labelName, s.field, this);
        column << s.field;
    }
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
    return column;
}

void WidgetObserveGlobal::buildLayout(const QList<QWidget*>& settings) {
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
    for (int row = 0; row < settings.size(); ++row)
        left->addWidget(settings[row], row, 0);
    left->addWidget(label_filler, settings.size(), 0, 5, 1);

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
    connectClicks(
        this, {{pushButton_add, &WidgetObserveGlobal::on_pushButton_add_clicked},
               {pushButton_remove, &WidgetObserveGlobal::on_pushButton_remove_clicked},
               {pushButton_divide, &WidgetObserveGlobal::on_pushButton_divide_clicked},
               {pushButton_merge, &WidgetObserveGlobal::on_pushButton_merge_clicked},
               {pushButton_save, &WidgetObserveGlobal::on_pushButton_save_clicked},
               {pushButton_observe, &WidgetObserveGlobal::on_pushButton_observe_clicked},
               {pushButton_set_ob_item, &WidgetObserveGlobal::on_pushButton_set_ob_item_clicked}});
    // What the user types into a cell goes into the model.
    connect(tableWidget_observe, &QTableWidget::itemChanged, this,
            &WidgetObserveGlobal::onItemChanged);
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
    QDate start = startDate(), end = endDate();
    const ScheduleResult result =
        model.estimateDates(start, end, lineEdit_lockup->text(), comboBox_frequency->currentText());
    dateEdit_start->setDate(start);
    dateEdit_end->setDate(end);
    // The generator's boxes have no parent.
    showMessages(result, nullptr);
}

void WidgetObserveGlobal::on_pushButton_observe_clicked() {
    estimateObserveDates();
    showLoaded(model.loadFromStore());
}

void WidgetObserveGlobal::loadScheduleTable(const QString& dates, const QString& knockOutPrices,
                                            const QString& knockOutCoupons,
                                            const QString& knockInPrices) {
    showLoaded(model.load(dates, knockOutPrices, knockOutCoupons, knockInPrices));
}

void WidgetObserveGlobal::showLoaded(const ScheduleResult& result) {
    if (result.ok) lineEdit_steps->setText(QString::number(model.rowCount()));
    showResult(result);
}

void WidgetObserveGlobal::on_pushButton_set_ob_item_clicked() {
    const ScheduleResult result =
        model.fillSteps(lineEdit_steps->text(), lineEdit_start_value->text(),
                        lineEdit_change->text(), comboBox_column->currentIndex());
    showResult(result);
}

void WidgetObserveGlobal::on_pushButton_add_clicked() {
    editCurrentRow(&ObserveScheduleModel::insertRow, &QTableWidget::insertRow);
}

void WidgetObserveGlobal::on_pushButton_remove_clicked() {
    editCurrentRow(&ObserveScheduleModel::removeRow, &QTableWidget::removeRow);
}

void WidgetObserveGlobal::editCurrentRow(ScheduleResult (ObserveScheduleModel::*modelEdit)(int),
                                         void (QTableWidget::*tableEdit)(int)) {
    const int row = tableWidget_observe->currentRow();
    const ScheduleResult result = (model.*modelEdit)(row);
    // The table makes the same edit itself, so that the selection stays on the row it was on.
    if (result.ok) (tableWidget_observe->*tableEdit)(row);
    showResult(result);
}

void WidgetObserveGlobal::on_pushButton_divide_clicked() {
    model.split();
    drawTable();
}

void WidgetObserveGlobal::on_pushButton_merge_clicked() {
    model.merge();
    drawTable();
}

void WidgetObserveGlobal::setValueForEveryDate(int column, const QString& text) {
    model.fillValueColumn({text}, column);
    drawTable();
}

void WidgetObserveGlobal::on_pushButton_save_clicked() {
    const ScheduleResult result = model.save();
    showResult(result);  // saved values show as the numbers they were read as
    if (!result.ok) return;
    emit scheduleSaved();
    if (closeOnSave) close();
}

void WidgetObserveGlobal::drawTable() {
    QTableWidget* table = tableWidget_observe;
    const QSignalBlocker blocker(table);  // drawing is no edit of the user's
    const int rows = model.rowCount();
    table->clearSpans();
    table->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = ColumnDate; c < ColumnCount; ++c) {
            const std::optional<QString> text = model.cell(r, c);
            QTableWidgetItem* item = table->item(r, c);
            if (!text) {
                delete table->takeItem(r, c);
            } else if (item) {
                item->setText(*text);
            } else {
                item = centredItem(*text);
                if (c == ColumnDate) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                table->setItem(r, c, item);
            }
        }
    }
    for (int c = ColumnKnockOutPrice; c < ColumnCount; ++c) {
        if (model.isMerged(c) && rows > 1) table->setSpan(0, c, rows, 1);
    }
}

void WidgetObserveGlobal::showResult(const ScheduleResult& result) {
    drawTable();
    showMessages(result, this);
}

void WidgetObserveGlobal::showMessages(const ScheduleResult& result, QWidget* parent) {
    for (const ScheduleMessage& m : result.messages) {
        switch (m.kind) {
            case ScheduleMessage::Kind::Information:
                Dialogs::information(parent, m.title, m.text);
                break;
            case ScheduleMessage::Kind::Warning:
                Dialogs::warning(parent, m.title, m.text);
                break;
            case ScheduleMessage::Kind::Critical:
                Dialogs::critical(parent, m.title, m.text);
                break;
        }
    }
}

void WidgetObserveGlobal::onItemChanged(QTableWidgetItem* item) {
    model.setCellText(item->row(), item->column(), item->text());
}
