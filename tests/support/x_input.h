#pragma once

#include <QStringList>

namespace zorvia::test {

// Runs xdotool with `args` against the X server of the tests: real input,
// as a user would give it. True when it ran and succeeded. The X server has
// the input when this returns, but the program handles it later: wait for
// what the input causes. Steps the program must see one by one (a pointer
// leaving and coming back) need a wait for each step's effect between them.
bool xdotool(const QStringList& args);

} // namespace zorvia::test
