// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QTextBrowser;
class QToolButton;

// The program's help: HTML topics compiled into the program, opened by their numbers,
// with a contents page and links between them.
class THelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit THelpWindow(QWidget *parent = nullptr);

    // Shows the topic; an unknown number shows the contents.
    void ShowTopic(int topic);
    void ShowContents();
    // The topic shown, 0 for the contents.
    int CurrentTopic() const;

    static bool TopicExists(int topic);

    QTextBrowser *Browser;
    QToolButton *ContentsBtn;
    QToolButton *BackBtn;
};
