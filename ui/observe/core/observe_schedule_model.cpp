#include "observe_schedule_model.h"

#include <algorithm>

#include "form_number.h"
#include "form_text.h"
#include "observe_dates.h"

namespace {

const QString kSeparator = QStringLiteral("_");
const QString kPlaceholder = QStringLiteral("-");

ScheduleMessage message(ScheduleMessage::Kind kind, const QString& title, const QString& text) {
    return ScheduleMessage{kind, title, text};
}

ScheduleResult refused(const ScheduleMessage& box) {
    ScheduleResult r;
    r.ok = false;
    r.messages << box;
    return r;
}

ScheduleMessage hint(const QString& text) {
    return message(ScheduleMessage::Kind::Information, QStringLiteral("提示"), text);
}

ScheduleMessage saveError(const QString& text) {
    return message(ScheduleMessage::Kind::Critical, QStringLiteral("错误"), text);
}

bool isValueColumn(int column) {
    return column >= ObserveScheduleModel::ColumnKnockOutPrice &&
           column < ObserveScheduleModel::ColumnCount;
}

// Coupons are written in percent per year, so "16%" there means 16.
NumberUnit unitOf(int column) {
    return column == ObserveScheduleModel::ColumnKnockOutCoupon ? NumberUnit::Percent
                                                                : NumberUnit::Plain;
}

// A date the calendar cannot roll (outside its range) keeps the date it had.
void rollOntoTradingDay(QDate& date) {
    const QDate rolled = rolledToTradingDay(date);
    if (rolled.isValid()) date = rolled;
}

}  // namespace

QStringList ScheduleResult::lines() const {
    QStringList out;
    for (const ScheduleMessage& m : messages)
        out << m.title + QLatin1Char('|') + m.text;
    return out;
}

ObserveScheduleModel::ObserveScheduleModel(ObserveSchedule& store) : store_(store) {}

QString ObserveScheduleModel::columnTitle(int column) {
    switch (column) {
        case ColumnKnockOutPrice:
            return QStringLiteral("敲出价格");
        case ColumnKnockOutCoupon:
            return QStringLiteral("敲出票息");
        case ColumnKnockInPrice:
            return QStringLiteral("敲入价格");
        default:
            return QStringLiteral("观察日期");
    }
}

std::optional<QString> ObserveScheduleModel::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= ColumnCount) return std::nullopt;
    return rows_[row].cells[column];
}

void ObserveScheduleModel::setCellText(int row, int column, const QString& text) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= ColumnCount) return;
    if (isMerged(column) && row != 0) return;
    rows_[row].cells[column] = text;
}

bool ObserveScheduleModel::isMerged(int column) const {
    return isValueColumn(column) && merged_[column];
}

ScheduleResult ObserveScheduleModel::estimateDates(QDate& start, QDate& end,
                                                   const QString& lockupText,
                                                   const QString& frequencyText) {
    rollOntoTradingDay(start);
    rollOntoTradingDay(end);
    const int lockup = FormText::readInt(lockupText);
    const ObserveDatesResult generated = generateObserveDates(start, end, lockup, frequencyText);
    store_.dates = generated.dates;
    if (generated.ok()) return {};
    return refused(
        message(ScheduleMessage::Kind::Critical, generated.errorTitle, generated.errorText));
}

