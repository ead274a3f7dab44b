// The program's resources as Windows reads them from the executable that
// links them: the icon must be the checked-in icon's own image, the version
// information must carry the project's version and the program's Japanese
// name undamaged by the resource compiler, and the manifest must be one the
// loader acts on.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t le(const std::vector<std::uint8_t>& bytes, std::size_t offset, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | bytes.at(offset + static_cast<std::size_t>(i));
    return value;
}

std::vector<std::uint8_t> resourceBytes(LPCSTR name, LPCSTR type) {
    HRSRC found = ::FindResourceA(nullptr, name, type);
    HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
    const auto* data = loaded ? static_cast<const std::uint8_t*>(::LockResource(loaded)) : nullptr;
    return data ? std::vector<std::uint8_t>(data, data + ::SizeofResource(nullptr, found))
                : std::vector<std::uint8_t>{};
}

std::string utf8(const wchar_t* text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

TEST(Resources, IconIsTheCheckedInIconImage) {
    const std::vector<std::uint8_t> ico = fileBytes(KUVITO_ICON_FILE);
    ASSERT_GE(ico.size(), 22u);
    const std::uint32_t count = le(ico, 4, 2);
    const std::vector<std::uint8_t> group = resourceBytes(MAKEINTRESOURCEA(1), RT_GROUP_ICON);
    ASSERT_EQ(group.size(), 6 + 14 * count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const std::size_t offset = le(ico, entry + 12, 4);
        const std::size_t size = le(ico, entry + 8, 4);
        const std::vector<std::uint8_t> image(ico.begin() + offset, ico.begin() + offset + size);
        const std::uint32_t id = le(group, 6 + 14 * i + 12, 2);
        EXPECT_EQ(resourceBytes(MAKEINTRESOURCEA(id), RT_ICON), image) << "image " << i;
    }
    const int width = ico[6] ? ico[6] : 256;
    const int height = ico[7] ? ico[7] : 256;
    HICON icon = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, width, height, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon, &info));
    BITMAP colour{};
    EXPECT_TRUE(::GetObjectW(info.hbmColor, sizeof colour, &colour));
    EXPECT_EQ(colour.bmWidth, width);
    EXPECT_EQ(colour.bmHeight, height);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    ::DestroyIcon(icon);
}

TEST(Resources, VersionInformationCarriesVersionAndName) {
    wchar_t self[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    const DWORD size = ::GetFileVersionInfoSizeW(self, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<std::uint8_t> info(size);
    ASSERT_TRUE(::GetFileVersionInfoW(self, 0, size, info.data()));

    auto text = [&](const wchar_t* name) {
        const std::wstring path = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
        wchar_t* value = nullptr;
        UINT length = 0;
        if (!::VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
            return std::string("(missing)");
        return utf8(value);
    };
    EXPECT_EQ(text(L"ProductVersion"), KUVITO_VERSION);
    EXPECT_EQ(text(L"FileVersion"), KUVITO_VERSION);
    EXPECT_EQ(text(L"OriginalFilename"), "kuvito.exe");

    // The name the desktop file gives the program in Japanese, the language
    // of this block, so that both systems show the same one.
    std::ifstream desktop(KUVITO_DESKTOP_FILE);
    std::string line, name;
    while (std::getline(desktop, line) && name.empty())
        if (line.rfind("Name[ja]=", 0) == 0)
            name = line.substr(9);
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(text(L"FileDescription"), name);
    EXPECT_EQ(text(L"ProductName"), name);

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const std::string version = KUVITO_VERSION;
    const std::string fixedVersion = std::to_string(HIWORD(fixed->dwProductVersionMS)) + "." +
                                     std::to_string(LOWORD(fixed->dwProductVersionMS));
    EXPECT_EQ(version.rfind(fixedVersion, 0), 0u) << fixedVersion;
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
}

// A manifest Windows cannot read stops the program before it starts; one it
// reads but does not act on leaves the dialogs with the old common controls.
// So the loader's result is checked, not the text: the common controls
// loaded are version 6, which Windows (and Wine) keep side by side under
// WinSxS, apart from the old ones in the system folder. (Wine's copy there
// calls itself 5.81, so the folder tells, not the version number; and Wine
// reports every process as aware of DPI, so the manifest's choice there
// cannot be checked under Wine.)
TEST(Resources, ManifestBringsCommonControlsSix) {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_BAR_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&init));
    HMODULE controls = nullptr;
    ASSERT_TRUE(::GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(&::InitCommonControlsEx)), &controls));
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameW(controls, path, MAX_PATH), 0u);
    std::string folder = utf8(path);
    for (char& c : folder)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(folder.find("\\winsxs\\"), std::string::npos) << folder;
    EXPECT_NE(folder.find("common-controls_6595b64144ccf1df_6."), std::string::npos) << folder;
}

} // namespace
