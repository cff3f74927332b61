// The simulator hears the PC only at the printer's own line speed.

#include <gtest/gtest.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include "line_speed.h"
#include "sim_options.h"

namespace pralix::sim {
namespace {

TEST(SimLineSpeed, SpeedConstantsMapToTheirBaudRates) {
  EXPECT_EQ(BaudOfSpeed(B9600), 9600);
  EXPECT_EQ(BaudOfSpeed(B19200), 19200);
  EXPECT_EQ(BaudOfSpeed(B38400), 38400);
  EXPECT_EQ(BaudOfSpeed(B57600), 57600);
  EXPECT_EQ(BaudOfSpeed(B115200), 115200);
  EXPECT_EQ(BaudOfSpeed(B0), 0);
}

TEST(SimLineSpeed, OnlyTheOwnSpeedOrAnUnsetLineIsHeard) {
  EXPECT_TRUE(LineSpeedGate::Hears(19200, 19200));
  EXPECT_TRUE(LineSpeedGate::Hears(0, 19200)) << "nobody set a speed";
  EXPECT_FALSE(LineSpeedGate::Hears(115200, 19200));
  EXPECT_FALSE(LineSpeedGate::Hears(9600, 19200));
}

// The speed the PC side sets on the slave is what the gate reads, through
// the descriptor the simulator holds.
TEST(SimLineSpeed, GateReadsTheSpeedThePcSideSets) {
  int master = -1, slave = -1;
  ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  LineSpeedGate gate(slave, 57600, WrongSpeedAnswer::Silent);
  for (const auto& [speed, baud] : {std::pair{B9600, 9600}, {B57600, 57600}, {B115200, 115200}}) {
    termios t{};
    ASSERT_EQ(tcgetattr(slave, &t), 0);
    cfsetspeed(&t, speed);
    ASSERT_EQ(tcsetattr(slave, TCSANOW, &t), 0);
    EXPECT_EQ(gate.lineBaud(), baud);
    EXPECT_EQ(gate.HearsNow(), baud == 57600) << baud;
  }
  close(master);
  close(slave);
  EXPECT_EQ(LineBaud(slave), 0) << "a closed descriptor has no speed";
}

TEST(SimLineSpeed, GarbleNeverSendsFlowControlBytesAndRepeats) {
  LineSpeedGate a(-1, 19200, WrongSpeedAnswer::Noise), b(-1, 19200, WrongSpeedAnswer::Noise);
  const QByteArray noise = a.Garble(4000);
  ASSERT_EQ(noise.size(), 4000);
  EXPECT_FALSE(noise.contains('\x11'));
  EXPECT_FALSE(noise.contains('\x13'));
  EXPECT_TRUE(noise.contains('\x01')) << "a frame start now and then, as on a real line";
  EXPECT_EQ(b.Garble(4000), noise);
}

TEST(SimLineSpeed, SilentUnlessNoiseIsAskedFor) {
  EXPECT_EQ(ParseOptions({}).options->wrongSpeed, WrongSpeedAnswer::Silent);
  EXPECT_EQ(ParseOptions({"--wrong-speed-noise"}).options->wrongSpeed, WrongSpeedAnswer::Noise);
}

}  // namespace
}  // namespace pralix::sim
