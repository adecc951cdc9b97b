; Korvanel's installer, made by the build's "packages" target with makensis.
;
; Everything the program keeps lives in Data\ beside the executable, so it is
; installed per user into the user's own programs folder, where Data\ stays
; writable without administrator rights. One installer carries both
; programs: they share the folder, its Data\ and one uninstall entry, and
; the low-resource program is an optional part.
;
; The build defines VERSION and VERSION_QUAD (the full edition's numbers,
; from packaging/versions.cmake), BIN (the folder of both programs), HELP,
; ICON and OUTFILE, and may define COMPRESSOR.
;
; Switches besides the usual /S and /D=folder:
;   setup /LOWRESOURCE     also install the low-resource program
;   Uninstall /REMOVEDATA  also remove Data\ (a silent uninstall keeps it;
;                          an interactive one asks)

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
; The smallest download; the tests' older release asks for a quicker one.
!ifndef COMPRESSOR
  !define COMPRESSOR "/SOLID lzma"
!endif
SetCompressor ${COMPRESSOR}

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvanel"
!define LOW_LINK "Korvanel Low-Resource Edition.lnk"

Name "Korvanel"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Korvanel"
; An upgrade goes where the last installation went, Data\ and all.
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "Brackwater"

VIProductVersion ${VERSION_QUAD}
VIFileVersion ${VERSION_QUAD}
VIAddVersionKey ProductName "Korvanel"
VIAddVersionKey CompanyName "Brackwater"
VIAddVersionKey FileDescription "Korvanel Setup"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey LegalCopyright "Brackwater"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Korvanel.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Korvanel" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${BIN}/Korvanel.exe"
  SetOutPath "$INSTDIR\Help"
  File /r "${HELP}/*"
  SetOutPath "$INSTDIR"
  CreateDirectory "$SMPROGRAMS"
  CreateShortcut "$SMPROGRAMS\Korvanel.lnk" "$INSTDIR\Korvanel.exe"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
SectionEnd

Section /o "Low-resource edition" SecLow
  SetOutPath "$INSTDIR"
  File "${BIN}/KorvanelLow.exe"
  CreateShortcut "$SMPROGRAMS\${LOW_LINK}" "$INSTDIR\KorvanelLow.exe"
SectionEnd

Section "Desktop shortcut" SecDesktop
  SetOutPath "$INSTDIR"
  CreateShortcut "$DESKTOP\Korvanel.lnk" "$INSTDIR\Korvanel.exe"
SectionEnd

; A part left out of an upgrade goes, so that no older program stays behind.
Section "-Uninstall entry"
  ${IfNot} ${SectionIsSelected} ${SecLow}
    Delete "$INSTDIR\KorvanelLow.exe"
    Delete "$SMPROGRAMS\${LOW_LINK}"
  ${EndIf}
  ${IfNot} ${SectionIsSelected} ${SecDesktop}
    Delete "$DESKTOP\Korvanel.lnk"
  ${EndIf}
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "Korvanel"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "Brackwater"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Korvanel.exe"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecMain} "Korvanel.exe, its help pages and its Start-menu entry."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecLow} "KorvanelLow.exe, for slower computers, with its own Start-menu entry; it shares the Data folder."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} "A shortcut to Korvanel on your desktop."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  ; $INSTDIR already holds the earlier installation's folder, if any: its
  ; choices carry over to the upgrade.
  ${If} ${FileExists} "$INSTDIR\KorvanelLow.exe"
    !insertmacro SelectSection ${SecLow}
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\Uninstall.exe"
  ${AndIfNot} ${FileExists} "$DESKTOP\Korvanel.lnk"
    !insertmacro UnselectSection ${SecDesktop}
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/LOWRESOURCE" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecLow}
  ${EndIf}
FunctionEnd

Var RemoveData

Function un.onInit
  StrCpy $RemoveData 0
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/REMOVEDATA" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveData 1
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ${If} $RemoveData == 0
  ${AndIf} ${FileExists} "$INSTDIR\Data\*"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "Remove Korvanel's data as well?$\r$\n$\r$\nThe folder $INSTDIR\Data holds your settings, the checksum baselines, the registry snapshot and the logs. Keep it to carry on where you left off after installing Korvanel again." \
      /SD IDNO IDNO keep
    StrCpy $RemoveData 1
    keep:
  ${EndIf}

  Delete "$INSTDIR\Korvanel.exe"
  Delete "$INSTDIR\KorvanelLow.exe"
  RMDir /r "$INSTDIR\Help"
  ; The shortcuts the program itself makes: auto-load at logon and the
  ; secure shut down.
  Delete "$SMSTARTUP\Korvanel.lnk"
  Delete "$DESKTOP\SecureShutDown.lnk"
  Delete "$INSTDIR\SecureShutDown.lnk"
  Delete "$SMPROGRAMS\Korvanel.lnk"
  Delete "$SMPROGRAMS\${LOW_LINK}"
  Delete "$DESKTOP\Korvanel.lnk"
  ${If} $RemoveData == 1
    RMDir /r "$INSTDIR\Data"
  ${EndIf}
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: a kept Data\, or files of the user's own, keep it.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
