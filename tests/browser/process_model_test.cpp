// The process model the game box asks of the web engine.
#include "browser/process_model.h"

#include <gtest/gtest.h>

namespace zorvia::browser {
namespace {

TEST(ProcessModelTest, PagesOfASiteShareAProcessUnlessTheSwitchesChoseAModel) {
    const struct {
        const char* flags;
        const char* expected;
    } cases[] = {
        {"", "--process-per-site"},
        {"--disable-gpu --lang=zh-CN", "--disable-gpu --lang=zh-CN --process-per-site"},
        {"--process-per-site", "--process-per-site"},
        {"--disable-gpu  --process-per-tab", "--disable-gpu  --process-per-tab"},
        {"--single-process", "--single-process"},
        {"--renderer-process-limit=2", "--renderer-process-limit=2"},
        // A longer switch that merely starts like a model is no choice.
        {"--process-per-site-x", "--process-per-site-x --process-per-site"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withSharedSiteProcesses(c.flags), QByteArray(c.expected)) << c.flags;
}

} // namespace
} // namespace zorvia::browser
