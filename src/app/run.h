#pragma once

namespace zorvia {

// Program entry: creates the application and the main window, runs the
// window's create event and then the message loop. Returns the exit code.
int runGameBox(int argc, char** argv);

} // namespace zorvia
