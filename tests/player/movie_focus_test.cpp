// Focus reports of a page's frames, as the game box's keyboard rule reads
// them: only reports with this run's token count, one entry per frame.
#include "player/movie_focus.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace zorvia::player {
namespace {

TEST(MovieFocus, FramesReportTheirMovieFocusWithTheTokenOnly) {
    const QString token = movieFocusToken();
    const struct {
        QString message;
        bool taken;
        bool active; // after this message
    } steps[] = {
        {token + " 1 top", true, true},
        {token + " 1 inner", true, true},
        {token + " 0 top", true, true},
        {token + " 0 inner", true, false},
        {token + " 0 inner", true, false},
        // A page's own messages, also ones that imitate a report.
        {"zorvia-movie-focus-0 1 top", false, false},
        {token.left(token.size() - 1) + " 1 top", false, false},
        {token + " 2 top", false, false},
        {token + "1 top", false, false},
        {"hello", false, false},
        {token + " 1 top", true, true},
    };
    MovieFocus focus;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.message.toStdString());
        EXPECT_EQ(focus.take(step.message), step.taken);
        EXPECT_EQ(focus.active(), step.active);
    }
    focus.clear();
    EXPECT_FALSE(focus.active());
}

// The token of another run of this program.
std::string tokenOfAnotherRun() {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe");
    const std::string command =
        "ZORVIA_PRINT_TOKEN=1 '" + self + "' --gtest_filter=MovieFocus.TheTokenIsLongAndRandom";
    std::string output;
    if (FILE* run = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, run))
            output += buffer;
        ::pclose(run);
    }
    const auto at = output.find("token=");
    return at == std::string::npos ? std::string()
                                   : output.substr(at + 6, output.find('\n', at) - at - 6);
}

TEST(MovieFocus, TheTokenIsLongAndRandom) {
    const std::string token = movieFocusToken().toStdString();
    if (qEnvironmentVariableIsSet("ZORVIA_PRINT_TOKEN")) {
        std::printf("token=%s\n", token.c_str());
        return;
    }
    EXPECT_GE(token.size(), 40u);
    EXPECT_EQ(movieFocusToken(), movieFocusToken());
    // Every run has a token of its own.
    const std::string first = tokenOfAnotherRun();
    const std::string second = tokenOfAnotherRun();
    EXPECT_GE(first.size(), 40u);
    EXPECT_GE(second.size(), 40u);
    EXPECT_NE(first, token);
    EXPECT_NE(second, token);
    EXPECT_NE(first, second);
}

} // namespace
} // namespace zorvia::player
