#include "win32/ports/cert_store_win.h"

#include <windows.h>
#include <wincrypt.h>

#include "win32/ports/wide.h"

namespace vx {
namespace {

// Closes the store when the scope ends, whatever path it takes.
struct StoreHandle {
  explicit StoreHandle(CertStoreName name) : h(CertOpenSystemStoreW(0, name == CertStoreName::My ? L"MY" : L"ROOT")) {}
  ~StoreHandle() {
    if (h) CertCloseStore(h, 0);
  }
  StoreHandle(const StoreHandle&) = delete;
  StoreHandle& operator=(const StoreHandle&) = delete;
  HCERTSTORE h;
};

std::string CommonName(PCCERT_CONTEXT cert, DWORD flags) {
  DWORD n = CertGetNameStringW(cert, CERT_NAME_ATTR_TYPE, flags, const_cast<char*>(szOID_COMMON_NAME), nullptr, 0);
  if (n <= 1) return {};
  std::wstring text(n, L'\0');
  n = CertGetNameStringW(cert, CERT_NAME_ATTR_TYPE, flags, const_cast<char*>(szOID_COMMON_NAME), text.data(), n);
  if (n <= 1) return {};
  text.resize(n - 1);
  return Narrow(text);
}

std::vector<uint8_t> Property(PCCERT_CONTEXT cert, DWORD id) {
  DWORD size = 0;
  if (!CertGetCertificateContextProperty(cert, id, nullptr, &size) || size == 0) return {};
  std::vector<uint8_t> data(size);
  if (!CertGetCertificateContextProperty(cert, id, data.data(), &size)) return {};
  data.resize(size);
  return data;
}

std::string ShortDate(const FILETIME& utc) {
  FILETIME local;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return {};
  return FormatShortDate(st);
}

CertificateDescription Describe(PCCERT_CONTEXT cert) {
  CertificateDescription d;
  d.issuedTo = CommonName(cert, 0);
  d.issuedBy = CommonName(cert, CERT_NAME_ISSUER_FLAG);
  if (cert->pCertInfo) d.expiredOn = ShortDate(cert->pCertInfo->NotAfter);
  std::vector<uint8_t> friendly = Property(cert, CERT_FRIENDLY_NAME_PROP_ID);
  if (friendly.size() >= sizeof(wchar_t)) {
    std::wstring name(friendly.size() / sizeof(wchar_t), L'\0');
    memcpy(name.data(), friendly.data(), name.size() * sizeof(wchar_t));
    while (!name.empty() && name.back() == L'\0') name.pop_back();
    d.friendlyName = Narrow(name);
  }
  d.hash = Property(cert, CERT_SHA1_HASH_PROP_ID);
  return d;
}

}  // namespace

std::string FormatShortDate(const SYSTEMTIME& date) {
  wchar_t buffer[80];
  int n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, buffer, 80);
  if (n <= 1) return {};
  return Narrow(std::wstring_view(buffer, static_cast<size_t>(n - 1)));
}

std::optional<std::vector<CertificateDescription>> Win32CertStore::List(CertStoreName name) {
  StoreHandle store(name);
  if (!store.h) return std::nullopt;
  std::vector<CertificateDescription> out;
  PCCERT_CONTEXT cert = nullptr;
  while ((cert = CertEnumCertificatesInStore(store.h, cert)) != nullptr) out.push_back(Describe(cert));
  return out;
}

std::optional<CertificateDescription> Win32CertStore::FindByHash(CertStoreName name, const std::vector<uint8_t>& hash) {
  if (hash.empty()) return std::nullopt;
  StoreHandle store(name);
  if (!store.h) return std::nullopt;
  std::vector<uint8_t> copy = hash;
  CRYPT_HASH_BLOB blob{static_cast<DWORD>(copy.size()), copy.data()};
  PCCERT_CONTEXT cert = CertFindCertificateInStore(store.h, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0,
                                                   CERT_FIND_SHA1_HASH, &blob, nullptr);
  if (!cert) return std::nullopt;
  CertificateDescription d = Describe(cert);
  CertFreeCertificateContext(cert);
  return d;
}

}  // namespace vx
