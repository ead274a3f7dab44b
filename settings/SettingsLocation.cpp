#include "SettingsLocation.h"

SettingsLocation SettingsLocation::forProgram(const std::string& executablePath) {
    SettingsLocation location;
    const std::string beside = besideProgram(executablePath);
    if (writableFolder(folderOf(beside))) {
        location.readFile_ = beside;
        location.writeFile_ = beside;
        return location;
    }
    location.perUser_ = true;
    location.writeFile_ = userFile();
    if (!location.writeFile_.empty() && isFile(location.writeFile_))
        location.readFile_ = location.writeFile_;
    else if (isFile(beside))
        location.readFile_ = beside;
    return location;
}
