; The setup program of one build (32- or 64-bit), made by the build (cmake/VelmoInstaller.cmake):
;   makensis -INPUTCHARSET UTF8 -DCONFIG=<Config.nsh> [-DVERSION=x.y.z] [-DOUTFILE=<exe>]
;            [-DCOMPRESSOR=<compressor>] VelmoConvert.nsi
; Config.nsh (generated) names the build's bitness, the release facts and the program folder's
; files; VERSION and OUTFILE may be given to make another version's setup (the upgrade test).
;
; A per-machine install. The 32-bit and the 64-bit program are two products: each has its own
; uninstall key, Start-menu folder and shortcut names, in its own registry view and Program
; Files, so both can be installed side by side. The uninstaller removes what the installer put
; down file by file, never a folder recursively.

!include "${CONFIG}"
!ifndef VERSION
  !define VERSION "${RELEASE_VERSION}"
!endif

!if ${BITS} == 64
  Target amd64-unicode
  !define PRODUCT_KEY "VelmoConvert-x64"
  !define PRODUCT_TITLE "${PRODUCT_NAME} (64 位)"
  !define DEFAULT_DIR "$PROGRAMFILES64\${PRODUCT_NAME}"
  !ifndef OUTFILE
    !define OUTFILE "VelmoConvert-${VERSION}-x64-setup.exe"
  !endif
!else
  Unicode true
  !define PRODUCT_KEY "VelmoConvert"
  !define PRODUCT_TITLE "${PRODUCT_NAME}"
  !define DEFAULT_DIR "$PROGRAMFILES\${PRODUCT_NAME}"
  !ifndef OUTFILE
    !define OUTFILE "VelmoConvert-${VERSION}-setup.exe"
  !endif
!endif
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT_KEY}"
!define UNINSTALLER "uninstall.exe"
!define EXE "VelmoConvert.exe"
; Exit codes of a setup or uninstaller that did nothing because the program runs.
!define EXIT_PROGRAM_RUNS 3

Name "${PRODUCT_TITLE}"
Caption "${PRODUCT_TITLE} ${VERSION} 安装"
UninstallCaption "${PRODUCT_TITLE} ${VERSION} 卸载"
BrandingText "${PRODUCT_NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "${DEFAULT_DIR}"
; An earlier install's folder is where an upgrade goes (also read by the 64-bit setup from
; the 64-bit view: its process is native).
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
; The smallest download; a quicker build may ask for another (-DCOMPRESSOR=zlib).
!ifndef COMPRESSOR
  !define COMPRESSOR "/SOLID lzma"
!endif
SetCompressor ${COMPRESSOR}
ManifestDPIAware true
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT_TITLE} 安装程序"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${COPYRIGHT}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"
!include "Sections.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; Drawn by installer/wizard.py.
!define MUI_WELCOMEFINISHPAGE_BITMAP "${__FILEDIR__}/wizard.bmp"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${__FILEDIR__}/wizard.bmp"
!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
; The details stay on screen until the user goes on.
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_UNFINISHPAGE_NOAUTOCLOSE

!define MUI_WELCOMEPAGE_TEXT "此程序将引导你完成 ${PRODUCT_TITLE} ${VERSION} 的安装。$\r$\n$\r$\n\
  已安装的其他版本会先被卸载，你转换的文件不受影响。如果 ${PRODUCT_NAME} 正在运行，请先将其关闭。\
  $\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
; Started as the signed-in user, not with the setup's token (RunProgramAsUser).
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "运行 ${PRODUCT_NAME}"
!define MUI_FINISHPAGE_RUN_FUNCTION RunProgramAsUser
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "SimpChinese"

