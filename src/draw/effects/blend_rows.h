// Eight-pixel inner loops of the busiest blends for the 5-6-5 layout, giving exactly what the
// table forms give. Each does the first n - n % 8 pixels of a row (source s over destination d,
// 0 transparent) and returns how many it did: 0 where the layout is not 5-6-5 or there is no
// SSE2, so the caller always finishes the row the plain way.
#pragma once
#include <cstdint>

namespace zuDraw::effects {

bool fastRowsApply();  // the back buffer is 5-6-5 and SSE2 is there

// 5-bit channels: max(s − j, 0) + max(d − (31 − j), 0), one j per channel.
int32_t fadeRow565(const uint16_t* s, uint16_t* d, int32_t n, const int32_t j[3]);
// 5-bit channels: min(max(s − j, 0) + d, 31).
int32_t addRow565(const uint16_t* s, uint16_t* d, int32_t n, int32_t j);
// 5-bit channels of d less the source's 5-bit red, not below 0.
int32_t shadowRow565(const uint16_t* s, uint16_t* d, int32_t n);
// Exact channels: trunc(a·s + inv·d) in single precision.
int32_t alphaRow565(const uint16_t* s, uint16_t* d, int32_t n, const float a[3],
                    const float inv[3]);

}  // namespace zuDraw::effects
