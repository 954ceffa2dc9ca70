// The product parameters that can be set, saved, restored and searched as one number.
#pragma once

enum ParamKind : int {
    kParamKoBarrier = 0,  // "B_Out": every knock-out barrier
    kParamKiBarrier = 1,  // "B_In": every knock-in barrier
    kParamCoupon = 2,     // "c": every knock-out coupon
    kParamSigma = 3,      // "σ": the volatility
    kParamDivCoupon = 4,  // "div": the dividend coupon
    kParamCouponDiv = 5,  // "c_div": the dividend coupon and every knock-out coupon
};

inline bool is_param_kind(int kind) {
    return kind >= kParamKoBarrier && kind <= kParamCouponDiv;
}

// The kind's name as the search log writes it; "" for a code that is no kind.
const char* param_kind_name(int kind);
