#include "platform/win/win_serial_port.h"

#include <algorithm>

#include "platform/win/win_api.h"

namespace pralix::win {

namespace {

constexpr wchar_t kDevicePrefix[] = L"\\\\.\\";
constexpr DWORD kQueueBytes = 4096;
constexpr char kXon = 0x11;
constexpr char kXoff = 0x13;

// One ReadFile or WriteFile moves at most this many bytes (DWORD counts).
constexpr std::size_t kLargestTransfer = 0x10000000;

SerialResult Failure(DWORD code) { return {code, DescribeWin32Error(code)}; }

SerialResult LastFailure() { return Failure(GetLastError()); }

SerialResult Success() { return {}; }

void ApplyLineSettings(DCB& dcb, DWORD baud) {
  dcb.BaudRate = baud;
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fDsrSensitivity = FALSE;
  // Our own XOFF to the printer must not hold back what we send it.
  dcb.fTXContinueOnXoff = TRUE;
  dcb.fOutX = TRUE;
  dcb.fInX = TRUE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fRtsControl = RTS_CONTROL_DISABLE;
  dcb.fAbortOnError = FALSE;
  dcb.XonLim = WORD(kQueueBytes / 4);
  dcb.XoffLim = WORD(kQueueBytes / 4);
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.XonChar = kXon;
  dcb.XoffChar = kXoff;
}

SerialResult SetLine(HANDLE handle, DWORD baud) {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(handle, &dcb)) return LastFailure();
  ApplyLineSettings(dcb, baud);
  if (!SetCommState(handle, &dcb)) return LastFailure();
  return Success();
}

SerialResult ApplyTimeouts(HANDLE handle, DWORD interval, DWORD multiplier, DWORD constant) {
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = interval;
  timeouts.ReadTotalTimeoutMultiplier = multiplier;
  timeouts.ReadTotalTimeoutConstant = constant;
  timeouts.WriteTotalTimeoutMultiplier = kWriteTotalTimeoutMultiplierMs;
  timeouts.WriteTotalTimeoutConstant = kWriteTotalTimeoutConstantMs;
  if (!SetCommTimeouts(handle, &timeouts)) return LastFailure();
  return Success();
}

SerialResult SetTimeouts(HANDLE handle) {
  return ApplyTimeouts(handle, kReadIntervalTimeoutMs, kReadTotalTimeoutMultiplierMs, kReadTotalTimeoutConstantMs);
}

// MAXDWORD between bytes and per byte with a constant between 1 and
// MAXDWORD - 1: ReadFile returns at once with what the driver holds, else
// with the first byte to arrive, else after the constant.  MAXDWORD between
// bytes and nothing else: it returns at once, even with no byte.
SerialResult SetFirstByteTimeout(HANDLE handle, std::uint32_t timeoutMs) {
  if (timeoutMs == 0) return ApplyTimeouts(handle, MAXDWORD, 0, 0);
  return ApplyTimeouts(handle, MAXDWORD, MAXDWORD, std::min<DWORD>(timeoutMs, MAXDWORD - 1));
}

}  // namespace

std::wstring SerialDevicePath(const std::wstring& portName) {
  if (portName.rfind(kDevicePrefix, 0) == 0) return portName;
  return kDevicePrefix + portName;
}

std::wstring DescribeWin32Error(unsigned long code) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length > 0 && buffer != nullptr ? std::wstring(buffer, length) : std::wstring();
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
    text.pop_back();
  if (text.empty()) text = L"System error";
  return text + L" (error " + std::to_wstring(code) + L")";
}

SerialResult WinSerialPort::open(const std::wstring& portName, std::uint32_t baud) {
  close();
  if (portName.empty()) return Failure(ERROR_INVALID_NAME);
  const HANDLE handle = CreateFileW(SerialDevicePath(portName).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastFailure();
  // The queue sizes are a wish the driver may ignore; a refusal is no error.
  SetupComm(handle, kQueueBytes, kQueueBytes);
  SerialResult result = SetLine(handle, baud);
  if (result.ok()) result = SetTimeouts(handle);
  if (!result.ok()) {
    CloseHandle(handle);
    return result;
  }
  handle_ = handle;
  purge();
  return Success();
}

void WinSerialPort::close() {
  if (handle_ == nullptr) return;
  CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
}

SerialResult WinSerialPort::setBaudRate(std::uint32_t baud) {
  if (handle_ == nullptr) return Failure(ERROR_INVALID_HANDLE);
  return SetLine(static_cast<HANDLE>(handle_), baud);
}

SerialResult WinSerialPort::purge() {
  if (handle_ == nullptr) return Failure(ERROR_INVALID_HANDLE);
  if (!PurgeComm(static_cast<HANDLE>(handle_), PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT))
    return LastFailure();
  return Success();
}

SerialTransfer WinSerialPort::write(const std::uint8_t* data, std::size_t count) {
  if (handle_ == nullptr) return {0, Failure(ERROR_INVALID_HANDLE)};
  if (count == 0) return {};
  DWORD written = 0;
  if (!WriteFile(static_cast<HANDLE>(handle_), data, DWORD(std::min(count, kLargestTransfer)), &written, nullptr))
    return {written, LastFailure()};
  return {written, Success()};
}

SerialTransfer WinSerialPort::read(std::uint8_t* buffer, std::size_t count) {
  if (handle_ == nullptr) return {0, Failure(ERROR_INVALID_HANDLE)};
  if (count == 0) return {};
  DWORD stored = 0;
  if (!ReadFile(static_cast<HANDLE>(handle_), buffer, DWORD(std::min(count, kLargestTransfer)), &stored, nullptr))
    return {stored, LastFailure()};
  return {stored, Success()};
}

SerialTransfer WinSerialPort::readWithin(std::uint8_t* buffer, std::size_t count, std::uint32_t timeoutMs) {
  if (handle_ == nullptr) return {0, Failure(ERROR_INVALID_HANDLE)};
  if (count == 0) return {};
  const HANDLE handle = static_cast<HANDLE>(handle_);
  const SerialResult set = SetFirstByteTimeout(handle, timeoutMs);
  if (!set.ok()) return {0, set};
  DWORD stored = 0;
  // The read's own error is taken before setting the time-outs back can change it.
  const SerialResult readResult = ReadFile(handle, buffer, DWORD(std::min(count, kLargestTransfer)), &stored, nullptr)
                                      ? Success()
                                      : LastFailure();
  const SerialResult restored = SetTimeouts(handle);
  return {stored, readResult.ok() ? restored : readResult};
}

}  // namespace pralix::win
