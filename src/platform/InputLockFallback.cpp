// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InputLock.h"

class InputLock::Private
{};

InputLock::InputLock(QObject *parent)
    : QObject(parent)
{}

InputLock::~InputLock() = default;

QString InputLock::Unavailable()
{
    return QStringLiteral("this system gives programs no way to keep the keyboard to themselves.");
}

bool InputLock::hold(QWindow *)
{
    return false;
}

void InputLock::release() {}

bool InputLock::holding() const
{
    return false;
}
