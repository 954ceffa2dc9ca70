// Base of the finite-difference engines: value and Greek grids, parameter blocks, look-ups.
#pragma once

#include <string>

#include <newmat/newmat.h>

#include "pde_params.h"
#include "price_grid_axes.h"

class Calculator_PDE {
  public:
    explicit Calculator_PDE(bool has_ki);
    // Copies every grid and field; the copy's output pointers are cleared in all three blocks,
    // so that a copy never writes into the grids of its source.
    Calculator_PDE(const Calculator_PDE& other);
    Calculator_PDE& operator=(const Calculator_PDE& other);
    virtual ~Calculator_PDE();

    virtual std::string param_key() const;
    virtual double price_with_grids() = 0;
    virtual double price() = 0;
    virtual bool compute_risk_grids() = 0;

    void set_grid_size(int M, int N);

    // Greeks from the grids of the last compute_risk_grids run. Returns false when a grid it
    // needs does not match the size of `price` (those Greeks are then NaN) or the file cannot
    // be written.
    bool compute_greeks(bool write_file);
    // delta, gamma, theta of price and price_ki only (after price_with_grids).
    void compute_base_greeks();
    // Appends price ("Price") and, with has_ki, price_ki ("Price_KI") to the file at path.
    bool write_price_grids(const std::string& path) const;

    // Values at underlying S and remaining life tau (years); NaN outside the grid.
    double lookup_price(double S, double tau, bool knocked_in) const;
    double lookup_delta(double S, double tau, bool knocked_in) const;
    double lookup_gamma(double S, double tau, bool knocked_in) const;
    double lookup_theta(double S, double tau, bool knocked_in) const;
    double lookup_vega(double S, double tau, bool knocked_in) const;
    double lookup_rho(double S, double tau, bool knocked_in) const;

    // The grid of the product not yet knocked in. It cannot share the name of price() in C++, so
    // it carries the suffix; every other grid keeps its plain name.
    NEWMAT::Matrix price_grid, delta, gamma, theta, vega, rho;
    NEWMAT::Matrix price_ki, delta_ki, gamma_ki, theta_ki, vega_ki, rho_ki;
    NEWMAT::Matrix price_vol_up, price_ki_vol_up;
    NEWMAT::Matrix price_rate_up, price_ki_rate_up;

    PdeParams params;
    PdeParams params_rate_up;
    PdeParams params_vol_up;

    bool has_ki;
    double dS;  // NaN until a run stored it
    double dt;  // NaN until a run stored it: no grid computed yet
    // Rows and columns of the value grids as the run that stored them laid them out; the
    // look-ups and the Greeks of a non-uniform grid read positions from here.
    PriceGridAxes grid_axes;
    double rate_bump = 0.01;
    double vol_bump = 0.01;
    double rho_scale = 100;
    double vega_scale = 100;

  private:
    double lookup(const NEWMAT::Matrix& grid, double S, double tau) const;
};
