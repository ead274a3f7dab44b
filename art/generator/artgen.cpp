// Writes the character's six frames and the program icon into a folder.
#include "ArtSet.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: artgen <output folder>\n";
        return 2;
    }
    try {
        std::filesystem::create_directories(argv[1]);
        kuvito::art::writeArtSet(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "artgen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
