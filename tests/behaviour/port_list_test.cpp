#include "behaviour_fixture.h"

namespace {

PortEntry portNamed(const std::string& name) { return {name, "korvel-no-such-port-" + name, "", "", true, {}}; }

class PortList : public MainDialogTest {
protected:
    void setUpPorts() override { ports = {portNamed("COM3"), portNamed("COM7")}; }
};

TEST_F(PortList, OpeningTheListFindsThePortsAgainAndKeepsTheChoice)
{
    userChooseComboRow(dialog, IdPort, 1);
    ports = {portNamed("COM5"), portNamed("COM7"), portNamed("COM12")}; // COM3 pulled out, two plugged in
    EXPECT_EQ(getComboRowData(dialog, IdPort, 2), -1);
    userChooseComboRow(dialog, IdPort, -1);
    EXPECT_EQ(getComboRowData(dialog, IdPort, 2), 2);
    EXPECT_EQ(getComboSelection(dialog, IdPort), 1);
    EXPECT_EQ(text(IdPort), "COM7");
    userChooseComboRow(dialog, IdPort, 2);
    EXPECT_EQ(text(IdPort), "COM12");

    // The chosen port gone: the first that opens is chosen, as at the start, and programmed.
    ports = {{"ttyS0", "/dev/ttyS0", "", "", false, {PortBusy, 16, ""}}, portNamed("COM3")};
    userChooseComboRow(dialog, IdPort, -1);
    EXPECT_EQ(text(IdPort), "COM3");
    userClick(dialog, IdProgram); // no device behind it on any machine
    EXPECT_EQ(messageTexts().back(), "cannot open selected COM-Port!");
    EXPECT_EQ(text(IdStatus), "");

    ports.clear(); // and none left
    userChooseComboRow(dialog, IdPort, -1);
    EXPECT_EQ(getComboRowData(dialog, IdPort, 0), -1);
    EXPECT_EQ(getComboSelection(dialog, IdPort), -1);
    EXPECT_EQ(text(IdPort), "");
}

} // namespace
