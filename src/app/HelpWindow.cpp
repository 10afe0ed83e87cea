// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HelpWindow.h"

#include <QFile>
#include <QHBoxLayout>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include "toolkit/MessageDlg.h"

namespace {

QUrl topicUrl(int topic)
{
    return QUrl(QStringLiteral("qrc:/help/%1.html").arg(topic));
}

const QUrl ContentsUrl(QStringLiteral("qrc:/help/contents.html"));

} // namespace

THelpWindow::THelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(ApplicationTitle + QStringLiteral(" Help"));
    resize(520, 440);
    auto *layout = new QVBoxLayout(this);
    auto *bar = new QHBoxLayout;
    ContentsBtn = new QToolButton(this);
    ContentsBtn->setText(QStringLiteral("&Contents"));
    BackBtn = new QToolButton(this);
    BackBtn->setText(QStringLiteral("&Back"));
    bar->addWidget(ContentsBtn);
    bar->addWidget(BackBtn);
    bar->addStretch();
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("HelpBrowser"));
    Browser->setOpenExternalLinks(false);
    layout->addLayout(bar);
    layout->addWidget(Browser);
    connect(ContentsBtn, &QToolButton::clicked, this, &THelpWindow::ShowContents);
    connect(BackBtn, &QToolButton::clicked, Browser, &QTextBrowser::backward);
    connect(Browser, &QTextBrowser::backwardAvailable, BackBtn, &QToolButton::setEnabled);
    BackBtn->setEnabled(false);
}

bool THelpWindow::TopicExists(int topic)
{
    return QFile::exists(QStringLiteral(":/help/%1.html").arg(topic));
}

void THelpWindow::ShowTopic(int topic)
{
    if (!TopicExists(topic)) {
        ShowContents();
        return;
    }
    Browser->setSource(topicUrl(topic));
    show();
    raise();
    activateWindow();
}

void THelpWindow::ShowContents()
{
    Browser->setSource(ContentsUrl);
    show();
    raise();
    activateWindow();
}

int THelpWindow::CurrentTopic() const
{
    const QString name = Browser->source().fileName();
    return name.section(u'.', 0, 0).toInt();
}
