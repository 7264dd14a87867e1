/* SPDX-License-Identifier: MIT */
/* A PID controller in C that heats a room from 20 to 60 degrees: a first-order plant (heating
 * in proportion to the power, losing heat in proportion to the difference with the outside),
 * sampled every 0.1 s. Gains and limits are constants in static initialisers (FP_FROM_INT); the
 * output is clamped to its range (fp_clamp), and the error is not integrated while it is at a
 * limit, so the integral cannot wind up; every product is rounded to nearest and every sum
 * saturates. The trace is integer arithmetic only, so it is the same on every target. */
#include <stdio.h>

#include <fixedpoint/fp.h>

static const int32_t kp = FP_FROM_INT(4);
static const int32_t ki = FP_FROM_INT(1) / 2;  /* 0.5 */
static const int32_t kd = FP_FROM_INT(1) / 4;  /* 0.25 */
static const int32_t dt = FP_FROM_INT(1) / 10; /* 0.1 s, rounded down to 1638 raw units */
static const int32_t power_min = FP_FROM_INT(0);
static const int32_t power_max = FP_FROM_INT(100);

/* The plant: degrees per second per unit of power, and the fraction of the difference with the
 * outside lost per second. */
static const int32_t heating = FP_FROM_INT(1) / 20; /* 0.05 */
static const int32_t loss = FP_FROM_INT(1) / 50;    /* 0.02 */
static const int32_t outside = FP_FROM_INT(20);

struct pid {
  int32_t integral;      /* the integral of the error, in degree-seconds */
  int32_t last_measured; /* for the derivative, taken on the measurement to avoid a kick */
};

static int32_t pid_step(struct pid* c, int32_t setpoint, int32_t measured) {
  const int32_t error = fp_sub_sat(setpoint, measured);
  const int32_t rate = fp_div_sat(fp_sub_sat(measured, c->last_measured), dt);
  const int32_t integral = fp_add_sat(c->integral, fp_mul_fp_nearest(error, dt));
  int32_t out = fp_add_sat(fp_mul_fp_nearest(kp, error), fp_mul_fp_nearest(ki, integral));
  out = fp_sub_sat(out, fp_mul_fp_nearest(kd, rate));
  c->last_measured = measured;
  /* Anti-windup: the error is integrated only while the output is within its limits. */
  if (fp_clamp(out, power_min, power_max) == out) c->integral = integral;
  return fp_clamp(out, power_min, power_max);
}

int main(void) {
  const int32_t setpoint = FP_FROM_INT(60);
  int32_t temperature = outside;
  struct pid c = {0, 0};
  int step;
  c.last_measured = temperature;
  puts("time  power  temperature");
  for (step = 0; step <= 600; ++step) {
    const int32_t power = pid_step(&c, setpoint, temperature);
    const int32_t warming = fp_mul_fp_nearest(power, heating);
    const int32_t cooling = fp_mul_fp_nearest(fp_sub_sat(temperature, outside), loss);
    if (step % 50 == 0) {
      char p[FP_FORMAT_MAX];
      char t[FP_FORMAT_MAX];
      fp_format(p, sizeof p, power, 1);
      fp_format(t, sizeof t, temperature, 2);
      printf("%4d %6s %12s\n", step / 10, p, t);
    }
    temperature = fp_add_sat(temperature, fp_mul_fp_nearest(fp_sub_sat(warming, cooling), dt));
  }
  return 0;
}
