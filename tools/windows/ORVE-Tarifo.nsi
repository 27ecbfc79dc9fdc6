; The setup program of ORVE-Tarifo for Windows, built by windows.sh:
;   makensis -DVERSION=2.0.1 -DQUELLE=<program files> -DLIZENZ=<notices> -DAUSGABE=<setup.exe> ORVE-Tarifo.nsi
;
; It installs for the current user, without administrator rights, under
; %LOCALAPPDATA%\Programs\ORVE-Tarifo: the program writes its settings and its
; database into its own folder, which must therefore stay writable.
; The demonstration folder ORVE-Tarifo-Demo is laid out beside it.
;
; What the user made is never overwritten: Datenbank\ (the tariff tables),
; the settings files, Billpfad.txt and the registry file are not part of the
; package; the registry file is written by orve-setup.exe only where missing.

; A 64-bit installer for the 64-bit program (Wine without its 32-bit part runs it too).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define PRODUKT "ORVE-Tarifo"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUKT}"

Name "${PRODUKT} ${VERSION}"
OutFile "${AUSGABE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUKT}"
; An update goes where the last installation went.
InstallDirRegKey HKCU "Software\${PRODUKT}" "InstallDir"
BrandingText "${PRODUKT} ${VERSION}"

Var DEMO

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LIZENZ}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\orve-tarifo.exe"
!define MUI_FINISHPAGE_RUN_TEXT "${PRODUKT} starten"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "${PRODUKT}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "${PRODUKT} Setup"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "ORVE-Tarifo"

; The program files, the same in the program folder and the demonstration folder.
!macro Programmdateien
  File /r "${QUELLE}\*.*"
!macroend

Section "Programm"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  !insertmacro Programmdateien
  CreateDirectory "$INSTDIR\Datenbank"
  CreateDirectory "$INSTDIR\Registry"
  ; The ODBC entries of the program folder, written only when missing.
  ; Console programs: their lines go to the installation's log, without a console window.
  nsExec::ExecToLog '"$INSTDIR\orve-setup.exe" "$INSTDIR\Registry\HKEY_LOCAL_MACHINE.reg" "$INSTDIR\sqlite3.dll" "$INSTDIR\orve-tarifo.exe"'
  Pop $0
  ${If} $0 != 0
    MessageBox MB_ICONSTOP "Die Registry-Datei im Programmordner $INSTDIR konnte nicht angelegt werden (Fehler $0). Bitte prüfen Sie, ob Sie dort schreiben dürfen, und starten Sie die Installation erneut." /SD IDOK
    Abort
  ${EndIf}

  ; The demonstration folder beside the program: laid out anew, so that its
  ; Billpfad.txt names the bill.db where it was installed.
  StrCpy $DEMO "$INSTDIR-Demo"
  RMDir /r "$DEMO"
  SetOutPath "$DEMO"
  !insertmacro Programmdateien
  nsExec::ExecToLog '"$INSTDIR\orve-demo.exe" "$DEMO" "$DEMO\sqlite3.dll" "$DEMO\orve-tarifo.exe"'
  Pop $0
  ${If} $0 != 0
    MessageBox MB_ICONEXCLAMATION "Der Demonstrationsordner $DEMO konnte nicht angelegt werden (Fehler $0)." /SD IDOK
  ${EndIf}

  CreateDirectory "$SMPROGRAMS\${PRODUKT}"
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\${PRODUKT}\${PRODUKT}.lnk" "$INSTDIR\orve-tarifo.exe"
  SetOutPath "$DEMO"
  CreateShortCut "$SMPROGRAMS\${PRODUKT}\${PRODUKT} Demonstration.lnk" "$DEMO\orve-tarifo.exe"
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\${PRODUKT}\Hilfe.lnk" "$INSTDIR\Hilfe\ORVE-Tarifo.html"
  CreateShortCut "$SMPROGRAMS\${PRODUKT}\${PRODUKT} entfernen.lnk" "$INSTDIR\Deinstallieren.exe"

  WriteRegStr HKCU "Software\${PRODUKT}" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUKT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PRODUKT}"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\orve-tarifo.exe"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Deinstallieren.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Deinstallieren.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  WriteUninstaller "$INSTDIR\Deinstallieren.exe"
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  ; The program files go; what the user made stays unless asked otherwise.
  !include "${DATEILISTE}"
  Delete "$INSTDIR\Deinstallieren.exe"
  RMDir /r "$INSTDIR-Demo"
  Delete "$SMPROGRAMS\${PRODUKT}\*.lnk"
  RMDir "$SMPROGRAMS\${PRODUKT}"
  DeleteRegKey HKCU "${UNINST_KEY}"
  DeleteRegKey HKCU "Software\${PRODUKT}"
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Sollen auch die Tariftabellen (Ordner Datenbank) und die Einstellungen im Ordner $INSTDIR gelöscht werden?$\n$\nMit Nein bleiben sie erhalten und werden bei einer neuen Installation wieder verwendet." /SD IDNO IDNO behalten
  ; Only what the program writes: the folder may have been chosen with /D=
  ; and hold other files of the user.
  RMDir /r "$INSTDIR\Datenbank"
  RMDir /r "$INSTDIR\Registry"
  Delete "$INSTDIR\Billpfad.txt"
  Delete "$INSTDIR\Steuersatz.txt"
  Delete "$INSTDIR\Kostenaufschlag.txt"
  Delete "$INSTDIR\Minutenpreis.txt"
  Delete "$INSTDIR\Internetadresse.txt"
  Delete "$INSTDIR\Speicherordner.txt"
  Delete "$INSTDIR\Tarifrechner.txt"
behalten:
  RMDir "$INSTDIR"
SectionEnd
