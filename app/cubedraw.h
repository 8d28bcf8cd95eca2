// Drawing the puzzle and the two-sided textured square.
#pragma once

#include "vtrtypes.h"

// The whole puzzle centred at the origin with cubie pitch SIZE: core box,
// 27 bevelled bodies and 54 stickers, each layer at its angle and the whole
// cube at its folded offset.
void GENCUBE(SINGLE SIZE);
// One lit, textured, two-sided square. P1 and P2 are one side, P3 and P4
// the opposite side, P1 next to P3 (top-left, top-right, bottom-left,
// bottom-right for the viewer who sees its front).
void QUAD(SINGLE X1, SINGLE Y1, SINGLE Z1, SINGLE X2, SINGLE Y2, SINGLE Z2, SINGLE X3, SINGLE Y3, SINGLE Z3, SINGLE X4,
          SINGLE Y4, SINGLE Z4);
// Forgets the display lists the cube is drawn from, with the GL context they
// lived in (the next frame compiles them again).
void forget_cube_lists();
