#include "param_kind.h"

const char* param_kind_name(int kind) {
    // The search log of the original desktop build wrote sigma in the local 8-bit code page;
    // this build's log is UTF-8 throughout.
    static const char* const names[] = {"B_Out", "B_In", "c", "\xcf\x83", "div", "c_div"};
    return is_param_kind(kind) ? names[kind] : "";
}
