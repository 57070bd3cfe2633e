// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>

// A disk of its own for a test, small enough to fill: a tmpfs of a megabyte
// mounted on a temporary folder, where the machine lets the test mount one
// (as root), and unmounted with the object.
class SmallDisk {
public:
    SmallDisk();
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    QString why() const { return why_; }  // why not mounted
    QString filePath(const QString& name) const { return dir_.filePath(name); }
    // Fills what space is left with a file of zeros.
    void fill() const;

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString why_;
};
