// The main window over fakes: start-up with and without ports, the look of
// the window, every key and panel click through the one dispatcher, which
// keys reach the focused control, the wire of the report actions and the
// dialogs they raise.

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QStringDecoder>

#include "build_config.h"
#include "main_window_rig.h"
#include "modal_script.h"
#include "workstation/diag_upload.h"
#include "workstation/model_catalogue.h"
#include "workstation/serial_ports.h"

namespace pralix {
namespace {

using test::MainWindowRig;
using test::ModalScript;
using test::SentFrame;

const QColor kOffWhite(249, 251, 248);

// Counts the character keys that reach a control.
class KeyProbe : public QObject {
 public:
  explicit KeyProbe(QWidget* control) { control->installEventFilter(this); }
  QString received;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) received += static_cast<QKeyEvent*>(event)->text();
    return false;
  }
};

void TouchFile(const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

bool PanelShown(const MainWindowRig& rig, int tag) { return !rig.window.ActionPanel(tag)->isHidden(); }

TEST(MainWindowStartUp, ListsThePortsHidesThePanelsAndClearsTheOutbox) {
  MainWindowRig rig;
  TouchFile(rig.OutboxFile("r1.jxx"));
  TouchFile(rig.OutboxFile("keep.txt"));
  ModalScript modals;
  ASSERT_TRUE(rig.StartUp());

  EXPECT_EQ(rig.processes.stopCalls, 1);
  EXPECT_EQ(rig.window.MemoPorts->toPlainText(), "COM1\nCOM3");
  EXPECT_EQ(rig.window.CBFP->currentIndex(), 0);
  EXPECT_EQ(rig.window.CBFP->currentText(), "SRB (AG) FP-550   19200");
  for (int tag : {1, 3, 0}) EXPECT_TRUE(PanelShown(rig, tag)) << tag;
  for (int tag : {2, 4, 5, 6, 7}) EXPECT_FALSE(PanelShown(rig, tag)) << tag;
  for (const LabelledEditInfo& edit : kLabelledEdits) EXPECT_EQ(rig.window.EditNamed(edit.name)->text(), "");
  EXPECT_FALSE(QFile::exists(rig.OutboxFile("r1.jxx")));
  EXPECT_TRUE(QFile::exists(rig.OutboxFile("keep.txt")));
  EXPECT_TRUE(modals.shown().empty());
  EXPECT_FALSE(rig.ui.quitRequested());
  EXPECT_FALSE(rig.port.isOpen());
  EXPECT_TRUE(rig.wire.empty());
}

TEST(MainWindowStartUp, WithoutAnyPortShowsTheMessageAndQuits) {
  MainWindowRig rig(QList<SerialDevice>{});
  TouchFile(rig.OutboxFile("r1.jxx"));
  ModalScript modals;
  modals.then(ModalScript::ClickOk());
  EXPECT_FALSE(rig.workstation.StartUp());

  ASSERT_EQ(modals.shown().size(), 1u);
  EXPECT_EQ(modals.shown()[0].className, "QMessageBox");
  EXPECT_EQ(modals.shown()[0].icon, QMessageBox::Information);
  EXPECT_EQ(modals.shown()[0].text, QString::fromUtf8("Ne postoji ComPort na računaru!\n\n----------\n\n"
                                                      "There is no ComPort installed on this computer!"));
  EXPECT_TRUE(rig.ui.quitRequested());
  EXPECT_EQ(rig.processes.stopCalls, 1);
  // The steps after the message do not run.
  EXPECT_TRUE(QFile::exists(rig.OutboxFile("r1.jxx")));
}

TEST(MainWindowLook, WindowControlsAndPanelsAreWhereTheyBelong) {
  MainWindowRig rig;
  rig.StartUp();
  const TFormMainPralix& w = rig.window;
  EXPECT_EQ(w.windowTitle(), "Dexu - PRALIX r10.2.350 - FP Connectivity test");
  EXPECT_EQ(w.size(), QSize(709, 561));
  EXPECT_EQ(w.minimumSize(), w.maximumSize());
  EXPECT_EQ(w.palette().color(QPalette::Window), QColor(38, 38, 38));

  EXPECT_EQ(w.MemoPorts->geometry(), QRect(28, 37, 100, 190));
  EXPECT_TRUE(w.MemoPorts->isReadOnly());
  EXPECT_EQ(w.MemoPorts->toolTip(), QString::fromUtf8("Raspoloživi portovi na PC"));
  EXPECT_EQ(w.MemoHeader->geometry(), QRect(151, 88, 350, 139));
  EXPECT_EQ(w.MemoHeader->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(w.CBFP->geometry().topLeft(), QPoint(182, 37));
  EXPECT_EQ(w.CBFP->width(), 285);
  EXPECT_EQ(w.CBFP->maxVisibleItems(), 16);
  ASSERT_EQ(w.CBFP->count(), 16);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(w.CBFP->itemText(i), QString::fromLatin1(ModelCatalogue[size_t(i)].line));
  EXPECT_EQ(w.Label2->text(), "ComPorts");
  EXPECT_EQ(w.Label2->pos(), QPoint(28, 16));
  EXPECT_EQ(w.Label1->text(), "Select FP model");
  EXPECT_EQ(w.Label1->pos(), QPoint(182, 16));

  struct Edit {
    const char* name;
    QRect geometry;
    const char* hint;
    Qt::Alignment alignment;
  };
  const Edit edits[] = {
      {"LEFPPort", {28, 270, 100, 26}, "", Qt::AlignLeft},
      {"LEFirmware", {151, 270, 259, 26}, "Verzija firmvera", Qt::AlignLeft},
      {"LEBPDI", {441, 270, 60, 26}, "Broj preostalih DI", Qt::AlignRight},
      {"LEPIB", {28, 353, 100, 26}, "", Qt::AlignLeft},
      {"LETax", {151, 353, 100, 26}, "Aktivne poreske grupe", Qt::AlignLeft},
      {"LECurrJXVer", {282, 353, 128, 26}, "", Qt::AlignLeft},
      {"LEPluNumber", {441, 353, 60, 26}, "Broj PLU-ova u FP memoriji", Qt::AlignRight},
      {"LEIBFM", {28, 436, 100, 26}, "IBFM broj", Qt::AlignLeft},
      {"LEDTFP", {151, 436, 168, 26}, "", Qt::AlignLeft},
      {"LEDTDiff", {328, 436, 109, 26}, "Razlika vremena", Qt::AlignRight},
      {"LEDisplayOK", {446, 436, 55, 26}, "Provera displeja", Qt::AlignHCenter},
  };
  for (const Edit& e : edits) {
    SCOPED_TRACE(e.name);
    QLineEdit* edit = w.EditNamed(e.name);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->objectName(), e.name);
    EXPECT_EQ(edit->geometry(), e.geometry);
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->toolTip(), e.hint);
    EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, e.alignment);
    EXPECT_EQ(edit->palette().color(QPalette::Base), kOffWhite);
    QLabel* caption = w.EditLabelNamed(e.name);
    EXPECT_EQ(caption->x(), e.geometry.left());
    EXPECT_LT(caption->geometry().bottom(), e.geometry.top());
    EXPECT_EQ(caption->palette().color(QPalette::WindowText), QColor(Qt::white));
  }
  for (const LabelledEditInfo& info : kLabelledEdits) EXPECT_EQ(w.EditLabelNamed(info.name)->text(), info.caption);

  struct Panel {
    int tag;
    const char* name;
    const char* caption;
    int top;
  };
  const Panel panels[] = {{1, "Panel1", " 1. Test", 37},         {2, "Panel2", " 2. Send DiagData", 92},
                          {3, "Panel3", " 3. Find printer", 147},
                          {4, "Panel4", " 4. Diagnostic", 202},  {5, "Panel5", " 5. X Report", 257},
                          {6, "Panel6", " 6. Z Report", 312},    {7, "Panel7", " 7. P Report", 367},
                          {0, "Panel0", " 0. Exit", 422}};
  for (const Panel& p : panels) {
    SCOPED_TRACE(p.name);
    ClickPanel* panel = w.findChild<ClickPanel*>(p.name);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel, w.ActionPanel(p.tag));
    EXPECT_EQ(panel->property("Tag").toInt(), p.tag);
    EXPECT_EQ(panel->text(), p.caption);
    EXPECT_EQ(panel->geometry(), QRect(525, p.top, 155, 40));
    EXPECT_EQ(panel->palette().color(QPalette::Window), kOffWhite);
    EXPECT_EQ(panel->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_EQ(panel->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
  }

  EXPECT_EQ(w.Panel12->geometry(), QRect(28, 501, 652, 25));
  EXPECT_EQ(w.Panel12->text(), "PRALIX   r10.2");
  EXPECT_EQ(w.LabelWeb->parentWidget(), w.Panel12);
  EXPECT_EQ(w.LabelWeb->pos(), QPoint(10, 2));
  EXPECT_EQ(w.LabelWeb->text(), PRALIX_WEB_ADDRESS);
  EXPECT_TRUE(w.LabelWeb->font().underline());
}

