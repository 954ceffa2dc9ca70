// How many points a start/end/step range of the analysis panels holds.
#pragma once

// (end - start) / step + 1 truncated toward zero, the way every panel counts its points; 0 when
// that is not a positive finite number (end on the wrong side of start, a step of 0, NaN).
// The count stays a double so that callers can compare it with their limits before turning it
// into an int.
double point_count(double start, double end, double step);

// A count checked against a limit, for ranges whose every point costs a computation.
struct BoundedCount {
    enum Status { Ok, Empty, TooMany };
    Status status = Empty;
    int count = 0;  // set when Ok
};
BoundedCount bounded_point_count(double start, double end, double step, int limit);
