// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

// The media-type box: one entry per description of a filter written as
// "description|mask list|description|mask list".
class TFilterComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TFilterComboBox(QWidget *parent = nullptr);

    QString Filter() const { return m_filter; }
    void setFilter(const QString &filter);

    // Mask list of the chosen entry, empty when there is none.
    QString Mask() const;

Q_SIGNALS:
    void MaskChanged(const QString &mask);

private:
    QString m_filter;
};
