// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/About.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *layout = new QVBoxLayout(this);
    auto *picture = new QLabel(this);
    picture->setPixmap(QIcon(QStringLiteral(":/icons/korvid.svg")).pixmap(64, 64));
    picture->setAlignment(Qt::AlignCenter);
    ProductName = new QLabel(this);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    QFont big = ProductName->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    ProductName->setFont(big);
    Version = new QLabel(this);
    Version->setObjectName(QStringLiteral("Version"));
    Comments = new QLabel(QStringLiteral("Free software under the GNU General Public License, "
                                         "version 3 or later."),
                          this);
    Comments->setObjectName(QStringLiteral("Comments"));
    Comments->setWordWrap(true);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    for (QLabel *label : {ProductName, Version, Comments})
        label->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);
    layout->addWidget(ProductName);
    layout->addWidget(Version);
    layout->addWidget(Comments);
    layout->addWidget(OKButton, 0, Qt::AlignCenter);
}
