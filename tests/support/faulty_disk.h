// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A disk that fails on purpose, beneath every SQLite database this process
// opens: a layer over SQLite's own file layer (its documented VFS
// interface), made the default once installed. Disarmed, every call goes
// through unchanged. Armed, it counts the calls that touch the disk (reads,
// writes, syncs, truncations, locks, deletions) and makes the Nth one fail:
// with an input/output error, with a full disk, or as a crash, after which
// nothing more reaches the disk (writes are dropped, every later call fails
// and no file is made) until it is disarmed, as if the program had died
// there. Locks are still let go, as the system lets a dead program's go.
namespace faulty_disk {

enum class Failure { IoError, DiskFull, Crash };

// Makes the layer SQLite's default; again is harmless.
void install();

// From now, the `n`th call (counting from 1) fails as `failure`.
void failAt(int n, Failure failure);
// Counts calls without failing any: how many a path makes.
void count();
// Back to passing every call through.
void disarm();

// Calls counted since the last failAt or count.
int calls();
// Whether the armed call was reached (and failed).
bool reached();
// What the failing call was ("write", "sync", ...), once reached.
QString reachedCall();

}  // namespace faulty_disk
