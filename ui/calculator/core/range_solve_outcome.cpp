#include "range_solve_outcome.h"

#include "snowball_pde.h"

RangeSolveOutcome rangeSolveOutcome(int rc, PricingProblem problem) {
    using Box = RangeSolveOutcome::Box;
    if (rc == 0) return {};
    if (rc == kSolveCancelled) return {Box::None, QString(), QString(), false};
    if (rc == kSolveCannotPrice)
        return {Box::Critical, QStringLiteral("结构参数错误"),
                QString::fromUtf8(pricing_problem_text(problem)), false};
    if (rc == -2)
        return {Box::Critical, QStringLiteral("未获得有效解"),
                QStringLiteral("请提高精度(增大PDE中M)再试"), false};
    if (rc == -3)
        return {Box::Critical, QStringLiteral("求解错误："), QStringLiteral("错误的目标变量"),
                false};
    QString reason;
    if (rc == -1) reason = QStringLiteral("未在限定次数内找到解");
    if (rc == -4) reason = QStringLiteral("求解区间非单调，或目标不在区间内");
    // The search may still have an answer outside the interval: point at the univariate chart.
    return {Box::Information, QStringLiteral("提示：在指定区间未能找到合适参数"),
            reason + QLatin1Char('\n') + QStringLiteral("建议通过'知x求1'进行单变量图分析"), true};
}
