// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/HelpTopic.h"

namespace {

std::function<void(int)> &handler()
{
    static std::function<void(int)> h;
    return h;
}

} // namespace

void OpenHelpTopic(int topic)
{
    if (handler())
        handler()(topic);
}

void SetHelpHandler(std::function<void(int topic)> h)
{
    handler() = std::move(h);
}
