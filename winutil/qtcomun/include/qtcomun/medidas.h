// The twip, the unit the controls and windows keep their sizes in, against
// Qt's device-independent pixel. The one place the ratio is written.
#pragma once

#include <cstdint>

namespace qtcomun {

inline constexpr int32_t kTwipsPorPulgada = 1440;
inline constexpr int32_t kPixelesPorPulgada = 96;

// Twips in one device-independent pixel: 15 on every screen (a pixel is 1/96
// inch; high-density screens have more device pixels per pixel, not fewer
// twips).
inline constexpr int32_t kTwipsPorPixel = kTwipsPorPulgada / kPixelesPorPulgada;
static_assert(kTwipsPorPixel * kPixelesPorPulgada == kTwipsPorPulgada);

}  // namespace qtcomun
