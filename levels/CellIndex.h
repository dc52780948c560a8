#pragma once

#include <cstdint>

// Truncates a coordinate quotient toward zero to a cell index. A quotient that is NaN or
// whose truncation does not fit in 32 bits maps to INT32_MIN, a cell no grid contains;
// a plain cast would be undefined there.
std::int32_t cellIndex(float quotient);
