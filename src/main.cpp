// SPDX-License-Identifier: MIT
// fp_demo: computes one sixtieth, and ten thousand times it, in 17.14 fixed point and prints
// the raw values together with the raw forms of 1 and 60 they came from:
//
//   273 2730000 16384 983040
//
// Exit status 0 once the whole line has reached standard output; 1, with a message on standard
// error, when it could not be written (standard output closed, a full disk, /dev/full).
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include <fixedpoint/fp.h>

int main() {
  const int32_t one = cvt_int_fp(1);
  const int32_t sixty = cvt_int_fp(60);
  // The second operand of fp_mul is the ordinary integer 1: fp_mul is a plain product, so the
  // quotient passes through unchanged.
  const int32_t sixtieth = fp_mul(fp_div(one, sixty), 1);
  const int32_t scaled = fp_mul_int(sixtieth, 10000);

  // Standard output is buffered, so a failed write may only show at the flush.
  errno = 0;
  // PRId32, not %d: int32_t is long on some targets (newlib on ARM).
  const bool written = std::printf("%" PRId32 " %" PRId32 " %" PRId32 " %" PRId32 "\n", sixtieth,
                                   scaled, one, sixty) >= 0;
  if (std::fflush(stdout) != 0 || !written || std::ferror(stdout) != 0) {
    const int error = errno != 0 ? errno : EIO;  // a stream error need not set errno
    std::fprintf(stderr, "fp_demo: write error: %s\n", std::strerror(error));
    return 1;
  }
  return 0;
}
