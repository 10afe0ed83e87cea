// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/FileDrag.h"

#include <QCoreApplication>
#include <QMimeData>
#include <QUrl>

namespace {

const QString SourceType = QStringLiteral("application/x-korvid-drag-source");

// Names the source uniquely among running programs: a drop may land in another instance.
QByteArray sourceId(const QObject *source)
{
    return QByteArray::number(QCoreApplication::applicationPid()) + ':'
           + QByteArray::number(reinterpret_cast<quintptr>(source), 16);
}

} // namespace

namespace FileDrag {

QString filesType()
{
    return QStringLiteral("application/x-korvid-files");
}

QMimeData *create(const QStringList &paths, const QObject *source)
{
    auto *data = new QMimeData;
    data->setData(filesType(), paths.join(u'\n').toUtf8());
    data->setData(SourceType, sourceId(source));
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    if (!urls.isEmpty())
        data->setUrls(urls);
    return data;
}

QStringList files(const QMimeData *data)
{
    if (!data || !data->hasFormat(filesType()))
        return {};
    return QString::fromUtf8(data->data(filesType())).split(u'\n', Qt::SkipEmptyParts);
}

bool isFrom(const QMimeData *data, const QObject *source)
{
    return data && source && data->hasFormat(SourceType)
           && data->data(SourceType) == sourceId(source);
}

} // namespace FileDrag
