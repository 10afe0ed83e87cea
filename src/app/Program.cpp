// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Program.h"

#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QIcon>

#include "app/CmdLine.h"
#include "app/Main.h"
#include "app/Splash.h"

int KorvidMain(int argc, char **argv)
{
    // Answered before any window system is needed, so they work on a bare terminal.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(CmdLineUsage().toLocal8Bit().constData(), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts(KORVID_VERSION_TEXT);
            return 0;
        }
    }

    // Sound and video go through GStreamer unless the user chose another backend.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvid"));
    QApplication::setApplicationVersion(QStringLiteral(KORVID_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral("io.github.korvid.korvid"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/korvid.svg")));

    auto *splash = new TSplashForm;
    splash->ShowNow();

    TKorvidForm KorvidForm(QApplication::arguments().mid(1));
    KorvidForm.show();

    splash->hide();
    delete splash;
    return QApplication::exec();
}