ScheduleResult ObserveScheduleModel::load(const QString& dates, const QString& knockOutPrices,
                                          const QString& knockOutCoupons,
                                          const QString& knockInPrices) {
    const QStringList parts = dates.split(kSeparator, Qt::SkipEmptyParts);
    if (parts.isEmpty()) return ScheduleResult{false, {}};
    // Copies first: the texts may be the store's own.
    const QString values[ColumnCount] = {dates, knockOutPrices, knockOutCoupons, knockInPrices};
    store_.dates = values[ColumnDate];
    store_.knockOutPrices = values[ColumnKnockOutPrice];
    store_.knockOutCoupons = values[ColumnKnockOutCoupon];
    store_.knockInPrices = values[ColumnKnockInPrice];

    rows_.assign(size_t(parts.size()), Row{});
    for (int r = 0; r < parts.size(); ++r) {
        rows_[r].cells[ColumnDate] = parts[r];
        for (int c = ColumnKnockOutPrice; c < ColumnCount; ++c)
            rows_[r].cells[c] = kPlaceholder;
    }
    std::fill(std::begin(merged_), std::end(merged_), false);

    // Prices are always written; coupons and knock-ins only when there are any.
    ScheduleResult result;
    for (int c = ColumnKnockOutPrice; c < ColumnCount; ++c) {
        if (c != ColumnKnockOutPrice && values[c].isEmpty()) continue;
        result.messages
            << fillValueColumn(values[c].split(kSeparator, Qt::SkipEmptyParts), c).messages;
    }
    return result;
}

ScheduleResult ObserveScheduleModel::loadFromStore() {
    return load(store_.dates, store_.knockOutPrices, store_.knockOutCoupons, store_.knockInPrices);
}

ScheduleResult ObserveScheduleModel::fillValueColumn(const QStringList& values, int column) {
    if (!isValueColumn(column)) return ScheduleResult{false, {}};
    if (values.size() == 1) {
        mergeColumn(column, values.first());
        return {};
    }
    ScheduleResult result;
    const QString title = QStringLiteral("请注意：");
    if (values.size() < rowCount()) {
        result.messages << message(ScheduleMessage::Kind::Warning, title,
                                   columnTitle(column) + QStringLiteral("数量小于观察日数量!"));
    } else if (values.size() > rowCount()) {
        result.messages << message(ScheduleMessage::Kind::Warning, title,
                                   columnTitle(column) + QStringLiteral("数量大于观察日数量!"));
    }
    // Only cells that exist take a value: a merged column takes the first one in its one cell.
    const int count = std::min<int>(values.size(), rowCount());
    for (int r = 0; r < count; ++r) {
        std::optional<QString>& cell = rows_[r].cells[column];
        if (cell) cell = values[r];
    }
    return result;
}

ScheduleResult ObserveScheduleModel::fillSteps(const QString& steps, const QString& start,
                                               const QString& change, int choice) {
    const int n = FormText::readInt(steps);
    const double first = FormText::readNumber(start);
    const double step = FormText::readNumber(change);
    // Values past the last row are never written; only whether there are too many matters, so a
    // huge step count is cut to one more than the rows (at least two, which never merges).
    const int count = std::min(n, std::max(rowCount() + 1, 2));
    QStringList values;
    for (int i = 0; i < count; ++i)
        values << FormText::general6(first + i * step);
    return fillValueColumn(values, choice + ColumnKnockOutPrice);
}

ScheduleResult ObserveScheduleModel::checkSelection(int row) const {
    if (rows_.empty()) return refused(hint(QStringLiteral("请先点击【预估观察日】按钮")));
    if (row < 0 || row >= rowCount()) return refused(hint(QStringLiteral("请先点击选中一行数据")));
    return {};
}

ScheduleResult ObserveScheduleModel::insertRow(int row) {
    ScheduleResult result = checkSelection(row);
    if (!result.ok) return result;
    Row added;
    added.cells[ColumnDate] = QString();
    rows_.insert(rows_.begin() + row, added);
    if (row != 0) return result;
    // A merged value stands for every row, the new first one included.
    for (int c = ColumnKnockOutPrice; c < ColumnCount; ++c) {
        if (merged_[c]) std::swap(rows_[0].cells[c], rows_[1].cells[c]);
    }
    if (sameValuesMode_) merge();
    return result;
}

