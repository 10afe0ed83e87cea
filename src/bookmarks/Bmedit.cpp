// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "bookmarks/Bmedit.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "toolkit/FixedDialog.h"
#include "toolkit/HelpTopic.h"

namespace {

constexpr int MaxField = 255;
constexpr int HelpTopic = 113;

} // namespace

TBMEditDlg::TBMEditDlg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("BMEditDlg"));
    setWindowTitle(QStringLiteral("Bookmark Edit"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *layout = new QVBoxLayout(this);
    NameLabel = new QLabel(QStringLiteral("Name:"), this);
    NameEB = new QLineEdit(this);
    NameEB->setObjectName(QStringLiteral("NameEB"));
    PathLabel = new QLabel(QStringLiteral("Path:"), this);
    PathEB = new QLineEdit(this);
    PathEB->setObjectName(QStringLiteral("PathEB"));
    for (QLineEdit *edit : {NameEB, PathEB}) {
        edit->setMaxLength(MaxField);
        edit->setMinimumWidth(300);
    }
    NameLabel->setBuddy(NameEB);
    PathLabel->setBuddy(PathEB);
    auto *buttons = new QDialogButtonBox(this);
    OKBtn = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    OKBtn->setDefault(true);
    CancelBtn = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    HelpBtn = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(HelpBtn, &QPushButton::clicked, this, [] { OpenHelpTopic(HelpTopic); });
    for (QWidget *w : {static_cast<QWidget *>(NameLabel), static_cast<QWidget *>(NameEB),
                       static_cast<QWidget *>(PathLabel), static_cast<QWidget *>(PathEB),
                       static_cast<QWidget *>(buttons)})
        layout->addWidget(w);
    MakeFixedDialog(this);
}

void TBMEditDlg::setFields(const QString &name, const QString &path)
{
    NameEB->setText(name);
    PathEB->setText(path);
}

QString TBMEditDlg::Name() const
{
    return NameEB->text();
}

QString TBMEditDlg::Path() const
{
    return PathEB->text();
}

void TBMEditDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    NameEB->setFocus();
    NameEB->selectAll();
}
