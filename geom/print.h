#pragma once
// Console forms of a vector and a quaternion: a label line, then the bracketed
// components separated by ",\t", at the stream's current precision.

#include <ostream>

#include "geom/vector.h"

std::ostream& operator<<(std::ostream& out, const Vector3& v);
std::ostream& operator<<(std::ostream& out, const Quaternion& q);
