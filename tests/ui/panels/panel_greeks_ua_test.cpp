// The univariate panel driven through its widgets.
#include <cmath>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QTimer>

#include <qwt_plot_curve.h>

#include "box_records.h"
#include "panel_greeks_ua.h"
#include "panel_test_support.h"
#include "plot_curve.h"
#include "window_driver.h"

namespace {

const std::vector<const char*> kRangeFields = {"lineEdit_start", "lineEdit_end", "lineEdit_step"};

class PanelGreeksUaTest : public ::testing::Test, protected WindowDriver {
  protected:
    PanelGreeksUaTest() : panel(100) {
        drive(panel);
        panel.copyTerms(TestSnowball::quarterly().grid(40, 40).build());
    }

    QComboBox* combo() { return child<QComboBox>("comboBox_param"); }
    const QwtPlotCurve* curve(int i) { return child<PlotCurve>("plot")->curveList().at(i); }
    // The start, end and step fields, as shown.
    QStringList range() { return texts(kRangeFields); }
    // Refines around a typed parameter; the button is enabled by a sweep, so its slot is driven.
    void refine(const char* param) {
        type("lineEdit_param", param);
        panel.on_pushButton_more_clicked();
        waitForRuns(&panel);
    }

    Dialogs::Recorder recorder;
    PanelGreeks_UA panel;
};

TEST_F(PanelGreeksUaTest, OpensOnVolatilityWithTheTargetAndEmptyResults) {
    EXPECT_EQ(panel.windowTitle(), "场外衍生品 单变量-价格分析");
    EXPECT_EQ(combo()->count(), 6);
    EXPECT_EQ(combo()->currentIndex(), 3);
    EXPECT_EQ(combo()->itemText(5), "红利&敲出票息");
    EXPECT_EQ(texts({"lineEdit_target", "lineEdit_nearest", "lineEdit_deviation"}),
              QStringList({"100", "-", "-"}));
    EXPECT_EQ(range(), QStringList({"0", "1", "0.05"}));
    EXPECT_FALSE(edit("lineEdit_step")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("pushButton_more")->isEnabled());
    EXPECT_EQ(curve(0)->title().text(), "Value");
    EXPECT_EQ(curve(1)->pen().style(), Qt::DotLine);
    EXPECT_EQ(curve(1)->pen().color(), QColor(Qt::red));
}

TEST_F(PanelGreeksUaTest, SetParamRangeSelectsTheKindAndWritesNegativeBoundsAsZero) {
    panel.setParamRange(0, -5, 110.123456789, 5);
    EXPECT_EQ(combo()->currentIndex(), 0);
    EXPECT_EQ(range(), QStringList({"0", "110.123", "5"}));
}

TEST_F(PanelGreeksUaTest, ChoosingKnockInPriceWritesItsDefaultRange) {
    combo()->setCurrentIndex(1);
    EXPECT_EQ(range(), QStringList({"80", "90", "1"}));
}

TEST_F(PanelGreeksUaTest, ZeroToOneIsSweptInTwentyPointsWithoutOne) {
    click("pushButton_analyse");
    EXPECT_TRUE(recorder.records().isEmpty());
    ASSERT_EQ(curve(0)->dataSize(), 20u);
    EXPECT_DOUBLE_EQ(curve(0)->sample(0).x(), 0);
    EXPECT_DOUBLE_EQ(curve(0)->sample(19).x(), 0.95);
    EXPECT_EQ(text("lineEdit_step"), "0.05");
    // The target line spans the swept range at the target.
    ASSERT_EQ(curve(1)->dataSize(), 2u);
    EXPECT_DOUBLE_EQ(curve(1)->sample(1).x(), 0.95);
    EXPECT_DOUBLE_EQ(curve(1)->sample(1).y(), 100);
    // The reported point is the sampled one nearest the target, the first of equals.
    size_t best = 0;
    for (size_t i = 1; i < curve(0)->dataSize(); ++i)
        if (std::abs(curve(0)->sample(i).y() - 100) < std::abs(curve(0)->sample(best).y() - 100))
            best = i;
    const QPointF p = curve(0)->sample(best);
    EXPECT_EQ(texts({"lineEdit_param", "lineEdit_nearest", "lineEdit_deviation"}),
              QStringList({QString::number(p.x(), 'g', 6), QString::number(p.y(), 'g', 6),
                           QString::number(std::abs(100 - p.y()), 'g', 6)}));
    EXPECT_TRUE(child<QPushButton>("pushButton_more")->isEnabled());
}

TEST_F(PanelGreeksUaTest, KnockOutPriceFrom100To110InFivesPricesThreePoints) {
    panel.setParamRange(0, 100, 110, 5);
    click("pushButton_analyse");
    ASSERT_EQ(curve(0)->dataSize(), 3u);
    EXPECT_DOUBLE_EQ(curve(0)->sample(2).x(), 110);
}

TEST_F(PanelGreeksUaTest, AnEndBelowTheStartDoesNothingAndSaysNothing) {
    type(kRangeFields, {"0.5", "0.2", "0.05"});
    click("pushButton_analyse");
    EXPECT_TRUE(recorder.records().isEmpty());
    EXPECT_EQ(text("lineEdit_param"), "-");
    EXPECT_EQ(curve(0)->dataSize(), 0u);
}

TEST_F(PanelGreeksUaTest, RefiningSweepsOneStepEitherSideInTenthsNeverBelowZero) {
    const struct {
        const char* param;
        const char *start, *end;  // as the fields show them; the step becomes 0.005
        size_t points;
        double first, last;
    } cases[] = {{"0.3", "0.25", "0.35", 20, 0.25, 0.345}, {"0.02", "0", "0.07", 15, 0, 0.07}};
    for (const auto& c : cases) {
        type(kRangeFields, {"0", "1", "0.05"});  // the opening range: a refinement reads the step
        refine(c.param);
        EXPECT_EQ(range(), QStringList({c.start, c.end, "0.005"})) << c.param;
        ASSERT_EQ(curve(0)->dataSize(), c.points) << c.param;
        EXPECT_NEAR(curve(0)->sample(0).x(), c.first, 1e-12) << c.param;
        EXPECT_NEAR(curve(0)->sample(c.points - 1).x(), c.last, 1e-12) << c.param;
    }
}

TEST_F(PanelGreeksUaTest, RefiningANegativeOrNonNumericParameterDoesNothing) {
    for (const char* p : {"-0.1", "-", "abc"}) {
        refine(p);
        EXPECT_EQ(range().mid(0, 2), QStringList({"0", "1"})) << p;
    }
}

TEST_F(PanelGreeksUaTest, UseWritesPricesAsTheyAreAndFractionsInPercent) {
    QList<QPair<int, double>> calls;
    click("pushButton_use");  // no window attached: nothing
    panel.attachWindow([&](int kind, double v) { calls.append({kind, v}); });
    const struct {
        int kind;
        const char* param;
        double written;
    } uses[] = {{3, "0.25", 25}, {0, " 105 ", 105}, {5, "0.16", 16}};
    for (const auto& use : uses) {
        combo()->setCurrentIndex(use.kind);
        type("lineEdit_param", use.param);
        click("pushButton_use");
        ASSERT_FALSE(calls.isEmpty()) << use.param;
        EXPECT_EQ(calls.last().first, use.kind) << use.param;
        EXPECT_DOUBLE_EQ(calls.last().second, use.written) << use.param;
    }
    EXPECT_EQ(calls.size(), 3);
    EXPECT_TRUE(recorder.records().isEmpty());
}

TEST_F(PanelGreeksUaTest, FieldsHoldTheirTextsAreNamedByTheirLabelsAndResultsAreReadOnly) {
    panel.show();
    QApplication::processEvents();
    const std::pair<const char*, const char*> fields[] = {
        {"lineEdit_start", "开始:"},     {"lineEdit_end", "结束:"},
        {"lineEdit_step", "步长:"},      {"lineEdit_target", "目标值:"},
        {"lineEdit_nearest", "最近值:"}, {"lineEdit_param", "参数:"},
        {"lineEdit_deviation", "偏差:"}};
    for (const auto& [name, label] : fields) {
        QLineEdit* field = edit(name);
        EXPECT_GE(field->width(), field->fontMetrics().horizontalAdvance("-0.000000")) << name;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(field);
        EXPECT_EQ(iface->text(QAccessible::Name), QString::fromUtf8(label)) << name;
    }
    for (const char* result : {"lineEdit_nearest", "lineEdit_param", "lineEdit_deviation"}) {
        EXPECT_TRUE(edit(result)->isReadOnly()) << result;
        EXPECT_TRUE(edit(result)->isEnabled()) << result << " stays selectable";
    }
    for (QPushButton* b : panel.findChildren<QPushButton*>())
        EXPECT_FALSE(b->isDefault()) << "Enter in a field presses " << b->text().toStdString();
    panel.hide();
}

TEST(PanelGreeksUaMessages, NoTermsUnpriceablePointsAndNoFiniteDistanceEachSayWhy) {
    Dialogs::Recorder recorder;
    PanelGreeks_UA bare(100);
    WindowDriver(bare).click("pushButton_analyse");
    ASSERT_EQ(recorder.records().size(), 1);
    EXPECT_EQ(recorder.records()[0], criticalBox("错误:", "未设置定价参数"));

    PanelGreeks_UA panel(100);
    const WindowDriver ui(panel);
    panel.copyTerms(TestSnowball::quarterly().grid(20, 20).build());
    ui.type("lineEdit_start", "-0.2");  // a negative volatility cannot be priced
    ui.click("pushButton_analyse");
    EXPECT_EQ(recorder.lines().mid(1), QStringList({"错误：|无法对结构进行定价"}));
    EXPECT_EQ(ui.text("lineEdit_param"), "-");

    ui.type("lineEdit_start", "0.1");
    ui.type("lineEdit_target", "nan");
    ui.click("pushButton_analyse");
    EXPECT_EQ(recorder.lines().mid(2), QStringList({"错误：|无法确定边界"}));
}

TEST(PanelGreeksUaOpen, RunsModallyOnACopyOfTheTermsAndWritesBackThroughTheWindow) {
    Dialogs::Recorder recorder;
    QList<QPair<int, double>> calls;
    QStringList shown;
    bool product = false;
    QTimer::singleShot(0, [&] {
        auto* panel = qobject_cast<PanelGreeks_UA*>(QApplication::activeModalWidget());
        if (!panel) return;
        const WindowDriver ui(*panel);
        shown = ui.texts({"lineEdit_start", "lineEdit_end", "lineEdit_step", "lineEdit_target"});
        product = panel->engine.product_set;
        ui.type("lineEdit_param", "0.2");
        ui.click("pushButton_use");
        panel->reject();
    });
    PanelGreeks_UA::open(TestSnowball::quarterly().grid(20, 20).build(), 98.5, 3, -1, 0.9, 0.05,
                         [&](int kind, double v) {
                             calls.append({kind, v});
                         });
    EXPECT_TRUE(product);
    EXPECT_EQ(shown, QStringList({"0", "0.9", "0.05", "98.5"}));
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].first, 3);
    EXPECT_DOUBLE_EQ(calls[0].second, 20);
}

}  // namespace
