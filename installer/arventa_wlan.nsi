; Setup of the Arventa wireless LAN utilities, ClientCfg and HotspotCfg, for every user of the
; machine. installer/CMakeLists.txt runs makensis with VX_CLIENTCFG, VX_HOTSPOTCFG (the built
; programs), VX_SOURCE (the source tree) and VX_OUTDIR (where the setup program goes).
;
; It installs the two programs only: ModeSwitch and the supplicant library come with the driver
; package. The adapter's settings and profiles live under its driver key and belong to the
; adapter, so the uninstaller leaves them alone.
;
; Exit codes, for silent runs (/S) above all:
!define VX_EXIT_RUNNING 3       ; ClientCfg or HotspotCfg runs: nothing was changed
!define VX_EXIT_NOT_WRITABLE 4  ; the folder cannot be written: nothing was installed
!define VX_EXIT_NOT_ADMIN 5     ; no administrator rights: nothing was changed
!define VX_EXIT_NOT_REMOVED 6   ; a program file could not be removed: the entry stays for a retry
; (0 is success, 1 a cancel by the user, 2 any other stop, as NSIS itself reports them.)

Unicode true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

; One version for the programs and their setup: the one in ClientCfg.exe's version resource.
!getdllversion "${VX_CLIENTCFG}" VX_V
!define VX_VERSION "${VX_V1}.${VX_V2}.${VX_V3}"

!define VX_PRODUCT "Arventa Wireless LAN Utility"
!define VX_PUBLISHER "Arventa"
!define VX_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ArventaWLAN"
!define VX_MENU_FOLDER "Arventa Wireless LAN"
; The board maker's start-up entry; ClientCfg removes only the chip maker's shortcuts.
!define VX_STARTUP_LINK "Arventa Wireless LAN Utility.lnk"
!define VX_UNINSTALLER "Uninstall.exe"
; The utility's instance mutex; OpenMutexW wants SYNCHRONIZE access at least.
!define VX_MUTEX "KC30"
!define VX_SYNCHRONIZE 0x00100000
!define VX_ERROR_ACCESS_DENIED 5

; Shortcuts carry the programs' own titles from their string tables.
!define VX_STRINGS_EN "${VX_SOURCE}/src/resources/strings/strings.en-US.txt"
!define VX_STRINGS_ZH "${VX_SOURCE}/src/resources/strings/strings.zh-TW.txt"
!searchparse /file "${VX_STRINGS_EN}" "IDS_APP_TITLE${U+9}" VX_CLIENT_EN
!searchparse /file "${VX_STRINGS_ZH}" "IDS_APP_TITLE${U+9}" VX_CLIENT_ZH
!searchparse /file "${VX_STRINGS_EN}" "IDS_AP_TITLE${U+9}" VX_HOTSPOT_EN
!searchparse /file "${VX_STRINGS_ZH}" "IDS_AP_TITLE${U+9}" VX_HOTSPOT_ZH
!define VX_UNINSTALL_LINK_EN "Uninstall ${VX_PRODUCT}"
!define VX_UNINSTALL_LINK_ZH "解除安裝 ${VX_PRODUCT}"

Name "${VX_PRODUCT}"
OutFile "${VX_OUTDIR}/ArventaWLAN-Setup-${VX_VERSION}.exe"
InstallDir "$PROGRAMFILES\Arventa\Wireless LAN Utility"
; An upgrade goes where the last install went.
InstallDirRegKey HKLM "${VX_UNINSTALL_KEY}" "InstallLocation"
BrandingText "${VX_PRODUCT} ${VX_VERSION}"
ShowInstDetails show
ShowUninstDetails show

!define MUI_ICON "${VX_SOURCE}/src/resources/images/tray_normal.ico"
!define MUI_UNICON "${VX_SOURCE}/src/resources/images/tray_normal.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE VxDirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one for systems that use neither.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "TradChinese"
!include "${VX_SOURCE}/installer/messages.nsh"

VIProductVersion "${VX_V1}.${VX_V2}.${VX_V3}.${VX_V4}"
VIFileVersion "${VX_V1}.${VX_V2}.${VX_V3}.${VX_V4}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${VX_PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${VX_PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${VX_PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VX_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VX_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) Arventa. All rights reserved."

