#pragma once

#include <string>

// Whether a compositor helper's file may be handed to the compositor, which
// runs it with everything the user's session can do. A file that someone
// other than root and the user can change, or put in place by changing a
// folder above it, could be anyone's code: the file and every folder up to
// the root must belong to root or to the user and must not be writable by
// group or others. Links are followed first, so the files checked are the
// ones the compositor would read. Standard library and POSIX only.
class HelperFileCheck {
public:
    // Why the file must not be used, in words for the user's log; empty
    // when it may. user: the uid the program runs as.
    static std::string refusal(const std::string& path, unsigned user);
};
