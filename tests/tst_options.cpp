// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The options dialog: what it shows and greys, what OK writes and what takes effect at
// once, the password controls, and its opening from both windows.
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "common/MainFormFixture.h"
#include "common/TestDir.h"
#include "common/WidgetTestHelpers.h"
#include "files/MMManager.h"
#include "files/MMOpen.h"
#include "options/OptionsDlg.h"
#include "options/SetPW.h"
#include "options/VerifyPW.h"
#include "toolkit/FileDrag.h"
#include "toolkit/MessageDlg.h"
#include "toolkit/TDirectoryListBox.h"
#include "toolkit/TFileListBox.h"
#include "toolkit/TFilterComboBox.h"

namespace {

// The set-password dialog answered with text twice (OK), or cancelled when text is empty.
void answerSetPassword(const QString &text)
{
    onModal<TSetPWDlg>([text](TSetPWDlg *dialog) {
        if (text.isEmpty()) {
            dialog->CancelBtn->click();
            return;
        }
        dialog->PasswordEB1->setText(text);
        dialog->PasswordEB2->setText(text);
        dialog->OKBtn->click();
    });
}

} // namespace

class TestOptions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { IsolateHome(); }
    void init()
    {
        m_messages.clear();
        SetMessageDlgScript([this](const MessageDlgCall &call) {
            m_messages.append(call.caption + u'/' + call.text);
            return QMessageBox::Ok;
        });
    }
    void cleanup() { SetMessageDlgScript({}); }

    void showingReadsAndGreys()
    {
        TOptionsSettings settings;
        settings.FullScreen = true;
        settings.PasswordProtect = true;
        settings.Password = QStringLiteral("stored");
        settings.SoundDisplay = 9;
        settings.VideoScale = 4;
        {
            // A show runs: the three boxes and so the password controls are greyed.
            TOptionsNotebookDlg dialog(settings);
            dialog.ShowRunning = true;
            dialog.ManagerVisible = true;
            dialog.show();
            for (QCheckBox *box : {dialog.AutoPlayMMCB, dialog.AutoRepeatMMCB, dialog.FullScrnCB})
                QVERIFY(!box->isEnabled());
            QVERIFY(dialog.FullScrnCB->isChecked());
            QVERIFY(!dialog.PasswordCB->isEnabled());
            QVERIFY(!dialog.PasswordBtn->isEnabled());
            QVERIFY(!dialog.HideCPCB->isEnabled());
            QVERIFY(dialog.NoImageRB->isChecked());
            QCOMPARE(dialog.SoundChoice, 0);
            QCOMPARE(dialog.MMScaleLabel->text(), QStringLiteral("4X"));
            QCOMPARE(dialog.StoredPassword, QStringLiteral("stored"));
            // Only the delete confirmation is offered.
            QVERIFY(dialog.CopyConfirmCB->isHidden() && dialog.OverwriteCB->isHidden());
            QVERIFY(dialog.DeleteConfirmCB->geometry().bottom()
                    <= dialog.ConfirmGB->contentsRect().bottom());
            QVERIFY(dialog.ConfirmGB->height() < 80);
        }
        settings.FullScreen = false;
        TOptionsNotebookDlg dialog(settings);
        dialog.show();
        QVERIFY(dialog.FullScrnCB->isEnabled());
        QVERIFY(dialog.HideCPCB->isEnabled());
        for (QWidget *control :
             {static_cast<QWidget *>(dialog.PasswordCB), static_cast<QWidget *>(dialog.PasswordBtn),
              static_cast<QWidget *>(dialog.ShowProgressCB),
              static_cast<QWidget *>(dialog.ShowFileNameCB)})
            QVERIFY(!control->isEnabled());
        // Full screen switched on brings them back.
        dialog.FullScrnCB->click();
        QVERIFY(dialog.PasswordCB->isEnabled() && dialog.PasswordBtn->isEnabled());
        QVERIFY(dialog.ShowProgressCB->isEnabled() && dialog.ShowFileNameCB->isEnabled());

        // The wallpaper greys the image name and Browse; a chosen image brings them.
        dialog.WallPaperRB->click();
        QCOMPARE(dialog.SoundChoice, 1);
        QVERIFY(!dialog.ImageEB->isEnabled() && !dialog.SelectBtn->isEnabled());
        dialog.UserImageRB->click();
        QCOMPARE(dialog.SoundChoice, 2);
        QVERIFY(dialog.ImageEB->isEnabled() && dialog.SelectBtn->isEnabled());
    }

    void okWritesAndCancelKeepsTheImmediate()
    {
        TOptionsSettings settings;
        settings.ShowTime = 3;
        {
            TOptionsNotebookDlg dialog(settings);
            dialog.show();
            dialog.ShowTimeSE->setValue(9);
            dialog.MMScaleSB->setValue(7);
            QCOMPARE(dialog.MMScaleLabel->text(), QStringLiteral("7X"));
            dialog.DeleteConfirmCB->click();
            dialog.HideCPCB->click();
            dialog.CancelBtn->click();
        }
        QCOMPARE(settings.ShowTime, 3);
        QCOMPARE(settings.VideoScale, 1);
        QVERIFY(!settings.ConfirmDelete);
        QVERIFY(!settings.HideControlPanel);

        TOptionsNotebookDlg dialog(settings);
        dialog.show();
        QVERIFY(!dialog.DeleteConfirmCB->isChecked());
        dialog.MMScaleSB->setValue(7);
        dialog.ShowTimeSE->setValue(12);
        dialog.BottomTB->click();
        dialog.FullScrnCB->click();
        dialog.ShowFileNameCB->click();
        onModal<QColorDialog>([](QColorDialog *colours) {
            colours->setCurrentColor(QColor(10, 200, 30));
            colours->accept();
        });
        dialog.BGColorBtn->click();
        onModal<QColorDialog>([](QColorDialog *colours) { colours->reject(); });
        dialog.ListBGColorBtn->click();
        dialog.OKBtn->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(settings.VideoScale, 7);
        QCOMPARE(settings.ShowTime, 12);
        QVERIFY(!settings.BottomToolBar);
        QVERIFY(settings.FullScreen);
        QVERIFY(settings.ShowFileName);
        QCOMPARE(ColorFromPlatform(settings.BackGround), QColor(10, 200, 30));
        QCOMPARE(settings.ListBackGround, ClBtnFace);
    }

    void passwordControls()
    {
        TOptionsSettings settings;
        settings.FullScreen = true;
        {
            TOptionsNotebookDlg dialog(settings);
            dialog.show();
            // No password yet: checking asks for one; Cancel leaves the box unchecked.
            answerSetPassword(QString());
            dialog.PasswordCB->click();
            QVERIFY(!dialog.PasswordCB->isChecked());
            QVERIFY(!settings.PasswordProtect);
            QVERIFY(!dialog.PasswordBtn->isEnabled());
            // Given: protection at once, the password on OK.
            answerSetPassword(QStringLiteral("Secret"));
            dialog.PasswordCB->click();
            QVERIFY(dialog.PasswordCB->isChecked());
            QVERIFY(settings.PasswordProtect);
            QVERIFY(dialog.PasswordBtn->isEnabled());
            QVERIFY(!dialog.StoredPassword.isEmpty());
            QVERIFY(settings.Password.isEmpty());
            // Cancelled: the new password is dropped, and so is the protection.
            dialog.CancelBtn->click();
        }
        QVERIFY(settings.Password.isEmpty());
        QVERIFY(!settings.PasswordProtect);

        QString stored;
        {
            TOptionsNotebookDlg dialog(settings);
            dialog.show();
            answerSetPassword(QStringLiteral("Secret"));
            dialog.PasswordCB->click();
            stored = dialog.StoredPassword;
            dialog.OKBtn->click();
        }
        QCOMPARE(settings.Password, stored);
        QVERIFY(settings.PasswordProtect);

        // Changing it asks for the current one first; a wrong one changes nothing.
        TOptionsNotebookDlg dialog(settings);
        dialog.show();
        QVERIFY(dialog.PasswordBtn->isEnabled());
        onModal<TVerifyPWDlg>([](TVerifyPWDlg *verify) {
            verify->PasswordEB->setText(QStringLiteral("wrong"));
            verify->OKBtn->click();
        });
        dialog.PasswordBtnClick();
        QCOMPARE(m_messages, QStringList({"Password Error/Invalid Password Entered"}));
        QCOMPARE(dialog.StoredPassword, stored);
        onModal<TVerifyPWDlg>([](TVerifyPWDlg *verify) {
            verify->PasswordEB->setText(QStringLiteral("Secret"));
            verify->OKBtn->click();
            answerSetPassword(QStringLiteral("Other"));
        });
        dialog.PasswordBtnClick();
        QVERIFY(dialog.StoredPassword != stored);
        QVERIFY(settings.PasswordProtect);
    }

    void openedFromBothWindows()
    {
        TestDir dir;
        writePicture(dir, QStringLiteral("a.png"));
        const QString image = writePicture(dir, QStringLiteral("sound.png"));
        writePicture(dir, QStringLiteral("other.png"));
        auto form = shownForm({dir.path()});
        form->OptionsPage = 0;
        form->SoundDisplay = 2;
        form->SoundImage = image;

        // Switch to the VorodOdir page, browse for the sound picture, then cancel.
        onModal<TOptionsNotebookDlg>([&](TOptionsNotebookDlg *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Korvid Options"));
            QCOMPARE(dialog->OptionsTNB->currentIndex(), 0);
            QCOMPARE(dialog->HelpContext, 109);
            dialog->OptionsTNB->setCurrentIndex(2);
            QCOMPARE(dialog->height(), 305);
            QCOMPARE(dialog->HelpContext, 111);
            onModal<TMultiOpenMM>([&](TMultiOpenMM *open) {
                QCOMPARE(open->FilterComboBox1->currentText(), QStringLiteral("All Images"));
                QCOMPARE(open->DirectoryListBox1->Directory(), dir.path());
                QTRY_COMPARE(open->FileListBox1->FileName(), image);
                QVERIFY(open->CheckBox2->isVisible() && !open->CheckBox2->isChecked());
                open->FileListBox1->setFileName(dir.filePath(QStringLiteral("other.png")));
                open->OKBtn->click();
            });
            dialog->SelectBtn->click();
            QCOMPARE(dialog->ImageEB->text(), dir.filePath(QStringLiteral("other.png")));
            dialog->CancelBtn->click();
        });
        form->ConfigOptionsClick(form.get());
        QCOMPARE(form->OptionsPage, 2);
        QCOMPARE(form->SoundImage, image);

        // The next opening starts there, tall; OK applies at once.
        QVERIFY(form->BottomToolBar);
        onModal<TOptionsNotebookDlg>([](TOptionsNotebookDlg *dialog) {
            QCOMPARE(dialog->OptionsTNB->currentIndex(), 2);
            QCOMPARE(dialog->height(), 305);
            dialog->OptionsTNB->setCurrentIndex(0);
            QCOMPARE(dialog->height(), 226);
            dialog->BottomTB->click();
            dialog->OKBtn->click();
        });
        form->KorvidConfiguration1->trigger();
        QVERIFY(!form->BottomToolBar);
        QTRY_VERIFY(form->ToolPanel->mapTo(form.get(), QPoint()).y()
                    < form->ScrollBox1->mapTo(form.get(), QPoint()).y());
        QCOMPARE(form->OptionsPage, 0);

        // From the manager: over its window, with the lists' box greyed while it shows.
        form->MultiMediaManager1Click();
        QWidget *manager = form->MMManager;
        onModal<TOptionsNotebookDlg>([manager](TOptionsNotebookDlg *dialog) {
            QCOMPARE(dialog->parentWidget(), manager);
            QVERIFY(!dialog->HideCPCB->isEnabled());
            onModal<QColorDialog>([](QColorDialog *colours) {
                colours->setCurrentColor(QColor(250, 240, 200));
                colours->accept();
            });
            dialog->ListBGColorBtn->click();
            dialog->OKBtn->click();
        });
        form->MMManager->ConfigClick();
        // The new list colour reaches every list at once, the manager's too.
        QCOMPARE(form->FileListBox1->palette().color(QPalette::Base), QColor(250, 240, 200));
        QCOMPARE(form->MMManager->Pane2.FileListBox->palette().color(QPalette::Base),
                 QColor(250, 240, 200));
    }

private:
    QStringList m_messages;
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
