#pragma once
// The Floyd-Steinberg step shared by the error diffusions: the error between the wanted levels
// (in units of 1 / 2^shift of a level) and the chosen colour's components goes 7/16 to the next
// pixel, 3/16 below behind, 5/16 below, and the remainder below ahead, so the whole error goes on.
// The shifts round down, the same way on every machine.
#include <cstddef>
#include <cstdint>

namespace ts {

// `here` and `below` point at the pixel's three error slots in this row's and the next row's
// buffers; `step` is +3 or -3 (serpentine order).
inline void spreadDitherError(const int wanted[3], uint32_t chosen, int shift, std::ptrdiff_t step, int32_t* here,
                              int32_t* below) {
    const int got[3] = {int((chosen >> 16) & 255), int((chosen >> 8) & 255), int(chosen & 255)};
    for (int k = 0; k < 3; ++k) {
        const int error = wanted[k] - (got[k] << shift);
        const int e7 = (error * 7) >> 4, e3 = (error * 3) >> 4, e5 = (error * 5) >> 4;
        here[step + k] += e7;
        below[-step + k] += e3;
        below[k] += e5;
        below[step + k] += error - e7 - e3 - e5;
    }
}

}  // namespace ts
