// The link itself (FPCommand00 over the real QtSerialPort) against the
// printer simulator on a paced pseudo-terminal.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringDecoder>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "link/P00_fpcommand.h"
#include "link/P00_fpsend.h"
#include "link/frame.h"
#include "platform/qt/qt_serial_port.h"
#include "support/sim_process.h"

namespace pralix {
namespace {

using test::SimProcess;
using sim::kModelIdentities;

QByteArray Chars(const QByteArray& text, int from, int to) { return text.mid(from - 1, to - from + 1); }
QByteArray Utf8To1251(const char* utf8) { return QStringEncoder("windows-1251").encode(QString::fromUtf8(utf8)); }

// A request frame as the link must put it on the wire, built here by hand.
QByteArray RequestFrame(quint8 seq, quint8 command, const QByteArray& data = {}) {
  QByteArray covered;
  covered.append(char(0x24 + data.size())).append(char(seq)).append(char(command)).append(data).append('\x05');
  int sum = 0;
  for (char c : covered) sum += quint8(c);
  QByteArray frame = "\x01" + covered;
  for (int shift = 12; shift >= 0; shift -= 4) frame.append(char(0x30 + ((sum >> shift) & 0x0F)));
  return frame + "\x03";
}

class SimLinkTest : public ::testing::Test {
 protected:
  // Starts the simulator and points the link at it, at the model's rate.
  void Start(const QStringList& args, int baud = 19200) {
    sim_ = std::make_unique<SimProcess>(args);
    ASSERT_TRUE(sim_->ok()) << sim_->error().toStdString();
    port_.setPortName(sim_->slavePath());
    port_.setBaudRate(baud);
    LinkPort = &port_;
    SequenceNumber = 0x1F;
  }
  void TearDown() override {
    port_.close();
    LinkPort = nullptr;
  }
  FPCommand00& Run(int command, const QByteArray& data = {}) { return cmd_.Execute(command, data); }
  SimProcess& sim() { return *sim_; }

