// The COM port.  Without a port: the device paths and the errors.  With one
// (scripts/test-windows links a Wine COM port to a pseudo-terminal whose
// other end echoes every byte, and names it in PRALIX_TEST_ECHO_PORT, the
// same line under a name from COM10 on in PRALIX_TEST_ECHO_PORT_HIGH): the
// settings as the line reports them back, the read time-outs, and bytes
// through the line.  Time bounds are generous: they catch a read that does
// not wait at all or never ends, not a slow machine.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <vector>

#include "platform/win/win_api.h"
#include "platform/win/win_serial_port.h"
#include "scratch.h"

namespace pralix::wintest {

namespace {

std::wstring PortFromEnvironment(const char* variable) {
  const char* value = std::getenv(variable);
  return value == nullptr ? std::wstring() : WideFromUtf8(value);
}

std::wstring EchoPort() { return PortFromEnvironment("PRALIX_TEST_ECHO_PORT"); }
std::wstring HighEchoPort() { return PortFromEnvironment("PRALIX_TEST_ECHO_PORT_HIGH"); }

#define SKIP_WITHOUT_PORT(port)                                                                 \
  if ((port).empty()) GTEST_SKIP() << "no COM port linked to a pty (set PRALIX_TEST_ECHO_PORT; " \
                                      "scripts/test-windows does)"

DCB LineState(const win::WinSerialPort& port) {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  EXPECT_TRUE(GetCommState(static_cast<HANDLE>(port.nativeHandle()), &dcb));
  return dcb;
}

DWORD BytesWaiting(const win::WinSerialPort& port) {
  COMSTAT status{};
  DWORD errors = 0;
  if (!ClearCommError(static_cast<HANDLE>(port.nativeHandle()), &errors, &status)) return 0;
  return status.cbInQue;
}

// Waits, at most ten seconds, until the peer's echo of count bytes is in.
bool WaitForBytesWaiting(const win::WinSerialPort& port, DWORD count) {
  for (int waited = 0; waited < 10000; waited += 20) {
    if (BytesWaiting(port) >= count) return true;
    Sleep(20);
  }
  return false;
}

// Frame-like bytes without XON (0x11) and XOFF (0x13), which the line
// discipline keeps for itself.
std::vector<std::uint8_t> SampleBytes(std::size_t count) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; bytes.size() < count; ++i) {
    const auto b = std::uint8_t(i * 37 + 1);
    if (b != 0x11 && b != 0x13) bytes.push_back(b);
  }
  return bytes;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST(SerialPort, DevicePathOfEveryNameForm) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"COM1", L"\\\\.\\COM1"},
      {L"COM5", L"\\\\.\\COM5"},
      {L"COM10", L"\\\\.\\COM10"},
      {L"COM256", L"\\\\.\\COM256"},
      {L"com7", L"\\\\.\\com7"},
      {L"\\\\.\\COM5", L"\\\\.\\COM5"},
      {L"\\\\.\\COM12", L"\\\\.\\COM12"},
  };
  for (const auto& [name, path] : cases) EXPECT_EQ(win::SerialDevicePath(name), path);
}

TEST(SerialPort, MissingPortFailsWithTheSystemsErrorAndStaysClosed) {
  win::WinSerialPort port;
  for (const std::wstring name : {L"COM199", L"\\\\.\\COM198", L"NOSUCHPORT"}) {
    const win::SerialResult result = port.open(name, 19200);
    EXPECT_FALSE(result.ok()) << Utf8Bytes(name);
    EXPECT_TRUE(result.error == ERROR_FILE_NOT_FOUND || result.error == ERROR_PATH_NOT_FOUND)
        << Utf8Bytes(name) << ": " << result.error;
    EXPECT_NE(result.text.find(L"(error " + std::to_wstring(result.error) + L")"), std::wstring::npos)
        << Utf8Bytes(result.text);
    EXPECT_GT(result.text.size(), std::wstring(L" (error 2)").size()) << "the system's text is missing";
    EXPECT_FALSE(port.isOpen());
  }
}

