#pragma once

#include <cstdint>
#include <functional>
#include <string>

// What the desktop tells the program about its own run.
class DesktopProgram {
public:
    virtual ~DesktopProgram() = default;

    // Full path of the running executable (the settings file lies beside it).
    virtual std::string executablePath() const = 0;
    // A seed for the random generator, from the time of day.
    virtual std::uint32_t clockSeed() const = 0;
    // One kuvito per session (an X display, a Windows logon session). The
    // first program to ask claims the session for as long as it runs, dies
    // included, and true is returned: comeForward then runs on the
    // user-interface thread each time a later start asks. A later start gets
    // false, the running program having been asked to come forward. A
    // desktop that cannot tell answers true.
    virtual bool claimSession(std::function<void()> comeForward) = 0;
    // The code of the language the user reads the program in (a table of
    // text/languages, chosen by LanguageChoice from the system's settings).
    virtual std::string userLanguage() const = 0;
};
