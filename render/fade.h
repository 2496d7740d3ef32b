#pragma once
// How much of the old image a trail frame takes away: the alpha of the fade quad.
// A longer frame fades a little more, so trails shorten when frames are slow.

#include <cmath>

inline double fadeAlpha(double frameTime) { return 0.35 * std::exp(frameTime); }