; Both sets of shortcut names: the last install may have used the other language.
!macro VX_DELETE_SHORTCUTS
  Delete "$SMPROGRAMS\${VX_MENU_FOLDER}\${VX_CLIENT_EN}.lnk"
  Delete "$SMPROGRAMS\${VX_MENU_FOLDER}\${VX_CLIENT_ZH}.lnk"
  Delete "$SMPROGRAMS\${VX_MENU_FOLDER}\${VX_HOTSPOT_EN}.lnk"
  Delete "$SMPROGRAMS\${VX_MENU_FOLDER}\${VX_HOTSPOT_ZH}.lnk"
  Delete "$SMPROGRAMS\${VX_MENU_FOLDER}\${VX_UNINSTALL_LINK_EN}.lnk"
  Delete "$SMPROGRAMS\${VX_MENU_FOLDER}\${VX_UNINSTALL_LINK_ZH}.lnk"
  RMDir "$SMPROGRAMS\${VX_MENU_FOLDER}"
  Delete "$SMSTARTUP\${VX_STARTUP_LINK}"
!macroend

; Checks shared by the setup and the uninstaller (UN is "" or "un.").
!macro VX_CHECKS UN
  ; Changing Program Files and HKEY_LOCAL_MACHINE takes an administrator. Windows 2000 and XP
  ; start a setup with the user's own rights, so the account is asked, not the manifest trusted.
  Function ${UN}VxRequireAdmin
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
      MessageBox MB_OK|MB_ICONSTOP "$(${UN}VxNeedAdmin)" /SD IDOK
      SetErrorLevel ${VX_EXIT_NOT_ADMIN}
      Quit
    ${EndIf}
  FunctionEnd

  ; A running utility holds its files open; it is asked to exit instead of being overwritten.
  Function ${UN}VxRequireUtilitiesClosed
    check:
      System::Call 'kernel32::OpenMutexW(i ${VX_SYNCHRONIZE}, i 0, w "${VX_MUTEX}") i.r0 ?e'
      Pop $1
      ; One made by another account may refuse to be opened: it exists all the same.
      ${If} $0 = 0
      ${AndIf} $1 <> ${VX_ERROR_ACCESS_DENIED}
        Return
      ${EndIf}
      System::Call 'kernel32::CloseHandle(i r0)'
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(${UN}VxRunning)" /SD IDCANCEL IDRETRY check
      SetErrorLevel ${VX_EXIT_RUNNING}
      Quit
  FunctionEnd
!macroend
!insertmacro VX_CHECKS ""
!insertmacro VX_CHECKS "un."

Function .onInit
  Call VxRequireAdmin
  Call VxRequireUtilitiesClosed
FunctionEnd

; $0 = 1 when $INSTDIR exists and takes a file. Folders made for the test are removed again when
; it fails, so a refused folder leaves nothing behind.
Function VxFolderWritable
  StrCpy $1 $INSTDIR
  ${DoUntil} ${FileExists} "$1\*.*"
    ${GetParent} $1 $2
    ${If} $2 == ""
      ${ExitDo}
    ${EndIf}
    StrCpy $1 $2
  ${Loop}
  SetDetailsPrint none
  ClearErrors
  CreateDirectory $INSTDIR
  FileOpen $2 "$INSTDIR\~vxsetup.tmp" w
  ${IfNot} ${Errors}
    FileClose $2
    Delete "$INSTDIR\~vxsetup.tmp"
    SetDetailsPrint both
    StrCpy $0 1
    Return
  ${EndIf}
  StrCpy $2 $INSTDIR
  ${Do}
    ${If} $2 == $1
    ${OrIf} $2 == ""
      ${ExitDo}
    ${EndIf}
    RMDir $2
    ${GetParent} $2 $2
  ${Loop}
  SetDetailsPrint both
  StrCpy $0 0
FunctionEnd

Function VxDirectoryLeave
  Call VxFolderWritable
  ${If} $0 <> 1
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(VxNotWritable)"
    Abort
  ${EndIf}
FunctionEnd

