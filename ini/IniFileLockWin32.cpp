#include "IniFileLock.h"

#include "IniWidePath.h"

#include <windows.h>

// The lock is the share mode: the lock file is opened sharing nothing, so a
// second writer cannot open it until the first closes it, and it is deleted
// on that close, by the system also when the holder dies.
IniFileLock::IniFileLock(const std::string& filePath, std::chrono::milliseconds wait) {
    const std::wstring name = iniWidePath(filePath + ".lock");
    if (name.empty())
        return;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const HANDLE h = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            handle_ = reinterpret_cast<std::intptr_t>(h);
            return;
        }
        // A lock file being deleted answers "access denied" until it is
        // gone; a folder that takes no file answers the same with no file.
        const DWORD error = ::GetLastError();
        const bool busy =
            error == ERROR_SHARING_VIOLATION ||
            (error == ERROR_ACCESS_DENIED && ::GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES);
        if (!busy || std::chrono::steady_clock::now() >= deadline)
            return;
        ::Sleep(2);
    }
}

IniFileLock::~IniFileLock() {
    if (held())
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}
