// The calculator window: the snowball product form, its checks, the pricing, solving and Greeks
// actions behind its buttons, and the product file.
#pragma once

#include <array>
#include <utility>
#include <vector>

#include <QDate>
#include <QDialog>
#include <QString>

#include "form_values.h"
#include "product_file.h"
#include "product_form.h"
#include "snowball_pde.h"

class BackgroundRun;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class WidgetObserveGlobal;

class DialogCalculatorPDE : public QDialog {
    Q_OBJECT
  public:
    explicit DialogCalculatorPDE(QWidget* parent = nullptr);
    ~DialogCalculatorPDE() override;

    // The univariate panel puts a found parameter back into the form (a ParamKind code; coupons
    // and volatility in percent). Unknown kinds change nothing.
    void setFormParam(int kind, double value);
    // edit_T := trading days from start to end, both counted; edit_N follows.
    void update_maturity_days(const QDate& start, const QDate& end);

    // The engine as the last finished action left it.
    const Snowball_PDE& pricingEngine() const { return engine; }

    // The window's idea of today (the default schedule and the look-up date); tests pin it.
    static QDate (*today)();

    // Shows the product of a product file; on a bad file a box names the problem and the form
    // stays as it was. True when the file was opened.
    bool openProductFile(const QString& path);
    // Writes the form to a product file (replacing it whole, or not at all); a box on failure.
    bool saveProductFile(const QString& path);
    // The product file the form was last opened from or saved to; empty for a new product.
    QString productFilePath() const { return product_path; }
    // True while the form holds changes not saved to a product file.
    bool hasUnsavedChanges() const { return unsaved_changes; }

    // Closing asks first whether to save unsaved changes; "取消" keeps the window open.
    void reject() override;

    // Closing the window ends the program: a win-rate run is stopped and the panels close too.
    void done(int result) override;

  protected:
    // Escape would reject the dialog and end the program with the user's terms lost; the window
    // closes only by its close button.
    void keyPressEvent(QKeyEvent* event) override;

  private slots:
    void on_combo_type_changed(int index);
    void on_combo_days_changed(int index);
    void on_combo_snowball_changed(int index);
    void on_T_changed(const QString& text);
    void on_S_changed(const QString& text);
    void on_pushButton_price_clicked();
    void on_pushButton_search_100_clicked();
    void on_pushButton_range_clicked();
    void on_pushButton_price_MC_clicked();
    void on_pushButton_default_param_clicked();
    void on_pushButton_snowball_clicked();
    void on_observe_save_clicked();
    void on_pushButton_save_CSV_clicked();
    void on_pushButton_calc_greeks_clicked();
    void on_pushButton_lookup_clicked();
    void on_pushButton_univariate_clicked();
    void on_pushButton_stress_test_clicked();
    void on_pushButton_win_rate_clicked();
    void on_pushButton_export_matrix_clicked();
    void on_pushButton_open_clicked();
    void on_pushButton_save_as_clicked();
    // Ctrl+S: to the file the product came from, or as "另存为..." for a new product.
    void on_shortcut_save_activated();

  private:
    // Window layout (dialog_calculator_pde_layout.cpp).
    void buildWindow();
    QLayout* buildHeaderRow();
    QLayout* buildCategoryRow();
    QGroupBox* buildStructureGroup();
    QLayout* buildRangeRow();
    QGroupBox* buildRiskGroup();
    QGroupBox* buildLookupGroup();
    QGroupBox* buildGreeksGroup();
    QGroupBox* buildScenarioGroup();
    QGroupBox* buildPdeGroup();
    QGroupBox* buildObserveGroup();
    QGroupBox* buildImportExportGroup();
    QLayout* buildFooterLine();
    void connectSignals();
    QLineEdit* field(const char* name, const QString& text);
    QPushButton* button(const char* name, const char* text);
    void addLabelled(QGridLayout* grid, int row, int column, const char* label, QWidget* widget);
    void fillCategoryCombo();
    // No button of the window is a default one that Enter in a field would press.
    void clearDefaultButtons();
    // The read-outs grow with their text and show it whole in a tooltip; list fields keep
    // their start in view and show the whole list in a tooltip.
    void keepTextsWhole();

    // The form as texts and product files (dialog_calculator_pde_document.cpp).
    // The number fields beside the texts they hold, each after the fields whose handlers write it.
    using TermField = std::pair<QLineEdit*, QString ProductFormTexts::*>;
    std::vector<TermField> termFields() const;
    ProductFormTexts formTexts() const;
    ProductForm currentForm() const;
    void showForm(const ProductForm& form);
    void trackChanges();
    void setUnsavedChanges(bool unsaved);
    void updateWindowTitle();
    // Asks whether to save unsaved changes; false when the user cancels or the save fails.
    bool settleUnsavedChanges();
    // "另存为...": asks for the file name; false when cancelled or not saved.
    bool saveProductAs();
    QString productFileDialogDir() const;

