#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "dialogs/frm_conf.h"
#include "playback/frm_movie.h"
#include "playback/movie_toolbar.h"
#include "support/files.h"
#include "support/started_app.h"

namespace {
FrmConf *openConf(StartedApp &s)
{
    s.app.Solvane()->ImgConf_Click();
    return static_cast<FrmConf *>(s.app.forms.loaded(FormId::FrmConf));
}

// Answers the real colour dialog once it is up: picks `color`, or cancels
// when it is invalid.
void answerColorDialog(QColor color)
{
    QTimer::singleShot(20, [color] {
        auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return answerColorDialog(color);
        dialog->setCurrentColor(color);
        color.isValid() ? dialog->accept() : dialog->reject();
    });
}
}  // namespace

TEST(ConfigDialog, LoadFillsTheControlsWhichApplyStoresBackUnchangedAndTheRealColourDialog)
{
    StartedApp s;
    Settings &c = s.app.settings;
    c.CfgDisplaySize = 2;
    c.CfgShowAudioControls = 0;
    c.CfgFitToScreen = 1;
    c.CfgPlayCount = 3;
    c.CfgBorderColor = 0x123456;
    c.CfgBorderWidth = 40;
    c.CfgExitAtEnd = 1;
    c.CfgVolume = -500;
    c.CfgBalance = 300;
    c.CfgLoopList = 1;
    const Settings loaded = c;
    s.engine->log.clear();
    FrmConf *d = openConf(s);
    ASSERT_TRUE(d);
    EXPECT_EQ(s.engine->log, QStringList({"set 19 -500", "set 20 300"}));
    EXPECT_TRUE(d->OptionVideo[2]->isChecked());
    EXPECT_FALSE(d->Check2->isChecked());
    EXPECT_EQ(d->Text1->text(), "3");
    // Three plays: quitting at the end is not offered, but keeps its tick.
    EXPECT_TRUE(d->Check12->isHidden());
    EXPECT_EQ(d->Label2->text(), "40");

    d->Command2->click();
    EXPECT_EQ(c, loaded);
    EXPECT_EQ(fileBytes(s.path("Solvane.cfg")), formatSettings(loaded));

    // The real colour dialog: cancelled, the colour loaded stays; picked, it
    // shows at once, and the engine learns it on apply.
    s.engine->log.clear();
    answerColorDialog(QColor());
    d->Command1->click();
    EXPECT_EQ(c.CfgBorderColor, 0x123456);
    answerColorDialog(QColor(0x10, 0x20, 0x30));
    d->Command1->click();
    EXPECT_EQ(c.CfgBorderColor, 0x302010);
    EXPECT_EQ(d->Picture1->palette().color(QPalette::Window), QColor(0x10, 0x20, 0x30));
    EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activeModalWidget(); }, 5000));
    EXPECT_TRUE(s.engine->entries("set 1102").isEmpty());
    d->Command2->click();
    EXPECT_EQ(s.engine->entries("set 1102"), QStringList({"set 1102 3153936"}));

    // Opening it again brings up the same dialog; it never holds up the other windows.
    s.app.movie()->Toolbar1_ButtonClick(17);
    EXPECT_EQ(s.app.forms.loaded(FormId::FrmConf), d);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    d->Command3->click();

    // Values the controls cannot hold: each control keeps its own, which apply then stores.
    c.CfgBorderWidth = 400;
    c.CfgVolume = -3000;
    s.engine->log.clear();
    d = openConf(s);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->Label2->text(), "400");
    EXPECT_TRUE(s.engine->entries("set 19").isEmpty());
    d->Command2->click();
    EXPECT_EQ(c.CfgVolume, -100);
    EXPECT_EQ(c.CfgBorderWidth, 400) << "not read back on apply: it keeps what the file said";
}

