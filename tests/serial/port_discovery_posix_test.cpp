// Linux port discovery in a tree of the test's own standing for /: sysfs, /dev and
// /proc as the kernel shows them, pseudo-terminals as the devices.
#include "port_list.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <grp.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class Discovery : public testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/korvel-ports-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        root = name;
        fs::permissions(root, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    }
    void TearDown() override
    {
        for (int fd : fds)
            close(fd);
        fs::remove_all(root);
    }

    // The slave end of a new pair, whose far end the test keeps.
    std::string pty(int* slave = nullptr)
    {
        int master = -1, end = -1;
        char name[128] = {};
        EXPECT_EQ(openpty(&master, &end, name, nullptr, nullptr), 0);
        fds.insert(fds.end(), {master, end});
        if (slave)
            *slave = end;
        return name;
    }
    void file(const std::string& path, const std::string& text = "")
    {
        fs::create_directories(fs::path(root + path).parent_path());
        std::ofstream(root + path) << text << "\n";
    }
    void link(const std::string& path, const std::string& target)
    {
        fs::create_directories(fs::path(root + path).parent_path());
        fs::create_symlink(target, root + path);
    }

    std::string root;
    std::vector<int> fds;
};

TEST_F(Discovery, ListsTheSerialDevicesWithSysfsDescriptionsAndReasons)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "acts as root and as another user";
    const std::string usb = "/sys/devices/pci0000:00/usb1/1-1";
    file(usb + "/idVendor", "0403");
    file(usb + "/product", "FT232R USB UART");
    file(usb + "/manufacturer", "FTDI");
    file(usb + "/1-1:1.0/ttyUSB0/uevent");
    link("/sys/class/tty/ttyUSB0/device", "../../../devices/pci0000:00/usb1/1-1/1-1:1.0/ttyUSB0");
    link("/dev/ttyUSB0", pty());
    link("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0", "../../ttyUSB0");
    file("/sys/devices/pci0000:00/usb1/1-2/idVendor", "2e8a");
    file("/sys/devices/pci0000:00/usb1/1-2/manufacturer", "Raspberry Pi");
    link("/sys/class/tty/ttyACM0/device", "../../../devices/pci0000:00/usb1/1-2");
    // Held by another program with TIOCEXCL, which root's open would pass.
    int held = -1;
    const std::string acm = pty(&held);
    ASSERT_EQ(ioctl(held, TIOCEXCL), 0);
    link("/dev/ttyACM0", acm);
    link("/proc/4242/fd/7", acm);
    file("/proc/4242/comm", "ModemManager");
    link("/dev/ttyUSB10", pty());
    file("/dev/ttyUSB2"); // may be opened by dialout only
    const group* dialout = getgrnam("dialout");
    ASSERT_NE(dialout, nullptr);
    ASSERT_EQ(chown((root + "/dev/ttyUSB2").c_str(), 0, dialout->gr_gid), 0);
    fs::permissions(root + "/dev/ttyUSB2", fs::perms::owner_read | fs::perms::owner_write |
                                               fs::perms::group_read | fs::perms::group_write);
    // UARTs: with a chip, with a line reserved for none (type 0), without a device.
    link("/dev/ttyS0", pty());
    file("/sys/class/tty/ttyS0/type", "4");
    file("/sys/class/tty/ttyS1/type", "0");
    file("/sys/devices/platform/serial8250/uevent");
    link("/sys/class/tty/ttyS0/device", "../../../devices/platform/serial8250");
    link("/sys/class/tty/ttyS1/device", "../../../devices/platform/serial8250");
    file("/dev/ttyS1");
    file("/dev/ttyS2");
    link("/dev/serial0", "ttyS0");
    link("/dev/rfcomm0", pty());
    link("/dev/ttyUSB9", "/nonexistent"); // unplugged
    file("/dev/tty5");
    file("/dev/ttyAMA0");

    const std::vector<PortEntry> ports = discoverPorts({root});
    std::vector<std::string> rows;
    for (const PortEntry& port : ports)
        rows.push_back(portRowText(port));
    EXPECT_EQ(rows, (std::vector<std::string>{"ttyUSB0 - FT232R USB UART", "ttyUSB2", "ttyUSB10",
                                              "ttyACM0 - Raspberry Pi (busy)", "serial0 - ttyS0", "ttyS0",
                                              "rfcomm0 - Bluetooth"}));
    ASSERT_EQ(ports.size(), 7u);
    EXPECT_EQ(ports[0].detail, root + "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0");
    EXPECT_EQ(ports[5].detail, root + "/dev/ttyS0");

    PortError error;
    EXPECT_EQ(openPort(ports[3].devicePath, 4800, 0, 1, 8, &error), 0);
    EXPECT_EQ(openFailureAdvice(ports[3], error, {root}),
              "ttyACM0 is busy: ModemManager (process 4242) holds it. Close that program and try again.");
    int mark = 0;
    EXPECT_EQ(ioctl(held, TIOCGEXCL, &mark), 0);
    EXPECT_EQ(mark, 1) << "the other program's mark was taken off";

    // A user outside dialout meets the reason and its remedy.
    EXPECT_EXIT(
        {
            if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
                _exit(2);
            const std::vector<PortEntry> seen = discoverPorts({root});
            const PortEntry* port = findPort(seen, "ttyUSB2");
            if (!port || openPort(port->devicePath, 4800, 0, 1, 8, &error) != 0)
                _exit(3);
            std::fprintf(stderr, "%s\n%s\n", portRowText(*port).c_str(), openFailureAdvice(*port, error).c_str());
            _exit(0);
        },
        testing::ExitedWithCode(0),
        "^ttyUSB2 \\(no permission\\)\nno permission to open ttyUSB2: add your user to the group dialout "
        "\\(sudo usermod -aG dialout \\$USER\\) and log in again.\n$");
}

} // namespace
