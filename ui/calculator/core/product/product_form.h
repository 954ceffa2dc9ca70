// The calculator's product as the texts of its form and schedule, and the one way those texts
// become engine terms. The window reads its widgets into a ProductForm; a product file becomes
// one too, so both price the same terms.
#pragma once

#include <QDate>
#include <QString>

#include "form_values.h"
#include "snowball_pde.h"

struct ProductForm {
    // Identity: the product number field, the category and type lists' positions.
    QString name;
    int category = 0;
    int type = 0;  // 0 note, 1 option: the payoff mode

    // The structure and PDE groups' number fields as typed; the three per-date fields may hold
    // "_"-joined lists. The hidden adjustment fields are never shown.
    ProductFormTexts terms;
    QString decimals;
    bool accurate = false;     // "算法" at "高精度": the accurate scheme
    bool extrapolate = false;  // "外推", with the accurate scheme only
    bool trading_days = true;  // the day-count list at "交易日"

    // The schedule: the editor's fields and the saved store (dates and value texts).
    QDate start, end;
    QString frequency;  // the editor's list text: "周", "双周" or "月"
    QString lockup;
    bool merged = true;
    QString dates, schedule_ko_prices, schedule_ko_coupons, schedule_ki_prices;
};

// Trading days from start to end on the process-wide calendar, both counted: the form's
// "到期天数(交易日)".
int maturityTradingDays(const QDate& start, const QDate& end);

// The checks before pricing: the schedule, then the terms. False with the title of the failed
// check ("观察日参数错误" or "结构参数错误") and its message.
bool checkProductForm(const ProductForm& form, QString& title, QString& error);

// Copies the form into the engine's parameters, terms and per-date vectors (no checks, no
// set_product): percent fields divided by 100, the maturity in years of the day count, the dates
// turned into observation times from the start date.
void readProductForm(const ProductForm& form, Snowball_PDE& engine);

// set_product with the engine's own vectors and scalars and the payoff mode of `type`.
void commitProduct(Snowball_PDE& engine, int type, double adj_rate, double adj_share);
