#include "nonuniform_operator.h"

#include <cstddef>

NonUniformOperator::NonUniformOperator(const std::vector<double>& nodes, double sigma, double r,
                                       double q) {
    const double mu = r - q;
    const double s2 = sigma * sigma;
    const std::size_t n = nodes.size() - 2;
    lower_.resize(n);
    diag_.resize(n);
    upper_.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        const double S = nodes[k + 1];
        const double hm = S - nodes[k];
        const double hp = nodes[k + 2] - S;
        const double den = hm * hp * (hm + hp);
        const double diffusion = 0.5 * s2 * S * S;
        const double drift = mu * S;
        // Central differences: second 2[h+·V− − (h− + h+)·V + h−·V+]/den,
        // first [−h+²·V− + (h+² − h−²)·V + h−²·V+]/den.
        const double l = diffusion * 2 * hp / den - drift * hp * hp / den;
        const double d = -diffusion * 2 * (hm + hp) / den + drift * (hp * hp - hm * hm) / den;
        const double u = diffusion * 2 * hm / den + drift * hm * hm / den;
        lower_[k] = l;
        diag_[k] = d - r;
        upper_[k] = u;
    }
}

void NonUniformOperator::factorise_shifted(double k, TwistedTridiagonal& system) const {
    const std::size_t n = diag_.size();
    std::vector<double> lower(n), diag(n), upper(n);
    for (std::size_t i = 0; i < n; ++i) {
        lower[i] = -k * lower_[i];
        diag[i] = 1 - k * diag_[i];
        upper[i] = -k * upper_[i];
    }
    system.factorise(lower.data(), diag.data(), upper.data(), n);
}
