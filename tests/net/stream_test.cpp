#include "net/stream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace zorvia {
namespace {

namespace fs = std::filesystem;

class StreamTest : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("zorvia_stream_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        if (std::string(GetParam()) == "file")
            stream_ =
                std::make_unique<TFileStream>((dir_ / "s.bin").string(), TFileStream::Mode::Create);
        else
            stream_ = std::make_unique<TMemoryStream>();
    }
    void TearDown() override {
        stream_.reset();
        fs::remove_all(dir_);
    }

    std::string content() {
        const std::int64_t keep = stream_->Position();
        stream_->SetPosition(0);
        std::string bytes(std::size_t(stream_->Size()), '\0');
        EXPECT_EQ(stream_->Read(bytes.data(), stream_->Size()), stream_->Size());
        stream_->SetPosition(keep);
        return bytes;
    }

    fs::path dir_;
    std::unique_ptr<TStream> stream_;
};

// The moves ReadStream makes on its target: pre-size, write, cut back.
TEST_P(StreamTest, PreSizeWriteAndCutBack) {
    stream_->Write("head", 4);
    stream_->SetSize(stream_->Position() + 256);
    EXPECT_EQ(stream_->Position(), 4);
    EXPECT_EQ(stream_->Size(), 260);
    stream_->Write("abc", 3);
    stream_->SetSize(stream_->Position());
    EXPECT_EQ(stream_->Size(), 7);
    EXPECT_EQ(content(), "headabc");
}

TEST_P(StreamTest, OverwriteInsideAndShrinkBelowPosition) {
    stream_->Write("0123456789", 10);
    stream_->SetPosition(2);
    stream_->Write("xy", 2);
    EXPECT_EQ(content(), "01xy456789");
    stream_->SetPosition(8);
    stream_->SetSize(5);
    EXPECT_EQ(stream_->Position(), 5);
    char buf[4];
    EXPECT_EQ(stream_->Read(buf, 4), 0);
    EXPECT_EQ(content(), "01xy4");
}

INSTANTIATE_TEST_SUITE_P(Kinds, StreamTest, testing::Values("memory", "file"));

TEST(FileStreamTest, OpenErrorsNameTheFile) {
    const std::string missing = "/nonexistent-dir-zorvia/x.swf";
    try {
        TFileStream stream(missing, TFileStream::Mode::Create);
        ADD_FAILURE();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create file \"" + missing + "\". No such file or directory");
    }
    EXPECT_THROW(TFileStream(missing, TFileStream::Mode::OpenRead), EFOpenError);
}

} // namespace
} // namespace zorvia
