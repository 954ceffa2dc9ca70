// Reading a value between two price nodes of a grid.
#pragma once

// Value at position x (in node units) on the straight line through (ceil(x), y_ceil) and
// (floor(x), y_floor); y_ceil when both nodes are the same.
double interpolate_between_nodes(double x, double y_ceil, double y_floor);
