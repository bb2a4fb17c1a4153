#include "host/dx/platform/linux/ComRuntime.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

void InitializeCriticalSection(CRITICAL_SECTION* section) {
    section->lock = new std::recursive_mutex();
}

void EnterCriticalSection(CRITICAL_SECTION* section) {
    static_cast<std::recursive_mutex*>(section->lock)->lock();
}

void LeaveCriticalSection(CRITICAL_SECTION* section) {
    static_cast<std::recursive_mutex*>(section->lock)->unlock();
}

void DeleteCriticalSection(CRITICAL_SECTION* section) {
    delete static_cast<std::recursive_mutex*>(section->lock);
    section->lock = nullptr;
}

namespace {

struct Event {
    std::mutex mutex;
    std::condition_variable changed;
    bool manual_reset;
    bool signalled;
};

Event* as_event(HANDLE handle) {
    return static_cast<Event*>(handle);
}

} // namespace

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manual_reset, BOOL initial_state, LPCSTR) {
    return new Event{{}, {}, manual_reset != FALSE, initial_state != FALSE};
}

BOOL SetEvent(HANDLE handle) {
    Event* event = as_event(handle);
    if (event == nullptr) {
        return FALSE;
    }
    {
        std::lock_guard<std::mutex> lock(event->mutex);
        event->signalled = true;
    }
    event->changed.notify_all();
    return TRUE;
}

BOOL ResetEvent(HANDLE handle) {
    Event* event = as_event(handle);
    if (event == nullptr) {
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(event->mutex);
    event->signalled = false;
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD timeout_ms) {
    Event* event = as_event(handle);
    if (event == nullptr) {
        return WAIT_FAILED;
    }
    std::unique_lock<std::mutex> lock(event->mutex);
    const auto is_set = [event] { return event->signalled; };
    if (timeout_ms == INFINITE) {
        event->changed.wait(lock, is_set);
    } else if (!event->changed.wait_for(lock, std::chrono::milliseconds(timeout_ms), is_set)) {
        return WAIT_TIMEOUT;
    }
    if (!event->manual_reset) {
        event->signalled = false;
    }
    return WAIT_OBJECT_0;
}

BOOL CloseHandle(HANDLE handle) {
    delete as_event(handle);
    return handle != nullptr ? TRUE : FALSE;
}
