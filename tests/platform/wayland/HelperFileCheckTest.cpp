// Where the program takes its compositor helpers from: only files that
// nobody but root and the user could have changed, the folders above them
// included, and for the GNOME Shell extension only the copy the package
// installed (or the build tree's); and what it remembers of the extension.
// The rule goes by owners and modes, not by what the caller may write, so
// a uid stands for the ordinary user; changing owners needs root.

#include "HelperFileCheck.h"
#include "GnomeExtensionMemory.h"
#include "GnomeShellExtension.h"
#include "ProgramIdentity.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr unsigned kUser = 4242, kOtherUser = 4343;

// A tree root:root 0755 under the build folder (/tmp would be writable by
// all): scratch/share/gnome-shell/extensions/<uuid>/{metadata.json,extension.js}.
class Tree {
public:
    Tree() : root_(fs::path(KUVITO_TEST_SCRATCH) / ("helpers-" + std::to_string(getpid()))) {
        fs::remove_all(root_);
        fs::create_directories(extension());
        for (const fs::path& p : {root_, root_ / "share", root_ / "share/gnome-shell",
                                  root_ / "share/gnome-shell/extensions", extension()})
            fs::permissions(p, fs::perms(0755));
        for (const char* name : {"metadata.json", "extension.js"}) {
            std::ofstream(extension() / name) << "{}";
            fs::permissions(extension() / name, fs::perms(0644));
        }
    }
    ~Tree() { fs::remove_all(root_); }
    fs::path root() const { return root_; }
    fs::path extension() const {
        return root_ / "share/gnome-shell/extensions" / ProgramIdentity::kExtensionUuid;
    }
    fs::path file() const { return extension() / "extension.js"; }

private:
    fs::path root_;
};

struct FileCase {
    const char* name;
    std::function<void(const Tree&)> change;
    bool rootOnly; // changes an owner
    bool trusted;
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.name;
}

class HelperFiles : public ::testing::TestWithParam<FileCase> {};

TEST_P(HelperFiles, AreUsedOnlyWhenNobodyButRootAndTheUserCouldChangeThem) {
    const FileCase& c = GetParam();
    if (c.rootOnly && geteuid() != 0)
        GTEST_SKIP() << "changing an owner needs root";
    const Tree tree;
    c.change(tree);
    const std::string why = HelperFileCheck::refusal(tree.file().string(), kUser);
    EXPECT_EQ(why.empty(), c.trusted) << why;
}

void chownTo(const fs::path& p, unsigned uid) {
    ASSERT_EQ(lchown(p.c_str(), uid, 0), 0) << p;
}

INSTANTIATE_TEST_SUITE_P(
    Rule, HelperFiles,
    ::testing::Values(
        FileCase{"AllRoots", [](const Tree&) {}, false, true},
        FileCase{"FileTheUsers", [](const Tree& tree) { chownTo(tree.file(), kUser); }, true, true},
        FileCase{"FolderTheUsers", [](const Tree& tree) { chownTo(tree.extension(), kUser); }, true, true},
        FileCase{"FileAnotherUsers", [](const Tree& tree) { chownTo(tree.file(), kOtherUser); }, true, false},
        FileCase{"FolderAboveAnotherUsers",
                 [](const Tree& tree) { chownTo(tree.root() / "share", kOtherUser); }, true, false},
        FileCase{"FileGroupWritable",
                 [](const Tree& tree) {
                     fs::permissions(tree.file(), fs::perms::group_write, fs::perm_options::add);
                 },
                 false, false},
        FileCase{"FolderAboveWritableByAll",
                 [](const Tree& tree) {
                     fs::permissions(tree.root(), fs::perms::others_write, fs::perm_options::add);
                 },
                 false, false},
        FileCase{"FolderAboveStickyAndWritableByAll",
                 [](const Tree& tree) { fs::permissions(tree.root(), fs::perms(01777)); }, false, true},
        FileCase{"FileStickyAndWritableByAll",
                 [](const Tree& tree) { fs::permissions(tree.file(), fs::perms(01666)); }, false, false},
        // The link is root's, but the file it leads to lies in a folder all may write.
        FileCase{"LinkIntoAFolderAllMayWrite",
                 [](const Tree& tree) {
                     const fs::path open = tree.root() / "open";
                     fs::create_directory(open);
                     fs::permissions(open, fs::perms(0777));
                     fs::rename(tree.file(), open / "extension.js");
                     fs::create_symlink(open / "extension.js", tree.file());
                 },
                 false, false},
        FileCase{"Missing", [](const Tree& tree) { fs::remove(tree.file()); }, false, false},
        FileCase{"AFolderNotAFile",
                 [](const Tree& tree) {
                     fs::remove(tree.file());
                     fs::create_directory(tree.file());
                     fs::permissions(tree.file(), fs::perms(0755));
                 },
                 false, false}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(GnomeShellExtension, IsEnabledOnlyWhereThePackageOrTheBuildTreePutIt) {
    const Tree tree;
    const std::string dataDir = (tree.root() / "share").string();
    const std::string installed = tree.extension().string();
    EXPECT_EQ(GnomeShellExtension::enableRefusal(installed, dataDir, "", kUser), "");
    EXPECT_EQ(GnomeShellExtension::enableRefusal(installed + "/", dataDir, "", kUser), "");

    // A copy in the user's own extensions folder is the user's to enable.
    const fs::path copy = tree.root() / "home";
    fs::create_directories(copy);
    fs::permissions(copy, fs::perms(0755));
    fs::copy(tree.extension(), copy / "ext");
    EXPECT_NE(GnomeShellExtension::enableRefusal((copy / "ext").string(), dataDir, "", kUser), "");
    // ... unless the program runs from the build tree that copy is.
    EXPECT_EQ(
        GnomeShellExtension::enableRefusal((copy / "ext").string(), dataDir, (copy / "ext").string(), kUser),
        "");

    fs::permissions(tree.extension() / "metadata.json", fs::perms::others_write, fs::perm_options::add);
    EXPECT_NE(GnomeShellExtension::enableRefusal(installed, dataDir, "", kUser), "");
}

TEST(GnomeExtensionMemory, RemembersEachUuidApartAndSaysWhenItCannot) {
    const Tree tree;
    const std::string path = (tree.root() / "state/kuvito/gnome-shell-extension").string();
    {
        GnomeExtensionMemory memory(path);
        EXPECT_FALSE(memory.enabledOnce("a@b"));
        EXPECT_TRUE(memory.rememberEnabled("a@b"));
        EXPECT_TRUE(memory.rememberEnabled("a@b"));
        EXPECT_FALSE(memory.toldSwitchedOff("a@b"));
    }
    GnomeExtensionMemory later(path);
    EXPECT_TRUE(later.enabledOnce("a@b"));
    EXPECT_FALSE(later.enabledOnce("a@bc"));
    EXPECT_FALSE(later.enabledOnce("c@d"));
    EXPECT_TRUE(later.rememberToldSwitchedOff("a@b"));
    EXPECT_TRUE(GnomeExtensionMemory(path).toldSwitchedOff("a@b"));
    EXPECT_FALSE(GnomeExtensionMemory(path).toldSwitchedOff("c@d"));

    // A state folder that cannot be made: a file stands where it would go.
    EXPECT_FALSE(GnomeExtensionMemory(path + "/below").rememberEnabled("a@b"));
}

} // namespace
