#include "Win32ProgramStart.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>

namespace {

std::string utf8(const wchar_t* text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return {};
    std::string out(static_cast<std::size_t>(n - 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

bool leadsNowhere(DWORD which) {
    HANDLE handle = ::GetStdHandle(which);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE || ::GetFileType(handle) == FILE_TYPE_UNKNOWN;
}

} // namespace

std::vector<std::string> Win32ProgramStart::arguments() {
    return argumentsOf(::GetCommandLineW());
}

std::vector<std::string> Win32ProgramStart::argumentsOf(const std::wstring& commandLine) {
    int count = 0;
    LPWSTR* split = ::CommandLineToArgvW(commandLine.c_str(), &count);
    std::vector<std::string> out;
    if (!split)
        return out;
    // The first is the program itself.
    for (int i = 1; i < count; ++i)
        out.push_back(utf8(split[i]));
    ::LocalFree(split);
    return out;
}

bool Win32ProgramStart::interactiveSession() {
    USEROBJECTFLAGS flags{};
    HWINSTA station = ::GetProcessWindowStation();
    // When Windows cannot say, the program tries: the worst case is that
    // its windows are never seen, as before this check.
    if (!station || !::GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr))
        return true;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

void Win32ProgramStart::useParentConsole() {
    const bool output = leadsNowhere(STD_OUTPUT_HANDLE);
    const bool errors = leadsNowhere(STD_ERROR_HANDLE);
    if ((!output && !errors) || !::AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    ::SetConsoleOutputCP(CP_UTF8);
    if (output)
        std::freopen("CONOUT$", "w", stdout);
    if (errors)
        std::freopen("CONOUT$", "w", stderr);
}
