; Tessaly's installer: for the current user, without administrator rights,
; into %LOCALAPPDATA%\Programs\Tessaly, with a Start-menu entry and an entry
; in Windows' list of apps that uninstalls everything it made.
; scripts/windows makes it:
;   makensis -DVERSION=1.1.0 -DSTAGE=<the zip's folder> -DFILES=<files.nsh> -DICON=<tessaly.ico> -DOUTFILE=<setup.exe>

; A 64-bit installer for a 64-bit game: it runs where tessaly.exe runs, and
; under a Wine without its 32-bit half.
Target amd64-unicode
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "${FILES}" ; TessalyInstallFiles and TessalyRemoveFiles: every file of the zip, by name

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly"

Name "Tessaly"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Tessaly"
SetCompressor /SOLID lzma
ManifestDPIAware true

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Tessaly"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Tessaly ${VERSION} setup"
VIAddVersionKey "CompanyName" "The Tessaly developers"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 The Tessaly developers; MIT licence"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\tessaly.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Tessaly"
  SetShellVarContext current
  !insertmacro TessalyInstallFiles
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Tessaly.lnk" "$INSTDIR\tessaly.exe" "" "$INSTDIR\tessaly.exe" 0

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tessaly"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Tessaly developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tessaly.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Tessaly.lnk"
  !insertmacro TessalyRemoveFiles
  Delete "$INSTDIR\uninstall.exe"
  ; Only if empty: whatever the player put there stays.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
