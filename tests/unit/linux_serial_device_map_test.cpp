// The Linux serial device map over a made-up sysfs and /dev.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/linux/linux_serial_device_map.h"
#include "workstation/serial_ports.h"
#include "qtcompat/qt_version_compat.h"  // u"..."_s

namespace pralix {
namespace {

class LinuxSerialDeviceMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.isValid());
    ASSERT_TRUE(QDir(temp_.path()).mkpath(u"sys"_s));
    ASSERT_TRUE(QDir(temp_.path()).mkpath(u"dev"_s));
  }

  QString sys() const { return temp_.path() + u"/sys"_s; }
  QString dev() const { return temp_.path() + u"/dev"_s; }

  static void Touch(const QString& path, const QByteArray& content = {}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
  }

  // A tty the kernel registered; `device` adds the link to the hardware,
  // `type` the UART type file, `node` the device node.
  void AddTty(const QString& name, bool device, const QByteArray& type, bool node) {
    ASSERT_TRUE(QDir(sys()).mkpath(name));
    if (device) {
      ASSERT_TRUE(QDir(sys()).mkpath(name + u"/device"_s));
    }
    if (!type.isNull()) Touch(sys() + u'/' + name + u"/type"_s, type);
    if (node) Touch(dev() + u'/' + name);
  }

  QTemporaryDir temp_;
};

TEST_F(LinuxSerialDeviceMapTest, OnlyRealSerialDevicesAreListed) {
  AddTty(u"ttyS0"_s, true, "4\n", true);    // a 16550A
  AddTty(u"ttyS1"_s, true, "0\n", true);    // registered, no UART
  AddTty(u"ttyS2"_s, false, "4\n", true);   // no device behind it
  AddTty(u"ttyS3"_s, true, QByteArray(), true);  // older kernel: no type file
  AddTty(u"ttyUSB0"_s, true, QByteArray(), true);
  AddTty(u"ttyUSB1"_s, true, QByteArray(), false);  // node gone (unplugged)
  AddTty(u"ttyACM2"_s, true, QByteArray(), true);
  AddTty(u"tty0"_s, false, QByteArray(), true);
  AddTty(u"console"_s, false, QByteArray(), true);
  AddTty(u"ttySX0"_s, true, "4\n", true);
  AddTty(u"ttyprintk"_s, false, QByteArray(), true);

  const LinuxSerialDeviceMap map(sys(), dev(), {});
  QStringList ports;
  for (const SerialDevice& d : map.devices()) ports << d.portName;
  ports.sort();
  EXPECT_EQ(ports, (QStringList{dev() + u"/ttyACM2"_s, dev() + u"/ttyS0"_s, dev() + u"/ttyS3"_s, dev() + u"/ttyUSB0"_s}));
}

TEST_F(LinuxSerialDeviceMapTest, TagsTellTheKindOfPort) {
  AddTty(u"ttyS0"_s, true, "4\n", true);
  AddTty(u"ttyUSB0"_s, true, QByteArray(), true);
  AddTty(u"ttyACM0"_s, true, QByteArray(), true);
  const LinuxSerialDeviceMap map(sys(), dev(), {u"/dev/pts/7"_s, u"/tmp/sim-port"_s, u"/dev/ttyUSB9"_s});
  struct Case {
    QString port;
    QString tag;
  };
  const Case cases[] = {
      {dev() + u"/ttyS0"_s, u"Ser"_s},  {dev() + u"/ttyUSB0"_s, u"USB"_s}, {dev() + u"/ttyACM0"_s, u"ACM"_s},
      {u"/dev/pts/7"_s, u"Pty"_s},      {u"/tmp/sim-port"_s, u"Ext"_s},     {u"/dev/ttyUSB9"_s, u"USB"_s},
  };
  for (const Case& c : cases) EXPECT_EQ(PortDeviceTag(map, c.port), c.tag) << c.port.toStdString();
}

TEST_F(LinuxSerialDeviceMapTest, ExtraPortsFollowInTheirOrderWithoutRepeats) {
  AddTty(u"ttyUSB0"_s, true, QByteArray(), true);
  const QString usb = dev() + u"/ttyUSB0"_s;
  const LinuxSerialDeviceMap map(sys(), dev(), {u"/dev/pts/9"_s, usb, QString(), u"/dev/pts/3"_s, u"/dev/pts/9"_s});
  QStringList ports;
  for (const SerialDevice& d : map.devices()) ports << d.portName;
  EXPECT_EQ(ports, (QStringList{usb, u"/dev/pts/9"_s, u"/dev/pts/3"_s}));
}

TEST_F(LinuxSerialDeviceMapTest, MissingSysfsGivesOnlyTheExtraPorts) {
  const LinuxSerialDeviceMap none(temp_.path() + u"/nothing"_s, dev(), {});
  EXPECT_TRUE(none.devices().isEmpty());
  const LinuxSerialDeviceMap extra(temp_.path() + u"/nothing"_s, dev(), {u"/dev/pts/1"_s});
  ASSERT_EQ(extra.devices().size(), 1);
  EXPECT_EQ(extra.devices().front().deviceName, u"\\Device\\Pty1"_s);
}

TEST(LinuxSerialDeviceNameTest, NamesByKind) {
  EXPECT_EQ(LinuxSerialDeviceName(u"/dev/ttyS0"_s), u"\\Device\\Serial0"_s);
  EXPECT_EQ(LinuxSerialDeviceName(u"/dev/ttyUSB12"_s), u"\\Device\\USBSER12"_s);
  EXPECT_EQ(LinuxSerialDeviceName(u"/dev/ttyACM1"_s), u"\\Device\\ACM1"_s);
  EXPECT_EQ(LinuxSerialDeviceName(u"/dev/pts/4"_s), u"\\Device\\Pty4"_s);
  EXPECT_EQ(LinuxSerialDeviceName(u"/tmp/ttyV0"_s), u"\\Device\\Extra:/tmp/ttyV0"_s);
}

// Restores an environment variable when the test ends.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QByteArray& value) : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    qputenv(name, value);
  }
  ~ScopedEnv() {
    if (had_) qputenv(name_, old_);
    else qunsetenv(name_);
  }

 private:
  const char* name_;
  bool had_;
  QByteArray old_;
};

TEST(LinuxSerialDeviceMapEnvTest, ExtraPortsFromTheEnvironment) {
  {
    ScopedEnv env("PRALIX_EXTRA_PORTS", "/dev/pts/3:/dev/pts/5, /tmp/a,,:");
    EXPECT_EQ(LinuxSerialDeviceMap::ExtraPortsFromEnvironment(), (QStringList{u"/dev/pts/3"_s, u"/dev/pts/5"_s, u"/tmp/a"_s}));
  }
  {
    ScopedEnv env("PRALIX_EXTRA_PORTS", "");
    EXPECT_TRUE(LinuxSerialDeviceMap::ExtraPortsFromEnvironment().isEmpty());
  }
}

}  // namespace
}  // namespace pralix
