// Stand-in for the converter TBAudio.exe: records how it was started and copies the input
// file to the output path, or fails as the control file says.
//
// Log (TAVLO_CONVERTER_LOG, UTF-8, one line per run):
//   <command line>\t<show>\n
// where show is the start-up show state when the starter set one (0 is hidden), else -1.
// Control file (TAVLO_SR_CONTROL): converter_exit (exit code, default 0), converter_writes
// (0: no output file), converter_delay_ms (time taken before the output appears).
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "transcript.h"

namespace {

void AppendLog(const wchar_t* commandLine, int show) {
    wchar_t path[1024];
    DWORD n = GetEnvironmentVariableW(L"TAVLO_CONVERTER_LOG", path, 1024);
    if (n == 0 || n >= 1024) return;
    int bytes = WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, nullptr, 0, nullptr, nullptr);
    std::string line(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, &line[0], bytes, nullptr, nullptr);
    line += "\t" + std::to_string(show) + "\n";
    HANDLE file = CreateFileW(path,
                              FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr,
                              OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    const wchar_t* commandLine = GetCommandLineW();
    AppendLog(commandLine, show);

    ControlValues control = ReadControl();
    if (control.converterDelayMs > 0) Sleep(static_cast<DWORD>(control.converterDelayMs));
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(commandLine, &count);
    int result = control.converterExit;
    if (!args || count != 3)
        result = 1;
    else if (control.converterWrites && !CopyFileW(args[1], args[2], FALSE))
        result = 2;
    LocalFree(args);
    return result;
}
