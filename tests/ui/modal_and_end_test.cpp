// The modal parts and the end: the message box, the error box of StopWithError, the save dialog,
// the event loop of Run, PumpEvents, the wait cursor and EndProgram.
#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <fstream>

#include "tests/ui/shell_fixture.h"
#include "ui/qt/gbk.h"

namespace ui::testing {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::ExitedWithCode;
using ::testing::HasSubstr;
using ::testing::Not;

// Waits (inside the modal loop that is about to run) for a modal widget of type T, then hands it
// to answer, which must close it. Gives up after five seconds and closes whatever is modal.
template <typename T>
void WhenModal(std::function<void(T*)> answer) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, answer] {
    if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
      timer->deleteLater();
      timer->stop();
      answer(modal);
    } else if (++*tries > 500) {
      timer->deleteLater();
      timer->stop();
      ADD_FAILURE() << "no modal " << T::staticMetaObject.className() << " appeared";
      if (QWidget* other = QApplication::activeModalWidget()) other->close();
    }
  });
  timer->start(10);
}

TEST_F(ShellTest, UnattendedMessagesAreRecordedAndReturnAtOnce) {
  shell.ShowMessage("您的密码不正确，请您重新输入！", kIconError, "用户名/密码错误：");
  shell.ShowMessage("成绩查询结果已保存", kIconInformation, "澄溪学院成绩计算器");
  QtShell::ShowStopBox("运行时出错!", "错误");
  EXPECT_THAT(shell.RecordedMessages(),
              ElementsAre(QtShell::RecordedMessage{"您的密码不正确，请您重新输入！", 16,
                                                   "用户名/密码错误："},
                          QtShell::RecordedMessage{"成绩查询结果已保存", 64, "澄溪学院成绩计算器"},
                          QtShell::RecordedMessage{"运行时出错!", 16, "错误"}));
}

struct BoxCase {
  int icon;
  QMessageBox::Icon shown;
};

void PrintTo(const BoxCase& c, std::ostream* out) {
  *out << "icon " << c.icon;
}

class MessageBoxTest : public ShellTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(MessageBoxTest, OneOkButtonAppModalNoOwnerWithConvertedTexts) {
  shell.SetUnattended(false);
  Load(Window::Login);
  bool answered = false;
  WhenModal<QMessageBox>([&](QMessageBox* box) {
    answered = true;
    EXPECT_EQ(box->icon(), GetParam().shown);
    EXPECT_EQ(box->windowTitle(), QString::fromUtf16(u"输入错误："));
    EXPECT_EQ(box->text(), QString::fromUtf16(u"第一行\n第二行 <b>x</b>"));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(box->parentWidget(), nullptr);
    // Every window of the program is blocked while the box is open.
    EXPECT_TRUE(QApplication::activeModalWidget() == box);
    box->button(QMessageBox::Ok)->click();
  });
  shell.ShowMessage("第一行\r\n第二行 <b>x</b>", GetParam().icon, "输入错误：");
  EXPECT_TRUE(answered);
  EXPECT_TRUE(shell.RecordedMessages().empty());
}

INSTANTIATE_TEST_SUITE_P(Icons, MessageBoxTest,
                         ::testing::Values(BoxCase{16, QMessageBox::Critical},
                                           BoxCase{64, QMessageBox::Information}));

TEST(StopBoxDeathTest, StopWithErrorShowsTheErrorBoxThenEndsWithMinusOne) {
  EXPECT_EXIT(
      {
        QtShell shell;
        WhenModal<QMessageBox>([](QMessageBox* box) {
          std::fprintf(stderr, "box [%s] [%s] icon %d\n", QStringToGbk(box->windowTitle()).c_str(),
                       QStringToGbk(box->text()).c_str(), static_cast<int>(box->icon()));
          box->button(QMessageBox::Ok)->click();
        });
        shell.SetExitRoutine([] { std::fputs("exit routine ran\n", stderr); });
        text::StopWithError(1, "数组成员引用下标超出定义范围");
      },
      ExitedWithCode(255),
      AllOf(HasSubstr("box [错误] [运行时出错!\n\n错误代码：1\n数组成员引用下标超出定义范围] "
                      "icon " +
                      std::to_string(static_cast<int>(QMessageBox::Critical))),
            Not(HasSubstr("exit routine ran"))));
}

TEST_F(ShellTest, UnattendedSaveDialogAnswersWithPresetsInOrderThenCancels) {
  shell.PresetSaveFileName(std::filesystem::path("/tmp/a.html"));
  shell.PresetSaveFileName(std::nullopt);
  EXPECT_EQ(shell.AskSaveFileName("2014111澄溪成绩查询结果"), std::filesystem::path("/tmp/a.html"));
  EXPECT_EQ(shell.AskSaveFileName("2014112澄溪成绩查询结果"), std::nullopt);
  EXPECT_EQ(shell.AskSaveFileName("2014113澄溪成绩查询结果"), std::nullopt);
  EXPECT_THAT(
      shell.ProposedSaveFileNames(),
      ElementsAre("2014111澄溪成绩查询结果", "2014112澄溪成绩查询结果", "2014113澄溪成绩查询结果"));
}

