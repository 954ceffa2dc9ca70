// Product files through the window: saved and opened again for every category, priced by the
// command-line tool as the window prices them, refused when bad, and the unsaved-changes guard.
#include <sys/wait.h>

#include <QCheckBox>
#include <QComboBox>
#include <QShortcut>
#include <QTableWidget>

#include <nlohmann/json.hpp>

#include "calculator_fixture.h"
#include "form_text.h"
#include "live_valuation.h"
#include "observe_schedule.h"
#include "run_wait.h"
#include "widget_observe_global.h"

namespace {

// Every field a product file rebuilds.
const char* const kProductFields[] = {
    "edit_S",           "edit_vol",        "edit_div_rate", "edit_rate",     "edit_T",
    "edit_ko_coupon",   "edit_div_coupon", "edit_ko_price", "edit_ki_price", "edit_floor",
    "edit_call_strike", "edit_call_part",  "edit_S_max",    "edit_M",        "edit_N",
    "edit_decimals",    "edit_product_no"};

struct CliOutput {
    int exit_code;
    nlohmann::json json;
};

class ProductDocumentTest : public CalculatorTest {
  protected:
    QString path(const char* name) const { return QString::fromStdString(dir.file(name)); }

    void saveAs(DialogCalculatorPDE& w, const QString& file) {
        recorder.answerSaveFile(file);
        w.findChild<QPushButton*>(QStringLiteral("pushButton_save_as"))->click();
    }
    void open(DialogCalculatorPDE& w, const QString& file) {
        recorder.answerOpenFile(file);
        w.findChild<QPushButton*>(QStringLiteral("pushButton_open"))->click();
    }
    // The price of the window's product to full precision, as "定价" computes it.
    static double windowPrice(DialogCalculatorPDE& w) {
        w.findChild<QPushButton*>(QStringLiteral("pushButton_price"))->click();
        EXPECT_TRUE(waitForRuns(&w));
        Snowball_PDE engine = w.pricingEngine();
        return engine.price();
    }
    // Everything the window shows of its product: the fields, the two lists, the schedule editor
    // and its table, and the saved schedule store.
    static QStringList snapshot(DialogCalculatorPDE& w) {
        QStringList s;
        for (const char* name : kProductFields)
            s << w.findChild<QLineEdit*>(QLatin1String(name))->text();
        for (const char* name : {"combo_type", "combo_snowball", "comboBox_frequency"})
            s << w.findChild<QComboBox*>(QLatin1String(name))->currentText();
        auto* editor = w.findChild<WidgetObserveGlobal*>();
        s << editor->startDate().toString() << editor->endDate().toString()
          << QString::number(editor->sameValues())
          << w.findChild<QLineEdit*>(QStringLiteral("lineEdit_lockup"))->text();
        const QTableWidget* table = editor->table();
        for (int r = 0; r < table->rowCount(); ++r)
            for (int c = 0; c < table->columnCount(); ++c)
                s << (table->item(r, c) ? table->item(r, c)->text() : QStringLiteral("(none)"));
        const ObserveSchedule& store = observeSchedule();
        s << store.dates << store.knockOutPrices << store.knockOutCoupons << store.knockInPrices;
        return s;
    }
    // brimvale-cli run in the test folder, where the test calendar lies.
    CliOutput cli(const std::string& args) const {
        const std::string out = dir.file("cli.out");
        const std::string cmd = "cd '" + dir.path().string() +
                                "' && " BRIMVALE_BIN_DIR "/brimvale-cli " + args + " >'" + out +
                                "' 2>/dev/null";
        const int status = std::system(cmd.c_str());
        const std::string text = TempDir::read(out);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                text.empty() ? nlohmann::json() : nlohmann::json::parse(text)};
    }
    // Per-date values written by the schedule editor's "设置" into one column, then saved.
    void stepColumn(DialogCalculatorPDE& w, int column, const char* start, const char* change) {
        auto* editor = w.findChild<WidgetObserveGlobal*>();
        editor->findChild<QComboBox*>(QStringLiteral("comboBox_column"))->setCurrentIndex(column);
        editor->findChild<QLineEdit*>(QStringLiteral("lineEdit_start_value"))->setText(u8(start));
        editor->findChild<QLineEdit*>(QStringLiteral("lineEdit_change"))->setText(u8(change));
        editor->findChild<QLineEdit*>(QStringLiteral("lineEdit_steps"))
            ->setText(QString::number(editor->table()->rowCount()));
        editor->findChild<QPushButton*>(QStringLiteral("pushButton_set_ob_item"))->click();
        editor->saveButton()->click();
    }
};

