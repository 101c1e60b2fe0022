// User-interface ports: string tables, message boxes, modal dialogs, the tray icon, the UI thread.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace vx {

class DialogModel;

// Message box flags and results, numbered as Windows numbers them.
enum : uint32_t {
  kMbOk = 0x0,
  kMbOkCancel = 0x1,
  kMbYesNo = 0x4,
  kMbIconError = 0x10,
  kMbIconQuestion = 0x20,
  kMbIconWarning = 0x30,
  kMbIconInformation = 0x40,
};
enum : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

// The string table of the language the system picked, and that language's ANSI code page.
class StringTable {
 public:
  virtual ~StringTable() = default;
  // Empty when the table has no such entry.
  virtual std::string Get(uint32_t id) const = 0;
  // `bytes` read in the ANSI code page of the language (950 Traditional Chinese, 1252 English),
  // as UTF-8; nullopt when they are no valid text there, or the table knows no code page.
  virtual std::optional<std::string> FromAnsi(std::span<const uint8_t> bytes) const {
    (void)bytes;
    return std::nullopt;
  }
};

class DialogPort {
 public:
  virtual ~DialogPort() = default;
  virtual int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) = 0;
  // Runs the model's dialog modally; returns the close result (kIdOk, kIdCancel, ...).
  virtual int RunModal(DialogModel& model) = 0;
};

class TrayPort {
 public:
  virtual ~TrayPort() = default;
  virtual bool Add(uint32_t iconId, const std::string& tip) = 0;
  virtual bool Modify(uint32_t iconId, const std::string& tip) = 0;
  virtual void Remove() = 0;
  // Shows the first popup of the menu resource at the cursor; returns the chosen command or 0.
  virtual uint32_t TrackMenu(uint32_t menuId) = 0;
};

}  // namespace vx