class SaveDialogTest : public ShellTest {
 protected:
  SaveDialogTest() { shell.SetUnattended(false); }

  // Types the name into the dialog's file name box, as the student does, and presses Save.
  static void TypeAndSave(QFileDialog* dialog, const QString& name) {
    auto* nameBox = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(nameBox, nullptr);
    nameBox->setText(name);
    static_cast<QDialog*>(dialog)->accept();  // as the Save button does
  }

  // The chosen path as the shell returns it, for a name typed into the dialog.
  std::filesystem::path InFolder(const QString& name) const {
    return std::filesystem::path(QFile::encodeName(folder.filePath(name)).toStdString());
  }

  QTemporaryDir folder;
};

TEST_F(SaveDialogTest, PresetWithTheProposedNameFilterAndSuffix) {
  ASSERT_TRUE(folder.isValid());
  WhenModal<QFileDialog>([&](QFileDialog* dialog) {
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->nameFilters(), QStringList{QString::fromUtf16(u"Html网页文件 (*.html)")});
    EXPECT_EQ(dialog->selectedNameFilter(), QString::fromUtf16(u"Html网页文件 (*.html)"));
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("html"));
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
    ASSERT_EQ(dialog->selectedFiles().size(), 1);
    EXPECT_EQ(QFileInfo(dialog->selectedFiles().first()).fileName(),
              QString::fromUtf16(u"2014111澄溪成绩查询结果.html"));
    dialog->setDirectory(folder.path());
    TypeAndSave(dialog, QString::fromUtf16(u"成绩"));
  });
  EXPECT_EQ(shell.AskSaveFileName("2014111澄溪成绩查询结果"),
            InFolder(QString::fromUtf16(u"成绩.html")));
}

TEST_F(SaveDialogTest, CancelGivesNothing) {
  WhenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
  EXPECT_EQ(shell.AskSaveFileName("x"), std::nullopt);
}

TEST_F(SaveDialogTest, AnExistingFileIsReplacedOnlyAfterAsking) {
  ASSERT_TRUE(folder.isValid());
  std::ofstream(folder.filePath(QStringLiteral("old.html")).toStdString()) << "old";
  bool asked = false;
  WhenModal<QFileDialog>([&](QFileDialog* dialog) {
    WhenModal<QMessageBox>([&](QMessageBox* question) {
      asked = true;
      question->button(QMessageBox::Yes)->click();
    });
    dialog->setDirectory(folder.path());
    TypeAndSave(dialog, QStringLiteral("old.html"));
  });
  EXPECT_EQ(shell.AskSaveFileName("x"), InFolder(QStringLiteral("old.html")));
  EXPECT_TRUE(asked);
}

TEST_F(SaveDialogTest, AFolderThatDoesNotExistIsRefused) {
  ASSERT_TRUE(folder.isValid());
  bool refused = false;
  bool stillOpen = false;
  WhenModal<QFileDialog>([&](QFileDialog* dialog) {
    WhenModal<QMessageBox>([&, dialog](QMessageBox* warning) {
      refused = true;
      warning->button(QMessageBox::Ok)->click();
      QTimer::singleShot(0, dialog, [&, dialog] {
        stillOpen = dialog->isVisible();
        dialog->reject();
      });
    });
    TypeAndSave(dialog, folder.filePath(QStringLiteral("missing/x.html")));
  });
  EXPECT_EQ(shell.AskSaveFileName("x"), std::nullopt);
  EXPECT_TRUE(refused);
  EXPECT_TRUE(stillOpen);
}

TEST_F(ShellTest, RunReturnsWhenTheLastWindowCloses) {
  shell.Run();  // nothing shown: returns at once
  Load(Window::Login);
  QTimer::singleShot(0,
                     [&] { QTest::keyClick(shell.WindowWidget(Window::Login), Qt::Key_Escape); });
  shell.Run();
  EXPECT_THAT(handler.events, ElementsAre(Event{Event::WillBeDestroyed, Window::Login}));
  EXPECT_FALSE(shell.IsLoaded(Window::Login));
  EXPECT_EQ(shell.EndedWithCode(), std::nullopt);
}

TEST_F(ShellTest, RunEndsWhenTheGradeWindowClosesWhileTheLoginWindowIsHidden) {
  Load(Window::Login);
  shell.SetVisible(Window::Login, false);
  Load(Window::Grade);
  QTimer::singleShot(0, [&] { shell.WindowWidget(Window::Grade)->close(); });
  shell.Run();
  EXPECT_TRUE(shell.IsLoaded(Window::Login));
  EXPECT_FALSE(shell.IsLoaded(Window::Grade));
}

