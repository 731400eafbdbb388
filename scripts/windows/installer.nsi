; The Windows installer: the portable program folder into Program Files, a Start-menu entry, an
; uninstaller. The installed folder carries kavrel.installed, so the program keeps each user's data
; in %LOCALAPPDATA%\kavrel even when started with rights to write into Program Files.
; makensis -DVERSION=1.0.0 -DSOURCE=<program folder> -DICON=<kavrel.ico> -DOUTFILE=<setup.exe> installer.nsi
; A 64-bit installer for the 64-bit program (and one that wine64 alone can run).
Target amd64-unicode
!include "MUI2.nsh"

Name "kavrel抽奖 ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\kavrel"
InstallDirRegKey HKLM "Software\kavrel" "InstallDir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\kavrel"

; Program Files and HKLM are the machine's, so the Start-menu entry is every user's too.
Section "kavrel抽奖"
  SetRegView 64
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}\*.*"
  FileOpen $0 "$INSTDIR\kavrel.installed" w
  FileClose $0
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\kavrel抽奖.lnk" "$INSTDIR\kavrel-draw.exe" "" "$INSTDIR\kavrel-draw.exe" 0
  WriteRegStr HKLM "Software\kavrel" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "kavrel抽奖"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kavrel-draw.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The users' data (%LOCALAPPDATA%\kavrel) is theirs and stays.
Section "Uninstall"
  SetRegView 64
  SetShellVarContext all
  Delete "$SMPROGRAMS\kavrel抽奖.lnk"
  RMDir /r "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\kavrel"
SectionEnd
