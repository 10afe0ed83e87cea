// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What GStreamer, the engine under Qt Multimedia here, can play.
#include "platform/Platform.h"

#include <QDir>
#include <QStandardPaths>

#include <mutex>

#include <gst/gst.h>

namespace {

bool engineReady()
{
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = gst_init_check(nullptr, nullptr, nullptr); });
    return ready;
}

bool hasElement(const char *name)
{
    GstElementFactory *factory = gst_element_factory_find(name);
    if (!factory)
        return false;
    gst_object_unref(factory);
    return true;
}

// The MIDI synthesizer needs a SoundFont where it looks for one.
bool hasSoundFont()
{
    QStringList dirs;
    for (const QString &data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        dirs << data + QStringLiteral("/sounds/sf2") << data + QStringLiteral("/soundfonts");
    dirs << QStringLiteral("/usr/share/sounds/sf2") << QStringLiteral("/usr/share/soundfonts");
    for (const QString &dir : dirs) {
        if (!QDir(dir)
                 .entryList({QStringLiteral("*.sf2"), QStringLiteral("*.SF2")}, QDir::Files)
                 .isEmpty())
            return true;
    }
    return false;
}

} // namespace

bool MediaEngineCanPlay(const QString &extension)
{
    if (!engineReady())
        return false;
    if (extension == QLatin1String("WAV"))
        return hasElement("wavparse");
    if (extension == QLatin1String("MID") || extension == QLatin1String("RMI"))
        return hasElement("midiparse") && hasElement("fluiddec") && hasSoundFont();
    if (extension == QLatin1String("AVI"))
        return hasElement("avidemux");
    if (extension == QLatin1String("MOV"))
        return hasElement("qtdemux");
    return false;
}
