// Geometry maths: normals, Euler matrices, vector rotation, conversions.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <random>

#include "glmath.h"
#include "support.h"

namespace {

// Independent right-handed rotation of V about axis 0, 1 or 2 by A radians.
TGLVECTOR rotate(TGLVECTOR v, int axis, double a) {
  const auto r = turned({v.X, v.Y, v.Z}, axis, a * 180 / std::numbers::pi);
  return GLVECTOR(r[0], r[1], r[2]);
}

void expect_near(TGLVECTOR a, TGLVECTOR b, float tol = 1e-5f) {
  for (const auto& [got, want] : {std::pair{a.X, b.X}, {a.Y, b.Y}, {a.Z, b.Z}}) EXPECT_NEAR(got, want, tol);
}

std::array<double, 3> normal() { return {FNORMAL[1], FNORMAL[2], FNORMAL[3]}; }

TEST(FindNormal, CounterClockwiseCornersFaceTheViewer) {
  FINDNORMAL(0, 0, 0, 1, 0, 0, 1, 1, 0);
  EXPECT_EQ(normal(), (std::array{0.0, 0.0, 1.0}));
  // Clockwise order gives the opposite normal, and the result is unit length.
  FINDNORMAL(0, 0, 0, 0, 3, 0, 3, 3, 0);
  EXPECT_NEAR(FNORMAL[3], -1.0, 1e-7);
  FINDNORMAL(1, 2, 3, 4, -1, 2, 0, 5, -7);
  EXPECT_NEAR(std::sqrt(FNORMAL[1] * FNORMAL[1] + FNORMAL[2] * FNORMAL[2] + FNORMAL[3] * FNORMAL[3]), 1.0, 1e-6);
}

TEST(FindNormal, DegenerateInputGivesTheZeroVector) {
  FINDNORMAL(0, 0, 0, 1, 1, 1, 2, 2, 2);
  EXPECT_EQ(normal(), (std::array{0.0, 0.0, 0.0}));
  FINDNORMAL(1, 1, 1, 1, 1, 1, 5, 0, 2);
  EXPECT_EQ(normal(), (std::array{0.0, 0.0, 0.0}));
}

TEST(Euler, QuarterTurnsFollowTheRightHandRule) {
  const float q = static_cast<float>(std::numbers::pi / 2);
  expect_near(MATRIXVECROT({1, 0, 0}, MATRIXEULERDEG({0, 0, q})), {0, 1, 0});
  expect_near(MATRIXVECROT({0, 1, 0}, MATRIXEULERDEG({q, 0, 0})), {0, 0, 1});
  expect_near(MATRIXVECROT({0, 0, 1}, MATRIXEULERDEG({0, q, 0})), {1, 0, 0});
  // The degree form takes degrees and turns every vector as the radian
  // form does; no turn leaves a negative zero where -sin(y) vanishes.
  expect_near(MATRIXVECROT({1, 0, 0}, MATRIXEULERRAD({0, 0, 90})), {0, 1, 0});
  const TGLVECTOR v = {0.3f, -1.2f, 2.5f};
  expect_near(MATRIXVECROT(v, MATRIXEULERRAD({90, -30, 200})),
              MATRIXVECROT(v, MATRIXEULERDEG({DEGTORAD(90), DEGTORAD(-30), DEGTORAD(200)})), 0);
  EXPECT_FALSE(std::signbit(MATRIXEULERDEG({0, 0, 0})[0][2]));
}

TEST(Euler, TurnsAboutXThenFixedYThenFixedZ) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> angle(-3.5f, 3.5f), coord(-5, 5);
  for (int i = 0; i < 200; ++i) {
    const TGLVECTOR a = {angle(rng), angle(rng), angle(rng)};
    const TGLVECTOR v = {coord(rng), coord(rng), coord(rng)};
    const TGLVECTOR expected = rotate(rotate(rotate(v, 0, a.X), 1, a.Y), 2, a.Z);
    expect_near(MATRIXVECROT(v, MATRIXEULERDEG(a)), expected, 2e-5f * 10);
  }
}

TEST(Conversions, RoundToSinglePrecision) {
  EXPECT_EQ(DEGTORAD(180), static_cast<float>(std::numbers::pi));
  EXPECT_EQ(DEGTORAD(90), static_cast<float>(std::numbers::pi / 2));
  const TGLRGB2 c = GLCOLOR(0.1, 0.5, 1.0 / 3);
  EXPECT_EQ((std::array{c.R, c.B}), (std::array{0.1f, static_cast<float>(1.0 / 3)}));
}

}  // namespace
