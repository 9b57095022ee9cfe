#include "transcript.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::wstring EnvW(const wchar_t* name) {
    wchar_t value[1024];
    DWORD n = GetEnvironmentVariableW(name, value, 1024);
    if (n == 0 || n >= 1024) return std::wstring();
    return std::wstring(value, n);
}

// UTF-16 to UTF-8 with backslash, tab, CR and LF escaped so that one call stays one line.
std::string EscapedUtf8(const wchar_t* text) {
    std::string out;
    if (!text || !*text) return out;
    int units = static_cast<int>(wcslen(text));
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, text, units, &utf8[0], bytes, nullptr, nullptr);
    out.reserve(utf8.size() + 16);
    for (char c : utf8) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// Milliseconds since 1970-01-01 UTC with the clock's 100 ns resolution as four decimals.
std::string Timestamp() {
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    unsigned long long ticks = (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    ticks -= 116444736000000000ULL;
    char buffer[48];
    snprintf(buffer, sizeof buffer, "%llu.%04llu", ticks / 10000, ticks % 10000);
    return buffer;
}

// Serialises writers across the threads and processes of one Wine prefix.
class TranscriptLock {
  public:
    TranscriptLock() : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\TavloTranscriptLock")) {
        if (mutex_) WaitForSingleObject(mutex_, 2000);
    }
    ~TranscriptLock() {
        if (mutex_) {
            ReleaseMutex(mutex_);
            CloseHandle(mutex_);
        }
    }
    TranscriptLock(const TranscriptLock&) = delete;
    TranscriptLock& operator=(const TranscriptLock&) = delete;

  private:
    HANDLE mutex_;
};

}  // namespace

void TranscriptWrite(const char* engine, const char* call, const wchar_t* text, const char* detail) {
    LogWrite(L"TAVLO_TRANSCRIPT", engine, call, text, detail);
}

void LogWrite(const wchar_t* variable, const char* engine, const char* call, const wchar_t* text,
              const char* detail) {
    std::wstring path = EnvW(variable);
    if (path.empty()) return;
    std::string line = Timestamp();
    line += '\t';
    line += engine;
    line += '\t';
    line += call;
    line += '\t';
    line += EscapedUtf8(text);
    line += '\t';
    if (detail) line += detail;
    line += '\n';

    TranscriptLock lock;
    HANDLE file = CreateFileW(path.c_str(),
                              FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr,
                              OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

bool TranscriptPolls() { return EnvW(L"TAVLO_TRANSCRIPT_POLLS") == L"1"; }

ControlValues ReadControl() {
    ControlValues values;
    std::wstring path = EnvW(L"TAVLO_SR_CONTROL");
    if (path.empty()) return values;
    HANDLE file = CreateFileW(path.c_str(),
                              GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr,
                              OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return values;
    char buffer[4096];
    DWORD read = 0;
    if (!ReadFile(file, buffer, sizeof buffer - 1, &read, nullptr)) read = 0;
    CloseHandle(file);
    buffer[read] = '\0';

    for (char* line = buffer; *line;) {
        char* end = line + strcspn(line, "\r\n");
        char* following = *end ? end + 1 : end;
        *end = '\0';
        while (*line == ' ' || *line == '\t') ++line;
        char* equals = strchr(line, '=');
        if (*line != '#' && equals) {
            char* keyEnd = equals;
            while (keyEnd > line && (keyEnd[-1] == ' ' || keyEnd[-1] == '\t')) --keyEnd;
            std::string key(line, keyEnd);
            int value = static_cast<int>(strtol(equals + 1, nullptr, 10));
            if (key == "pctalker_present")
                values.pctalkerPresent = value;
            else if (key == "pctalker_busy_ms")
                values.pctalkerBusyMs = value;
            else if (key == "nvda_speaking_ms")
                values.nvdaSpeakingMs = value;
            else if (key == "nvda_error")
                values.nvdaError = value;
            else if (key == "converter_exit")
                values.converterExit = value;
            else if (key == "converter_writes")
                values.converterWrites = value;
            else if (key == "converter_delay_ms")
                values.converterDelayMs = value;
        }
        line = following;
    }
    return values;
}

int64_t MonotonicMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return now.QuadPart * 1000 / frequency.QuadPart;
}