TEST(SerialPort, EmptyNameIsRefusedWithoutTouchingTheSystem) {
  win::WinSerialPort port;
  const win::SerialResult result = port.open(L"", 19200);
  EXPECT_EQ(result.error, DWORD(ERROR_INVALID_NAME));
  EXPECT_FALSE(port.isOpen());
}

TEST(SerialPort, ClosedPortRefusesEveryOperation) {
  win::WinSerialPort port;
  std::uint8_t buffer[4] = {1, 2, 3, 4};
  EXPECT_EQ(port.write(buffer, 4).count, 0u);
  EXPECT_EQ(port.write(buffer, 4).result.error, DWORD(ERROR_INVALID_HANDLE));
  EXPECT_EQ(port.read(buffer, 4).count, 0u);
  EXPECT_EQ(port.read(buffer, 4).result.error, DWORD(ERROR_INVALID_HANDLE));
  EXPECT_EQ(port.readWithin(buffer, 4, 0).result.error, DWORD(ERROR_INVALID_HANDLE));
  EXPECT_EQ(port.purge().error, DWORD(ERROR_INVALID_HANDLE));
  EXPECT_EQ(port.setBaudRate(9600).error, DWORD(ERROR_INVALID_HANDLE));
  port.close();  // closing a closed port does nothing
  EXPECT_FALSE(port.isOpen());
}

TEST(SerialPort, ErrorTextIsTheSystemsWithTheCode) {
  const std::wstring text = win::DescribeWin32Error(ERROR_ACCESS_DENIED);
  EXPECT_NE(text.find(L"(error 5)"), std::wstring::npos) << Utf8Bytes(text);
  EXPECT_EQ(text.find(L'\n'), std::wstring::npos) << Utf8Bytes(text);
  EXPECT_NE(win::DescribeWin32Error(0xDEADBEEF).find(L"(error 3735928559)"), std::wstring::npos);
}

TEST(SerialPort, OpenSetsTheLineAndTheTimeouts) {
  SKIP_WITHOUT_PORT(EchoPort());
  win::WinSerialPort port;
  const win::SerialResult opened = port.open(EchoPort(), 57600);
  ASSERT_TRUE(opened.ok()) << Utf8Bytes(opened.text);
  ASSERT_TRUE(port.isOpen());

  const DCB dcb = LineState(port);
  EXPECT_EQ(dcb.BaudRate, 57600u);
  EXPECT_EQ(dcb.ByteSize, 8);
  EXPECT_EQ(dcb.Parity, NOPARITY);
  EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
  EXPECT_TRUE(dcb.fOutX);
  EXPECT_TRUE(dcb.fInX);
  EXPECT_FALSE(dcb.fOutxCtsFlow);
  EXPECT_FALSE(dcb.fOutxDsrFlow);
  EXPECT_NE(dcb.fRtsControl, unsigned(RTS_CONTROL_HANDSHAKE));
  EXPECT_EQ(dcb.XonChar, 0x11);
  EXPECT_EQ(dcb.XoffChar, 0x13);

  COMMTIMEOUTS timeouts{};
  ASSERT_TRUE(GetCommTimeouts(static_cast<HANDLE>(port.nativeHandle()), &timeouts));
  EXPECT_EQ(timeouts.ReadIntervalTimeout, 100u);
  EXPECT_EQ(timeouts.ReadTotalTimeoutMultiplier, 100u);
  EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 100u);
  EXPECT_EQ(timeouts.WriteTotalTimeoutMultiplier, 100u);
  EXPECT_EQ(timeouts.WriteTotalTimeoutConstant, 1000u);
}

