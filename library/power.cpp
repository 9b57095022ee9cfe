#include "library/power.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

char RecorderPath[MAX_PATH];

bool Recording() { return RecorderPath[0] != '\0'; }

void Record(const char* line) {
    HANDLE file = CreateFileA(RecorderPath,
                              FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr,
                              OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(strlen(line)), &written, nullptr);
    WriteFile(file, "\n", 1, &written, nullptr);
    CloseHandle(file);
}

void SetPowerState(BOOL suspend) {
    if (Recording()) {
        Record(suspend ? "SetSystemPowerState suspend=1 force=0" : "SetSystemPowerState suspend=0 force=0");
        return;
    }
    SetSystemPowerState(suspend, FALSE);
}

}  // namespace

int EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return 0;
    TOKEN_PRIVILEGES privileges = {};
    int granted = 0;
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        SetLastError(ERROR_SUCCESS);
        BOOL adjusted = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        granted = adjusted && GetLastError() == ERROR_SUCCESS ? 1 : 0;
    }
    CloseHandle(token);
    if (Recording())
        Record(granted ? "EnableShutdownPrivilege granted=1" : "EnableShutdownPrivilege granted=0");
    return granted;
}

void RequestSuspend() { SetPowerState(TRUE); }

void RequestHibernate() { SetPowerState(FALSE); }

void RequestShutdown() {
    if (Recording()) {
        char line[64];
        snprintf(line, sizeof line, "ExitWindowsEx flags=0x%X reason=0", EWX_SHUTDOWN | EWX_FORCE);
        Record(line);
        return;
    }
    ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE, 0);
}

void LoadPowerRecorderSwitch() {
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("TAVLO_POWER_RECORD", path, sizeof path);
    UsePowerRecorder(length > 0 && length < sizeof path ? path : nullptr);
}

void UsePowerRecorder(const char* path) {
    RecorderPath[0] = '\0';
    if (path) lstrcpynA(RecorderPath, path, sizeof RecorderPath);
}
