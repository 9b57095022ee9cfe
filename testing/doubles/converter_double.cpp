// Stand-in for the converter TBAudio.exe: records how it was started and copies the input
// file to the output path, or fails as the control file says.
//
// Log (TAVLO_CONVERTER_LOG), one line per run in the transcript's form:
//   <ms>\tconverter\trun\t<command line>\t<show>
// where show is the start-up show state when the starter set one (0 is hidden), else -1.
// Control file (TAVLO_SR_CONTROL): converter_exit (exit code, default 0), converter_writes
// (0: no output file), converter_delay_ms (time taken before the output appears).
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "transcript.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    const wchar_t* commandLine = GetCommandLineW();
    LogWrite(L"TAVLO_CONVERTER_LOG", "converter", "run", commandLine, std::to_string(show).c_str());

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