TEST(SerialPort, BaudRateChangesOnTheOpenPortAndKeepsTheRest) {
  SKIP_WITHOUT_PORT(EchoPort());
  win::WinSerialPort port;
  ASSERT_TRUE(port.open(EchoPort(), 19200).ok());
  for (const std::uint32_t baud : {9600u, 38400u, 115200u, 19200u}) {
    ASSERT_TRUE(port.setBaudRate(baud).ok()) << baud;
    const DCB dcb = LineState(port);
    EXPECT_EQ(dcb.BaudRate, baud);
    EXPECT_EQ(dcb.ByteSize, 8) << baud;
    EXPECT_TRUE(dcb.fOutX && dcb.fInX) << baud;
  }
}

TEST(SerialPort, SilentLineEndsATenByteReadAfterItsTotalTimeout) {
  SKIP_WITHOUT_PORT(EchoPort());
  win::WinSerialPort port;
  ASSERT_TRUE(port.open(EchoPort(), 19200).ok());
  std::uint8_t buffer[10];
  const auto start = std::chrono::steady_clock::now();
  const win::SerialTransfer got = port.read(buffer, sizeof buffer);
  const double seconds = SecondsSince(start);
  std::printf("  a 10-byte read on a silent line ended after %.3f s (100 ms per byte + 100 ms: 1.1 s)\n", seconds);
  EXPECT_TRUE(got.result.ok()) << Utf8Bytes(got.result.text);
  EXPECT_EQ(got.count, 0u);
  EXPECT_GE(seconds, 0.9);   // the read waited for its time-out
  EXPECT_LT(seconds, 30.0);  // and ended
}

TEST(SerialPort, WrittenBytesComeBackFromTheEchoingPeer) {
  SKIP_WITHOUT_PORT(EchoPort());
  win::WinSerialPort port;
  ASSERT_TRUE(port.open(EchoPort(), 19200).ok());
  const std::vector<std::uint8_t> sent = SampleBytes(200);
  const win::SerialTransfer written = port.write(sent.data(), sent.size());
  ASSERT_TRUE(written.result.ok()) << Utf8Bytes(written.result.text);
  EXPECT_EQ(written.count, sent.size());

  std::vector<std::uint8_t> received(sent.size());
  std::size_t got = 0;
  // Reads end early when the echo pauses for 100 ms; a few tries gather it all.
  for (int call = 0; call < 20 && got < received.size(); ++call)
    got += port.read(received.data() + got, received.size() - got).count;
  EXPECT_EQ(got, sent.size());
  EXPECT_EQ(received, sent);
}

TEST(SerialPort, ReadOfMoreThanArrivedGivesWhatCameAfterTheLinePausesLongEnough) {
  SKIP_WITHOUT_PORT(EchoPort());
  win::WinSerialPort port;
  ASSERT_TRUE(port.open(EchoPort(), 19200).ok());
  const std::vector<std::uint8_t> sent = SampleBytes(5);
  ASSERT_EQ(port.write(sent.data(), sent.size()).count, sent.size());
  ASSERT_TRUE(WaitForBytesWaiting(port, 5));
  std::uint8_t buffer[50] = {};
  const win::SerialTransfer got = port.read(buffer, sizeof buffer);
  EXPECT_TRUE(got.result.ok());
  ASSERT_EQ(got.count, 5u);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + 5), sent);
}

