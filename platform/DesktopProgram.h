#pragma once

#include <cstdint>
#include <string>

// What the desktop tells the program about its own run.
class DesktopProgram {
public:
    virtual ~DesktopProgram() = default;

    // Full path of the running executable (the settings file lies beside it).
    virtual std::string executablePath() const = 0;
    // A seed for the random generator, from the time of day.
    virtual std::uint32_t clockSeed() const = 0;
    // The code of the language the user reads the program in (a table of
    // text/languages, chosen by LanguageChoice from the system's settings).
    virtual std::string userLanguage() const = 0;
};
