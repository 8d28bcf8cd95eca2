// The puzzle's colour state and its layer turns.
// Owns CUBES, ROTBLOCK, ROTOFFSET and SELLAYER. A turn never changes a
// colour value: it moves whole records between cells and permutes the face
// slots inside each moved record.
#include "cube.h"

#include <cmath>
#include <initializer_list>

TCUBES CUBES{};
TROTATELAYER ROTBLOCK{};
TGLVECTOR ROTOFFSET{0, 0, 0};
LONGINT SELLAYER = 2;

void TSINGLECUBE::SETCUBE() {
  SIDES[0] = GLCOLOR(1, 1, 1);    // +Y white
  SIDES[1] = GLCOLOR(0, 1, 0);    // -X green
  SIDES[2] = GLCOLOR(1, 0.5, 0);  // +Z orange
  SIDES[3] = GLCOLOR(1, 0, 0);    // -Z red
  SIDES[4] = GLCOLOR(1, 1, 0);    // -Y yellow
  SIDES[5] = GLCOLOR(0, 0, 1);    // +X blue
}

void TSINGLECUBE::MOVECOLORS(LONGINT C1, LONGINT C2, LONGINT C3, LONGINT C4) {
  const TGLRGB2 first = SIDES[C1];
  SIDES[C1] = SIDES[C2];
  SIDES[C2] = SIDES[C3];
  SIDES[C3] = SIDES[C4];
  SIDES[C4] = first;
}

void TSINGLECUBE::ROTATE(LONGINT OFFSET, BOOLEAN VERSE) {
  switch (OFFSET) {
    case 1:
      VERSE ? MOVECOLORS(3, 4, 2, 0) : MOVECOLORS(0, 2, 4, 3);
      break;
    case 2:
      VERSE ? MOVECOLORS(3, 5, 2, 1) : MOVECOLORS(1, 2, 5, 3);
      break;
    case 3:
      VERSE ? MOVECOLORS(0, 5, 4, 1) : MOVECOLORS(1, 4, 5, 0);
      break;
    default:
      break;
  }
}

void INITCUBE() {
  for (LONGINT i = 0; i <= 2; ++i)
    for (LONGINT j = 0; j <= 2; ++j)
      for (LONGINT k = 0; k <= 2; ++k) CUBES[i][j][k].SETCUBE();
}

