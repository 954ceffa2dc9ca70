// Day-count constants shared by the engine, the calendar code and the windows.
#pragma once

inline constexpr int kDaysPerYear = 365;         // natural days
inline constexpr int kTradingDaysPerYear = 252;  // trading days
