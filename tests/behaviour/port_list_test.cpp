#include "behaviour_fixture.h"

namespace {

PortEntry portNamed(const std::string& name)
{
    return {name, "korvel-no-such-port-" + name, "", "", true, {}};
}

class PortList : public MainDialogTest {
protected:
    void setUpPorts() override { ports = {portNamed("COM3"), portNamed("COM7")}; }

    int rowCount() const
    {
        int rows = 0;
        while (getComboRowData(dialog, IdPort, rows) == rows)
            ++rows;
        return rows;
    }
};

TEST_F(PortList, OpeningTheListFindsThePortsAgainAndKeepsTheChoice)
{
    userChooseComboRow(dialog, IdPort, 1);
    ports = {portNamed("COM5"), portNamed("COM7"), portNamed("COM12")}; // COM3 pulled out, two plugged in
    EXPECT_EQ(rowCount(), 2);
    EXPECT_EQ(text(IdPort), "COM7");
    userOpenComboList(dialog, IdPort);
    EXPECT_EQ(rowCount(), 3);
    EXPECT_EQ(getComboSelection(dialog, IdPort), 1);
    EXPECT_EQ(text(IdPort), "COM7");
    userChooseComboRow(dialog, IdPort, 2);
    EXPECT_EQ(text(IdPort), "COM12");

    // The chosen port gone: the first that opens is chosen, as at the start.
    ports = {{"ttyS0", "/dev/ttyS0", "", "", false, {PortBusy, 16, ""}}, portNamed("COM3")};
    userOpenComboList(dialog, IdPort);
    EXPECT_EQ(text(IdPort), "COM3");
    userClick(dialog, IdProgram); // and the run goes to the port that the list shows
    EXPECT_EQ(messageTexts().back(), "cannot open selected COM-Port!");

    ports.clear();
    userOpenComboList(dialog, IdPort);
    EXPECT_EQ(rowCount(), 0);
    EXPECT_EQ(getComboSelection(dialog, IdPort), -1);
    EXPECT_EQ(text(IdPort), "");
}

} // namespace
