#!/usr/bin/env bash
# End-to-end tests of ClientCfg's profile editing under Wine on the simulated platform: profiles
# created, edited, activated and deleted on the Profile page, checked against the registry and
# what the simulated adapter and supplicant saw. The certificates are real ones in the prefix's
# stores (scripts/sim-certs.sh), read through CryptoAPI. Screenshots go to build/screenshots/.
# Usage: tests/e2e/run_e2e_profiles.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR   (after scripts/wine-env.sh)
set -uo pipefail
suite=profiles
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/clientcfg.sh"
supplicant_has() { ctl '{"cmd":"supplicant"}' | grep -- "$1" >/dev/null; }

open_profile_page() {  # sheet title
  drv post ClientCfg 0x111 32774 0
  # The Site Survey page opens first and scans; the profile sheets list what it found.
  drv wait "$1" 10 && within 15 surveyed || return 1
  page "$1" 0  # the Profile page
}
rows() { drv items "$sheet" "$(idc PROF_LIST)"; }
has_row() { rows | cut -f1 | grep -x -- "$1" >/dev/null; }
no_row() { ! has_row "$1"; }
not_joined() { ! state_has '"associated":true'; }
ssid_offered() { drv items "$add" "$(idc SCFG_SSID)" | grep -x -- "$1" >/dev/null; }
editing() { opened "$edit" && [ "$(drv text "$edit" "$(idc SCFG_NAME)")" = "$1" ]; }
psk_is() { [ "$(reg_value WPAPSK "Profile\\Station\\$1")" = "$2" ]; }
adapter_key_open() { [ "$(reg_value AuthenType)" = 0 ] && [ -z "$(reg_value SSID)" ]; }
issuer_offered() { drv items "$dot1x" "$(idc DCA_ISSUER)" | grep -x -- "$1" >/dev/null; }
stored_root_is() {  # SHA-1 hash, lower case: the profile verifies the server against it
  [ "$(reg_value UseServerCert 'Profile\Station\Corp')" = 1 ] &&
    reg_value ServerCertData 'Profile\Station\Corp' | tr 'A-F' 'a-f' | grep -- "$1" >/dev/null
}
cert_listed() { drv items "$1" "$(idc SCERT_LIST)" | cut -f1 | grep -x -- "$2" >/dev/null; }
cert_shown() { drv text "$1" "$(idc DAUTH_CERT_TO)" | grep -- "$2" >/dev/null; }
client_cert_is() {  # profile, SHA-1 hash in lower case
  [ "$(reg_value UseClientCert "Profile\\Station\\$1")" = 1 ] &&
    reg_value ClientCertData "Profile\\Station\\$1" | tr 'A-F' 'a-f' | grep -- "$2" >/dev/null
}
on_row() {  # profile name, button name
  drv select "$sheet" "$(idc PROF_LIST)" "$1" && drv click "$sheet" "$(idc "PROF_$2")"
}

# The default world, on the simulated platform.
"$native/src/sim/host/wlansim" --print-world >"$work/world.json"
start_one_adapter_sim "$work/world.json"
# The current user's certificate stores made unwritable, which CryptoAPI cannot open, and again
# as they were.
stores() { for s in MY ROOT; do "$VX_WINE" "$win/src/sim/install/vxsim-certs.exe" "$1" $s; done; }

check "starts and joins the open network" start_client
within 15 joined Arventa-AP
sheet="Arventa Client Utility"
add="Add Profile"
edit="Edit Profile"
check "the Profile page opens" open_profile_page "$sheet"
look_at profile-page-en "$sheet"