TEST_F(ProductDocumentTest, EveryCategorySavedAndOpenedInAFreshWindowGivesTheSameFormAndPrice) {
    for (int category = 0; category < 6; ++category) {
        SCOPED_TRACE(category);
        DialogCalculatorPDE first;
        first.findChild<QComboBox*>(QStringLiteral("combo_snowball"))->setCurrentIndex(category);
        first.findChild<QComboBox*>(QStringLiteral("combo_type"))->setCurrentIndex(category % 2);
        first.findChild<QLineEdit*>(QStringLiteral("edit_vol"))->setText(QStringLiteral("21.25"));
        first.findChild<QLineEdit*>(QStringLiteral("edit_M"))->setText(QStringLiteral("120"));
        first.findChild<QLineEdit*>(QStringLiteral("edit_product_no"))
            ->setText(u8("试样 %1").arg(category));
        if (category == 2 || category == 0)
            first.findChild<QLineEdit*>(QStringLiteral("edit_floor"))
                ->setText(QStringLiteral("70"));
        if (category == 3 || category == 0) {
            first.findChild<QLineEdit*>(QStringLiteral("edit_call_strike"))
                ->setText(QStringLiteral("103"));
            first.findChild<QLineEdit*>(QStringLiteral("edit_call_part"))
                ->setText(QStringLiteral("0.5"));
        }
        if (category >= 4) stepColumn(first, 0, "103", "-0.5");
        if (category == 5) {
            stepColumn(first, 1, "16", "-0.25");
            stepColumn(first, 2, "80", "-0.5");
        }
        const double price = windowPrice(first);
        ASSERT_TRUE(std::isfinite(price));
        const QString file = path("product.json");
        saveAs(first, file);
        ASSERT_TRUE(recorder.lines().filter(u8("错误")).isEmpty())
            << recorder.lines().join('\n').toStdString();
        EXPECT_EQ(first.productFilePath(), file);
        const QStringList saved = snapshot(first);
        if (category >= 4) {
            EXPECT_TRUE(saved.join('|').contains(QStringLiteral("102.5_102")));
        }

        DialogCalculatorPDE second;
        open(second, file);
        EXPECT_EQ(snapshot(second), saved);
        EXPECT_EQ(windowPrice(second), price);
        EXPECT_FALSE(second.hasUnsavedChanges());
        EXPECT_EQ(second.windowTitle(), QStringLiteral("product.json - Brimvale-Pro"));
    }
}

TEST_F(ProductDocumentTest, TheToolPricesAndValuesASavedFileAsTheWindowDoes) {
    const QString file = path("default.json");
    saveAs(*window, file);
    const double price = windowPrice(*window);
    const CliOutput priced = cli("price default.json");
    ASSERT_EQ(priced.exit_code, 0);
    EXPECT_EQ(priced.json.at("price").get<double>(), price) << "the unrounded price";

    // The window's look-up on 7 July 2025 at 95 after a knock-in.
    setText("edit_spot", QStringLiteral("95"));
    setText("edit_today", QStringLiteral("20250707"));
    window->findChild<QCheckBox*>()->setChecked(true);
    click("pushButton_calc_greeks");
    const CliOutput valued = cli("value default.json --date 20250707 --spot 95 --knocked-in");
    ASSERT_EQ(valued.exit_code, 0);
    const double tau = trading_year_fraction(20250707, 20260107, 252);
    const LookupReadout shown = lookupReadout(window->pricingEngine(), 95, tau, true, 252);
    const std::pair<const char*, double> values[] = {{"value", shown.price}, {"delta", shown.delta},
                                                     {"gamma", shown.gamma}, {"theta", shown.theta},
                                                     {"vega", shown.vega},   {"rho", shown.rho}};
    for (const auto& [key, v] : values)
        EXPECT_EQ(valued.json.at(key).get<double>(), v) << key;
    EXPECT_EQ(text("edit_g_price"), FormText::fixed(valued.json.at("value").get<double>(), 4));
    EXPECT_EQ(text("edit_g_theta"), FormText::fixed(valued.json.at("theta").get<double>(), 4));
}

TEST_F(ProductDocumentTest, ABadFileIsRefusedNamingTheKeyAndTheFormStaysAsItWas) {
    setText("edit_vol", QStringLiteral("33"));
    const QStringList before = snapshot(*window);
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
        ASSERT_EQ(recorder.records().size(), 1) << problem;
        const Dialogs::Record box = recorder.records().last();
        EXPECT_EQ(box.title, u8("打开产品文件错误"));
        if (std::string(problem).find('.') != std::string::npos) {
            EXPECT_TRUE(box.text.contains(u8(problem))) << box.text.toStdString();
        }
        EXPECT_EQ(snapshot(*window), before) << problem;
        EXPECT_TRUE(window->productFilePath().isEmpty());
        EXPECT_TRUE(window->hasUnsavedChanges());
    }
}

TEST_F(ProductDocumentTest, CtrlSSavesToTheFileTheProductCameFromAndCtrlOAsksForAFile) {
    const QString file = path("mine.json");
    saveAs(*window, file);
    setText("edit_ko_price", QStringLiteral("105"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("mine.json* - Brimvale-Pro"));
    for (QShortcut* shortcut : window->findChildren<QShortcut*>()) {
        if (shortcut->key() == QKeySequence(QKeySequence::Save)) emit shortcut->activated();
    }
    EXPECT_EQ(window->windowTitle(), QStringLiteral("mine.json - Brimvale-Pro"));
    const nlohmann::json saved = nlohmann::json::parse(TempDir::read(file.toStdString()));
    EXPECT_EQ(saved.at("structure").at("knock_out_price"), 105.0);

    recorder.clear();
    for (QShortcut* shortcut : window->findChildren<QShortcut*>()) {
        if (shortcut->key() == QKeySequence(QKeySequence::Open)) emit shortcut->activated();
    }
    ASSERT_EQ(recorder.records().size(), 1);
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
    type("edit_vol", QStringLiteral("25"));
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