    // Checks and engine set-up (dialog_calculator_pde_checks.cpp).
    bool require_product();
    bool validate_schedule(QString& error);
    bool validate_terms(QString& error, bool price_only);
    // The form into the engine, by the code that reads a product file (no checks).
    void read_form();
    void commit_product(double adj_rate, double adj_share);
    // Both checks, each failure in its own box; true when the product may be priced.
    bool validate_schedule_and_terms();
    // What an action checks before it prices: the form's checks (schedule and terms, the terms
    // alone, or the initial price alone), every number strictly read, the maturity against the
    // schedule and the engine's own check for a run holding `grids` grids. Each failure in one box,
    // the engine left as it was; on success the form is read into the engine (not committed).
    enum class FormCheck { Full, TermsOnly, InitialPriceOnly };
    bool prepareEngine(FormCheck check, int grids);
    bool maturityMatchesSchedule(double maturityDays);
    // A plain number field outside the product terms; a box naming `label` when it is none.
    bool readNumberField(QLineEdit* edit, const char* label, double& value);
    // The look-up's year length and time to maturity from "今日"; a box when either is refused.
    bool readLookupTime(double& days_per_year, double& tau);

    // Actions (dialog_calculator_pde_pricing.cpp, dialog_calculator_pde_greeks.cpp).
    void open_univariate();
    void showRangeSolveOutcome(int rc, int kind, double result);
    // Pricing, solving and the Greeks run go through `run`: off this thread, one at a time. A
    // finished run hands its engine back here; a cancelled one leaves engine and form as they were.
    void createBackgroundRun();
    void showCancelled();
    struct GreeksRunResult;
    void finishGreeksRun(const GreeksRunResult& result, const QString& gridFile);
    void clearGreeksReadout();
    // Appends the price grids to path, whole or not at all; a failure is shown in a box.
    bool writePriceGrids(const QString& path);

    // The analysis panels are opened here. Each receives the engine in the state the launching
    // slot left it (checked, read and committed where the slot does so).
    //  - openUnivariatePanel: a modal PanelGreeks_UA for `kind` (volatility) with the initial
    //    target price, the interval and step to sweep; its "use" button calls setFormParam.
    //  - openStressPanel: the one PanelStress of the process, shown and raised.
    //  - openWinRatePanel: the one PanelWinRate of the process, given the schedule editor for
    //    the start and maturity dates, shown and raised.
    void openUnivariatePanel(int kind, double initialTarget, double rangeStart, double rangeEnd,
                             double step);
    void openStressPanel();
    void openWinRatePanel();

    Snowball_PDE engine;
    BackgroundRun* run = nullptr;
    WidgetObserveGlobal* observe_editor = nullptr;

    QComboBox* combo_type = nullptr;
    QComboBox* combo_days = nullptr;
    QComboBox* combo_snowball = nullptr;
    QComboBox* combo_target = nullptr;
    QComboBox* combo_scheme = nullptr;
    QCheckBox* check_extrapolate = nullptr;
    QCheckBox* check_knocked_in = nullptr;
    QLabel* label_status = nullptr;

    QLineEdit* edit_S = nullptr;
    QLineEdit* edit_vol = nullptr;
    QLineEdit* edit_div_rate = nullptr;
    QLineEdit* edit_rate = nullptr;
    QLineEdit* edit_T = nullptr;
    QLineEdit* edit_price = nullptr;
    QLineEdit* edit_ko_coupon = nullptr;
    QLineEdit* edit_div_coupon = nullptr;
    QLineEdit* edit_ko_price = nullptr;
    QLineEdit* edit_ki_price = nullptr;
    QLineEdit* edit_floor = nullptr;
    QLineEdit* edit_call_strike = nullptr;
    QLineEdit* edit_call_part = nullptr;
    QLineEdit* edit_adj_share = nullptr;
    QLineEdit* edit_adj_rate = nullptr;
    QLineEdit* edit_S_max = nullptr;
    QLineEdit* edit_M = nullptr;
    QLineEdit* edit_N = nullptr;
    QLineEdit* edit_decimals = nullptr;
    QLineEdit* edit_days_per_year = nullptr;
    QLineEdit* edit_open_price = nullptr;
    QLineEdit* edit_spot = nullptr;
    QLineEdit* edit_today = nullptr;
    QLineEdit* edit_range_start = nullptr;
    QLineEdit* edit_range_end = nullptr;
    QLineEdit* edit_target = nullptr;
    // The Greeks read-outs in the order of their group: price, delta, gamma, theta per trading
    // day, vega and rho per percentage point.
    std::array<QLineEdit*, 6> greeks_readout{};
    QLineEdit* edit_product_no = nullptr;

    QPushButton* pushButton_price = nullptr;
    QPushButton* pushButton_search_100 = nullptr;
    QPushButton* pushButton_price_MC = nullptr;
    QPushButton* pushButton_range = nullptr;
    QPushButton* pushButton_calc_greeks = nullptr;
    QPushButton* pushButton_export_matrix = nullptr;
    QPushButton* pushButton_univariate = nullptr;
    QPushButton* pushButton_lookup = nullptr;
    QPushButton* pushButton_stress_test = nullptr;
    QPushButton* pushButton_win_rate = nullptr;
    QPushButton* pushButton_snowball = nullptr;
    QPushButton* pushButton_default_param = nullptr;
    QPushButton* pushButton_save_CSV = nullptr;

    QPushButton* pushButton_open = nullptr;
    QPushButton* pushButton_save_as = nullptr;

    // The product file behind the form: its path, what it held beyond the form (version and
    // unknown keys, written back on save), and whether the form changed since.
    QString product_path;
    ProductFile product_base;
    bool unsaved_changes = false;
    bool showing_form = false;  // a file is being shown: its edits are no changes

    // The import and export group is built but never placed in the window.
    QGroupBox* group_import_export = nullptr;
};
