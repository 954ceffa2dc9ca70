// The curve chart keeps its curves in order and addresses them by index.
#include <QPen>

#include <gtest/gtest.h>

#include <qwt_plot_curve.h>

#include "plot_curve.h"

TEST(PlotCurve, ShortColourAndStyleListsFallBackToBlackSolid) {
    PlotCurve plot;
    plot.setCurves({"Value", "Target", "Extra"}, {Qt::red}, {Qt::SolidLine, Qt::DotLine});
    const QList<QwtPlotCurve*>& curves = plot.curveList();
    ASSERT_EQ(curves.size(), 3);
    EXPECT_EQ(curves[0]->title().text(), "Value");
    EXPECT_EQ(curves[0]->pen().color(), QColor(Qt::red));
    EXPECT_EQ(curves[1]->pen().color(), QColor(Qt::black));
    EXPECT_EQ(curves[1]->pen().style(), Qt::DotLine);
    EXPECT_EQ(curves[2]->pen().style(), Qt::SolidLine);
}

TEST(PlotCurve, SecondSetCurvesDetachesButKeepsTheFirstCurves) {
    PlotCurve plot;
    plot.setCurves({"Value", "Target"});
    EXPECT_EQ(plot.addCurve("More", Qt::blue, Qt::DashLine), 2);
    plot.setCurves({"New"});
    const QList<QwtPlotCurve*>& curves = plot.curveList();
    ASSERT_EQ(curves.size(), 4);
    EXPECT_EQ(curves[0]->plot(), nullptr);
    EXPECT_EQ(curves[2]->plot(), nullptr);
    EXPECT_EQ(curves[3]->plot(), &plot);
}

TEST(PlotCurve, SamplesGoToTheNamedCurveOnly) {
    PlotCurve plot;
    plot.setCurves({"Value", "Target"});
    const double x[] = {1, 2, 3};
    const double y[] = {4, 5, 6};
    plot.setCurveSamples(1, x, y, 3);
    plot.setCurveSamples(2, x, y, 3);   // no such curve
    plot.setCurveSamples(-1, x, y, 3);  // no such curve
    ASSERT_EQ(plot.curveList()[1]->dataSize(), 3u);
    EXPECT_EQ(plot.curveList()[1]->sample(2), QPointF(3, 6));
    EXPECT_EQ(plot.curveList()[0]->dataSize(), 0u);
}
