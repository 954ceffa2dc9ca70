#include "pricing_problem.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "grid_memory.h"

namespace {

// Bytes of the column buffers and coefficients of a run, which it needs even without grids.
double working_bytes(double M) {
    return sizeof(double) * 8 * (M + 1);
}

bool all_finite(const std::vector<double>& v) {
    return std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); });
}

bool any_nan(const std::vector<double>& v) {
    return std::any_of(v.begin(), v.end(), [](double x) { return std::isnan(x); });
}

bool any_above(const std::vector<double>& v, double bound) {
    return std::any_of(v.begin(), v.end(), [bound](double x) { return x > bound; });
}

bool any_outside_life(const std::vector<double>& v, double T) {
    return std::any_of(v.begin(), v.end(), [T](double t) { return !(t >= 0 && t <= T); });
}

bool grid_too_large(const PdeParams& p, int grids) {
    // M + 1 and N + 1 have to be ints too.
    if (p.M == std::numeric_limits<int32_t>::max() || p.N == std::numeric_limits<int32_t>::max())
        return true;
    const double node_steps = (p.M + 1.0) * p.N;
    const double bytes = working_bytes(p.M) + grid_bytes(p.M, p.N, grids);
    return node_steps > kMaxNodeSteps || bytes > double(kMaxGridBytes);
}

}  // namespace

PricingProblem check_pricing_terms(const std::vector<double>& obs_time,
                                   const std::vector<double>& ko_barrier,
                                   const std::vector<double>& coupon,
                                   const std::vector<double>& ki_barrier, double div_coupon,
                                   const PdeParams& p, int grids) {
    using P = PricingProblem;
    // Written so that NaN fails every comparison.
    if (!(p.S0 > 0)) return P::InitialPriceNotPositive;
    if (!(p.S0 < p.S_max) || !std::isfinite(p.S_max)) return P::CeilingNotAboveInitial;
    if (!(p.sigma >= 0) || !std::isfinite(p.sigma)) return P::VolatilityInvalid;
    if (!(p.T > 0) || !std::isfinite(p.T)) return P::MaturityInvalid;
    if (!std::isfinite(p.r)) return P::RateInvalid;
    if (!all_finite(coupon) || !std::isfinite(div_coupon)) return P::CouponInvalid;
    if (obs_time.empty()) return P::NoObservationDates;
    if (ko_barrier.size() != obs_time.size() || coupon.size() != obs_time.size() ||
        ki_barrier.size() != obs_time.size())
        return P::ScheduleLengthMismatch;
    if (any_nan(ko_barrier) || any_nan(ki_barrier)) return P::BarrierInvalid;
    if (any_above(ko_barrier, p.S_max) || any_above(ki_barrier, p.S_max))
        return P::BarrierAboveCeiling;
    if (p.M < 2) return P::TooFewPriceSteps;
    if (p.N < 1) return P::TooFewTimeSteps;
    if (grid_too_large(p, grids)) return P::GridTooLarge;
    if (any_outside_life(obs_time, p.T)) return P::ObservationOutsideLife;
    return P::None;
}

const char* pricing_problem_text(PricingProblem problem) {
    switch (problem) {
        case PricingProblem::None:
            return "";
        case PricingProblem::InitialPriceNotPositive:
            return "期初价格必须大于0";
        case PricingProblem::CeilingNotAboveInitial:
            return "价格上限必须高于期初价格";
        case PricingProblem::VolatilityInvalid:
            return "波动率不能为负数";
        case PricingProblem::MaturityInvalid:
            return "到期期限必须大于0";
        case PricingProblem::RateInvalid:
            return "无效的无风险利率";
        case PricingProblem::CouponInvalid:
            return "无效的票息参数";
        case PricingProblem::NoObservationDates:
            return "无敲出观察日";
        case PricingProblem::ScheduleLengthMismatch:
            return "敲出价格、敲出票息、敲入价格的个数与敲出观察日不符";
        case PricingProblem::ObservationOutsideLife:
            return "敲出观察日超出产品期限";
        case PricingProblem::BarrierInvalid:
            return "无效的敲出或敲入价格";
        case PricingProblem::BarrierAboveCeiling:
            return "敲出价格或敲入价格高于价格上限";
        case PricingProblem::TooFewPriceSteps:
            return "M至少为2";
        case PricingProblem::TooFewTimeSteps:
            return "N至少为1";
        case PricingProblem::GridTooLarge:
            return "网格过大，超出内存上限，请减小M或N";
        case PricingProblem::Cancelled:
            return "计算已取消";
        case PricingProblem::OutOfMemory:
            return "内存不足，计算未完成";
    }
    return "";
}
