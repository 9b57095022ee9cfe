#include "speech/screenreaders.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace {

#if defined(__i386__)
const char PcTalkerLibrary[] = "PCTKUSR.dll";
const char NvdaLibrary[] = "nvdaControllerClient32.dll";
#else
const char PcTalkerLibrary[] = "PCTKUSR64.dll";
const char NvdaLibrary[] = "nvdaControllerClient64.dll";
#endif
// The name NVDA's own releases use since 2024.1.
const char NvdaLibraryLater[] = "nvdaControllerClient.dll";

struct PcTalkerEntries {
    FARPROC present = nullptr;  // ordinal 8
    FARPROC busy = nullptr;     // ordinal 12
    FARPROC speak = nullptr;    // ordinal 69
};

struct NvdaEntries {
    FARPROC speakText = nullptr;
    FARPROC cancelSpeech = nullptr;
    FARPROC brailleMessage = nullptr;
    FARPROC isSpeaking = nullptr;
};

// Published once loaded and never freed: speaking threads may hold them at any time.
std::atomic<const PcTalkerEntries*> PcTalker{nullptr};
std::atomic<const NvdaEntries*> Nvda{nullptr};
std::mutex LoadMutex;

std::string InFolder(const std::string& folder, const char* name) {
    std::string path = folder;
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
    return path + name;
}

HMODULE LoadFrom(const char* folder, const char* name) { return LoadLibraryA(InFolder(folder, name).c_str()); }

