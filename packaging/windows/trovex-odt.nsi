; The installer of the Windows edition, made by scripts/package-windows:
;   makensis -DVERSION=2.0 -DSTAGE=<folder with bin\ and share\> -DOUTFILE=<exe> trovex-odt.nsi
;
; The programs go to Program Files\Trovex-ODT (bin\ with the DLLs and Qt's
; plugins, share\trovex-odt\ with the help and the example files). The program
; keeps its databases below the folder it is started in, and Program Files
; is not writable for a user: the Start-menu entry therefore starts it in the
; installing user's data folder %LOCALAPPDATA%\Trovex-ODT, which gets the
; example files the user may edit (never replacing the user's own). The
; uninstaller removes the programs and the entry and leaves that folder, with
; the databases, alone.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Trovex-ODT"

Name "Trovex-ODT ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Trovex-ODT"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "Trovex-ODT ${VERSION}"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartFromDataFolder
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "Trovex-ODT braucht ein 64-Bit-Windows."
    Abort
  ${EndIf}
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

; A file the user may edit is copied only when the user has none yet.
!macro CopyWhenMissing NAME
  ${IfNot} ${FileExists} "$LOCALAPPDATA\Trovex-ODT\${NAME}"
    CopyFiles /SILENT "$INSTDIR\share\trovex-odt\${NAME}" "$LOCALAPPDATA\Trovex-ODT\${NAME}"
  ${EndIf}
!macroend

Section "Trovex-ODT"
  SetOutPath "$INSTDIR\bin"
  File /r "${STAGE}\bin\*.*"
  SetOutPath "$INSTDIR\share\trovex-odt"
  File /r "${STAGE}\share\trovex-odt\*.*"

  SetShellVarContext current
  CreateDirectory "$LOCALAPPDATA\Trovex-ODT"
  !insertmacro CopyWhenMissing "AuswahlEndungen.txt"
  !insertmacro CopyWhenMissing "AusnahmeIndizierung.txt"
  !insertmacro CopyWhenMissing "Adressen_Webseiten.txt"

  ; The working folder of a shortcut is the output path when it is made.
  SetOutPath "$LOCALAPPDATA\Trovex-ODT"
  CreateDirectory "$SMPROGRAMS\Trovex-ODT"
  CreateShortCut "$SMPROGRAMS\Trovex-ODT\Trovex-ODT.lnk" "$INSTDIR\bin\trovex-odt.exe" "" \
    "$INSTDIR\bin\trovex-odt.exe" 0 SW_SHOWNORMAL "" "Volltextsuche in eBooks, LibreOffice- und Word-Dokumenten"
  CreateShortCut "$SMPROGRAMS\Trovex-ODT\Trovex-ODT Hilfe.lnk" "$INSTDIR\share\trovex-odt\Trovex_ODT.pdf"
  CreateShortCut "$SMPROGRAMS\Trovex-ODT\Trovex-ODT deinstallieren.lnk" "$INSTDIR\Deinstallieren.exe"

  WriteUninstaller "$INSTDIR\Deinstallieren.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Trovex-ODT"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Halvorn"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\bin\trovex-odt.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Deinstallieren.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Deinstallieren.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function StartFromDataFolder
  SetOutPath "$LOCALAPPDATA\Trovex-ODT"
  Exec '"$INSTDIR\bin\trovex-odt.exe"'
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Trovex-ODT\Trovex-ODT.lnk"
  Delete "$SMPROGRAMS\Trovex-ODT\Trovex-ODT Hilfe.lnk"
  Delete "$SMPROGRAMS\Trovex-ODT\Trovex-ODT deinstallieren.lnk"
  RMDir "$SMPROGRAMS\Trovex-ODT"
  RMDir /r "$INSTDIR\bin"
  RMDir /r "$INSTDIR\share"
  Delete "$INSTDIR\Deinstallieren.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DetailPrint "Die Datenbanken in $LOCALAPPDATA\Trovex-ODT bleiben erhalten."
SectionEnd