Section "-Utilities"
  SetShellVarContext all
  ; Again here: a utility may have been started while the pages were shown, and a silent run
  ; has no folder page.
  Call VxRequireUtilitiesClosed
  Call VxFolderWritable
  ${If} $0 <> 1
    MessageBox MB_OK|MB_ICONSTOP "$(VxNotWritable)" /SD IDOK
    SetErrorLevel ${VX_EXIT_NOT_WRITABLE}
    Quit
  ${EndIf}

  SetOutPath $INSTDIR
  SetOverwrite on
  SetFileAttributes "$INSTDIR\ClientCfg.exe" NORMAL
  SetFileAttributes "$INSTDIR\HotspotCfg.exe" NORMAL
  File "/oname=ClientCfg.exe" "${VX_CLIENTCFG}"
  File "/oname=HotspotCfg.exe" "${VX_HOTSPOTCFG}"
  WriteUninstaller "$INSTDIR\${VX_UNINSTALLER}"

  !insertmacro VX_DELETE_SHORTCUTS
  CreateDirectory "$SMPROGRAMS\${VX_MENU_FOLDER}"
  CreateShortCut "$SMPROGRAMS\${VX_MENU_FOLDER}\$(VxClientLink).lnk" "$INSTDIR\ClientCfg.exe"
  CreateShortCut "$SMPROGRAMS\${VX_MENU_FOLDER}\$(VxHotspotLink).lnk" "$INSTDIR\HotspotCfg.exe"
  CreateShortCut "$SMPROGRAMS\${VX_MENU_FOLDER}\$(VxUninstallLink).lnk" "$INSTDIR\${VX_UNINSTALLER}"
  CreateShortCut "$SMSTARTUP\${VX_STARTUP_LINK}" "$INSTDIR\ClientCfg.exe"

  WriteRegStr HKLM "${VX_UNINSTALL_KEY}" "DisplayName" "${VX_PRODUCT}"
  WriteRegStr HKLM "${VX_UNINSTALL_KEY}" "DisplayVersion" "${VX_VERSION}"
  WriteRegStr HKLM "${VX_UNINSTALL_KEY}" "Publisher" "${VX_PUBLISHER}"
  WriteRegStr HKLM "${VX_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ClientCfg.exe,0"
  WriteRegStr HKLM "${VX_UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${VX_UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${VX_UNINSTALLER}"'
  WriteRegStr HKLM "${VX_UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${VX_UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${VX_UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${VX_UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${VX_UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  Call un.VxRequireAdmin
  Call un.VxRequireUtilitiesClosed
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  ; Files already gone are no reason to keep the rest: the entry is removed all the same.
  StrCpy $3 0
  ${If} ${FileExists} "$INSTDIR\ClientCfg.exe"
  ${OrIf} ${FileExists} "$INSTDIR\HotspotCfg.exe"
    StrCpy $3 1
  ${EndIf}
  Delete "$INSTDIR\ClientCfg.exe"
  Delete "$INSTDIR\HotspotCfg.exe"
  ; A program that cannot be removed keeps the shortcuts and the entry, so uninstalling again
  ; finishes the job.
  ${If} ${FileExists} "$INSTDIR\ClientCfg.exe"
  ${OrIf} ${FileExists} "$INSTDIR\HotspotCfg.exe"
    MessageBox MB_OK|MB_ICONSTOP "$(un.VxNotRemoved)" /SD IDOK
    SetErrorLevel ${VX_EXIT_NOT_REMOVED}
    Quit
  ${EndIf}

  !insertmacro VX_DELETE_SHORTCUTS
  DeleteRegKey HKLM "${VX_UNINSTALL_KEY}"
  Delete "$INSTDIR\${VX_UNINSTALLER}"
  RMDir "$INSTDIR"
  ; The maker's folder goes too once nothing else is in it.
  ${GetParent} "$INSTDIR" $0
  ${GetFileName} "$0" $1
  ${If} $1 == "Arventa"
    RMDir "$0"
  ${EndIf}
  ${If} $3 = 0
    MessageBox MB_OK|MB_ICONINFORMATION "$(un.VxAlreadyGone)" /SD IDOK
  ${EndIf}
SectionEnd