TEST(SerialPort, ReadWithinTakesWhatArrivedWaitsOnlyForTheFirstByteAndRestoresTheTimeouts) {
  SKIP_WITHOUT_PORT(EchoPort());
  win::WinSerialPort port;
  ASSERT_TRUE(port.open(EchoPort(), 19200).ok());
  const std::vector<std::uint8_t> sent = SampleBytes(5);
  ASSERT_EQ(port.write(sent.data(), sent.size()).count, sent.size());
  ASSERT_TRUE(WaitForBytesWaiting(port, 5));
  std::uint8_t buffer[50] = {};
  const win::SerialTransfer first = port.readWithin(buffer, 3, 0);
  EXPECT_TRUE(first.result.ok()) << Utf8Bytes(first.result.text);
  ASSERT_EQ(first.count, 3u);
  const win::SerialTransfer rest = port.readWithin(buffer + 3, sizeof buffer - 3, 5000);
  ASSERT_EQ(rest.count, 2u) << "what was there, at once";
  EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + 5), sent);

  EXPECT_EQ(port.readWithin(buffer, 1, 0).count, 0u) << "nothing there, no wait";
  const auto start = std::chrono::steady_clock::now();
  const win::SerialTransfer silent = port.readWithin(buffer, sizeof buffer, 300);
  const double seconds = SecondsSince(start);
  EXPECT_TRUE(silent.result.ok());
  EXPECT_EQ(silent.count, 0u);
  EXPECT_GE(seconds, 0.25);  // it waited for its time-out
  EXPECT_LT(seconds, 30.0);

  COMMTIMEOUTS timeouts{};
  ASSERT_TRUE(GetCommTimeouts(static_cast<HANDLE>(port.nativeHandle()), &timeouts));
  EXPECT_EQ(timeouts.ReadIntervalTimeout, 100u);
  EXPECT_EQ(timeouts.ReadTotalTimeoutMultiplier, 100u);
  EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 100u);
}

TEST(SerialPort, PurgeDropsReceivedBytesNotYetRead) {
  SKIP_WITHOUT_PORT(EchoPort());
  win::WinSerialPort port;
  ASSERT_TRUE(port.open(EchoPort(), 19200).ok());
  const std::vector<std::uint8_t> sent = SampleBytes(8);
  ASSERT_EQ(port.write(sent.data(), sent.size()).count, sent.size());
  ASSERT_TRUE(WaitForBytesWaiting(port, 8));
  EXPECT_TRUE(port.purge().ok());
  EXPECT_EQ(BytesWaiting(port), 0u);
  std::uint8_t buffer[8];
  EXPECT_EQ(port.read(buffer, 1).count, 0u);

  // The line still works after the purge.
  ASSERT_EQ(port.write(sent.data(), 3).count, 3u);
  ASSERT_TRUE(WaitForBytesWaiting(port, 3));
  EXPECT_EQ(port.read(buffer, 3).count, 3u);
}

TEST(SerialPort, OpenDropsBytesThatWaitedBeforeIt) {
  SKIP_WITHOUT_PORT(EchoPort());
  win::WinSerialPort port;
  ASSERT_TRUE(port.open(EchoPort(), 19200).ok());
  const std::vector<std::uint8_t> sent = SampleBytes(6);
  ASSERT_EQ(port.write(sent.data(), sent.size()).count, sent.size());
  ASSERT_TRUE(WaitForBytesWaiting(port, 6));
  ASSERT_TRUE(port.open(EchoPort(), 19200).ok());  // closes and opens again
  std::uint8_t buffer[6];
  EXPECT_EQ(port.read(buffer, 1).count, 0u);
}

TEST(SerialPort, NamesFromCom10OnAndThePrefixedFormOpen) {
  SKIP_WITHOUT_PORT(HighEchoPort());
  for (const std::wstring& name : {HighEchoPort(), win::SerialDevicePath(HighEchoPort()), EchoPort(),
                                   win::SerialDevicePath(EchoPort())}) {
    win::WinSerialPort port;
    const win::SerialResult opened = port.open(name, 19200);
    ASSERT_TRUE(opened.ok()) << Utf8Bytes(name) << ": " << Utf8Bytes(opened.text);
    const std::vector<std::uint8_t> sent = SampleBytes(4);
    EXPECT_EQ(port.write(sent.data(), sent.size()).count, 4u) << Utf8Bytes(name);
    std::uint8_t buffer[4] = {};
    std::size_t got = 0;
    for (int call = 0; call < 5 && got < 4; ++call) got += port.read(buffer + got, 4 - got).count;
    EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + got), sent) << Utf8Bytes(name);
    port.close();
    EXPECT_FALSE(port.isOpen());
  }
}

}  // namespace pralix::wintest
