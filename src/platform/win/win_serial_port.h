#pragma once
// A COM port with the fiscal printer's line settings: 8N1, XON/XOFF both
// ways, no CTS/DSR handshake, DTR on, RTS off, and the link's time-outs done
// by the driver itself (COMMTIMEOUTS): at most 100 ms between two received
// bytes and 100 ms per requested byte plus 100 ms per read; 100 ms per byte
// plus 1000 ms per write.  Failures are values carrying the Win32 error.

#include <cstddef>
#include <cstdint>
#include <string>

namespace pralix::win {

struct SerialResult {
  unsigned long error = 0;  // the Win32 error code; 0 when the call succeeded
  std::wstring text;        // readable, for the user; empty on success
  bool ok() const { return error == 0; }
};

struct SerialTransfer {
  std::size_t count = 0;  // bytes written or stored, even when result failed
  SerialResult result;
};

inline constexpr unsigned long kReadIntervalTimeoutMs = 100;
inline constexpr unsigned long kReadTotalTimeoutMultiplierMs = 100;
inline constexpr unsigned long kReadTotalTimeoutConstantMs = 100;
inline constexpr unsigned long kWriteTotalTimeoutMultiplierMs = 100;
inline constexpr unsigned long kWriteTotalTimeoutConstantMs = 1000;

// The device path CreateFileW needs: "COM5" becomes "\\.\COM5" (ports from
// COM10 on cannot be opened without the prefix); a name that already has it
// is kept.
std::wstring SerialDevicePath(const std::wstring& portName);

// The system's text for a Win32 error code, without the closing line break,
// followed by "(error N)".
std::wstring DescribeWin32Error(unsigned long code);

class WinSerialPort {
 public:
  WinSerialPort() = default;
  WinSerialPort(const WinSerialPort&) = delete;
  WinSerialPort& operator=(const WinSerialPort&) = delete;
  ~WinSerialPort() { close(); }

  // Opens the port exclusively and applies the settings; on failure the
  // port stays closed.  An open port is closed first.
  SerialResult open(const std::wstring& portName, std::uint32_t baud);
  void close();
  bool isOpen() const { return handle_ != nullptr; }
  // The port's HANDLE, for reading its state back; null when closed.
  void* nativeHandle() const { return handle_; }

  // Changes the line speed of the open port, keeping the other settings.
  SerialResult setBaudRate(std::uint32_t baud);
  // Drops every byte received and not read and every byte not yet sent.
  SerialResult purge();
  // Blocks until all bytes are sent or the write time-out ends.
  SerialTransfer write(const std::uint8_t* data, std::size_t count);
  // Blocks until count bytes are stored or a read time-out ends; a short
  // count with a successful result is a time-out.
  SerialTransfer read(std::uint8_t* buffer, std::size_t count);
  // Waits at most timeoutMs for the first byte, then returns at once with
  // what the driver holds, up to count bytes; a timeoutMs of 0 never waits.
  // The link's time-outs are set again afterwards.
  SerialTransfer readWithin(std::uint8_t* buffer, std::size_t count, std::uint32_t timeoutMs);

 private:
  void* handle_ = nullptr;  // HANDLE; null when closed
};

}  // namespace pralix::win
