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

; -DSIGN=path of tools/sign.sh: the installer and the uninstaller it writes
; are signed as they are made (the uninstaller before it is packed).
!ifdef SIGN
  !finalize 'bash "${SIGN}" "%1"' = 0
  !uninstfinalize 'bash "${SIGN}" "%1"' = 0
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define APPNAME "Tabulon"
; The structures CreateProcessW fills differ between 32- and 64-bit installers.
!if ${NSIS_PTR_SIZE} > 4
  !define STARTUPINFOW_SIZE 104
  !define PROCESS_INFORMATION_SIZE 24
!else
  !define STARTUPINFOW_SIZE 68
  !define PROCESS_INFORMATION_SIZE 16
!endif
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tabulon"

; -DX64: the installer of the 64-bit program (a 64-bit installer itself).
; Both install into the same folder under the same entry in the installed
; programs, so either replaces the other and keeps the note and pictures.
!ifdef X64
  !define EDITION " (64-bit)"
!else
  !define EDITION ""
!endif

Name "${APPNAME} ${VERSION}${EDITION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tabulon"
InstallDirRegKey HKCU "${UNINSTKEY}" "InstallLocation"
BrandingText "${APPNAME} ${VERSION}${EDITION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "${APPNAME}"
VIAddVersionKey /LANG=2052 "FileDescription" "${APPNAME}${EDITION} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Tabulon"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tabulon.exe"
!define MUI_FINISHPAGE_RUN_TEXT "启动 Tabulon"

!define SPI_GETDESKWALLPAPER 0x0073
; The program's windows: the 584 x 382 main window (class TabulonWindow, like
; its hidden helper windows, which have other titles) and the 1 x 1
; application window that lives as long as the process.
!define MAIN_CLASS "TabulonWindow"
!define APP_CLASS "TabulonApplication"
!define TITLE "Tabulon"
!define BGDIR "source\DeskTopBG"

!insertmacro MUI_PAGE_WELCOME
!define MUI_DIRECTORYPAGE_TEXT_TOP "Tabulon 把便笺和桌面图片保存在自己的文件夹里，请选一个您可以写入的文件夹。不要装到 Program Files 下：在那里程序无法保存便笺。"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; ---------------------------------------------------------------------------
; A running Tabulon holds its program file open and writes its note: it is
; asked to close (it saves the note first, as on any orderly exit) and waited
; for. Only copies started from $INSTDIR are touched. Both the installer and
; the uninstaller need these, hence the macro.
!macro TABULON_FUNCTIONS un
; $R0 a window -> $R2 a handle to wait on its process when that process runs
; $INSTDIR\Tabulon.exe (or will not say what it runs), else 0.
Function ${un}OpenIfOurs
  StrCpy $R2 0
  StrCpy $R3 0
  System::Call 'user32::GetWindowThreadProcessId(p R0, *i .R3) i .R4'
  ${If} $R3 = 0
    Return
  ${EndIf}
  ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
  System::Call 'kernel32::OpenProcess(i 0x101000, i 0, i R3) p .R2'
  ${If} $R2 = 0
    Return
  ${EndIf}
  StrCpy $R5 ""
  System::Call 'kernel32::QueryFullProcessImageNameW(p R2, i 0, w .R5, *i ${NSIS_MAX_STRLEN}) i .R6'
  ${If} $R6 <> 0
  ${AndIf} $R5 != "$INSTDIR\Tabulon.exe"
    System::Call 'kernel32::CloseHandle(p R2)'
    StrCpy $R2 0
  ${EndIf}
FunctionEnd

Function ${un}CloseRunningTabulon
  Push $R0
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  Push $R6
  Push $R7
  Push $R8
retry:
  ; Every main window of ours is asked to close.
  StrCpy $R0 0
  ${Do}
    FindWindow $R0 "${MAIN_CLASS}" "${TITLE}" "" $R0
    ${IfThen} $R0 = 0 ${|} ${ExitDo} ${|}
    Call ${un}OpenIfOurs
    ${If} $R2 <> 0
      SendMessage $R0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
      System::Call 'kernel32::CloseHandle(p R2)'
    ${EndIf}
  ${Loop}
  ; Each process of ours is waited for through its application window. One
  ; without a main window (still starting, or stuck) is asked through that
  ; window instead.
  StrCpy $R7 0
  StrCpy $R0 0
  ${Do}
    FindWindow $R0 "${APP_CLASS}" "${TITLE}" "" $R0
    ${IfThen} $R0 = 0 ${|} ${ExitDo} ${|}
    Call ${un}OpenIfOurs
    ${If} $R2 <> 0
      System::Call 'kernel32::WaitForSingleObject(p R2, i 15000) i .R8'
      ${If} $R8 <> 0
        SendMessage $R0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
        System::Call 'kernel32::WaitForSingleObject(p R2, i 10000) i .R8'
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p R2)'
      ${If} $R8 <> 0
        IntOp $R7 $R7 + 1
      ${Else}
        StrCpy $R0 0 ; gone with its process: search again from the first window
      ${EndIf}
    ${EndIf}
  ${Loop}
  ${If} $R7 <> 0
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Tabulon 仍在运行，没有响应关闭请求。$\r$\n请先关闭 Tabulon，再点“重试”。" /SD IDCANCEL IDRETRY retry
    Abort "Tabulon 仍在运行。"
  ${EndIf}
  Pop $R8
  Pop $R7
  Pop $R6
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R0
FunctionEnd

