// The platform's safe replace of a file, on real files in a scratch directory.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

class ReplaceFile : public testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("vqgen-files-" + std::to_string(std::hash<std::string>{}(testing::UnitTest::GetInstance()->current_test_info()->name())));
        fs::remove_all(dir);
        fs::create_directories(dir);
        target = dir / "1.html";
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::string slurp(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::size_t entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {})); }
    bool replace(const std::string& path, std::string_view first, std::string_view second = {})
    {
        const std::array<std::string_view, 2> blocks{first, second};
        return platform::replace_file(path, blocks);
    }

    fs::path dir;
    fs::path target;
};

class MakeDirectories : public ReplaceFile {};

} // namespace

TEST_F(MakeDirectories, CreatesMissingParentsAndFailsUnderAFile)
{
    const fs::path nested = dir / "a" / "b";
    EXPECT_TRUE(platform::make_directories(nested.string()));
    EXPECT_TRUE(fs::is_directory(nested));
    EXPECT_TRUE(platform::make_directories(nested.string())); // already there
    std::ofstream(dir / "file") << "x";
    EXPECT_FALSE(platform::make_directories((dir / "file").string()));
    EXPECT_FALSE(platform::make_directories((dir / "file" / "below").string()));
}

TEST_F(ReplaceFile, WritesTheBlocksInOrderOverALongerOldFile)
{
    std::ofstream(target, std::ios::binary) << std::string(5000, 'o');
    ASSERT_TRUE(replace(target.string(), "page\r\n", std::string_view("\xB1\xBE\0x", 4)));
    EXPECT_EQ(slurp(target), std::string("page\r\n\xB1\xBE\0x", 10));
    EXPECT_EQ(entries(), 1u);
}

TEST_F(ReplaceFile, FailuresLeaveTheOldFileAndNoStrayFile)
{
    std::ofstream(target, std::ios::binary) << "previous";
    EXPECT_FALSE(replace("", "x"));
    EXPECT_FALSE(replace((dir / "missing" / "1.html").string(), "x"));
    fs::create_directory(dir / "folder.html");
    EXPECT_FALSE(replace((dir / "folder.html").string(), "x"));
    EXPECT_TRUE(fs::is_directory(dir / "folder.html"));
    EXPECT_EQ(slurp(target), "previous");
    EXPECT_EQ(entries(), 2u); // 1.html and folder.html, nothing else
}
