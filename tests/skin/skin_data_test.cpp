#include "skin/skin_data.h"
#include "skin/stored_skin.h"
#include "skin_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace zorvia;
using namespace zorvia::skin;
using namespace zorvia::skintest;

namespace {

Bytes skinNamed(const std::string& name, std::int32_t version = skinpack::ContainerVersion) {
    return storedSkinOf({{"a.ini", textBytes("[TitlebarSkin]\nSkinName=" + name + "\n")}}, version);
}

Bytes withLength(const Bytes& stored) {
    Bytes out;
    putLe(out, static_cast<std::uint32_t>(stored.size()), 4);
    out.insert(out.end(), stored.begin(), stored.end());
    return out;
}

Bytes unknownVersion() {
    Bytes c =
        skinpack::writeContainer({{"a.ini", textBytes("[TitlebarSkin]\nSkinName=new\n")}}, 20000);
    c[0] = 0x80;
    c[1] = 0x38;
    c[2] = 0x01; // 80000
    return skinpack::packStore(c);
}

class SkinDataTest : public ::testing::Test {
protected:
    SkinDataTest() {
        data.SetEnvironment([] { return SkinEnvironment{}; });
    }
    MessageCatcher catcher;
    TSkinData data;
};

TEST_F(SkinDataTest, SkinStreamProperty) {
    const Bytes stored = skinNamed("first");
    ASSERT_TRUE(data.ReadSkinStream(withLength(stored)));
    EXPECT_TRUE(data.SkinLoaded());
    EXPECT_EQ(data.Model().SkinName, "first");
    EXPECT_EQ(data.WriteSkinStream(), withLength(stored));
    EXPECT_EQ(data.SkinStore(), "(none)");

    // A value cut short changes nothing.
    Bytes cut = withLength(skinNamed("second"));
    cut.pop_back();
    EXPECT_FALSE(data.ReadSkinStream(cut));
    EXPECT_EQ(data.Model().SkinName, "first");
    EXPECT_TRUE(data.SkinLoaded());
    EXPECT_EQ(data.StoredSkin(), stored);

    TSkinData empty;
    EXPECT_TRUE(empty.WriteSkinStream().empty());
    EXPECT_FALSE(empty.SkinLoaded());
}

// An unknown version: the message, false, the model of the earlier load
// stays but is no longer marked loaded.
TEST_F(SkinDataTest, OlderSkinKeepsTheModel) {
    ASSERT_TRUE(data.ReadSkinStream(withLength(skinNamed("first"))));
    EXPECT_FALSE(data.ReadSkinStream(withLength(unknownVersion())));
    EXPECT_FALSE(data.SkinLoaded());
    EXPECT_EQ(data.Model().SkinName, "first");
    ASSERT_EQ(catcher.messages.size(), 1u);
    EXPECT_EQ(catcher.messages[0], "This is Older Skin File\rPlease update to new version !");
}

TEST_F(SkinDataTest, ContainerWithoutSettingsStillLoads) {
    data.SetStoredSkin(storedSkinOf({{"x.bmp", solidBmp(2, 2)}}));
    ASSERT_TRUE(data.LoadSkinStore());
    EXPECT_TRUE(data.SkinLoaded());
    EXPECT_EQ(data.Model().CaptionButtons.size(), 3u);
}

TEST_F(SkinDataTest, SkinFile) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("zorvia_skin_file_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto path = folder / "blue.skn";
    {
        const Bytes stored = skinNamed("from file");
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(stored.data()),
                   static_cast<std::streamsize>(stored.size()));
    }
    int refreshed = 0;
    data.SetRefreshHook([&] { ++refreshed; });
    ASSERT_TRUE(data.ReadSkinStream(withLength(skinNamed("built in"))));

    // A path that does not exist changes nothing but the property's text.
    data.SetSkinFile((folder / "missing.skn").string());
    EXPECT_EQ(data.SkinFile(), (folder / "missing.skn").string());
    EXPECT_EQ(data.Model().SkinName, "built in");
    EXPECT_EQ(refreshed, 0);

    data.SetSkinFile(path.string());
    EXPECT_EQ(data.Model().SkinName, "from file");
    EXPECT_TRUE(data.SkinLoaded());
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(data.WriteSkinStream(), withLength(skinNamed("from file")));
    std::filesystem::remove_all(folder);
}

TEST(StoredSkin, PropertyFormOfTheBuiltInSkin) {
    const Bytes stream = storedSkinStream();
    ASSERT_GT(stream.size(), 4u);
    TSkinData data;
    ASSERT_TRUE(data.ReadSkinStream(stream));
    EXPECT_EQ(data.Model().SkinName, "Zorvia Sky");
}

} // namespace