// A library by its full path; what it needs itself is looked for beside it.
HMODULE LoadByPath(const std::string& folder, const char* name) {
    return LoadLibraryExA(InFolder(folder, name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// The folder part of path up to its last backslash (Shift-JIS aware); "" when it has none.
std::string FolderOf(const char* path) {
    const char* last = nullptr;
    for (const char* p = path; *p; p = CharNextA(p))
        if (*p == '\\') last = p;
    return last ? std::string(path, last) : std::string();
}

std::string ExecutableFolder() {
    char path[MAX_PATH * 2];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return std::string();
    return FolderOf(path);
}

std::string WithoutTrailingBackslash(std::string folder) {
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return folder;
}

bool SameFolder(const std::string& a, const std::string& b) {
    return lstrcmpiA(WithoutTrailingBackslash(a).c_str(), WithoutTrailingBackslash(b).c_str()) == 0;
}

// A folder of PATH that may be searched: a whole path from a drive ("C:\\..."). Empty,
// relative and drive-relative entries name wherever the working directory happens to be.
bool IsDriveAbsolute(const std::string& folder) {
    return folder.size() >= 3 && ((folder[0] | 0x20) >= 'a' && (folder[0] | 0x20) <= 'z') && folder[1] == ':' &&
           folder[2] == '\\';
}

// The folders a screen reader's library is looked for in, in this order: the program's own,
// the system folder, the Windows folder, then each whole-path folder of PATH. Beyond the
// program's own folder, the working directory is never one of them (it is the data folder,
// which every local user may write to, or wherever the program was started from), not even
// when PATH names it. Each library is loaded by its full path, as the loader's own "no working
// directory" settings are not honoured everywhere.
std::vector<std::string> LibraryFolders() {
    std::vector<std::string> folders;
    char buffer[MAX_PATH * 2];
    UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer) folders.emplace_back(buffer);
    length = GetWindowsDirectoryA(buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer) folders.emplace_back(buffer);

    const DWORD needed = GetEnvironmentVariableA("PATH", nullptr, 0);
    if (needed > 0) {
        std::vector<char> path(needed + 1);
        const DWORD got = GetEnvironmentVariableA("PATH", path.data(), needed + 1);
        if (got > 0 && got <= needed) {
            const char* p = path.data();
            while (*p) {
                const char* end = std::strchr(p, ';');
                if (!end) end = p + std::strlen(p);
                const std::string folder(p, end);
                if (IsDriveAbsolute(folder)) folders.push_back(folder);
                p = *end ? end + 1 : end;
            }
        }
    }

    const DWORD current = GetCurrentDirectoryA(sizeof buffer, buffer);
    const std::string working = current > 0 && current < sizeof buffer ? buffer : "";
    std::vector<std::string> searched;
    const std::string own = ExecutableFolder();
    if (!own.empty()) searched.push_back(own);
    for (const std::string& folder : folders) {
        if (!working.empty() && SameFolder(folder, working)) continue;
        bool seen = false;
        for (const std::string& earlier : searched) seen = seen || SameFolder(folder, earlier);
        if (!seen) searched.push_back(folder);
    }
    return searched;
}

HMODULE LoadLibraryNamed(const char* folder, const char* name) {
    if (folder) return LoadFrom(folder, name);
    for (const std::string& candidate : LibraryFolders())
        if (HMODULE module = LoadByPath(candidate, name)) return module;
    return nullptr;
}

const PcTalkerEntries* LoadPcTalker(const char* folder) {
    auto* entries = new PcTalkerEntries;
    if (HMODULE module = LoadLibraryNamed(folder, PcTalkerLibrary)) {
        entries->present = GetProcAddress(module, MAKEINTRESOURCEA(8));
        entries->busy = GetProcAddress(module, MAKEINTRESOURCEA(12));
        entries->speak = GetProcAddress(module, MAKEINTRESOURCEA(69));
    }
    return entries;
}

const NvdaEntries* LoadNvda(const char* folder) {
    auto* entries = new NvdaEntries;
    HMODULE module = LoadLibraryNamed(folder, NvdaLibrary);
    if (!module) module = LoadLibraryNamed(folder, NvdaLibraryLater);
    if (module) {
        entries->speakText = GetProcAddress(module, "nvdaController_speakText");
        entries->cancelSpeech = GetProcAddress(module, "nvdaController_cancelSpeech");
        entries->brailleMessage = GetProcAddress(module, "nvdaController_brailleMessage");
        entries->isSpeaking = GetProcAddress(module, "nvdaController_isSpeaking");
    }
    return entries;
}

const PcTalkerEntries& PcTalkerLoaded() {
    if (const PcTalkerEntries* entries = PcTalker.load()) return *entries;
    std::lock_guard<std::mutex> lock(LoadMutex);
    if (!PcTalker.load()) PcTalker.store(LoadPcTalker(nullptr));
    return *PcTalker.load();
}

const NvdaEntries& NvdaLoaded() {
    if (const NvdaEntries* entries = Nvda.load()) return *entries;
    std::lock_guard<std::mutex> lock(LoadMutex);
    if (!Nvda.load()) Nvda.store(LoadNvda(nullptr));
    return *Nvda.load();
}

// Calls fn with count pointer-sized arguments and returns what it left in the result register.
// On 32-bit the stack pointer is put back after the call, so a callee that pops its arguments
// (stdcall) and one that pops fewer or none (cdecl, or a different idea of the argument list)
// both leave the caller's stack intact.
#if defined(__i386__)
__attribute__((noinline)) uintptr_t CallKeepingStack(FARPROC fn, const uintptr_t* args, uintptr_t count) {
    uintptr_t eax = reinterpret_cast<uintptr_t>(fn);
    uintptr_t ecx = count;
    uintptr_t edx = reinterpret_cast<uintptr_t>(args);
    __asm__ volatile(
        "movl %%esp, %%esi\n\t"
        "1:\n\t"
        "testl %%ecx, %%ecx\n\t"
        "jz 2f\n\t"
        "pushl -4(%%edx,%%ecx,4)\n\t"
        "decl %%ecx\n\t"
        "jmp 1b\n\t"
        "2:\n\t"
        "call *%%eax\n\t"
        "movl %%esi, %%esp\n\t"
        : "+a"(eax), "+c"(ecx), "+d"(edx)
        :
        : "esi", "memory", "cc");
    return eax;
}
#else
// One calling convention: a callee ignores argument registers it does not use.
uintptr_t CallKeepingStack(FARPROC fn, const uintptr_t* args, uintptr_t count) {
    using Fn4 = uintptr_t(WINAPI*)(uintptr_t, uintptr_t, uintptr_t, uintptr_t);
    uintptr_t a[4] = {};
    for (uintptr_t i = 0; i < count && i < 4; ++i) a[i] = args[i];
    return reinterpret_cast<Fn4>(reinterpret_cast<void*>(fn))(a[0], a[1], a[2], a[3]);
}
#endif

using NoArgument = long(WINAPI*)();
using TextArgument = long(WINAPI*)(const wchar_t*);

long CallNoArgument(FARPROC fn) {
    return fn ? reinterpret_cast<NoArgument>(reinterpret_cast<void*>(fn))() : 0;
}

long CallWithText(FARPROC fn, const wchar_t* text) {
    return fn ? reinterpret_cast<TextArgument>(reinterpret_cast<void*>(fn))(text) : 0;
}

}  // namespace

void LoadScreenReaders(const char* folder) {
    std::lock_guard<std::mutex> lock(LoadMutex);
    PcTalker.store(LoadPcTalker(folder));
    Nvda.store(LoadNvda(folder));
}

int PcTalkerPresent() { return CallNoArgument(PcTalkerLoaded().present) != 0; }

int PcTalkerBusy() { return CallNoArgument(PcTalkerLoaded().busy) != 0; }

void PcTalkerSpeak(const char* text) {
    FARPROC speak = PcTalkerLoaded().speak;
    if (!speak) return;
    const uintptr_t args[4] = {reinterpret_cast<uintptr_t>(text), 5, 1, 0};
    CallKeepingStack(speak, args, 4);
}

void NvdaSpeak(const wchar_t* text) { CallWithText(NvdaLoaded().speakText, text); }

void NvdaCancel() { CallNoArgument(NvdaLoaded().cancelSpeech); }

void NvdaBraille(const wchar_t* text) { CallWithText(NvdaLoaded().brailleMessage, text); }

// The classic client's isSpeaking takes nothing and returns non-zero while speaking; the later
// one takes a boolean* and returns an RPC status (0 on success). Both get a zeroed flag.
int NvdaIsSpeaking() {
    FARPROC isSpeaking = NvdaLoaded().isSpeaking;
    if (!isSpeaking) return 0;
    volatile unsigned char flag = 0;
    const uintptr_t args[1] = {reinterpret_cast<uintptr_t>(&flag)};
    uintptr_t result = CallKeepingStack(isSpeaking, args, 1);
    return flag != 0 || static_cast<uint32_t>(result) == 1;
}
