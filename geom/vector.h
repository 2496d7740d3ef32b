#pragma once
// Double-precision 3- and 4-vectors and quaternions as plain aggregates with free
// functions. The operation order is part of the contract: printed digits depend on it.

#include <cmath>

constexpr double pi = 3.14159265358979323846;  // angles everywhere are in radians

struct Vector3 {
  double x, y, z;
};

struct Vector4 {
  double c[4];  // components 0..3; the figure's fourth coordinate is c[3]
  double& operator[](int i) { return c[i]; }
  double operator[](int i) const { return c[i]; }
};

struct Quaternion {
  double w, x, y, z;  // scalar first; a unit quaternion is a rotation
};

inline Vector3 operator+(const Vector3& a, const Vector3& b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vector3 operator-(const Vector3& a, const Vector3& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vector3 operator-(const Vector3& v) {
  return {-v.x, -v.y, -v.z};
}
inline Vector3 operator*(double s, const Vector3& v) {
  return {s * v.x, s * v.y, s * v.z};
}
inline Vector3 operator*(const Vector3& v, double s) {
  return {s * v.x, s * v.y, s * v.z};
}

inline double dot(const Vector3& a, const Vector3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

// sqrt(x*x + y*y + z*z), summed left to right like every length the program prints.
inline double length(const Vector3& v) {
  return std::sqrt(dot(v, v));
}

inline Vector3 cross(const Vector3& a, const Vector3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline Vector3& scaleInPlace(Vector3& v, double s) {
  v.x *= s;
  v.y *= s;
  v.z *= s;
  return v;
}
inline void scaleInPlace(Quaternion& q, double s) {
  q.w *= s;
  q.x *= s;
  q.y *= s;
  q.z *= s;
}
inline void scaleInPlace(Vector4& v, double s) {
  for (double& component : v.c) component *= s;
}

// Neither normalize guards against zero length: a zero vector or quaternion becomes
// non-finite, so a degenerate input shows up as NaN instead of passing on as zero.
inline Vector3& normalize(Vector3& v) {
  return scaleInPlace(v, 1 / length(v));
}
inline Vector3 normalized(Vector3 v) {
  return normalize(v);
}
inline void normalize(Quaternion& q) {
  scaleInPlace(q, 1 / std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z));
}

// The Hamilton product: for unit quaternions R(a * b) = R(a) R(b), so a change
// multiplied on the right turns in a's own frame.
inline Quaternion quaternionProduct(const Quaternion& a, const Quaternion& b) {
  return {
      a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z, a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
      a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x, a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}
