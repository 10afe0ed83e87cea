// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/TDriveComboBox.h"

#include <QDir>
#include <QStorageInfo>

#include "platform/Platform.h"

TDriveComboBox::TDriveComboBox(QWidget *parent)
    : QComboBox(parent)
{
    Refresh();
}

void TDriveComboBox::Refresh()
{
    const QString current = Drive();
    const QSignalBlocker blocker(this);
    clear();
    for (const QString &root : VolumeRoots())
        addItem(QDir::toNativeSeparators(root), root);
    if (!current.isEmpty())
        setDrive(current);
}

QString TDriveComboBox::Drive() const
{
    return currentData().toString();
}

void TDriveComboBox::setDrive(const QString &root)
{
    const QSignalBlocker blocker(this);
    int index = findData(root);
    if (index < 0) {
        addItem(QDir::toNativeSeparators(root), root);
        index = count() - 1;
    }
    setCurrentIndex(index);
}

QString TDriveComboBox::DriveOf(const QString &path)
{
    const QStorageInfo volume(path);
    return volume.isValid() ? volume.rootPath() : QDir::rootPath();
}
