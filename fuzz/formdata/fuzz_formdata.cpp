// Reads arbitrary bytes as a stored layout. A refusal must be a KuvitoError;
// an accepted layout must write back to exactly the bytes read and read back
// to the same tree.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "FormReader.h"
#include "FormWriter.h"
#include "KuvitoError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StoredComponent tree;
    try {
        tree = FormReader::read(data, size);
    } catch (const KuvitoError&) {
        return 0;
    }
    const std::vector<std::uint8_t> written = FormWriter::write(tree);
    if (written != std::vector<std::uint8_t>(data, data + size))
        std::abort();
    if (!(FormReader::read(written) == tree))
        std::abort();
    return 0;
}
