#include "geom/print.h"

std::ostream& operator<<(std::ostream& out, const Vector3& v) {
  out << "vector:" << std::endl;
  out << "[" << v.x << ",\t" << v.y << ",\t" << v.z << "]" << std::endl;
  return out;
}

std::ostream& operator<<(std::ostream& out, const Quaternion& q) {
  out << "Quaternion:" << std::endl;
  out << "[" << q.w << ",\t" << q.x << ",\t" << q.y << ",\t" << q.z << "]" << std::endl;
  return out;
}
