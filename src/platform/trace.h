// Diagnostics: formatted and handed to a sink; no sink is installed in release builds.
#pragma once
#include <functional>
#include <string_view>

namespace vx {

using TraceSink = std::function<void(std::string_view)>;

void SetTraceSink(TraceSink sink);
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vx
