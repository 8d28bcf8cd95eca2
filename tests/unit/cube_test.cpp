// The puzzle's colour state and its layer turns, checked against an
// independent geometric model of what the drawn cube shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "support.h"

namespace {

const TGLRGB2 white{1, 1, 1}, green{0, 1, 0}, orange{1, 0.5f, 0}, red{1, 0, 0}, yellow{1, 1, 0}, blue{0, 0, 1};
const std::array<TGLRGB2, 6> solved_sides = {white, green, orange, red, yellow, blue};

// True when the cubie's sides show WANT, slot by slot.
bool sides_are(const TSINGLECUBE& c, const std::array<TGLRGB2, 6>& want) {
  for (int s = 0; s < 6; ++s)
    if (!same_colour(c.SIDES[s], want[s])) return false;
  return true;
}

// True when side SLOT of the cubie in cell (I, J, K) faces out of the cube.
bool outer(int i, int j, int k, int slot) {
  const int idx[3] = {i, j, k};
  for (int a = 0; a < 3; ++a)
    if (slot_direction[slot][a] != 0 && idx[a] != 1 + slot_direction[slot][a]) return false;
  return true;
}

// What the drawn cube shows: every sticker's centre and colour in world
// space, under the whole-cube offset and the layer angles, the same
// transforms the drawing applies.
using sticker = std::tuple<long, long, long, float, float, float>;
std::vector<sticker> picture() {
  std::vector<sticker> all;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k)
        for (int s = 0; s < 6; ++s) {
          if (!outer(i, j, k, s)) continue;
          std::array<double, 3> p = {(i - 1) * 3.0 + 1.5 * slot_direction[s][0],
                                     (j - 1) * 3.0 + 1.5 * slot_direction[s][1],
                                     (k - 1) * 3.0 + 1.5 * slot_direction[s][2]};
          p = turned(turned(turned(p, 2, ROTBLOCK.Z[k]), 1, ROTBLOCK.Y[j]), 0, ROTBLOCK.X[i]);
          p = turned(turned(turned(p, 2, ROTOFFSET.Z), 1, ROTOFFSET.Y), 0, ROTOFFSET.X);
          const TGLRGB2 c = CUBES[i][j][k].SIDES[s];
          all.emplace_back(std::lround(p[0] * 1000), std::lround(p[1] * 1000), std::lround(p[2] * 1000), c.R, c.G, c.B);
        }
  std::sort(all.begin(), all.end());
  return all;
}

void step(int axis, float angle, int layer) {
  (axis == 0 ? ROTATELAYERX : axis == 1 ? ROTATELAYERY : ROTATELAYERZ)(angle, layer);
}

// Scrambles the cube with whole quarter turns through the public steps.
void scramble(unsigned seed, int turns) {
  std::mt19937 rng(seed);
  for (int t = 0; t < turns; ++t) {
    const int axis = rng() % 3, layer = rng() % 3;
    const float angle = (rng() % 2) ? 6.0f : -6.0f;
    for (int n = 0; n < 15; ++n) step(axis, angle, layer);
  }
}

checked_array<LONGINT, 0, 2>& block(int axis) { return axis == 0 ? ROTBLOCK.X : axis == 1 ? ROTBLOCK.Y : ROTBLOCK.Z; }

TEST(Cubie, SolvedColoursAndColourCycles) {
  reset_cube();
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) EXPECT_TRUE(sides_are(CUBES[i][j][k], solved_sides));
  const TSINGLECUBE solved = CUBES[0][0][0];
  TSINGLECUBE c = solved;
  c.ROTATE(1, true);
  EXPECT_TRUE(sides_are(c, {red, green, white, yellow, orange, blue}));
  // Offsets outside 1..3 turn nothing; four turns, or one and its inverse,
  // give the cubie back; so do two colour moves that undo each other.
  for (LONGINT offset : {0, 4, -1}) {
    c = solved;
    c.ROTATE(offset, true);
    EXPECT_TRUE(sides_are(c, solved_sides)) << offset;
  }
  for (LONGINT offset = 1; offset <= 3; ++offset)
    for (bool verse : {true, false}) {
      c = solved;
      for (int n = 0; n < 4; ++n) c.ROTATE(offset, verse);
      EXPECT_TRUE(sides_are(c, solved_sides)) << offset;
      c.ROTATE(offset, verse);
      c.ROTATE(offset, !verse);
      EXPECT_TRUE(sides_are(c, solved_sides)) << offset;
    }
  c = solved;
  c.MOVECOLORS(4, 0, 5, 2);
  c.MOVECOLORS(2, 5, 0, 4);
  EXPECT_TRUE(sides_are(c, solved_sides));
}

