// Product files through the window: saved and opened again for every category, priced by the
// command-line tool as the window prices them, refused when bad, and the unsaved-changes guard.
#include <QShortcut>
#include <QTableWidget>

#include <nlohmann/json.hpp>

#include "calculator_fixture.h"
#include "cli_run.h"
#include "form_text.h"
#include "live_valuation.h"
#include "observe_schedule.h"

namespace {

// Every field a product file rebuilds.
const char* const kProductFields[] = {
    "edit_S",           "edit_vol",        "edit_div_rate", "edit_rate",     "edit_T",
    "edit_ko_coupon",   "edit_div_coupon", "edit_ko_price", "edit_ki_price", "edit_floor",
    "edit_call_strike", "edit_call_part",  "edit_S_max",    "edit_M",        "edit_N",
    "edit_decimals",    "edit_product_no"};

class ProductDocumentTest : public CalculatorTest {
  protected:
    QString path(const char* name) const { return QString::fromStdString(dir.file(name)); }

    void saveAs(const QString& file) {
        recorder.answerSaveFile(file);
        click("pushButton_save_as");
    }
    void open(const QString& file) {
        recorder.answerOpenFile(file);
        click("pushButton_open");
    }
    // The price of the window's product to full precision, as "定价" computes it.
    double windowPrice() {
        button("pushButton_price")->click();
        EXPECT_TRUE(waitForRun());
        Snowball_PDE priced = engine();
        return priced.price();
    }
    // Everything the window shows of its product: the fields, the two lists, the schedule editor
    // and its table, and the saved schedule store.
    QStringList snapshot() const {
        QStringList s;
        for (const char* name : kProductFields)
            s << text(name);
        for (const char* name : {"combo_type", "combo_snowball", "comboBox_frequency"})
            s << combo(name)->currentText();
        s << editor()->startDate().toString() << editor()->endDate().toString()
          << QString::number(editor()->sameValues()) << text("lineEdit_lockup");
        const QTableWidget* table = editor()->table();
        for (int r = 0; r < table->rowCount(); ++r)
            for (int c = 0; c < table->columnCount(); ++c)
                s << (table->item(r, c) ? table->item(r, c)->text() : QStringLiteral("(none)"));
        const ObserveSchedule& store = observeSchedule();
        s << store.dates << store.knockOutPrices << store.knockOutCoupons << store.knockInPrices;
        return s;
    }
    // brimvale-cli run in the test folder, where the test calendar lies.
    CliRun cli(const std::string& args) const {
        return run_shell("cd '" + dir.path().string() + "' && " + cli_path() + " " + args);
    }
    // Per-date values written by the schedule editor's "设置" into one column, then saved.
    void stepColumn(int column, const char* start, const char* change) {
        combo("comboBox_column")->setCurrentIndex(column);
        setText("lineEdit_start_value", start);
        setText("lineEdit_change", change);
        setText("lineEdit_steps", QString::number(editor()->table()->rowCount()));
        click("pushButton_set_ob_item");
        editor()->saveButton()->click();
    }
    void pressShortcut(QKeySequence::StandardKey key) {
        for (QShortcut* shortcut : window->findChildren<QShortcut*>())
            if (shortcut->key() == QKeySequence(key)) emit shortcut->activated();
    }
};

TEST_F(ProductDocumentTest, EveryCategorySavedAndOpenedInAFreshWindowGivesTheSameFormAndPrice) {
    for (int category = 0; category < 6; ++category) {
        SCOPED_TRACE(category);
        newWindow();
        combo("combo_snowball")->setCurrentIndex(category);
        combo("combo_type")->setCurrentIndex(category % 2);
        setText("edit_vol", "21.25");
        setText("edit_M", "120");
        setText("edit_product_no", u8("试样 %1").arg(category));
        if (category == 2 || category == 0) setText("edit_floor", "70");
        if (category == 3 || category == 0) {
            setText("edit_call_strike", "103");
            setText("edit_call_part", "0.5");
        }
        if (category >= 4) stepColumn(0, "103", "-0.5");
        if (category == 5) {
            stepColumn(1, "16", "-0.25");
            stepColumn(2, "80", "-0.5");
        }
        const double price = windowPrice();
        ASSERT_TRUE(std::isfinite(price));
        const QString file = path("product.json");
        saveAs(file);
        ASSERT_TRUE(recorder.lines().filter(u8("错误")).isEmpty())
            << recorder.lines().join('\n').toStdString();
        EXPECT_EQ(window->productFilePath(), file);
        const QStringList saved = snapshot();
        if (category >= 4) {
            EXPECT_TRUE(saved.join('|').contains(QStringLiteral("102.5_102")));
        }

        // A fresh window opens the file.
        newWindow();
        open(file);
        EXPECT_EQ(snapshot(), saved);
        EXPECT_EQ(windowPrice(), price);
        EXPECT_FALSE(window->hasUnsavedChanges());
        EXPECT_EQ(window->windowTitle(), QStringLiteral("product.json - Brimvale-Pro"));
    }
}

TEST_F(ProductDocumentTest, TheToolPricesAndValuesASavedFileAsTheWindowDoes) {
    const QString file = path("default.json");
    saveAs(file);
    const double price = windowPrice();
    const CliRun priced = cli("price default.json");
    ASSERT_EQ(priced.exit_code, 0) << priced.err;
    EXPECT_EQ(priced.json().at("price").get<double>(), price) << "the unrounded price";

    // The window's look-up on 7 July 2025 at 95 after a knock-in.
    setText("edit_spot", "95");
    setText("edit_today", "20250707");
    checkBox("check_knocked_in")->setChecked(true);
    click("pushButton_calc_greeks");
    const CliRun run = cli("value default.json --date 20250707 --spot 95 --knocked-in");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const nlohmann::json valued = run.json();
    const double tau = trading_year_fraction(20250707, 20260107, 252);
    const LookupReadout shown = lookupReadout(engine(), 95, tau, true, 252);
    const std::pair<const char*, double> values[] = {{"value", shown.price}, {"delta", shown.delta},
                                                     {"gamma", shown.gamma}, {"theta", shown.theta},
                                                     {"vega", shown.vega},   {"rho", shown.rho}};
    for (const auto& [key, v] : values)
        EXPECT_EQ(valued.at(key).get<double>(), v) << key;
    EXPECT_EQ(text("edit_g_price"), FormText::fixed(valued.at("value").get<double>(), 4));
    EXPECT_EQ(text("edit_g_theta"), FormText::fixed(valued.at("theta").get<double>(), 4));
}

TEST_F(ProductDocumentTest, ABadFileIsRefusedNamingTheKeyAndTheFormStaysAsItWas) {
    setText("edit_vol", "33");
    const QStringList before = snapshot();
    const std::pair<const char*, const char*> files[] = {
        {"not JSON", "{\"format\": \"brimvale-product\", "},
        {"another format", "{\"S0\": 100}"},
        {"structure.volatility_pct", R"({"format": "brimvale-product", "version": 1,
            "structure": {"volatility_pct": "18"},
            "schedule": {"start": "20250107", "maturity": "20260107", "dates": ["20260107"]}})"},
    };
    for (const auto& [problem, content] : files) {
        recorder.clear();
        EXPECT_FALSE(
            window->openProductFile(QString::fromStdString(dir.write("bad.json", content))));
        ASSERT_EQ(boxes(), 1) << problem;
        EXPECT_EQ(lastBox().title, u8("打开产品文件错误"));
        if (std::string(problem).find('.') != std::string::npos) {
            EXPECT_TRUE(lastBox().text.contains(u8(problem))) << lastBox().text.toStdString();
        }
        EXPECT_EQ(snapshot(), before) << problem;
        EXPECT_TRUE(window->productFilePath().isEmpty());
        EXPECT_TRUE(window->hasUnsavedChanges());
    }
}

