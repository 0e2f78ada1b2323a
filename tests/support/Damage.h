#pragma once
// Damaged copies of good files for the hostile-input tests: the same seed gives the same damage
// on every run, so a file that finds a fault can be made again.
#include <QByteArray>

#include <random>

// The damage done to the i-th copy: 0 truncated, 1 bits flipped, 2 both, 3 a run of bytes
// overwritten with 0x00 or 0xFF (sizes and counts in headers become zero or huge).
QByteArray Damaged(const QByteArray& original, int i, std::mt19937& random);
