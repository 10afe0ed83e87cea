// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window, on a real X server, shows a photograph that carries a colour profile
// in the screen's colours: sRGB unless platform.ini names a profile or the X root window
// carries one.
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QTest>

#include <cstdlib>

#include <xcb/xcb.h>

#include "common/ImageCompare.h"
#include "common/MainFormFixture.h"
#include "common/TestDir.h"
#include "common/XSession.h"
#include "display/TMultiMP.h"
#include "display/codec/ColorProfile.h"
#include "platform/Platform.h"

namespace {

const QString Adobe = QStringLiteral("/usr/share/color/icc/colord/AdobeRGB1998.icc");
const QString Srgb = QStringLiteral("/usr/share/color/icc/colord/sRGB.icc");

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit
           && process.exitCode() == 0;
}

void writePlatformIni(const QByteArray &contents)
{
    TestDir::writeFile(QDir(ConfigDir()).filePath(QStringLiteral("platform.ini")), contents);
}

// Sets or removes the root window's _ICC_PROFILE, as a colour tool of the desktop does.
bool setRootProfile(const QByteArray &profile)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    if (!c)
        return false;
    static const char Name[] = "_ICC_PROFILE";
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof Name - 1, Name), nullptr);
    if (!atom)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_void_cookie_t done =
        profile.isEmpty()
            ? xcb_delete_property_checked(c, root, atom->atom)
            : xcb_change_property_checked(c, XCB_PROP_MODE_REPLACE, root, atom->atom,
                                          XCB_ATOM_CARDINAL, 8, uint32_t(profile.size()),
                                          profile.constData());
    std::free(atom);
    xcb_generic_error_t *error = xcb_request_check(c, done);
    std::free(error);
    return error == nullptr;
}

QImage shownPicture(TKorvidForm &form)
{
    return form.Image1->Picture().image().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestColorWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        REQUIRE_XSESSION();
        IsolateHome();
        if (!QFile::exists(Adobe) || !QFile::exists(Srgb))
            QSKIP("colord-data's profiles are needed");
        if (!run(QStringLiteral("convert"), {QStringLiteral("-version")}))
            QSKIP("ImageMagick's convert is needed to make the photograph");
        // A 3000 x 2000 photograph in Adobe RGB, and ImageMagick's sRGB rendering of it.
        const QString plain = m_dir.filePath(QStringLiteral("plain.png"));
        QImage picture(3000, 2000, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb(x * 255 / 2999, y * 255 / 1999, (x + y) % 256));
        QVERIFY(picture.save(plain));
        m_photo = m_dir.filePath(QStringLiteral("adobe.jpg"));
        QVERIFY(run(QStringLiteral("convert"),
                    {plain, QStringLiteral("-profile"), Adobe, QStringLiteral("-quality"),
                     QStringLiteral("95"), m_photo}));
        const QString rendered = m_dir.filePath(QStringLiteral("srgb.png"));
        QVERIFY(
            run(QStringLiteral("convert"), {m_photo, QStringLiteral("-profile"), Srgb, rendered}));
        m_srgb = QImage(rendered).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(m_srgb.size(), QSize(3000, 2000));
    }

    void cleanup()
    {
        writePlatformIni({});
        setRootProfile({});
    }

    // Opened from the command line on a screen without a profile: sRGB.
    void shownInSrgb()
    {
        auto form = shownForm({m_photo});
        QTRY_VERIFY_WITH_TIMEOUT(form->Image1->HasWholePicture(), 10000);
        const int worst = MaxDifference(shownPicture(*form), m_srgb);
        QVERIFY2(worst >= 0 && worst <= 2, qPrintable(QString::number(worst)));
    }

    // A screen whose profile is the photograph's own (named in platform.ini, or carried
    // by the root window) shows the photograph's values as stored.
    void screenProfile_data()
    {
        QTest::addColumn<bool>("fromRootWindow");
        QTest::newRow("platform.ini") << false;
        QTest::newRow("root window") << true;
    }

    void screenProfile()
    {
        QFETCH(bool, fromRootWindow);
        const QByteArray adobe = TestDir::readFile(Adobe);
        if (fromRootWindow)
            QVERIFY(setRootProfile(adobe));
        else
            writePlatformIni("[Display]\nProfile=" + Adobe.toUtf8() + "\n");
        auto form = shownForm({m_photo});
        QCOMPARE(DisplayProfile(), adobe);
        QTRY_VERIFY_WITH_TIMEOUT(form->Image1->HasWholePicture(), 10000);
        // Qt's reader leaves the values as stored; they are far from the sRGB rendering.
        const QImage stored = QImage(m_photo).convertToFormat(QImage::Format_RGB32);
        QVERIFY(MaxDifference(stored, m_srgb) > 10);
        QCOMPARE(MaxDifference(shownPicture(*form), stored), 0);
    }

    // On a screen in Adobe RGB the print, whose page carries no profile, is in sRGB.
    void printedInSrgb()
    {
        writePlatformIni("[Display]\nProfile=" + Adobe.toUtf8() + "\n");
        auto form = shownForm({m_photo});
        QTRY_VERIFY_WITH_TIMEOUT(form->Image1->HasWholePicture(), 10000);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = m_dir.filePath(QStringLiteral("print.pdf"));
        printer.setOutputFileName(pdf);
        QString error;
        QVERIFY2(form->Image1->PrintPicture(&printer, 0, 0, 0, 0, &error), qPrintable(error));
        const QString prefix = m_dir.filePath(QStringLiteral("printed"));
        if (!run(QStringLiteral("pdfimages"), {QStringLiteral("-png"), pdf, prefix}))
            QSKIP("pdfimages (poppler-utils) is needed to look into the print");
        const QImage printed =
            QImage(prefix + QStringLiteral("-000.png")).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(printed.size(), m_srgb.size());
        const int worst = MaxDifference(printed, m_srgb);
        QVERIFY2(worst >= 0 && worst <= 2, qPrintable(QString::number(worst)));
    }

private:
    TestDir m_dir;
    QString m_photo;
    QImage m_srgb;
};

KORVID_XSESSION_MAIN(TestColorWindow)
#include "tst_colorwindow.moc"
