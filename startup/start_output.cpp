#include "startup/start_output.h"

namespace {

// One block spans three lines and always ends "}},", the last one of a table too,
// so a table pastes as a complete initialiser.
void writeBlock(const Matrix3& m, std::ostream& out) {
  out << "{";
  for (int row = 0; row < 3; ++row) {
    out << "{" << m(row, 0) << "," << m(row, 1) << "," << m(row, 2) << "}";
    if (row < 2) out << "," << std::endl;
  }
  out << "}," << std::endl;
}

}  // namespace

void writeIterationTrace(double start, std::ostream& out) {
  double x = start;
  for (int step = 0; step < 20; ++step) {
    const double following = (1.35 - (x * x) * 0.35) * x;
    out << x << "*(" << 1.35 << "-" << 0.35 << "*" << x << "<sup>2</sup>)=" << following
        << std::endl;
    x = following;
    if (x == 1.0) {
      out << step << std::endl;
      out << "1lol! !!1!11one~one" << std::endl;
      return;
    }
  }
}

void writeStartOutput(const FaceFrames& frames, std::ostream& out) {
  out.precision(18);
  out << "const double mojonumbersA[8][3][3]={//do not edit" << std::endl;
  for (const Matrix3& frame : frames) writeBlock(frame, out);
  out << "};" << std::endl;

  out << "const double mojonumbersB[8][3][3]={//do not edit" << std::endl;
  for (const Matrix3& frame : frames) writeBlock(invert3x3(frame, out), out);
  out << "};" << std::endl;

  // Every double printed later in the run inherits this precision.
  out << std::dec;
  out.precision(19);
  writeIterationTrace(0.9, out);
}
