#include <QApplication>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

int runIniWriterChild(const std::string& path, std::size_t size);

int main(int argc, char** argv) {
    // The crash test runs this binary again as the writer it kills.
    if (argc == 4 && std::strcmp(argv[1], "--ini-writer-child") == 0)
        return runIniWriterChild(argv[2], std::stoul(argv[3]));
    // Listing the tests runs this too, without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
