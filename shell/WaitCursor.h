#pragma once

#include "archives/FileLock.h"

// The program's way of waiting while another workstation holds the lock of a data file: at most
// `limit`, with the waiting cursor over every window of the program meanwhile.
LockWait waitCursorLockWait(std::chrono::milliseconds limit = LockWait{}.limit);
