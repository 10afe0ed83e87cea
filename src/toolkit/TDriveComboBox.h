// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

// The drive box: one entry per mounted volume root.
class TDriveComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TDriveComboBox(QWidget *parent = nullptr);

    // Re-reads the mounted volumes, keeping the current drive.
    void Refresh();

    QString Drive() const;
    // Selects root, adding it when the volume list does not hold it.
    void setDrive(const QString &root);

    // Root of the volume that holds path.
    static QString DriveOf(const QString &path);
};
