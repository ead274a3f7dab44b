#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class Win32MessageWindow;

// The running kuvito of a Windows logon session: it holds a named mutex in
// the session's own namespace (Local\), which the system closes with the
// process, a killed one included, so a crash blocks no later start. A later
// start finds the name taken and broadcasts a registered message, which the
// running program's hidden top-level window hears (a message-only window
// hears no broadcasts); broadcasts reach only the windows of the session.
class Win32SessionClaim {
public:
    // Claims the session, or asks the program that holds it to come forward.
    explicit Win32SessionClaim(std::function<void()> comeForward);
    ~Win32SessionClaim();
    Win32SessionClaim(const Win32SessionClaim&) = delete;
    Win32SessionClaim& operator=(const Win32SessionClaim&) = delete;

    // False when another program holds the session (and was asked to come
    // forward).
    bool owned() const { return owned_; }

private:
    bool owned_ = false;
    std::uintptr_t mutex_ = 0; // the HANDLE
    std::unique_ptr<Win32MessageWindow> window_;
};
