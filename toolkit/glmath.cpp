// Vectors, colours, face normals and Euler rotation matrices.
// Owns FNORMAL. Single-precision rounding happens exactly where the stored
// values are SINGLE; intermediate products are carried in double.
#include "glmath.h"

#include <cmath>

checked_array<REAL, 1, 3> FNORMAL;

TGLVECTOR GLVECTOR(double X, double Y, double Z) {
  return {static_cast<SINGLE>(X), static_cast<SINGLE>(Y), static_cast<SINGLE>(Z)};
}

TGLRGB2 GLCOLOR(double R, double G, double B) {
  return {static_cast<SINGLE>(R), static_cast<SINGLE>(G), static_cast<SINGLE>(B)};
}

void FINDNORMAL(REAL V1X, REAL V1Y, REAL V1Z, REAL V2X, REAL V2Y, REAL V2Z, REAL V3X, REAL V3Y, REAL V3Z) {
  const REAL ax = V1X - V2X, ay = V1Y - V2Y, az = V1Z - V2Z;
  const REAL bx = V2X - V3X, by = V2Y - V3Y, bz = V2Z - V3Z;
  FNORMAL[1] = ay * bz - az * by;
  FNORMAL[2] = az * bx - ax * bz;
  FNORMAL[3] = ax * by - ay * bx;
  // The length is rounded to single precision before the division.
  SINGLE length = static_cast<SINGLE>(std::sqrt(FNORMAL[1] * FNORMAL[1] + FNORMAL[2] * FNORMAL[2] + FNORMAL[3] * FNORMAL[3]));
  if (length == 0.0f) length = 1.0f;
  for (int i = 1; i <= 3; ++i) FNORMAL[i] /= length;
}

TGLBASEMATRIX MATRIXEULERDEG(TGLVECTOR ANG) {
  const SINGLE cx = static_cast<SINGLE>(std::cos(static_cast<double>(ANG.X)));
  const SINGLE sx = static_cast<SINGLE>(std::sin(static_cast<double>(ANG.X)));
  const SINGLE cy = static_cast<SINGLE>(std::cos(static_cast<double>(ANG.Y)));
  const SINGLE sy = static_cast<SINGLE>(std::sin(static_cast<double>(ANG.Y)));
  const SINGLE cz = static_cast<SINGLE>(std::cos(static_cast<double>(ANG.Z)));
  const SINGLE sz = static_cast<SINGLE>(std::sin(static_cast<double>(ANG.Z)));
  const SINGLE sysx = sy * sx;
  const SINGLE sycx = sy * cx;
  auto combine = [](double v) { return static_cast<SINGLE>(v); };

  TGLBASEMATRIX m{};  // fourth row and column: those of the identity
  m[3][3] = 1.0f;
  m[0][0] = combine(static_cast<double>(cz) * cy);
  m[0][1] = combine(static_cast<double>(sz) * cy);
  m[0][2] = -sy;
  if (m[0][2] == 0.0f) m[0][2] = 0.0f;  // no negative zero
  m[1][0] = combine(static_cast<double>(cz) * sysx - static_cast<double>(sz) * cx);
  m[1][1] = combine(static_cast<double>(sz) * sysx + static_cast<double>(cz) * cx);
  m[1][2] = combine(static_cast<double>(cy) * sx);
  m[2][0] = combine(static_cast<double>(cz) * sycx + static_cast<double>(sz) * sx);
  m[2][1] = combine(static_cast<double>(sz) * sycx - static_cast<double>(cz) * sx);
  m[2][2] = combine(static_cast<double>(cy) * cx);
  return m;
}

TGLBASEMATRIX MATRIXEULERRAD(TGLVECTOR ANG) {
  return MATRIXEULERDEG({DEGTORAD(ANG.X), DEGTORAD(ANG.Y), DEGTORAD(ANG.Z)});
}

TGLVECTOR MATRIXVECROT(TGLVECTOR VEC, const TGLBASEMATRIX& ANG) {
  SINGLE r[3];
  for (int j = 0; j < 3; ++j) {
    r[j] = static_cast<SINGLE>(static_cast<double>(VEC.X) * ANG[0][j] + static_cast<double>(VEC.Y) * ANG[1][j] +
                               static_cast<double>(VEC.Z) * ANG[2][j]);
  }
  return {r[0], r[1], r[2]};
}

SINGLE DEGTORAD(SINGLE DEGREE) {
  return static_cast<SINGLE>(static_cast<long double>(DEGREE) * 3.141592653589793238462643383279502884L / 180.0L);
}
