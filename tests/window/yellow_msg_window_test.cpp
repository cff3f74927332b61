// The important-message dialog on screen: its layout around the real label,
// the keys and the button that close it, and the whole road from YellowMsg
// through the Qt user interface.

#include <gtest/gtest.h>

#include <QStringDecoder>

#include "messages/P00_YellowMsg.h"
#include "messages/P00_YellowMsg_window.h"
#include "messages/P20_Param79_window.h"
#include "fixed_clock.h"
#include "modal_script.h"
#include "recording_mutex.h"
#include "workstation/qt_user_interface_window.h"

namespace pralix {
namespace {

using test::ModalScript;
using test::ShownModal;

ShownModal ShowAndClose(TFormYellowMsg& dialog, const QString& text) {
  ModalScript modals;
  modals.then(ModalScript::ClickOk());
  dialog.ShowModal(QStringLiteral("MSG - 9999"), text);
  EXPECT_EQ(modals.shown().size(), 1u);
  EXPECT_EQ(modals.unexpected(), 0);
  return modals.shown().empty() ? ShownModal{} : modals.shown().front();
}

// The size a label in the dialog's font gives itself for the text.
QSize NaturalSize(const TFormYellowMsg& dialog, const QString& text) {
  QLabel probe(text);
  probe.setFont(dialog.LabelMsg->font());
  probe.adjustSize();
  return probe.size();
}

TEST(YellowMsgWindow, OneWordIsWidenedToTheMinimumWidth) {
  TFormYellowMsg dialog;
  const ShownModal shown = ShowAndClose(dialog, QStringLiteral("Papir"));
  const int labelHeight = shown.labelGeometry.height();
  EXPECT_EQ(shown.className, "TFormYellowMsg");
  EXPECT_EQ(shown.text, "Papir");
  EXPECT_EQ(shown.labelGeometry, QRect(16, 24, 260, labelHeight));
  EXPECT_EQ(shown.groupBoxGeometry, QRect(0, 0, 292, labelHeight + 48));
  EXPECT_EQ(shown.clientSize, QSize(292, labelHeight + 48 + 30 + 32));
  EXPECT_EQ(shown.buttonGeometry, QRect(96, labelHeight + 64, 100, 30));
  EXPECT_EQ(labelHeight, NaturalSize(dialog, "Papir").height());
}

TEST(YellowMsgWindow, WideTextKeepsItsOwnWidth) {
  TFormYellowMsg dialog;
  const QString text(32, u'W');
  const int natural = NaturalSize(dialog, text).width();
  ASSERT_GT(natural, 260);
  const ShownModal shown = ShowAndClose(dialog, text);
  EXPECT_EQ(shown.labelGeometry.width(), natural);
  EXPECT_EQ(shown.clientSize.width(), natural + 32);
  EXPECT_EQ(shown.buttonGeometry.left(), (natural + 32 - 100) / 2);
}

TEST(YellowMsgWindow, FiveLinesAreFourLinesTallerThanOne) {
  TFormYellowMsg dialog;
  const ShownModal one = ShowAndClose(dialog, QStringLiteral("Prvi red"));
  const ShownModal two = ShowAndClose(dialog, QStringLiteral("Prvi red\ndrugi"));
  const ShownModal five = ShowAndClose(dialog, QStringLiteral("Prvi red\ndrugi\ntreci\ncetvrti\npeti"));
  const int lineHeight = two.labelGeometry.height() - one.labelGeometry.height();
  ASSERT_GT(lineHeight, 0);
  const int fourLines = 4 * lineHeight;
  EXPECT_EQ(five.labelGeometry.height() - one.labelGeometry.height(), fourLines);
  EXPECT_EQ(five.groupBoxGeometry.height() - one.groupBoxGeometry.height(), fourLines);
  EXPECT_EQ(five.clientSize.height() - one.clientSize.height(), fourLines);
  EXPECT_EQ(five.buttonGeometry.top() - one.buttonGeometry.top(), fourLines);
  // No wrapping: the lines are short, so the width stays the minimum.
  EXPECT_EQ(five.clientSize.width(), 292);
}

TEST(YellowMsgWindow, EveryShowLaysTheDialogOutAgain) {
  TFormYellowMsg dialog;
  const ShownModal wide = ShowAndClose(dialog, QString(70, u'W') + QStringLiteral("\n2\n3"));
  const ShownModal narrow = ShowAndClose(dialog, QStringLiteral("OK"));
  EXPECT_GT(wide.clientSize.width(), 292);
  EXPECT_GT(wide.clientSize.height(), narrow.clientSize.height());
  EXPECT_EQ(narrow.clientSize.width(), 292);
  EXPECT_EQ(narrow.labelGeometry.width(), 260);
}

TEST(YellowMsgWindow, EveryCharacterKeyClosesItLikeOk) {
  const Qt::Key keys[] = {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space, Qt::Key_X, Qt::Key_7};
  TFormYellowMsg dialog;
  for (Qt::Key key : keys) {
    SCOPED_TRACE(key);
    ModalScript modals;
    modals.then(ModalScript::PressKey(key));
    dialog.ShowModal(QStringLiteral("MSG - 1003"), QStringLiteral("Papir"));
    EXPECT_EQ(modals.shown().size(), 1u);
    EXPECT_EQ(modals.unexpected(), 0);
    EXPECT_FALSE(dialog.isVisible());
  }
}

TEST(YellowMsgWindow, KeysWithoutACharacterLeaveItOpen) {
  TFormYellowMsg dialog;
  ModalScript modals;
  bool openAfterShift = false;
  modals.then([&](QWidget* modal) {
    ModalScript::PressKey(Qt::Key_Shift)(modal);
    ModalScript::PressKey(Qt::Key_Left)(modal);
    openAfterShift = modal->isVisible();
    ModalScript::ClickOk()(modal);
  });
  dialog.ShowModal(QStringLiteral("MSG - 1003"), QStringLiteral("Papir"));
  EXPECT_TRUE(openAfterShift);
  EXPECT_EQ(modals.unexpected(), 0);
}

TEST(YellowMsgWindow, CatalogueMessageThroughTheUserInterfaceHoldsTheMutexWhileShown) {
  test::FixedClock clock;
  TFormYellowMsg formYellowMsg;
  TFormParam79 formParam79(clock);
  QtUserInterface ui(formYellowMsg, formParam79);
  test::RecordingMutex mutex;
  YellowMsg yellow(ui, mutex);

  ModalScript modals;
  bool heldWhileShown = false;
  modals.then([&](QWidget* modal) {
    heldWhileShown = mutex.held;
    ModalScript::PressKey(Qt::Key_Return)(modal);
  });
  yellow.ShowMsg(3);
  ASSERT_EQ(modals.shown().size(), 1u);
  EXPECT_EQ(modals.shown()[0].title, "MSG - 1003");
  EXPECT_EQ(modals.shown()[0].text, QStringDecoder("windows-1250").decode(GlobalMsg.Get(3)));
  EXPECT_TRUE(heldWhileShown);
  EXPECT_FALSE(mutex.held);
  EXPECT_EQ(mutex.closes, 1);
}

}  // namespace
}  // namespace pralix
