// Port listing order, device tags and the listing the "ports" command prints.

#include <gtest/gtest.h>

#include "support/fake_platform.h"
#include "workstation/serial_ports.h"
#include "qtcompat/qt_version_compat.h"  // u"..."_s

namespace pralix {
namespace {

using test::FakeSerialDeviceMap;

QList<SerialDevice> Ports(const QStringList& names) {
  QList<SerialDevice> devices;
  int n = 0;
  for (const QString& name : names) devices.append({u"\\Device\\Serial"_s + QString::number(n++), name});
  return devices;
}

TEST(SerialPortsTest, ListedInCaseInsensitiveOrder) {
  struct Case {
    QStringList registry;
    QStringList listed;
  };
  const Case cases[] = {
      {{}, {}},
      {{u"COM2"_s, u"COM10"_s, u"COM1"_s}, {u"COM1"_s, u"COM10"_s, u"COM2"_s}},
      {{u"com3"_s, u"COM2"_s, u"Com1"_s}, {u"Com1"_s, u"COM2"_s, u"com3"_s}},
      {{u"COM3"_s, u"COM3"_s}, {u"COM3"_s, u"COM3"_s}},
      {{u"/dev/ttyUSB0"_s, u"/dev/pts/3"_s, u"/dev/ttyS0"_s}, {u"/dev/pts/3"_s, u"/dev/ttyS0"_s, u"/dev/ttyUSB0"_s}},
  };
  for (const Case& c : cases) EXPECT_EQ(ListSerialPorts(FakeSerialDeviceMap(Ports(c.registry))), c.listed) << c.registry.join(u',').toStdString();
}

TEST(SerialPortsTest, EqualNamesIgnoringCaseKeepTheirMapOrder) {
  EXPECT_EQ(ListSerialPorts(FakeSerialDeviceMap(Ports({u"COM1"_s, u"com1"_s}))), (QStringList{u"COM1"_s, u"com1"_s}));
  EXPECT_EQ(ListSerialPorts(FakeSerialDeviceMap(Ports({u"com1"_s, u"COM1"_s}))), (QStringList{u"com1"_s, u"COM1"_s}));
}

TEST(SerialPortsTest, DeviceTagIsCharactersNineToEleven) {
  const FakeSerialDeviceMap map({
      {u"\\Device\\Serial0"_s, u"COM1"_s},
      {u"\\Device\\VCP0"_s, u"COM3"_s},
      {u"\\Device\\USBSER000"_s, u"COM7"_s},
      {u"\\Device\\Se"_s, u"COM8"_s},
      {u"\\Device\\"_s, u"COM9"_s},
      {u"\\Dev"_s, u"COM11"_s},
      {u"\\Device\\ProlificSerial0"_s, u"COM12"_s},
      {u"\\Device\\Serial1"_s, u"COM3"_s},  // a second entry for COM3 is never reached
  });
  struct Case {
    QString port;
    QString tag;
  };
  const Case cases[] = {
      {u"COM1"_s, u"Ser"_s}, {u"COM3"_s, u"VCP"_s}, {u"COM7"_s, u"USB"_s}, {u"COM8"_s, u"Se"_s},
      {u"COM9"_s, QString()}, {u"COM11"_s, QString()}, {u"COM12"_s, u"Pro"_s},
      {u"com1"_s, QString()},  // the port name is compared exactly
      {u"COM2"_s, QString()}, {QString(), QString()},
  };
  for (const Case& c : cases) EXPECT_EQ(PortDeviceTag(map, c.port), c.tag) << c.port.toStdString();
}

TEST(SerialPortsTest, EmptyMapGivesNoTagAndNoLines) {
  const FakeSerialDeviceMap empty;
  EXPECT_EQ(PortDeviceTag(empty, u"COM1"_s), QString());
  EXPECT_TRUE(PortListingLines(empty).isEmpty());
}

TEST(SerialPortsTest, ListingLinesCarryTheTagInListOrder) {
  const FakeSerialDeviceMap map({
      {u"\\Device\\VCP0"_s, u"COM3"_s},
      {u"\\Device\\Serial0"_s, u"COM10"_s},
      {u"\\X"_s, u"COM2"_s},
  });
  EXPECT_EQ(PortListingLines(map), (QStringList{u"COM10 Ser"_s, u"COM2"_s, u"COM3 VCP"_s}));
}

TEST(SerialPortsTest, NoPortMessageIsBilingual) {
  EXPECT_EQ(NoPortMessage(), u"Ne postoji ComPort na računaru!\n\n----------\n\nThere is no ComPort installed on this computer!"_s);
}

TEST(SerialPortsTest, PrintedListingAndTheNoPortExit) {
  struct Case {
    QList<SerialDevice> devices;
    int status;
    QString out;
    QString err;
  };
  const Case cases[] = {
      {{{u"\\Device\\Serial1"_s, u"COM2"_s}, {u"\\Device\\Serial0"_s, u"COM1"_s}}, 0, u"COM1 Ser\nCOM2 Ser\n"_s, QString()},
      {{}, 3, QString(), NoPortMessage() + u"\n"_s},
  };
  for (const Case& c : cases) {
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    EXPECT_EQ(PrintPortListing(FakeSerialDeviceMap(c.devices), outStream, errStream), c.status);
    outStream.flush();
    errStream.flush();
    EXPECT_EQ(out, c.out);
    EXPECT_EQ(err, c.err);
  }
}

}  // namespace
}  // namespace pralix
