// The serial device map reader against a SERIALCOMM-like key of the test's
// own, under HKEY_CURRENT_USER.  Value names are written in ascending order
// so that creation order and name order agree: Windows enumerates in the
// one, Wine in the other.

#include <gtest/gtest.h>

#include "platform/win/win_serial_comm.h"
#include "scratch.h"

namespace pralix::wintest {

namespace {

using Entry = std::pair<std::wstring, std::wstring>;

std::vector<Entry> ReadBack(const ScratchRegistryKey& key) {
  std::vector<Entry> entries;
  for (const win::SerialCommValue& value : win::ReadSerialCommValues(HKEY_CURRENT_USER, key.path()))
    entries.emplace_back(value.name, value.data);
  return entries;
}

std::wstring Padded(const std::wstring& start, std::size_t length) {
  return start + std::wstring(length - start.size(), L'x');
}

}  // namespace

TEST(SerialComm, KeepsEnumerationOrderAndPassesOverNonStringValues) {
  ScratchRegistryKey key(L"SerialCommOrder");
  ASSERT_TRUE(key.isOpen());
  key.setString(L"\\Device\\Serial0", L"COM2");
  key.setDword(L"\\Device\\Serial1", 3);
  key.setString(L"\\Device\\Serial2", L"COM10");
  key.setRaw(L"\\Device\\Serial3", REG_BINARY, {'C', 0, 'O', 0, 'M', 0, '9', 0});
  key.setString(L"\\Device\\VCP0", L"COM1");

  // Not sorted here: the port listing sorts; PortDeviceTag needs this order.
  EXPECT_EQ(ReadBack(key), (std::vector<Entry>{{L"\\Device\\Serial0", L"COM2"},
                                              {L"\\Device\\Serial2", L"COM10"},
                                              {L"\\Device\\VCP0", L"COM1"}}));
}

TEST(SerialComm, MissingOrEmptyKeyGivesNoPorts) {
  EXPECT_TRUE(win::ReadSerialCommValues(HKEY_CURRENT_USER, L"Software\\PralixWinTests\\NoSuchKey").empty());
  ScratchRegistryKey key(L"SerialCommEmpty");
  ASSERT_TRUE(key.isOpen());
  EXPECT_TRUE(ReadBack(key).empty());
}

TEST(SerialComm, StringDataForms) {
  ScratchRegistryKey key(L"SerialCommForms");
  ASSERT_TRUE(key.isOpen());
  key.setRaw(L"a", REG_SZ, {'C', 0, 'O', 0, 'M', 0, '7', 0});  // stored without its closing zero
  key.setString(L"b", L"COM8", REG_EXPAND_SZ);
  key.setString(L"c", L"");
  key.setRaw(L"d", REG_MULTI_SZ, {'C', 0, 'O', 0, 'M', 0, '5', 0, 0, 0, 0, 0});
  key.setRaw(L"e", REG_SZ, {'C', 0, 'O', 0, 'M', 0, '4', 0, 0, 0, 'X', 0});  // a zero inside ends the text

  EXPECT_EQ(ReadBack(key), (std::vector<Entry>{{L"a", L"COM7"}, {L"b", L"COM8"}, {L"c", L""}, {L"e", L"COM4"}}));
}

TEST(SerialComm, DataBeyond256BytesEndsTheListKeepingWhatWasRead) {
  ScratchRegistryKey key(L"SerialCommDataRoom");
  ASSERT_TRUE(key.isOpen());
  const std::wstring fits(127, L'F');      // 127 characters and the zero: 256 bytes
  const std::wstring tooLong(128, L'L');  // 258 bytes
  key.setString(L"\\Device\\Serial0", fits);
  key.setString(L"\\Device\\Serial1", tooLong);
  key.setString(L"\\Device\\Serial2", L"COM3");

  EXPECT_EQ(ReadBack(key), (std::vector<Entry>{{L"\\Device\\Serial0", fits}}));
}

TEST(SerialComm, NameBeyond255CharactersEndsTheListKeepingWhatWasRead) {
  ScratchRegistryKey key(L"SerialCommNameRoom");
  ASSERT_TRUE(key.isOpen());
  const std::wstring fits = Padded(L"\\Device\\Serial0", 255);  // with its zero: the 256 of room
  const std::wstring tooLong = Padded(L"\\Device\\Serial1", 256);
  key.setString(fits, L"COM1");
  key.setString(tooLong, L"COM2");
  key.setString(L"\\Device\\Serial2", L"COM3");

  EXPECT_EQ(ReadBack(key), (std::vector<Entry>{{fits, L"COM1"}}));
}

}  // namespace pralix::wintest