; ---------------------------------------------------------------------------------------------
; Is the program that lives in $INSTDIR running? The program keeps its hidden application
; window in a named shared block (its single-instance guard); the window's process is ours when
; its image is $INSTDIR's program. A copy started from elsewhere (the zip, the other build)
; holds no file of this folder and does not stop the install. Whatever cannot be told counts as
; running (better ask once too often than overwrite a program in use): a block this setup may
; not open (a copy of another account or integrity level made it), a block whose window is
; not there (yet, or any more, while a copy that could not claim it keeps it), a process that
; cannot be asked where it runs from. Leaves 1 or 0 in $0.
!macro DEFINE_PROGRAM_RUNS un
Function ${un}ProgramRuns
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  StrCpy $0 0
  System::Call 'kernel32::OpenFileMappingW(i 4, i 0, w "${INSTANCE_MAPPING}") p.r1 ?e'
  Pop $2
  ${If} $1 P= 0
    ; ERROR_ACCESS_DENIED: there, and not ours to read.
    ${IfThen} $2 = 5 ${|} StrCpy $0 1 ${|}
  ${Else}
    StrCpy $0 1
    System::Call 'kernel32::MapViewOfFile(p r1, i 4, i 0, i 0, p 4) p.r2'
    ${If} $2 P<> 0
      ; A 32-bit value, sign-extended into a handle, as the program stores it.
      System::Call '*$2(i .r3)'
      System::Call 'kernel32::UnmapViewOfFile(p r2)'
      System::Call 'user32::IsWindow(p r3) i.r4'
      ${If} $3 <> 0
      ${AndIf} $4 <> 0
        System::Call 'user32::GetWindowThreadProcessId(p r3, *i 0 r4)'
        ; PROCESS_QUERY_LIMITED_INFORMATION
        System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r4) p.r4'
        ${If} $4 P<> 0
          System::Call 'kernel32::QueryFullProcessImageNameW(p r4, i 0, w .r5, *i ${NSIS_MAX_STRLEN}) i.r2'
          System::Call 'kernel32::CloseHandle(p r4)'
          ${If} $2 <> 0
            System::Call 'kernel32::GetLongPathNameW(w r5, w .r5, i ${NSIS_MAX_STRLEN})'
            System::Call 'kernel32::GetLongPathNameW(w "$INSTDIR\${EXE}", w .r2, i ${NSIS_MAX_STRLEN}) i.r4'
            ; Elsewhere: not this folder's program.
            ${If} $4 = 0
            ${OrIf} $5 != $2
              StrCpy $0 0
            ${EndIf}
          ${EndIf}
        ${EndIf}
      ${EndIf}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

; Asks to close the program while it runs; a silent run ends at once with EXIT_PROGRAM_RUNS,
; having changed nothing. Returns when the program does not run (any more).
Function ${un}WaitForProgramClosed
  Push $0
  ${Do}
    Call ${un}ProgramRuns
    ${IfThen} $0 == 0 ${|} ${Break} ${|}
    ${If} ${Silent}
      SetErrorLevel ${EXIT_PROGRAM_RUNS}
      Quit
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${PRODUCT_NAME} 正在运行。$\r$\n$\r$\n请先关闭 ${PRODUCT_NAME}，再点击“重试”；点击“取消”退出。" \
      IDRETRY +3
    SetErrorLevel ${EXIT_PROGRAM_RUNS}
    Quit
  ${Loop}
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_PROGRAM_RUNS ""
!insertmacro DEFINE_PROGRAM_RUNS "un."

!macro USE_PRODUCT_VIEW
  !if ${BITS} == 64
    SetRegView 64
  !endif
  SetShellVarContext all
!macroend

; ---------------------------------------------------------------------------------------------

; An earlier install of this product (another version, maybe in another folder) is removed by
; its own uninstaller first: its files go file by file and one entry stays.
Function RemoveEarlierInstall
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
  ${OrIfNot} ${FileExists} "$0\${UNINSTALLER}"
    Return
  ${EndIf}
  ; That folder's program must not run either, when it is another folder.
  Push $INSTDIR
  StrCpy $INSTDIR $0
  Call WaitForProgramClosed
  Pop $INSTDIR
  DetailPrint "卸载之前安装的版本：$0"
  ; _?= keeps the uninstaller in place, so that waiting for it waits for its work.
  ClearErrors
  ExecWait '"$0\${UNINSTALLER}" /S _?=$0' $1
  ${If} ${Errors}
  ${OrIf} $1 <> 0
    MessageBox MB_ICONSTOP "无法卸载之前安装的版本（$0）。" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  Delete "$0\${UNINSTALLER}"
  RMDir "$0"
FunctionEnd

Section "${PRODUCT_NAME}（必需）" SecProgram
  SectionIn RO
  Call RemoveEarlierInstall
  !insertmacro VELMO_INSTALL_FILES
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateDirectory "$SMPROGRAMS\${PRODUCT_TITLE}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT_TITLE}\${PRODUCT_TITLE}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0
  CreateShortcut "$SMPROGRAMS\${PRODUCT_TITLE}\卸载 ${PRODUCT_TITLE}.lnk" "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_TITLE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${SITE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\${EXE}",0'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "桌面快捷方式" SecDesktop
  CreateShortcut "$DESKTOP\${PRODUCT_TITLE}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0
