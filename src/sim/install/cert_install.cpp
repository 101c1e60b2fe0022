// Test fixture: the world's certificates in a Wine prefix's stores, as a user's machine holds them
// once an administrator has handed them out. Never shipped.
//
//   vxsim-certs add STORE FILE NAME   the DER certificate FILE in the current user's STORE (MY or
//                                     ROOT) with the friendly name NAME
//   vxsim-certs lock STORE            the store's registry key refuses to be written, so that
//                                     CryptoAPI cannot open the store (it opens it for writing)
//   vxsim-certs unlock STORE          the key as before
// <sddl.h> and <wincrypt.h> need <windows.h> first.
// clang-format off
#include <windows.h>
#include <sddl.h>
#include <wincrypt.h>
// clang-format on

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const char* text) {
  int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::wstring out(n > 0 ? n : 1, L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), n);
  out.resize(out.size() - 1);
  return out;
}

bool Add(const char* storeName, const char* file, const char* friendly) {
  std::ifstream in(file, std::ios::binary);
  std::vector<BYTE> der((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (der.empty()) {
    std::fprintf(stderr, "cannot read %s\n", file);
    return false;
  }
  HCERTSTORE store = CertOpenSystemStoreW(0, Wide(storeName).c_str());
  if (!store) {
    std::fprintf(stderr, "cannot open the store %s (error %lu)\n", storeName, GetLastError());
    return false;
  }
  PCCERT_CONTEXT added = nullptr;
  bool ok =
      CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()),
                                       CERT_STORE_ADD_REPLACE_EXISTING, &added);
  std::wstring name = Wide(friendly);
  CRYPT_DATA_BLOB blob{static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)),
                       reinterpret_cast<BYTE*>(name.data())};
  ok = ok && CertSetCertificateContextProperty(added, CERT_FRIENDLY_NAME_PROP_ID, 0, &blob);
  if (!ok) std::fprintf(stderr, "cannot add %s to %s (error %lu)\n", file, storeName, GetLastError());
  if (added) CertFreeCertificateContext(added);
  CertCloseStore(store, 0);
  return ok;
}

// Everyone may read the store's key; while locked, nobody may write it.
bool Lock(const char* storeName, bool locked) {
  std::string path = std::string("Software\\Microsoft\\SystemCertificates\\") + storeName;
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, READ_CONTROL | WRITE_DAC, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  PSECURITY_DESCRIPTOR sd = nullptr;
  const wchar_t* sddl = locked ? L"D:(D;;KW;;;WD)(A;;KA;;;WD)" : L"D:(A;;KA;;;WD)";
  bool ok = ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr) &&
            RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
  if (sd) LocalFree(sd);
  RegCloseKey(key);
  if (!ok) std::fprintf(stderr, "cannot change the access to %s\n", path.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "add" && argc == 5) return Add(argv[2], argv[3], argv[4]) ? 0 : 1;
  if ((command == "lock" || command == "unlock") && argc == 3)
    return Lock(argv[2], command == "lock") ? 0 : 1;
  std::fprintf(stderr, "usage: vxsim-certs add STORE FILE NAME | lock STORE | unlock STORE\n");
  return 2;
}
