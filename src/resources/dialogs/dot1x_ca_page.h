// Controls of the 802.1X sheet's "CA Server" page (template 200); band 1641-1669.
#pragma once
#include "resources/resource_ids.h"

#define VX_IDD_8021X_CA 200

#define VX_IDC_DCA_USE_CHAIN 1641
#define VX_IDC_DCA_ISSUER_LABEL 1642
#define VX_IDC_DCA_ISSUER 1643
#define VX_IDC_DCA_INTERMEDIATE 1644
#define VX_IDC_DCA_SERVER_NAME_LABEL 1645
#define VX_IDC_DCA_SERVER_NAME 1646
#define VX_IDC_DCA_RULE_EXACT 1647
#define VX_IDC_DCA_RULE_DOMAIN 1648

#ifndef RC_INVOKED
#include <cstdint>

namespace vx {
inline constexpr uint32_t kIdd8021xCa = VX_IDD_8021X_CA;
namespace dca {
inline constexpr int kUseChain = VX_IDC_DCA_USE_CHAIN;
inline constexpr int kIssuerLabel = VX_IDC_DCA_ISSUER_LABEL;
inline constexpr int kIssuer = VX_IDC_DCA_ISSUER;
inline constexpr int kIntermediate = VX_IDC_DCA_INTERMEDIATE;
inline constexpr int kServerNameLabel = VX_IDC_DCA_SERVER_NAME_LABEL;
inline constexpr int kServerName = VX_IDC_DCA_SERVER_NAME;
inline constexpr int kRuleExact = VX_IDC_DCA_RULE_EXACT;
inline constexpr int kRuleDomain = VX_IDC_DCA_RULE_DOMAIN;
}  // namespace dca
}  // namespace vx
#endif
