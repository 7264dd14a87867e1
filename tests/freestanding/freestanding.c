/* SPDX-License-Identifier: MIT */
/* Every function of fp.h but fp_strtofp, header-only, in a program with no C library: built
 * -ffreestanding with only the compiler's own headers, linked -nostdlib without libgcc, it
 * starts at its own _start and exits through the kernel. It folds the results of every
 * function on a few thousand seeded inputs into one checksum, and exits 0 when that equals
 * WANT, the checksum the same file computes in a hosted build (FREESTANDING_HOSTED, which
 * prints it): the functions give the same results with or without the C library. */
#define FIXEDPOINT_HEADER_ONLY
#include <fixedpoint/fp.h>

#include "../fp_forms.h"

/* FNV-1a over the 4 bytes of v. */
static uint32_t mix(uint32_t h, uint32_t v) {
  int i;
  for (i = 0; i < 4; ++i) h = (h ^ ((v >> (8 * i)) & 0xFFu)) * 16777619u;
  return h;
}

static uint32_t checksum(void) {
  uint32_t h = 2166136261u;
  uint32_t state = 20261209u;
  int i, k;
  for (i = 0; i < 4000; ++i) {
    /* Operands of every size: a random word shifted right by 0 to 31 bits, either sign. */
    int32_t x, y, z, stored;
    char text[FP_FORMAT_MAX];
    const char* end;
    state = state * 1664525u + 1013904223u;
    x = (int32_t)(state >> (state % 32u));
    state = state * 1664525u + 1013904223u;
    y = (int32_t)(state >> (state % 32u));
    state = state * 1664525u + 1013904223u;
    z = (int32_t)(state >> (state % 32u));
#define UNARY(f) h = mix(h, (uint32_t)f(x));
#define BINARY(f) h = mix(h, (uint32_t)f(x, y));
#define TERNARY(f) h = mix(h, (uint32_t)f(x, y, z));
#define UNARY_CKD(f) stored = 0, h = mix(h, (uint32_t)f(&stored, x)), h = mix(h, (uint32_t)stored);
#define BINARY_CKD(f) \
  stored = 0, h = mix(h, (uint32_t)f(&stored, x, y)), h = mix(h, (uint32_t)stored);
#define Q(f) h = mix(h, (uint32_t)f(x, (int)((uint32_t)y % 32u)));
    /* Each expands to statements, which clang-format cannot lay out stably. */
    /* clang-format off */
    FP_FORMS_UNARY(UNARY)
    FP_FORMS_BINARY(BINARY)
    FP_FORMS_UNARY_CKD(UNARY_CKD)
    FP_FORMS_BINARY_CKD(BINARY_CKD)
    FP_FORMS_ELEMENTARY(UNARY)
    FP_FORMS_ELEMENTARY_CKD(UNARY_CKD)
    BINARY(fp_pow) BINARY_CKD(fp_pow_ckd) BINARY(fp_atan2) BINARY(fp_hypot)
    BINARY_CKD(fp_hypot_ckd)
    FP_FORMS_EVERYDAY_UNARY(UNARY)
    FP_FORMS_EVERYDAY_BINARY(BINARY)
    UNARY_CKD(fp_abs_ckd)
    FP_FORMS_TERNARY(TERNARY)
    FP_FORMS_Q(Q)
    h = mix(h, (uint32_t)fp_from_double(fp_to_double(x) * 0.75));
    /* clang-format on */
    for (k = -1; k <= 14; ++k) {
      const int length = fp_format(text, sizeof text, x, k);
      int32_t value = 0;
      h = mix(h, (uint32_t)length);
      h = mix(h, (uint32_t)fp_from_chars(text, text + length, &value, &end));
      h = mix(h, (uint32_t)value);
      h = mix(h, (uint32_t)(end - text));
    }
  }
  return h;
}

#ifdef FREESTANDING_HOSTED
#include <stdio.h>
int main(void) {
  printf("%lu\n", (unsigned long)checksum());
  return 0;
}
#else
/* What a compiler may call even in a freestanding program, as a kernel provides them. */
void* memcpy(void* to, const void* from, size_t n);
void* memset(void* to, int c, size_t n);
void* memcpy(void* to, const void* from, size_t n) {
  unsigned char* t = (unsigned char*)to;
  const unsigned char* f = (const unsigned char*)from;
  while (n-- > 0) *t++ = *f++;
  return to;
}
void* memset(void* to, int c, size_t n) {
  unsigned char* t = (unsigned char*)to;
  while (n-- > 0) *t++ = (unsigned char)c;
  return to;
}

void _start(void);
void _start(void) {
  const long status = checksum() == (uint32_t)WANT ? 0 : 1;
#if defined(__x86_64__)
  __asm__ volatile("syscall" : : "a"(60L), "D"(status) : "rcx", "r11", "memory");
#elif defined(__i386__)
  __asm__ volatile("int $0x80" : : "a"(1L), "b"(status) : "memory");
#endif
  for (;;) {
  }
}
#endif