TEST_F(ProductDocumentTest, CtrlSSavesToTheFileTheProductCameFromAndCtrlOAsksForAFile) {
    const QString file = path("mine.json");
    saveAs(file);
    setText("edit_ko_price", "105");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("mine.json* - Brimvale-Pro"));
    pressShortcut(QKeySequence::Save);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("mine.json - Brimvale-Pro"));
    const nlohmann::json saved = nlohmann::json::parse(TempDir::read(file.toStdString()));
    EXPECT_EQ(saved.at("structure").at("knock_out_price"), 105.0);

    recorder.clear();
    pressShortcut(QKeySequence::Open);
    ASSERT_EQ(boxes(), 1);
    EXPECT_EQ(lastBox().kind, Dialogs::Kind::OpenFile);
    EXPECT_EQ(lastBox().text, dir.path().string().c_str()) << "the folder of the current file";
}

TEST_F(ProductDocumentTest, ClosingWithUnsavedChangesAsksAndSavesKeepingUnknownKeys) {
    const std::string file = dir.write("later.json", R"({"format": "brimvale-product",
        "version": 2, "desk": "equity derivatives", "pde": {"threads": 4},
        "schedule": {"start": "20250107", "maturity": "20260107",
                     "dates": ["20250407", "20250707", "20251009", "20260107"]}})");
    ASSERT_TRUE(window->openProductFile(QString::fromStdString(file)));
    window->show();
    type("edit_vol", "25");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("later.json* - Brimvale-Pro"));

    recorder.answerSaveChanges(Dialogs::SaveChoice::Cancel);
    window->close();
    EXPECT_TRUE(window->isVisible()) << "cancel keeps the window and the changes";
    EXPECT_EQ(lastBox().kind, Dialogs::Kind::SaveChanges);

    recorder.answerSaveChanges(Dialogs::SaveChoice::Save);
    window->close();
    EXPECT_FALSE(window->isVisible());
    const nlohmann::json saved = nlohmann::json::parse(TempDir::read(file));
    EXPECT_EQ(saved.at("structure").at("volatility_pct"), 25.0);
    EXPECT_EQ(saved.at("desk"), "equity derivatives");
    EXPECT_EQ(saved.at("pde").at("threads"), 4);
    EXPECT_EQ(saved.at("version"), 2);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("later.json - Brimvale-Pro"));
}

}  // namespace
