#pragma once

#include <string>

// The least a desktop pet with this character can ask of the X server: the
// six frames prepared once as pixmaps and shape masks on the server, and per
// tick one pointer query, one move and one frame switch (a new background
// and a new shape). Plain Xlib and the shape extension, nothing else, so that
// the benchmark shows what any toolkit adds on top.
//
// Xlib types stay inside FloorPet.cpp; this header carries none.
class FloorPet {
public:
    // Opens its own connection to the display named by DISPLAY, reads the
    // frames Rgn1.bmp ... Rgn6.bmp from artDir and maps the window.
    // Throws std::runtime_error with a readable message on failure.
    FloorPet(const std::string& artDir, int step);
    ~FloorPet();
    FloorPet(const FloorPet&) = delete;
    FloorPet& operator=(const FloorPet&) = delete;

    // The connection's file descriptor, to wait on for events.
    int fd() const;
    // One movement tick of the chase rule.
    void tick();
    // Handles every event that has arrived (or was read along with a
    // reply) without blocking.
    void drainEvents();

private:
    struct State;
    State* state_;
};
