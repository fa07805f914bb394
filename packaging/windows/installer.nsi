; SPDX-License-Identifier: GPL-3.0-or-later
; Windows installer of Tarnwick Brelvan. Built by makensis with
;   -DVERSION=x.y.z -DPROGRAM=<tarnwick-brelvan.exe> -DICON=<.ico> -DNOTICES=<file>
;   -DLICENSE=<file> -DOUTFILE=<setup.exe> [-DCLI=<brelvan.exe>] [-DNOTE=<text>]
; Installs under Program Files with a Start-menu entry, registers its
; uninstaller with Add/Remove Programs and lets the devices' answers in
; through the Windows Firewall (UDP 998, for the program and its command-line
; companion only, from the local networks only); the uninstaller takes all of
; it away again. Silent with /S. Only a folder inside Program Files is taken.
Unicode true
; The version comes from the build (project() of CMakeLists.txt), never from here.
!ifndef VERSION
  !error "makensis needs -DVERSION=x.y.z"
!endif
!ifndef LICENSE
  !error "makensis needs -DLICENSE=<file>"
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "StrFunc.nsh"
${StrStr}

!define NAME "Tarnwick Brelvan"
!define PUBLISHER "Tarnwick Networks"
!define EXE "tarnwick-brelvan.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TarnwickBrelvan"
!define FIREWALL_RULE "Tarnwick Brelvan (UDP 998)"
!define FIREWALL_RULE_CLI "Tarnwick Brelvan command line (UDP 998)"

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${NAME}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${NAME} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${NAME}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${NAME} ${VERSION} installer"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "© 2024 ${PUBLISHER}"
; The release's notes begin with this (CHANGELOG.md).
!ifdef NOTE
  VIAddVersionKey /LANG=0 "Comments" "${NOTE}"
!endif

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; The finish page's "run" starts the program through the desktop's shell,
; with the user's own token: the installer's is elevated, and the program
; reads the network and opens pages a device names.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION RunUnelevated
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckInstallFolder
!insertmacro MUI_PAGE_WELCOME
; The GPL asks for no acceptance, only that the user can read it: a plain
; "Next" instead of "I Agree".
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "$(LicenseBottom)"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Spanish"
!insertmacro MUI_LANGUAGE "English"
LangString FolderRefused ${LANG_SPANISH} "Elija una carpeta dentro de $PROGRAMFILES. En otra carpeta otros usuarios podrían reemplazar el programa."
LangString LicenseBottom ${LANG_SPANISH} "Este programa es software libre bajo la GPL versión 3 o posterior. No hace falta aceptarla para usarlo; lea NOTICES.txt para las bibliotecas que incluye."
LangString LicenseBottom ${LANG_ENGLISH} "This program is free software under the GPL version 3 or later. You need not accept it to use the program; NOTICES.txt lists the libraries it includes."
LangString FolderRefused ${LANG_ENGLISH} "Choose a folder inside $PROGRAMFILES. In another folder other users could replace the program."

; netsh's own output goes to the details list; a firewall that cannot be
; changed (a policy, a third-party firewall) is reported, not fatal.
!macro FirewallRule ACTION
  nsExec::ExecToLog '"$SYSDIR\netsh.exe" advfirewall firewall ${ACTION}'
  Pop $0
  DetailPrint "netsh advfirewall firewall: $0"
!macroend

;-- The install folder --------------------------------------------------
; The program runs elevated nowhere, but every user starts it from here: a
; folder that users can write to would let one of them replace it for the
; others. Program Files' permissions are inherited by a folder made inside
; it; whether users may write to any other folder cannot be told reliably
; (the groups' names are translated, and a share's rights are the server's),
; so any other folder is refused.
Function IsUnderProgramFiles ; $0 = folder -> $1 = 1 or 0
  StrCpy $1 0
  ${ForEach} $2 0 1 + 1
    ${If} $2 == 0
      StrCpy $3 "$PROGRAMFILES32\"
    ${Else}
      StrCpy $3 "$PROGRAMFILES64\"
    ${EndIf}
    StrLen $4 $3
    StrCpy $5 "$0\" $4
    ${If} $5 == $3
    ${AndIf} $0 != $PROGRAMFILES32
    ${AndIf} $0 != $PROGRAMFILES64
      StrCpy $1 1
    ${EndIf}
  ${Next}
  ; A ".." would lead back out of it.
  ${StrStr} $2 $0 ".."
  ${If} $2 != ""
    StrCpy $1 0
  ${EndIf}
FunctionEnd

Function CheckInstallFolder
  StrCpy $0 $INSTDIR
  Call IsUnderProgramFiles
  ${If} $1 != 1
    MessageBox MB_ICONSTOP|MB_OK "$(FolderRefused)"
    Abort
  ${EndIf}
FunctionEnd

Function RunUnelevated
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\${EXE}"'
FunctionEnd

Section "${NAME}" SecProgram
  SectionIn RO
  SetShellVarContext all
  ; A silent install (/S /D=...) passes no page: the folder is checked here.
  StrCpy $0 $INSTDIR
  Call IsUnderProgramFiles
  ${If} $1 != 1
    IfSilent 0 +2
      SetErrorLevel 2
    MessageBox MB_ICONSTOP|MB_OK "$(FolderRefused)" /SD IDOK
    Quit
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "/oname=${EXE}" "${PROGRAM}"
!ifdef CLI
  File "/oname=brelvan.exe" "${CLI}"
!endif
  File "/oname=NOTICES.txt" "${NOTICES}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; A reinstall replaces the rule instead of adding a second one.
  !insertmacro FirewallRule 'delete rule name="${FIREWALL_RULE}"'
  !insertmacro FirewallRule 'add rule name="${FIREWALL_RULE}" dir=in action=allow program="$INSTDIR\${EXE}" protocol=UDP localport=998 remoteip=localsubnet profile=any enable=yes'
!ifdef CLI
  !insertmacro FirewallRule 'delete rule name="${FIREWALL_RULE_CLI}"'
  !insertmacro FirewallRule 'add rule name="${FIREWALL_RULE_CLI}" dir=in action=allow program="$INSTDIR\brelvan.exe" protocol=UDP localport=998 remoteip=localsubnet profile=any enable=yes'
!endif
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  !insertmacro FirewallRule 'delete rule name="${FIREWALL_RULE}"'
  !insertmacro FirewallRule 'delete rule name="${FIREWALL_RULE_CLI}"'
  Delete "$SMPROGRAMS\${NAME}.lnk"
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\brelvan.exe"
  Delete "$INSTDIR\NOTICES.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