# Add: a WPA2-PSK profile for HomeNet, first with a pass phrase too short, then a wrong one.
drv click "$sheet" "$(idc PROF_ADD)"
check "Add opens \"Add Profile\"" opened "$add"
check "a new profile is named PROF1" test "$(drv text "$add" "$(idc SCFG_NAME)")" = PROF1
check "the SSID list offers the networks of the last scan" ssid_offered HomeNet
drv set-text "$add" "$(idc SCFG_NAME)" "   "
drv click "$add" 1
check "a name of blanks is refused" box_says "$(text_of en 190)"
drv set-text "$add" "$(idc SCFG_NAME)" "Home"
drv choose "$add" "$(idc SCFG_SSID)" HomeNet
look_at profile-add-config-en "$add"
page "$add" 1
drv choose "$add" "$(idc ASEC_AUTH)" WPA2-PSK
drv choose "$add" "$(idc ASEC_ENC)" AES
drv set-text "$add" "$(idc ASEC_PSK)" "short"
drv click "$add" 1
check "a pass phrase of 5 characters is refused" box_says "$(text_of en 236)"
check "the sheet stays open after a refusal" drv wait "$add" 1
check "nothing is stored after a refusal" not_stored Home
drv set-text "$add" "$(idc ASEC_PSK)" "wrong horse battery"
look_at profile-add-security-en "$add"
page "$add" 2
look_at profile-add-advanced-en "$add"
drv click "$add" 1
check "OK closes the sheet" drv gone "$add" 5
check "the profile is in the list" has_row Home
check "the profile is stored with WPA2-PSK" test "$(reg_value AuthenType 'Profile\Station\Home')" = 7
check "the pass phrase is stored" test "$(reg_value WPAPSK 'Profile\Station\Home')" = "wrong horse battery"

# Activate with the wrong pass phrase: the network refuses the four-way handshake.
on_row Home ACTIVATE
check "a wrong pass phrase does not associate" within 10 state_has '"linkEvent":8'
check "not joined with the wrong pass phrase" not_joined

# Edit: the right pass phrase; activated, the station joins HomeNet with WPA2-PSK.
on_row Home EDIT
check "Edit opens \"Edit Profile\" with the profile" editing Home
page "$edit" 1
check "the edit sheet shows the stored authentication" test "$(drv text "$edit" "$(idc ASEC_AUTH)")" = WPA2-PSK
drv set-text "$edit" "$(idc ASEC_PSK)" "correct horse battery"
drv click "$edit" 1
drv gone "$edit" 5
on_row Home ACTIVATE
check "the edited profile joins HomeNet" within 15 joined HomeNet
# Activate runs the activation again after the edit's own: a moment of "down" is expected.
check "joined with WPA2-PSK and AES" within 15 state_has '"associated":true,"authMode":7,"bssid":"00:1A:2B:3C:4D:01"'

# Renamed in the edit sheet, confirmed: a second profile; the first stays as it was.
on_row Home EDIT
opened "$edit"
drv set-text "$edit" "$(idc SCFG_NAME)" "Home copy"
drv click "$edit" 1
check "a rename asks \"Create another profile?\"" box_says "$(text_of en 192)"
drv gone "$edit" 5
check "the renamed copy is stored" profile_exists "Home copy"
check "the first profile is left" psk_is Home "correct horse battery"
# A name that differs only in case is no rename.
on_row "Home copy" EDIT
opened "$edit"
drv set-text "$edit" "$(idc SCFG_NAME)" "HOME COPY"
drv click "$edit" 1
check "a change of case asks nothing" drv gone "$edit" 5
# A new profile under an existing name is refused.
drv click "$sheet" "$(idc PROF_ADD)"
opened "$add"
drv set-text "$add" "$(idc SCFG_NAME)" "home"
drv click "$add" 1
check "a duplicate name is refused" box_says "$(text_of en 193)"
drv post "$add" 0x471 5 0  # PSM_PRESSBUTTON: Cancel
drv gone "$add" 5

# Delete the active profile: asked first; Cancel keeps it, OK clears the adapter's settings.
on_row Home DELETE
check "deleting the active profile asks first" box_says "$(text_of en 177)" 2
check "Cancel keeps the profile" has_row Home
on_row Home DELETE
box_says "$(text_of en 177)" 1 >/dev/null
check "OK deletes the profile" within 5 not_stored Home
check "the row goes" no_row Home
check "the adapter key is open with no SSID" adapter_key_open
check "the adapter joins an open network with any SSID" within 15 joined Arventa-AP
check "open, infrastructure" state_has '"authMode":0,"bssid":"00:0C:E7:10:20:30"'