namespace {

enum axis { x_axis, y_axis, z_axis };

// The cell of layer NUM named by the two other indices (a, b), array order.
TSINGLECUBE& cell(axis ax, LONGINT num, LONGINT a, LONGINT b) {
  switch (ax) {
    case x_axis: return CUBES[num][a][b];
    case y_axis: return CUBES[a][num][b];
    default: return CUBES[a][b][num];
  }
}

void adjust(axis ax, LONGINT num, LONGINT c1a, LONGINT c1b, LONGINT c2a, LONGINT c2b, LONGINT c3a, LONGINT c3b,
            LONGINT c4a, LONGINT c4b) {
  const TSINGLECUBE first = cell(ax, num, c1a, c1b);
  cell(ax, num, c1a, c1b) = cell(ax, num, c2a, c2b);
  cell(ax, num, c2a, c2b) = cell(ax, num, c3a, c3b);
  cell(ax, num, c3a, c3b) = cell(ax, num, c4a, c4b);
  cell(ax, num, c4a, c4b) = first;
}

checked_array<LONGINT, 0, 2>& angles(axis ax) {
  return ax == x_axis ? ROTBLOCK.X : (ax == y_axis ? ROTBLOCK.Y : ROTBLOCK.Z);
}

SINGLE& offset(axis ax) { return ax == x_axis ? ROTOFFSET.X : (ax == y_axis ? ROTOFFSET.Y : ROTOFFSET.Z); }

bool part_turned(axis ax) {
  const auto& a = angles(ax);
  return a[0] != 0 || a[1] != 0 || a[2] != 0;
}

// Moves the nine records of layer NUM a quarter turn and turns their colours
// the same way. The slice order (I, K) of Y runs against the right-hand
// order of its axis, so its cycles are those of X and Z for the other sign.
void commit_quarter_turn(axis ax, LONGINT num, bool positive) {
  const bool corners_first_form = (ax == y_axis) ? !positive : positive;
  if (corners_first_form) {
    adjust(ax, num, 0, 2, 2, 2, 2, 0, 0, 0);
    adjust(ax, num, 0, 1, 1, 2, 2, 1, 1, 0);
  } else {
    adjust(ax, num, 0, 0, 2, 0, 2, 2, 0, 2);
    adjust(ax, num, 1, 0, 2, 1, 1, 2, 0, 1);
  }
  for (LONGINT a = 0; a <= 2; ++a)
    for (LONGINT b = 0; b <= 2; ++b) cell(ax, num, a, b).ROTATE(ax + 1, positive);
}

bool lined_up(LONGINT a, LONGINT b) { return a == b || a == b - 90 || a == b + 90; }

void rotate_layer(axis ax, SINGLE angle, LONGINT num) {
  // Only one axis may be part-turned at a time.
  for (axis other : {x_axis, y_axis, z_axis})
    if (other != ax && part_turned(other)) return;

  auto& a = angles(ax);
  const double step = std::nearbyint(static_cast<double>(angle));  // halves to even
  if (!(step >= INT32_MIN && step <= INT32_MAX)) vtr_range_error("layer step", static_cast<long long>(step), INT32_MIN, INT32_MAX);
  a[num] = checked_add(a[num], static_cast<LONGINT>(step));

  if (angle < 0 && a[num] == -90) {
    a[num] = 0;
    commit_quarter_turn(ax, num, false);
  } else if (angle > 0 && a[num] == 90) {
    a[num] = 0;
    commit_quarter_turn(ax, num, true);
  }

  // Layers standing at one angle, or a quarter turn apart, become a turn of
  // the whole cube. A layer a quarter turn ahead of or behind layer 0 first
  // gets that quarter turn committed, so the picture stays as it was and the
  // turn the user made between the layers is kept.
  const LONGINT a0 = a[0];
  if (lined_up(a0, a[1]) && lined_up(a[1], a[2])) {
    for (LONGINT n = 0; n <= 2; ++n) {
      for (LONGINT d = a[n] - a0; d >= 90; d -= 90) commit_quarter_turn(ax, n, true);
      for (LONGINT d = a[n] - a0; d <= -90; d += 90) commit_quarter_turn(ax, n, false);
    }
    offset(ax) = static_cast<SINGLE>(offset(ax) + static_cast<double>(a0));
    a[0] = a[1] = a[2] = 0;
  }
}

}  // namespace

void ROTATELAYERX(SINGLE ANGLE, LONGINT NUM) { rotate_layer(x_axis, ANGLE, NUM); }
void ROTATELAYERY(SINGLE ANGLE, LONGINT NUM) { rotate_layer(y_axis, ANGLE, NUM); }
void ROTATELAYERZ(SINGLE ANGLE, LONGINT NUM) { rotate_layer(z_axis, ANGLE, NUM); }

void ADJUSTCUBESX(LONGINT NUM, LONGINT C1A, LONGINT C1B, LONGINT C2A, LONGINT C2B, LONGINT C3A, LONGINT C3B,
                  LONGINT C4A, LONGINT C4B) {
  adjust(x_axis, NUM, C1A, C1B, C2A, C2B, C3A, C3B, C4A, C4B);
}
void ADJUSTCUBESY(LONGINT NUM, LONGINT C1A, LONGINT C1B, LONGINT C2A, LONGINT C2B, LONGINT C3A, LONGINT C3B,
                  LONGINT C4A, LONGINT C4B) {
  adjust(y_axis, NUM, C1A, C1B, C2A, C2B, C3A, C3B, C4A, C4B);
}
void ADJUSTCUBESZ(LONGINT NUM, LONGINT C1A, LONGINT C1B, LONGINT C2A, LONGINT C2B, LONGINT C3A, LONGINT C3B,
                  LONGINT C4A, LONGINT C4B) {
  adjust(z_axis, NUM, C1A, C1B, C2A, C2B, C3A, C3B, C4A, C4B);
}
