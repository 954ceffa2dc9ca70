#include "plot_curve.h"

#include <QPen>

#include <qwt_plot_curve.h>

PlotCurve::PlotCurve(QWidget* parent) : QwtPlot(parent) {}

// Attached curves belong to the plot; the ones a later setCurves detached belong to nobody else,
// so they go here.
PlotCurve::~PlotCurve() {
    for (QwtPlotCurve* curve : curves) {
        if (curve->plot() != this) delete curve;
    }
}

int PlotCurve::addCurve(const QByteArray& title, const QColor& colour, Qt::PenStyle style) {
    auto* curve = new QwtPlotCurve(QString::fromLatin1(title));
    curves.append(curve);
    QPen pen;
    pen.setColor(colour);
    pen.setStyle(style);
    curve->setPen(pen);
    curve->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    curve->attach(this);
    return curves.size() - 1;
}

void PlotCurve::setCurves(const QList<QByteArray>& titles, const QList<QColor>& colours,
                          const QList<Qt::PenStyle>& styles) {
    for (QwtPlotCurve* curve : curves)
        curve->detach();
    for (int i = 0; i < titles.size(); ++i) {
        addCurve(titles[i], colours.value(i, Qt::black), styles.value(i, Qt::SolidLine));
    }
}

void PlotCurve::setCurveSamples(int index, const double* x, const double* y, int count) {
    if (index < 0 || index >= curves.size()) return;
    if (count <= 0 || !x || !y) count = 0;
    curves[index]->setSamples(x, y, count);
}