TEST(ConfigDialog, ApplyAndCloseSoundAndScaleAtOnceThePlayCountAndWhereApplyWrites)
{
    StartedApp s;
    Settings &c = s.app.settings;
    FrmConf *d = openConf(s);
    ASSERT_TRUE(d);
    frmMovie *m = s.app.movie();
    m->Toolbar1->setValue(7, 1);
    m->Toolbar1->setValue(12, 0);
    s.engine->log.clear();
    d->Command2->click();
    // The order is the activation's (the video window's test).
    EXPECT_EQ(s.engine->entries("set ").size(), 15);
    EXPECT_EQ(QList<int>({m->Toolbar1->value(5), m->Toolbar1->value(7), m->Toolbar1->value(12)}), QList<int>({1, 0, 1}));
    EXPECT_EQ(c, Settings::defaults());
    EXPECT_TRUE(d->isVisible() && !m->isVisible()) << "apply neither closes the dialog nor shows the video window";

    s.engine->log.clear();
    d->Slider1->setValue(-700);
    d->Slider2->setValue(2000);
    d->OptionVideo[3]->click();
    d->HScroll1->setValue(12);
    d->Check8->setChecked(true);
    // The sound and the scale show at once, in the engine and on the toolbar.
    EXPECT_EQ(s.engine->log, QStringList({"set 19 -700", "set 20 2000", "set 1032 3"}));
    EXPECT_EQ(m->Toolbar1->value(8), 1);
    EXPECT_EQ(QList<int>({c.CfgVolume, c.CfgBalance, c.CfgDisplaySize, c.CfgBorderWidth}), QList<int>({-700, 2000, 3, 12}));
    EXPECT_EQ(d->Label2->text(), "12");
    // Closed, nothing else is applied.
    d->Command3->click();
    EXPECT_FALSE(s.app.forms.loaded(FormId::FrmConf));
    EXPECT_EQ(c.CfgMute, 0);
    EXPECT_EQ(fileBytes(s.path("Solvane.cfg")), formatSettings(Settings::defaults()));

    // The play count: its counting rules are tested on their own; here, the
    // dialog follows them.
    d = openConf(s);
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->OptionRepet->isChecked() && d->Check12->isHidden());
    d->OptionLire->click();
    EXPECT_FALSE(d->Check12->isHidden());
    d->Check12->setChecked(true);
    d->Text1->clear();
    QTest::keyClicks(d->Text1, "a-3.5x");
    EXPECT_EQ(d->Text1->text(), "3.5");
    EXPECT_TRUE(d->Check12->isHidden());
    d->Command2->click();
    EXPECT_EQ(c.CfgPlayCount, 4);
    EXPECT_EQ(c.CfgExitAtEnd, 1);  // hidden or not, the tick is what counts

    // Editing keys reach the box; only typed characters are filtered.
    d->Text1->setText("123");
    d->Text1->setFocus();
    QTest::keyClick(d->Text1, Qt::Key_Home);
    QTest::keyClick(d->Text1, Qt::Key_Delete);
    QTest::keyClick(d->Text1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(d->Text1, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(d->Text1->text(), "");
    QTest::keyClick(d->Text1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(d->Text1->text(), "23");

    // After apply the dialog shows what was stored: a count too large is
    // refused and says so; an empty count is "repeat for ever".
    d->OptionLire->click();
    d->Text1->setText("99999999");
    d->Command2->click();
    EXPECT_EQ(c.CfgPlayCount, 4);
    EXPECT_EQ(d->Text1->text(), "4");
    EXPECT_FALSE(d->lblRefused->text().isEmpty());
    QTest::keyClick(d->Text1, Qt::Key_7);
    EXPECT_TRUE(d->lblRefused->text().isEmpty());
    d->OptionLire->click();
    d->Text1->clear();
    d->Command2->click();
    EXPECT_TRUE(d->OptionRepet->isChecked());

    // A closed video window is loaded, hidden, to take the settings.
    d->Check9->setChecked(false);
    s.app.forms.unload(FormId::frmMovie);
    d->Command2->click();
    ASSERT_TRUE(s.app.forms.loaded(FormId::frmMovie));
    EXPECT_FALSE(s.app.movie()->isVisible() || s.app.movie()->Toolbar1->shown());

    // Where it was read it cannot be written: the user's own file takes it.
    ASSERT_TRUE(writeFile(s.path("ro")));
    s.app.CfgPath = s.path("ro/Solvane.cfg");
    d->Command2->click();
    const QString own = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Solvane/Solvane.cfg";
    EXPECT_TRUE(s.app.CfgPath == own && fileBytes(own) == formatSettings(c));
    EXPECT_EQ(d->findChild<QMessageBox *>(), nullptr);
    // Nowhere: a message says what failed and where.
    qputenv("XDG_CONFIG_HOME", s.path("ro").toUtf8());
    s.app.CfgPath = s.path("ro/Solvane.cfg");
    d->Command2->click();
    auto *box = d->findChild<QMessageBox *>();
    ASSERT_TRUE(box && box->isVisible());
    EXPECT_TRUE(box->text().contains(s.path("ro/Solvane.cfg : dossier impossible à créer\n") + s.path("ro/Solvane/Solvane.cfg")));

    // The dialog follows the scale in use; Escape closes it.
    emit s.engine->DisplaySizeChanged(2);
    EXPECT_TRUE(d->OptionVideo[2]->isChecked());
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([d] { return d->isActiveWindow(); }));
    QTest::keyClick(d, Qt::Key_Escape);
    EXPECT_FALSE(s.app.forms.loaded(FormId::FrmConf));
}
