; The setup's own texts in English and Traditional Chinese; NSIS brings those of its pages.
; Names starting with "un." belong to the uninstaller.

LangString VxClientLink ${LANG_ENGLISH} "${VX_CLIENT_EN}"
LangString VxClientLink ${LANG_TRADCHINESE} "${VX_CLIENT_ZH}"
LangString VxHotspotLink ${LANG_ENGLISH} "${VX_HOTSPOT_EN}"
LangString VxHotspotLink ${LANG_TRADCHINESE} "${VX_HOTSPOT_ZH}"
LangString VxUninstallLink ${LANG_ENGLISH} "${VX_UNINSTALL_LINK_EN}"
LangString VxUninstallLink ${LANG_TRADCHINESE} "${VX_UNINSTALL_LINK_ZH}"

LangString VxNeedAdmin ${LANG_ENGLISH} "Installing ${VX_PRODUCT} needs administrator rights.$\r$\nLog on as an administrator and run Setup again."
LangString VxNeedAdmin ${LANG_TRADCHINESE} "安裝 ${VX_PRODUCT} 需要系統管理員權限。$\r$\n請以系統管理員身分登入，再執行一次安裝程式。"
LangString un.VxNeedAdmin ${LANG_ENGLISH} "Removing ${VX_PRODUCT} needs administrator rights.$\r$\nLog on as an administrator and uninstall it again."
LangString un.VxNeedAdmin ${LANG_TRADCHINESE} "移除 ${VX_PRODUCT} 需要系統管理員權限。$\r$\n請以系統管理員身分登入，再解除安裝一次。"

LangString VxRunning ${LANG_ENGLISH} "${VX_CLIENT_EN} or ${VX_HOTSPOT_EN} is running.$\r$\nChoose Exit in the menu of its notification area icon, then click Retry.$\r$\nCancel ends Setup without changing any file."
LangString VxRunning ${LANG_TRADCHINESE} "${VX_CLIENT_ZH}或${VX_HOTSPOT_ZH}正在執行中。$\r$\n請在其通知區域圖示的功能表中選擇「結束」，然後按「重試」。$\r$\n按「取消」會結束安裝程式，不變更任何檔案。"
LangString un.VxRunning ${LANG_ENGLISH} "${VX_CLIENT_EN} or ${VX_HOTSPOT_EN} is running.$\r$\nChoose Exit in the menu of its notification area icon, then click Retry.$\r$\nCancel ends the removal without changing any file."
LangString un.VxRunning ${LANG_TRADCHINESE} "${VX_CLIENT_ZH}或${VX_HOTSPOT_ZH}正在執行中。$\r$\n請在其通知區域圖示的功能表中選擇「結束」，然後按「重試」。$\r$\n按「取消」會停止解除安裝，不變更任何檔案。"

LangString VxNotWritable ${LANG_ENGLISH} "Setup cannot write to the folder$\r$\n$INSTDIR$\r$\nChoose another folder."
LangString VxNotWritable ${LANG_TRADCHINESE} "安裝程式無法寫入資料夾$\r$\n$INSTDIR$\r$\n請選擇其他資料夾。"

LangString un.VxNotRemoved ${LANG_ENGLISH} "A program file in$\r$\n$INSTDIR$\r$\ncould not be removed. The shortcuts and the entry in Add or Remove Programs are kept: exit the utility and uninstall again."
LangString un.VxNotRemoved ${LANG_TRADCHINESE} "無法移除$\r$\n$INSTDIR$\r$\n中的程式檔案。捷徑及「新增或移除程式」中的項目均保留；請結束公用程式後再解除安裝一次。"
LangString un.VxAlreadyGone ${LANG_ENGLISH} "The program files were already gone from$\r$\n$INSTDIR$\r$\nThe shortcuts, the start-up entry and the entry in Add or Remove Programs have been removed."
LangString un.VxAlreadyGone ${LANG_TRADCHINESE} "程式檔案已不在$\r$\n$INSTDIR$\r$\n捷徑、啟動項目及「新增或移除程式」中的項目均已移除。"
