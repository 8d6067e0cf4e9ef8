#pragma once
// Shared set-up of the behaviour suite: the host's real main dialog, opened fresh
// for every test, and short ways to read what the user sees.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config_settings.h"
#include "host_driver.h"
#include "port_list.h"
#include "control_ids.h"
#include "prompts_recorder.h"

class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setUpPorts();
        dialog = openMainDialogForTest([this] { return ports; });
    }

    void TearDown() override { closeMainDialogForTest(dialog); }

    // The ports there are when the dialog opens; none by default.
    virtual void setUpPorts() {}

    std::string text(int id) const { return getItemText(dialog, id, 1023); }
    int position(int id) const { return getTrackbarPos(dialog, id); }
    bool enabled(int id) const { return isItemEnabled(dialog, id); }

    std::vector<std::string> messageTexts() const
    {
        std::vector<std::string> texts;
        for (const RecordedMessage& message : recordedMessages())
            texts.push_back(message.text);
        return texts;
    }

    void clearText(int id) { userBackspace(dialog, id, static_cast<int>(text(id).size())); }

    // Takes the focus away from whatever edit has it, so the next focus counts.
    void focusElsewhere(int id = IdCallsign0) { userFocus(dialog, id); }

    std::vector<PortEntry> ports; // what the dialog finds whenever it looks
    Dialog* dialog = nullptr;
};
