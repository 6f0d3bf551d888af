#pragma once
// Removes a directory and everything in it without ever following a symbolic link:
// a link inside is removed, never what it points to. Safe to call from a signal
// handler (no allocation, only async-signal-safe system calls).

namespace orvex {

// Removes `name` under the directory open as `parent` (AT_FDCWD: the working
// directory, or an absolute name) and, for a directory, everything it holds, up to
// 8 levels down; true when it is gone.
bool removeTree(int parent, const char* name);

}  // namespace orvex