# PEAP through the 802.1X sheet: the simulator's supplicant gets the method and the account.
drv click "$sheet" "$(idc PROF_ADD)"
opened "$add"
drv set-text "$add" "$(idc SCFG_NAME)" "Corp"
drv choose "$add" "$(idc SCFG_SSID)" CorpSecure
page "$add" 1
drv choose "$add" "$(idc ASEC_AUTH)" WPA2
drv choose "$add" "$(idc ASEC_ENC)" AES
dot1x=$(text_of en 289)
drv click "$add" "$(idc ASEC_8021X_SETTING)"
if check "\"802.1x Setting\" opens its sheet" opened "$dot1x"; then
  drv choose "$dot1x" "$(idc DAUTH_METHOD)" PEAP
  drv set-text "$dot1x" "$(idc DAUTH_ID)" alice
  drv set-text "$dot1x" "$(idc DAUTH_TUNNEL_ID)" alice
  drv set-text "$dot1x" "$(idc DAUTH_TUNNEL_PASSWORD)" wonderland
  look_at dot1x-auth-en "$dot1x"
  page "$dot1x" 1
  # The trusted roots are the prefix's (Wine's ROOT store may hold the host's too): chosen by name.
  drv click "$dot1x" "$(idc DCA_USE_CHAIN)"
  check "the CA list offers the world's root certificates" within 5 issuer_offered "Arventa Corp Root CA"
  drv choose "$dot1x" "$(idc DCA_ISSUER)" "Arventa Corp Root CA"
  drv click "$dot1x" 1
  check "verifying the server asks for its name" box_says "$(text_of en 2745)"
  drv set-text "$dot1x" "$(idc DCA_SERVER_NAME)" radius.corp.example
  look_at dot1x-ca-en "$dot1x"
  drv click "$dot1x" 1
  check "the 802.1X sheet takes the PEAP account" drv gone "$dot1x" 5
fi
drv click "$add" 1
drv gone "$add" 5
check "the PEAP profile is stored" test "$(reg_value TunnelID 'Profile\Station\Corp')" = alice
check "the chosen root certificate is stored" stored_root_is "$(cert_hash arventa-root)"
on_row Corp ACTIVATE
check "the supplicant is given PEAP" within 10 supplicant_has ConfigPeap
check "the PEAP account joins CorpSecure" within 20 joined CorpSecure
stop_client

