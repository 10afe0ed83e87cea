// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// copy_1gib_vs_cp: a 1 GiB file copied by the file manager's service against cp.
void RunFileBenchmarks();
