// Port numbers to devices, the instrument-link port, settings texts and the
// port factory.

#include "platform/serial/instrument_link.h"
#include "platform/serial/serial_port.h"
#include "tests/support/serial/fake_serial_port.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

TEST(SerialDevicePath, DefaultsToTtySOneBelowThePortNumber) {
    serialtest::RegistryFileScope registry;
    EXPECT_EQ(plat::SerialDevicePath(1), "/dev/ttyS0");
    EXPECT_EQ(plat::SerialDevicePath(12), "/dev/ttyS11");
    EXPECT_EQ(plat::SerialDevicePath(0), "");
    EXPECT_EQ(plat::SerialDevicePath(-3), "");
}

TEST(SerialDevicePath, RegistryMapsAnyPortToAnyPath) {
    serialtest::RegistryFileScope registry;
    registry.MapPort(3, "/dev/ttyUSB0");
    registry.MapPort(40, " /dev/pts/5 ");
    registry.MapPort(2, "   ");
    EXPECT_EQ(plat::SerialDevicePath(3), "/dev/ttyUSB0");
    EXPECT_EQ(plat::SerialDevicePath(40), "/dev/pts/5");
    EXPECT_EQ(plat::SerialDevicePath(2), "/dev/ttyS1");  // blank mapping: the default
    EXPECT_EQ(plat::SerialDevicePath(4), "/dev/ttyS3");
}

TEST(SerialDevicePath, UnreadableRegistryNamesNoDevice) {
    serialtest::RegistryFileScope registry;
    std::ofstream(registry.Path()) << "this is not a registry file\n[broken\n";
    EXPECT_EQ(plat::SerialDevicePath(1), "");
    EXPECT_EQ(plat::CreateTermiosPort()->Open(1, "9600,N,8,1"), plat::PortError::Io);
    int32_t port = 5;
    plat::GetInstrumentPort("Pelmo2", "", port);
    EXPECT_EQ(port, 0);
}

TEST(GetInstrumentPort, ReadsAWholeNumberOrGivesZero) {
    serialtest::RegistryFileScope registry;
    int32_t port = 99;
    plat::GetInstrumentPort("Pelmo2", "", port);
    EXPECT_EQ(port, 0) << "no value";

    const std::pair<const char*, int32_t> cases[] = {
        {"3", 3},  {" 12 ", 12}, {"+4", 4},   {"-2", -2},  {"", 0},          {"3.5", 0},
        {"3.0", 0}, {"abc", 0},  {"7x", 0},   {"+-1", 0},  {"99999999999", 0}, {"COM3", 0},
    };
    for (const auto& [text, expected] : cases) {
        registry.SetInstrumentPort("Pelmo2", text);
        port = 99;
        plat::GetInstrumentPort("Pelmo2", "", port);
        EXPECT_EQ(port, expected) << '"' << text << '"';
    }
}

TEST(GetInstrumentPort, EachInstrumentTypeHasItsOwnPort) {
    serialtest::RegistryFileScope registry;
    registry.SetInstrumentPort("Pelmo2", 2);
    registry.SetInstrumentPort("Other", 5);
    int32_t port = 0;
    plat::GetInstrumentPort("Pelmo2", "", port);
    EXPECT_EQ(port, 2);
    plat::GetInstrumentPort("Other", "ignored", port);
    EXPECT_EQ(port, 5);
    plat::GetInstrumentPort("Missing", "", port);
    EXPECT_EQ(port, 0);
}

TEST(ParseSerialSettings, ReadsBaudParityDataStop) {
    plat::SerialSettings s;
    ASSERT_TRUE(plat::ParseSerialSettings("9600,N,8,1", s));
    EXPECT_EQ(s.baud, 9600);
    EXPECT_EQ(s.parity, 'N');
    EXPECT_EQ(s.dataBits, 8);
    EXPECT_EQ(s.stopBits, 1);

    ASSERT_TRUE(plat::ParseSerialSettings(" 19200 , e , 7 , 2 ", s));
    EXPECT_EQ(s.baud, 19200);
    EXPECT_EQ(s.parity, 'E');
    EXPECT_EQ(s.dataBits, 7);
    EXPECT_EQ(s.stopBits, 2);
}

TEST(ParseSerialSettings, RejectsBadTextAndLeavesTheResultAlone) {
    for (const char* bad : {"", "9600,N,8", "9600,N,8,1,1", "9601,N,8,1", "-9600,N,8,1", "9600,NN,8,1",
                            "9600,M,8,1", "9600,N,4,1", "9600,N,8,0", "9600,N,8,1x", "9600;N;8;1", ",,,"}) {
        plat::SerialSettings s;
        s.baud = 1;
        EXPECT_FALSE(plat::ParseSerialSettings(bad, s)) << '"' << bad << '"';
        EXPECT_EQ(s.baud, 1);
    }
}

TEST(SerialPortFactory, InstalledFactoryIsUsedUntilReset) {
    {
        serialtest::FakeSerialScope fake;
        auto port = plat::CreateSerialPort();
        EXPECT_NE(dynamic_cast<serialtest::FakeSerialPort*>(port.get()), nullptr);
        EXPECT_EQ(fake.PortsCreated(), 1);
    }
    auto port = plat::CreateSerialPort();
    EXPECT_EQ(dynamic_cast<serialtest::FakeSerialPort*>(port.get()), nullptr);
}

}  // namespace