  FPCommand00 cmd_;
  QtSerialPort port_;
  std::unique_ptr<SimProcess> sim_;
};

class EveryModelOverTheLink : public SimLinkTest, public ::testing::WithParamInterface<int> {};

// The commands of one connectivity test, read by the tool's per-model rules.
TEST_P(EveryModelOverTheLink, FieldsTheTestReadsCarryTheTableIdentity) {
  const int model = GetParam();
  const sim::ModelIdentity& m = kModelIdentities[model];
  Start({"--model", QString::number(model)}, m.baud);
  const auto in = [model](std::initializer_list<int> set) { return std::find(set.begin(), set.end(), model) != set.end(); };

  ASSERT_EQ(Run(62).ErrorCode, kOk);
  EXPECT_EQ(cmd_.ReplyData.size(), 17);

  ASSERT_EQ(Run(90, "1").ErrorCode, kOk);
  const QByteArray serialField = Utf8To1251(m.serialField);
  QByteArray serial, expectedSerial;
  if (in({12, 13})) {
    serial = "AC" + Chars(cmd_.Field(5), 6, 11);
    expectedSerial = "AC" + Chars(serialField, 6, 11);
  } else if (model == 10) {
    serial = cmd_.Field(3);
    expectedSerial = serialField;
  } else if (model == 15) {
    serial = Chars(cmd_.Field(4), 3, 10);
    expectedSerial = Chars(serialField, 3, 10);
  } else {
    serial = cmd_.Field(4);
    expectedSerial = serialField;
  }
  EXPECT_EQ(serial, expectedSerial);
  const int fw = in({9, 12, 13, 14, 15}) ? 1 : 0;
  EXPECT_EQ(cmd_.Field(fw) + "," + cmd_.Field(fw + 1), QByteArray(m.firmware));

  ASSERT_EQ(Run(99).ErrorCode, kOk);
  EXPECT_EQ(cmd_.Field(0), QByteArray(m.pibField));
  ASSERT_EQ(Run(68).ErrorCode, kOk);
  EXPECT_EQ(cmd_.Field(0).toInt(), m.freeZ);
  ASSERT_EQ(Run(107, "I").ErrorCode, kOk);
  EXPECT_EQ(cmd_.Field(in({9, 10, 15}) ? 1 : 2).toInt(), m.plu);
  ASSERT_EQ(Run(83).ErrorCode, kOk);
  EXPECT_EQ(cmd_.Field(in({12, 13}) ? 3 : in({8, 9, 10, 11, 15}) ? 2 : 1), QByteArray(m.tax));
  for (int k = 0; k < 6; ++k) {
    ASSERT_EQ(Run(43, "I" + QByteArray::number(k)).ErrorCode, kOk);
    EXPECT_EQ(QStringDecoder("windows-1251").decode(cmd_.ReplyData), QString::fromUtf8(m.header[k])) << k;
  }
  // Every frame on the wire was one intact request, each with its own sequence byte.
  const QList<QByteArray> frames = sim().receivedFrames();
  ASSERT_EQ(frames.size(), 12);
  for (int i = 0; i < frames.size(); ++i) EXPECT_EQ(quint8(frames[i][2]), 0x20 + i);
}

INSTANTIATE_TEST_SUITE_P(Models, EveryModelOverTheLink, ::testing::Range(0, 16));

TEST_F(SimLinkTest, RequestOnTheWireIsTheExpectedFrame) {
  Start({});
  Run(62);
  Run(90, "1");
  Run(43, "I3");
  EXPECT_EQ(sim().receivedFrames(),
            (QList<QByteArray>{RequestFrame(0x20, 62), RequestFrame(0x21, 90, "1"), RequestFrame(0x22, 43, "I3")}));
  EXPECT_EQ(RequestFrame(0x21, 90, "1"), QByteArray("\x01\x25\x21\x5A\x31\x05\x30\x30\x3D\x36\x03"));
}


// The log tells when the line fell quiet after each reply, never sooner
// than the request and the reply take on the wire plus the think time.
TEST_F(SimLinkTest, EachReplyEndsWithASentLineNoSoonerThanTheWireAllows) {
  Start({"--turnaround-ms", "3"});
  Run(62);
  Run(90, "1");
  ASSERT_EQ(cmd_.ErrorCode, 0);
  // The simulator logs a SENT just after its write, so the tool may hold a
  // reply before its line is there; a third request is read only after it.
  Run(62);
  double readAt = -1;
  int requestBytes = 0, replyBytes = 0, sent = 0;
  for (const QString& line : sim().logLines()) {
    const QStringList words = line.section(QStringLiteral(" #"), 0, 0).split(' ', Qt::SkipEmptyParts);
    ASSERT_GE(words.size(), 2) << line.toStdString();
    if (words[1] == "RX") {
      readAt = words[0].toDouble();
      requestBytes = int(words.size()) - 2;
    } else if (words[1] == "TX") {
      replyBytes = int(words.size()) - 2;
    } else if (words[1] == "SENT") {
      ++sent;
      ASSERT_GE(readAt, 0) << "a SENT line before any request";
      const double wireSeconds = (requestBytes + replyBytes) * 10.0 / 19200 + 0.003;
      EXPECT_GE(words[0].toDouble() - readAt, wireSeconds - 1e-6) << line.toStdString();
      EXPECT_TRUE(line.contains(QRegularExpression(" # last byte -?\\d+ us after its time$"))) << line.toStdString();
    }
  }
  EXPECT_GE(sent, 2);
}
struct Recovery {
  const char* name;
  QStringList args;
  int framesOnTheWire;
};

class RecoveryTest : public SimLinkTest, public ::testing::WithParamInterface<Recovery> {};

// A damaged or missing answer is asked for again with the same frame.
TEST_P(RecoveryTest, RepeatsTheSameFrameUntilAValidReply) {
  Start(GetParam().args);
  ASSERT_EQ(Run(90, "1").ErrorCode, kOk);
  EXPECT_EQ(cmd_.Field(0), QByteArray("1.22SR 09NOV03 1230"));
  const QList<QByteArray> frames = sim().receivedFrames();
  ASSERT_EQ(frames.size(), GetParam().framesOnTheWire);
  for (const QByteArray& f : frames) EXPECT_EQ(f, RequestFrame(0x20, 90, "1"));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RecoveryTest,
    ::testing::Values(Recovery{"SilentOnce", {"--fault", "silent:1"}, 2},
                      Recovery{"ThreeNaks", {"--fault", "nak:3"}, 4},
                      Recovery{"WrongChecksumOnce", {"--fault", "wrong-checksum:1"}, 2},
                      Recovery{"WrongSequenceOnce", {"--fault", "wrong-seq:1"}, 2},
                      Recovery{"TruncatedOnce", {"--fault", "truncated:1"}, 2},
                      Recovery{"NoiseFirst", {"--fault", "noise", "--noise-count", "40"}, 1},
                      Recovery{"BusyForASecond", {"--fault", "busy:1", "--busy-ms", "1000"}, 1},
                      Recovery{"FaultsOnOtherCommandsOnly", {"--fault", "silent@62", "--fault", "nak@83"}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimLinkTest, ThreeNaksThenSilenceEndsWithCode3) {
  Start({"--fault", "nak:3", "--fault", "silent"});
  EXPECT_EQ(Run(62).ErrorCode, kNoAnswer);
  EXPECT_EQ(sim().receivedFrames().size(), 4);
}

TEST_F(SimLinkTest, ReplyThatNeverCompletesEndsWithCode7) {
  Start({"--fault", "truncated"});
  EXPECT_EQ(Run(62).ErrorCode, kIncompleteFrame);
  EXPECT_EQ(sim().receivedFrames().size(), 4);
  EXPECT_TRUE(cmd_.ReplyData.isEmpty());
}

TEST_F(SimLinkTest, FaultLimitedToOneCommandSparesTheOthers) {
  Start({"--fault", "nak", "--fault-command", "83"});
  EXPECT_EQ(Run(83).ErrorCode, kNakStorm);
  EXPECT_EQ(Run(62).ErrorCode, kOk);
  EXPECT_EQ(Run(83).ErrorCode, kNakStorm);
  EXPECT_EQ(sim().receivedFrames().size(), 9);
}

TEST_F(SimLinkTest, PaperOutForOneReplyThenTheRepeatedCommandSucceeds) {
  Start({"--paper-out", "receipt:1"});
  EXPECT_EQ(Run(68).ErrorCode, kNoReceiptPaper);
  EXPECT_EQ(cmd_.Field(0), QByteArray("1746")) << "the reply data stays with the paper-out code";
  EXPECT_EQ(cmd_.StatusByte(2), 0x01);
  EXPECT_EQ(Run(68).ErrorCode, kOk);
  EXPECT_EQ(cmd_.StatusByte(2), 0x00);
}

TEST_F(SimLinkTest, PaperTakesPrecedenceOverGeneralError) {
  Start({"--paper-out", "journal", "--general-error"});
  EXPECT_EQ(Run(62).ErrorCode, kNoJournalPaper);
  EXPECT_EQ(cmd_.StatusByte(0), 0x20);
  EXPECT_EQ(cmd_.StatusByte(2), 0x05);
}

TEST_F(SimLinkTest, ZReportUsesUpAFreeRecord) {
  Start({"--model", "8"});
  ASSERT_EQ(Run(69, "0a").ErrorCode, kOk);
  EXPECT_EQ(Run(68).Field(0), QByteArray::number(kModelIdentities[8].freeZ - 1));
  EXPECT_EQ(Run(69, "7").ErrorCode, kGeneralError) << "data the printer does not know";
  EXPECT_EQ(cmd_.StatusBit(0, 0), 1) << "#SyntaxError";
}

// The slave end opened by hand, for bytes the link would never send.
class RawLine {
 public:
  explicit RawLine(const QString& path) : fd_(open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY)) {
    termios raw{};
    tcgetattr(fd_, &raw);
    cfmakeraw(&raw);
    tcsetattr(fd_, TCSANOW, &raw);
  }
  ~RawLine() { close(fd_); }
  bool ok() const { return fd_ >= 0; }
  void Write(const QByteArray& bytes) { ASSERT_EQ(write(fd_, bytes.constData(), bytes.size()), bytes.size()); }
  // Up to count bytes; gives up after 3 s without a byte.
  QByteArray Read(int count) {
    QByteArray got;
    while (got.size() < count) {
      pollfd pfd{fd_, POLLIN, 0};
      if (poll(&pfd, 1, 3000) <= 0) break;
      char buffer[256];
      const ssize_t n = read(fd_, buffer, qMin<qsizetype>(sizeof buffer, count - got.size()));
      if (n <= 0) break;
      got.append(buffer, n);
    }
    return got;
  }

 private:
  int fd_;
};

TEST(SimRawLine, DamagedRequestGetsANakAndTheToolsCodecAcceptsTheReply) {
  SimProcess sim({"--baud", "115200"});
  ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
  RawLine line(sim.slavePath());
  ASSERT_TRUE(line.ok());
  QByteArray damaged = RequestFrame(0x33, 99);
  damaged[6] = '9';  // checksum character
  line.Write("\x16\x7F" + damaged);
  EXPECT_EQ(line.Read(1), QByteArray("\x15"));

  line.Write(RequestFrame(0x34, 99));
  const QByteArray head = line.Read(2);
  ASSERT_EQ(head.size(), 2);
  EXPECT_EQ(head[0], '\x01');
  const int k = quint8(head[1]) - 28;
  const QByteArray rest = line.Read(k);
  ASSERT_EQ(rest.size(), k);
  ReplyFrame reply;
  EXPECT_EQ(CheckReply(quint8(head[1]), reinterpret_cast<const quint8*>(rest.constData()), k, 0x34, 99, &reply),
            ReplyVerdict::Valid);
  EXPECT_EQ(reply.data, QByteArray("100234567,1"));

  QStringList log = sim.logLines();
  // Each answer is followed by its SENT line once written; the last one may
  // still be on its way, so they are left out of the count.
  log.removeIf([](const QString& line) { return line.contains(QLatin1String(" SENT ")); });
  ASSERT_EQ(log.size(), 5);
  EXPECT_TRUE(log[0].contains(" JUNK 16 7F")) << log[0].toStdString();
  EXPECT_TRUE(log[1].contains(" RX ") && log[1].contains("damaged")) << log[1].toStdString();
  EXPECT_TRUE(log[2].endsWith(" TX 15 # nak")) << log[2].toStdString();
}

}  // namespace
}  // namespace pralix
