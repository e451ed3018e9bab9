; Per-user installer for Tabulon. The program writes its note and pictures in
; its own folder, so it installs under the user's own programs folder and never
; needs administrator rights.
Unicode true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!ifndef VERSION
  !error "pass -DVERSION=x.y.z"
!endif
!ifndef DISTDIR
  !error "pass -DDISTDIR=path of the program folder"
!endif
!ifndef OUTFILE
  !define OUTFILE "Tabulon-${VERSION}-setup.exe"
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define APPNAME "Tabulon"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tabulon"

Name "${APPNAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tabulon"
InstallDirRegKey HKCU "${UNINSTKEY}" "InstallLocation"
BrandingText "${APPNAME} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "${APPNAME}"
VIAddVersionKey /LANG=2052 "FileDescription" "${APPNAME} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Tabulon"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tabulon.exe"
!define MUI_FINISHPAGE_RUN_TEXT "启动 Tabulon"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "Tabulon 程序" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  ; Replaces the program; the note in Data\content.ini is never part of the
  ; package, so an upgrade keeps it.
  File "${DISTDIR}\Tabulon.exe"
  CreateDirectory "$INSTDIR\Data"
  SetOutPath "$INSTDIR\source\DeskTopBG"
  File "${DISTDIR}\source\DeskTopBG\A1.bmp"
  File "${DISTDIR}\source\DeskTopBG\A2.bmp"
  File "${DISTDIR}\source\DeskTopBG\A.bmp"
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Tabulon"
  CreateShortcut "$SMPROGRAMS\Tabulon\Tabulon.lnk" "$INSTDIR\Tabulon.exe"
  CreateShortcut "$SMPROGRAMS\Tabulon\卸载 Tabulon.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${UNINSTKEY}" "DisplayName" "${APPNAME}"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTKEY}" "Publisher" "Tabulon"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\Tabulon.exe"
  WriteRegStr HKCU "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoRepair" 1
SectionEnd

Section /o "桌面快捷方式" SecDesktop
  CreateShortcut "$DESKTOP\Tabulon.lnk" "$INSTDIR\Tabulon.exe"
SectionEnd

LangString DESC_SecMain ${LANG_SIMPCHINESE} "Tabulon 程序及两张桌面背景图片。"
LangString DESC_SecDesktop ${LANG_SIMPCHINESE} "在桌面上放一个 Tabulon 快捷方式。"
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecMain} $(DESC_SecMain)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} $(DESC_SecDesktop)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; /KEEPNOTE on the command line keeps the note without asking (silent runs);
; /DELETENOTE removes it without asking.
Section "Uninstall"
  Delete "$INSTDIR\Tabulon.exe"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$INSTDIR\source\DeskTopBG\A1.bmp"
  Delete "$INSTDIR\source\DeskTopBG\A2.bmp"
  Delete "$INSTDIR\source\DeskTopBG\A.bmp"
  Delete "$INSTDIR\source\DeskTopBG\Content.bmp"
  Delete "$INSTDIR\source\DeskTopBG\Mix.bmp"
  RMDir "$INSTDIR\source\DeskTopBG"
  RMDir "$INSTDIR\source"

  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/DELETENOTE" $1
  ${IfNot} ${Errors}
    Goto delete_note
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/KEEPNOTE" $1
  ${IfNot} ${Errors}
    Goto keep_note
  ${EndIf}
  IfFileExists "$INSTDIR\Data\content.ini" 0 keep_note
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "是否同时删除您的便笺内容（Data\content.ini）？$\r$\n选择“否”将保留便笺，以后重新安装时可继续使用。" /SD IDNO IDYES delete_note
  Goto keep_note
delete_note:
  Delete "$INSTDIR\Data\content.ini"
keep_note:
  RMDir "$INSTDIR\Data"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Tabulon\Tabulon.lnk"
  Delete "$SMPROGRAMS\Tabulon\卸载 Tabulon.lnk"
  RMDir "$SMPROGRAMS\Tabulon"
  Delete "$DESKTOP\Tabulon.lnk"
  DeleteRegKey HKCU "${UNINSTKEY}"
SectionEnd
