; The operator's installer: Lintavo for the current user in %LOCALAPPDATA%\Programs\Lintavo,
; where Lintavo.ini beside the program stays writable; a Start-menu shortcut, an optional
; start at logon and an entry in the installed programs list. The build passes BUILD_NSH,
; the configured build.nsh (version, product folder, icon, output file).
Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; A file that cannot be written stops the installer rather than leaving a mixed version.
AllowSkipFiles off

!include "${BUILD_NSH}"
!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lintavo"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Lintavo"
!define MAIN_WINDOW_CLASS "TLintavoForm"
!define UNINSTALLER "uninstall.exe"
!define LOG_FILE "$TEMP\Lintavo-setup.log"
; Exit codes beside NSIS's own 1 (the operator cancelled) and 2 (stopped by the script).
!define EXIT_PROGRAM_RUNNING 3
!define EXIT_FOLDER_FAILED 4
; How long a running copy gets to close after it has been asked, in quarter seconds.
!define CLOSE_WAIT_STEPS 60

; The files the installer puts down and the uninstaller takes away again, one list for both.
; Lintavo.ini is never among them: it is the operator's.
!macro ForEachProgramFile Do
  !insertmacro ${Do} "Lintavo.exe"
  !insertmacro ${Do} "about.dll"
  !insertmacro ${Do} "qvm_help.dll"
  !insertmacro ${Do} "DOC\Lintavo.crf"
!macroend

