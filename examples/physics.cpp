// SPDX-License-Identifier: MIT
// A deterministic physics step in C++: a ball dropped from 10 m bounces on the floor, losing a
// fifth of its speed at each bounce, in steps of 1/64 s (exact in 17.14). Semi-implicit Euler:
// the velocity is updated first, then the position with the new velocity. Every operation is
// integer arithmetic, so the same program gives the same bits on every compiler and target, which
// is what a lockstep game or a replay needs; the last line is the final state's raw values.
#include <fixedpoint/fixed.hpp>

#include <cstdint>
#include <iomanip>
#include <iostream>

using fixedpoint::fixed;
using namespace fixedpoint::literals;

struct Ball {
  fixed height;    // m
  fixed velocity;  // m/s, upward
};

constexpr fixed kStep = 1_fx / 64;  // s
constexpr fixed kGravity = -9.81_fx;
constexpr fixed kRestitution = 0.8_fx;

// One step; true when the ball hit the floor during it.
constexpr bool Step(Ball& ball) {
  ball.velocity += kGravity * kStep;
  ball.height += ball.velocity * kStep;
  if (ball.height >= fixed(0)) return false;
  ball.height = abs(ball.height) * kRestitution;  // reflected off the floor, with the loss
  ball.velocity = abs(ball.velocity) * kRestitution;
  return true;
}

// The same steps, evaluated by the compiler when asked for a constant.
constexpr Ball After(int steps) {
  Ball ball{10_fx, 0_fx};
  for (int i = 0; i < steps; ++i) Step(ball);
  return ball;
}

int main() {
  Ball ball{10_fx, 0_fx};
  std::cout << std::fixed << std::setprecision(3);
  int bounces = 0;
  for (int i = 1; i <= 64 * 8; ++i) {
    if (!Step(ball)) continue;
    ++bounces;
    std::cout << "bounce " << bounces << " at " << fixed(i) * kStep << " s, rising at "
              << ball.velocity << " m/s\n";
  }
  constexpr Ball at_compile_time = After(64 * 8);
  std::cout << "after 8 s: height " << ball.height << " m, velocity " << ball.velocity
            << " m/s; raw " << ball.height.raw() << ' ' << ball.velocity.raw()
            << (at_compile_time.height == ball.height && at_compile_time.velocity == ball.velocity
                    ? ", the same at compile time\n"
                    : ", NOT the same at compile time\n");
}
