// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QRectF>
#include <QSize>
#include <QString>

class QPainter;

// A Windows metafile (WMF, with or without the placeable header), played on a QPainter
// at whatever size it is shown, so it stays sharp. The records are checked when the file
// is read; playing never reads outside them.
class TMetafile
{
public:
    // Reads a metafile; on failure the result is empty and why tells the reason.
    static TMetafile fromData(const QByteArray &data, QString *why = nullptr);

    bool isEmpty() const { return m_records.isEmpty(); }
    // The size it is meant to be shown at, in pixels at 96 dots per inch.
    QSize size() const { return m_size; }

    // Draws the whole metafile into target.
    void play(QPainter &painter, const QRectF &target) const;

private:
    QByteArray m_records; // from the first record to the end of the last
    QRectF m_frame;       // the logical area the metafile draws in
    QSize m_size;
    int m_objects = 0; // size of the object table
};
