// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QWindow;

// Keeps the user with one window of the program: while held, no key or click reaches
// another program or the desktop, and the window is kept mapped, full screen, on top and
// active, whatever hides it from outside. Windows the program opens over it meanwhile (a
// password prompt) get their keys and clicks as usual, so the hold never changes hands.
class InputLock : public QObject
{
    Q_OBJECT
public:
    explicit InputLock(QObject *parent = nullptr);
    ~InputLock() override;

    // Empty when this session can hold the lock; otherwise why not, as a sentence for the
    // user.
    static QString Unavailable();

    // Starts the hold for window. When the display is busy (another program holds the
    // keyboard for a moment) it tries again for two seconds before it reports refused().
    // False at once when the session cannot lock at all.
    bool hold(QWindow *window);
    void release();
    // Whether keyboard and pointer are held now.
    bool holding() const;

Q_SIGNALS:
    void refused(const QString &why);

private:
    class Private;
    std::unique_ptr<Private> d;
};
