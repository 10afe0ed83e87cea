// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The access password: scrambling and the three password dialogs.
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <random>

#include "common/TestDir.h"
#include "common/WidgetTestHelpers.h"
#include "options/CheckPW.h"
#include "options/Scramble.h"
#include "options/SetPW.h"
#include "options/VerifyPW.h"
#include "toolkit/IniFile.h"
#include "toolkit/MessageDlg.h"

namespace {

bool storable(const QString &stored)
{
    for (const QChar c : stored) {
        if (c.isSpace() || c.category() == QChar::Other_Control || c == u'=' || c == u'['
            || c == u']')
            return false;
    }
    return true;
}

} // namespace

class TestPassword : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { IsolateHome(); }

    void scrambling()
    {
        QCOMPARE(ScramblePassword(QString()), QString());
        QCOMPARE(ScramblePassword(QStringLiteral("secret")).size(), 6);
        QCOMPARE(ScramblePassword(QStringLiteral("secret")), ScramblePassword("SeCrEt"));
        QVERIFY(ScramblePassword(QStringLiteral("secret")) != ScramblePassword("secreu"));
        QVERIFY(PasswordMatches(QStringLiteral("SECRET"), ScramblePassword("secret")));
        QVERIFY(PasswordMatches(QString(), QString()));

        // Allowed bytes stay allowed, one for one.
        QByteArray allowed;
        for (int b = 0; b < 256; ++b) {
            if (ScrambleByteAllowed(uchar(b)))
                allowed.append(char(b));
        }
        const QByteArray scrambled = ScrambleBytes(allowed.left(20));
        QCOMPARE(scrambled.size(), 20);
        for (const char b : scrambled)
            QVERIFY(ScrambleByteAllowed(uchar(b)));
        QVERIFY(!ScrambleByteAllowed(' ') && !ScrambleByteAllowed('=') && !ScrambleByteAllowed(0x7F)
                && !ScrambleByteAllowed(0x85) && !ScrambleByteAllowed(0xA0));
        QVERIFY(ScrambleByteAllowed(0x91) && ScrambleByteAllowed(0xFF));
    }

    void differentPasswordsNeverMeet()
    {
        // "=" next to "?" once met after the first exclusive-or; spaces, brackets and
        // letters beyond ASCII are written out before scrambling.
        QVERIFY(ScramblePassword(QStringLiteral("A=")) != ScramblePassword(QStringLiteral("A?")));
        QVERIFY(ScramblePassword(QStringLiteral("a b"))
                != ScramblePassword(QStringLiteral("a~20b")));
        QHash<QString, QString> seen;
        const QString alphabet = QStringLiteral(" !\"#=?[]~^0aZ\u00e9\u00fc\u20ac\u4e2d");
        for (const QChar a : alphabet) {
            for (const QChar b : alphabet) {
                for (const QChar c : alphabet) {
                    const QString password = QString(a) + b + c;
                    const QString stored = ScramblePassword(password);
                    QVERIFY2(storable(stored), qPrintable(password));
                    const QString previous = seen.value(stored);
                    QVERIFY2(previous.isNull() || previous.toUpper() == password.toUpper(),
                             qPrintable(previous + " / " + password));
                    seen.insert(stored, password);
                }
            }
        }
        std::mt19937 random(11);
        for (int i = 0; i < 2000; ++i) {
            QString password;
            const int length = 1 + int(random() % 20);
            for (int j = 0; j < length; ++j)
                password.append(QChar(char16_t(0x20 + random() % 0x2FF)));
            QVERIFY2(storable(ScramblePassword(password)), qPrintable(password));
        }
    }

    void storedFormSurvivesTheSettingsFile()
    {
        TestDir dir;
        const QString path = dir.filePath(QStringLiteral("KORVID.INI"));
        const QStringList passwords = {
            "a", "secret", "P4ss W0rd!", "=[]=", "  x  ", "\u00e9t\u00e9", "12345678901234567890"};
        {
            IniFile ini(path);
            for (qsizetype i = 0; i < passwords.size(); ++i)
                ini.writeString(QStringLiteral("Korvid32"), QStringLiteral("Options%1").arg(i),
                                ScramblePassword(passwords.at(i)));
            QVERIFY(ini.save());
        }
        const IniFile ini(path);
        for (qsizetype i = 0; i < passwords.size(); ++i)
            QCOMPARE(ini.readString(QStringLiteral("Korvid32"), QStringLiteral("Options%1").arg(i),
                                    QString()),
                     ScramblePassword(passwords.at(i)));
    }

    void setPasswordDialog()
    {
        QList<MessageDlgCall> messages;
        SetMessageDlgScript([&](const MessageDlgCall &call) {
            messages.append(call);
            return QMessageBox::Ok;
        });
        TSetPWDlg dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Set Password"));
        QCOMPARE(dialog.PasswordEB1->maxLength(), 20);
        QCOMPARE(dialog.PasswordEB1->echoMode(), QLineEdit::Password);

        // The same letters in two cases are two different entries: refused, the dialog
        // stays with empty fields; then a good pair is taken.
        whenShown(&dialog, [&] {
            dialog.PasswordEB1->setText(QStringLiteral("secret"));
            dialog.PasswordEB2->setText(QStringLiteral("SECRET"));
            dialog.OKBtn->click();
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.PasswordEB1->text(), QString());
            QCOMPARE(dialog.PasswordEB2->text(), QString());
            dialog.OKBtn->click(); // empty
            QVERIFY(dialog.isVisible());
            dialog.PasswordEB1->setText(QStringLiteral("secret"));
            dialog.PasswordEB2->setText(QStringLiteral("secret"));
            dialog.OKBtn->click();
        });
        QVERIFY(dialog.SetNewPassword());
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages.first().caption, QStringLiteral("Password Error"));
        QCOMPARE(messages.first().text, QStringLiteral("You entered an invalid password."));
        QCOMPARE(dialog.StoredPassword, ScramblePassword(QStringLiteral("secret")));

        // Cancel (and Esc) always close, with no new password.
        whenShown(&dialog, [&] {
            dialog.PasswordEB1->setText(QStringLiteral("other"));
            dialog.CancelBtn->click();
        });
        QVERIFY(!dialog.SetNewPassword());
        whenShown(&dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
        QVERIFY(!dialog.SetNewPassword());
        QCOMPARE(dialog.StoredPassword, ScramblePassword(QStringLiteral("secret")));
        SetMessageDlgScript({});
    }

    void checkAndVerifyDialogs()
    {
        TCheckPWDlg check;
        QVERIFY(check.windowTitle().trimmed().isEmpty());
        check.Password = ScramblePassword(QStringLiteral("open sesame"));
        // Cancel with the right password (in another case) is OK.
        whenShown(&check, [&] {
            check.PasswordEB->setText(QStringLiteral("OPEN Sesame"));
            check.CancelBtn->click();
        });
        QCOMPARE(check.exec(), int(QDialog::Accepted));
        // OK with a wrong one is Cancel; the entry is emptied at every showing.
        whenShown(&check, [&] {
            QCOMPARE(check.PasswordEB->text(), QString());
            check.PasswordEB->setText(QStringLiteral("open sesam"));
            check.OKBtn->click();
        });
        QCOMPARE(check.exec(), int(QDialog::Rejected));
        // No password set: an empty entry is accepted.
        check.Password.clear();
        whenShown(&check, [&] { check.OKBtn->click(); });
        QCOMPARE(check.exec(), int(QDialog::Accepted));

        TVerifyPWDlg verify;
        QCOMPARE(verify.windowTitle(), QStringLiteral("Verify Password"));
        verify.StoredPassword = ScramblePassword(QStringLiteral("abc"));
        whenShown(&verify, [&] {
            verify.PasswordEB->setText(QStringLiteral("ABC"));
            verify.CancelBtn->click();
        });
        QVERIFY(verify.VerifyPassword());
        whenShown(&verify, [&] {
            verify.PasswordEB->setText(QStringLiteral("abd"));
            verify.OKBtn->click();
        });
        QVERIFY(!verify.VerifyPassword());
    }
};

QTEST_MAIN(TestPassword)
#include "tst_password.moc"
