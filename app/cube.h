// The puzzle: 27 cubie records with their face colours, and the layer turns
// that animate, commit and fold them.
#pragma once

#include "glmath.h"

// One cubie. Face slots: 0 +Y, 1 -X, 2 +Z, 3 -Z, 4 -Y, 5 +X.
struct TSINGLECUBE {
  checked_array<TGLRGB2, 0, 5> SIDES;
  SINGLE SIDESIZE;  // the three drawing fields, as last passed to DRAW
  SINGLE SIDERADIUS;
  LONGINT SIDENUMPOINTS;

  // Writes the solved colours into SIDES.
  void SETCUBE();
  // SIDES[C1] takes SIDES[C2], C2 takes C3, C3 takes C4, C4 the old C1.
  void MOVECOLORS(LONGINT C1, LONGINT C2, LONGINT C3, LONGINT C4);
  // Quarter turn of the colouring about X (1), Y (2) or Z (3); VERSE true is
  // +90 degrees by the right-hand rule. Other offsets do nothing.
  void ROTATE(LONGINT OFFSET, BOOLEAN VERSE);
  // Draws the cubie centred at the origin: body, and the stickers of the
  // outer faces of cell [I][J][K].
  void DRAW(SINGLE SIZE, SINGLE RADIUS, LONGINT NUMPOINTS, LONGINT I, LONGINT J, LONGINT K);
};

// CUBES[I][J][K]: I along X, J along Y, K along Z; 0 is the negative side.
using TCUBES = checked_array<checked_array<checked_array<TSINGLECUBE, 0, 2>, 0, 2>, 0, 2>;
extern TCUBES CUBES;

void INITCUBE();

// Angles in whole degrees of the nine layers, X[n] for X layer n.
struct TROTATELAYER {
  checked_array<LONGINT, 0, 2> X;
  checked_array<LONGINT, 0, 2> Y;
  checked_array<LONGINT, 0, 2> Z;
};

extern TROTATELAYER ROTBLOCK;
extern TGLVECTOR ROTOFFSET;
extern LONGINT SELLAYER;

// One animation step of layer NUM by ANGLE degrees about X, Y or Z: refused
// while another axis is part-turned, committed at exactly +-90 in the step's
// direction, folded into ROTOFFSET when the layers of the axis line up.
void ROTATELAYERX(SINGLE ANGLE, LONGINT NUM);
void ROTATELAYERY(SINGLE ANGLE, LONGINT NUM);
void ROTATELAYERZ(SINGLE ANGLE, LONGINT NUM);

// Moves four whole records through a 4-cycle inside layer NUM; (CnA, CnB)
// are a cell's two indices other than the layer's, in array order.
void ADJUSTCUBESX(LONGINT NUM, LONGINT C1A, LONGINT C1B, LONGINT C2A, LONGINT C2B, LONGINT C3A, LONGINT C3B,
                  LONGINT C4A, LONGINT C4B);
void ADJUSTCUBESY(LONGINT NUM, LONGINT C1A, LONGINT C1B, LONGINT C2A, LONGINT C2B, LONGINT C3A, LONGINT C3B,
                  LONGINT C4A, LONGINT C4B);
void ADJUSTCUBESZ(LONGINT NUM, LONGINT C1A, LONGINT C1B, LONGINT C2A, LONGINT C2B, LONGINT C3A, LONGINT C3B,
                  LONGINT C4A, LONGINT C4B);