; $R0 a file -> $R1 "time:size" as the installer left it, "" when missing.
; A picture the user put in its place differs in one or both.
Function ${un}FileStamp
  StrCpy $R1 ""
  ${IfNot} ${FileExists} $R0
    Return
  ${EndIf}
  Push $R2
  Push $R3
  Push $R4
  ClearErrors
  GetFileTime $R0 $R2 $R3
  FileOpen $R4 $R0 r
  ${IfNot} ${Errors}
    FileSeek $R4 0 END $R1
    FileClose $R4
    StrCpy $R1 "$R2:$R3:$R1"
  ${Else}
    StrCpy $R1 ""
  ${EndIf}
  Pop $R4
  Pop $R3
  Pop $R2
FunctionEnd
!macroend
!insertmacro TABULON_FUNCTIONS ""
!insertmacro TABULON_FUNCTIONS "un."

; A background is written only where none is: an upgrade keeps the pictures
; the user put there. What was written is recorded, so that the uninstaller
; removes only pictures that are still ours.
!macro INSTALL_PICTURE name
  ${IfNot} ${FileExists} "$INSTDIR\${BGDIR}\${name}"
    File "${DISTDIR}\${BGDIR}\${name}"
    StrCpy $R0 "$INSTDIR\${BGDIR}\${name}"
    Call FileStamp
    WriteRegStr HKCU "${UNINSTKEY}" "Installed ${name}" $R1
  ${EndIf}
!macroend

!macro REMOVE_PICTURE_IF_OURS name
  StrCpy $R0 "$INSTDIR\${BGDIR}\${name}"
  Call un.FileStamp
  ReadRegStr $R2 HKCU "${UNINSTKEY}" "Installed ${name}"
  ${If} $R1 != ""
  ${AndIf} $R1 == $R2
    Delete $R0
  ${EndIf}
!macroend

; The directory page warns against Program Files: a program there cannot
; write beside itself, so the note and the pictures could not be saved.
Function DirectoryLeave
  ${ForEach} $R9 0 1 + 1
    ${If} $R9 = 0
      StrCpy $R8 $PROGRAMFILES
    ${Else}
      StrCpy $R8 $PROGRAMFILES64
    ${EndIf}
    StrLen $R7 $R8
    StrCpy $R6 $INSTDIR $R7
    ${If} $R7 > 0
    ${AndIf} $R6 == $R8
      MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2 "您选择的文件夹在 Program Files 下：$\r$\n$INSTDIR$\r$\n$\r$\nTabulon 在自己的文件夹里保存便笺和桌面图片，普通用户在那里无法写入，便笺将不能保存。$\r$\n仍要安装到这里吗？" IDYES ok
      Abort
    ${EndIf}
  ${Next}
ok:
FunctionEnd

Section "Tabulon 程序" SecMain
  SectionIn RO
  Call CloseRunningTabulon
  SetOutPath "$INSTDIR"
  ; Replaces the program; the note in Data\content.ini is never part of the
  ; package, so an upgrade keeps it.
  File "${DISTDIR}\Tabulon.exe"
  CreateDirectory "$INSTDIR\Data"
  SetOutPath "$INSTDIR\${BGDIR}"
  !insertmacro INSTALL_PICTURE "A1.bmp"
  !insertmacro INSTALL_PICTURE "A2.bmp"
  !insertmacro INSTALL_PICTURE "A.bmp"
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; One entry in the Start menu's app list; the uninstaller is reached
  ; through the system's list of installed programs. Earlier versions had a
  ; folder with an uninstall shortcut: it goes.
  Delete "$SMPROGRAMS\Tabulon\Tabulon.lnk"
  Delete "$SMPROGRAMS\Tabulon\卸载 Tabulon.lnk"
  RMDir "$SMPROGRAMS\Tabulon"
  CreateShortcut "$SMPROGRAMS\Tabulon.lnk" "$INSTDIR\Tabulon.exe"

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

