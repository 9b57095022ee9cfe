// The ground floor of Win32 helpers: owners that release what they hold on every path.
// Each is acquired and released within one operation (or one object's life) and cannot be
// copied. Use these instead of writing another close-on-exit class.
#pragma once
#include <windows.h>
#include <objbase.h>

#include <cstddef>
#include <utility>

namespace win {

// A handle closed by Close when the owner goes: ScopedHandle<HINTERNET, WinHttpCloseHandle>,
// the registry key and the kernel handle below.
template <class Handle, auto Close>
class ScopedHandle {
  public:
    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ~ScopedHandle() { Reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    Handle get() const { return handle_; }
    Handle* out() { return &handle_; }  // for functions that return the handle through a pointer
    explicit operator bool() const { return handle_ != nullptr; }
    Handle Release() {  // gives the handle up without closing it
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void Reset(Handle handle = nullptr) {
        if (handle_) Close(handle_);
        handle_ = handle;
    }

  private:
    Handle handle_ = nullptr;
};

using RegistryKey = ScopedHandle<HKEY, RegCloseKey>;
using KernelHandle = ScopedHandle<HANDLE, CloseHandle>;

// A COM interface pointer released when the owner goes.
template <class T>
class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() {
        if (pointer_) pointer_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    T** out() { return &pointer_; }
    void** out_void() { return reinterpret_cast<void**>(&pointer_); }

  private:
    T* pointer_ = nullptr;
};

// COM for the calling thread while the owner lives (single-threaded apartment). A thread that
// already has COM keeps its own apartment; only what was done here is undone.
class ComApartment {
  public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    HRESULT result_;
};

// A buffer of capacity bytes from the process heap, empty ("") when allocated; get() is null
// when the allocation failed.
class HeapBuffer {
  public:
    explicit HeapBuffer(size_t capacity)
        : capacity_(capacity),
          data_(static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, capacity ? capacity : 1))) {
        if (data_) data_[0] = '\0';
    }
    ~HeapBuffer() {
        if (data_) HeapFree(GetProcessHeap(), 0, data_);
    }
    HeapBuffer(const HeapBuffer&) = delete;
    HeapBuffer& operator=(const HeapBuffer&) = delete;
    char* get() const { return data_; }
    size_t capacity() const { return capacity_; }
    void Swap(HeapBuffer& other) {
        std::swap(data_, other.data_);
        std::swap(capacity_, other.capacity_);
    }

  private:
    size_t capacity_;
    char* data_;
};

// Holds a slim reader/writer lock while the guard lives: ExclusiveLock or SharedLock.
template <void(WINAPI* Acquire)(PSRWLOCK), void(WINAPI* Release)(PSRWLOCK)>
class SrwGuard {
  public:
    explicit SrwGuard(SRWLOCK& lock) : lock_(lock) { Acquire(&lock_); }
    ~SrwGuard() { Release(&lock_); }
    SrwGuard(const SrwGuard&) = delete;
    SrwGuard& operator=(const SrwGuard&) = delete;

  private:
    SRWLOCK& lock_;
};

using ExclusiveLock = SrwGuard<AcquireSRWLockExclusive, ReleaseSRWLockExclusive>;
using SharedLock = SrwGuard<AcquireSRWLockShared, ReleaseSRWLockShared>;

}  // namespace win