# Traditional Chinese: a WEP profile for OldWep created and activated on the Chinese sheet.
if start_client LANG=zh_TW.UTF-8 LC_ALL=zh_TW.UTF-8; then
  sheet=$(text_of zh 102)
  add=$(text_of zh 185)
  check "the Chinese Profile page opens" open_profile_page "$sheet"
  look_at profile-page-zh "$sheet"
  drv click "$sheet" "$(idc PROF_ADD)"
  check "Add opens the Chinese \"Add Profile\"" opened "$add"
  drv set-text "$add" "$(idc SCFG_NAME)" "舊網路"
  drv choose "$add" "$(idc SCFG_SSID)" OldWep
  look_at profile-add-config-zh "$add"
  page "$add" 1
  drv choose "$add" "$(idc ASEC_ENC)" WEP
  drv set-text "$add" "$(idc ASEC_KEY1_HEX)" 12345
  drv click "$add" 1
  check "a WEP key of 5 hex digits is refused" box_says "$(text_of zh 320)"
  drv set-text "$add" "$(idc ASEC_KEY1_HEX)" 123456789a
  look_at profile-add-security-zh "$add"
  page "$add" 2
  look_at profile-add-advanced-zh "$add"
  drv click "$add" 1
  drv gone "$add" 5
  check "the Chinese name is stored" profile_exists "舊網路"
  on_row "舊網路" ACTIVATE
  check "the WEP profile joins OldWep" within 15 joined OldWep
  check "the WEP key is understood" state_has '"wepMismatch":false'

  # TLS with a client certificate of the current user's personal store, chosen in the Chinese
  # "Select Certificate" dialog.
  dot1x=$(text_of zh 289)
  selcert=$(text_of zh 2702)
  drv click "$sheet" "$(idc PROF_ADD)"
  opened "$add"
  drv set-text "$add" "$(idc SCFG_NAME)" "公司 TLS"
  drv choose "$add" "$(idc SCFG_SSID)" CorpSecure
  page "$add" 1
  drv choose "$add" "$(idc ASEC_AUTH)" WPA2
  drv choose "$add" "$(idc ASEC_ENC)" AES
  drv click "$add" "$(idc ASEC_8021X_SETTING)"
  if check "the Chinese 802.1X sheet opens" opened "$dot1x"; then
    drv choose "$dot1x" "$(idc DAUTH_METHOD)" "$(text_of zh 2704)"
    drv set-text "$dot1x" "$(idc DAUTH_ID)" bob
    drv click "$dot1x" 1
    check "TLS without a client certificate is refused" box_says "$(text_of zh 285)"
    # Stores that cannot be opened: a clear message, and only "any trusted CA" to choose.
    stores lock
    drv click "$dot1x" "$(idc DAUTH_MORE)"
    check "an unreadable personal store says so" box_says "$(text_of zh 2748)"
    drv gone "$selcert" 5
    stores unlock
    drv click "$dot1x" "$(idc DAUTH_MORE)"
    if check "\"More..\" opens the Chinese \"Select Certificate\"" opened "$selcert"; then
      check "the dialog lists the world's personal certificates" cert_listed "$selcert" bob
      look_at select-certificate-zh "$selcert"
      drv select "$selcert" "$(idc SCERT_LIST)" bob
      drv click "$selcert" 1
      drv gone "$selcert" 5
    fi
    check "the chosen certificate is shown" cert_shown "$dot1x" bob
    look_at dot1x-auth-zh "$dot1x"
    page "$dot1x" 1
    # After "any trusted CA", the CA list holds the ROOT store's names, the host's roots among them
    # (Wine's store shows them beside the world's): the system's data, in any language.
    data_words=$(drv items "$dot1x" "$(idc DCA_ISSUER)" | tail -n +2) look_at dot1x-ca-zh "$dot1x"
    drv click "$dot1x" 1
    check "the 802.1X sheet takes the TLS settings" drv gone "$dot1x" 5
  fi
  drv click "$add" 1
  drv gone "$add" 5
  check "the client certificate's hash is stored" client_cert_is "公司 TLS" "$(cert_hash bob)"
  on_row "公司 TLS" ACTIVATE
  check "the TLS account joins CorpSecure" within 20 joined CorpSecure
  stop_client
else
  check "starts in Chinese" false
fi

# A standard user's token: no Profile page and no "Add to Profile", so nothing is added. (Wine
# lets any token write HKLM: the refused write and its message are tested natively.)
stored() { "$VX_WINE" reg query "$root\\Profile\\Station" /s 2>/dev/null | md5sum; }
before=$(stored)
"$VX_WINE" "$win/tests/e2e/as_standard_user.exe" "$(winepath -w "$clientcfg")" >/dev/null 2>&1 &
client=$!
if check "starts with a standard user's token" within 20 tray_has "ARVENTA"; then
  drv post ClientCfg 0x111 32774 0
  opened "Arventa Client Utility" && within 15 enabled "Arventa Client Utility" "$(idc SURVEY_RESCAN)"  # surveyed
  check "a standard user cannot add to a profile" test "$(drv state "Arventa Client Utility" "$(idc SURVEY_ADD_PROFILE)")" = disabled
  page "Arventa Client Utility" 0  # the first page is not the Profile page
  check "the Profile page is not offered" test -z "$(drv controls "Arventa Client Utility" | cut -f3 | grep -x Add)"
  stop_client
  check "the stored profiles are unchanged" test "$(stored)" = "$before"
fi

echo "e2e-profiles: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
