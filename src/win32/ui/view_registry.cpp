#include "win32/ui/view_registry.h"

#include <algorithm>
#include <vector>

namespace vx {
namespace {

std::vector<LiveView*>& Views() {
  static std::vector<LiveView*> views;
  return views;
}

bool Registered(LiveView* view) {
  auto& v = Views();
  return std::find(v.begin(), v.end(), view) != v.end();
}

LRESULT CALLBACK MessageFilter(int code, WPARAM wp, LPARAM lp) {
  if (code == MSGF_DIALOGBOX && lp) {
    MSG& msg = *reinterpret_cast<MSG*>(lp);
    if (PreTranslateViews(msg)) return 1;
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

void RegisterView(LiveView* view) {
  if (!Registered(view)) Views().push_back(view);
}

void UnregisterView(LiveView* view) {
  auto& v = Views();
  v.erase(std::remove(v.begin(), v.end(), view), v.end());
}

void RefreshViews() {
  // A refresh may close a view (and so unregister it) or open another: walk a copy.
  std::vector<LiveView*> views = Views();
  for (LiveView* view : views)
    if (Registered(view)) view->Refresh();
}

bool PreTranslateViews(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  std::vector<LiveView*> views = Views();
  for (LiveView* view : views)
    if (Registered(view) && view->PreTranslate(msg)) return true;
  return false;
}

ModelessKeyboardScope::ModelessKeyboardScope() {
  hook_ = SetWindowsHookExW(WH_MSGFILTER, MessageFilter, nullptr, GetCurrentThreadId());
}

ModelessKeyboardScope::~ModelessKeyboardScope() {
  if (hook_) UnhookWindowsHookEx(hook_);
}

TimerId RefreshingTimers::Start(uint32_t periodMs, Callback onTick) {
  return inner_.Start(periodMs, [onTick = std::move(onTick)](TimerId id) {
    onTick(id);
    RefreshViews();
  });
}

}  // namespace vx
