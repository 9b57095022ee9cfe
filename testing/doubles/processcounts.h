// Handles and threads of a process, for the tests that check nothing is left behind.
// GetProcessHandleCount answers 0 under Wine, so the handles are counted as the entries of
// the system handle table that belong to the process.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <vector>

inline long ProcessHandleCountOf(DWORD processId) {
    struct Entry {
        ULONG process;
        BYTE type, flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    typedef LONG(WINAPI * QueryFunction)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return -1;
    const ULONG kSystemHandleInformation = 16;
    const LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    std::vector<char> table(1 << 16);
    LONG status;
    while (
        (status = query(kSystemHandleInformation, table.data(), static_cast<ULONG>(table.size()), nullptr)) ==
        kInfoLengthMismatch)
        table.resize(table.size() * 2);
    if (status != 0) return -1;
    ULONG entries = *reinterpret_cast<ULONG*>(table.data());
    const Entry* entry = reinterpret_cast<const Entry*>(table.data() + sizeof(void*));
    long count = 0;
    for (ULONG i = 0; i < entries; ++i)
        if (entry[i].process == processId) ++count;
    return count;
}

inline long ProcessThreadCountOf(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 thread = {};
    thread.dwSize = sizeof thread;
    long count = 0;
    for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread))
        if (thread.th32OwnerProcessID == processId) ++count;
    CloseHandle(snapshot);
    return count;
}
