// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>

// Copies one file so that nothing is ever lost: the data goes to a hidden temporary file
// beside the target, which replaces the target in one step only when every byte arrived.
// Like cp, it does not wait for the disk to confirm the data unless durable is set: a
// copy leaves its source in place, so a power cut can cost only the new copy. A move
// removes its source afterwards and asks for durable, which returns only once the data
// and the target's name are on the disk.
// A failure or a cancel (cancel set) removes the temporary file and leaves the target as
// it was. done grows by the bytes copied. The copy keeps the source's permissions and
// modification time. False with error on failure.
bool CopyFileSafely(const QString &source, const QString &target, std::atomic<qint64> &done,
                    const std::atomic<bool> &cancel, QString &error, bool durable = false);

// Whether two files hold the same bytes.
bool SameContents(const QString &a, const QString &b);

enum TFileOpKind { foCopy, foMove };

// One file to copy or move, with whether it may replace a file already at the target.
struct TFileOpItem
{
    QString Source;
    QString Target;
    bool Replace = false;
};

// A copy or move of several files, run on a worker thread while the user interface
// watches Done, Total and Current and may set Cancel. A move within one volume renames;
// between volumes it copies, checks the copy against the source, and only then removes
// the source. Errors collects one message per file that could not be done; the others
// go ahead.
class TFileOperation
{
public:
    TFileOperation(TFileOpKind kind, QList<TFileOpItem> items);

    void Run();

    const TFileOpKind Kind;
    const QList<TFileOpItem> Items;
    qint64 Total = 0;
    std::atomic<qint64> Done{0};
    std::atomic<int> Current{0};
    std::atomic<bool> Cancel{false};
    std::atomic<bool> Finished{false};
    QStringList Errors;
    bool Cancelled() const { return Cancel.load(); }

private:
    bool moveOne(const TFileOpItem &item, QString &error);
};
