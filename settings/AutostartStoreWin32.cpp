#include "AutostartStore.h"

#include "Captions.h"
#include "KuvitoError.h"
#include "Utf16.h"

#include <windows.h>

namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kValueName = L"kuvito";
// As the user finds it in the registry editor, for the messages.
constexpr const char* kShownPlace =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\kuvito";

[[noreturn]] void cannotWrite(LONG status) {
    throw KuvitoError(Captions::fill("error.unwritable", "path", kShownPlace) + " (error " +
                      std::to_string(status) + ")");
}

// The user's Run key, closed when it goes out of scope.
class RunKey {
public:
    RunKey(const RunKey&) = delete;
    RunKey& operator=(const RunKey&) = delete;
    ~RunKey() {
        if (key_)
            ::RegCloseKey(key_);
    }
    // Opens the key as it is; status is ERROR_FILE_NOT_FOUND when the user
    // has none yet.
    static RunKey open(REGSAM access, LONG& status) {
        RunKey run;
        status = ::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, access, &run.key_);
        return run;
    }
    // Opens the key for changing it, creating it when the user has none.
    static RunKey forWriting() {
        RunKey run;
        const LONG status = ::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0,
                                              KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &run.key_, nullptr);
        if (status != ERROR_SUCCESS)
            cannotWrite(status);
        return run;
    }
    HKEY get() const { return key_; }
    RunKey(RunKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }

private:
    RunKey() = default;
    HKEY key_ = nullptr;
};

} // namespace

bool AutostartStore::isOn() {
    LONG status = ERROR_SUCCESS;
    const RunKey run = RunKey::open(KEY_QUERY_VALUE, status);
    return status == ERROR_SUCCESS &&
           ::RegQueryValueExW(run.get(), kValueName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void AutostartStore::turnOn(const std::string& executablePath) {
    // Quoted, since Windows reads the value as a command line and a path
    // under "Program Files" holds a space.
    const std::wstring command = L"\"" + Utf16::fromUtf8(executablePath) + L"\"";
    const RunKey run = RunKey::forWriting();
    const LONG status =
        ::RegSetValueExW(run.get(), kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                         static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS)
        cannotWrite(status);
}

void AutostartStore::turnOff() {
    LONG status = ERROR_SUCCESS;
    const RunKey run = RunKey::open(KEY_SET_VALUE, status);
    if (status == ERROR_SUCCESS)
        status = ::RegDeleteValueW(run.get(), kValueName);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        cannotWrite(status);
}
