#include "platform/trace.h"

#include <cstdarg>
#include <cstdio>
#include <utility>

namespace vx {
namespace {
TraceSink& Sink() {
  static TraceSink sink;
  return sink;
}
}  // namespace

void SetTraceSink(TraceSink sink) { Sink() = std::move(sink); }

void Trace(const char* format, ...) {
  if (!Sink()) return;
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  Sink()(buffer);
}

}  // namespace vx
