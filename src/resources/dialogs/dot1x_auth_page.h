// Controls of the 802.1X sheet's "Authentication" page (template 199); band 1601-1639.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_8021X_AUTH 199

#define VX_IDC_DAUTH_METHOD_LABEL 1601
#define VX_IDC_DAUTH_METHOD 1602
#define VX_IDC_DAUTH_RESUME_LABEL 1603
#define VX_IDC_DAUTH_RESUME 1604
#define VX_IDC_DAUTH_ID_LABEL 1605
#define VX_IDC_DAUTH_ID 1606
#define VX_IDC_DAUTH_PASSWORD_LABEL 1607
#define VX_IDC_DAUTH_PASSWORD 1608
#define VX_IDC_DAUTH_USE_CLIENT_CERT 1609
#define VX_IDC_DAUTH_CERT_TO 1610
#define VX_IDC_DAUTH_CERT_BY 1611
#define VX_IDC_DAUTH_CERT_EXPIRES 1612
#define VX_IDC_DAUTH_CERT_FRIENDLY 1613
#define VX_IDC_DAUTH_MORE 1614
#define VX_IDC_DAUTH_TUNNEL_GROUP 1615
#define VX_IDC_DAUTH_PROTOCOL_LABEL 1616
#define VX_IDC_DAUTH_PROTOCOL 1617
#define VX_IDC_DAUTH_TUNNEL_ID_LABEL 1618
#define VX_IDC_DAUTH_TUNNEL_ID 1619
#define VX_IDC_DAUTH_TUNNEL_PASSWORD_LABEL 1620
#define VX_IDC_DAUTH_TUNNEL_PASSWORD 1621
#define VX_IDC_DAUTH_PASSWORD_MODE 1622
#define VX_IDC_DAUTH_SOFT_TOKEN 1623
#define VX_IDC_DAUTH_STATIC_PASSWORD 1624
#define VX_IDC_DAUTH_WINDOWS_LOGON 1625

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {
inline constexpr uint32_t kIdd8021xAuth = VX_IDD_8021X_AUTH;
namespace dauth {
inline constexpr int kMethodLabel = VX_IDC_DAUTH_METHOD_LABEL;
inline constexpr int kMethod = VX_IDC_DAUTH_METHOD;
inline constexpr int kResumeLabel = VX_IDC_DAUTH_RESUME_LABEL;
inline constexpr int kResume = VX_IDC_DAUTH_RESUME;
inline constexpr int kIdLabel = VX_IDC_DAUTH_ID_LABEL;
inline constexpr int kId = VX_IDC_DAUTH_ID;
inline constexpr int kPasswordLabel = VX_IDC_DAUTH_PASSWORD_LABEL;
inline constexpr int kPassword = VX_IDC_DAUTH_PASSWORD;
inline constexpr int kUseClientCert = VX_IDC_DAUTH_USE_CLIENT_CERT;
inline constexpr int kCertLines[4] = {VX_IDC_DAUTH_CERT_TO, VX_IDC_DAUTH_CERT_BY, VX_IDC_DAUTH_CERT_EXPIRES,
                                      VX_IDC_DAUTH_CERT_FRIENDLY};
inline constexpr int kMore = VX_IDC_DAUTH_MORE;
inline constexpr int kTunnelGroup = VX_IDC_DAUTH_TUNNEL_GROUP;
inline constexpr int kProtocolLabel = VX_IDC_DAUTH_PROTOCOL_LABEL;
inline constexpr int kProtocol = VX_IDC_DAUTH_PROTOCOL;
inline constexpr int kTunnelIdLabel = VX_IDC_DAUTH_TUNNEL_ID_LABEL;
inline constexpr int kTunnelId = VX_IDC_DAUTH_TUNNEL_ID;
inline constexpr int kTunnelPasswordLabel = VX_IDC_DAUTH_TUNNEL_PASSWORD_LABEL;
inline constexpr int kTunnelPassword = VX_IDC_DAUTH_TUNNEL_PASSWORD;
inline constexpr int kPasswordMode = VX_IDC_DAUTH_PASSWORD_MODE;
inline constexpr int kSoftToken = VX_IDC_DAUTH_SOFT_TOKEN;
inline constexpr int kStaticPassword = VX_IDC_DAUTH_STATIC_PASSWORD;
inline constexpr int kWindowsLogon = VX_IDC_DAUTH_WINDOWS_LOGON;
}  // namespace dauth
}  // namespace vx
#endif
