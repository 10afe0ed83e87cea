// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QMimeData;
class QObject;

// Drags between the program's own lists carry the full paths of the dragged files and
// which list they came from (a directory list drags no files). The paths are offered to
// other programs as URLs as well.
namespace FileDrag {

// The MIME type of the path list: full paths, one per line.
QString filesType();

// A new drag payload of these files from source.
QMimeData *create(const QStringList &paths, const QObject *source);

// The dragged paths; empty for a drag from anywhere else.
QStringList files(const QMimeData *data);

// True when the drag was started by source in this process.
bool isFrom(const QMimeData *data, const QObject *source);

} // namespace FileDrag
