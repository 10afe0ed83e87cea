// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/FileMask.h"

#include "platform/Platform.h"

namespace {

bool isPlainSuffixMask(const QString &mask)
{
    if (!mask.startsWith(QLatin1String("*.")) || mask.size() < 3)
        return false;
    for (qsizetype i = 2; i < mask.size(); ++i) {
        const QChar c = mask.at(i);
        if (c == u'*' || c == u'?' || c == u'[' || c == u'.')
            return false;
    }
    return true;
}

} // namespace

FileMask::FileMask(const QString &maskList)
{
    for (const QString &part : maskList.split(u';', Qt::SkipEmptyParts)) {
        const QString mask = part.trimmed();
        if (mask.isEmpty())
            continue;
        if (mask == QLatin1String("*") || mask == QLatin1String("*.*")) {
            m_all = true;
        } else if (isPlainSuffixMask(mask)) {
            m_suffixes.insert(CanonicalSuffix(mask.mid(2)));
        } else {
            m_patterns.append(
                QRegularExpression(QRegularExpression::wildcardToRegularExpression(
                                       mask, QRegularExpression::UnanchoredWildcardConversion),
                                   QRegularExpression::CaseInsensitiveOption));
            m_patterns.last().setPattern(u'^' + m_patterns.last().pattern() + u'$');
        }
    }
    if (m_suffixes.isEmpty() && m_patterns.isEmpty())
        m_all = true;
}

bool FileMask::matches(const QString &name) const
{
    if (m_all)
        return true;
    // "*.JPG" lists ".jpeg" and ".jpe" files too, "*.TIF" ".tiff" ones.
    const QString suffix = KindSuffix(name);
    if (!suffix.isEmpty() && m_suffixes.contains(suffix))
        return true;
    for (const QRegularExpression &pattern : m_patterns) {
        if (pattern.match(name).hasMatch())
            return true;
    }
    return false;
}
