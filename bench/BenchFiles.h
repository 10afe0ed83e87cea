// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <vector>

// A large synthetic photograph-like picture: smooth gradients with fine noise, so that
// compressed formats have real work to do.
QImage BenchPicture(int width, int height);

// Writes picture as a 24-bit PCX (three planes, run-length coded); false on failure.
bool WritePcx24(const QImage &picture, const QString &path);

// The best of runs timings of work, in seconds.
double BestSeconds(int runs, const std::function<void()> &work);

// Runs the event loop until done() holds or timeoutMs pass; false on timeout.
bool SpinUntil(const std::function<bool()> &done, int timeoutMs);

// The middle value (the upper one of an even count); 0 for none.
double Median(std::vector<double> values);
