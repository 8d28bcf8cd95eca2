// Vectors, colours, face normals and Euler rotation matrices.
// Pure: no GL. Owns FNORMAL, the result of the last FINDNORMAL.
#pragma once

#include "vtrtypes.h"

struct TGLVECTOR {
  SINGLE X, Y, Z;
};

struct TGLRGB2 {
  SINGLE R, G, B;
};

// [row][column]; rotations use the upper-left 3x3 block in the row-vector
// convention (row i is the image of axis i, a vector is a row times M).
using TGLBASEMATRIX = checked_array<checked_array<SINGLE, 0, 3>, 0, 3>;

// Unit normal left by the last FINDNORMAL, x, y, z in elements 1, 2, 3.
extern checked_array<REAL, 1, 3> FNORMAL;

TGLVECTOR GLVECTOR(double X, double Y, double Z);
TGLRGB2 GLCOLOR(double R, double G, double B);

// Unit vector of (V1 - V2) x (V2 - V3) into FNORMAL; degenerate input gives
// the zero vector.
void FINDNORMAL(REAL V1X, REAL V1Y, REAL V1Z, REAL V2X, REAL V2Y, REAL V2Z, REAL V3X, REAL V3Y, REAL V3Z);

// Rotation about X by ANG.X, then the fixed Y by ANG.Y, then the fixed Z by
// ANG.Z. Note the units: this one takes RADIANS.
TGLBASEMATRIX MATRIXEULERDEG(TGLVECTOR ANG);
// The same rotation with the angles in DEGREES.
TGLBASEMATRIX MATRIXEULERRAD(TGLVECTOR ANG);
// VEC as a row vector times the 3x3 block of ANG.
TGLVECTOR MATRIXVECROT(TGLVECTOR VEC, const TGLBASEMATRIX& ANG);
SINGLE DEGTORAD(SINGLE DEGREE);
