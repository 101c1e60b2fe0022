#include "station/profiles/profile_page.h"

#include <algorithm>

#include "base/hex.h"
#include "common/settings/registry_values.h"
#include "common/text/shown_text.h"
#include "common/ui/list_columns.h"
#include "driver/oid_codes.h"
#include "driver/records.h"
#include "resources/resource_ids.h"
#include "resources/string_ids.h"
#include "station/shell/adapter_control.h"

namespace vx {
namespace {

constexpr int kColumns[] = {IDS_COL_PROFILE_NAME,   IDS_COL_SSID,       IDS_COL_CHANNEL,
                            IDS_COL_AUTHENTICATION, IDS_COL_ENCRYPTION, IDS_COL_NETWORK_TYPE};
constexpr int kTenths[] = {17, 21, 12, 18, 15, 17};  // (width / 10) x 1.7, 2.1, ...
constexpr int kStatusTenths = 15;                    // the status column, as wide as Encryption

}  // namespace

std::string AuthenticationText(const StringTable& s, int32_t authenType, bool leap, bool use8021x) {
  static constexpr uint32_t names[] = {IDS_AUTH_OPEN, IDS_AUTH_SHARED,  IDS_AUTH_BLANK,
                                       IDS_AUTH_WPA,  IDS_AUTH_WPA_PSK, IDS_AUTH_WPA_NONE,
                                       IDS_AUTH_WPA2, IDS_AUTH_WPA2_PSK};
  std::string name;
  if (leap)
    name = s.Get(IDS_AUTH_LEAP);
  else if (authenType >= 0 && authenType <= 7)
    name = s.Get(names[authenType]);
  std::string suffix =
      (authenType == 0 || authenType == 1) && use8021x ? s.Get(IDS_USE_8021X_SUFFIX) : std::string();
  return name + " " + suffix;
}

std::string EncryptionText(const StringTable& s, int32_t encryption) {
  switch (encryption) {
    case 0:
      return s.Get(IDS_CIPHER_WEP);
    case 1:
      return s.Get(IDS_CIPHER_NONE);
    case 4:
      return s.Get(IDS_CIPHER_TKIP);
    case 6:
      return s.Get(IDS_CIPHER_AES);
    default:
      return {};
  }
}

CProfilePage::CProfilePage(ProfileEditorContext& ctx, TimerPort& timers, ProfilePageHooks hooks)
    : ctx_(ctx), timers_(timers), hooks_(std::move(hooks)) {
  caption = ctx_.strings.Get(IDS_PAGE_PROFILE);
}

CProfilePage::~CProfilePage() {
  if (timer_) timers_.Kill(timer_);
}

void CProfilePage::SetListWidth(int pixels) {
  listWidth_ = pixels > 0 ? pixels : kListWidth;
  auto& columns = Control(prof::kList).columns;
  for (size_t i = 0; i < columns.size() && i < std::size(kTenths); ++i)
    columns[i].width = ShareOfWholeTenths(listWidth_, kTenths[i]);
  if (columns.size() > std::size(kTenths))
    columns.back().width = ShareOfWholeTenths(listWidth_, kStatusTenths);
}

void CProfilePage::OnListWidth(int id, int pixels) {
  if (id == prof::kList) SetListWidth(pixels);
}

void CProfilePage::OnInit() {
  ControlState& list = Control(prof::kList);
  list.columns.clear();
  for (int title : kColumns) list.columns.push_back({Text(static_cast<uint32_t>(title)), 0});
  if (ctx_.facts && ctx_.facts().screenReader) list.columns.push_back({Text(IDS_COL_STATUS), 0});
  SetListWidth(listWidth_);
  // Image 0 marks the active profile while associated with its network, image 1 otherwise.
  list.listImages = {kIconProfileConnected, kIconProfileIdle};
  // Info tips as well, so a name cut short by its column can still be read whole.
  list.listStyle = kListGridLines | kListFullRowSelect | kListFlatScrollBars | kListInfoTips;
  Control(prof::kGroup).text = Text(IDS_PROFILE_LIST);
  Control(prof::kAdd).text = Text(IDS_BTN_ADD);
  Control(prof::kDelete).text = Text(IDS_BTN_DELETE);
  Control(prof::kEdit).text = Text(IDS_BTN_EDIT);
  Control(prof::kActivate).text = Text(IDS_BTN_ACTIVATE);
  FillList();
  if (!timer_) timer_ = timers_.Start(kStatusTimerMs, [this](TimerId) { OnTimer(kStatusTimer); });
}

void CProfilePage::OnTimer(int timerId) {
  if (timerId == kStatusTimer) RefreshStatusIcon();
}

ListRow CProfilePage::RowOf(const StationProfile& p) const {
  ListRow row;
  const bool infraText = p.networkType == 1;
  row.cells.push_back(p.name);
  row.cells.push_back(p.ssid.empty() ? Text(IDS_SSID_ANY) : ShownSsid(p.ssid, ctx_.strings));
  row.cells.push_back(infraText ? Text(IDS_AUTO) : std::to_string(p.channel));
  row.cells.push_back(AuthenticationText(ctx_.strings, p.authenType, p.leapEnabled != 0, p.use8021x != 0));
  row.cells.push_back(EncryptionText(ctx_.strings, p.encryption));
  static constexpr uint32_t types[] = {IDS_NET_ADHOC, IDS_NET_INFRASTRUCTURE, IDS_AUTO};
  row.cells.push_back(p.networkType >= 0 && p.networkType <= 2 ? Text(types[p.networkType]) : std::string());
  return row;
}

ListRow CProfilePage::ReadRow(const std::string& name) {
  RegKey key = ctx_.store.ProfileKey(name);
  StationProfile p;
  p.name = name;
  auto text = [&](const char* v) { return ReadText(ctx_.reg, key, v, ""); };
  auto number = [&](const char* v, int32_t d) { return ReadInt(ctx_.reg, key, v, d); };

  // A channel the region and mode no longer allow becomes the list's first, in the store too.
  ProfileEditorFacts facts = ctx_.facts ? ctx_.facts() : ProfileEditorFacts{};
  auto allowed = ChannelsFor(facts.channels.family, facts.channels.wirelessMode, facts.channels.bgCode,
                             facts.channels.aCode);
  auto stored = ReadIntIfPresent(ctx_.reg, key, regstr::kChannel);
  p.channel = stored.value_or(0);
  if (!allowed.empty() &&
      std::find(allowed.begin(), allowed.end(), static_cast<uint32_t>(p.channel)) == allowed.end()) {
    p.channel = static_cast<int32_t>(allowed.front());
    WriteInt(ctx_.reg, key, regstr::kChannel, p.channel);
  }
  p.ssid = text(regstr::kSsid);
  p.authenType = number(regstr::kAuthenType, -1);
  p.use8021x = (p.authenType == 0 || p.authenType == 1) ? number(regstr::kUse8021x, 0) : 0;
  p.leapEnabled = number(regstr::kLeapEnabled, 0);
  p.encryption = number(regstr::kEncryption, -1);
  p.networkType = number(regstr::kNetworkType, -1);
  return RowOf(p);
}

void CProfilePage::FillList() {
  ControlState& list = Control(prof::kList);
  list.rows.clear();
  list.selection = -1;
  if (auto current = ReadText(ctx_.reg, ctx_.store.AdapterKey(), regstr::kCurProfile)) activeName_ = *current;
  bool matched = false;
  if (ctx_.reg.KeyExists(ctx_.store.ContainerKey())) {
    for (const std::string& name : ctx_.store.ListProfiles()) {
      if (!ctx_.reg.KeyExists(ctx_.store.ProfileKey(name))) continue;
      if (EqualsIgnoreCase(name, activeName_)) matched = true;
      list.rows.push_back(ReadRow(name));
    }
  }
  if (!matched) activeName_.clear();
  EnableButtons();
}

void CProfilePage::EnableButtons() {
  const bool any = !Control(prof::kList).rows.empty();
  for (int id : {prof::kDelete, prof::kEdit, prof::kActivate}) Control(id).enabled = any;
}

int CProfilePage::Selected() const {
  auto it = Controls().find(prof::kList);
  if (it == Controls().end()) return -1;
  int s = it->second.selection;
  return s >= 0 && static_cast<size_t>(s) < it->second.rows.size() ? s : -1;
}

std::string CProfilePage::RowName(int row) const {
  const auto& rows = Controls().at(prof::kList).rows;
  return rows[static_cast<size_t>(row)].cells.empty() ? std::string()
                                                      : rows[static_cast<size_t>(row)].cells[0];
}

int CProfilePage::ActiveRow() const {
  if (activeName_.empty()) return -1;
  auto it = Controls().find(prof::kList);
  if (it == Controls().end()) return -1;
  for (size_t i = 0; i < it->second.rows.size(); ++i)
    if (!it->second.rows[i].cells.empty() && EqualsIgnoreCase(it->second.rows[i].cells[0], activeName_))
      return static_cast<int>(i);
  return -1;
}

void CProfilePage::RefreshStatusIcon() {
  int active = ActiveRow();
  if (active < 0) return;
  auto& rows = Control(prof::kList).rows;
  int image = kImageIdle;
  uint32_t media = kMediaDisconnected;
  MacAddress bssid{};
  bool connected = ctx_.channel.QueryU32(OID_GEN_MEDIA_CONNECT_STATUS, media) && media == kMediaConnected;
  if (connected && ctx_.channel.Query(OID_802_11_BSSID, bssid) &&
      std::any_of(bssid.begin(), bssid.end(), [](uint8_t b) { return b != 0; }) &&
      (!ctx_.linkApplied || ctx_.linkApplied())) {
    std::vector<uint8_t> ssid(kSsidRecordSize, 0);
    ctx_.channel.Query(OID_802_11_SSID, ssid);
    const std::string& cell = rows[static_cast<size_t>(active)].cells[1];
    image = cell == Text(IDS_SSID_ANY) || cell == ShownSsid(DecodeSsid(ssid).Text(), ctx_.strings)
                ? kImageConnected
                : kImageIdle;
  }
  for (size_t i = 0; i < rows.size(); ++i) rows[i].image = static_cast<int>(i) == active ? image : -1;
  ShowStatus();
}

void CProfilePage::ShowStatus() {
  ShowRowStatus(Control(prof::kList), std::size(kColumns), {Text(IDS_CONNECTED), Text(IDS_PROFILE_ACTIVE)});
}

void CProfilePage::Box(uint32_t id, uint32_t flags) {
  ctx_.dialogs.MessageBox(Text(id), Text(IDS_APP_TITLE), flags);
}

int CProfilePage::RunSheet(ProfileSheetBase& sheet) { return RunProfileEditor(ctx_, sheet); }

bool CProfilePage::AddProfile(const std::string& ssid, int32_t encryption, int32_t authentication,
                              int32_t networkType, int32_t channel) {
  auto sheet = CProfileSheet::ForAdd(ctx_, ssid, encryption, authentication, networkType, channel);
  if (RunSheet(*sheet) != kIdOk || !sheet->Saved()) return false;
  ControlState& list = Control(prof::kList);
  list.rows.push_back(RowOf(sheet->Profile()));
  list.selection = static_cast<int>(list.rows.size()) - 1;
  EnableButtons();
  return true;
}

void CProfilePage::EditSelected() {
  int row = Selected();
  if (row < 0) return Box(IDS_NO_SELECTED_ITEM);
  const std::string name = RowName(row);
  auto sheet = CProfileSheet::ForEdit(ctx_, name);
  if (RunSheet(*sheet) != kIdOk || !sheet->Saved()) return;
  ControlState& list = Control(prof::kList);
  StationProfile stored = sheet->Profile();
  if (!EqualsIgnoreCase(stored.name, name)) {
    // Saved as a new profile; the old one stays as it was.
    list.rows.push_back(RowOf(stored));
    return;
  }
  stored.name = name;  // the key keeps the case it was created with
  int image = list.rows[static_cast<size_t>(row)].image;
  list.rows[static_cast<size_t>(row)] = RowOf(stored);
  list.rows[static_cast<size_t>(row)].image = image;
  ShowStatus();
  if (EqualsIgnoreCase(name, activeName_) && !ctx_.store.SelectProfile(name, false))
    Box(IDS_PROFILE_NOT_ACTIVATED, kMbIconError);
}

void CProfilePage::DeleteSelected() {
  int row = Selected();
  if (row < 0) return Box(IDS_NO_SELECTED_ITEM);
  const std::string name = RowName(row);
  const bool active = EqualsIgnoreCase(name, activeName_);
  if (active) {
    int answer = ctx_.dialogs.MessageBox(Text(IDS_DELETE_ACTIVE_PROFILE), Text(IDS_APP_TITLE),
                                         kMbOkCancel | kMbIconQuestion);
    if (answer != kIdOk) return;
  }
  // The active profile's credentials leave the live values first: when that is refused, nothing
  // is deleted, so no profile's secrets stay live without their profile.
  if (active) {
    if (!ctx_.store.ClearLiveProfile()) return Box(IDS_PROFILE_NOT_DELETED, kMbIconError);
    if (ctx_.setOidFromReg) ctx_.setOidFromReg(false);
    activeName_.clear();
    if (hooks_.liveProfileCleared) hooks_.liveProfileCleared();
  }
  // The row goes only when the profile did: a failed delete leaves both in place.
  std::string error;
  if (!ctx_.store.DeleteProfile(name, &error)) {
    ctx_.dialogs.MessageBox(error.empty() ? Text(IDS_PROFILE_NOT_DELETED) : error, Text(IDS_APP_TITLE),
                            kMbIconError);
    return;
  }
  ControlState& list = Control(prof::kList);
  list.rows.erase(list.rows.begin() + row);
  if (list.rows.empty())
    list.selection = -1;
  else
    list.selection = std::min(row, static_cast<int>(list.rows.size()) - 1);
  EnableButtons();
}

void CProfilePage::ActivateSelected() {
  int row = Selected();
  if (row < 0) return Box(IDS_NO_SELECTED_ITEM);
  const std::string before = activeName_;
  activeName_ = RowName(row);
  if (hooks_.profileChosenByHand) hooks_.profileChosenByHand();
  if (!ctx_.store.SelectProfile(activeName_, false)) {
    activeName_ = before;  // the live values are still the earlier profile's
    Box(IDS_PROFILE_NOT_ACTIVATED, kMbIconError);
  }
  RefreshStatusIcon();
}

void CProfilePage::OnCommand(int id, UiEvent event) {
  if (id == prof::kList && event == UiEvent::DoubleClicked) return EditSelected();
  if (event != UiEvent::Clicked) return;
  if (id == prof::kAdd)
    AddProfile("", kEncNone, kAuthOpen, 1, 1);
  else if (id == prof::kDelete)
    DeleteSelected();
  else if (id == prof::kEdit)
    EditSelected();
  else if (id == prof::kActivate)
    ActivateSelected();
}

}  // namespace vx
