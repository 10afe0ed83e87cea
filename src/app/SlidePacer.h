// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

// Keeps a slideshow on time: a picture's time counts from when it appears, and opening
// the next one takes time too, so the timer is set that much shorter. The cost of opening
// is taken as the least of the last few opens: a picture decoded ahead opens in a few
// milliseconds, and one slow open (a picture that was not ready) must not cut the next
// picture's time short.
class SlidePacer
{
public:
    // How long the last open took.
    void opened(int milliseconds);
    // The timer interval that shows a picture for showMs from its appearance.
    int interval(int showMs) const;
    void reset();

private:
    std::array<int, 3> m_recent{};
    int m_count = 0;
};