ScheduleResult ObserveScheduleModel::removeRow(int row) {
    ScheduleResult result = checkSelection(row);
    if (!result.ok) return result;
    const Row first = rows_[0];
    rows_.erase(rows_.begin() + row);
    if (row != 0 || rows_.empty()) return result;
    // The merged values live in row 0; when that row goes they move to the new first row.
    for (int c = ColumnKnockOutPrice; c < ColumnCount; ++c) {
        if (sameValuesMode_) {
            rows_[0].cells[c] = first.cells[c].value_or(QString());
        } else if (merged_[c]) {
            rows_[0].cells[c] = first.cells[c];
        }
    }
    return result;
}

QString ObserveScheduleModel::firstText(int column) const {
    for (const Row& row : rows_) {
        if (row.cells[column] && !row.cells[column]->isEmpty()) return *row.cells[column];
    }
    return QString();
}

void ObserveScheduleModel::split() {
    for (int c = ColumnKnockOutPrice; c < ColumnCount; ++c) {
        const auto cells = std::count_if(rows_.begin(), rows_.end(),
                                         [c](const Row& row) { return bool(row.cells[c]); });
        if (cells != 1) continue;
        const QString text = firstText(c);
        for (size_t r = 1; r < rows_.size(); ++r)
            rows_[r].cells[c] = text;
    }
    std::fill(std::begin(merged_), std::end(merged_), false);
    sameValuesMode_ = false;
}

void ObserveScheduleModel::mergeColumn(int column, const QString& value) {
    for (Row& row : rows_)
        row.cells[column].reset();
    if (!rows_.empty()) rows_[0].cells[column] = value;
    merged_[column] = true;
}

void ObserveScheduleModel::merge() {
    for (int c = ColumnKnockOutPrice; c < ColumnCount; ++c)
        mergeColumn(c, firstText(c));
    sameValuesMode_ = true;
}

std::optional<ScheduleMessage> ObserveScheduleModel::checkRow(int row) const {
    const Row& cells = rows_[row];
    const ScheduleMessage format = saveError(QStringLiteral("数据格式错误，请检查"));
    if (!cells.cells[ColumnDate] || cells.cells[ColumnDate]->trimmed().size() != 8) return format;
    // With one value for every date only the first row must carry the values.
    if (!sameValuesMode_ || row == 0) {
        for (const std::optional<QString>& cell : cells.cells) {
            if (!cell || cell->isEmpty()) return format;
        }
    }
    // Every value that would be stored must be a number, or the window would read it as 0.
    for (int c = ColumnKnockOutPrice; c < ColumnCount; ++c) {
        if (cells.cells[c] && !readFormNumber(*cells.cells[c], unitOf(c))) {
            return saveError(
                QStringLiteral("第%1行“%2”不是数字，请检查").arg(row + 1).arg(columnTitle(c)));
        }
    }
    return std::nullopt;
}

ScheduleResult ObserveScheduleModel::check() const {
    // An empty table would store empty values, and the window would copy them into its form.
    if (rows_.empty()) return refused(saveError(QStringLiteral("无敲出观察日")));
    for (int r = 0; r < rowCount(); ++r) {
        if (const std::optional<ScheduleMessage> box = checkRow(r)) return refused(*box);
    }
    return {};
}

ScheduleResult ObserveScheduleModel::save() {
    ScheduleResult result = check();
    if (!result.ok) return result;
    QStringList columns[ColumnCount];
    for (Row& row : rows_) {
        // Dates are stored as typed; values as the number they mean, shown so in the table too.
        columns[ColumnDate] << *row.cells[ColumnDate];
        for (int c = ColumnKnockOutPrice; c < ColumnCount; ++c) {
            std::optional<QString>& cell = row.cells[c];
            if (!cell) continue;
            cell = writeFormNumber(*readFormNumber(*cell, unitOf(c)));
            columns[c] << *cell;
        }
    }
    store_.dates = columns[ColumnDate].join(kSeparator);
    store_.knockOutPrices = columns[ColumnKnockOutPrice].join(kSeparator);
    store_.knockOutCoupons = columns[ColumnKnockOutCoupon].join(kSeparator);
    store_.knockInPrices = columns[ColumnKnockInPrice].join(kSeparator);
    return result;
}
