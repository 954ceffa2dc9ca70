// The calculator window's widgets and layouts: the form groups, the header row and footer line,
// and the connections of every control.
#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTextCodec>
#include <QVBoxLayout>

#include "day_count.h"
#include "dialog_calculator_pde.h"
#include "download_paths.h"
#include "form_text.h"
#include "table_helpers.h"
#include "widget_observe_global.h"

namespace {

// The category names are kept in the program's historical 8-bit encoding.
const char* const kSnowballCategoriesGbk[] = {
    "\xD7\xD4\xB6\xA8\xD2\xE5",                  // custom
    "\xBE\xAD\xB5\xE4\xD1\xA9\xC7\xF2",          // classic
    "\xB1\xA3\xB5\xD7\xD1\xA9\xC7\xF2",          // floored
    "\xB2\xCE\xD3\xEB\xD0\xCD\xD1\xA9\xC7\xF2",  // participating
    "\xBD\xD7\xCC\xDD\xD0\xCD\xD1\xA9\xC7\xF2",  // step-down
    "\xCB\xAB\xBD\xB5\xD0\xCD\xD1\xA9\xC7\xF2",  // double step-down
};

// Wide enough for the date column of the schedule editor and its four table columns without a
// scroll bar (380 cuts the last column).
const int kObserveEditorWidth = 420;

const char* const kBigButtonStyle = "font-size:30px;color:red";

QSpacerItem* horizontalSpacer(int width) {
    return new QSpacerItem(width, 20, QSizePolicy::Fixed, QSizePolicy::Minimum);
}

// A read-out grows to hold its whole text (17 decimals and a sign included) and shows it in a
// tooltip as well; it never shrinks below the width it was laid out with.
void fitReadout(QLineEdit* edit) {
    const int base = edit->minimumWidth();
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, base](const QString& text) {
        const int margins = 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 12;
        edit->setMinimumWidth(
            std::max(base, edit->fontMetrics().horizontalAdvance(text) + margins));
        edit->setToolTip(text);
    });
}

// A per-date list is read from its start: the start stays in view, the whole list is in the
// tooltip.
void showListStart(QLineEdit* edit) {
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
        if (!edit->hasFocus()) edit->setCursorPosition(0);
        edit->setToolTip(text);
    });
}

}  // namespace