SectionEnd

; Remembered for the next upgrade.
Section "-RememberChoices"
  ${If} ${SectionIsSelected} ${SecDesktop}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "DesktopShortcut" 1
  ${Else}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "DesktopShortcut" 0
  ${EndIf}
SectionEnd

Function .onInit
  !insertmacro USE_PRODUCT_VIEW
  !if ${BITS} == 64
    ${IfNot} ${RunningX64}
      MessageBox MB_ICONSTOP "${PRODUCT_TITLE} 需要 64 位 Windows。" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  !endif
  ; The desktop shortcut: left out with /NODESKTOP, or when the installed version was
  ; installed without it.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NODESKTOP" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecDesktop}
  ${Else}
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "DisplayVersion"
    ReadRegDWORD $2 HKLM "${UNINSTALL_KEY}" "DesktopShortcut"
    ${If} $1 != ""
    ${AndIf} $2 == 0
      !insertmacro UnselectSection ${SecDesktop}
    ${EndIf}
  ${EndIf}
  ; Silent: the folder is known now (/D= or the earlier install's); check before anything.
  ${If} ${Silent}
    Call WaitForProgramClosed
  ${EndIf}
FunctionEnd

Function DirectoryLeave
  Call WaitForProgramClosed
FunctionEnd

; The finish page's run. The setup runs as administrator, and a program it started itself would
; run with that token too: at a higher integrity level than the desktop (Windows drops the files
; dragged onto it from Explorer, and the user's later starts cannot reach it), and as another
; account when an administrator's password was typed. The desktop's shell runs as the signed-in
; user, so the setup asks it to start the program: the desktop window from the shell's list of
; windows (IShellWindows::FindWindowSW), its browser's active view, that view's Shell object,
; and its ShellExecute, which runs inside the shell's process. Plain COM through the System
; plug-in (vtable slots as in the SDK's headers); ShellExecute goes through IDispatch::Invoke,
; whose arguments are the same structures in both builds. Without a desktop shell (another
; shell, Explorer restarting) the program is started directly, with the setup's token, rather
; than not at all.
!define CLSID_ShellWindows "{9BA05972-F6A8-11CF-A442-00A0C90A8F39}"
!define IID_IShellWindows "{85CB6900-4D95-11CF-960C-0080C7F4EE85}"
!define IID_IServiceProvider "{6D5140C1-7436-11CE-8034-00AA006009FA}"
!define SID_STopLevelBrowser "{4C96BE40-915C-11CF-99D3-00AA004AE837}"
!define IID_IShellBrowser "{000214E2-0000-0000-C000-000000000046}"
!define IID_IDispatch "{00020400-0000-0000-C000-000000000046}"
!define IID_IShellFolderViewDual "{E7A1AF80-4D96-11CF-960C-0080C7F4EE85}"
!define IID_NULL "{00000000-0000-0000-0000-000000000000}"

; One step from the interface in $0 to the next: `call` leaves the next one in $5 and its
; result in $1; $0 is released and becomes the next, or 0 (and $1 non-zero) when there is none.
!macro SHELL_STEP call
  ${If} $1 = 0
    StrCpy $5 0
    System::Call '$0->${call} i.r1'
    System::Call '$0->2()'
    StrCpy $0 $5
    ${If} $1 <> 0
    ${OrIf} $5 P= 0
      StrCpy $0 0
      StrCpy $1 -1
    ${EndIf}
  ${EndIf}
!macroend

Function RunProgramAsUser
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  Push $7
  Push $8
  Push $9
  ; S_OK or S_FALSE: initialised here (or already), to be balanced.
  System::Call 'ole32::CoInitializeEx(p 0, i 2) i.r8'
  StrCpy $0 0
  System::Call 'ole32::CoCreateInstance(g "${CLSID_ShellWindows}", p 0, i 0x17, \
    g "${IID_IShellWindows}", *p .r0) i.r1'
  ${If} $1 <> 0
    StrCpy $0 0
  ${Else}
    ; The desktop (SWC_DESKTOP 8) as an automation object (SWFO_NEEDDISPATCH 1); S_FALSE and
    ; none when there is no desktop shell. The VARIANTs: VT_I4 CSIDL_DESKTOP, and VT_EMPTY.
    System::Call '*(i 3, i 0, p 0, p 0) p.r2'
    System::Call '*(i 0, i 0, p 0, p 0) p.r3'
    !insertmacro SHELL_STEP '15(p r2, p r3, i 8, *i .r4, i 1, *p .r5)' ; FindWindowSW
    System::Free $2
    System::Free $3
  ${EndIf}
  !insertmacro SHELL_STEP '0(g "${IID_IServiceProvider}", *p .r5)'
  !insertmacro SHELL_STEP '3(g "${SID_STopLevelBrowser}", g "${IID_IShellBrowser}", *p .r5)' ; QueryService
  !insertmacro SHELL_STEP '15(*p .r5)' ; QueryActiveShellView
  !insertmacro SHELL_STEP '15(i 0, g "${IID_IDispatch}", *p .r5)' ; GetItemObject(SVGIO_BACKGROUND)
  !insertmacro SHELL_STEP '0(g "${IID_IShellFolderViewDual}", *p .r5)'
  !insertmacro SHELL_STEP '7(*p .r5)' ; get_Application: the Shell object, an IDispatch
  ${If} $1 = 0
    System::Call 'oleaut32::SysAllocString(w "ShellExecute") p.r6'
    System::Call '*(p r6) p.r7'
    System::Call '$0->5(g "${IID_NULL}", p r7, i 1, i 0, *i .r4) i.r1' ; GetIDsOfNames
    System::Free $7
    System::Call 'oleaut32::SysFreeString(p r6)'
  ${EndIf}
  ${If} $1 = 0
    ; ShellExecute(file, parameters, folder, verb, show) by IDispatch::Invoke, whose arguments
    ; are the same structures in both builds: the arguments last first, VT_I4 SW_SHOWNORMAL
    ; and four VT_BSTRs, each VARIANT (i, i, p, p); DISPPARAMS with 5 unnamed arguments.
    System::Call 'oleaut32::SysAllocString(w "$INSTDIR\${EXE}") p.r2'
    System::Call 'oleaut32::SysAllocString(w "") p.r3'
    System::Call 'oleaut32::SysAllocString(w "$INSTDIR") p.r6'
    System::Call 'oleaut32::SysAllocString(w "open") p.r7'
    System::Call '*(i 3, i 0, p 1, p 0, i 8, i 0, p r7, p 0, i 8, i 0, p r6, p 0, \
      i 8, i 0, p r3, p 0, i 8, i 0, p r2, p 0) p.r5'
    System::Call '*(p r5, p 0, i 5, i 0) p.r9'
    System::Call '$0->6(i r4, g "${IID_NULL}", i 0, i 1, p r9, p 0, p 0, p 0) i.r1' ; DISPATCH_METHOD
    System::Free $9
    System::Free $5
    System::Call 'oleaut32::SysFreeString(p r2)'
    System::Call 'oleaut32::SysFreeString(p r3)'
    System::Call 'oleaut32::SysFreeString(p r6)'
    System::Call 'oleaut32::SysFreeString(p r7)'
  ${EndIf}
  ${If} $0 P<> 0
    System::Call '$0->2()'
  ${EndIf}
  ${If} $8 = 0
  ${OrIf} $8 = 1
    System::Call 'ole32::CoUninitialize()'
  ${EndIf}
  ${If} $1 <> 0
    Exec '"$INSTDIR\${EXE}"'
  ${EndIf}
  Pop $9
  Pop $8
  Pop $7
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; ---------------------------------------------------------------------------------------------
Function un.onInit
  !insertmacro USE_PRODUCT_VIEW
  Call un.WaitForProgramClosed
FunctionEnd

Section "un.${PRODUCT_NAME}" SecUnProgram
  SectionIn RO
  Delete "$DESKTOP\${PRODUCT_TITLE}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT_TITLE}\${PRODUCT_TITLE}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT_TITLE}\卸载 ${PRODUCT_TITLE}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT_TITLE}"

  !insertmacro VELMO_REMOVE_FILES
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: whatever a user keeps here stays, with its folder.
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; The per-user working folder is the user's (the conversion's batch file lies there): removed
; only when asked for, and only what the program writes there.
Section /o "un.删除个人工作文件夹（qzmvt）" SecUnUserFolder
  SetShellVarContext current
  Delete "$APPDATA\qzmvt\qzmvt_z.bat"
  RMDir "$APPDATA\qzmvt"
  SetShellVarContext all
SectionEnd
