#include "speech/screenreaders.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

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

HMODULE LoadFrom(const char* folder, const char* name) {
    if (!folder) return LoadLibraryA(name);
    std::string path = folder;
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
    path += name;
    return LoadLibraryA(path.c_str());
}

const PcTalkerEntries* LoadPcTalker(const char* folder) {
    auto* entries = new PcTalkerEntries;
    if (HMODULE module = LoadFrom(folder, PcTalkerLibrary)) {
        entries->present = GetProcAddress(module, MAKEINTRESOURCEA(8));
        entries->busy = GetProcAddress(module, MAKEINTRESOURCEA(12));
        entries->speak = GetProcAddress(module, MAKEINTRESOURCEA(69));
    }
    return entries;
}

const NvdaEntries* LoadNvda(const char* folder) {
    auto* entries = new NvdaEntries;
    HMODULE module = LoadFrom(folder, NvdaLibrary);
    if (!module) module = LoadFrom(folder, NvdaLibraryLater);
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
