// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/TFilterComboBox.h"

TFilterComboBox::TFilterComboBox(QWidget *parent)
    : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, [this] { Q_EMIT MaskChanged(Mask()); });
}

void TFilterComboBox::setFilter(const QString &filter)
{
    m_filter = filter;
    const QSignalBlocker blocker(this);
    clear();
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        addItem(parts.at(i), parts.at(i + 1));
    setCurrentIndex(count() > 0 ? 0 : -1);
}

QString TFilterComboBox::Mask() const
{
    return currentData().toString();
}
