// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

// Heap bytes in use by the whole process (every library's malloc included), counted by
// this program's own malloc, and the most in use since the last reset.
std::size_t HeapInUse();
std::size_t HeapPeak();
void ResetHeapPeak();
// The most the heap grew above its lowest point before, since ResetHeapPeak: what a task
// took even where it first freed what came before it.
std::size_t HeapRise();
