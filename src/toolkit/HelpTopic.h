// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

// Every help button and F1 key of the program opens its topic through here; the main
// window installs the help window as the handler. Without a handler nothing happens.
void OpenHelpTopic(int topic);
void SetHelpHandler(std::function<void(int topic)> handler);
