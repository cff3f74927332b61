// QtSerialPort::readWithin on a real pseudo-terminal: what has arrived is
// taken without waiting, the first byte ends the wait, a silent line gives
// nothing after the time-out.

#include <gtest/gtest.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <thread>

#include "platform/qt/qt_serial_port.h"
#include "support/qt_core_application.h"

namespace pralix {
namespace {

class QtReadWithinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Without an application object a second port object finds no thread
    // its notifier can use.
    test::EnsureQtCoreApplication();
    char name[256] = {};
    ASSERT_EQ(openpty(&master_, &slave_, name, nullptr, nullptr), 0);
    port_.setPortName(QString::fromLocal8Bit(name));
    port_.open();  // raw from here on
  }
  void TearDown() override {
    port_.close();
    close(master_);
    close(slave_);
  }
  void peerSends(const QByteArray& bytes) {
    ASSERT_EQ(write(master_, bytes.constData(), size_t(bytes.size())), bytes.size());
  }
  // Waits, at most five seconds, until count bytes wait on our side.
  bool waiting(int count) {
    for (int ms = 0; ms < 5000; ms += 5) {
      int queued = 0;
      if (ioctl(slave_, FIONREAD, &queued) == 0 && queued >= count) return true;
      usleep(5000);
    }
    return false;
  }

  int master_ = -1, slave_ = -1;
  QtSerialPort port_;
};

TEST_F(QtReadWithinTest, WhatHasArrivedIsTakenWithoutWaitingAndNoMoreThanAsked) {
  peerSends("\x01\x2B\x20\x3E\x04");
  ASSERT_TRUE(waiting(5));
  quint8 buffer[16] = {};
  ASSERT_EQ(port_.readWithin(buffer, 3, 0), 3);
  EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buffer), 3), QByteArray("\x01\x2B\x20"));
  ASSERT_EQ(port_.readWithin(buffer, 16, 0), 2);
  EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buffer), 2), QByteArray("\x3E\x04"));
  EXPECT_EQ(port_.readWithin(buffer, 16, 0), 0) << "nothing left";
}

TEST_F(QtReadWithinTest, TheFirstByteEndsTheWait) {
  std::thread peer([this] {
    usleep(50000);
    peerSends("\x06");
  });
  quint8 byte = 0;
  QElapsedTimer timer;
  timer.start();
  const int got = port_.readWithin(&byte, 4, 20000);
  const qint64 elapsed = timer.elapsed();
  peer.join();
  EXPECT_EQ(got, 1);
  EXPECT_EQ(byte, 0x06);
  EXPECT_LT(elapsed, 20000) << "returned at the byte, not at the time-out";
}

TEST_F(QtReadWithinTest, ASilentLineGivesNothingAfterTheTimeOut) {
  quint8 byte = 0;
  QElapsedTimer timer;
  timer.start();
  EXPECT_EQ(port_.readWithin(&byte, 1, 100), 0);
  EXPECT_GE(timer.elapsed(), 90) << "it waited";
  EXPECT_EQ(port_.readWithin(&byte, 1, 0), 0);
  port_.close();
  EXPECT_EQ(port_.readWithin(&byte, 1, 100), 0) << "a closed port reads nothing";
}

}  // namespace
}  // namespace pralix