// What one key or click did.
struct Outcome {
  std::vector<SentFrame> wire;
  std::vector<test::ShownModal> shown;
  QString reachedControl;
  bool windowOpen;
};

TEST(MainWindowKeys, ActionDigitsAreSwallowedOtherKeysReachTheFocusedControl) {
  struct Case {
    Qt::Key key;
    QString text;
    bool reachesControl;
    std::vector<std::pair<int, QByteArray>> sent;
    bool windowStaysOpen;
  };
  const Case cases[] = {
      {Qt::Key_A, "a", true, {}, true},
      {Qt::Key_8, "8", true, {}, true},
      {Qt::Key_9, "9", true, {}, true},
      {Qt::Key_4, "4", false, {{71, ""}}, true},
      {Qt::Key_5, "5", false, {{69, "2"}}, true},
      {Qt::Key_6, "6", false, {{69, "0A"}}, true},
      {Qt::Key_Escape, "\x1b", true, {}, false},
      {Qt::Key_0, "0", true, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(qPrintable(c.text));
    MainWindowRig rig;
    ASSERT_TRUE(rig.StartUp());
    KeyProbe probe(rig.window.CBFP);
    ModalScript modals;
    rig.Press(c.key);

    EXPECT_EQ(probe.received, c.reachesControl ? c.text : QString());
    std::vector<std::pair<int, QByteArray>> sent;
    for (const SentFrame& frame : rig.wire) sent.emplace_back(frame.command, frame.data);
    EXPECT_EQ(sent, c.sent);
    EXPECT_EQ(rig.window.isVisible(), c.windowStaysOpen);
    EXPECT_TRUE(modals.shown().empty());
  }
}

TEST(MainWindowKeys, ReportsBeforeAnyTestGoToTheDefaultPortAt19200) {
  MainWindowRig rig;
  ASSERT_TRUE(rig.StartUp());
  rig.Press(Qt::Key_5);
  rig.Press(Qt::Key_6);
  ASSERT_EQ(rig.wire.size(), 2u);
  for (const SentFrame& frame : rig.wire) {
    EXPECT_EQ(frame.port, "COM1");
    EXPECT_EQ(frame.baud, 19200);
    EXPECT_EQ(frame.command, 69);
  }
  EXPECT_EQ(rig.wire[0].data, "2");
  EXPECT_EQ(rig.wire[1].data, "0A");
  // The report actions leave the port open.
  EXPECT_TRUE(rig.port.isOpen());
}

TEST(MainWindowKeys, KeyTwoBeforeAnyTestReportsNoConnection) {
  MainWindowRig rig;
  ASSERT_TRUE(rig.StartUp());
  ModalScript modals;
  modals.then(ModalScript::PressKey(Qt::Key_Return));
  rig.Press(Qt::Key_2);
  ASSERT_EQ(modals.shown().size(), 1u);
  EXPECT_EQ(modals.shown()[0].className, "QMessageBox");
  EXPECT_EQ(modals.shown()[0].icon, QMessageBox::Information);
  EXPECT_EQ(modals.shown()[0].text, DiagDataReportText(false));
  EXPECT_TRUE(rig.wire.empty());
  EXPECT_TRUE(rig.http.posts.empty());
}

TEST(MainWindowKeys, ALetterGoesOnToTheModelListAndChangesTheModel) {
  MainWindowRig rig;
  ASSERT_TRUE(rig.StartUp());
  rig.Press(Qt::Key_M);  // the list's own search: the first "M..." line
  EXPECT_EQ(rig.window.CBFP->currentIndex(), 8);
  EXPECT_EQ(rig.workstation.fields().CBFPIndex, 8);
  EXPECT_TRUE(rig.wire.empty());
}

TEST(MainWindowKeys, PeriodicReportSendsTheChosenRangeAndNothingOnCancel) {
  MainWindowRig rig;
  ASSERT_TRUE(rig.StartUp());
  ModalScript modals;
  modals.then(ModalScript::PressKey(Qt::Key_Escape))
      .then(ModalScript::CloseByTitleBar())
      .then(ModalScript::EnterPeriod(QDate(2021, 1, 5), QDate(2021, 2, 7)));
  rig.Press(Qt::Key_7);
  rig.Click(rig.window.ActionPanel(7));  // hidden, but a click is a click
  EXPECT_TRUE(rig.wire.empty());
  rig.Press(Qt::Key_7);

  ASSERT_EQ(modals.shown().size(), 3u);
  for (const auto& shown : modals.shown()) EXPECT_EQ(shown.className, "TFormParam79");
  ASSERT_EQ(rig.wire.size(), 1u);
  EXPECT_EQ(rig.wire[0].command, 79);
  EXPECT_EQ(rig.wire[0].data, "050121,070221");
  EXPECT_EQ(modals.unexpected(), 0);
}

TEST(MainWindowKeys, AnErrorTheActionDoesNotHandleGoesToTheErrorBoxAndTheWindowGoesOn) {
  MainWindowRig rig;
  ASSERT_TRUE(rig.StartUp());
  rig.port.refuseOpen = true;
  ModalScript modals;
  modals.then(ModalScript::ClickOk());
  rig.Press(Qt::Key_5);
  ASSERT_EQ(modals.shown().size(), 1u);
  EXPECT_EQ(modals.shown()[0].icon, QMessageBox::Critical);
  EXPECT_FALSE(modals.shown()[0].text.isEmpty());
  EXPECT_TRUE(rig.wire.empty());

  rig.port.refuseOpen = false;
  rig.Press(Qt::Key_6);
  ASSERT_EQ(rig.wire.size(), 1u);
  EXPECT_EQ(rig.wire[0].data, "0A");
  EXPECT_TRUE(rig.window.isVisible());
}

TEST(MainWindowKeys, KeyFourAsksForPaperInTheImportantMessageAndPrintsWhenItIsBack) {
  MainWindowRig rig;
  ASSERT_TRUE(rig.StartUp());
  int answered = 0;
  rig.printer = [&](int, const QByteArray&) { return ++answered == 1 ? test::Reply("", {{2, 0}}) : test::Reply(""); };
  ModalScript modals;
  bool mutexHeld = false;
  modals.then([&](QWidget* modal) {
    mutexHeld = rig.mutex.held;
    ModalScript::PressKey(Qt::Key_Space)(modal);
  });
  rig.Press(Qt::Key_4);

  ASSERT_EQ(modals.shown().size(), 1u);
  EXPECT_EQ(modals.shown()[0].className, "TFormYellowMsg");
  EXPECT_EQ(modals.shown()[0].title, "MSG - 1003");
  EXPECT_EQ(modals.shown()[0].text, QStringDecoder("windows-1250").decode(GlobalMsg.Get(3)));
  EXPECT_TRUE(mutexHeld);
  EXPECT_FALSE(rig.mutex.held);
  ASSERT_EQ(rig.wire.size(), 2u);
  EXPECT_EQ(rig.wire[0].command, 71);
  EXPECT_EQ(rig.wire[1].command, 71);
}

TEST(MainWindowKeys, KeyFourWithoutAPrinterAsksToQuitAndShowsTheCommandsError) {
  MainWindowRig rig;
  ASSERT_TRUE(rig.StartUp());
  rig.printer = nullptr;
  ModalScript modals;
  modals.then(ModalScript::ClickOk());
  rig.Press(Qt::Key_4);

  ASSERT_EQ(modals.shown().size(), 1u);
  EXPECT_EQ(modals.shown()[0].icon, QMessageBox::Critical);
  EXPECT_TRUE(modals.shown()[0].text.startsWith("Komanda 71 - Diagnostika stampaca\n"));
  EXPECT_TRUE(rig.ui.quitRequested());
}

TEST(MainWindowKeys, KeysTypedInADialogDoNotReachTheDispatcher) {
  MainWindowRig rig;
  ASSERT_TRUE(rig.StartUp());
  ModalScript modals;
  modals.then([](QWidget* modal) {
    for (Qt::Key key : {Qt::Key_5, Qt::Key_6, Qt::Key_0}) ModalScript::PressKey(key)(modal);
    ModalScript::PressKey(Qt::Key_Escape)(modal);
  });
  rig.Press(Qt::Key_7);
  EXPECT_EQ(modals.shown().size(), 1u);
  EXPECT_TRUE(rig.wire.empty());
  EXPECT_TRUE(rig.window.isVisible());
}

TEST(MainWindowPanels, AClickIsThePressOfItsDigit) {
  struct Case {
    int tag;
    std::vector<std::pair<int, QByteArray>> sent;
    bool windowStaysOpen;
  };
  const Case cases[] = {
      {4, {{71, ""}}, true}, {5, {{69, "2"}}, true}, {6, {{69, "0A"}}, true}, {0, {}, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    MainWindowRig rig;
    ASSERT_TRUE(rig.StartUp());
    rig.workstation.SetActionPanelsVisible(true);
    rig.window.refreshFromFields();
    ModalScript modals;
    rig.Click(rig.window.ActionPanel(c.tag));
    std::vector<std::pair<int, QByteArray>> sent;
    for (const SentFrame& frame : rig.wire) sent.emplace_back(frame.command, frame.data);
    EXPECT_EQ(sent, c.sent);
    EXPECT_EQ(rig.window.isVisible(), c.windowStaysOpen);
    EXPECT_TRUE(modals.shown().empty());
  }
}

TEST(MainWindowPanels, PanelTwoReportsTheUploadLikeKeyTwo) {
  MainWindowRig rig;
  ASSERT_TRUE(rig.StartUp());
  rig.workstation.SetActionPanelsVisible(true);
  rig.window.refreshFromFields();
  ModalScript modals;
  modals.then(ModalScript::ClickOk());
  rig.Click(rig.window.ActionPanel(2));
  ASSERT_EQ(modals.shown().size(), 1u);
  EXPECT_EQ(modals.shown()[0].text, DiagDataReportText(false));
}

TEST(MainWindowPanels, TheWebLabelOpensTheMakersAddress) {
  MainWindowRig rig;
  ASSERT_TRUE(rig.StartUp());
  rig.Click(rig.window.LabelWeb);
  EXPECT_EQ(rig.processes.openedUrls, QStringList{PRALIX_WEB_ADDRESS});
  EXPECT_TRUE(rig.wire.empty());
}

TEST(MainWindowTest, ASuccessfulTestFillsTheWindowAndShowsThePanels) {
  MainWindowRig rig;
  ASSERT_TRUE(rig.StartUp());
  ModalScript modals;
  rig.Click(rig.window.ActionPanel(1));

  EXPECT_TRUE(modals.shown().empty());
  const QString tag = PortDeviceTag(rig.deviceMap, QStringLiteral("COM1"));
  EXPECT_EQ(rig.window.EditNamed("LEFPPort")->text(), "COM1/" + tag);
  EXPECT_EQ(rig.window.EditNamed("LEFirmware")->text(), "1.22SR 09NOV03 1230,BB78");
  EXPECT_EQ(rig.window.EditNamed("LEDTDiff")->text(), "00:00");
  EXPECT_EQ(rig.window.MemoHeader->document()->blockCount(), 6);
  for (int tag : {1, 2, 3, 4, 5, 6, 7, 0}) EXPECT_TRUE(PanelShown(rig, tag)) << tag;

  // The window shows the judgement's colours: an empty serial is "E" and red,
  // the known firmware black.
  const MainFields& fields = rig.workstation.fields();
  for (const LabelledEditInfo& info : kLabelledEdits) {
    SCOPED_TRACE(info.name);
    const QColor shown = rig.window.EditNamed(info.name)->palette().color(QPalette::Text);
    EXPECT_EQ(shown, (fields.*info.field).red ? QColor(255, 0, 0) : QColor(Qt::black));
  }
  EXPECT_EQ(rig.window.EditNamed("LEIBFM")->palette().color(QPalette::Text), QColor(255, 0, 0));
  EXPECT_EQ(rig.window.EditNamed("LEFirmware")->palette().color(QPalette::Text), QColor(Qt::black));
  EXPECT_EQ(rig.http.posts.size(), 1u);
}

TEST(MainWindowTest, ReportsUseTheTestedModelNotTheOneSelectedAfterwards) {
  MainWindowRig rig;
  ASSERT_TRUE(rig.StartUp());
  rig.window.CBFP->setCurrentIndex(12);  // MKD (AC) PF-550
  rig.Press(Qt::Key_1);
  ASSERT_FALSE(rig.wire.empty());
  EXPECT_EQ(rig.wire.back().baud, 19200);

  rig.window.CBFP->setCurrentIndex(0);
  rig.wire.clear();
  rig.Press(Qt::Key_6);
  rig.Press(Qt::Key_5);
  ASSERT_EQ(rig.wire.size(), 2u);
  EXPECT_EQ(rig.wire[0].command, 69);
  EXPECT_EQ(rig.wire[0].data, "1");
  EXPECT_EQ(rig.wire[1].data, "3");
  EXPECT_EQ(rig.wire[0].port, "COM1");
}

TEST(MainWindowTest, ANewTestClearsTheWindowBeforeItBlocks) {
  MainWindowRig rig;
  ASSERT_TRUE(rig.StartUp());
  rig.Press(Qt::Key_1);
  ASSERT_FALSE(rig.window.EditNamed("LEFPPort")->text().isEmpty());

  // No printer any more: while the not-connected message is up, the user
  // already sees the cleared fields and the hidden panels.
  rig.printer = nullptr;
  QString portShown;
  bool panelFiveShown = true;
  ModalScript modals;
  modals.then([&](QWidget* modal) {
    portShown = rig.window.EditNamed("LEFPPort")->text();
    panelFiveShown = PanelShown(rig, 5);
    ModalScript::ClickOk()(modal);
  });
  rig.Press(Qt::Key_1);

  ASSERT_EQ(modals.shown().size(), 1u);
  const QString model = QString::fromLatin1(ModelCatalogue[0].line);
  EXPECT_EQ(modals.shown()[0].text, "Odabrani " + model + "\n\nnije pravilno povezan sa PC!\n\n----------\n\nSelected " +
                                        model + "\n\nis not properly connected with PC!");
  EXPECT_EQ(portShown, "");
  EXPECT_FALSE(panelFiveShown);
  EXPECT_FALSE(PanelShown(rig, 5));
  EXPECT_TRUE(PanelShown(rig, 1));
}

}  // namespace
}  // namespace pralix
