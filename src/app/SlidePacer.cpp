// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SlidePacer.h"

#include <algorithm>

void SlidePacer::opened(int milliseconds)
{
    m_recent[static_cast<size_t>(m_count % int(m_recent.size()))] = std::max(0, milliseconds);
    ++m_count;
}

int SlidePacer::interval(int showMs) const
{
    if (m_count == 0)
        return showMs;
    const auto filled = m_recent.begin() + std::min(m_count, int(m_recent.size()));
    const int cost = *std::min_element(m_recent.begin(), filled);
    return std::max(0, showMs - cost);
}

void SlidePacer::reset()
{
    m_count = 0;
}
