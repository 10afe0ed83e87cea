// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QString>

// A mask list such as "*.BMP;*.GIF;" matched against file names without regard to case.
// Masks of the common "*.EXT" form are answered from a set of extensions, so a folder of
// a hundred thousand files is filtered in a few milliseconds; any other wildcard pattern
// falls back to a regular expression.
class FileMask
{
public:
    // An empty list, or one holding "*" or "*.*", lets every name through.
    explicit FileMask(const QString &maskList = QString());

    bool matches(const QString &name) const;

private:
    bool m_all = false;
    QSet<QString> m_suffixes; // upper case, without the dot
    QList<QRegularExpression> m_patterns;
};