; In quotes, the name reads right in the Modern UI's Russian sentences without declension.
Name "«${LINTAVO_PRODUCT_NAME}»"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\Programs\Lintavo"
; An upgrade goes where the installed copy is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Lintavo ${LINTAVO_VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
Page custom StartPageCreate StartPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE_3LINES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Lintavo.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"
!include "texts.nsh"

VIProductVersion "${LINTAVO_VERSION}.0"
VIFileVersion "${LINTAVO_VERSION}.0"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${LINTAVO_VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${LINTAVO_VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "$(SetupDescription)"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "${PUBLISHER}"

Var RunAtLogon  ; ${BST_CHECKED} or ${BST_UNCHECKED}
Var RunAtLogonBox
Var FailText
Var FailCode

; ---- Shared by the installer and the uninstaller (the uninstaller's copies carry "un.") ----

!macro DefineCommonFunctions Un
; A line in the log for whoever ran the installer silently, where no box is shown.
Function ${Un}LogFailure
  ${GetTime} "" "L" $0 $1 $2 $3 $4 $5 $6
  FileOpen $7 "${LOG_FILE}" a
  FileSeek $7 0 END
  FileWriteUTF16LE /BOM $7 "$2-$1-$0 $4:$5:$6 Lintavo ${LINTAVO_VERSION}: $FailText (код $FailCode)$\r$\n"
  FileClose $7
FunctionEnd

; Stops the installer or uninstaller with the exit code $FailCode, $FailText in the log and
; on the progress page.
Function ${Un}Stop
  DetailPrint "$FailText"
  Call ${Un}LogFailure
  SetErrorLevel $FailCode
  Abort
FunctionEnd

; $R1 = 1 while a copy of the program runs: its main window is there, or its file in
; $INSTDIR is still held (the process outlives its window by a moment).
Function ${Un}ProgramRunning
  StrCpy $R1 1
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  ${If} $0 <> 0
    Return
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\Lintavo.exe"
    ClearErrors
    FileOpen $0 "$INSTDIR\Lintavo.exe" a
    ${If} ${Errors}
      Return
    ${EndIf}
    FileClose $0
  ${EndIf}
  StrCpy $R1 0
FunctionEnd

; Asks every running copy to close as the operator would; the program may first ask its
; own exit question, which is for the operator to answer. Windows lets that question come to
; the front only when the installer, which holds the front, allows the copy to take it.
Function ${Un}AskRunningCopiesToClose
  StrCpy $0 0
  ${Do}
    FindWindow $0 "${MAIN_WINDOW_CLASS}" "" 0 $0
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1)"
    System::Call "user32::AllowSetForegroundWindow(i r1)"
    System::Call "user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0)"
  ${Loop}
FunctionEnd

Function ${Un}WaitForRunningCopies
  StrCpy $R0 0
  ${Do}
    Call ${Un}ProgramRunning
    ${If} $R1 = 0
    ${OrIf} $R0 >= ${CLOSE_WAIT_STEPS}
      ${Break}
    ${EndIf}
    Sleep 250
    IntOp $R0 $R0 + 1
  ${Loop}
FunctionEnd

; Files in use cannot be replaced or removed: every copy is closed before anything changes.
Function ${Un}CloseRunningCopies
  Call ${Un}ProgramRunning
  ${If} $R1 = 0
    Return
  ${EndIf}
  Call ${Un}AskRunningCopiesToClose
  ${Do}
    Call ${Un}WaitForRunningCopies
    ${If} $R1 = 0
      Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(ProgramRunning)" /SD IDCANCEL IDCANCEL cancelled
  ${Loop}
  cancelled:
  StrCpy $FailText "$(ProgramNotClosed)"
  StrCpy $FailCode ${EXIT_PROGRAM_RUNNING}
  Call ${Un}Stop
FunctionEnd
!macroend

!insertmacro DefineCommonFunctions ""
!insertmacro DefineCommonFunctions "un."

; ---- The installer ----

; NSIS quietly falls back to the default folder when the one given with /D= does not look
; usable (its drive is missing, a file stands in its path), and leaves the switch alone when
; it arrives quoted; the installer takes the folder as the operator wrote it instead, and
; creating it decides whether the install goes on.
Function TakeRequestedFolder
  System::Call "kernel32::GetCommandLineW() t .r0"
  StrLen $1 $0
  ${Do}
    IntOp $1 $1 - 1
    ${If} $1 < 1
      Return
    ${EndIf}
    StrCpy $2 $0 3 $1
  ${LoopUntil} $2 S== "/D="
  IntOp $2 $1 - 1
  StrCpy $2 $0 1 $2
  IntOp $1 $1 + 3
  StrCpy $3 $0 "" $1
  ${If} $2 == '"'
    StrCpy $4 $3 1 -1
    ${If} $4 == '"'
      StrCpy $3 $3 -1
    ${EndIf}
  ${ElseIf} $2 != " "
    Return
  ${EndIf}
  StrCpy $INSTDIR $3
FunctionEnd

Function .onInit
  Call TakeRequestedFolder
  ; A fresh install starts at logon; an upgrade keeps the operator's earlier choice.
  StrCpy $RunAtLogon ${BST_CHECKED}
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $1 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 != ""
  ${AndIf} $1 == ""
    StrCpy $RunAtLogon ${BST_UNCHECKED}
  ${EndIf}
FunctionEnd

Function StartPageCreate
  !insertmacro MUI_HEADER_TEXT "$(StartPageTitle)" "$(StartPageSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateCheckbox} 0 0 100% 12u "$(RunAtLogonBox)"
  Pop $RunAtLogonBox
  ${NSD_SetState} $RunAtLogonBox $RunAtLogon
  ${NSD_CreateLabel} 12u 16u -12u 24u "$(RunAtLogonNote)"
  Pop $0
  nsDialogs::Show
FunctionEnd

Function StartPageLeave
  ${NSD_GetState} $RunAtLogonBox $RunAtLogon
FunctionEnd

; Stop, where the operator has not been told yet.
Function Fail
  MessageBox MB_OK|MB_ICONSTOP "$FailText" /SD IDOK
  Call Stop
FunctionEnd

; Nothing is written before the folder is known to exist, so a bad folder leaves nothing.
Function CreateInstallFolder
  ClearErrors
  CreateDirectory "$INSTDIR"
  ${If} ${Errors}
  ${OrIfNot} ${FileExists} "$INSTDIR\*.*"
    StrCpy $FailText "$(FolderFailed)"
    StrCpy $FailCode ${EXIT_FOLDER_FAILED}
    Call Fail
  ${EndIf}
FunctionEnd

!macro InstallFile Name
  File "/oname=${Name}" "${BIN_DIR}/${Name}"
!macroend

Function WriteRunAtLogon
  ${If} $RunAtLogon = ${BST_CHECKED}
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Lintavo.exe"'
  ${Else}
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
FunctionEnd

Section "-Program" SectionProgram
  Call CloseRunningCopies
  Call CreateInstallFolder
  SetOutPath "$INSTDIR"
  CreateDirectory "$INSTDIR\DOC"
  !insertmacro ForEachProgramFile InstallFile
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT_NAME}.lnk" "$INSTDIR\Lintavo.exe"
  Call WriteRunAtLogon
  Call WriteUninstallEntry
SectionEnd

Function WriteUninstallEntry
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${LINTAVO_VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Lintavo.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SectionProgram} $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
FunctionEnd

; ---- The uninstaller ----

!macro RemoveFile Name
  Delete "$INSTDIR\${Name}"
!macroend

; The settings stay when the operator wants them for a later install; a silent uninstall
; always keeps them.
Function un.RemoveSettingsUnlessKept
  ${IfNot} ${FileExists} "$INSTDIR\Lintavo.ini"
    Return
  ${EndIf}
  MessageBox MB_YESNO|MB_ICONQUESTION "$(KeepSettings)" /SD IDYES IDYES kept
  Delete "$INSTDIR\Lintavo.ini"
  kept:
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningCopies
  !insertmacro ForEachProgramFile RemoveFile
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR\DOC"
  Call un.RemoveSettingsUnlessKept
  ; Only an empty folder goes: anything the operator put there stays.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT_NAME}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
