// The one way to start a worker thread: the thread owns its arguments (deleted when its work
// returns) and nobody leaks its handle.
//
//   struct Job { ... };
//   void Work(Job& job) { ... }
//   win::StartWorker(Work, std::make_unique<Job>(...));
//
// The thread's handle is closed at once, unless takeHandle is given: it receives the handle
// before the thread runs (the thread is created suspended), and whoever it hands the handle to
// closes it, for example the worker itself at its end.
#pragma once
#include <windows.h>

#include <memory>
#include <new>
#include <utility>

namespace win {

namespace detail {

template <class T>
struct NotDeduced {
    using Type = T;
};

template <class Args>
struct WorkerStart {
    void (*work)(Args&);
    std::unique_ptr<Args> args;
};

template <class Args>
DWORD WINAPI WorkerMain(void* parameter) {
    std::unique_ptr<WorkerStart<Args>> start(static_cast<WorkerStart<Args>*>(parameter));
    // Memory running out ends this work, not the program; the work announces what it can.
    try {
        start->work(*start->args);
    } catch (const std::bad_alloc&) {
    }
    return 0;
}

}  // namespace detail

// Returns false, with the arguments released, when no thread could be made.
template <class Args>
bool StartWorker(void (*work)(Args&), std::unique_ptr<Args> args,
                 typename detail::NotDeduced<void (*)(Args&, HANDLE)>::Type takeHandle = nullptr) {
    if (!work || !args) return false;
    auto* start = new (std::nothrow) detail::WorkerStart<Args>{work, std::move(args)};
    if (!start) return false;
    Args& arguments = *start->args;
    HANDLE thread = CreateThread(nullptr, 0, detail::WorkerMain<Args>, start, CREATE_SUSPENDED, nullptr);
    if (!thread) {
        delete start;
        return false;
    }
    if (takeHandle) {
        takeHandle(arguments, thread);
        ResumeThread(thread);
    } else {
        ResumeThread(thread);
        CloseHandle(thread);
    }
    return true;
}

}  // namespace win
