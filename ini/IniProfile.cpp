#include "IniProfile.h"

#include "IniFile.h"
#include "IniFileLock.h"
#include "IniText.h"

std::string IniProfile::getPrivateProfileString(const std::string& section, const std::string& key,
                                                const std::string& defaultValue, std::size_t bufferSize,
                                                const std::string& path) {
    std::string result = defaultValue;
    if (const std::optional<std::string> content = IniFile::read(path))
        if (std::optional<std::string> value = IniText::findValue(*content, section, key))
            result = std::move(*value);
    if (bufferSize == 0)
        return {};
    if (result.size() > bufferSize - 1)
        result.resize(bufferSize - 1);
    return result;
}

bool IniProfile::writePrivateProfileString(const std::string& section, const std::string& key,
                                           const std::string& value, const std::string& path,
                                           std::chrono::milliseconds lockWait) {
    if (path.empty())
        return false;
    const std::string writePath = IniFile::writePath(path);
    const IniFileLock lock(writePath, lockWait);
    if (!lock.held())
        return false;
    const std::optional<IniFile::Target> target = IniFile::writableTarget(writePath);
    if (!target)
        return false;
    const std::optional<std::string> updated = IniText::withValue(target->content, section, key, value);
    if (!updated)
        return false;
    if (target->exists && *updated == target->content)
        return true;
    return IniFile::replace(*target, *updated);
}
