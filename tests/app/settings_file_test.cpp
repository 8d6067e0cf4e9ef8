// Settings files on the in-memory dialog and on the command line: the worked records
// from files, the same records from both, what one cuts the other refuses, round
// trips, refusals, hostile files, saving in a folder named outside Windows-1252.
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "command_line.h"
#include "config_record.h"
#include "control_ids.h"
#include "dialog_headless.h"
#include "main_dialog.h"
#include "prompts_recorder.h"
#include "settings_io.h"

namespace {

namespace fs = std::filesystem;

const std::string kDefault0 = "$#Pe030,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35,255 \n";
const std::string kPathMessage = "path doesn't fit in EEprom";
const std::string kDefault1 = "$#Pe130,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35 \n";

class SettingsFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearRecordedPrompts();
        // Away from the defaults, so that opening must bring every setting back.
        setItemText(dialog, IdComment0, "OLD COMMENT");
        handleCommand(dialog, IdSecondConfig, NotifyClicked);
    }
    void TearDown() override { destroyHeadlessDialog(dialog); fs::remove_all(folder); }

    std::string file(const std::string& bytes)
    {
        fs::create_directories(folder);
        std::ofstream(folder / "test.korvel", std::ios::binary) << bytes;
        return (folder / "test.korvel").string();
    }
    static std::string records(Dialog* d) // as --records prints them
    {
        const ProgrammingRecords r = programmingRecords(dialogState(d).setup);
        return r.record0 + "\n" + (r.sendRecord1 ? r.record1 + "\n" : "");
    }
    using Texts = std::vector<std::string>;
    static Texts messages()
    {
        Texts texts;
        for (const RecordedMessage& m : recordedMessages())
            texts.push_back(m.text);
        return texts;
    }
    static std::string settingsTextOf(Dialog* d)
    {
        std::string text, why;
        settingsFileOf(dialogState(d).setup, text, why);
        return text;
    }
    static int commandLine(const std::vector<std::string>& args, std::string& out, std::string& err)
    {
        auto to = [](std::string& s) { return [&s](const std::string& text) { s += text; }; };
        return runCommandLine(args, "korvelconfig", {to(out), to(err)}).exitCode;
    }

    fs::path folder = fs::temp_directory_path() /
                      (std::string("korvel-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    Dialog* dialog = createHeadlessDialog();
};

TEST_F(SettingsFiles, DialogAndCommandLineGiveTheRecordsOfTheFile)
{
    const std::pair<std::string, std::string> cases[] = { // a file and its records, where worked out
        {"", kDefault0 + kDefault1},
        {"secondConfig = off\n[config0]\npathType = WIDEn-n\ndigiHops = 2\ncomment = Test\n",
         "$#Pe040,100,156,158,134,130,152,152,114,174,146,136,138,100,64,5,3,240,96,0,6,11,62,47,0,84,101,115,116,0,10,35 \n"},
        {"[config1]\ncallsign = test\nssid = 7\npath = WIDE1-1,WIDE2-1\ndriveInterval = 40\n",
         kDefault0 + "$#Pe140,100,168,138,166,168,64,64,110,174,146,136,138,98,64,2,174,146,136,138,100,64,3,3,240,96,0,"
                     "6,11,62,47,0,0,10,35 \n"},
        // A byte order mark, CR LF, comments, tabs, quotes, any case, a long callsign, UTF-8.
        {"\xEF\xBB\xBF# mine\r\n\tsecondConfig\t=\tON\r\n[config0]\r\ncallsign = dl1abcxyz\r\nsymbol = /k\r\n"
         "pathType = tracen-N\r\ndigiHops = 3\r\ndriveInterval = 25\r\ntxDelay = 6\r\ndriveSpeed = 100\r\n"
         "idleFactor = 1\r\nframesWithoutText = 0\r\ncomment = \" Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC \"\r\n"
         "[config1]\r\npathType = COMPRESSED\r\nssid = 0\r\n", ""},
        {"[config0]\npath = wide1-1,wide2-1\n", ""},
        {"[config1]\ncomment = " + std::string(21, 'x') + "\n", ""}, // fills the EEPROM exactly
        {std::string(65535, '#') + "\n", kDefault0 + kDefault1},       // 65,536 bytes
        // Configuration 1 switched off keeps what does not fit beside configuration 0.
        {"secondConfig = off\n[config0]\npath = WIDE1-1,WIDE2-1,WIDE3-3,RELAY\n[config1]\n"
         "comment = thirty characters of comment 1\n", ""},
    };
    for (const auto& [text, worked] : cases) {
        SCOPED_TRACE(text);
        std::string out, err;
        EXPECT_EQ(commandLine({"--records", file(text)}, out, err), 0) << err;
        ASSERT_EQ(openSettingsFile(dialog, file(text)), 1);
        EXPECT_TRUE(recordedMessages().empty());
        EXPECT_EQ(records(dialog), out);
        EXPECT_EQ(out, worked.empty() ? out : worked);
    }
    EXPECT_EQ(getItemText(dialog, IdComment1, 255), "thirty characters of comment 1");
    // The value labels follow the file's slider values.
    ASSERT_EQ(openSettingsFile(dialog, file("[config0]\ndigiHops = 3\ntxDelay = 75\n[config1]\ndriveInterval = 254\n"
                                            "idleFactor = 100\ndriveSpeed = 1\nframesWithoutText = 0\n")), 1);
    Texts labels;
    for (int id : {IdHopCount0, IdTxDelayValue0, IdDriveIntervalValue1, IdIdleIntervalValue1, IdDriveSpeedValue1,
                   IdFramesValue1})
        labels.push_back(getItemText(dialog, id, 99));
    EXPECT_EQ(labels, (Texts{"3", "500.0 ms", "254 sec", "423min 20sec", "1 km/h", "0 frames"}));
}

TEST_F(SettingsFiles, RefusedFilesNameFileLineAndKeyAndChangeNothing)
{
    const std::pair<std::string, std::string> cases[] = { // a file and what the message says beside its name
        {"[config2]\ncallsign = X\n", ", line 1, \"[config2]\": unknown section"},
        {"[config0]\ncalsign = DL1ABC\n", ", line 2, \"calsign\": unknown key in [config0]"},
        {"callsign = X\n", ", line 1, \"callsign\": unknown key (only secondConfig comes before [config0])"},
        {"[config1]\ntxDelay = 76\n", ", line 2, \"txDelay\": must be a whole number from 6 to 75"},
        {"[config0]\nssid = 16\n", ", line 2, \"ssid\": must be a whole number from 0 to 15"},
        {"[config0]\npathType = WIDE\n", ", line 2, \"pathType\": must be compressed, WIDEn-n, TRACEn-n or RELAY"},
        {"secondConfig = maybe\n", ", line 1, \"secondConfig\": must be on or off"},
        {"[config0]\n\ncallsign DL1ABC\n", ", line 3, \"callsign DL1ABC\": line without \"=\""},
        {"[config0]\nssid = 1\nssid = 1\n", ", line 3, \"ssid\": given twice"},
        {"\x89PNG\r\n\x1a\n", ", line 1: not UTF-8 text"}, {"[config0]\ncomment = \xE0\x80\xAF\n", ", line 2: not UTF-8 text"},
        {std::string("[config0]\ncomment = a\0b\n", 24), ", line 2: not UTF-8 text"},
        {std::string(64 * 1024, '#') + "\n", ": larger than 64 KiB"},
        // A tab or C1 control inside a value would be sent, but never saved again.
        {"[config0]\ncomment = a\tb\n", ", line 2, \"comment\": a control character in the value"},
        {"[config1]\ncallsign = \xC2\x85" "DL1\n", ", line 2, \"callsign\": a control character in the value"},
    };
    const std::string before = settingsTextOf(dialog);
    for (const auto& [text, where] : cases) {
        clearRecordedPrompts();
        const std::string path = file(text);
        EXPECT_EQ(openSettingsFile(dialog, path), 0);
        ASSERT_EQ(recordedMessages().size(), 1u) << where;
        EXPECT_EQ(recordedMessages()[0].text, path + where);
        EXPECT_EQ(recordedMessages()[0].caption, "KorvelConfig");
        EXPECT_EQ(settingsTextOf(dialog), before) << where;
        std::string out, err;
        EXPECT_EQ(commandLine({"--records", path}, out, err), 1);
        EXPECT_EQ(out + err, path + where + "\n");
    }
}

// The command line opens a file as the dialog does; where the dialog cuts a text or
// switches configuration 1 off, the command line refuses the file, naming the field
// and what must go for everything to fit.
TEST_F(SettingsFiles, WhatTheDialogCutsTheCommandLineRefuses)
{
    const std::string path0 = "[config0]\npath = WIDE1-1,WIDE2-2,WIDE3-3,WIDE4-4";
    const struct {
        std::string file;
        std::string refusal;
        Texts messages;
        int id;
        std::string shown; // what that field shows in the dialog
    } cases[] = {
        {path0 + "\n", "Config 0 path does not fit in EEprom (7 bytes too many)", {kPathMessage}, IdPath0,
         "WIDE1-1,WIDE2-2,WIDE3-3"},
        {path0 + ",WIDE5-5\n", "Config 0 path does not fit in EEprom (14 bytes too many)", {kPathMessage}, IdPath0,
         "WIDE1-1,WIDE2-2,WIDE3-3"},
        // Path type 1 writes "RELAY" before path 0 is given; path 1 empties later.
        {"[config0]\npath = WIDE1-1,WIDE2-1,WIDE3-1\n[config1]\npathType = RELAY\npath =\n",
         "Config 0 path does not fit in EEprom (7 bytes too many)", {kPathMessage}, IdPath0, "WIDE1-1,WIDE2-1"},
        {"[config0]\npath = WIDE1-1,WIDE2-2,WIDE3-3\ncomment = 1234\n",
         "Config 0 comment does not fit in EEprom (4 bytes too many)", {}, IdSecondConfig, "Enable 2nd Config"},
        {"[config0]\ncomment = " + std::string(60000, 'x') + "\n",
         "Config 0 comment does not fit in EEprom (106 bytes too many)", {}, IdComment0, std::string(32, 'x')},
        {"[config1]\ncomment = " + std::string(22, 'x') + "\n",
         "Config 1 comment does not fit in EEprom (1 byte too many)", {}, IdComment1, std::string(21, 'x')},
    };
    for (const auto& c : cases) {
        const std::string path = file(c.file);
        std::string out, err;
        EXPECT_EQ(commandLine({"--records", path}, out, err), 1);
        EXPECT_EQ(out + err, path + ": " + c.refusal + "\n");
        clearRecordedPrompts();
        ASSERT_EQ(openSettingsFile(dialog, path), 1);
        EXPECT_EQ(messages(), c.messages) << c.refusal;
        EXPECT_EQ(getItemText(dialog, c.id, 1023), c.shown) << c.refusal;
    }
}

// Read, written and read again, any file the dialog takes gives the same settings.
TEST_F(SettingsFiles, WritingWhatWasReadGivesTheSameSettings)
{
    std::mt19937 random(7);
    auto any = [&random](const std::vector<std::string>& of) { return of[random() % of.size()]; };
    for (int round = 0; round < 2000; ++round) {
        std::string text = "secondConfig = " + any({"on", "off"}) + "\n";
        for (const char* section : {"[config0]\n", "[config1]\n"}) {
            text += section;
            text += "pathType = " + any({"compressed", "WIDEn-n", "TRACEn-n", "RELAY"}) + "\n";
            text += "digiHops = " + any({"1", "2", "3"}) + "\ndriveInterval = " + any({"5", "30", "254"}) + "\n";
            text += "path = " + any({"", "WIDE1-1,WIDE2-1", "RELAY WIDE", "\" a,b \"", "wide1-1,wide2-2,wide3-3,x"}) + "\n";
            text += "callsign = " + any({"dl1abcxyz", "\" x \"", "\xC3\xA9t\xC3\xA9", "\xE2\x82\xAC\xCE\xA9"}) + "\n";
            text += "symbol = " + any({"", ">", "/k", "\"\"\"", "\" /\""}) + "\n";
            text += "comment = " + any({"", "Test", std::string(40, 'c'), "\xC2\xA0 \"q\" ", std::string(200, 'z')}) + "\n";
        }
        SettingsFile read, again;
        SettingsFileError error;
        ASSERT_EQ(parseSettingsFile(text, read, error), 1) << text;
        const TrackerSetup first = openSettings(TrackerSetup(), read).setup;
        std::string written, why;
        ASSERT_EQ(settingsFileOf(first, written, why), 1);
        ASSERT_EQ(parseSettingsFile(written, again, error), 1) << written;
        const TrackerSetup second = openSettings(TrackerSetup(), again).setup;
        std::string rewritten;
        settingsFileOf(second, rewritten, why);
        EXPECT_EQ(rewritten, written) << text;
        EXPECT_EQ(second.secondConfigEnabled, first.secondConfigEnabled);
    }
}

// Saved in and opened from a folder named outside Windows-1252, and named as it is.
TEST_F(SettingsFiles, SavingWritesEveryKeyOrTellsWhy)
{
    const fs::path named = folder / fs::u8path("\xC5\x81\xC3\xB3" "d\xC5\xBA \xCE\xA9mega"); // Łódź Ωmega
    const std::string path = (named / fs::u8path("\xC5\x81\xC3\xB3" "d\xC5\xBA \xCE\xA9mega.korvel")).u8string();
    fs::create_directories(named);
    std::ofstream(fs::u8path(path)) << "[config0]\ncallsign = dl1abc\n";
    EXPECT_EQ(openSettingsFile(dialog, path), 1);
    setItemText(dialog, IdComment0, "saved ");
    setComboSelection(dialog, IdPathType1, Relay);
    handleCommand(dialog, IdPathType1, NotifySelChange);
    ASSERT_EQ(saveSettingsFile(dialog, path), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(named), fs::directory_iterator()), 1); // no temporary left
    const std::string saved = (std::stringstream() << std::ifstream(fs::u8path(path), std::ios::binary).rdbuf()).str();
    EXPECT_EQ(saved, settingsTextOf(dialog));
    EXPECT_NE(saved.find("callsign = DL1ABC\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("pathType = RELAY\n"), std::string::npos);
    ASSERT_EQ(openSettingsFile(dialog, path), 1);
    EXPECT_EQ(getItemText(dialog, IdComment0, 99), "saved "); // a trailing space kept
    for (const char* ssid : {"16", "1a", " 5"}) {
        setItemText(dialog, IdSsid1, ssid);
        EXPECT_EQ(saveSettingsFile(dialog, path), 0);
    }
    setItemText(dialog, IdSsid1, "15");
    std::ofstream(fs::u8path(path)) << "[config0]\ncalsign = X\n";
    EXPECT_EQ(openSettingsFile(dialog, path), 0);
    const std::string nowhere = (named / "missing" / "x.korvel").u8string();
    EXPECT_EQ(saveSettingsFile(dialog, nowhere), 0);
    EXPECT_EQ(saveSettingsFile(dialog, named.u8string()), 0); // a folder is no file to replace
    const std::string ssid = "SSID of Config 1 must be a number from 0 to 15.";
    const Texts shown = messages();
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_EQ(Texts(shown.begin(), shown.begin() + 4),
              (Texts{ssid, ssid, ssid, path + ", line 2, \"calsign\": unknown key in [config0]"}));
    EXPECT_EQ(shown[4].rfind("cannot save " + nowhere + ": ", 0), 0u);
    EXPECT_EQ(shown[5], "cannot save " + named.u8string() + ": is a folder, not a file");
    EXPECT_TRUE(fs::is_directory(named));
}

} // namespace