TEST(LayerTurns, FifteenStepsCommitAQuarterTurn) {
  reset_cube();
  const TCUBES before = CUBES;
  for (int n = 0; n < 14; ++n) ROTATELAYERX(6, 0);
  EXPECT_EQ(ROTBLOCK.X[0], 84);
  EXPECT_TRUE(same_colours(CUBES, before));
  ROTATELAYERX(6, 0);
  EXPECT_EQ(ROTBLOCK.X[0], 0);
  // The top-front corner of the left layer went to the bottom front.
  const auto& moved = CUBES[0][0][2].SIDES;
  EXPECT_TRUE(same_colour(moved[2], white) && same_colour(moved[4], orange) && same_colour(moved[1], green));

  // At -84 on Z layer 1 a step the other way commits nothing.
  reset_cube();
  ROTBLOCK.Z[1] = -84;
  ROTATELAYERZ(6, 1);
  EXPECT_EQ(ROTBLOCK.Z[1], -78);
  ROTBLOCK.Z[1] = -84;
  ROTATELAYERZ(-6, 1);
  EXPECT_EQ(ROTBLOCK.Z[1], 0);
  EXPECT_FALSE(same_colours(CUBES, before));
}

TEST(LayerTurns, StepsRoundHalvesToEven) {
  reset_cube();
  for (const auto& [angle, after] : {std::pair{2.5f, 2}, {3.5f, 6}, {-0.5f, 6}}) {
    ROTATELAYERY(angle, 1);
    EXPECT_EQ(ROTBLOCK.Y[1], after) << angle;
  }
}

TEST(LayerTurns, OtherAxesAreRefusedWhileALayerIsPartTurned) {
  reset_cube();
  ROTBLOCK.X[1] = 30;
  ROTATELAYERY(6, 0);
  ROTATELAYERZ(-6, 2);
  ROTATELAYERX(6, 0);
  EXPECT_EQ((std::array{ROTBLOCK.Y[0], ROTBLOCK.Z[2], ROTBLOCK.X[0], ROTBLOCK.X[1]}), (std::array{0, 0, 6, 30}));
}

TEST(LayerTurns, LinedUpLayersFoldIntoTheWholeCube) {
  reset_cube();
  ROTBLOCK.X = {{30, 30, 24}};
  ROTATELAYERX(6, 2);
  EXPECT_EQ(ROTOFFSET.X, 30);
  EXPECT_EQ(ROTBLOCK.X[0] | ROTBLOCK.X[1] | ROTBLOCK.X[2], 0);
  ROTATELAYERY(6, 0);
  EXPECT_EQ(ROTBLOCK.Y[0], 6);

  // A step of 0 still tests the fold.
  reset_cube();
  ROTBLOCK.Z = {{-12, -12, -12}};
  ROTATELAYERZ(0, 1);
  EXPECT_EQ(ROTOFFSET.Z, -12);
  EXPECT_EQ(ROTBLOCK.Z[1], 0);
}

