#pragma once

#include "archives/FileLock.h"

class Messages;

// The program's way of waiting while another workstation holds the lock of a data file: at most
// `limit`, with the waiting cursor over every window of the program meanwhile.
LockWait waitCursorLockWait(std::chrono::milliseconds limit = LockWait{}.limit);

// The program's way of writing the data files, made once for its whole run: waits as
// waitCursorLockWait does and, the first time a write goes ahead unlocked because the data folder
// offers no locks, warns the operator through `messages` that other workstations may overwrite
// its operations. Once for this LockWait and all its copies, however many writes follow.
LockWait programLockWait(Messages& messages, std::chrono::milliseconds limit = LockWait{}.limit);
