#include "softap/monitor/monitor_pages.h"

#include <cstdio>

#include "common/ui/list_columns.h"
#include "driver/oid_codes.h"
#include "resources/dialogs/ap_event_log_page.h"
#include "resources/dialogs/ap_mac_table_page.h"
#include "resources/string_ids.h"

namespace vx {
LocalTime FileTimeToUtcFields(uint64_t fileTime) {
  int64_t seconds = static_cast<int64_t>(fileTime / 10000000ULL);
  int64_t days = seconds / 86400 - 134774;  // 1601-01-01 to 1970-01-01
  int64_t rest = seconds % 86400;
  // Civil date from days since 1970-01-01.
  int64_t z = days + 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  LocalTime t;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
  t.hour = static_cast<int>(rest / 3600);
  t.minute = static_cast<int>(rest / 60 % 60);
  t.second = static_cast<int>(rest % 60);
  return t;
}

void PolledPage::OnSetActive() {
  timers_.Kill(timer_);
  timer_ = timers_.Start(kPeriodMs, [this](TimerId) { OnTimer(kPageTimer); });
}

bool PolledPage::OnKillActive() {
  timers_.Kill(timer_);
  timer_ = 0;
  return true;
}

CMacTablePage::CMacTablePage(OidChannel& channel, TimerPort& timers, const StringTable& strings)
    : PolledPage(timers), channel_(channel), strings_(strings) {
  caption = strings.Get(IDS_AP_PAGE_MAC_TABLE);
}

uint32_t CMacTablePage::TemplateId() const { return kIddApMacTablePage; }

void CMacTablePage::OnInit() {
  auto& list = Control(kIdcMtList);
  list.columns = {{strings_.Get(IDS_MT_COL_MAC), 0},
                  {strings_.Get(IDS_MT_COL_AID), 0},
                  {strings_.Get(IDS_MT_COL_POWER_SAVING), 0}};
  list.listStyle = kListGridLines | kListFullRowSelect | kListInfoTips;
  if (listWidth_ > 0) SetListWidth(listWidth_);
}

void CMacTablePage::SetListWidth(int pixels) {
  listWidth_ = pixels;
  auto& cols = Control(kIdcMtList).columns;
  if (cols.size() < 3) OnInit();
  cols[0].width = ShareOfWholeTenths(pixels, 50);
  cols[1].width = ShareOfWholeTenths(pixels, 15);
  cols[2].width = ShareOfWholeTenths(pixels, 34);
}

void CMacTablePage::OnListWidth(int id, int pixels) {
  if (id == kIdcMtList) SetListWidth(pixels);
}

void CMacTablePage::OnTimer(int timerId) {
  if (timerId != kPageTimer) return;
  std::vector<uint8_t> buffer(kMacTableSize, 0);
  if (!channel_.Query(VX_OID_802_11_QUERY_MAC_TABLE, buffer)) return;  // keep the rows shown
  auto& rows = Control(kIdcMtList).rows;
  rows.clear();
  for (const auto& e : DecodeMacTable(buffer)) {  // at most 32 entries, whatever the count says
    ListRow row;
    row.cells = {FormatMac(e.mac), std::to_string(e.aid), strings_.Get(e.powerSaving ? IDS_YES : IDS_NO)};
    rows.push_back(std::move(row));
  }
}

CEventLogPage::CEventLogPage(ApEventStore& store, TimerPort& timers, const StringTable& strings,
                             LocalTimeConverter toLocal)
    : PolledPage(timers), store_(store), strings_(strings), toLocal_(std::move(toLocal)) {
  caption = strings.Get(IDS_AP_PAGE_EVENT_LOG);
  if (!toLocal_) toLocal_ = FileTimeToUtcFields;
}

uint32_t CEventLogPage::TemplateId() const { return kIddApEventLogPage; }

void CEventLogPage::OnInit() {
  auto& list = Control(kIdcElList);
  list.columns = {{strings_.Get(IDS_EL_COL_TIME), 0}, {strings_.Get(IDS_EL_COL_MESSAGE), 0}};
  list.listStyle = kListGridLines | kListFullRowSelect | kListInfoTips;
  Control(kIdcElClear).text = strings_.Get(IDS_EL_CLEAR);
  if (listWidth_ > 0) SetListWidth(listWidth_);
}

void CEventLogPage::OnListWidth(int id, int pixels) {
  if (id == kIdcElList) SetListWidth(pixels);
}

void CEventLogPage::SetListWidth(int pixels) {
  listWidth_ = pixels;
  auto& cols = Control(kIdcElList).columns;
  if (cols.size() < 2) OnInit();
  cols[0].width = ShareOfWholeTenths(pixels, 40);
  cols[1].width = ShareOfWholeTenths(pixels, 59);
}

std::string CEventLogPage::Message(const EventEntry& e) const {
  static constexpr uint32_t kTexts[] = {IDS_AP_EVENT_RESTART,        IDS_AP_EVENT_ASSOCIATED, IDS_AP_EVENT_LEFT,
                                        IDS_AP_EVENT_AGED_OUT,       IDS_AP_EVENT_COUNTERMEASURE,
                                        IDS_AP_EVENT_INVALID_PSK};
  if (e.type == 0) return strings_.Get(kTexts[0]);
  if (e.type > 5) return "";
  // " %s %s": the address, then the text.
  std::string message(1, ' ');
  message.append(FormatMac(e.mac)).append(1, ' ').append(strings_.Get(kTexts[e.type]));
  return message;
}

void CEventLogPage::Show() {
  auto& rows = Control(kIdcElList).rows;
  const auto& events = store_.Events();
  for (size_t i = store_.ShownCount(); i < events.size(); ++i) {
    LocalTime t = toLocal_(events[i].time);
    char text[64];
    std::snprintf(text, sizeof text, "%04d / %02d / %02d - %02d : %02d : %02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    rows.push_back(ListRow{{text, Message(events[i])}, -1});
  }
  store_.SetShownCount(events.size());
  if (rows.size() > ApEventStore::kCapacity)
    rows.erase(rows.begin(), rows.begin() + static_cast<long>(rows.size() - ApEventStore::kCapacity));
}

void CEventLogPage::OnTimer(int timerId) {
  if (timerId == kPageTimer) Show();
}

void CEventLogPage::OnCommand(int id, UiEvent event) {
  if (id != kIdcElClear || event != UiEvent::Clicked) return;
  Control(kIdcElList).rows.clear();
  store_.Clear();
}

}  // namespace vx