TEST_F(ShellTest, RunGoesOnWhenARoutineOpensAWindowAfterTheLastOneClosedDuringItsWait) {
  Load(Window::Login);
  handler.onEvent = [&](const Event& e) {
    if (e.kind != Event::Clicked) return;
    QTimer::singleShot(0, [&] { shell.WindowWidget(Window::Login)->close(); });
    while (shell.IsLoaded(Window::Login)) shell.PumpEvents();  // the wait of a request
    shell.LoadWindow(Window::Grade);
    QTimer::singleShot(20, [&] { shell.WindowWidget(Window::Grade)->close(); });
  };
  QTimer::singleShot(
      0, [&] { QTest::mouseClick(shell.Control(Window::Login, "按钮1"), Qt::LeftButton); });
  shell.Run();
  EXPECT_FALSE(shell.IsLoaded(Window::Login));
  EXPECT_FALSE(shell.IsLoaded(Window::Grade));  // Run lasted until the grade window closed
}

TEST_F(ShellTest, AMessageBoxClosedWhileEveryWindowIsHiddenDoesNotEndRun) {
  shell.SetUnattended(false);
  Load(Window::Login);
  bool carriedOn = false;
  QTimer::singleShot(0, [&] {
    shell.SetVisible(Window::Login, false);
    WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); });
    shell.ShowMessage("x", kIconError, "y");
    QTimer::singleShot(50, [&] {
      carriedOn = true;
      shell.SetVisible(Window::Login, true);
      shell.WindowWidget(Window::Login)->close();
    });
  });
  shell.Run();
  EXPECT_TRUE(carriedOn);
}

TEST_F(ShellTest, EndProgramRunsTheExitRoutineOnceAndRunStops) {
  int routineRuns = 0;
  shell.SetExitRoutine([&] { ++routineRuns; });
  handler.onEvent = [&](const Event& e) {
    if (e.kind == Event::WillBeDestroyed && e.window == Window::Grade) shell.EndProgram(0);
  };
  Load(Window::Login);
  shell.SetVisible(Window::Login, false);
  Load(Window::Grade);
  QTimer::singleShot(0,
                     [&] { QTest::keyClick(shell.WindowWidget(Window::Grade), Qt::Key_Escape); });
  shell.Run();
  EXPECT_EQ(shell.EndedWithCode(), 0);
  EXPECT_EQ(routineRuns, 1);

  // A second end runs the routine no more; events after the end go nowhere.
  EXPECT_THROW(shell.EndProgram(5), QtShell::ProgramEnded);
  EXPECT_EQ(routineRuns, 1);
  EXPECT_EQ(shell.EndedWithCode(), 0);
  handler.events.clear();
  shell.SetVisible(Window::Login, true);
  QTest::mouseClick(shell.Control(Window::Login, "按钮1"), Qt::LeftButton);
  EXPECT_TRUE(handler.events.empty());
}

TEST_F(ShellTest, AnEndDuringPumpEventsStopsTheRoutineThatPumped) {
  Load(Window::Grade);
  bool wentOn = false;
  handler.onEvent = [&](const Event& e) {
    if (e.kind == Event::WillBeDestroyed) shell.EndProgram(0);
    if (e.kind != Event::Clicked) return;
    QTimer::singleShot(0, shell.WindowWidget(Window::Grade),
                       [this] { shell.WindowWidget(Window::Grade)->close(); });
    for (int i = 0; i < 100 && !shell.EndedWithCode(); ++i) shell.PumpEvents();
    wentOn = true;
  };
  QTest::mouseClick(shell.Control(Window::Grade, "按钮1"), Qt::LeftButton);
  EXPECT_EQ(shell.EndedWithCode(), 0);
  EXPECT_FALSE(wentOn);
}

TEST_F(ShellTest, PumpEventsHandlesWhatIsPending) {
  bool ran = false;
  QTimer::singleShot(0, [&] { ran = true; });
  shell.PumpEvents();
  EXPECT_TRUE(ran);
}

TEST(EndProgramDeathTest, RunsTheExitRoutineThenEndsTheProcessWithTheCode) {
  EXPECT_EXIT(
      {
        QtShell shell;
        shell.SetExitRoutine([&] {
          std::fputs("exit routine ran\n", stderr);
          shell.EndProgram(9);  // an end inside the routine does not run it again
        });
        shell.EndProgram(3);
      },
      ExitedWithCode(9), AllOf(HasSubstr("exit routine ran\n"), Not(HasSubstr("ran\nexit"))));
  EXPECT_EXIT(
      {
        QtShell shell;
        shell.SetExitRoutine([] { std::fputs("exit routine ran\n", stderr); });
        shell.EndProgram(3);
      },
      ExitedWithCode(3), HasSubstr("exit routine ran\n"));
}

TEST_F(ShellTest, BusyShowsTheWaitCursorBalanced) {
  ASSERT_EQ(QApplication::overrideCursor(), nullptr);
  shell.SetBusy(true);
  shell.SetBusy(true);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  shell.SetBusy(false);
  EXPECT_NE(QApplication::overrideCursor(), nullptr);
  shell.SetBusy(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  shell.SetBusy(false);  // one too many changes nothing
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  {
    QtShell other;  // a shell that goes while busy leaves no wait cursor behind
    other.SetBusy(true);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace ui::testing