TEST(LayerTurns, FoldOfLayersAQuarterTurnApartKeepsEveryStickerInPlace) {
  reset_cube();
  scramble(3, 12);
  // What the user sees with the layers at (-60, 30, 30)...
  ROTBLOCK.X = {{-60, 30, 30}};
  const auto seen = picture();
  // ... stays what the user sees after the step that makes them so.
  ROTBLOCK.X = {{-60, 30, 24}};
  ROTATELAYERX(6, 2);
  EXPECT_EQ(ROTOFFSET.X, -60);
  EXPECT_EQ(ROTBLOCK.X[0] | ROTBLOCK.X[1] | ROTBLOCK.X[2], 0);
  EXPECT_EQ(picture(), seen);

  // The same for every axis and both directions.
  for (int axis = 0; axis < 3; ++axis)
    for (int sign : {1, -1}) {
      reset_cube();
      scramble(10 + axis, 9);
      block(axis) = {{24 * sign, 24 * sign - 90 * sign, 24 * sign}};
      const auto before = picture();
      block(axis)[2] = 24 * sign - 6;
      step(axis, 6.0f, 2);
      EXPECT_EQ(block(axis)[0] | block(axis)[1] | block(axis)[2], 0);
      EXPECT_EQ(picture(), before) << "axis " << axis << " sign " << sign;
    }
}

TEST(LayerTurns, RecordsMoveByTheQuarterTurnClosedForm) {
  for (int axis = 0; axis < 3; ++axis)
    for (int layer = 0; layer < 3; ++layer)
      for (int sign : {1, -1}) {
        reset_cube();
        // Mark every record so that it can be followed.
        for (int i = 0; i < 3; ++i)
          for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) CUBES[i][j][k].SIDESIZE = static_cast<float>(i * 9 + j * 3 + k);
        TCUBES before = CUBES;
        for (int n = 0; n < 15; ++n) step(axis, 6.0f * sign, layer);
        // Records outside the layer stay where they were; in it, X and Z at
        // +90 and Y at -90 take (a, b) from (b, 2 - a), the others from
        // (2 - b, a).
        auto at = [&](TCUBES& c, int a, int b) -> TSINGLECUBE& {
          return axis == 0 ? c[layer][a][b] : axis == 1 ? c[a][layer][b] : c[a][b][layer];
        };
        TCUBES want = before;
        const bool first_form = (axis == 1) ? sign < 0 : sign > 0;
        for (int a = 0; a < 3; ++a)
          for (int b = 0; b < 3; ++b) at(want, a, b) = first_form ? at(before, b, 2 - a) : at(before, 2 - b, a);
        for (int i = 0; i < 3; ++i)
          for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
              EXPECT_EQ(CUBES[i][j][k].SIDESIZE, want[i][j][k].SIDESIZE)
                  << axis << layer << sign << " at " << i << j << k;
      }
}

TEST(LayerTurns, LongRandomPlayKeepsTheInvariantsAndUndoes) {
  reset_cube();
  const TCUBES solved = CUBES;
  std::mt19937 rng(2024);
  std::vector<std::tuple<int, int, float>> moves;
  for (int t = 0; t < 6000; ++t) {
    const int axis = rng() % 3, layer = rng() % 3;
    const float angle = (rng() % 2) ? 6.0f : -6.0f;
    step(axis, angle, layer);
    moves.emplace_back(axis, layer, angle);

    int turning = 0;
    for (int a = 0; a < 3; ++a) {
      for (int n = 0; n < 3; ++n) ASSERT_TRUE(block(a)[n] % 6 == 0 && std::abs(block(a)[n]) < 90) << block(a)[n];
      turning += (block(a)[0] | block(a)[1] | block(a)[2]) != 0;
    }
    ASSERT_LE(turning, 1);
  }
  // Each colour shows nine times on the 54 outer faces.
  int count[6] = {};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k)
        for (int s = 0; s < 6; ++s)
          if (outer(i, j, k, s))
            for (int c = 0; c < 6; ++c) count[c] += same_colour(CUBES[i][j][k].SIDES[s], solved_sides[c]);
  for (int c = 0; c < 6; ++c) EXPECT_EQ(count[c], 9);

  for (auto it = moves.rbegin(); it != moves.rend(); ++it) step(std::get<0>(*it), -std::get<2>(*it), std::get<1>(*it));
  EXPECT_TRUE(same_colours(CUBES, solved));
}

TEST(LayerTurnsDeathTest, LayerOutsideTheCubeStopsTheProgram) {
  reset_cube();
  EXPECT_DEATH(ROTATELAYERX(6, 3), "outside 0..2");
  EXPECT_DEATH(CUBES[0][0][0].MOVECOLORS(0, 1, 2, 6), "outside 0..5");
}

}  // namespace
