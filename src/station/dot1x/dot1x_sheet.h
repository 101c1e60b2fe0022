// The "802.1x Setting" sheet: its "Authentication" and "CA Server" pages and the "Select
// Certificate" dialog. The caller hands in a profile's 802.1X values and takes them back after
// OK; OK succeeds only when the values pass the sheet's checks.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/ui/sheet_model.h"
#include "platform/cert_store.h"
#include "platform/ui.h"
#include "resources/dialogs/dot1x_auth_page.h"
#include "resources/dialogs/dot1x_ca_page.h"
#include "resources/dialogs/select_certificate_dialog.h"
#include "station/dot1x/dot1x_settings.h"

namespace vx {

class C8021xSheet;

// Picks a client certificate of the personal store.
class CSelectCertificateDialog : public DialogModel {
 public:
  CSelectCertificateDialog(const StringTable& strings, DialogPort& dialogs, std::vector<CertificateDescription> certs,
                           std::optional<CertificateDescription> current);
  uint32_t TemplateId() const override { return kIddSelectCertificate; }
  void OnInit() override;
  bool OnOk() override;
  const std::optional<CertificateDescription>& Chosen() const { return chosen_; }

 private:
  const StringTable& strings_;
  DialogPort& dialogs_;
  std::vector<CertificateDescription> certs_;
  std::optional<CertificateDescription> current_;
  std::optional<CertificateDescription> chosen_;
};

class C8021xAuthPage : public DialogModel {
 public:
  explicit C8021xAuthPage(C8021xSheet& sheet) : sheet_(sheet) {}
  uint32_t TemplateId() const override { return kIdd8021xAuth; }
  void OnInit() override;
  void OnCommand(int controlId, UiEvent event) override;
  bool OnOk() override;

  // The method and tunnel protocol the lists show now.
  int32_t Method() const;
  int32_t TunnelProtocol() const;
  // Controls into `values`.
  void Store(Dot1xSettings& values) const;
  const std::optional<CertificateDescription>& ClientCertificate() const { return clientCert_; }

 private:
  void FillTunnelList(int32_t selected);
  void ApplyRules();
  void ShowCertificate();
  void ChooseCertificate();
  bool ClientCertInUse() const;

  C8021xSheet& sheet_;
  std::vector<int32_t> methods_;  // value of each method entry
  std::vector<int32_t> tunnels_;  // value of each tunnel entry
  std::optional<CertificateDescription> clientCert_;
  std::vector<uint8_t> storedClientHash_;  // kept when the store no longer has the certificate
};

class C8021xCaServerPage : public DialogModel {
 public:
  explicit C8021xCaServerPage(C8021xSheet& sheet) : sheet_(sheet) {}
  uint32_t TemplateId() const override { return kIdd8021xCa; }
  void OnInit() override;
  void OnSetActive() override { ApplyRules(); }
  void OnCommand(int controlId, UiEvent event) override;
  bool OnOk() override;

  void Store(Dot1xSettings& values) const;
  // The authentication page changed to a method with or without a server certificate.
  void ApplyRules();

 private:
  C8021xSheet& sheet_;
  std::vector<std::vector<uint8_t>> hashes_;  // per issuer entry; empty for "- Any Trusted CA -"
};

class C8021xSheet : public SheetModel {
 public:
  // `wpa`: the profile uses WPA or WPA2 key management with 802.1X (no MD5 then).
  C8021xSheet(const StringTable& strings, DialogPort& dialogs, CertStorePort& certs, Dot1xSettings values, bool wpa);

  std::vector<DialogModel*> Pages() override { return {&auth_, &ca_}; }
  void OnInit() override;
  bool OnOk() override { return Ok(); }

  // Checks the pages' values; on success they become Values(). The first failure shows its
  // message, brings its page to the front and returns false.
  bool Ok();
  const Dot1xSettings& Values() const { return values_; }
  bool Wpa() const { return wpa_; }

  C8021xAuthPage& AuthPage() { return auth_; }
  C8021xCaServerPage& CaPage() { return ca_; }
  const StringTable& Strings() const { return strings_; }
  DialogPort& Dialogs() { return dialogs_; }
  CertStorePort& Certificates() { return certs_; }

 private:
  const StringTable& strings_;
  DialogPort& dialogs_;
  CertStorePort& certs_;
  Dot1xSettings values_;
  bool wpa_;
  bool done_ = false;
  C8021xAuthPage auth_{*this};
  C8021xCaServerPage ca_{*this};
};

}  // namespace vx
