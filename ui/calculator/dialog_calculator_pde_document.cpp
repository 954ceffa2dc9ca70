// The calculator window's product files: opening one into the form, saving the form, the title
// that names the file and marks unsaved changes, and the question before changes are lost.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialog_calculator_pde.h"
#include "dialogs.h"
#include "download_paths.h"
#include "form_text.h"
#include "observe_schedule.h"
#include "product_terms.h"
#include "widget_observe_global.h"

namespace {

const char* const kFileFilter = "产品文件 (*.json);;所有文件 (*)";
const char* const kSuffix = "json";

}  // namespace

std::vector<DialogCalculatorPDE::TermField> DialogCalculatorPDE::termFields() const {
    using T = ProductFormTexts;
    return {
        {edit_S, &T::spot},
        {edit_S_max, &T::ceiling},
        {edit_vol, &T::volatility},
        {edit_div_rate, &T::dividendRate},
        {edit_rate, &T::rate},
        {edit_T, &T::maturityDays},
        {edit_ko_coupon, &T::knockOutCoupons},
        {edit_div_coupon, &T::dividendCoupon},
        {edit_ko_price, &T::knockOutPrices},
        {edit_ki_price, &T::knockInPrices},
        {edit_floor, &T::floor},
        {edit_call_strike, &T::callStrike},
        {edit_call_part, &T::callParticipation},
        {edit_M, &T::priceSteps},
        {edit_N, &T::timeSteps},
        {edit_days_per_year, &T::daysPerYear},
        {edit_adj_share, &T::adjustShare},
        {edit_adj_rate, &T::adjustRate},
    };
}

ProductFormTexts DialogCalculatorPDE::formTexts() const {
    ProductFormTexts t;
    for (const auto& [edit, text] : termFields())
        t.*text = edit->text();
    return t;
}

ProductForm DialogCalculatorPDE::currentForm() const {
    ProductForm f;
    f.name = edit_product_no->text();
    f.category = combo_snowball->currentIndex();
    f.type = combo_type->currentIndex();
    f.terms = formTexts();
    f.decimals = edit_decimals->text();
    f.accurate = combo_scheme->currentIndex() == 1;
    f.extrapolate = check_extrapolate->isChecked();
    f.trading_days = combo_days->currentIndex() == 1;
    f.start = observe_editor->startDate();
    f.end = observe_editor->endDate();
    f.frequency = observe_editor->frequencyText();
    f.lockup = observe_editor->lockupText();
    f.merged = observe_editor->sameValues();
    const ObserveSchedule& schedule = observeSchedule();
    f.dates = schedule.dates;
    f.schedule_ko_prices = schedule.knockOutPrices;
    f.schedule_ko_coupons = schedule.knockOutCoupons;
    f.schedule_ki_prices = schedule.knockInPrices;
    return f;
}

void DialogCalculatorPDE::showForm(const ProductForm& f) {
    showing_form = true;
    // The lists first: their handlers reset the extended fields and the target, written below.
    combo_snowball->setCurrentIndex(f.category);
    combo_type->setCurrentIndex(f.type);
    // Each field is written after the ones whose handlers overwrite it (S drives S_max, T drives
    // N).
    for (const auto& [edit, text] : termFields())
        edit->setText(f.terms.*text);
    edit_product_no->setText(f.name);
    observe_editor->loadSchedule(f.start, f.end, f.frequency, f.lockup, f.dates,
                                 f.schedule_ko_prices, f.schedule_ko_coupons, f.schedule_ki_prices,
                                 f.merged);
    edit_decimals->setText(f.decimals);
    combo_scheme->setCurrentIndex(f.accurate ? 1 : 0);
    check_extrapolate->setChecked(f.extrapolate);

    // Results and grids of the previous product do not belong to this one.
    engine = Snowball_PDE();
    edit_price->clear();
    clearGreeksReadout();
    label_status->clear();
    for (QPushButton* grid : {pushButton_export_matrix, pushButton_univariate, pushButton_lookup})
        grid->setEnabled(false);
    showing_form = false;
}

bool DialogCalculatorPDE::openProductFile(const QString& path) {
    ProductFile file;
    ProductFileError error;
    if (!readProductPath(QFile::encodeName(path).toStdString(), file, error)) {
        Dialogs::critical(
            this, QStringLiteral("打开产品文件错误"),
            QStringLiteral("无法打开 %1：\n%2")
                .arg(QDir::toNativeSeparators(path), QString::fromStdString(error.chinese())));
        return false;
    }
    showForm(productFormOf(file));
    product_base = file;
    product_path = path;
    setUnsavedChanges(false);
    return true;
}

