// Focus reports of a page's frames, as the game box's keyboard rule reads
// them: only reports with this run's token count, one entry per frame.
#include "player/movie_focus.h"

#include <gtest/gtest.h>

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

TEST(MovieFocus, TheTokenIsLongAndRandom) {
    EXPECT_GE(movieFocusToken().size(), 40);
    EXPECT_EQ(movieFocusToken(), movieFocusToken());
}

} // namespace
} // namespace zorvia::player
