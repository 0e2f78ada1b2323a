#pragma once
// Whether a failed write's error number means that the disk (or the user's share of it) is full:
// a quota that is used up stops a write just as a full disk does, and the user frees room either
// way.
#include <cerrno>

inline bool IsDiskFull(int errorNumber) { return errorNumber == ENOSPC || errorNumber == EDQUOT; }
