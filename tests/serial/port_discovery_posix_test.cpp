// Linux port discovery in a tree of the test's own standing for /: sysfs, /dev and
// /proc as the kernel shows them, pseudo-terminals as the devices.
#include "port_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <grp.h>
#include <sys/inotify.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace fs = std::filesystem;

// Nothing is opened to list a port: whether another program holds it shows when
// it is programmed; whether the user may open it, from its mode and their groups.
TEST(Discovery, ListsTheSerialDevicesWithSysfsDescriptionsAndReasons)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "acts as root and as another user";
    char name[] = "/tmp/korvel-ports-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    const std::string root = name;
    int master[5], slave[5];
    std::string pts[5]; // ttyUSB0, ttyACM0 (held with TIOCEXCL), ttyUSB10, ttyS0, rfcomm0
    for (int i = 0; i < 5; ++i)
        pts[i] = openpty(&master[i], &slave[i], nullptr, nullptr, nullptr) == 0 ? ttyname(slave[i]) : "";
    ASSERT_EQ(ioctl(slave[1], TIOCEXCL), 0); // as another program would: root's open passes it
    const std::string usb = "/sys/devices/usb1/1-", uart = "../../../devices/platform/serial8250";
    const std::string links[][2] = {
        {"/dev/ttyUSB0", pts[0]}, {"/sys/class/tty/ttyUSB0/device", "../../../devices/usb1/1-1/1-1:1.0/ttyUSB0"},
        {"/dev/serial/by-id/usb-FTDI_A1-if00-port0", "../../ttyUSB0"},
        {"/dev/ttyACM0", pts[1]}, {"/sys/class/tty/ttyACM0/device", "../../../devices/usb1/1-2"},
        {"/proc/4242/fd/7", pts[1]}, {"/dev/ttyUSB10", pts[2]}, {"/dev/ttyS0", pts[3]},
        {"/sys/class/tty/ttyS0/device", uart}, {"/sys/class/tty/ttyS1/device", uart}, {"/dev/serial0", "ttyS0"},
        {"/dev/rfcomm0", pts[4]}, {"/dev/ttyUSB9", "/nonexistent"}, // unplugged
    };
    const std::string files[][2] = {
        {usb + "1/idVendor", "0403"}, {usb + "1/product", "FT232R USB UART"}, {usb + "1/manufacturer", "FTDI"},
        {usb + "1/1-1:1.0/ttyUSB0/uevent", ""}, {usb + "2/idVendor", "2e8a"}, {usb + "2/manufacturer", "Raspberry Pi"},
        {"/proc/4242/comm", "ModemManager"}, {"/dev/ttyUSB2", ""}, // a device that dialout may open
        {"/dev/ttyUSB3", ""},                                      // one that only root may open
        // UARTs: with a chip, with a line reserved for none (type 0), without a device.
        {"/sys/class/tty/ttyS0/type", "4"}, {"/sys/class/tty/ttyS1/type", "0"}, {"/dev/ttyS1", ""}, {"/dev/ttyS2", ""},
        {"/sys/devices/platform/serial8250/uevent", ""}, {"/dev/tty5", ""}, {"/dev/ttyAMA0", ""},
    };
    const auto made = [&root](const std::string& path) { // with its folders
        fs::create_directories(fs::path(root + path).parent_path());
        return root + path;
    };
    for (const auto& file : files)
        std::ofstream(made(file[0])) << file[1] << "\n";
    for (const auto& link : links)
        fs::create_symlink(link[1], made(link[0]));
    fs::permissions(root, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const group* dialout = getgrnam("dialout");
    ASSERT_TRUE(dialout && chown((root + "/dev/ttyUSB2").c_str(), 0, dialout->gr_gid) == 0);
    fs::permissions(root + "/dev/ttyUSB2", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                               fs::perms::group_write);
    fs::permissions(root + "/dev/ttyUSB3", fs::perms::owner_read | fs::perms::owner_write);

    const int watch = inotify_init1(IN_NONBLOCK); // every open of a device shows here
    for (const std::string& device :
         {pts[0], pts[1], pts[2], pts[3], pts[4], root + "/dev/ttyUSB2", root + "/dev/ttyUSB3"})
        ASSERT_GE(inotify_add_watch(watch, device.c_str(), IN_OPEN), 0) << device;
    const std::vector<PortEntry> ports = discoverPorts({root});
    char event[4096];
    EXPECT_LT(read(watch, event, sizeof event), 0) << "a device was opened to list it";
    close(watch);
    std::vector<std::string> rows;
    for (const PortEntry& port : ports)
        rows.push_back(portRowText(port));
    ASSERT_EQ(rows, (std::vector<std::string>{"ttyUSB0 - FT232R USB UART", "ttyUSB2", "ttyUSB3", "ttyUSB10",
                                               "ttyACM0 - Raspberry Pi", "serial0 - ttyS0", "ttyS0",
                                               "rfcomm0 - Bluetooth"}));
    EXPECT_EQ(ports[0].detail, root + "/dev/serial/by-id/usb-FTDI_A1-if00-port0");
    EXPECT_EQ(ports[6].detail, root + "/dev/ttyS0");
    PortError error;
    PortHandle port;
    EXPECT_EQ(openPort(ports[4].devicePath, 4800, port, &error), 0);
    EXPECT_EQ(openFailureAdvice(ports[4], error, {root}),
              "ttyACM0 is busy: ModemManager (process 4242) holds it. Close that program and try again.");
    int mark = 0;
    EXPECT_TRUE(ioctl(slave[1], TIOCGEXCL, &mark) == 0 && mark == 1) << "the other program's mark was taken off";

    // A user outside dialout meets the reason and its remedy; no group helps with root's.
    EXPECT_EXIT(
        {
            if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
                _exit(2);
            const std::vector<PortEntry> seen = discoverPorts({root});
            for (const char* name : {"ttyUSB2", "ttyUSB3"}) {
                const PortEntry* entry = findPort(seen, name);
                if (!entry || openPort(entry->devicePath, 4800, port, &error) != 0)
                    _exit(3);
                std::fprintf(stderr, "%s\n%s\n", portRowText(*entry).c_str(), openFailureAdvice(*entry, error).c_str());
            }
            _exit(0);
        },
        testing::ExitedWithCode(0),
        "^ttyUSB2 \\(no permission\\)\nno permission to open ttyUSB2: add your user to the group dialout "
        "\\(sudo usermod -aG dialout \\$USER\\) and log in again.\n"
        "ttyUSB3 \\(no permission\\)\nno permission to open ttyUSB3: ask the administrator of this computer for "
        "access to .*/dev/ttyUSB3.\n$");
    for (int i = 0; i < 5; ++i) {
        close(master[i]);
        close(slave[i]);
    }
    fs::remove_all(root);
}
