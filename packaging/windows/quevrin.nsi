; The Windows installer of the Quevrin DirectShow filter (make installer):
;   makensis -DVERSION=1.03 -DMODULE=quevrin.ax -DLICENSE=License.txt -DOUTFILE=Setup.exe quevrin.nsi
; A 64-bit installer for the 64-bit module: it installs into
; Program Files\Vantrel\Quevrin, registers the module through its own
; DllRegisterServer, and lists Quevrin among the installed programs with an
; uninstaller. /S runs the installer or the uninstaller silently; a silent
; run ends with exit status 0 on success.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quevrin"

Name "Quevrin ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vantrel\Quevrin"
; An upgrade goes where the installed version is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Vantrel"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Quevrin"
VIAddVersionKey "CompanyName" "Vantrel"
VIAddVersionKey "FileDescription" "Quevrin ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright 2026 Vantrel. All rights reserved."

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Quevrin"
    ; An installed version in another folder goes first, so that no copy of
    ; it stays behind; in the same folder the new files replace it.
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
    ${AndIf} $0 != $INSTDIR
    ${AndIf} ${FileExists} "$0\Uninstall.exe"
        ExecWait '"$0\Uninstall.exe" /S _?=$0'
        Delete "$0\Uninstall.exe"
        RMDir "$0"
    ${EndIf}

    SetOutPath "$INSTDIR"
    File "${MODULE}"
    File "${LICENSE}"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ClearErrors
    RegDLL "$INSTDIR\quevrin.ax"
    ${If} ${Errors}
        ; Nothing half-installed stays behind.
        Delete "$INSTDIR\quevrin.ax"
        Delete "$INSTDIR\License.txt"
        Delete "$INSTDIR\Uninstall.exe"
        RMDir "$INSTDIR"
        RMDir "$PROGRAMFILES64\Vantrel"
        MessageBox MB_ICONSTOP "The Quevrin filter could not be registered. Nothing was installed." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Quevrin"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vantrel"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "https://vantrel.example/"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    ; The module's own unregistration takes its class keys and the filter
    ; mapper's entry away.
    UnRegDLL "$INSTDIR\quevrin.ax"
    ; A module a running host still holds goes at the next restart.
    Delete /REBOOTOK "$INSTDIR\quevrin.ax"
    Delete "$INSTDIR\License.txt"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir /REBOOTOK "$INSTDIR"
    ; The maker's folder, when no other product of it is left there.
    RMDir "$PROGRAMFILES64\Vantrel"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
