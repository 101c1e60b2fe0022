// A small test runner for the Windows-side programs: each CHECK that fails is reported with its
// line, and the program ends with the closing line "N passed, N failed".
#pragma once
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace vx::check {

struct Case {
  const char* name;
  std::function<void()> body;
};
inline std::vector<Case>& Cases() {
  static std::vector<Case> cases;
  return cases;
}
inline int& Failures() {
  static int failures = 0;
  return failures;
}
struct Register {
  Register(const char* name, std::function<void()> body) { Cases().push_back({name, std::move(body)}); }
};

inline int RunAll() {
  int passed = 0, failed = 0;
  for (const auto& c : Cases()) {
    int before = Failures();
    c.body();
    bool ok = Failures() == before;
    std::printf("[%s] %s\n", ok ? "PASS" : "FAIL", c.name);
    (ok ? passed : failed)++;
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  std::fflush(stdout);
  return failed == 0 ? 0 : 1;
}

}  // namespace vx::check

#define VX_CAT2(a, b) a##b
#define VX_CAT(a, b) VX_CAT2(a, b)
#define TEST_CASE(name)                                                   \
  static void VX_CAT(test_, __LINE__)();                                  \
  static vx::check::Register VX_CAT(reg_, __LINE__)(name, VX_CAT(test_, __LINE__)); \
  static void VX_CAT(test_, __LINE__)()
#define CHECK(cond)                                                           \
  do {                                                                        \
    if (!(cond)) {                                                            \
      std::printf("  %s:%d: CHECK(%s) failed\n", __FILE__, __LINE__, #cond); \
      ++vx::check::Failures();                                                \
    }                                                                         \
  } while (0)
