// The period dialog: today in both pickers on every show, the From/To check
// with its message, Enter, Esc and the title bar's close button.

#include <gtest/gtest.h>

#include <QtTest/QTest>

#include "fixed_clock.h"
#include "messages/P20_Param79_window.h"
#include "modal_script.h"

namespace pralix {
namespace {

using test::FixedClock;
using test::ModalScript;

const QDate kToday(2021, 2, 7);
const QString kInvertedRange = QString::fromLatin1(TFormParam79::kInvertedRangeMessage);

struct PeriodDialog : ::testing::Test {
  FixedClock clock{QDateTime(kToday, QTime(23, 59))};
  TFormParam79 dialog{clock};
  ModalScript modals;
};

TEST_F(PeriodDialog, LooksAsDesigned) {
  EXPECT_EQ(dialog.windowTitle(), "Enter");
  EXPECT_EQ(dialog.size(), QSize(224, 281));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
  EXPECT_EQ(dialog.Label3->text(), "Period");
  EXPECT_EQ(dialog.Label1->text(), "Od / From");
  EXPECT_EQ(dialog.Label2->text(), "Do / To");
  EXPECT_EQ(dialog.Panel1->text(), "OK");
  EXPECT_EQ(dialog.DTPFrom->geometry(), QRect(39, 82, 150, 24));
  EXPECT_EQ(dialog.DTPTo->geometry(), QRect(39, 154, 150, 24));
  EXPECT_EQ(dialog.Panel1->geometry(), QRect(39, 204, 150, 50));
  EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(90, 13, 22));
  EXPECT_EQ(dialog.Label1->palette().color(QPalette::WindowText), QColor(249, 251, 248));
  EXPECT_EQ(dialog.Panel1->palette().color(QPalette::Window), QColor(249, 251, 248));
}

TEST_F(PeriodDialog, TodayInBothIsAcceptedAtOnceWithEnter) {
  QDate shownFrom, shownTo;
  modals.then([&](QWidget* modal) {
    shownFrom = dialog.DTPFrom->date();
    shownTo = dialog.DTPTo->date();
    ModalScript::PressKey(Qt::Key_Return)(modal);
  });
  EXPECT_EQ(dialog.ShowModal(), TFormParam79::mrOk);
  EXPECT_EQ(shownFrom, kToday);
  EXPECT_EQ(shownTo, kToday);
  EXPECT_EQ(modals.shown().size(), 1u);
}

TEST_F(PeriodDialog, OkPanelAcceptsAValidRangeAndTheDatesStay) {
  modals.then([&](QWidget* modal) {
    dialog.DTPFrom->setDate(QDate(2021, 1, 5));
    ModalScript::ClickOk()(modal);
  });
  EXPECT_EQ(dialog.ShowModal(), TFormParam79::mrOk);
  EXPECT_EQ(dialog.DTPFrom->date(), QDate(2021, 1, 5));
  EXPECT_EQ(dialog.DTPTo->date(), kToday);
}

TEST_F(PeriodDialog, InvertedRangeIsRefusedWithTheMessageUntilCancelled) {
  // From one day after To: Enter, the message, Enter again, the message
  // again, then Esc.
  modals.then(ModalScript::EnterPeriod(kToday.addDays(1), kToday))
      .then(ModalScript::ClickOk())
      .then(ModalScript::PressKey(Qt::Key_Return))
      .then(ModalScript::PressKey(Qt::Key_Return))
      .then(ModalScript::PressKey(Qt::Key_Escape));
  EXPECT_EQ(dialog.ShowModal(), TFormParam79::mrCancel);

  const auto& shown = modals.shown();
  ASSERT_EQ(shown.size(), 5u);
  for (size_t i : {size_t(1), size_t(3)}) {
    EXPECT_EQ(shown[i].className, "QMessageBox");
    EXPECT_EQ(shown[i].text, kInvertedRange);
    EXPECT_EQ(shown[i].icon, QMessageBox::Information);
  }
  EXPECT_EQ(shown[2].className, "TFormParam79");
  EXPECT_EQ(shown[4].className, "TFormParam79");
  // The dates are left as the user set them.
  EXPECT_EQ(dialog.DTPFrom->date(), kToday.addDays(1));
  EXPECT_EQ(modals.unexpected(), 0);
}

TEST_F(PeriodDialog, OkPanelChecksTheRangeToo) {
  modals.then([&](QWidget* modal) {
    dialog.DTPTo->setDate(kToday.addDays(-1));
    ModalScript::ClickOk()(modal);
  })
      .then(ModalScript::ClickOk())
      .then([&](QWidget* modal) {
        dialog.DTPTo->setDate(kToday);
        ModalScript::ClickOk()(modal);
      });
  EXPECT_EQ(dialog.ShowModal(), TFormParam79::mrOk);
  ASSERT_EQ(modals.shown().size(), 3u);
  EXPECT_EQ(modals.shown()[1].text, kInvertedRange);
}

TEST_F(PeriodDialog, DaysOutsideThePrintersYearsAreRefusedWithTheirMessage) {
  const std::pair<QDate, QDate> refused[] = {{QDate(1999, 12, 31), QDate(2000, 1, 1)},
                                             {QDate(2099, 12, 31), QDate(2100, 1, 1)},
                                             {QDate(1999, 1, 1), QDate(2100, 1, 1)}};
  for (const auto& [from, to] : refused) {
    SCOPED_TRACE(from.toString(Qt::ISODate).toStdString() + " " + to.toString(Qt::ISODate).toStdString());
    const size_t before = modals.shown().size();
    modals.then(ModalScript::EnterPeriod(from, to))
        .then(ModalScript::ClickOk())
        .then(ModalScript::PressKey(Qt::Key_Escape));
    EXPECT_EQ(dialog.ShowModal(), TFormParam79::mrCancel);
    ASSERT_EQ(modals.shown().size(), before + 3);
    EXPECT_EQ(modals.shown()[before + 1].className, "QMessageBox");
    EXPECT_EQ(modals.shown()[before + 1].text, QString::fromLatin1(kPeriodOutOfRangeMessage));
    EXPECT_EQ(dialog.DTPFrom->date(), from) << "the pickers keep what the user chose";
    EXPECT_EQ(dialog.DTPTo->date(), to);
  }
  EXPECT_EQ(modals.unexpected(), 0);
}

TEST_F(PeriodDialog, FirstAndLastDayOfThePrintersYearsAreAccepted) {
  modals.then(ModalScript::EnterPeriod(QDate(2000, 1, 1), QDate(2000, 1, 1)));
  EXPECT_EQ(dialog.ShowModal(), TFormParam79::mrOk);
  modals.then(ModalScript::EnterPeriod(QDate(2099, 12, 31), QDate(2099, 12, 31)));
  EXPECT_EQ(dialog.ShowModal(), TFormParam79::mrOk);
  EXPECT_EQ(modals.shown().size(), 2u) << "no message in between";
}

TEST_F(PeriodDialog, APcDatePastThePrintersYearsShowsAndIsRefused) {
  clock.set(QDateTime(QDate(2100, 1, 1), QTime(8, 0)));
  QDate shown;
  modals.then([&](QWidget* modal) {
    shown = dialog.DTPFrom->date();
    ModalScript::PressKey(Qt::Key_Return)(modal);
  })
      .then(ModalScript::ClickOk())
      .then(ModalScript::PressKey(Qt::Key_Escape));
  EXPECT_EQ(dialog.ShowModal(), TFormParam79::mrCancel);
  EXPECT_EQ(shown, QDate(2100, 1, 1)) << "today is shown as it is, not moved into range";
  ASSERT_EQ(modals.shown().size(), 3u);
  EXPECT_EQ(modals.shown()[1].text, QString::fromLatin1(kPeriodOutOfRangeMessage));
}

TEST_F(PeriodDialog, EscCancelsAnInvertedRangeWithoutAMessage) {
  modals.then([&](QWidget* modal) {
    dialog.DTPFrom->setDate(kToday.addDays(3));
    ModalScript::PressKey(Qt::Key_Escape)(modal);
  });
  EXPECT_EQ(dialog.ShowModal(), TFormParam79::mrCancel);
  EXPECT_EQ(modals.shown().size(), 1u);
}

TEST_F(PeriodDialog, TitleBarCloseIsCancel) {
  modals.then(ModalScript::CloseByTitleBar());
  EXPECT_EQ(dialog.ShowModal(), TFormParam79::mrCancel);
}

TEST_F(PeriodDialog, EveryShowStartsFromTodayAgain) {
  modals.then(ModalScript::EnterPeriod(QDate(2020, 3, 1), QDate(2020, 3, 31)));
  ASSERT_EQ(dialog.ShowModal(), TFormParam79::mrOk);
  clock.set(QDateTime(kToday.addDays(1), QTime(0, 0)));

  QDate shownFrom, shownTo;
  modals.then([&](QWidget* modal) {
    shownFrom = dialog.DTPFrom->date();
    shownTo = dialog.DTPTo->date();
    ModalScript::PressKey(Qt::Key_Escape)(modal);
  });
  EXPECT_EQ(dialog.ShowModal(), TFormParam79::mrCancel);
  EXPECT_EQ(shownFrom, kToday.addDays(1));
  EXPECT_EQ(shownTo, kToday.addDays(1));
}

TEST_F(PeriodDialog, OtherKeysGoToThePicker) {
  QDate afterTyping;
  modals.then([&](QWidget* modal) {
    dialog.DTPFrom->setFocus();
    dialog.DTPFrom->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClicks(dialog.DTPFrom, QStringLiteral("03"));
    afterTyping = dialog.DTPFrom->date();
    ModalScript::PressKey(Qt::Key_Escape)(modal);
  });
  dialog.ShowModal();
  EXPECT_EQ(afterTyping, QDate(2021, 2, 3));
}

}  // namespace
}  // namespace pralix
