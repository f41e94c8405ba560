#pragma once

#include <QStringList>

namespace zorvia::test {

// Runs xdotool with `args` against the X server of the tests: real input,
// as a user would give it. True when it ran and succeeded; waits a moment
// afterwards for the input to arrive. The program handles the input only
// then, so steps it must see one by one (a pointer leaving and coming back)
// go in separate calls.
bool xdotool(const QStringList& args);

} // namespace zorvia::test