QLineEdit* DialogCalculatorPDE::field(const char* name, const QString& text) {
    QLineEdit* edit = makeNumberEdit(text, this);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QPushButton* DialogCalculatorPDE::button(const char* name, const char* text) {
    auto* pushButton = new QPushButton(QString::fromUtf8(text), this);
    pushButton->setObjectName(QLatin1String(name));
    return pushButton;
}

// A label and its field side by side; the label is the field's buddy, so assistive technology
// announces the field by the label's text.
void DialogCalculatorPDE::addLabelled(QGridLayout* grid, int row, int column, const char* label,
                                      QWidget* widget) {
    auto* text = new QLabel(QString::fromUtf8(label));
    text->setBuddy(widget);
    grid->addWidget(text, row, column);
    grid->addWidget(widget, row, column + 1);
}

void DialogCalculatorPDE::buildWindow() {
    auto* left = new QVBoxLayout;
    left->addLayout(buildCategoryRow());
    left->addWidget(buildStructureGroup());
    auto* groups = new QHBoxLayout;
    groups->addWidget(buildRiskGroup());
    groups->addWidget(buildLookupGroup());
    groups->addWidget(buildGreeksGroup());
    groups->addWidget(buildScenarioGroup());
    groups->addWidget(buildPdeGroup());
    left->addLayout(groups);

    auto* body = new QHBoxLayout;
    body->addLayout(left, 2);
    body->addWidget(buildObserveGroup(), 1);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(buildHeaderRow());
    outer->addLayout(body);
    outer->addItem(new QSpacerItem(20, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));
    outer->addLayout(buildFooterLine());

    group_import_export = buildImportExportGroup();
}

QLayout* DialogCalculatorPDE::buildHeaderRow() {
    auto* title = new QLabel(QStringLiteral("雪球结构定价与风险分析"), this);
    title->setObjectName(QStringLiteral("label_header"));
    title->setStyleSheet(QStringLiteral("font-weight:bold"));
    auto* hint =
        new QLabel(QStringLiteral("百分比参数按%输入；修改观察日后请先点击【保存】"), this);
    hint->setObjectName(QStringLiteral("label_header_hint"));
    auto* row = new QHBoxLayout;
    row->addWidget(title);
    row->addStretch(1);
    row->addWidget(hint);
    return row;
}

QLayout* DialogCalculatorPDE::buildCategoryRow() {
    combo_snowball = new QComboBox(this);
    combo_snowball->setObjectName(QStringLiteral("combo_snowball"));
    fillCategoryCombo();
    pushButton_snowball = button("pushButton_snowball", "?");
    pushButton_snowball->setFixedWidth(30);
    pushButton_snowball->setToolTip(QStringLiteral("查看类别说明"));

    auto* label = new QLabel(QStringLiteral("雪球类别："), this);
    label->setBuddy(combo_snowball);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(combo_snowball);
    row->addWidget(pushButton_snowball);
    row->addItem(horizontalSpacer(300));
    return row;
}

void DialogCalculatorPDE::fillCategoryCombo() {
    QTextCodec* gbk = QTextCodec::codecForName("GBK");
    for (const char* name : kSnowballCategoriesGbk)
        combo_snowball->addItem(gbk->toUnicode(name));
}

QGroupBox* DialogCalculatorPDE::buildStructureGroup() {
    combo_type = new QComboBox(this);
    combo_type->setObjectName(QStringLiteral("combo_type"));
    edit_S = field("edit_S", QString());
    edit_vol = field("edit_vol", QStringLiteral("20"));
    edit_div_rate = field("edit_div_rate", QStringLiteral("0"));
    edit_rate = field("edit_rate", QString());
    edit_T = field("edit_T", QString());
    edit_T->setEnabled(false);
    edit_price = field("edit_price", QString());
    edit_ko_coupon = field("edit_ko_coupon", QStringLiteral("16"));
    edit_div_coupon = field("edit_div_coupon", QStringLiteral("16"));
    edit_ko_price = field("edit_ko_price", QStringLiteral("103"));
    edit_ki_price = field("edit_ki_price", QStringLiteral("85"));
    edit_floor = field("edit_floor", QStringLiteral("0"));
    edit_call_strike = field("edit_call_strike", QStringLiteral("0"));
    edit_call_part = field("edit_call_part", QStringLiteral("0"));

    auto* group = new QGroupBox(QStringLiteral("结构参数:"), this);
    auto* grid = new QGridLayout(group);
    addLabelled(grid, 0, 0, "类型", combo_type);
    grid->addWidget(new QLabel(QStringLiteral("扩展参数:")), 0, 4);
    addLabelled(grid, 1, 0, FormFields::kSpot.label, edit_S);
    addLabelled(grid, 2, 0, FormFields::kVolatility.label, edit_vol);
    addLabelled(grid, 3, 0, FormFields::kDividendRate.label, edit_div_rate);
    addLabelled(grid, 4, 0, FormFields::kRate.label, edit_rate);
    addLabelled(grid, 5, 0, FormFields::kMaturityDays.label, edit_T);
    addLabelled(grid, 6, 0, "理论价格", edit_price);
    addLabelled(grid, 1, 2, FormFields::kKnockOutCoupons.label, edit_ko_coupon);
    addLabelled(grid, 2, 2, FormFields::kDividendCoupon.label, edit_div_coupon);
    addLabelled(grid, 3, 2, FormFields::kKnockOutPrices.label, edit_ko_price);
    addLabelled(grid, 4, 2, FormFields::kKnockInPrices.label, edit_ki_price);
    addLabelled(grid, 1, 4, FormFields::kFloor.label, edit_floor);
    addLabelled(grid, 2, 4, FormFields::kCallStrike.label, edit_call_strike);
    addLabelled(grid, 3, 4, FormFields::kCallParticipation.label, edit_call_part);

    pushButton_price = button("pushButton_price", "定价");
    pushButton_search_100 = button("pushButton_search_100", "知x求1");
    pushButton_price_MC = button("pushButton_price_MC", "MC");
    pushButton_price->setStyleSheet(QLatin1String(kBigButtonStyle));
    pushButton_search_100->setStyleSheet(QLatin1String(kBigButtonStyle));
    pushButton_price_MC->hide();
    grid->addWidget(pushButton_price, 7, 2, 1, 2);
    grid->addWidget(pushButton_search_100, 7, 4, 1, 2);
    grid->addWidget(pushButton_price_MC, 7, 4, 1, 2);
    grid->addItem(new QSpacerItem(20, 20, QSizePolicy::Expanding, QSizePolicy::Minimum), 7, 6);
    grid->addLayout(buildRangeRow(), 8, 0, 1, 7);
    return group;
}

QLayout* DialogCalculatorPDE::buildRangeRow() {
    combo_target = makeCombo({QStringLiteral("波动率"), QStringLiteral("红利&敲出票息")}, this);
    combo_target->setObjectName(QStringLiteral("combo_target"));
    // Qt on X11 announces a combo box by its current item and ignores the accessible name, so
    // the description carries the name as well.
    combo_target->setAccessibleName(QStringLiteral("combo_target"));
    combo_target->setAccessibleDescription(QStringLiteral("combo_target"));
    edit_range_start = field("edit_range_start", QStringLiteral("0"));
    edit_range_end = field("edit_range_end", QStringLiteral("1"));
    edit_target = field("edit_target", QStringLiteral("100"));
    pushButton_range = button("pushButton_range", "区间求解");

    auto* row = new QHBoxLayout;
    row->addWidget(combo_target);
    for (auto [label, edit] :
         {std::pair{"区间开始:", edit_range_start}, std::pair{"区间结束:", edit_range_end},
          std::pair{"目标值:", edit_target}}) {
        auto* text = new QLabel(QString::fromUtf8(label), this);
        text->setBuddy(edit);
        row->addWidget(text);
        row->addWidget(edit);
    }
    row->addWidget(pushButton_range);
    return row;
}

QGroupBox* DialogCalculatorPDE::buildRiskGroup() {
    pushButton_calc_greeks = button("pushButton_calc_greeks", "风险指标计算");
    pushButton_export_matrix = button("pushButton_export_matrix", "导出矩阵");
    pushButton_univariate = button("pushButton_univariate", "单变量-价格图");
    pushButton_export_matrix->hide();

    auto* group = new QGroupBox(QStringLiteral("风险分析"), this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(pushButton_calc_greeks, 0, 0);
    grid->addWidget(pushButton_export_matrix, 1, 0);
    grid->addWidget(pushButton_univariate, 2, 0);
    return group;
}

QGroupBox* DialogCalculatorPDE::buildLookupGroup() {
    edit_spot = field("edit_spot", QStringLiteral("100"));
    edit_today = field("edit_today", FormText::dateText(today()));
    check_knocked_in = new QCheckBox(QStringLiteral("是否敲入"), this);
    check_knocked_in->setObjectName(QStringLiteral("check_knocked_in"));
    pushButton_lookup = button("pushButton_lookup", "查表");

    auto* group = new QGroupBox(QStringLiteral("查表:"), this);
    auto* grid = new QGridLayout(group);
    addLabelled(grid, 0, 0, "今价：", edit_spot);
    addLabelled(grid, 1, 0, "今日：", edit_today);
    grid->addWidget(check_knocked_in, 2, 1);
    grid->addWidget(pushButton_lookup, 3, 1);
    return group;
}

QGroupBox* DialogCalculatorPDE::buildGreeksGroup() {
    // Object names and labels, in the order of greeks_readout.
    const std::pair<const char*, const char*> readouts[] = {
        {"edit_g_price", "价格:"},     {"edit_g_delta", "Delta"}, {"edit_g_gamma", "Gamma"},
        {"edit_g_theta", "Theta(1D)"}, {"edit_g_vega", "Vega"},   {"edit_g_rho", "Rho(1%)"},
    };
    auto* group = new QGroupBox(QStringLiteral("Greeks:"), this);
    auto* grid = new QGridLayout(group);
    for (std::size_t row = 0; row < greeks_readout.size(); ++row) {
        const auto [name, label] = readouts[row];
        greeks_readout[row] = field(name, QString());
        addLabelled(grid, int(row), 0, label, greeks_readout[row]);
    }
    greeks_readout.front()->setMinimumWidth(80);
    return group;
}

QGroupBox* DialogCalculatorPDE::buildScenarioGroup() {
    pushButton_stress_test = button("pushButton_stress_test", "压力测试");
    pushButton_win_rate = button("pushButton_win_rate", "胜率分析");
    auto* group = new QGroupBox(QStringLiteral("情景分析:"), this);
    auto* box = new QVBoxLayout(group);
    box->addWidget(pushButton_stress_test);
    box->addWidget(pushButton_win_rate);
    return group;
}

QGroupBox* DialogCalculatorPDE::buildPdeGroup() {
    edit_S_max = field("edit_S_max", QString());
    edit_M = field("edit_M", QStringLiteral("200"));
    edit_N = field("edit_N", QStringLiteral("84"));
    edit_decimals = field("edit_decimals", QStringLiteral("4"));
    combo_days = makeCombo({QStringLiteral("自然日"), QStringLiteral("交易日")}, this);
    combo_days->setObjectName(QStringLiteral("combo_days"));
    combo_days->setCurrentIndex(1);
    combo_days->setEnabled(false);
    edit_days_per_year = field("edit_days_per_year", QString::number(kTradingDaysPerYear));
    edit_days_per_year->setEnabled(false);
    combo_scheme = makeCombo({QStringLiteral("标准"), QStringLiteral("高精度")}, this);
    combo_scheme->setObjectName(QStringLiteral("combo_scheme"));
    // Announced by its name as well as its item, like the solve target combo.
    combo_scheme->setAccessibleName(QStringLiteral("combo_scheme"));
    combo_scheme->setAccessibleDescription(QStringLiteral("combo_scheme"));
    combo_scheme->setToolTip(
        QStringLiteral("标准：逐日隐式差分；高精度：非均匀网格与多步L稳定格式"));
    check_extrapolate = new QCheckBox(QStringLiteral("外推"), this);
    check_extrapolate->setObjectName(QStringLiteral("check_extrapolate"));
    check_extrapolate->setToolTip(
        QStringLiteral("在加密一倍的网格上再算一次并外推，同时给出误差估计"));
    check_extrapolate->setEnabled(false);
    connect(combo_scheme, QOverload<int>::of(&QComboBox::currentIndexChanged), check_extrapolate,
            [this](int index) { check_extrapolate->setEnabled(index == 1); });

    auto* group = new QGroupBox(QStringLiteral("PDE参数:"), this);
    auto* grid = new QGridLayout(group);
    addLabelled(grid, 0, 0, FormFields::kCeiling.label, edit_S_max);
    addLabelled(grid, 1, 0, FormFields::kPriceSteps.label, edit_M);
    addLabelled(grid, 2, 0, FormFields::kTimeSteps.label, edit_N);
    addLabelled(grid, 3, 0, "小数位数:", edit_decimals);
    addLabelled(grid, 4, 0, "日数", combo_days);
    addLabelled(grid, 5, 0, FormFields::kDaysPerYear.label, edit_days_per_year);
    addLabelled(grid, 6, 0, "算法", combo_scheme);
    grid->addWidget(check_extrapolate, 7, 1);
    return group;
}

QGroupBox* DialogCalculatorPDE::buildObserveGroup() {
    observe_editor = new WidgetObserveGlobal(false, false);
    observe_editor->setObjectName(QStringLiteral("observe_editor"));
    observe_editor->setMinimumWidth(kObserveEditorWidth);
    auto* group = new QGroupBox(QStringLiteral("观察日:"), this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(observe_editor, 0, 1, 1, 3);
    return group;
}

// Never placed in the window: the product number and the status text keep their values without
// being displayed, and the hidden adjustment fields and the opening price live here too.
QGroupBox* DialogCalculatorPDE::buildImportExportGroup() {
    edit_product_no = field("edit_product_no", QString());
    edit_product_no->setFixedWidth(120);
    pushButton_default_param = button("pushButton_default_param", "缺省值");
    pushButton_default_param->hide();
    label_status = new QLabel(this);
    label_status->setObjectName(QStringLiteral("label_status"));
    label_status->setAccessibleName(QStringLiteral("label_status"));
    label_status->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* group = new QGroupBox(QStringLiteral("导入导出"), this);
    auto* row = new QHBoxLayout(group);
    auto* number = new QLabel(QStringLiteral("结构编号"));
    number->setBuddy(edit_product_no);
    row->addWidget(number);
    row->addWidget(edit_product_no);
    row->addItem(horizontalSpacer(80));
    row->addWidget(pushButton_default_param);
    row->addItem(horizontalSpacer(300));
    row->addWidget(label_status);

    edit_open_price = field("edit_open_price", QStringLiteral("100"));
    edit_open_price->setParent(group);
    auto* open = new QLabel(QStringLiteral("开价:"), group);
    open->setBuddy(edit_open_price);
    edit_adj_share = field("edit_adj_share", QStringLiteral("0"));
    edit_adj_rate = field("edit_adj_rate", QStringLiteral("0"));
    for (QLineEdit* hidden : {edit_adj_share, edit_adj_rate}) {
        hidden->setParent(group);
        hidden->setAccessibleName(hidden->objectName());
    }
    group->hide();
    return group;
}

// The product file is offered here, beside the folder that every export of the window uses.
QLayout* DialogCalculatorPDE::buildFooterLine() {
    pushButton_save_CSV = button("pushButton_save_CSV", "导出CSV");
    pushButton_open = button("pushButton_open", "打开...");
    pushButton_open->setToolTip(QStringLiteral("打开产品文件 (Ctrl+O)"));
    pushButton_save_as = button("pushButton_save_as", "另存为...");
    pushButton_save_as->setToolTip(QStringLiteral("将产品保存为文件 (Ctrl+S 保存到当前文件)"));
    auto* folder = new QLabel(QStringLiteral("导出目录：%1").arg(downloadDir()), this);
    folder->setObjectName(QStringLiteral("label_download_dir"));
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* row = new QHBoxLayout;
    row->addWidget(folder, 1);
    row->addWidget(pushButton_open);
    row->addWidget(pushButton_save_as);
    row->addWidget(pushButton_save_CSV);
    return row;
}

void DialogCalculatorPDE::clearDefaultButtons() {
    // A dialog makes its first auto-default button the default one when shown (here "?").
    for (QPushButton* pushButton : findChildren<QPushButton*>()) {
        pushButton->setAutoDefault(false);
        pushButton->setDefault(false);
    }
}

void DialogCalculatorPDE::keepTextsWhole() {
    edit_price->setReadOnly(true);
    fitReadout(edit_price);
    for (QLineEdit* output : greeks_readout) {
        output->setReadOnly(true);
        fitReadout(output);
    }
    for (QLineEdit* list : {edit_ko_price, edit_ko_coupon, edit_ki_price})
        showListStart(list);
}

void DialogCalculatorPDE::connectSignals() {
    using D = DialogCalculatorPDE;
    connect(combo_snowball, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &D::on_combo_snowball_changed);
    connect(combo_days, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &D::on_combo_days_changed);
    connect(edit_S, &QLineEdit::textChanged, this, &D::on_S_changed);
    connect(edit_T, &QLineEdit::textChanged, this, &D::on_T_changed);
    const std::pair<QPushButton*, void (D::*)()> clicks[] = {
        {pushButton_price, &D::on_pushButton_price_clicked},
        {pushButton_search_100, &D::on_pushButton_search_100_clicked},
        {pushButton_price_MC, &D::on_pushButton_price_MC_clicked},
        {pushButton_range, &D::on_pushButton_range_clicked},
        {pushButton_calc_greeks, &D::on_pushButton_calc_greeks_clicked},
        {pushButton_export_matrix, &D::on_pushButton_export_matrix_clicked},
        {pushButton_univariate, &D::on_pushButton_univariate_clicked},
        {pushButton_lookup, &D::on_pushButton_lookup_clicked},
        {pushButton_stress_test, &D::on_pushButton_stress_test_clicked},
        {pushButton_win_rate, &D::on_pushButton_win_rate_clicked},
        {pushButton_snowball, &D::on_pushButton_snowball_clicked},
        {pushButton_default_param, &D::on_pushButton_default_param_clicked},
        {pushButton_save_CSV, &D::on_pushButton_save_CSV_clicked},
        {pushButton_open, &D::on_pushButton_open_clicked},
        {pushButton_save_as, &D::on_pushButton_save_as_clicked},
    };
    for (const auto& [pushButton, slot] : clicks)
        connect(pushButton, &QPushButton::clicked, this, slot);
    // The form copies the store once the editor has saved it, and not after a refused save.
    connect(observe_editor, &WidgetObserveGlobal::scheduleSaved, this, &D::on_observe_save_clicked);
    auto* open = new QShortcut(QKeySequence::Open, this);
    auto* save = new QShortcut(QKeySequence::Save, this);
    connect(open, &QShortcut::activated, this, &D::on_pushButton_open_clicked);
    connect(save, &QShortcut::activated, this, &D::on_shortcut_save_activated);
}
