# Writes the C++ source that carries a stored layout inside the program, the
# way tools/layoutbuilder writes it on Linux, from a layout file:
#   cmake -DIN=TFrmMain.dfm -DOUT=MascotLayoutData.cpp -P EmbedLayout.cmake
file(READ "${IN}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUT}" "// Generated from ${IN} by cmake/EmbedLayout.cmake; do not edit.
#include \"MascotLayout.h\"

namespace {
const unsigned char kLayout[] = {
    ${bytes}
};
} // namespace

const std::vector<std::uint8_t>& MascotLayoutData() {
    static const std::vector<std::uint8_t> layout(std::begin(kLayout), std::end(kLayout));
    return layout;
}
")
