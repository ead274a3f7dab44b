#pragma once

#include <stdexcept>
#include <string>

// Every failure the program reports to its user is one of these. The message
// is UTF-8 text (the user-visible messages are Japanese) and is shown by the
// message loop in an error box; the program then goes on.
class KuvitoError : public std::runtime_error {
public:
    enum class Kind { General, InvalidPicture, Conversion };

    explicit KuvitoError(const std::string& message, Kind kind = Kind::General)
        : std::runtime_error(message), kind_(kind) {}

    Kind kind() const noexcept { return kind_; }

private:
    Kind kind_;
};
