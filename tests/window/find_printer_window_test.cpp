// "3. Find printer" in the real main window: the panel, its key, the model
// it selects and the boxes it shows.

#include <gtest/gtest.h>

#include "main_window_rig.h"
#include "modal_script.h"
#include "workstation/find_printer_texts.h"

namespace pralix {
namespace {

using test::MainWindowRig;
using test::ModalScript;
using test::PrinterReply;

// A Macedonian printer at 19200 on COM3: deaf at every other speed and port.
void MacedonianPrinterOnCom3(MainWindowRig& rig) {
  rig.port.setResponder([&rig](const QByteArray& frame) -> test::ScriptedPort::Response {
    const int command = test::RequestCommand(frame);
    rig.wire.push_back({rig.port.portName(), rig.port.baudRate(), command, test::RequestData(frame)});
    if (rig.port.portName() != "COM3" || rig.port.baudRate() != 19200) return {};
    const PrinterReply reply = command == 90 ? PrinterReply{"PF-550,1.00MK 23JUL14 1230,21F5,00100110,MKD,FM004200417"}
                                             : test::HealthyPrinter(command, test::RequestData(frame));
    return {{1, test::ReplyTo(frame, reply)}};
  });
}

TEST(FindPrinterWindow, PanelThreeSelectsTheBestModelTestsItAndNamesTheOthers) {
  MainWindowRig rig;
  MacedonianPrinterOnCom3(rig);
  ASSERT_TRUE(rig.StartUp());
  EXPECT_FALSE(rig.window.ActionPanel(3)->isHidden()) << "always visible, like panels 1 and 0";
  ModalScript modals;
  modals.then(ModalScript::ClickOk());
  rig.Click(rig.window.ActionPanel(3));

  // The silent COM1 and the printer at 19200 are tried before anything else.
  ASSERT_GE(rig.wire.size(), 2u);
  EXPECT_EQ(rig.wire[0].port, "COM1");
  EXPECT_EQ(rig.wire[1].port, "COM3");
  for (const test::SentFrame& f : rig.wire) EXPECT_EQ(f.baud, 19200);
  EXPECT_EQ(rig.window.CBFP->currentIndex(), 12);
  EXPECT_EQ(rig.window.CBFP->currentText(), "MKD (AC) PF-550   19200");
  EXPECT_TRUE(rig.window.EditNamed("LEFPPort")->text().startsWith("COM3/"));
  EXPECT_EQ(rig.window.EditNamed("LEIBFM")->text(), "AC200417");
  EXPECT_FALSE(rig.window.ActionPanel(5)->isHidden()) << "the test found the printer";
  ASSERT_EQ(modals.shown().size(), 1u);
  EXPECT_EQ(modals.shown()[0].icon, QMessageBox::Information);
  EXPECT_EQ(modals.shown()[0].text, OtherCandidatesText({13}));
  EXPECT_EQ(rig.http.posts.size(), 1u);
}

TEST(FindPrinterWindow, KeyThreeIsSwallowedAndWithoutAPrinterSaysSoInBothLanguages) {
  MainWindowRig rig;
  rig.printer = nullptr;  // nothing on any port
  ASSERT_TRUE(rig.StartUp());
  ModalScript modals;
  modals.then(ModalScript::ClickOk());
  const int before = rig.window.CBFP->currentIndex();
  rig.Press(Qt::Key_3);

  ASSERT_EQ(modals.shown().size(), 1u);
  EXPECT_EQ(modals.shown()[0].text, NoPrinterAnywhereText());
  EXPECT_EQ(rig.window.CBFP->currentIndex(), before) << "the key did not reach the model list";
  EXPECT_EQ(rig.wire.size(), 2u * 5u) << "two ports at five speeds, command 62 only";
  for (const test::SentFrame& f : rig.wire) EXPECT_EQ(f.command, 62);
  EXPECT_TRUE(rig.window.ActionPanel(5)->isHidden());
  EXPECT_TRUE(rig.http.posts.empty());
}

}  // namespace
}  // namespace pralix
