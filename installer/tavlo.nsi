; Tavlo's installer. Built by scripts/package.sh with
;   makensis -DARCH=win64|win32 -DPROGRAM_DIR=<program folder> -DFILES=<files.nsh>
;            -DUNFILES=<unfiles.nsh> -DOUTFILE=<setup.exe> installer/tavlo.nsi
; FILES and UNFILES list the program folder's files one by one (written by package.sh), so the
; uninstaller removes exactly what was installed and never a file the user put beside them.
; The installer says nothing of its own: its pages are standard dialogs the screen reader reads.

!define PRODUCT "Tavlo"
!define PRODUCT_JA "タブロ"
!define VERSION "11.39"
!define PUBLISHER "Morvick"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavlo"
!define SETTINGS_KEY "Software\Morvick\Tavlo2"

!if "${ARCH}" == "win64"
  Target amd64-unicode
  !define MULTIUSER_USE_PROGRAMFILES64
!else
  Target x86-unicode
!endif

Name "${PRODUCT_JA} ${VERSION}"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show
BrandingText "タブロ ${VERSION}"

; Per machine into Program Files when the user may, per user where the user chooses.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include x64.nsh

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tavlo.exe"
!define MUI_FINISHPAGE_RUN_TEXT "タブロを起動する"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\manual.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "操作マニュアルを開く"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!define MUI_WELCOMEPAGE_TITLE "タブロ ${VERSION} のセットアップ"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

Function .onInit
  !if "${ARCH}" == "win64"
    ${IfNot} ${RunningX64}
      MessageBox MB_OK|MB_ICONSTOP "この版は64ビット版のWindows用です。32ビット版のセットアップをお使いください。"
      Abort
    ${EndIf}
    SetRegView 64
  !endif
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !if "${ARCH}" == "win64"
    SetRegView 64
  !endif
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "タブロ本体" SecProgram
  SectionIn RO
  !include "${FILES}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ; Start-menu shortcuts: the working folder is the program folder (SetOutPath above), as
  ; Tavlo must start there.
  CreateDirectory "$SMPROGRAMS\${PRODUCT_JA}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT_JA}\${PRODUCT_JA}.lnk" "$INSTDIR\Tavlo.exe" "" "$INSTDIR\Tavlo.exe" 0
  CreateShortCut "$SMPROGRAMS\${PRODUCT_JA}\操作マニュアル.lnk" "$INSTDIR\manual.txt"
  CreateShortCut "$SMPROGRAMS\${PRODUCT_JA}\${PRODUCT_JA}のアンインストール.lnk" "$INSTDIR\Uninstall.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_JA} ${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tavlo.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "デスクトップにショートカットを作成" SecDesktop
  SetOutPath "$INSTDIR"
  CreateShortCut "$DESKTOP\${PRODUCT_JA}.lnk" "$INSTDIR\Tavlo.exe" "" "$INSTDIR\Tavlo.exe" 0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "タブロのプログラム、ニュースのメニュー、操作マニュアルとコマンド一覧をインストールします。"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} "デスクトップにタブロのショートカットを作ります。"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "un.タブロ本体" UnSecProgram
  SectionIn RO
  SetOutPath "$TEMP"
  !include "${UNFILES}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT_JA}\${PRODUCT_JA}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT_JA}\操作マニュアル.lnk"
  Delete "$SMPROGRAMS\${PRODUCT_JA}\${PRODUCT_JA}のアンインストール.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT_JA}"
  Delete "$DESKTOP\${PRODUCT_JA}.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd

; Off unless the user asks: the scrapbook, history, favorites, recordings and settings stay.
Section /o "un.設定と保存したデータも削除する (スクラップブック、履歴、お気に入り、録音)" UnSecData
  SetShellVarContext current
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\${PUBLISHER}"
  SetShellVarContext all
  RMDir /r "$APPDATA\${PUBLISHER}\Tavlo"
  RMDir "$APPDATA\${PUBLISHER}"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecProgram} "プログラムフォルダーとショートカットを削除します。"
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecData} "設定と、スクラップブック・受信履歴・お気に入り・録音したファイルのあるデータフォルダーも削除します。"
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
