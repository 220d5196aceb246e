#include "core/lock_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/test_support.h"

namespace kelm {
namespace {

namespace fs = std::filesystem;

class LockFolder : public ::testing::Test {
protected:
    std::string Fixed(uid_t uid) const { return temp.File("firebird-" + std::to_string(uid)); }
    std::string Choose(uid_t uid) const { return ChooseLockFolder("", temp.Path().string(), uid); }
    test::TempDir temp;
};

TEST_F(LockFolder, TheUsersOwnFixedFolderIsMadeAndKept) {
    EXPECT_EQ(Choose(getuid()), Fixed(getuid()));
    EXPECT_TRUE(IsPrivateFolder(Fixed(getuid()), getuid()));
    EXPECT_EQ(Choose(getuid()), Fixed(getuid()));
    // The runtime folder, when there is one, is preferred.
    EXPECT_EQ(ChooseLockFolder(temp.Path().string(), "/nonexistent", getuid()), temp.File("firebird"));
}

TEST_F(LockFolder, AFolderOthersOwnOrMayWriteIsReplacedByAFreshPrivateOne) {
    // Writable for all.
    fs::create_directory(Fixed(getuid()));
    chmod(Fixed(getuid()).c_str(), 0777);
    std::string chosen = Choose(getuid());
    EXPECT_NE(chosen, Fixed(getuid()));
    EXPECT_TRUE(IsPrivateFolder(chosen, getuid()));

    // Made first by someone else: the folder is ours, the user asking is another.
    const uid_t other = getuid() + 1;
    fs::create_directory(Fixed(other));
    chmod(Fixed(other).c_str(), 0700);
    chosen = Choose(other);
    EXPECT_NE(chosen, Fixed(other));

    // A link to a private folder is not the folder itself.
    ASSERT_TRUE(IsPrivateFolder(chosen, getuid()));
    fs::create_directory_symlink(chosen, temp.File("link"));
    EXPECT_FALSE(IsPrivateFolder(temp.File("link"), getuid()));
}

}  // namespace
}  // namespace kelm
