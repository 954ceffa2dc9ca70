// Base of the finite-difference engines: value and Greek grids, parameter blocks, look-ups.
#pragma once

#include <string>

#include <newmat/newmat.h>

#include "file_append.h"
#include "pde_params.h"
#include "price_grid_axes.h"

// A parameter block held by an engine. Its outputs point into that engine's own grids, so a
// block copied or assigned into it starts with none; the engine sets them when it runs.
struct EnginePdeParams : PdeParams {
    EnginePdeParams() = default;
    EnginePdeParams(const EnginePdeParams& other) : PdeParams(other) { clear_outputs(); }
    EnginePdeParams& operator=(const PdeParams& other) {
        PdeParams::operator=(other);
        clear_outputs();
        return *this;
    }
    EnginePdeParams& operator=(const EnginePdeParams& other) {
        return *this = static_cast<const PdeParams&>(other);
    }
};

class Calculator_PDE {
  public:
    explicit Calculator_PDE(bool has_ki);
    // Copies every grid and field; the copy's output pointers start cleared in all three blocks,
    // so that a copy never writes into the grids of its source.
    Calculator_PDE(const Calculator_PDE& other) = default;
    Calculator_PDE& operator=(const Calculator_PDE& other) = default;
    virtual ~Calculator_PDE();

    virtual std::string param_key() const;
    virtual double price_with_grids() = 0;
    virtual double price() = 0;
    virtual bool compute_risk_grids() = 0;

    void set_grid_size(int M, int N);

    // The file compute_greeks(true) appends the price grids to, in the working directory.
    static constexpr const char* kGreeksFile = "PDE_Greeks.csv";

    // Greeks from the grids of the last compute_risk_grids run. Returns false when a grid it
    // needs does not match the size of `price` (those Greeks are then NaN), memory runs out, or
    // with write_file the file kGreeksFile cannot be written. A caller that must tell the user
    // which of these failed calls compute_greeks(false), then append_price_grids(kGreeksFile).
    bool compute_greeks(bool write_file);
    // delta, gamma, theta of price and price_ki only (after price_with_grids); false when memory
    // runs out.
    bool compute_base_greeks();
    // Appends price ("Price") and, with has_ki, price_ki ("Price_KI") to the file at path: both
    // blocks or, on a failed write, nothing (the file keeps its previous length).
    FileWriteStatus append_price_grids(const std::string& path) const;
    // append_price_grids(path) == FileWriteStatus::Ok.
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

    EnginePdeParams params;
    EnginePdeParams params_rate_up;
    EnginePdeParams params_vol_up;

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
