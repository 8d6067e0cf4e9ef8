#pragma once
// Shared set-up of the behaviour suite: the host's real main dialog, opened fresh
// for every test, and short ways to read what the user sees.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config_settings.h"
#include "control_ids.h"
#include "host_driver.h"
#include "prompts_recorder.h"

using Texts = std::vector<std::string>;

class MainDialogTest : public ::testing::Test {
public:
    static inline const std::string kWarning =
        "please make sure that gps-receiver is disconnected from Tracker,\n"
        "otherwise to much power is consumed and/or serial interface will be disturbed.";

protected:
    void SetUp() override
    {
        setUpPorts();
        clearRecordedPrompts();
        setMessageHook({});
        setPauseHook({});
        dialog = openMainDialogForTest([this] { return ports; });
    }
    void TearDown() override { closeMainDialogForTest(dialog); }
    // The ports there are when the dialog opens; none by default.
    virtual void setUpPorts() {}
    // A fresh dialog in the middle of a test, for tables of cases.
    void reopen() { TearDown(); SetUp(); }

    std::string text(int id) const { return getItemText(dialog, id, 1023); }
    Texts texts(std::initializer_list<int> ids) const
    {
        Texts all;
        for (int id : ids)
            all.push_back(text(id));
        return all;
    }
    bool enabled(int id) const { return isItemEnabled(dialog, id); }
    static Texts messageTexts()
    {
        Texts all;
        for (const RecordedMessage& message : recordedMessages())
            all.push_back(message.text);
        return all;
    }
    void clearText(int id) { userBackspace(dialog, id, static_cast<int>(text(id).size())); }
    void retype(int id, const std::string& characters) { clearText(id); userType(dialog, id, characters); }

    std::vector<PortEntry> ports; // what the dialog finds whenever it looks
    Dialog* dialog = nullptr;
};
