#include "ArtSet.h"

#include "BmpFile.h"
#include "CharacterModel.h"
#include "FigureRenderer.h"
#include "IcoFile.h"
#include "IconPainter.h"
#include "Poses.h"

#include <fstream>
#include <stdexcept>

namespace kuvito::art {

std::array<Raster, 6> drawFrames() {
    const CharacterModel model;
    const FigureRenderer renderer(frameWidth, frameHeight);
    auto draw = [&](const Pose& pose) { return renderer.render(model.parts(pose), pose.fillPockets); };
    Raster leap = draw(leapPose());
    Raster crouch = draw(crouchPose());
    Raster stride = draw(stridePose());
    Raster highStep = draw(highStepPose());
    Raster strideRight = stride.mirrored();
    Raster highStepRight = highStep.mirrored();
    return {std::move(leap),     std::move(crouch),      std::move(stride),
            std::move(highStep), std::move(strideRight), std::move(highStepRight)};
}

std::vector<std::pair<std::string, std::vector<std::uint8_t>>> artFiles() {
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
    const auto frames = drawFrames();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        files.emplace_back("Rgn" + std::to_string(i + 1) + ".bmp", encodeBmp(frames[i]));
    }
    files.emplace_back("kuvito.ico", encodeIco(IconPainter().paint()));
    return files;
}

void writeArtSet(const std::filesystem::path& folder) {
    for (const auto& [name, bytes] : artFiles()) {
        std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + (folder / name).string());
        }
    }
}

} // namespace kuvito::art