; Leaves no desktop without a wallpaper: when our Mix.bmp is in force, the
; program puts back the wallpaper it recorded before its first pin, or keeps
; Mix.bmp where none is recorded. It ends by itself at once; one that does
; not (it did not know the switch, or hangs) is closed after a time limit.
; Exit code 2: put back, but not all of it (a picture deleted since, a
; slideshow to turn on again); the user hears of it, as the program has no
; window to say so. 1: nothing changed (Mix.bmp stays, see below).
Function un.RestoreWallpaper
  ${IfNot} ${FileExists} "$INSTDIR\Tabulon.exe"
    Return
  ${EndIf}
  System::Alloc ${STARTUPINFOW_SIZE}
  Pop $R0
  System::Call '*$R0(i ${STARTUPINFOW_SIZE})'
  System::Alloc ${PROCESS_INFORMATION_SIZE}
  Pop $R1
  StrCpy $R2 '"$INSTDIR\Tabulon.exe" /restorewallpaper'
  StrCpy $R3 "$INSTDIR\Tabulon.exe"
  StrCpy $R8 "$INSTDIR"
  System::Call 'kernel32::CreateProcessW(w R3, w R2, p 0, p 0, i 0, i 0, p 0, w R8, p R0, p R1) i .R4'
  StrCpy $R7 0
  ${If} $R4 <> 0
    System::Call '*$R1(p .R5, p .R6)'
    System::Call 'kernel32::WaitForSingleObject(p R5, i 20000) i .R7'
    StrCpy $R9 0
    ${If} $R7 = 0
      System::Call 'kernel32::GetExitCodeProcess(p R5, *i .R9)'
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p R6)'
    System::Call 'kernel32::CloseHandle(p R5)'
  ${EndIf}
  System::Free $R0
  System::Free $R1
  ${If} $R7 <> 0
    Call un.CloseRunningTabulon
  ${ElseIf} $R9 = 2
    MessageBox MB_OK|MB_ICONINFORMATION "原来的桌面背景已恢复，但有的部分无法恢复（例如图片已被删除）。$\r$\n请在“设置”→“个性化”→“背景”中重新选择。" /SD IDOK
  ${ElseIf} $R9 = 1
    DetailPrint "无法恢复原来的桌面背景，便笺图片 Mix.bmp 仍保留为桌面背景。"
  ${EndIf}
FunctionEnd

; /KEEPNOTE on the command line keeps the note without asking (silent runs);
; /DELETENOTE removes it without asking.
Section "Uninstall"
  Call un.CloseRunningTabulon
  Call un.RestoreWallpaper
  Delete "$INSTDIR\Tabulon.exe"
  Delete "$INSTDIR\uninstall.exe"
  ; Backgrounds go only while they are the ones the installer wrote.
  !insertmacro REMOVE_PICTURE_IF_OURS "A1.bmp"
  !insertmacro REMOVE_PICTURE_IF_OURS "A2.bmp"
  !insertmacro REMOVE_PICTURE_IF_OURS "A.bmp"
  Delete "$INSTDIR\${BGDIR}\Content.bmp"
  ; Mix.bmp stays while it is the wallpaper in force.
  System::Call 'user32::SystemParametersInfoW(i ${SPI_GETDESKWALLPAPER}, i ${NSIS_MAX_STRLEN}, w .R0, i 0) i .R1'
  ${If} $R1 = 0
  ${OrIf} $R0 != "$INSTDIR\${BGDIR}\Mix.bmp"
    Delete "$INSTDIR\${BGDIR}\Mix.bmp"
  ${EndIf}
  RMDir "$INSTDIR\${BGDIR}"
  RMDir "$INSTDIR\source"
  ; The copies of the help pages the program wrote for the user's browser.
  Delete "$TEMP\Tabulon\B90A.HTM"
  Delete "$TEMP\Tabulon\B90B.HTM"
  Delete "$TEMP\Tabulon\B90D.HTM"
  RMDir "$TEMP\Tabulon"
  ; The settings, and the copy of the desktop's picture kept for pins onto it.
  Delete "$INSTDIR\Data\Settings.txt"
  Delete "$INSTDIR\Data\Settings.unreadable.txt"
  Delete "$INSTDIR\Data\PreviousWallpaper.img"

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
  IfFileExists "$INSTDIR\Data\content.ini" ask_note 0
  IfFileExists "$INSTDIR\Data\history\*.*" ask_note keep_note
ask_note:
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "是否同时删除您的便笺内容（Data\content.ini 及其历史版本）？$\r$\n选择“否”将保留便笺，以后重新安装时可继续使用。" /SD IDNO IDYES delete_note
  Goto keep_note
delete_note:
  ; Every file that holds note text: the note, the text set aside when it
  ; could not be written, the copies of other programs' texts kept beside it
  ; (content.<yyyyMMdd-HHmmss>.ini) and the history.
  Delete "$INSTDIR\Data\content.ini"
  Delete "$INSTDIR\Data\content.unsaved.ini"
  Delete "$INSTDIR\Data\content.unsaved-whole.ini"
  Delete "$INSTDIR\Data\content.????????-??????*.ini"
  RMDir /r "$INSTDIR\Data\history"
keep_note:
  RMDir "$INSTDIR\Data"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Tabulon.lnk"
  Delete "$SMPROGRAMS\Tabulon\Tabulon.lnk"
  Delete "$SMPROGRAMS\Tabulon\卸载 Tabulon.lnk"
  RMDir "$SMPROGRAMS\Tabulon"
  Delete "$DESKTOP\Tabulon.lnk"
  DeleteRegKey HKCU "${UNINSTKEY}"
SectionEnd
