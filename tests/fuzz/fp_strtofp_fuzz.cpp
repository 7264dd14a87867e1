// SPDX-License-Identifier: MIT
// libFuzzer target: reads arbitrary bytes as text with fp_strtofp and checks the value, errno
// and *end against the reference model; reads the same bytes, with no NUL after them, with
// fp_from_chars and checks its status, value and *end likewise (no white space skipped); then
// the round trip of the value through fp_format, shortest and with 14 digits. Any difference
// aborts, which libFuzzer reports as a crash.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include <fixedpoint/fp.h>

#include "../fp_text_reference.h"

namespace {

namespace ref = fp_text_reference;

[[noreturn]] void Fail(const char* text, const char* what, int32_t got, int32_t want) {
  std::fprintf(stderr, "fp_strtofp(\"%s\"): %s: got %ld, want %ld\n", text, what,
               static_cast<long>(got), static_cast<long>(want));
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  // An exact-size copy: AddressSanitizer reports any read past the NUL or before the start.
  const std::unique_ptr<char[]> text(new char[size + 1]);
  if (size > 0) std::memcpy(text.get(), data, size);
  text[size] = '\0';

  const ref::Read want = ref::Parse(std::string_view(text.get(), size));
  char* end = nullptr;
  errno = 0;
  const int32_t got = fp_strtofp(text.get(), &end);
  const int error = errno;
  const int want_error = !want.number ? EINVAL : (want.range_error ? ERANGE : 0);
  const std::ptrdiff_t want_length = static_cast<std::ptrdiff_t>(want.length);
  if (got != want.value) Fail(text.get(), "value", got, want.value);
  if (error != want_error) Fail(text.get(), "errno", error, want_error);
  if (end - text.get() != want_length) {
    Fail(text.get(), "*end", static_cast<int32_t>(end - text.get()),
         static_cast<int32_t>(want_length));
  }

  // The bytes alone, in a buffer of exactly their size: nothing past them may be read.
  const std::unique_ptr<char[]> range(new char[size > 0 ? size : 1]);
  if (size > 0) std::memcpy(range.get(), data, size);
  const bool space_first = size > 0 && ref::IsSpace(range[0]);
  const ref::Read bounded = space_first ? ref::Read{} : want;
  int32_t value = 42;
  const char* bounded_end = nullptr;
  const int status = fp_from_chars(range.get(), range.get() + size, &value, &bounded_end);
  const int want_status = !bounded.number ? FP_EINVAL : (bounded.range_error ? FP_ERANGE : 0);
  if (status != want_status) Fail(text.get(), "fp_from_chars status", status, want_status);
  if (value != (bounded.number ? bounded.value : 42)) {
    Fail(text.get(), "fp_from_chars value", value, bounded.value);
  }
  if (bounded_end - range.get() != static_cast<std::ptrdiff_t>(bounded.length)) {
    Fail(text.get(), "fp_from_chars *end", static_cast<int32_t>(bounded_end - range.get()),
         static_cast<int32_t>(bounded.length));
  }

  char printed[FP_FORMAT_MAX];
  fp_format(printed, sizeof printed, got, -1);
  if (ref::Shortest(got) != printed)
    Fail(printed, "shortest form differs from the reference", got, 0);
  if (fp_strtofp(printed, nullptr) != got) Fail(printed, "shortest form reads back", got, 0);
  fp_format(printed, sizeof printed, got, 14);
  if (fp_strtofp(printed, nullptr) != got) Fail(printed, "14-digit form reads back", got, 0);
  return 0;
}