bool DialogCalculatorPDE::saveProductFile(const QString& path) {
    ProductFile file;
    QString error;
    if (!productFileOf(currentForm(), product_base, file, error)) {
        Dialogs::critical(this, QStringLiteral("保存产品文件错误"),
                          QStringLiteral("产品未保存：\n%1").arg(error));
        return false;
    }
    if (!writeProductPath(path, file, error)) {
        Dialogs::critical(
            this, QStringLiteral("保存产品文件错误"),
            QStringLiteral("无法写入 %1：\n%2").arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    product_base = file;
    product_path = path;
    setUnsavedChanges(false);
    return true;
}

QString DialogCalculatorPDE::productFileDialogDir() const {
    return product_path.isEmpty() ? downloadDir() : QFileInfo(product_path).absolutePath();
}

bool DialogCalculatorPDE::saveProductAs() {
    // The product's name proposes the file name; separators in it would name other folders.
    QString name = edit_product_no->text().trimmed();
    name.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    const QString start = product_path.isEmpty()
                              ? QDir(productFileDialogDir())
                                    .filePath((name.isEmpty() ? QStringLiteral("产品") : name) +
                                              QLatin1Char('.') + kSuffix)
                              : product_path;
    QString path = Dialogs::saveFileName(this, QStringLiteral("产品另存为"), start,
                                         QString::fromUtf8(kFileFilter));
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + QLatin1String(kSuffix);
    return saveProductFile(path);
}

void DialogCalculatorPDE::on_pushButton_open_clicked() {
    if (!settleUnsavedChanges()) return;
    const QString path =
        Dialogs::openFileName(this, QStringLiteral("打开产品文件"), productFileDialogDir(),
                              QString::fromUtf8(kFileFilter));
    if (!path.isEmpty()) openProductFile(path);
}

void DialogCalculatorPDE::on_pushButton_save_as_clicked() {
    saveProductAs();
}

void DialogCalculatorPDE::on_shortcut_save_activated() {
    if (product_path.isEmpty())
        saveProductAs();
    else
        saveProductFile(product_path);
}

bool DialogCalculatorPDE::settleUnsavedChanges() {
    if (!unsaved_changes) return true;
    const QString name =
        product_path.isEmpty() ? QStringLiteral("未命名产品") : QFileInfo(product_path).fileName();
    switch (Dialogs::askSaveChanges(this, QStringLiteral("保存产品"),
                                    QStringLiteral("“%1”有未保存的修改，是否保存？").arg(name))) {
        case Dialogs::SaveChoice::Save:
            return product_path.isEmpty() ? saveProductAs() : saveProductFile(product_path);
        case Dialogs::SaveChoice::Discard:
            return true;
        case Dialogs::SaveChoice::Cancel:
            break;
    }
    return false;
}

void DialogCalculatorPDE::reject() {
    if (settleUnsavedChanges()) QDialog::reject();
}

// Every field of the product, the two lists and the schedule editor's fields and save.
void DialogCalculatorPDE::trackChanges() {
    auto changed = [this] {
        if (!showing_form) setUnsavedChanges(true);
    };
    for (QLineEdit* edit :
         {edit_S, edit_vol, edit_div_rate, edit_rate, edit_ko_coupon, edit_div_coupon,
          edit_ko_price, edit_ki_price, edit_floor, edit_call_strike, edit_call_part, edit_S_max,
          edit_M, edit_N, edit_decimals, edit_product_no})
        connect(edit, &QLineEdit::textChanged, this, changed);
    for (QComboBox* combo : {combo_type, combo_snowball, combo_scheme})
        connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this, changed);
    for (QDateEdit* date : observe_editor->findChildren<QDateEdit*>())
        connect(date, &QDateEdit::dateChanged, this, changed);
    if (auto* frequency =
            observe_editor->findChild<QComboBox*>(QStringLiteral("comboBox_frequency")))
        connect(frequency, QOverload<int>::of(&QComboBox::currentIndexChanged), this, changed);
    if (auto* lockup = observe_editor->findChild<QLineEdit*>(QStringLiteral("lineEdit_lockup")))
        connect(lockup, &QLineEdit::textChanged, this, changed);
    connect(check_extrapolate, &QCheckBox::toggled, this, changed);
    connect(observe_editor->saveButton(), &QPushButton::clicked, this, changed);
}

void DialogCalculatorPDE::setUnsavedChanges(bool unsaved) {
    unsaved_changes = unsaved;
    updateWindowTitle();
}

void DialogCalculatorPDE::updateWindowTitle() {
    const QString program = QStringLiteral("Brimvale-Pro");
    const QString mark = unsaved_changes ? QStringLiteral("*") : QString();
    if (product_path.isEmpty())
        setWindowTitle(program + (unsaved_changes ? QStringLiteral(" *") : QString()));
    else
        setWindowTitle(QFileInfo(product_path).fileName() + mark + QStringLiteral(" - ") + program);
}
