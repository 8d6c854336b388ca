; The per-user installer of the program (makensis, run by the `installer` target).
; Defines: VERSION (x.y.z), STAGE (the gathered files), CONTROL (the control library's
; file name), OUTFILE.
; A 64-bit installer for the 64-bit program (and for Wine without its 32-bit half).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define PRODUCT "Vetra_Care_Member"
!define PROGRAM "Vetra_Care_Member.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "베트라Care"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
ShowInstDetails nevershow
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1042 "ProductName" "Vetra Care Member"
VIAddVersionKey /LANG=1042 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1042 "FileDescription" "Vetra Care Member Setup"
VIAddVersionKey /LANG=1042 "LegalCopyright" "Vetra Care"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\Korean.nlf"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The update flow starts this installer and then ends the program: its files stay locked
; for a moment. Wait until the old program can be removed (about 30 seconds at most).
Function WaitForOldProgram
  StrCpy $0 0
  retry:
    IfFileExists "$INSTDIR\${PROGRAM}" 0 done
    ClearErrors
    Delete "$INSTDIR\${PROGRAM}"
    IfErrors 0 done
    IntOp $0 $0 + 1
    IntCmp $0 60 gave_up
    Sleep 500
    Goto retry
  gave_up:
    MessageBox MB_ICONSTOP "베트라Care가 실행 중이어서 설치할 수 없습니다. 프로그램을 종료한 뒤 다시 설치해 주세요." /SD IDOK
    Abort
  done:
FunctionEnd

Section "Install"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  Call WaitForOldProgram
  SetOverwrite on
  File /r "${STAGE}\*.*"
  ; deploy.ini holds the installation's secrets: its owner, SYSTEM and the administrators only.
  IfFileExists "$INSTDIR\deploy.ini" 0 +3
    ReadEnvStr $2 USERNAME
    nsExec::Exec '"$SYSDIR\icacls.exe" "$INSTDIR\deploy.ini" /inheritance:r /grant:r "$2:F" "*S-1-5-18:F" "*S-1-5-32-544:F"'
  ; The control library registers itself for the current user.
  ExecWait '"$INSTDIR\koltrich_regsvr.exe" "$INSTDIR\${CONTROL}"' $1
  CreateDirectory "$SMPROGRAMS\베트라Care"
  CreateShortCut "$SMPROGRAMS\베트라Care\베트라Care.lnk" "$INSTDIR\${PROGRAM}"
  CreateShortCut "$SMPROGRAMS\베트라Care\베트라Care 제거.lnk" "$INSTDIR\Uninstall.exe"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "베트라Care"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  ExecWait '"$INSTDIR\koltrich_regsvr.exe" -u "$INSTDIR\${CONTROL}"'
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$SMPROGRAMS\베트라Care\*.lnk"
  RMDir "$SMPROGRAMS\베트라Care"
  RMDir /r "$INSTDIR"
SectionEnd
