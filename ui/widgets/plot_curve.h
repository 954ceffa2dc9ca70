// The curve chart: a plot whose curves are addressed by the index they were added under.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>

#include <qwt_plot.h>

class QwtPlotCurve;

class PlotCurve : public QwtPlot {
  public:
    explicit PlotCurve(QWidget* parent = nullptr);
    ~PlotCurve() override;

    // Adds an antialiased curve titled with the Latin-1 text; returns its index.
    int addCurve(const QByteArray& title, const QColor& colour, Qt::PenStyle style);
    // Detaches the curves shown so far (they keep their indices) and adds one curve per title.
    // Missing colours are black and missing styles solid.
    void setCurves(const QList<QByteArray>& titles, const QList<QColor>& colours = {},
                   const QList<Qt::PenStyle>& styles = {});
    // Replaces the points of curve `index`; an index that names no curve changes nothing. The
    // caller redraws with replot().
    void setCurveSamples(int index, const double* x, const double* y, int count);

    // Every curve added, attached or not, in the order of their indices.
    const QList<QwtPlotCurve*>& curveList() const { return curves; }

  private:
    QList<QwtPlotCurve*> curves;
};
